// The schedule's work on the drawing, as operations of the rod-handling object: collecting one
// row per bar mark, deleting a mark's bars, rebuilding a mark's bars for a new diameter and
// steel, and the length a bar would have with another diameter.
#include <array>
#include <map>
#include <unordered_map>

#include "module/entities/resbuf_util.h"
#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"
#include "module/schedule/schedule_math.h"
#include "module/schedule/schedule_scan.h"

std::vector<rods::BarEntry> ScheduleBars(
    CSDSXDataPret& records,
    const std::function<void(const rods::BarEntry&, const resbuf* list)>& each) {
    std::vector<rods::BarEntry> bars;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string tag = LoadUiString(rods::kIdBarTag);
    // The host keeps the bars indexed by their records: no reading of every entity.
    sds_name found = {0, 0};
    if (sds_ssgetrecordkind("LWPOLYLINE", key.c_str(), tag.c_str(), nullptr, 0, found) != RTNORM) {
        return bars;
    }
    long length = 0;
    sds_sslength(found, &length);
    bars.reserve(static_cast<size_t>(length));
    for (long i = 0; i < length; ++i) {
        rods::BarEntry entry;
        if (sds_ssname(found, i, entry.name) != RTNORM) {
            continue;
        }
        rblist::Owned list(sds_entget(entry.name));
        records.ReadRodRecord(list.get(), key, entry.record);
        if (each) {
            each(entry, list.get());
        }
        bars.push_back(entry);
    }
    sds_ssfree(found);
    return bars;
}

int CObslugaPreta::CollectScheduleRows(std::vector<CWykazObj>& rows) {
    // The shape and handle of the first bar of each number, taken as the bars are read.
    struct FirstBar {
        std::vector<CSDSPointExt> vertices;
        std::string handle;
    };
    std::unordered_map<int, FirstBar> firsts;
    auto takeFirst = [&firsts](const rods::BarEntry& bar, const resbuf* list) {
        if (auto [at, added] = firsts.try_emplace(bar.record.number); added) {
            LoadRodVertices(list, at->second.vertices);
            const resbuf* handle = rblist::Find(list, 5);
            at->second.handle = handle != nullptr ? rblist::Text(handle) : std::string();
        }
    };
    std::vector<rods::BarEntry> bars = ScheduleBars(xdata, takeFirst);
    // Only real marks take part in closing the gap: a number below 1 would otherwise count as
    // the gap at 1 and fold mark 2 into mark 1.
    std::vector<double> marks;
    for (const rods::BarEntry& bar : bars) {
        if (bar.record.number >= 1) {
            marks.push_back(bar.record.number);
        }
    }
    if (const int gap = rods::FirstNumberGap(marks); gap > 0) {
        UndoGroup undo;
        RenumberFrom(gap);
        undo.Close();
        firsts.clear();
        bars = ScheduleBars(xdata, takeFirst);
    }
    std::vector<int> numbers;
    numbers.reserve(bars.size());
    for (const rods::BarEntry& bar : bars) {
        numbers.push_back(bar.record.number);
    }
    const schedule::MarkCount counted = schedule::CountMarks(numbers);
    // What was typed for a mark comes from the first of its bars that carries it.
    std::vector<const CRodXDataParameters*> typed(counted.perMark.size(), nullptr);
    for (const rods::BarEntry& bar : bars) {
        const long k = static_cast<long>(bar.record.number) - 1;
        if (k >= 0 && k < static_cast<long>(typed.size()) &&
            typed[static_cast<size_t>(k)] == nullptr && bar.record.HasTypedEntries()) {
            typed[static_cast<size_t>(k)] = &bar.record;
        }
    }
    for (size_t k = 0; k < counted.perMark.size(); ++k) {
        if (counted.perMark[k] == 0) {
            continue;
        }
        const rods::BarEntry& bar = bars[static_cast<size_t>(counted.firstBar[k])];
        const FirstBar& first = firsts[bar.record.number];
        CWykazObj row;
        row.length = schedule::Format("%.0f", BarLength(first.vertices));
        row.drawnCount = std::to_string(counted.perMark[k]);
        if (typed[k] != nullptr) {
            row.keptCount = typed[k]->typedCount;
            row.keptRemark = typed[k]->typedRemark;
        }
        row.count = row.keptCount.empty() ? row.drawnCount : row.keptCount;
        row.remarks = row.keptRemark;
        row.diameter = FormatDiameter(bar.record.diameter * 10.0);
        row.steel = SteelName(bar.record.steel);
        row.fromDrawing = 1;
        row.mark = static_cast<int>(k) + 1;
        row.barHandle = first.handle;
        rows.push_back(row);
    }
    return counted.leftOut;
}

std::map<int, int> CObslugaPreta::DeleteBarsWithNumber(int number) {
    const std::vector<std::array<long, 2>> doomed = BarsNumbered(number);
    if (doomed.empty()) {
        return {};
    }
    UndoGroup undo;
    // As Usuń decides: the last number of a gapless series leaves nothing to close up.
    const bool renumber = number != CountRods(1);
    std::map<int, int> renumbered;
    if (EraseRods(doomed) && renumber) {
        renumbered = RenumberFrom(number);
    }
    undo.Close();
    return renumbered;
}

int CObslugaPreta::KeepTypedEntries(int number, const std::string& count,
                                    const std::string& remark) {
    const std::string key = LoadUiString(rods::kIdRecordKey);
    int kept = 0;
    for (const auto& words : BarsNumbered(number)) {
        const sds_name bar = {words[0], words[1]};
        CRodXDataParameters record;
        xdata.ReadRodRecord(bar, key, record);
        if (record.typedCount == count && record.typedRemark == remark) {
            continue;
        }
        record.typedCount = count;
        record.typedRemark = remark;
        if (ReplaceRodRecord(bar, record) == RTNORM) {
            ++kept;
        }
    }
    return kept;
}

double CObslugaPreta::LengthForDiameter(int number, double diameterMm) {
    for (const rods::BarEntry& bar : ScheduleBars(xdata)) {
        if (bar.record.number != number) {
            continue;
        }
        std::vector<CSDSPointExt> shape;
        LoadRodVertices(bar.name, shape);
        schedule::RefitShape(shape, bar.record.hooks, bar.record.rounded, diameterMm,
                             IsSmoothSteel(bar.record.steel));
        return BarLength(shape);
    }
    return 0.0;
}

int CObslugaPreta::ApplyRowToDrawing(int number, double diameterMm, const std::string& steelName) {
    const int steel = SteelIndex(steelName);
    const bool smooth = IsSmoothSteel(steel);
    int rebuilt = 0;
    UndoGroup undo;
    for (const rods::BarEntry& bar : ScheduleBars(xdata)) {
        if (bar.record.number != number) {
            continue;
        }
        std::vector<CSDSPointExt> shape;
        if (LoadRodVertices(bar.name, shape) == 0) {
            continue;
        }
        CRodXDataParameters record = bar.record;
        record.hooks =
            schedule::RefitShape(shape, bar.record.hooks, bar.record.rounded, diameterMm, smooth);
        record.diameter = diameterMm / 10.0;
        record.steel = steel;
        // Each bar keeps its own shape, refitted; a refused polyline leaves the old bar.
        const double inPlace[2] = {0.0, 0.0};
        sds_name made = {0, 0};
        if (ReshapeReplace(bar.name, shape, inPlace, record, made)) {
            ++rebuilt;
        }
    }
    undo.Close();
    return rebuilt;
}
