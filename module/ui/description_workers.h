// The worker of ERD, the description editor of leader descriptions, as the module frame
// installs it. The worker itself runs on the rod-handling object (module/rods).
#pragma once

#include "module/frame/workers.h"

class CToolBarDlg;

// ERD: picks a leader description and rewrites its texts through the description editor.
void EditDescriptionWorker(CToolBarDlg& panel);

inline void InstallDescriptionWorkers() {
    SetCommandWorker(kCmdERD, EditDescriptionWorker);
}
