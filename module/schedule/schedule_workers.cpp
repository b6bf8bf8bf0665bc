// OPR: rows reviewed in the dialog, then the table drawn where the user points.
#include "module/schedule/schedule_workers.h"

#include "module/resources/strings.h"
#include "module/rods/obsluga_preta.h"
#include "module/schedule/wykazy_opisy.h"
#include "platform/dialog.h"

namespace {

constexpr int kStrInsertionPoint = 128;

}  // namespace

void ScheduleWorker(CToolBarDlg& panel) {
    // One step for the whole command: the gap closed, the marks deleted or rebuilt, what was
    // stored when the dialog closed, and the table.
    UndoGroup undo;
    std::vector<CWykazObj> rows;
    CWykazyOpisy dialog(static_cast<platform::Window*>(sds_getmainhwnd()), &panel);
    CObslugaPreta rod(&panel);
    if (dialog.DoModal() != platform::IDOK) {
        undo.Close();
        return;
    }
    rows = dialog.Rows();
    sds_point at = {0, 0, 0};
    if (sds_getpoint(nullptr, LoadUiString(kStrInsertionPoint).c_str(), at) == RTNORM) {
        rod.DrawSchedule(rows, at, dialog.IsFull());
    }
    undo.Close();
}
