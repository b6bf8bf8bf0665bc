// The module in the real host, one whole program run per case: PPR and the stored settings,
// PANEL choices and refusals, dialogs and Enter, help, and every result-buffer list given back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/sds/resbuf_count.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/registry.h"
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
    EXPECT_NE(testkit::RunScenario({"PPR"}, Module())
                  .find("Polecenie: PPR\nPanel parametrów ukryty.\nPolecenie: "),
              std::string::npos);
    EXPECT_FALSE(ModulePanel()->IsWindowVisible());
    for (const char* name : kPanelValueNames) {
        EXPECT_NE(Stored(name), "<missing>") << name;
    }
    EXPECT_EQ(Stored("IsVisible"), "0");
    EXPECT_EQ(Stored("Rozstaw"), "20");

    // The second PPR shows the panel again; a PANEL choice was stored as its list index.
    EXPECT_NE(testkit::RunScenario({"PANEL diameter 12", "PPR", "PPR"}, Module())
                  .find("Polecenie: PPR\nPanel parametrów pokazany.\nPolecenie: "),
              std::string::npos);
    EXPECT_TRUE(ModulePanel()->IsWindowVisible());
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
    EXPECT_EQ(Stored("Diameter"), "6");
}

// The settings file of one scenario, filled with these values of the panel's key in order.
std::string PreparedSettings(const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string path = ::testing::TempDir() + "armavo-frame-prepared-settings";
    std::filesystem::remove(path);
    platform::SetSettingsFile(path);
    platform::RegKey key;
    platform::RegCreateKey(CToolBarDlg::kRegistryKey, key);
    for (const auto& [name, value] : values) {
        platform::RegSetValue(key, name, value);
    }
    return path;
}

// A refused PANEL line names the field as the panel labels it and says what it takes; it
// changes nothing, not even whether the panel is shown.
TEST(ModuleScenario, PanelRefusesWhatAFieldDoesNotTake) {
    const std::pair<const char*, const char*> cases[] = {
        {"PANEL diameter 13",
         "Na liście \"Średnica\" nie ma pozycji \"13\"; do wyboru: 4.5, 5, 5.5, 6, 8, 10, 12, "
         "14, 16, 18, 20, 22, 25, 28, 32, 36, 40.\n"},
        {"PANEL Stal A-III", "Na liście \"Stal\" nie ma pozycji \"A-III\"; do wyboru: St0S, "},
        {"PANEL rounded tak", "Pole wyboru \"Wyokrąglenia naroży\" przyjmuje 0 albo 1.\n"},
        {"PANEL spacing 12,5",
         "Pole \"Rozstaw\" przyjmuje liczbę większą od zera (np. 15 albo 12.5), nie \"12,5\".\n"},
        {"PANEL count 1.5",
         "Pole \"Ilość\" przyjmuje liczbę całkowitą większą od zera (np. 2), nie \"1.5\".\n"},
        {"PANEL letter -1", "Pole \"dla opisów\" przyjmuje liczbę większą od zera"},
        {"PANEL srednica 12",
         "Panel nie ma pola \"srednica\"; pola: diameter, steel, rounded, "
         "spacing, count, letter, letterdim.\n"},
    };
    for (const auto& [line, told] : cases) {
        const std::string t = testkit::RunScenario({"PPR", line}, Module());
        EXPECT_NE(t.find(std::string(line) + "\n" + told), std::string::npos) << t;
        const CToolBarDlg& p = *ModulePanel();
        EXPECT_FALSE(p.IsWindowVisible()) << line;
        EXPECT_EQ(p.GetDiameter(), 4.5);
        EXPECT_EQ(p.GetSteelIndex(), 0);
        EXPECT_EQ(p.GetSpacing(), 20.0);
        EXPECT_EQ(p.GetCount(), 1);
        EXPECT_EQ(p.GetDescriptionFontSize(), 5.0);
    }
}

// PANEL reaches a field whether or not the user can see it: a panel never shown since the
// start is shown first, a folded section unfolded, as a user would do before typing.
TEST(ModuleScenario, PanelShowsAHiddenPanelAndUnfoldsTheFieldsSection) {
    testkit::ScenarioOptions o = Module();
    o.settingsFile = PreparedSettings({{"IsVisible", "0"}, {"ParametryPretowZwiniete", "1"}});
    const std::string t = testkit::RunScenario({"PANEL diameter 12", "PANEL"}, o);
    EXPECT_NE(t.find("Polecenie: PANEL diameter 12\nPanel parametrów pokazany.\nPolecenie: "),
              std::string::npos)
        << t;
    EXPECT_NE(t.find("  [1004] lista = \"12\" (17 pozycji)\n"), std::string::npos) << t;
    const CToolBarDlg& p = *ModulePanel();
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_TRUE(p.IsShownFlag());
    EXPECT_FALSE(p.IsSectionCollapsed(CToolBarDlg::kBarSection));
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
}

// A dialog shows itself when it opens, and Enter presses its default button ("Zamknij" in the
// about box), so the next line is a command again.
TEST(ModuleScenario, DialogShowsItselfAndEnterPressesTheDefaultButton) {
    const std::string t = testkit::RunScenario({"ORA_ABOUT", "", "PANEL rounded 1"}, Module());
    EXPECT_NE(t.find("Polecenie: ORA_ABOUT\n=== O programie ArmavoCAD ===\n"), std::string::npos)
        << t;
    EXPECT_NE(t.find("] napis \"ArmavoCAD 1.0.7\"\n"), std::string::npos) << t;
    EXPECT_NE(t.find("  [2] przycisk \"Zamknij\" (domyślny)\nO programie ArmavoCAD> \n"
                     "Polecenie: PANEL rounded 1\nPolecenie: "),
              std::string::npos)
        << t;
    EXPECT_EQ(ModulePanel()->IsRoundedCorners(), 1);
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
