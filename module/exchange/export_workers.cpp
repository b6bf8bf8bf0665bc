// EXPORT .csv and .abs: the rows OPR shows (its own collection, typed counts included, after
// the same check of the numbering) turned into the file's text; the drawing is never changed,
// so a numbering with a gap, which OPR would close first, is refused instead.
#include "module/exchange/export_workers.h"

#include <cstdio>
#include <cstdlib>

#include "module/exchange/bvbs.h"
#include "module/exchange/schedule_csv.h"
#include "module/model/steel.h"
#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"
#include "module/schedule/schedule_math.h"
#include "module/schedule/schedule_scan.h"
#include "module/schedule/stored_rows.h"

namespace {

constexpr int kStrLeftOut = 950;
constexpr int kStrNumberingGap = 960;
constexpr int kStrNoBars = 961;
constexpr int kStrUnnamedDrawing = 972;

void Tell(int id, int value) {
    const std::string format = LoadUiString(id);
    char text[512];
    std::snprintf(text, sizeof text, format.c_str(), value);
    sds_printf("%s", text);
}

// The drawing rows as OPR collects them; false, having said why, when the numbering has a gap
// (collecting would close it, and an export must not change the drawing).
bool CollectDrawingRows(CObslugaPreta& rod, std::vector<CWykazObj>& rows) {
    std::vector<double> marks;
    for (const rods::BarEntry& bar : ScheduleBars(rod.xdata)) {
        if (bar.record.number >= 1) {
            marks.push_back(bar.record.number);
        }
    }
    if (const int gap = rods::FirstNumberGap(marks); gap > 0) {
        Tell(kStrNumberingGap, gap);
        return false;
    }
    const int leftOut = rod.CollectScheduleRows(rows);
    if (leftOut > 0) {
        const std::string format = LoadUiString(kStrLeftOut);
        char text[512];
        std::snprintf(text, sizeof text, format.c_str(), leftOut, rod.CountRods(0));
        sds_printf("%s", text);
    }
    return true;
}

// The drawing's file name without folder and extension: the project and drawing of BVBS.
std::string DrawingName() {
    resbuf value{};
    std::string name;
    if (sds_getvar("DWGNAME", &value) == RTNORM && value.restype == RTSTR) {
        name = value.resval.rstring != nullptr ? value.resval.rstring : "";
        std::free(value.resval.rstring);
    }
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name.empty() ? LoadUiString(kStrUnnamedDrawing) : name;
}

}  // namespace

bool ExportScheduleCsv(const std::string&, std::string& bytes) {
    CObslugaPreta rod(nullptr);
    std::vector<CWykazObj> rows;
    if (!CollectDrawingRows(rod, rows)) {
        return false;
    }
    // The rows added by hand, as the schedule dialog shows them after the drawing's.
    const std::vector<CWykazObj> stored = schedule::HandRows(rod.xdata);
    rows.insert(rows.end(), stored.begin(), stored.end());
    bytes = exchange::ScheduleCsv(rows);
    return true;
}

bool ExportBendingRecords(const std::string&, std::string& bytes) {
    CObslugaPreta rod(nullptr);
    std::vector<CWykazObj> rows;
    if (!CollectDrawingRows(rod, rows)) {
        return false;
    }
    if (rows.empty()) {
        Tell(kStrNoBars, 0);
        return false;
    }
    const std::string name = DrawingName();
    const std::string key = LoadUiString(rods::kIdRecordKey);
    bytes.clear();
    for (const CWykazObj& row : rows) {
        sds_name bar = {0, 0};
        CRodXDataParameters record;
        std::vector<CSDSPointExt> vertices;
        if (sds_handent(row.barHandle.c_str(), bar) != RTNORM ||
            rod.xdata.ReadRodRecord(bar, key, record) != RTNORM ||
            CObslugaPreta::LoadRodVertices(bar, vertices) == 0) {
            continue;
        }
        exchange::BvbsBar out;
        out.project = name;
        out.drawing = name;
        out.mark = row.mark;
        const double lengthCm = CObslugaPreta::BarLength(vertices);
        out.lengthMm = lengthCm * 10.0;
        out.count = schedule::ParseWhole(row.count);
        out.diameterMm = record.diameter * 10.0;
        out.massKg = UnitMass(out.diameterMm) * lengthCm / 100.0;
        out.grade = SteelName(record.steel);
        out.mandrelMm = rods::BendDiameter(out.diameterMm, IsSmoothSteel(record.steel)) * 10.0;
        out.legs = exchange::BendLegs(vertices);
        bytes += exchange::BvbsRecord(out);
    }
    return true;
}
