// The WPR command as the module's frame runs it: the panel shown, its inputs disabled while
// the bar is drawn and enabled again however the command ends.
#pragma once

class CToolBarDlg;

namespace rods {

// Disables the panel's inputs for its lifetime, so that the current parameters cannot change
// under a command; they come back on however the command ends, also when the host unwinds it.
class PanelInputsLock {
  public:
    explicit PanelInputsLock(CToolBarDlg* panel);
    ~PanelInputsLock();
    PanelInputsLock(const PanelInputsLock&) = delete;
    PanelInputsLock& operator=(const PanelInputsLock&) = delete;

  private:
    CToolBarDlg* panel_;
};

// Shows the panel if it is hidden (the keyboard focus goes back to the host's main window).
void ShowPanelIfHidden(CToolBarDlg* panel);

// The WPR handler's work: draws one bar with the panel's parameters, answers the host with
// true, and returns RTNORM.
int InsertBarCommand(CToolBarDlg* panel);

}  // namespace rods
