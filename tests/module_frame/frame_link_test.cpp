// The frame in the real host with no subsystem installed (no_workers.cpp): each test installs
// the workers it plays, so that the frame's own rules show apart from the subsystems' work:
// which commands show the panel and lock its inputs, a failure a worker reports, a command or
// file kind whose subsystem is missing, requests no command line sends.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/sds.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/frame/workers.h"
#include "module/resources/resource.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/console.h"
#include "platform/window.h"
#include "tests/support/files.h"
#include "tests/support/scenario.h"

namespace {

// What a worker saw of the frame at the moment it ran.
struct WorkerView {
    int calls = 0;
    bool panelVisible = false;
    bool inputsEnabled = false;
    bool focusOnMain = false;
};
WorkerView g_view;

void RecordingWorker(CToolBarDlg& panel) {
    ++g_view.calls;
    g_view.panelVisible = panel.IsWindowVisible();
    g_view.inputsEnabled = panel.IsControlEnabled(IDC_DIAMETER);
    g_view.focusOnMain = platform::GetFocus() == platform::MainWindow();
}
void ThrowingWorker(CToolBarDlg&) {
    throw std::runtime_error("worker failed");
}
void FailingWorker(CToolBarDlg&) {
    ReportCommandFailed();
}
bool WritesRows(const std::string& path, std::string& bytes) {
    bytes = "rows of " + path;
    return true;
}

std::string RunModule(const std::vector<std::string>& lines) {
    testkit::ScenarioOptions o;
    o.entry = SDS_EntryPoint;
    return testkit::RunScenario(lines, o);
}

// With the panel hidden first (PPR), each drawing command shows it, and locks its inputs while
// its worker runs, as the command table says; the inputs come back however the worker ends.
TEST(FrameLink, DrawingCommandsShowThePanelAndLockInputsAsTheirTableSays) {
    const struct {
        int code;
        const char* name;
        bool showsPanel;
        bool locksInputs;
    } cases[] = {
        {kCmdWPR, "WPR", true, true},    {kCmdWPP, "WPP", true, true},
        {kCmdWRP, "WRP", true, false},   {kCmdEPP, "EPP", true, false},
        {kCmdEDPR, "EDPR", true, false}, {kCmdERD, "ERD", false, false},
        {kCmdOPR, "OPR", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_view = {};
        ASSERT_TRUE(SetCommandWorker(c.code, RecordingWorker));
        const std::string out = RunModule({"PPR", c.name});
        SetCommandWorker(c.code, nullptr);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0) << out;
        EXPECT_EQ(g_view.calls, 1);
        EXPECT_EQ(g_view.panelVisible, c.showsPanel);
        EXPECT_EQ(g_view.inputsEnabled, !c.locksInputs);
        EXPECT_TRUE(g_view.focusOnMain || !c.showsPanel);            // the panel takes no focus
        EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_DIAMETER));  // enabled again after
    }
    EXPECT_NE(PanelCreatedFlag(), 0);
    EXPECT_DOUBLE_EQ(TheApp().ScaleX, 1.0);  // the console's 96 dots per inch
    SetCommandWorker(kCmdWPR, ThrowingWorker);
    EXPECT_NE(RunModule({"WPR"}).find("Błąd wewnętrzny: worker failed"), std::string::npos);
    SetCommandWorker(kCmdWPR, nullptr);
    EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_SPACING));
    // Only drawing commands take a worker; any other code, past the table's ends included, is
    // refused rather than written beyond it.
    for (int code : {int{kCmdPPR}, int{kCmdHPR}, int{kCmdORA_ABOUT}, -1, int{kCommandCount}}) {
        EXPECT_FALSE(SetCommandWorker(code, RecordingWorker)) << code;
        EXPECT_EQ(GetCommandWorker(code), nullptr) << code;
    }
}

// A failure a worker reports fails its command, which stops the script; a command or file kind
// without its subsystem says so; a file kind's worker gives the bytes the host writes.
TEST(FrameLink, FailuresAndMissingSubsystemsAreTold) {
    SetCommandWorker(kCmdAUDIT, FailingWorker);
    SetCommandWorker(kCmdEPP, RecordingWorker);
    g_view = {};
    RunModule({"AUDIT", "EPP"});
    SetCommandWorker(kCmdAUDIT, nullptr);
    SetCommandWorker(kCmdEPP, nullptr);
    EXPECT_EQ(testkit::LastScenarioStatus(), 1);
    EXPECT_EQ(g_view.calls, 0);

    const std::string csv = ::testing::TempDir() + "armavo-frame-rows.csv";
    std::filesystem::remove(csv);
    std::string out = RunModule({"WPR", "ERD", "EXPORT " + csv});
    for (const char* told : {"\nPolecenie WPR nie jest dostępne w tej wersji modułu.\n",
                             "\nPolecenie ERD nie jest dostępne w tej wersji modułu.\n",
                             "\nEksport plików .csv nie jest dostępny w tej wersji modułu.\n"}) {
        EXPECT_NE(out.find(told), std::string::npos) << out;
    }
    EXPECT_EQ(testkit::LastScenarioStatus(), 1);
    EXPECT_FALSE(std::filesystem::exists(csv));
    SetExportWorker(kExportCsv, WritesRows);
    out = RunModule({"EXPORT " + csv});
    SetExportWorker(kExportCsv, nullptr);
    EXPECT_EQ(testkit::LastScenarioStatus(), 0) << out;
    EXPECT_EQ(testkit::ReadFile(csv), "rows of " + csv);
}

void Capture(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

// Outside a run the host answers the link with an error: the module says so and ends; a
// request for a function it never defined is refused.
TEST(FrameLink, BadLinkStatusEndsTheModuleAndUnknownFunctionsAreRefused) {
    std::string out;
    platform::SetOutputSink(Capture, &out);
    EXPECT_THROW(SDS_EntryPoint(), host::HostShutdown);
    EXPECT_EQ(DispatchCommand(), RTERROR);
    platform::SetOutputSink(nullptr, nullptr);
    EXPECT_NE(out.find("Templt: bad status from sds_link() = -5001\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Received nonexistent function code."), std::string::npos) << out;
}

}  // namespace
