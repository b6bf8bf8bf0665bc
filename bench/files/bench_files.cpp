// Save and open of a drawing of 100,000 bars (each a polyline with an extension dictionary
// and a bar record), then ezdxf reading the same file, timed in the same run for comparison.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/drawing/database.h"
#include "host/files/dxf_reader.h"
#include "host/files/dxf_writer.h"

namespace {

constexpr int kBars = 100000;

const host::Database& Drawing() {
    static const host::Database drawing = [] {
        host::Database db;
        for (int i = 0; i < kBars; ++i) {
            host::GroupList dictionary;
            dictionary.AddText(0, "DICTIONARY");
            dictionary.AddText(100, "AcDbDictionary");
            host::ObjectId dict = db.Make(dictionary);
            host::GroupList bar;
            bar.AddText(0, "LWPOLYLINE");
            bar.AddText(102, "{ACAD_XDICTIONARY");
            bar.AddId(360, dict);
            bar.AddText(102, "}");
            bar.AddText(8, i % 2 ? "Zbrojenie" : "Zbrojenie główne");
            bar.AddInt(90, 3);
            bar.AddInt(70, 0);
            const double y = i * 10.0;
            bar.AddPoint(10, 0, y, 0);
            bar.AddReal(42, 0);
            bar.AddPoint(10, 300, y, 0);
            bar.AddReal(42, 0.41421356237309503);
            bar.AddPoint(10, 310, y + 10, 0);
            bar.AddReal(42, 0);
            db.Make(bar);
            host::GroupList record;
            record.AddText(0, "XRECORD");
            record.AddText(100, "AcDbXrecord");
            record.AddText(1, "Pręt");
            for (int value : {i + 1, 0, i % 300 + 1, 15, 1, 0})
                record.AddInt(70, value);
            record.AddReal(140, 1.2);
            db.DictionaryAdd(dict, "ORV_ARMAVO", db.Make(record));
        }
        return db;
    }();
    return drawing;
}

const std::string& FileText() {
    static const std::string text = host::WriteDxf(host::PrepareForFile(Drawing()));
    return text;
}

void BM_Save(benchmark::State& state) {
    for (auto _ : state) {
        std::string text = host::WriteDxf(host::PrepareForFile(Drawing()));
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["MB"] = static_cast<double>(FileText().size()) / 1e6;
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        host::Database db = host::Database::Empty();
        host::DxfReadResult result = host::ReadDxf(FileText(), db);
        if (!result.ok)
            state.SkipWithError(result.error.c_str());
        benchmark::DoNotOptimize(db.SlotCount());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// One timed ezdxf.readfile of the same file, the figure the opening is compared with.
void CompareWithEzdxf() {
    const std::string path = "/tmp/armavo-bench-files.dxf";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    std::fwrite(FileText().data(), 1, FileText().size(), file);
    std::fclose(file);
    const auto start = std::chrono::steady_clock::now();
    host::Database db = host::Database::Empty();
    const bool ok = host::ReadDxf(FileText(), db).ok;
    const double ours =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("armavo open: %.3f s (%s)\n", ours, ok ? "ok" : "FAILED");
    std::fflush(stdout);
    const std::string command =
        "/usr/bin/python3 -c \"import time, ezdxf; t = time.perf_counter(); "
        "ezdxf.readfile('" +
        path +
        "'); print('ezdxf readfile: %.3f s' % "
        "(time.perf_counter() - t))\"";
    if (std::system(command.c_str()) != 0)
        std::printf("ezdxf: not available\n");
    std::remove(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CompareWithEzdxf();
    return 0;
}
