// The PANEL verb on a registered modeless panel.
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/script_panel.h"
#include "test_support.h"

namespace platform {
namespace {

using testing::Session;

DialogTemplate PanelTemplate() {
    DialogTemplate t;
    t.id = 103;
    t.caption = "Parametry";
    t.rect = {0, 0, 98, 145};
    t.controls = {
        {1026, ControlKind::GroupBox, "Parametry pręta:", {2, 2, 96, 50}},
        {1001, ControlKind::Static, "Średnica:", {5, 10, 40, 20}},
        {1004, ControlKind::DropDownList, "", {45, 10, 80, 60}, kStyleNone, {"4.5", "6", "12"}},
        {1006, ControlKind::DropDownList, "", {45, 25, 80, 70}, kStyleNone, {"St0S", "RB500W"}},
        {1017, ControlKind::CheckBox, "Wyokrąglenia naroży", {5, 38, 95, 48}},
        {1008, ControlKind::Edit, "", {45, 55, 80, 65}},
    };
    return t;
}

class Panel : public Dialog {
  public:
    bool OnInitDialog() override {
        SetCurSel(1004, 0);
        SetCurSel(1006, 0);
        SetDlgItemText(1008, "20");
        return true;
    }
    void OnKillFocus(int id) override { events.push_back("killfocus " + std::to_string(id)); }
    void OnSelChange(int id) override { events.push_back("selchange " + std::to_string(id)); }
    void OnCommand(int id) override { events.push_back("command " + std::to_string(id)); }
    std::vector<std::string> events;
};

class PanelVerbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(panel_.Create(PanelTemplate(), MainWindow()));
        RegisterScriptPanel(
            &panel_, {{"diameter", 1004}, {"steel", 1006}, {"rounded", 1017}, {"spacing", 1008}});
    }
    void TearDown() override { RegisterScriptPanel(nullptr, {}); }
    Panel panel_;
};

TEST_F(PanelVerbTest, SetsControlsAsAUserWould) {
    Session s;
    EXPECT_TRUE(HandlePanelCommand({"diameter", "12"}));
    EXPECT_TRUE(HandlePanelCommand({"STEEL", "rb500w"}));
    EXPECT_TRUE(HandlePanelCommand({"rounded", "1"}));
    EXPECT_TRUE(HandlePanelCommand({"spacing", "15", "cm"}));
    EXPECT_TRUE(HandlePanelCommand({"1008", "abc"}));
    EXPECT_TRUE(HandlePanelCommand({"Średnica", "6"}));  // a label names its list
    EXPECT_EQ(panel_.GetDlgItemText(1004), "6");
    EXPECT_EQ(panel_.GetDlgItemText(1006), "RB500W");
    EXPECT_TRUE(panel_.GetCheck(1017));
    EXPECT_EQ(panel_.GetDlgItemText(1008), "abc");
    EXPECT_EQ(panel_.events,
              (std::vector<std::string>{"selchange 1004", "selchange 1006", "command 1017",
                                        "killfocus 1008", "killfocus 1008", "selchange 1004"}));
    EXPECT_EQ(s.Output(), "");
}

TEST_F(PanelVerbTest, RefusalsLeaveThePanelAsItWas) {
    struct Case {
        std::vector<std::string> words;
        const char* message;
        bool hide;
        bool disable;
    } cases[] = {
        {{"letter", "5"}, "Panel nie ma pola \"letter\".", false, false},
        {{"diameter", "13"}, "nie ma pozycji \"13\"", false, false},
        {{"rounded", "yes"}, "przyjmuje 0 albo 1", false, false},
        {{"spacing", "30"}, "Panel jest zablokowany podczas polecenia.", false, true},
        {{"diameter", "12"}, "Panel jest zablokowany podczas polecenia.", false, true},
        {{"spacing", "30"}, "Panel jest ukryty", true, false},
    };
    for (const Case& c : cases) {
        panel_.ShowWindow(c.hide ? SW_HIDE : SW_SHOW);
        for (int id : {1004, 1006, 1017, 1008}) {
            panel_.EnableControl(id, !c.disable);
        }
        Session s;
        EXPECT_FALSE(HandlePanelCommand(c.words)) << c.words[0];
        EXPECT_TRUE(s.Printed(c.message)) << s.Output();
        EXPECT_EQ(panel_.GetDlgItemText(1004), "4.5");
        EXPECT_EQ(panel_.GetDlgItemText(1008), "20");
        EXPECT_FALSE(panel_.GetCheck(1017));
        EXPECT_TRUE(panel_.events.empty());
    }
}

TEST_F(PanelVerbTest, AloneItPrintsThePanel) {
    Session s;
    EXPECT_TRUE(HandlePanelCommand({}));
    EXPECT_TRUE(s.Printed("=== Parametry ===\n"));
    EXPECT_TRUE(s.Printed("  [1004] lista = \"4.5\" (3 pozycji)\n"));
    EXPECT_TRUE(s.Printed("  [1008] pole = \"20\"\n"));
    panel_.ShowWindow(SW_HIDE);
    s.ClearOutput();
    EXPECT_TRUE(HandlePanelCommand({}));
    EXPECT_TRUE(s.Printed("(panel jest ukryty)"));
}

TEST(PanelVerbNoPanelTest, WithoutAPanelTheVerbIsRefused) {
    Session s;
    RegisterScriptPanel(nullptr, {});
    EXPECT_FALSE(HandlePanelCommand({"diameter", "12"}));
    EXPECT_TRUE(s.Printed("Panel nie jest otwarty."));
    Panel destroyed;
    ASSERT_TRUE(destroyed.Create(PanelTemplate(), nullptr));
    RegisterScriptPanel(&destroyed, {});
    destroyed.DestroyWindow();
    EXPECT_FALSE(HandlePanelCommand({}));
    RegisterScriptPanel(nullptr, {});
}

}  // namespace
}  // namespace platform
