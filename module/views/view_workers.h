// The view commands' workers as the module frame installs them: projections (WRP),
// cross-sections (WPP, whose panel inputs stay locked while it runs) and their editing (EPP).
#pragma once

#include "module/frame/workers.h"

class CToolBarDlg;

void InsertProjectionWorker(CToolBarDlg& panel);
void InsertCrossSectionWorker(CToolBarDlg& panel);
void EditCrossSectionWorker(CToolBarDlg& panel);

inline void InstallViewWorkers() {
    SetCommandWorker(kCmdWRP, InsertProjectionWorker);
    SetCommandWorker(kCmdWPP, InsertCrossSectionWorker);
    SetCommandWorker(kCmdEPP, EditCrossSectionWorker);
}
