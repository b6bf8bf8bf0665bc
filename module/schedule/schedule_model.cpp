// The schedule's work on the drawing, as operations of the rod-handling object: collecting one
// row per bar mark, deleting a mark's bars, rebuilding a mark's bars for a new diameter and
// steel, and the length a bar would have with another diameter.
#include <algorithm>
#include <set>

#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"
#include "module/schedule/schedule_math.h"
#include "module/schedule/schedule_scan.h"

namespace {

bool NamesEqual(const sds_name a, const sds_name b) {
    return a[0] == b[0] && a[1] == b[1];
}

}  // namespace

std::vector<rods::BarEntry> ScheduleBars(CSDSXDataPret& records) {
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
        records.ReadRodRecord(entry.name, key, entry.record);
        bars.push_back(entry);
    }
    sds_ssfree(found);
    return bars;
}

int CObslugaPreta::CollectScheduleRows(std::vector<CWykazObj>& rows) {
    std::vector<rods::BarEntry> bars = ScheduleBars(xdata);
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
        bars = ScheduleBars(xdata);
    }
    std::vector<int> numbers;
    numbers.reserve(bars.size());
    for (const rods::BarEntry& bar : bars) {
        numbers.push_back(bar.record.number);
    }
    const schedule::MarkCount counted = schedule::CountMarks(numbers);
    std::vector<CSDSPointExt> barVertices;
    for (size_t k = 0; k < counted.perMark.size(); ++k) {
        if (counted.perMark[k] == 0) {
            continue;
        }
        const rods::BarEntry& bar = bars[static_cast<size_t>(counted.firstBar[k])];
        LoadRodVertices(bar.name, barVertices);
        CWykazObj row;
        row.length = schedule::Format("%.0f", BarLength(barVertices));
        row.count = std::to_string(counted.perMark[k]);
        row.diameter = FormatDiameter(bar.record.diameter * 10.0);
        row.steel = SteelName(bar.record.steel);
        row.fromDrawing = 1;
        row.mark = static_cast<int>(k) + 1;
        row.barHandle = EntityHandle(bar.name);
        rows.push_back(row);
    }
    return counted.leftOut;
}

std::map<int, int> CObslugaPreta::DeleteBarsWithNumber(int number) {
    std::map<int, int> renumbered;
    std::vector<rods::BarEntry> bars = ListBars();
    std::set<std::string> owners;
    std::vector<rods::BarEntry> doomed;
    for (const rods::BarEntry& bar : bars) {
        if (bar.record.number == number) {
            owners.insert(EntityHandle(bar.name));
            doomed.push_back(bar);
        }
    }
    if (doomed.empty()) {
        return renumbered;
    }
    UndoGroup undo;
    const std::string key = LoadUiString(rods::kIdRecordKey);
    const std::string barTag = LoadUiString(rods::kIdBarTag);
    // Whatever names a doomed bar as owner names its handle in its records.
    for (const std::string& handle : owners) {
        for (const auto& words : RecordReferences(handle)) {
            const sds_name entity = {words[0], words[1]};
            // Type and owner lead every link record, whatever kind of entity carries it.
            std::string tag;
            std::string owner;
            xdata.ReadDimensionLink(entity, key, tag, owner);
            if (tag != barTag && owners.count(owner) > 0) {
                sds_entdel(entity);
            }
        }
    }
    for (const rods::BarEntry& bar : doomed) {
        sds_entdel(bar.name);
    }
    sds_sssetfirst(nullptr, nullptr);
    sds_redraw(nullptr, 4);
    // The renumbering below hands out the new numbers exactly so: the same bars in the same
    // order through the same rule.
    bars = ListBars();
    std::vector<int> numbers;
    for (const rods::BarEntry& bar : bars) {
        numbers.push_back(bar.record.number);
    }
    const std::vector<int> after = rods::RenumberedFrom(numbers, number);
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (after[i] != numbers[i]) {
            renumbered[numbers[i]] = after[i];
        }
    }
    if (!renumbered.empty()) {
        RenumberFrom(number);
    }
    undo.Close();
    return renumbered;
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
    const std::string key = LoadUiString(rods::kIdRecordKey);
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
        const std::string layerName = EnsureBarLayer(diameterMm);
        sds_name made = {0, 0};
        sds_name dictionary = {0, 0};
        // A refused polyline leaves the old bar as it was rather than lose it.
        if (polyline.Create(shape, false, layerName, rods::kContinuous, rods::kByLayer) != RTNORM ||
            sds_entlast(made) != RTNORM || NamesEqual(made, bar.name) ||
            xdata.EnsureExtensionDictionary(made, dictionary) != RTNORM ||
            xdata.WriteRodRecord(dictionary, key, record) != RTNORM) {
            continue;
        }
        if (DeleteRodDimensions(bar.name) > 0) {
            DrawRodDimensions(made, shape);
        }
        rods::ShownCounts shown;
        ReadShownCounts(bar.name, shown);
        if (DeleteDescription(bar.name) > 0) {
            sds_point anchor = {0, 0, 0};
            if (DescriptionAnchor(made, shape, anchor) >= 0) {
                DrawDescription(made, anchor, shape, record.number, shown, diameterMm);
            }
        }
        UpdateLeaderTexts(bar.name, true, true, shape, made);
        sds_entdel(bar.name);
        ++rebuilt;
    }
    undo.Close();
    return rebuilt;
}
