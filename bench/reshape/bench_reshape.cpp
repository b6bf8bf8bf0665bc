// Speed of length editing, dividing, the diameter and steel change, finishing a polyline as
// a bar, and finding a leader description's group, each on one bar of a drawing of 10,000
// bars (about 150,000 entities with their texts and leaders). The drawing is built and the
// benchmarks run inside one session of the program, so that the operations meet the module
// and the host as a command does.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/host.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/rods/obsluga_preta.h"
#include "platform/script_panel.h"
#include "tests/support/scenario.h"

namespace {

// ARMAVO_BENCH_BARS gives a smaller drawing to see how the cost grows.
int BarCount() {
    const char* text = std::getenv("ARMAVO_BENCH_BARS");
    const int n = text != nullptr ? std::atoi(text) : 0;
    return n > 0 ? n : 10000;
}
constexpr const char* kKey = "ORV_ARMAVO";

std::vector<std::array<long, 2>>& Bars() {
    static std::vector<std::array<long, 2>> bars;
    return bars;
}

std::vector<std::array<long, 2>>& LeaderTexts() {
    static std::vector<std::array<long, 2>> texts;
    return texts;
}

void Mark(CSDSXDataPret& xdata, const std::string& tag, const std::string& owner) {
    sds_name made = {0, 0};
    sds_name dictionary = {0, 0};
    sds_point at = {0, 0, 0};
    sds_entlast(made);
    xdata.EnsureExtensionDictionary(made, dictionary);
    xdata.WriteDescriptionLink(dictionary, kKey, tag, owner, at);
}

// Bar i runs from (0, 20 i) to (300, 20 i), with its dimension text, its description and a
// leader of six pieces in one group: 15 entities a bar.
void BuildDrawing(CObslugaPreta& rod) {
    CSDSXDataPret xdata;
    for (int i = 0, n = BarCount(); i < n; ++i) {
        const double y = 20.0 * i;
        const std::vector<CSDSPointExt> shape = {CSDSPointExt(0, y, 0), CSDSPointExt(300, y, 0)};
        rod.polyline.Create(shape, false, "Zbrojenie", "CONTINUOUS", 256);
        sds_name bar = {0, 0};
        sds_entlast(bar);
        CRodXDataParameters record;
        record.type = "Pręt";
        record.ordinal = i + 1;
        record.diameter = 1.0;
        record.hooks = 0;
        record.number = i + 1;
        record.steel = 15;
        record.rounded = 0;
        record.flag = 0;
        sds_name dictionary = {0, 0};
        xdata.EnsureExtensionDictionary(bar, dictionary);
        xdata.WriteRodRecord(dictionary, kKey, record);
        Bars().push_back({bar[0], bar[1]});
        rod.DrawRodDimensions(bar, shape);
        sds_point anchor = {150, y, 0};
        rod.DrawDescription(bar, anchor, shape, i + 1, 1, 10.0);
        const std::string owner = EntityHandle(bar);
        sds_name members = {0, 0};
        sds_ssadd(nullptr, nullptr, members);
        auto keep = [&](const std::string& tag) {
            Mark(xdata, tag, owner);
            sds_name made = {0, 0};
            sds_entlast(made);
            sds_ssadd(made, members, members);
        };
        rod.polyline.Create(
            {CSDSPointExt(50, y, 0), CSDSPointExt(60, y + 10, 0), CSDSPointExt(120, y + 10, 0)},
            false, "Opisy prętów", "CONTINUOUS", 4);
        keep("OpisOdn");
        sds_point centre = {125, y + 10, 0};
        rod.circle.Create(centre, 5, "Opisy prętów", "CONTINUOUS", 4, 1.0);
        keep("OpisOdn");
        for (const char* tag : {"OpisOdn-Nr", "OpisOdn-Dl", "OpisOdn-Fi", "OpisOdn-LP"}) {
            rod.text.Create("1", centre, 5, 0, "STANDARD", 0, 0, centre, 0, "Opisy prętów", 4);
            keep(tag);
        }
        sds_name last = {0, 0};
        sds_entlast(last);
        LeaderTexts().push_back({last[0], last[1]});
        rod.group.Create(members, "", 1, 1);
        sds_ssfree(members);
    }
}

// Each iteration takes the next bar not yet touched.
size_t& NextBar() {
    static size_t next = 0;
    return next;
}

void TakeBar(sds_name bar, double& y) {
    const size_t i = NextBar()++ % Bars().size();
    bar[0] = Bars()[i][0];
    bar[1] = Bars()[i][1];
    y = 20.0 * static_cast<double>(i);
}

void BM_ChangeRodLength(benchmark::State& state) {
    CObslugaPreta rod(ModulePanel());
    rod.defaultEditLength = 10.0;
    for (auto _ : state) {
        sds_name bar;
        double y = 0;
        TakeBar(bar, y);
        sds_point pick = {290, y, 0};
        benchmark::DoNotOptimize(rod.ChangeRodLength(pick, bar, true));
    }
}

void BM_SplitRod(benchmark::State& state) {
    CObslugaPreta rod(ModulePanel());
    for (auto _ : state) {
        sds_name bar;
        double y = 0;
        TakeBar(bar, y);
        sds_point point = {150, y, 0};
        benchmark::DoNotOptimize(rod.SplitRod(point, bar, 0));
    }
}

void BM_ChangeDiameterSteel(benchmark::State& state) {
    CObslugaPreta rod(ModulePanel());
    for (auto _ : state) {
        sds_name bar;
        double y = 0;
        TakeBar(bar, y);
        rod.ChangeDiameterSteel(bar);
    }
}

void BM_FinishBar(benchmark::State& state) {
    CObslugaPreta rod(ModulePanel());
    for (auto _ : state) {
        rod.vertices = {CSDSPointExt(0, -100, 0), CSDSPointExt(300, -100, 0)};
        rod.FinishBar(15.0, false, 0);
    }
}

void BM_IsLeaderDescription(benchmark::State& state) {
    CObslugaPreta rod(ModulePanel());
    size_t i = 0;
    for (auto _ : state) {
        const auto& words = LeaderTexts()[i++ % LeaderTexts().size()];
        const sds_name text = {words[0], words[1]};
        sds_name members = {0, 0};
        benchmark::DoNotOptimize(rod.IsLeaderDescription(text, members));
        sds_ssfree(members);
    }
}

// Few iterations each: every one changes the drawing, as a user's edit does.
BENCHMARK(BM_ChangeRodLength)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SplitRod)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ChangeDiameterSteel)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FinishBar)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_IsLeaderDescription)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    host::RegisterVerb("BENCH", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        BuildDrawing(rod);
        benchmark::RunSpecifiedBenchmarks();
        return true;
    });
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    testkit::RunScenario({"PANEL steel RB500W", "PANEL diameter 12", "PANEL rounded 0", "BENCH"},
                         options);
    benchmark::Shutdown();
    return 0;
}
