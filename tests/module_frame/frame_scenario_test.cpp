// The module in the real host, one whole program run per case: PPR and the stored settings,
// PANEL choices surviving a restart, help, and every result-buffer list given back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/resbuf_count.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/script_panel.h"
#include "platform/window.h"
#include "tests/module_ui/panel_settings.h"
#include "tests/support/scenario.h"

namespace {

testkit::ScenarioOptions Module() {
    // The program wires the PANEL verb in its main; the scenario kit runs without it.
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    testkit::ScenarioOptions o;
    o.entry = SDS_EntryPoint;
    return o;
}

std::string Stored(const std::string& name) {
    platform::SetSettingsFile(testkit::LastSettingsFile());
    return StoredPanelValue(name);
}

TEST(ModuleScenario, PprHidesAndStoresAllValuesThenShowsAgainWithThePanelChoice) {
    testkit::RunScenario({"PPR"}, Module());
    EXPECT_FALSE(ModulePanel()->IsWindowVisible());
    for (const char* name : kPanelValueNames) {
        EXPECT_NE(Stored(name), "<missing>") << name;
    }
    EXPECT_EQ(Stored("IsVisible"), "0");
    EXPECT_EQ(Stored("Rozstaw"), "20");

    // The second PPR shows the panel again; a PANEL choice was stored as its list index.
    testkit::RunScenario({"PANEL diameter 12", "PPR", "PPR"}, Module());
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
    EXPECT_EQ(Stored("Diameter"), "6");
}

TEST(ModuleScenario, HelpTellsWhereTheHelpFileIs) {
    const std::string t = testkit::RunScenario({"HPR"}, Module());
    const std::size_t at = t.find("Pomoc: ");
    ASSERT_NE(at, std::string::npos) << t;
    const std::string path = t.substr(at + 7, t.find('\n', at) - at - 7);
    EXPECT_NE(path.find("ArmavoCAD.md"), std::string::npos) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

TEST(ModuleScenario, EveryListGoesBack) {
    const long before = host::LiveResbufCount();
    testkit::RunScenario({"PPR", "PPR", "HPR", "ORA_ABOUT", "click 2", "OPR", "ERD", "^C", "EDPR",
                          "^C", "WRP", "^C", "WPP", "^C", "EPP", "^C"},
                         Module());
    EXPECT_EQ(host::LiveResbufCount(), before);
}

}  // namespace
