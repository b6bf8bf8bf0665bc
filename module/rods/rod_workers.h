// The rod commands' workers as the module frame installs them: the frame shows the panel,
// keeps its inputs disabled while WPR runs (not EDPR) and answers the host; the worker draws.
#pragma once

#include "module/frame/workers.h"

class CToolBarDlg;

// WPR: draws one bar with the panel's current parameters.
void InsertBarWorker(CToolBarDlg& panel);
// EDPR: the edit command's option loop.
void EditRodWorker(CToolBarDlg& panel);

inline void InstallRodWorkers() {
    SetCommandWorker(kCmdWPR, InsertBarWorker);
    SetCommandWorker(kCmdEDPR, EditRodWorker);
}
