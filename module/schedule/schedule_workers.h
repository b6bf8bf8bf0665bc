// The schedule command's worker as the module frame installs it.
#pragma once

#include "module/frame/workers.h"

class CToolBarDlg;

// OPR: the schedule dialog, then the table at a picked point.
void ScheduleWorker(CToolBarDlg& panel);

inline void InstallScheduleWorkers() {
    SetCommandWorker(kCmdOPR, ScheduleWorker);
}
