// The WPR command frame around InsertBar.
#include "module/rods/insert_command.h"

#include "host/sds.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/window.h"

namespace rods {

PanelInputsLock::PanelInputsLock(CToolBarDlg* panel) : panel_(panel) {
    if (panel_ != nullptr) {
        panel_->EnableInputs(false);
    }
}

PanelInputsLock::~PanelInputsLock() {
    if (panel_ != nullptr) {
        panel_->EnableInputs(true);
    }
}

void ShowPanelIfHidden(CToolBarDlg* panel) {
    if (panel == nullptr || panel->IsWindowVisible()) {
        return;
    }
    panel->ShowPanel(true);
    platform::SetFocus(static_cast<platform::Window*>(sds_getmainhwnd()));
}

int InsertBarCommand(CToolBarDlg* panel) {
    CObslugaPreta rod(panel);
    ShowPanelIfHidden(panel);
    {
        PanelInputsLock lock(panel);
        rod.InsertBar();
    }
    sds_rett();
    return RTNORM;
}

}  // namespace rods
