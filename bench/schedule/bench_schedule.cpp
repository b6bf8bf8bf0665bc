// Speed of the schedule on a drawing of 10,000 bars in 300 marks (and half of that, to show
// how it grows): collecting the rows, opening the dialog (collection, stored rows, the grid),
// and drawing the full table with a shape per row. Target: each well under 200 ms. And OPR as
// the command runs it, opened and closed with "Zamknij", on 1,000 and 10,000 bars that are each
// their own mark. Target: at most 0.5 s at 10,000, at most 12 times the 1,000-mark time.
#include <benchmark/benchmark.h>

#include <vector>

#include "host/drawing/document.h"
#include "host/sds.h"
#include "module/resources/resource.h"
#include "module/resources/templates.h"
#include "module/rods/obsluga_preta.h"
#include "module/schedule/schedule_workers.h"
#include "module/schedule/wykazy_opisy.h"
#include "module/ui/toolbar_dlg.h"
#include "tests/platform/test_support.h"

namespace {

constexpr int kMarks = 300;

void MakeDrawing(int barCount, int marks = kMarks) {
    host::NewDrawing();
    CSDSPolyLine polyline;
    CSDSXDataPret records;
    for (int i = 0; i < barCount; ++i) {
        const double y = 10.0 * i;
        CSDSPointExt corner(200, y, 0);
        corner.bulge = 0.4142;
        polyline.Create({{0, y, 0}, corner, {220, y + 20, 0}, {220, y + 80, 0}}, false, "Zbrojenie",
                        "CONTINUOUS", 256);
        sds_name bar;
        sds_name dictionary;
        sds_entlast(bar);
        CRodXDataParameters record;
        record.type = "Pręt";
        record.ordinal = i + 1;
        record.diameter = (i % 7 + 6) / 10.0;
        record.hooks = 0;
        record.number = i % marks + 1;
        record.steel = i % 3 == 0 ? 0 : 15;
        record.rounded = 1;
        record.flag = 0;
        records.EnsureExtensionDictionary(bar, dictionary);
        records.WriteRodRecord(dictionary, "ORV_ARMAVO", record);
    }
}

void BM_CollectRows(benchmark::State& state) {
    MakeDrawing(static_cast<int>(state.range(0)));
    CObslugaPreta rod(nullptr);
    for (auto _ : state) {
        std::vector<CWykazObj> rows;
        rod.CollectScheduleRows(rows);
        benchmark::DoNotOptimize(rows.data());
    }
}

void BM_OpenDialog(benchmark::State& state) {
    MakeDrawing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CWykazyOpisy dialog(nullptr, nullptr);
        dialog.Create(*FindDialogTemplate(IDD_SCHEDULE), nullptr);
        benchmark::DoNotOptimize(dialog.Rows().size());
        dialog.DestroyWindow();
    }
}

void BM_DrawFullTable(benchmark::State& state) {
    MakeDrawing(static_cast<int>(state.range(0)));
    CObslugaPreta rod(nullptr);
    std::vector<CWykazObj> rows;
    rod.CollectScheduleRows(rows);
    for (auto _ : state) {
        sds_point at = {0, -1000, 0};
        // Each table adds a few thousand entities that the next one's bar scan passes over;
        // a few iterations keep that small against the 10,000 bars.
        rod.DrawSchedule(rows, at, true);
    }
}

void BM_OprOpenAndClose(benchmark::State& state) {
    const int bars = static_cast<int>(state.range(0));
    MakeDrawing(bars, bars);
    CToolBarDlg panel;
    for (auto _ : state) {
        // The dialog printed and answered as a script answers it.
        platform::testing::Session session({"click 2"});
        ScheduleWorker(panel);
    }
}

BENCHMARK(BM_CollectRows)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDialog)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFullTable)->Arg(5000)->Arg(10000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OprOpenAndClose)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
