// Reading and storing the hand-made rows of the schedule.
#include "module/schedule/stored_rows.h"

#include "module/resources/strings.h"

namespace schedule {
namespace {

constexpr int kStrRowsKey = 3;

// Every field the stored record holds.
bool SameStored(const CWykazObj& a, const CWykazObj& b) {
    return a.length == b.length && a.count == b.count && a.diameter == b.diameter &&
           a.steel == b.steel && a.remarks == b.remarks && a.applyToDrawing == b.applyToDrawing &&
           a.fromDrawing == b.fromDrawing && a.lengthFlags == b.lengthFlags &&
           a.countFlags == b.countFlags && a.diameterFlags == b.diameterFlags &&
           a.steelFlags == b.steelFlags && a.remarksFlags == b.remarksFlags;
}

}  // namespace

std::vector<CWykazObj> HandRows(CSDSXDataPret& records) {
    std::vector<CWykazObj> rows;
    records.ReadScheduleRows(LoadUiString(kStrRowsKey), rows);
    for (CWykazObj& row : rows) {
        // A hand-made row is never applied to the drawing.
        row.applyToDrawing = 0;
    }
    return rows;
}

void StoreHandRows(CSDSXDataPret& records, const std::vector<CWykazObj>& rows) {
    const std::string key = LoadUiString(kStrRowsKey);
    std::vector<CWykazObj> stored;
    records.ReadScheduleRows(key, stored, true);
    bool same = stored.size() == rows.size();
    for (size_t i = 0; same && i < rows.size(); ++i) {
        same = SameStored(stored[i], rows[i]);
    }
    if (!same) {
        records.WriteScheduleRows(key, rows);
    }
}

}  // namespace schedule
