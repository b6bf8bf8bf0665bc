// The link loop, command table and command frame against a scripted host: load sequence,
// replies to each kind of request, the panel rules of the drawing commands, help and about.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "host/sds.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/frame/workers.h"
#include "module/resources/resource.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/window.h"
#include "tests/module_frame/fake_host.h"
#include "tests/module_ui/panel_settings.h"

using fakehost::Request;

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

class FrameLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_ =
            std::filesystem::temp_directory_path() /
            ("armavo-frame-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove(settings_);
        platform::SetSettingsFile(settings_.string());
        g_view = {};
        for (int code = 0; code < kCommandCount; ++code) {
            SetCommandWorker(code, nullptr);
        }
    }
    void TearDown() override { std::filesystem::remove(settings_); }

    // Runs one load of the module through the entry point with this request script.
    void Run(std::vector<Request> script) {
        fakehost::Reset(std::move(script));
        EXPECT_THROW(SDS_EntryPoint(), fakehost::Shutdown);
    }
    static Request Load() { return {RQXLOAD, 0}; }
    static Request Call(int code) { return {RQSUBR, code}; }

    std::filesystem::path settings_;
};

TEST_F(FrameLinkTest, LoadPreparesPanelMenuMessageAndDefinesTheCommandsOnEachLoadRequest) {
    Run({});
    Run({Load(), Load()});  // a second start makes a fresh panel
    const auto& s = fakehost::State();
    EXPECT_EQ(s.initArgc, 1);
    EXPECT_EQ(s.initArg0, "armavo-test");
    EXPECT_EQ(s.commands, (std::vector<std::vector<std::string>>{{"_menuload", "ArmavoApp"}}));
    EXPECT_EQ(s.printed, "\nModuł ArmavoCAD załadowany.\n");
    ASSERT_NE(ModulePanel(), nullptr);
    EXPECT_TRUE(ModulePanel()->IsCreated());
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());  // fresh settings: shown
    EXPECT_NE(PanelCreatedFlag(), 0);
    EXPECT_EQ(ModulePanel()->GetOwner(), platform::MainWindow());
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
    EXPECT_DOUBLE_EQ(TheApp().ScaleX, 1.0);
    EXPECT_DOUBLE_EQ(TheApp().ScaleY, 1.0);
    const std::vector<std::string> names = {"c:PPR", "c:WPR",       "c:EDPR", "c:OPR",
                                            "c:WRP", "c:WPP",       "c:EPP",  "c:ERD",
                                            "c:HPR", "c:ORA_ABOUT", "c:AUDIT"};
    ASSERT_EQ(s.defuns.size(), 2 * names.size());  // the second load request defines them again
    for (std::size_t i = 0; i < s.defuns.size(); ++i) {
        EXPECT_EQ(s.defuns[i].first, names[i % names.size()]);
        EXPECT_EQ(s.defuns[i].second, static_cast<int>(i % names.size()));
    }
    // The file kinds for EXPORT follow the commands' codes.
    const std::vector<std::pair<std::string, int>> kinds = {{"csv", 11}, {"abs", 12}};
    EXPECT_EQ(s.exports,
              (std::vector<std::pair<std::string, int>>{kinds[0], kinds[1], kinds[0], kinds[1]}));
    EXPECT_EQ(s.replies, (std::vector<int>{RSRSLT, RSRSLT}));
}

TEST_F(FrameLinkTest, RefusedDefinitionAnswersErrorAndStops) {
    // A host may refuse with zero or with an error code; neither may pass for success.
    for (int refusal : {0, RTERROR, RTREJ}) {
        SCOPED_TRACE(refusal);
        fakehost::Reset({Load()});
        fakehost::State().failDefunAt = 3;
        fakehost::State().defunFailure = refusal;
        EXPECT_THROW(SDS_EntryPoint(), fakehost::Shutdown);
        EXPECT_EQ(fakehost::State().defuns.size(), 3u);
        EXPECT_EQ(fakehost::State().replies, (std::vector<int>{RSERR}));
    }
}

TEST_F(FrameLinkTest, RequestRepliesByKind) {
    struct Case {
        const char* what;
        Request request;
        int reply;
        bool failed;
        int retts = 0;
        int retvoids = 0;
        std::vector<std::string> help = {};
    };
    const Case cases[] = {
        {"function code past the table and the file kinds", {RQSUBR, 13}, RSERR, true},
        {"negative function code", {RQSUBR, -1}, RSERR, true},
        {"help", {RQSUBR, kCmdHPR}, RSRSLT, false, 1, 0, {"ArmavoCAD.chm||0"}},
        {"about", {RQSUBR, kCmdORA_ABOUT}, RSRSLT, false, 0, 1},
        {"end", {RQEND, 0}, RSRSLT, false},
        {"quit", {RQQUIT, 0}, RSRSLT, false},
        {"unload", {RQXUNLD, 0}, RSRSLT, false},
        {"unknown request", {7, 0}, RSRSLT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run({c.request});
        const auto& s = fakehost::State();
        EXPECT_EQ(s.replies, (std::vector<int>{c.reply}));
        EXPECT_EQ(s.failures, c.failed
                                  ? std::vector<std::string>{"Received nonexistent function code."}
                                  : std::vector<std::string>{});
        EXPECT_EQ(s.retts, c.retts);
        EXPECT_EQ(s.retvoids, c.retvoids);
        EXPECT_EQ(s.helpFiles, c.help);
        // Nothing of the module's own beyond its load message.
        EXPECT_EQ(s.printed, "\nModuł ArmavoCAD załadowany.\n");
    }
}

bool WritesRows(const std::string& path, std::string& bytes) {
    bytes = "rows of " + path;
    return true;
}
bool RefusesToWrite(const std::string&, std::string& bytes) {
    bytes = "half";
    return false;
}

// An EXPORT handed over: the worker's bytes go back to the host, a refusal or a missing worker
// or file name fails the request and hands nothing.
TEST_F(FrameLinkTest, ExportRequestsHandTheWorkersBytes) {
    const struct {
        ExportWorker worker;
        std::vector<std::string> args;
        int reply;
        std::vector<std::string> exported;
        std::string printed;
    } cases[] = {
        {WritesRows, {"EXPORT", "a b.csv"}, RSRSLT, {"rows of a b.csv"}, ""},
        {RefusesToWrite, {"EXPORT", "a.csv"}, RSERR, {}, ""},
        {nullptr, {"EXPORT", "a.csv"}, RSERR, {}, "Eksport plików .csv"},
        {WritesRows, {"EXPORT"}, RSERR, {}, "Eksport plików .csv"},
    };
    for (const auto& c : cases) {
        SetExportWorker(kExportCsv, c.worker);
        fakehost::Reset({Call(kFirstExportCode + kExportCsv)});
        fakehost::State().args = c.args;
        EXPECT_THROW(SDS_EntryPoint(), fakehost::Shutdown);
        const auto& s = fakehost::State();
        EXPECT_EQ(s.replies, (std::vector<int>{c.reply}));
        EXPECT_EQ(s.exported, c.exported);
        EXPECT_EQ(s.printed.find(c.printed) != std::string::npos, true) << s.printed;
        EXPECT_EQ(s.liveLists, 0);
    }
    SetExportWorker(kExportCsv, nullptr);
}

TEST_F(FrameLinkTest, BadStatusFromLinkEndsTheModule) {
    Run({{-3, 0}, Load()});
    const auto& s = fakehost::State();
    EXPECT_EQ(s.exitStatus, -1);
    EXPECT_NE(s.printed.find("Templt: bad status from sds_link() = -3\n"), std::string::npos);
    EXPECT_TRUE(s.defuns.empty());  // the load request after it is never read
}

TEST_F(FrameLinkTest, DrawingCommandsShowThePanelAndLockInputsAsTheirTableSays) {
    struct Case {
        int code;
        bool showsPanel;
        bool locksInputs;
    };
    const Case cases[] = {
        {kCmdWPR, true, true},   {kCmdWPP, true, true},   {kCmdWRP, true, false},
        {kCmdEPP, true, false},  {kCmdEDPR, true, false}, {kCmdERD, false, false},
        {kCmdOPR, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        g_view = {};
        std::filesystem::remove(settings_);  // each case starts with the panel shown
        ASSERT_TRUE(SetCommandWorker(c.code, RecordingWorker));
        // Hide the panel first, then run the command with the panel hidden.
        Run({Call(kCmdPPR), Call(c.code)});
        SetCommandWorker(c.code, nullptr);
        EXPECT_EQ(g_view.calls, 1);
        EXPECT_EQ(g_view.panelVisible, c.showsPanel);
        EXPECT_EQ(g_view.inputsEnabled, !c.locksInputs);
        if (c.showsPanel) {
            EXPECT_TRUE(g_view.focusOnMain);
        }
        EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_DIAMETER));  // enabled again after
        EXPECT_EQ(fakehost::State().retts, 2);
        EXPECT_EQ(fakehost::State().replies, (std::vector<int>{RSRSLT, RSRSLT}));
    }
}

TEST_F(FrameLinkTest, InputsComeBackWhenAWorkerThrows) {
    SetCommandWorker(kCmdWPR, ThrowingWorker);
    Run({});
    fakehost::Reset({Call(kCmdWPR)});
    EXPECT_THROW(HandleWPR(), std::runtime_error);
    EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_SPACING));
}

// Only drawing commands take a worker; any other code, past the table's ends included, is
// refused rather than written beyond it.
TEST_F(FrameLinkTest, WorkersAreTakenOnlyForDrawingCommands) {
    for (int code : {int{kCmdPPR}, int{kCmdHPR}, int{kCmdORA_ABOUT}, -1, int{kCommandCount}}) {
        EXPECT_FALSE(SetCommandWorker(code, RecordingWorker)) << code;
        EXPECT_EQ(GetCommandWorker(code), nullptr) << code;
    }
}

void FailingWorker(CToolBarDlg&) {
    ReportCommandFailed();
}

// A worker that reports a failure makes the reply an error, once: the next command is judged
// on its own.
TEST_F(FrameLinkTest, ReportedFailureAnswersErrorOnce) {
    SetCommandWorker(kCmdAUDIT, FailingWorker);
    SetCommandWorker(kCmdEPP, RecordingWorker);
    Run({Call(kCmdAUDIT), Call(kCmdEPP)});
    EXPECT_EQ(fakehost::State().replies, (std::vector<int>{RSERR, RSRSLT}));
    EXPECT_EQ(fakehost::State().retts, 1);
}

TEST_F(FrameLinkTest, CommandWithoutItsSubsystemSaysSo) {
    // No worker is installed: each drawing command tells the user instead of ending silently.
    const std::pair<int, const char*> commands[] = {
        {kCmdWPR, "WPR"}, {kCmdOPR, "OPR"}, {kCmdERD, "ERD"}};
    for (const auto& [code, name] : commands) {
        Run({Call(code)});
        EXPECT_NE(fakehost::State().printed.find(std::string("\nPolecenie ") + name +
                                                 " nie jest dostępne w tej wersji modułu.\n"),
                  std::string::npos)
            << fakehost::State().printed;
        EXPECT_EQ(fakehost::State().retts, 1);
        EXPECT_EQ(fakehost::State().replies, (std::vector<int>{RSRSLT}));
    }
}

}  // namespace
