// The entry point, the link loop, the command table with its dispatch, and the handlers.
#include "module/frame/frame.h"

#include <memory>
#include <string>

#include "host/sds.h"
#include "module/frame/entry_point.h"
#include "module/frame/workers.h"
#include "module/resources/strings.h"
#include "module/ui/about_dlg.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/geometry.h"
#include "platform/window.h"

namespace {

// Module-wide state. A host may load the module more than once in one process (each run of
// the program in a test does); each load replaces the panel of the one before, so nothing
// of an earlier load is left unreachable.
struct ModuleState {
    std::unique_ptr<CToolBarDlg> panel;
    int panelCreated = 0;
    COrvarmavoApp app;
};

ModuleState& State() {
    // Never destroyed: the panel is a window of the framework, whose own statics may be gone
    // by the time this one would be torn down at exit.
    static ModuleState* state = new ModuleState;
    return *state;
}

platform::Window* HostMainWindow() {
    return static_cast<platform::Window*>(sds_getmainhwnd());
}

constexpr int kStrCommandUnavailable = 900;

struct CommandEntry {
    const char* name;
    int (*handler)();
};

constexpr CommandEntry kCommands[kCommandCount] = {
    {"c:PPR", HandlePPR},         {"c:WPR", HandleWPR},     {"c:EDPR", HandleEDPR},
    {"c:OPR", HandleOPR},         {"c:WRP", HandleWRP},     {"c:WPP", HandleWPP},
    {"c:EPP", HandleEPP},         {"c:ERD", HandleERD},     {"c:HPR", HandleHPR},
    {"c:ORA_ABOUT", HandleAbout}, {"c:AUDIT", HandleAUDIT},
};

constexpr int kStrExportUnavailable = 904;

// Disables the panel's inputs for as long as a worker runs, so that the current parameters
// cannot change under a command; they come back however the worker ends.
class InputsDisabled {
  public:
    explicit InputsDisabled(CToolBarDlg* panel) : panel_(panel) {
        if (panel_ != nullptr) {
            panel_->EnableInputs(false);
        }
    }
    ~InputsDisabled() {
        if (panel_ != nullptr) {
            panel_->EnableInputs(true);
        }
    }
    InputsDisabled(const InputsDisabled&) = delete;
    InputsDisabled& operator=(const InputsDisabled&) = delete;

  private:
    CToolBarDlg* panel_;
};

// The frame every drawing command shares: the panel is shown first when the command needs it,
// its inputs are locked while an insert command runs, and the host gets true back.
int RunDrawingCommand(int code, bool showPanel, bool disableInputs) {
    CToolBarDlg* panel = ModulePanel();
    CommandWorker worker = GetCommandWorker(code);
    if (worker == nullptr) {
        // A build without the command's subsystem says so rather than end the command
        // silently, as if it had done its work.
        std::string text = LoadUiString(kStrCommandUnavailable);
        const std::string name = kCommands[code].name + 2;  // without "c:"
        if (const std::size_t at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, name);
        }
        sds_printf("%s", text.c_str());
        sds_rett();
        return RTNORM;
    }
    if (showPanel && panel != nullptr && panel->IsCreated() && !panel->IsWindowVisible()) {
        panel->ShowPanel(true);
        platform::SetFocus(HostMainWindow());
    }
    TakeCommandFailure();
    if (panel != nullptr) {
        if (disableInputs) {
            InputsDisabled lock(panel);
            worker(*panel);
        } else {
            worker(*panel);
        }
    }
    if (TakeCommandFailure()) {
        return RTERROR;
    }
    sds_rett();
    return RTNORM;
}

// An EXPORT the host handed over: the words are ("EXPORT" path); the worker makes the bytes,
// which go back to the host to be written.
int RunExport(int kind) {
    std::string path;
    resbuf* args = sds_getargs();
    if (args != nullptr && args->rbnext != nullptr && args->rbnext->restype == RTSTR &&
        args->rbnext->resval.rstring != nullptr) {
        path = args->rbnext->resval.rstring;
    }
    sds_relrb(args);
    ExportWorker worker = GetExportWorker(kind);
    if (worker == nullptr || path.empty()) {
        std::string text = LoadUiString(kStrExportUnavailable);
        if (const std::size_t at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, kExportExtensions[kind]);
        }
        sds_printf("%s", text.c_str());
        return RTERROR;
    }
    std::string bytes;
    if (!worker(path, bytes) ||
        sds_exportdata(bytes.data(), static_cast<long>(bytes.size())) != RTNORM) {
        return RTERROR;
    }
    sds_retvoid();
    return RTNORM;
}

}  // namespace

// ---- Module-wide state ----

void COrvarmavoApp::ComputeScale() {
    ScaleX = platform::LogPixelsX() / 96.0;
    ScaleY = platform::LogPixelsY() / 96.0;
}

COrvarmavoApp& TheApp() {
    return State().app;
}
CToolBarDlg* ModulePanel() {
    return State().panel.get();
}
int PanelCreatedFlag() {
    return State().panelCreated;
}

// ---- Entry and link loop ----

extern "C" void SDS_EntryPoint(void) {
    static char appName[512];
    sds_hwnd mainWindow = nullptr;
    void* instance = nullptr;
    appName[0] = '\0';
    SDS_GetGlobals(appName, &mainWindow, &instance);
    char* argv[] = {appName, nullptr};
    LinkLoop(1, argv);
}

int LinkLoop(int argc, char* argv[]) {
    sds_init(argc, argv);
    ModuleState& state = State();
    state.panel.reset();  // the previous load's window goes before the new one is made
    state.panel = std::make_unique<CToolBarDlg>();
    state.panelCreated = 0;
    state.app.InitInstance();
    state.app.ComputeScale();
    state.panel->SetScaleX(state.app.ScaleX);
    InstallCommandWorkers();
    state.panelCreated = state.panel->TogglePanel(state.panelCreated);
    sds_command(RTSTR, "_menuload", RTSTR, "ArmavoApp", 0);
    sds_printf("%s", LoadUiString(121).c_str());

    int reply = RSRSLT;
    for (;;) {
        const int request = sds_link(reply);
        if (request < 0) {
            sds_printf("Templt: bad status from sds_link() = %d\n", request);
            sds_exit(-1);
            return -1;
        }
        switch (request) {
            case RQXLOAD:
                reply = RegisterCommands() == RTNORM ? RSRSLT : RSERR;
                break;
            case RQSUBR:
                reply = DispatchCommand() == RTNORM ? RSRSLT : RSERR;
                break;
            default:
                reply = RSRSLT;
                break;
        }
    }
}

int RegisterCommands() {
    for (int i = 0; i < kCommandCount; ++i) {
        // The host answers RTNORM or an error code; a refusal must not pass for success.
        if (sds_defun(kCommands[i].name, static_cast<short>(i)) != RTNORM) {
            return RTERROR;
        }
    }
    for (int kind = 0; kind < kExportCount; ++kind) {
        if (sds_defexport(kExportExtensions[kind], static_cast<short>(kFirstExportCode + kind)) !=
            RTNORM) {
            return RTERROR;
        }
    }
    return RTNORM;
}

int DispatchCommand() {
    const int code = sds_getfuncode();
    if (code >= kFirstExportCode && code < kFirstExportCode + kExportCount) {
        return RunExport(code - kFirstExportCode);
    }
    if (code < 0 || code >= kCommandCount) {
        sds_fail("Received nonexistent function code.");
        return RTERROR;
    }
    // Handlers take no arguments, but the list is ours to release whatever they do with it.
    struct ArgsRelease {
        resbuf* args;
        ~ArgsRelease() { sds_relrb(args); }
    } release{sds_getargs()};
    return kCommands[code].handler();
}

// ---- Handlers ----

int HandlePPR() {
    ModuleState& state = State();
    if (state.panel != nullptr) {
        state.panelCreated = state.panel->TogglePanel(state.panelCreated);
        if (state.panel->IsCreated()) {
            state.panel->TellVisibility();
        }
    }
    sds_rett();
    return RTNORM;
}

int HandleWPR() {
    return RunDrawingCommand(kCmdWPR, true, true);
}
int HandleEDPR() {
    return RunDrawingCommand(kCmdEDPR, true, false);
}
int HandleOPR() {
    return RunDrawingCommand(kCmdOPR, false, false);
}
int HandleWRP() {
    return RunDrawingCommand(kCmdWRP, true, false);
}
int HandleWPP() {
    return RunDrawingCommand(kCmdWPP, true, true);
}
int HandleEPP() {
    return RunDrawingCommand(kCmdEPP, true, false);
}
int HandleERD() {
    return RunDrawingCommand(kCmdERD, false, false);
}
int HandleAUDIT() {
    return RunDrawingCommand(kCmdAUDIT, false, false);
}

int HandleHPR() {
    sds_help(LoadUiString(157).c_str(), "", 0);
    sds_rett();
    return RTNORM;
}

int HandleAbout() {
    CAboutDlg about(HostMainWindow());
    about.SetProductText(LoadUiString(163));
    about.DoModal();
    sds_retvoid();
    return RTNORM;
}
