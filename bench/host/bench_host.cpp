// Speed of sds_entget, sds_entmod, sds_entmake, sds_dictsearch and ssget "X" on a drawing of
// 100,000 lines, each with an extension dictionary and one record; and the memory each such
// entity takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <vector>

#include "host/drawing/database.h"
#include "host/drawing/document.h"
#include "host/sds.h"
#include "host/drawing/undo_journal.h"

namespace {

constexpr int kEntities = 100000;

struct Bench {
    std::vector<std::array<long, 2>> lines;
    std::vector<std::array<long, 2>> dictionaries;
    double bytesPerEntity = 0;
};

void MakeMarkedLine(int i, Bench& bench) {
    sds_point a = {static_cast<double>(i), 0, 0}, b = {static_cast<double>(i), 10, 0};
    resbuf* list = sds_buildlist(RTDXF0, "line", 8, "Zbrojenie", 6, "CONTINUOUS", 62, 256, 48, 1.0,
                                 10, a, 11, b, RTNONE);
    sds_entmake(list);
    sds_relrb(list);
    sds_name line, dict, record;
    sds_entlast(line);
    list = sds_buildlist(RTDXF0, "DICTIONARY", 100, "AcDbDictionary", RTNONE);
    sds_entmakex(list, dict);
    sds_relrb(list);
    list = sds_entget(line);
    resbuf* before = list;
    while (before->rbnext->restype != 67)
        before = before->rbnext;
    resbuf* groups = sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dict, 102, "}", RTNONE);
    groups->rbnext->rbnext->rbnext = before->rbnext;
    before->rbnext = groups;
    sds_entmod(list);
    sds_relrb(list);
    list = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, "Pręt", 70, i % 30000, 140, 1.2,
                         70, 0, 70, i % 300, 70, 7, 70, 1, 70, 0, RTNONE);
    sds_entmakex(list, record);
    sds_relrb(list);
    sds_dictadd(dict, "ORV_ARMAVO", record);
    bench.lines.push_back({line[0], line[1]});
    bench.dictionaries.push_back({dict[0], dict[1]});
}

Bench& Drawing() {
    static Bench* bench = [] {
        auto* made = new Bench();
        host::NewDrawing();
        malloc_trim(0);
        size_t before = mallinfo2().uordblks;
        for (int i = 0; i < kEntities; ++i)
            MakeMarkedLine(i, *made);
        host::ForgetUndoHistory();
        malloc_trim(0);
        size_t after = mallinfo2().uordblks;
        // The test's own arrays of names are not the drawing's.
        size_t own = made->lines.capacity() * sizeof(made->lines[0]) * 2;
        made->bytesPerEntity = static_cast<double>(after - before - own) / kEntities;
        std::printf("memory per entity with its dictionary and record: %.0f bytes\n",
                    made->bytesPerEntity);
        return made;
    }();
    return *bench;
}

void BM_EntGet(benchmark::State& state) {
    Bench& bench = Drawing();
    size_t i = 0;
    for (auto _ : state) {
        resbuf* list = sds_entget(bench.lines[i++ % bench.lines.size()].data());
        benchmark::DoNotOptimize(list);
        sds_relrb(list);
    }
    state.counters["bytes/entity"] = bench.bytesPerEntity;
}
BENCHMARK(BM_EntGet);

void BM_EntMod(benchmark::State& state) {
    Bench& bench = Drawing();
    size_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resbuf* list = sds_entget(bench.lines[i++ % bench.lines.size()].data());
        if (i % 20000 == 0)
            host::ForgetUndoHistory();
        state.ResumeTiming();
        benchmark::DoNotOptimize(sds_entmod(list));
        state.PauseTiming();
        sds_relrb(list);
        state.ResumeTiming();
    }
    host::ForgetUndoHistory();
}
BENCHMARK(BM_EntMod);

void BM_EntMake(benchmark::State& state) {
    Drawing();
    sds_point a = {0, 0, 0}, b = {1, 1, 0};
    resbuf* list = sds_buildlist(RTDXF0, "line", 8, "Zbrojenie", 6, "CONTINUOUS", 62, 256, 48, 1.0,
                                 10, a, 11, b, RTNONE);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sds_entmake(list));
        if (++i % 20000 == 0) {
            state.PauseTiming();
            host::ForgetUndoHistory();
            state.ResumeTiming();
        }
    }
    sds_relrb(list);
    host::ForgetUndoHistory();
}
BENCHMARK(BM_EntMake);

void BM_DictSearch(benchmark::State& state) {
    Bench& bench = Drawing();
    size_t i = 0;
    for (auto _ : state) {
        resbuf* record = sds_dictsearch(bench.dictionaries[i++ % bench.dictionaries.size()].data(),
                                        "ORV_ARMAVO", 0);
        benchmark::DoNotOptimize(record);
        sds_relrb(record);
    }
}
BENCHMARK(BM_DictSearch);

void BM_SsgetAll(benchmark::State& state) {
    Drawing();
    for (auto _ : state) {
        sds_name set;
        benchmark::DoNotOptimize(sds_ssget("X", nullptr, nullptr, nullptr, set));
        sds_ssfree(set);
    }
}
BENCHMARK(BM_SsgetAll)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
