// The module in the real host, one whole program run per case: the load message, PPR and the
// stored settings, PANEL choices surviving a restart, help and about, the command frame of
// WPR, and every result-buffer list given back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/resbuf_count.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/resources/resource.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/registry.h"
#include "platform/script_panel.h"
#include "platform/window.h"
#include "tests/module_ui/panel_settings.h"
#include "tests/support/scenario.h"

namespace {

testkit::ScenarioOptions Module(const std::string& settings = {}) {
    // The program wires the PANEL verb in its main; the scenario kit runs without it.
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    testkit::ScenarioOptions o;
    o.entry = SDS_EntryPoint;
    o.settingsFile = settings;
    return o;
}

std::string Stored(const std::string& name) {
    platform::SetSettingsFile(testkit::LastSettingsFile());
    return StoredPanelValue(name);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ModuleScenario, LoadPrintsTheLoadMessage) {
    const std::string t = testkit::RunScenario({}, Module());
    EXPECT_TRUE(Contains(t, "\nModuł ArmavoCAD załadowany.\n")) << t;
    EXPECT_EQ(testkit::LastScenarioStatus(), 0);
    ASSERT_NE(ModulePanel(), nullptr);
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());
}

TEST(ModuleScenario, PprHidesAndStoresAllValuesThenShowsAgain) {
    testkit::RunScenario({"PPR"}, Module());
    EXPECT_FALSE(ModulePanel()->IsWindowVisible());
    for (const char* name : kPanelValueNames) {
        EXPECT_NE(Stored(name), "<missing>") << name;
    }
    EXPECT_EQ(Stored("IsVisible"), "0");
    EXPECT_EQ(Stored("Rozstaw"), "20");

    testkit::RunScenario({"PPR", "PPR"}, Module());
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
}

TEST(ModuleScenario, PanelChoiceIsStoredAsItsListIndex) {
    testkit::RunScenario({"PANEL diameter 12", "PPR", "PPR"}, Module());
    EXPECT_EQ(Stored("Diameter"), "6");
}

TEST(ModuleScenario, StoredDiameterOutsideTheListSelectsTheFirst) {
    const std::string settings = (std::filesystem::temp_directory_path() /
                                  ("armavo-frame-scenario-diameter-" + std::to_string(::getpid())))
                                     .string();
    std::filesystem::remove(settings);
    platform::SetSettingsFile(settings);
    {
        platform::RegKey key;
        ASSERT_EQ(platform::RegCreateKey(CToolBarDlg::kRegistryKey, key), platform::RegResult::Ok);
        ASSERT_EQ(platform::RegSetValue(key, "Diameter", "17"), platform::RegResult::Ok);
    }
    const std::string t = testkit::RunScenario({"PANEL"}, Module(settings));
    EXPECT_EQ(ModulePanel()->GetDlgItemText(IDC_DIAMETER), "4.5");
    EXPECT_DOUBLE_EQ(ModulePanel()->GetDiameter(), 4.5);
    std::filesystem::remove(settings);
}

TEST(ModuleScenario, AboutShowsTheProductVersion) {
    const std::string t = testkit::RunScenario({"ORA_ABOUT", "show", "click Zamknij"}, Module());
    EXPECT_TRUE(Contains(t, "O programie ArmavoCAD")) << t;
    EXPECT_TRUE(Contains(t, "ArmavoCAD 1.0.7")) << t;
}

TEST(ModuleScenario, HelpTellsWhereTheHelpFileIs) {
    const std::string t = testkit::RunScenario({"HPR"}, Module());
    const std::size_t at = t.find("Pomoc: ");
    ASSERT_NE(at, std::string::npos) << t;
    const std::string path = t.substr(at + 7, t.find('\n', at) - at - 7);
    EXPECT_TRUE(Contains(path, "ArmavoCAD.md")) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

TEST(ModuleScenario, InsertCommandShowsTheHiddenPanelAndReleasesItsInputs) {
    testkit::RunScenario({"PPR", "WPR", "^C"}, Module());
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());
    EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_DIAMETER));
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());

    // A finished bar leaves the inputs enabled as well.
    testkit::RunScenario({"WPR", "0,0", "100,0", ""}, Module());
    EXPECT_TRUE(ModulePanel()->IsControlEnabled(IDC_SPACING));
}

TEST(ModuleScenario, EveryListGoesBack) {
    const long before = host::LiveResbufCount();
    testkit::RunScenario({"PPR", "PPR", "HPR", "ORA_ABOUT", "click 2", "OPR", "ERD", "^C", "EDPR",
                          "^C", "WRP", "^C", "WPP", "^C", "EPP", "^C"},
                         Module());
    EXPECT_EQ(host::LiveResbufCount(), before);
}

}  // namespace
