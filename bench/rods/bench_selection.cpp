// Speed of the edit operations on a drawing of 1,000 and 10,000 bars, each an open polyline
// of three segments with a description (two texts and a circle), three dimension texts and a
// leader description (line, circle, four texts): 13 entities and 26 dictionaries and records
// a bar, 130,000 entities at 10,000 bars, all marked. Each operation finds the bar's pieces
// through the host's record index, so its cost should not grow with the drawing.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "host/sds.h"
#include "module/rods/obsluga_preta.h"

namespace {

constexpr const char* kKey = "ORV_ARMAVO";

void Mark(const std::string& tag, const std::string& owner, bool dimension) {
    sds_name made;
    sds_name dictionary;
    sds_entlast(made);
    CSDSXDataPret records;
    records.EnsureExtensionDictionary(made, dictionary);
    const sds_point at = {0, 0, 0};
    if (dimension) {
        records.WriteDimensionLink(dictionary, kKey, tag, owner);
    } else {
        records.WriteDescriptionLink(dictionary, kKey, tag, owner, at);
    }
}

struct Drawing {
    std::vector<std::pair<long, long>> bars;
};

Drawing MakeDrawing(int barCount) {
    host::NewDrawing();
    Drawing drawing;
    CSDSPolyLine polyline;
    CSDSText text;
    CSDSCircle circle;
    CSDSLine line;
    CSDSXDataPret records;
    for (int i = 0; i < barCount; ++i) {
        const double y = 10.0 * i;
        polyline.Create({{0, y, 0}, {200, y, 0}, {200, y + 5, 0}, {100, y + 5, 0}}, false,
                        "Zbrojenie", "CONTINUOUS", 256);
        sds_name bar;
        sds_name dictionary;
        sds_entlast(bar);
        CRodXDataParameters record;
        record.type = "Pręt";
        record.ordinal = i + 1;
        record.diameter = 1.0;
        record.hooks = 0;
        record.number = i % 30000 + 1;
        record.steel = 15;
        record.rounded = 0;
        record.flag = 0;
        records.EnsureExtensionDictionary(bar, dictionary);
        records.WriteRodRecord(dictionary, kKey, record);
        const std::string owner = EntityHandle(bar);
        drawing.bars.emplace_back(bar[0], bar[1]);
        const sds_point p = {100, y + 1, 0};
        const sds_point q = {150, y + 8, 0};
        auto makeText = [&] {
            text.Create("1", p, 5, 0, "STANDARD", 0, 0, p, 0, "Opisy prętów", 256);
        };
        makeText();
        Mark("Opis", owner, false);
        makeText();
        Mark("Opis-Nr", owner, false);
        circle.Create(p, 5, "Opisy prętów", "CONTINUOUS", 256, 1.0);
        Mark("Opis-Nr", owner, false);
        for (int k = 0; k < 3; ++k) {
            makeText();
            Mark("Wymiary", owner, true);
        }
        line.Create(p, q, "Opisy prętów", "CONTINUOUS", 256, 1.0);
        Mark("OpisOdn", owner, false);
        circle.Create(q, 5, "Opisy prętów", "CONTINUOUS", 256, 1.0);
        Mark("OpisOdn-Nr", owner, false);
        for (const char* tag : {"OpisOdn-Nr", "OpisOdn-Fi", "OpisOdn-LP", "OpisOdn-Dl"}) {
            makeText();
            Mark(tag, owner, false);
        }
    }
    return drawing;
}

// One operation's selection: the bar taken from the pick-first selection, its group
// collected and highlighted, leader pieces dropped, and the clean-up.
void BM_SelectBarAndGroup(benchmark::State& state) {
    const Drawing drawing = MakeDrawing(static_cast<int>(state.range(0)));
    CObslugaPreta rod(nullptr);
    size_t next = 0;
    long members = 0;
    for (auto _ : state) {
        const auto& [first, second] = drawing.bars[next++ % drawing.bars.size()];
        const sds_name chosen = {first, second};
        sds_name pickfirst = {0, 0};
        sds_ssadd(chosen, nullptr, pickfirst);
        sds_sssetfirst(nullptr, pickfirst);
        sds_ssfree(pickfirst);
        sds_name bar = {0, 0};
        bool cancelled = false;
        rod.TakePreselectedRod(bar, cancelled);
        sds_name group = {0, 0};
        members = rod.CollectRodGroup(bar, group);
        rod.DropLeaderEntities(group);
        rod.EndRodOperation({group});
    }
    state.counters["members"] = static_cast<double>(members);
}
BENCHMARK(BM_SelectBarAndGroup)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A toggle (dimension texts or the description) on the next bar, timed only in the direction
// asked for; the toggle back is left out of the timing.
template <int (CObslugaPreta::*Toggle)(const sds_name)>
void RunToggle(benchmark::State& state, bool timeSwitchingOff) {
    const Drawing drawing = MakeDrawing(static_cast<int>(state.range(0)));
    CObslugaPreta rod(nullptr);
    size_t next = 0;
    int changed = 0;
    for (auto _ : state) {
        const auto& [first, second] = drawing.bars[next++ % drawing.bars.size()];
        const sds_name bar = {first, second};
        if (!timeSwitchingOff) {
            state.PauseTiming();
            (rod.*Toggle)(bar);
            state.ResumeTiming();
        }
        changed = (rod.*Toggle)(bar);
        if (timeSwitchingOff) {
            state.PauseTiming();
            (rod.*Toggle)(bar);
            state.ResumeTiming();
        }
    }
    // Texts drawn (positive) or removed (negative) by the last timed toggle.
    state.counters["changed"] = changed;
}

void BM_DimensionsOff(benchmark::State& state) {
    RunToggle<&CObslugaPreta::ToggleRodDimensions>(state, true);
}
void BM_DimensionsOn(benchmark::State& state) {
    RunToggle<&CObslugaPreta::ToggleRodDimensions>(state, false);
}
void BM_DescriptionOff(benchmark::State& state) {
    RunToggle<&CObslugaPreta::ToggleRodDescription>(state, true);
}
void BM_DescriptionOn(benchmark::State& state) {
    RunToggle<&CObslugaPreta::ToggleRodDescription>(state, false);
}
BENCHMARK(BM_DimensionsOff)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimensionsOn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescriptionOff)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescriptionOn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// What a whole-drawing scan per operation would cost at least: every entity's list read
// once, nothing else.
void BM_ReadEveryEntityOnce(benchmark::State& state) {
    MakeDrawing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sds_name all = {0, 0};
        sds_ssget("X", nullptr, nullptr, nullptr, all);
        long length = 0;
        sds_sslength(all, &length);
        for (long i = 0; i < length; ++i) {
            sds_name entity;
            sds_ssname(all, i, entity);
            sds_relrb(sds_entget(entity));
        }
        sds_ssfree(all);
    }
}
BENCHMARK(BM_ReadEveryEntityOnce)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
