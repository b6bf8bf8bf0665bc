// The module's spine: the link loop with the host, the table of the commands and their
// dispatch, the command frame around the drawing commands' workers, and the module-wide state
// (the parameters panel and the application object) that lives from load to the host's end.
#pragma once

class CToolBarDlg;

// The application object: the screen's scale against 96 dpi, computed once at load.
class COrvarmavoApp {
  public:
    bool InitInstance() { return true; }
    int ExitInstance() { return 0; }
    // Reads the screen's logical pixels per inch in both directions.
    void ComputeScale();

    double ScaleX = 1.0;
    double ScaleY = 1.0;
};

COrvarmavoApp& TheApp();

// The panel made by the current load (null before the first load), and the panel-created flag
// that PPR keeps.
CToolBarDlg* ModulePanel();
int PanelCreatedFlag();

// The load sequence and the request loop. Ends only when the host unwinds it (or through
// sds_exit after a bad status from the host); the result exists for hosts whose sds_exit
// returns.
int LinkLoop(int argc, char* argv[]);

// Defines the commands with their table index as function code, and the file kinds the module
// writes for EXPORT after them: RTNORM, or RTERROR at the first refusal.
int RegisterCommands();
// Runs the handler of the function code the host sent: the handler's result, or RTERROR for a
// code outside the table.
int DispatchCommand();

// The command handlers, in table order; each answers the host and returns RTNORM.
int HandlePPR();
int HandleWPR();
int HandleEDPR();
int HandleOPR();
int HandleWRP();
int HandleWPP();
int HandleEPP();
int HandleERD();
int HandleHPR();
int HandleAbout();
int HandleAUDIT();
