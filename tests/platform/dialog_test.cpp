// Modal and modeless dialogs driven by dialog lines, as a script or a terminal user drives them,
// and the PANEL verb acting on a registered modeless dialog.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/dialog.h"
#include "platform/script_panel.h"
#include "test_support.h"

namespace platform {
namespace {

using testing::Session;

DialogTemplate SampleTemplate() {
    DialogTemplate t;
    t.id = 200;
    t.caption = "Próbne okno";
    t.rect = {10, 20, 110, 100};
    t.controls = {
        {1, ControlKind::DefaultButton, "OK", {5, 80, 45, 94}},
        {2, ControlKind::Button, "&Anuluj", {50, 80, 90, 94}},
        {-1, ControlKind::Static, "Średnica:", {5, 5, 40, 15}},
        {1004, ControlKind::DropDownList, "", {45, 5, 95, 60}, kStyleNone, {"4.5", "6", "12"}},
        {-1, ControlKind::Static, "Rozstaw:", {5, 20, 40, 30}},
        {1008, ControlKind::Edit, "", {45, 20, 95, 30}},
        {1017, ControlKind::CheckBox, "Wyokrąglenia naroży", {5, 35, 95, 45}},
        {1020, ControlKind::Button, "Usuń", {5, 50, 45, 64}, kStyleDisabled},
        {1030, ControlKind::Button, "Ukryty", {50, 50, 90, 64}, kStyleHidden},
    };
    return t;
}

// Records every notification so the tests can check what a user's action sets off.
class RecordingDialog : public Dialog {
  public:
    bool OnInitDialog() override {
        events.push_back("init");
        SetCurSel(1004, 0);
        SetDlgItemText(1008, "20");
        EnableControl(1008, !locked);
        EnableControl(1017, !locked);
        return true;
    }
    void OnOK() override {
        events.push_back("ok");
        Dialog::OnOK();
    }
    void OnCancel() override {
        events.push_back("cancel");
        if (!refuseCancel) {
            Dialog::OnCancel();
        }
    }
    void OnCommand(int id) override { events.push_back("command " + std::to_string(id)); }
    void OnEditChange(int id) override { events.push_back("change " + std::to_string(id)); }
    void OnKillFocus(int id) override {
        events.push_back("killfocus " + std::to_string(id) + " " + GetDlgItemText(id));
    }
    void OnSelChange(int id) override {
        events.push_back("selchange " + std::to_string(id) + " " + GetDlgItemText(id));
    }
    std::vector<std::string> events;
    bool refuseCancel = false;
    bool locked = false;  // the edit and the check box disabled from the start
};

TEST(ModalDialogTest, LinesActOnControlsAndOkEndsIt) {
    Session s({"set Średnica 12", "set 1008 15.5", "check Wyokrąglenia naroży 1", "show",
               "click wyokrąglenia NAROŻY", "check 1017 0", "click 1"});
    RecordingDialog d;
    SetFocus(MainWindow());
    EXPECT_EQ(d.DoModal(SampleTemplate(), MainWindow()), IDOK);
    EXPECT_EQ(GetFocus(), MainWindow());  // the focus goes back where it was
    EXPECT_EQ(d.events, (std::vector<std::string>{"init", "selchange 1004 12", "change 1008",
                                                  "killfocus 1008 15.5", "command 1017",
                                                  "command 1017", "ok"}));
    // "check 1017 0" after the click had cleared it is no click at all.
    EXPECT_FALSE(d.GetCheck(1017));
    EXPECT_EQ(d.GetDlgItemText(1004), "12");
    EXPECT_EQ(d.GetCurSel(1004), 2);
    EXPECT_FALSE(d.IsWindowVisible());
    EXPECT_FALSE(d.IsModalOpen());
    // The dialog showed itself as it opened, before the first line was asked for, and again
    // at "show": visible controls with their state.
    const std::string shown =
        "=== Próbne okno ===\n  [1] przycisk \"OK\" (domyślny)\n  [2] przycisk \"&Anuluj\"\n"
        "  [-1] napis \"Średnica:\"\n  [1004] lista = \"12\" (3 pozycji)\n"
        "  [-1] napis \"Rozstaw:\"\n"
        "  [1008] pole = \"15.5\"\n  [1017] wybór [x] \"Wyokrąglenia naroży\"\n"
        "  [1020] przycisk \"Usuń\" (zablokowany)\n";
    EXPECT_EQ(s.Output().rfind("=== Próbne okno ===\n  [1] przycisk \"OK\" (domyślny)\n", 0), 0u);
    EXPECT_TRUE(s.Printed(shown)) << s.Output();
    EXPECT_FALSE(s.Printed("Ukryty"));
}

TEST(ModalDialogTest, RefusedLinesChangeNothingAndAreReported) {
    struct Case {
        const char* line;
        const char* message;
        bool locked = false;
    } cases[] = {
        {"set Rozstaw 30", "Kontrolka \"Rozstaw\" jest zablokowana.", true},
        {"check 1017 1", "Kontrolka \"Wyokrąglenia naroży\" jest zablokowana.", true},
        {"set Nieznane 5", "Nie ma kontrolki \"Nieznane\""},
        {"click Ukryty", "jest niewidoczna"},
        {"check 1017 2", "jest otwarte; wiersz pominięty"},
        {"check 1008 1", "nie jest polem wyboru"},
        {"click Średnica", "nie można kliknąć"},
        {"set 1 tekst", "nie można wpisać tekstu"},
        {"cell 1 1 x", "nie ma siatki"},
        {"WPR", "jest otwarte; wiersz pominięty"},
        {"12,5", "jest otwarte; wiersz pominięty"},
    };
    for (const Case& c : cases) {
        Session s({c.line, "click 2"});
        RecordingDialog d;
        d.locked = c.locked;
        EXPECT_EQ(d.DoModal(SampleTemplate(), nullptr), IDCANCEL) << c.line;
        EXPECT_TRUE(s.Printed(c.message)) << c.line << "\n" << s.Output();
        EXPECT_EQ(d.events, (std::vector<std::string>{"init", "cancel"})) << c.line;
        EXPECT_EQ(d.GetDlgItemText(1008), "20");
        EXPECT_EQ(d.GetCurSel(1004), 0);
        EXPECT_FALSE(d.GetCheck(1017));
    }
}

// Enter presses the default button, whichever it is; without one it does nothing.
TEST(ModalDialogTest, EnterPressesTheDefaultButton) {
    struct Case {
        const char* name;
        int defaultId;  // the button made the default one; 0: none is
        unsigned style;
        int result;
        const char* message;  // when Enter is refused; then "click 2" ends the dialog
    } cases[] = {
        {"OK", 1, kStyleNone, IDOK, nullptr},
        {"Anuluj", 2, kStyleNone, IDCANCEL, nullptr},
        {"disabled", 1, kStyleDisabled, IDCANCEL, "Kontrolka \"OK\" jest zablokowana."},
        {"hidden", 1, kStyleHidden, IDCANCEL, "nie ma przycisku domyślnego"},
        {"none", 0, kStyleNone, IDCANCEL, "nie ma przycisku domyślnego"},
    };
    for (const Case& c : cases) {
        DialogTemplate t = SampleTemplate();
        for (ControlTemplate& ct : t.controls) {
            if (ct.id == 1 || ct.id == 2) {
                ct.kind = ct.id == c.defaultId ? ControlKind::DefaultButton : ControlKind::Button;
                ct.style = ct.id == c.defaultId ? c.style : kStyleNone;
            }
        }
        Session s({" ", "click 2"});
        RecordingDialog d;
        EXPECT_EQ(d.DoModal(t, nullptr), c.result) << c.name;
        EXPECT_TRUE(s.Printed(c.message != nullptr ? c.message : "")) << c.name << s.Output();
        EXPECT_EQ(s.Remaining(), c.message == nullptr ? 1u : 0u) << c.name;
    }
}

// The end of the input ends even a dialog that refuses to cancel; without a button 2,
// "click 2" is the close box, which cancels.
TEST(ModalDialogTest, EndOfInputAndCloseBoxCancel) {
    {
        Session s({"set 1008 7"});
        RecordingDialog d;
        d.refuseCancel = true;
        EXPECT_EQ(d.DoModal(SampleTemplate(), nullptr), IDCANCEL);
        EXPECT_EQ(d.GetDlgItemText(1008), "7");
    }
    DialogTemplate t = SampleTemplate();
    t.controls.erase(t.controls.begin() + 1);
    Session s({"click 2", "click 1"});
    RecordingDialog d;
    EXPECT_EQ(d.DoModal(t, nullptr), IDCANCEL);
    EXPECT_EQ(s.Remaining(), 1u);
}

TEST(ModalDialogTest, CaptionsMatchAsAUserWritesThem) {
    Session s;
    RecordingDialog d;
    ASSERT_TRUE(d.Create(SampleTemplate(), nullptr));
    const std::pair<const char*, int> cases[] = {
        // clang-format off
        {"anuluj", 2}, {"&Anuluj", 2}, {"ŚREDNICA", 1004}, {"średnica:", 1004}, {"\"Rozstaw\"", 1008},
        {"1017", 1017}, {"USUŃ", 1020}, {"  ok ", 1}, {"wyokrąglenia naroży", 1017},
        {"", 0}, {"9999", 0}, {"Średnic", 0}, {"\"\"", 0},  // none
        // clang-format on
    };
    for (const auto& [name, id] : cases) {
        const Control* found = d.ResolveControl(name);
        EXPECT_EQ(found != nullptr ? found->id : 0, id) << name;
    }
}

TEST(ModelessDialogTest, GeometryFollowsTheTemplateAndTheOwner) {
    Session s;
    Window owner;
    owner.MoveWindow(100, 50, 800, 600);
    RecordingDialog d;
    DialogTemplate t = SampleTemplate();
    t.visible = false;
    ASSERT_TRUE(d.Create(t, &owner));
    EXPECT_FALSE(d.IsWindowVisible());
    EXPECT_EQ(d.GetOwner(), &owner);
    // Left/top 10, 20 units from the owner; client 100 x 80 units; frame around it.
    EXPECT_EQ(d.GetWindowRect(), (Rect{115, 83, 115 + 150 + 6, 83 + 130 + 6 + 17}));
    EXPECT_EQ(d.GetClientRect(), (Rect{0, 0, 150, 130}));
    EXPECT_EQ(d.GetControlRect(1008), (Rect{68, 33, 143, 49}));
    EXPECT_FALSE(d.Create(t, &owner));  // already made
    d.ShowWindow(SW_SHOW);
    EXPECT_TRUE(d.IsWindowVisible());
    d.EndDialog(IDOK);  // a modeless window only hides
    EXPECT_FALSE(d.IsWindowVisible());
    EXPECT_TRUE(d.IsCreated());
    d.DestroyWindow();
    EXPECT_FALSE(d.IsCreated());
    EXPECT_TRUE(d.Create(t, &owner));
    // A template with a repeated id is refused, modal or not.
    t.controls.push_back({1008, ControlKind::Edit, "", {0, 0, 1, 1}});
    RecordingDialog repeated;
    EXPECT_EQ(repeated.DoModal(t, nullptr), -1);
    EXPECT_FALSE(repeated.Create(t, nullptr));
    EXPECT_TRUE(repeated.events.empty());
    EXPECT_TRUE(s.Printed("dwie kontrolki o numerze 1008"));
}

// A refused PANEL line changes nothing, a hidden panel included, and says what the control
// takes; alone, the verb tells a hidden panel; a destroyed panel, or none, is refused.
TEST(PanelVerbTest, RefusalsLeaveThePanelAsItWasAndAGonePanelIsRefused) {
    RecordingDialog panel;
    ASSERT_TRUE(panel.Create(SampleTemplate(), MainWindow()));
    panel.events.clear();
    RegisterScriptPanel(&panel,
                        {{"diameter", 1004}, {"spacing", 1008, PanelValue::PositiveNumber}});
    const std::tuple<std::vector<std::string>, const char*, bool> cases[] = {
        {{"spacing", "1.2.3"}, "nie \"1.2.3\".", true},
        {{"spacing", std::string(33, '9')}, "przyjmuje liczbę większą od zera", true},
        {{"diameter", "12"}, "Panel jest zablokowany podczas polecenia.", false},  // hidden too
    };
    for (const auto& [words, told, usable] : cases) {
        panel.ShowWindow(usable ? SW_SHOW : SW_HIDE);
        panel.EnableControl(1004, usable);
        Session s;
        EXPECT_FALSE(HandlePanelCommand(words)) << words[0];
        EXPECT_TRUE(s.Printed(told)) << s.Output();
        EXPECT_EQ(panel.IsWindowVisible(), usable) << words[0];
        EXPECT_EQ(panel.GetDlgItemText(1004) + panel.GetDlgItemText(1008), "4.520");
        EXPECT_TRUE(panel.events.empty());
    }
    Session s;
    EXPECT_TRUE(HandlePanelCommand({}));
    EXPECT_TRUE(s.Printed("(panel jest ukryty)"));
    panel.DestroyWindow();
    EXPECT_FALSE(HandlePanelCommand({}));
    RegisterScriptPanel(nullptr, {});
    s.ClearOutput();
    EXPECT_FALSE(HandlePanelCommand({"diameter", "12"}));
    EXPECT_TRUE(s.Printed("Panel nie jest otwarty."));
}

}  // namespace
}  // namespace platform
