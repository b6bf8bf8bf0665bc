// The AUDIT command's worker as the module frame installs it.
#pragma once

#include "module/frame/workers.h"

class CToolBarDlg;

// AUDIT lists the findings; AUDIT Napraw also mends what can be mended, as one undo step.
void AuditWorker(CToolBarDlg& panel);

inline void InstallAuditWorkers() {
    SetCommandWorker(kCmdAUDIT, AuditWorker);
}
