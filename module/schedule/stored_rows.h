// The rows added by hand in the schedule dialog, as the drawing keeps them between uses of OPR
// (the rows of the drawing's marks are collected afresh each time, their typed counts and
// remarks kept on the marks' bars).
#pragma once

#include <vector>

#include "module/entities/xdata.h"
#include "module/model/schedule_row.h"

namespace schedule {

// The stored hand-made rows in their order, as the dialog shows them after the drawing's.
std::vector<CWykazObj> HandRows(CSDSXDataPret& records);

// Stores `rows` (hand-made ones) in place of what is stored, when they differ from it, so that
// closing the dialog without a change changes nothing. Rows of the drawing stored by earlier
// versions, which no reader takes back, go then too.
void StoreHandRows(CSDSXDataPret& records, const std::vector<CWykazObj>& rows);

}  // namespace schedule
