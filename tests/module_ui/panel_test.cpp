// The parameters panel: defaults, readers, stored settings, PPR's toggling, section collapse
// geometry and the caption's own buttons.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>

#include "module/resources/resource.h"
#include "panel_test_support.h"
#include "platform/script_panel.h"
#include "platform/window.h"
#include "tests/platform/test_support.h"
#include "tests/support/files.h"

using Button = CToolBarDlg::CaptionButton;
using platform::Rect;

namespace {

// Choices are stored when the panel hides (list choices as their index, texts as typed) and
// come back, hidden, at the next start.
TEST_F(PanelTest, HidingStoresTheChoicesAndTheNextStartRestoresThem) {
    Rect r;
    {
        CToolBarDlg& p = MakePanel();
        const std::vector<std::string> commands[] = {{"diameter", "12"},
                                                     {"steel", "RB500W"},
                                                     {"count", "3"},
                                                     {"letter", "7.5"},
                                                     {"rounded", "1"}};
        for (const std::vector<std::string>& words : commands) {
            ASSERT_TRUE(platform::HandlePanelCommand(words)) << words[0];
        }
        EXPECT_FALSE(p.IsSmoothSelected());
        p.SetDlgItemText(IDC_SPACING, "12,5x");
        r = p.GetWindowRect();
        EXPECT_EQ(p.TogglePanel(1), 1);
        EXPECT_FALSE(p.IsWindowVisible());
    }
    const std::pair<const char*, std::string> stored[] = {{"Diameter", "6"},
                                                          {"Steel", "15"},
                                                          {"RodNumber", "3"},
                                                          {"Round", "1"},
                                                          {"Rozstaw", "12,5x"},
                                                          {"IsVisible", "0"},
                                                          {"ParametryChwiloweZwiniete", "0"},
                                                          {"X", std::to_string(r.left)},
                                                          {"CY", std::to_string(r.Height())}};
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(Stored(name), value) << name;
    }
    CToolBarDlg& p = MakePanel();
    EXPECT_FALSE(p.IsWindowVisible());
    EXPECT_DOUBLE_EQ(p.GetDiameter(), 12.0);
    EXPECT_EQ(p.GetSteelIndex(), 15);
    EXPECT_EQ(p.GetCount(), 3);
    EXPECT_DOUBLE_EQ(p.GetDescriptionFontSize(), 7.5);
    EXPECT_EQ(p.IsRoundedCorners(), 1);
    EXPECT_EQ(p.GetDlgItemText(IDC_SPACING), "12,5x");
    EXPECT_EQ(p.GetWindowRect(), r);
    platform::SetFocus(nullptr);  // showing it gives the focus back to the host
    EXPECT_EQ(p.TogglePanel(1), 1);
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_EQ(platform::GetFocus(), platform::MainWindow());
}

TEST_F(PanelTest, StoredListIndexesOutsideTheListSelectTheFirstEntry) {
    struct Case {
        const char* stored;
        const char* diameter;
        int steel;
    };
    const Case cases[] = {{"17", "4.5", 0}, {"-1", "4.5", 0}, {"abc", "4.5", 0},
                          {"16", "40", 0},  {"15", "36", 15}, {"6", "12", 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Store("Diameter", c.stored);
        Store("Steel", c.stored);
        CToolBarDlg& p = MakePanel();
        EXPECT_EQ(p.GetDlgItemText(IDC_DIAMETER), c.diameter);
        EXPECT_EQ(p.GetCurSel(IDC_STEEL), c.steel);
    }
}

TEST_F(PanelTest, StoredPositionOutsideTheOwnerIsBroughtBack) {
    const Rect owner = platform::MainWindow()->GetWindowRect();
    struct Case {
        int x, y, expectX, expectY;
    };
    const Case cases[] = {
        {100, 200, 100, 200},                      // inside: kept
        {owner.right + 1, 200, 0, 200},            // right of the owner
        {owner.left - 5, 200, 0, 200},             // left of it
        {100, owner.top - 10, 100, 38},            // above it
        {100, owner.bottom + 1, 100, 38},          // below it
        {owner.right + 50, owner.top - 1, 0, 38},  // both
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        Store("X", std::to_string(c.x));
        Store("Y", std::to_string(c.y));
        Store("CX", "210");
        Store("CY", "330");
        const Rect r = MakePanel().GetWindowRect();
        EXPECT_EQ(r.left, c.expectX);
        EXPECT_EQ(r.top, c.expectY);
        EXPECT_EQ(r.Width(), 210);
        EXPECT_EQ(r.Height(), 330);
    }
}

// A fresh start shows the defaults; damaged or unreadable settings fall back to them, value by
// value.
TEST_F(PanelTest, FreshOrDamagedSettingsGiveTheDefaults) {
    const Rect fresh = MakePanel().GetWindowRect();
    const std::pair<std::string, std::string> cases[] = {
        {"-", "nothing stored"},
        {"CX", "0"},
        {"CY", "-40"},
        {"CX", "99999"},
        {"CY", "x"},
        {"Rozstaw", std::string(300, '7')},
        {"Letter", "9" + std::string(259, ' ')},              // 260 characters and the end: skipped
        {"RodNumber", std::string("\x05\0\0\0", 4)},          // stored as a number, not as text
        {"", "\x01\x02 this is not a settings file \xff\n"},  // the whole file
    };
    for (const auto& [name, value] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(settings_);
        if (name == "RodNumber") {
            platform::RegKey key;
            ASSERT_EQ(platform::RegCreateKey(CToolBarDlg::kRegistryKey, key),
                      platform::RegResult::Ok);
            ASSERT_EQ(platform::RegSetValueRaw(key, name, platform::REG_DWORD, value),
                      platform::RegResult::Ok);
        } else if (name.empty()) {
            std::ofstream(settings_) << value;
        } else if (name != "-") {
            Store(name, value);
        }
        CToolBarDlg& p = MakePanel();
        EXPECT_TRUE(p.IsWindowVisible());
        EXPECT_EQ(p.GetWindowRect(), fresh);
        EXPECT_DOUBLE_EQ(p.GetDiameter(), 4.5);
        EXPECT_EQ(p.GetSteelIndex(), 0);
        EXPECT_TRUE(p.IsSmoothSelected());
        EXPECT_EQ(p.IsRoundedCorners(), 0);
        EXPECT_DOUBLE_EQ(p.GetSpacing(), 20.0);
        EXPECT_EQ(p.GetCount(), 1);
        EXPECT_DOUBLE_EQ(p.GetDescriptionFontSize(), 5.0);
        EXPECT_DOUBLE_EQ(p.GetDimensionFontSize(), 5.0);
    }
    // 259 characters and the end fit the buffer of 260 and are read.
    Store("RodNumber", std::string(259, '7'));
    EXPECT_EQ(MakePanel().GetDlgItemText(IDC_COUNT).size(), 259u);
}

// Every control's rectangle, by id.
std::map<int, Rect> Layout(const CToolBarDlg& p) {
    std::map<int, Rect> m;
    for (const platform::Control& c : p.Controls()) {
        m[c.id] = c.rect;
    }
    return m;
}

// A collapsed section hides what lies inside its group, moves what lies below it up by the
// group's height and shrinks the window as much; it is stored when the panel hides, applied at
// the next start, and expanding it gives back the same layout.
TEST_F(PanelTest, CollapsedSectionsMoveTheOnesBelowAreStoredAndExpandBack) {
    const struct {
        int section, group, command;
        const char* stored;
    } cases[] = {
        {CToolBarDlg::kBarSection, IDC_GROUP_BAR, ID_TOGGLE_BAR_SECTION, "ParametryPretowZwiniete"},
        {CToolBarDlg::kTemporarySection, IDC_GROUP_TEMPORARY, ID_TOGGLE_TEMPORARY_SECTION,
         "ParametryChwiloweZwiniete"},
        {CToolBarDlg::kTextSection, IDC_GROUP_TEXT_HEIGHTS, ID_TOGGLE_TEXT_SECTION,
         "WielkoscCzcionkiZwinieta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        std::filesystem::remove(settings_);
        CToolBarDlg* p = &MakePanel();
        const auto before = Layout(*p);
        const Rect window = p->GetWindowRect();
        const Rect group = before.at(c.group);
        const int d = group.Height();
        ASSERT_GT(d, 0);
        p->OnCommand(c.command);
        EXPECT_TRUE(p->IsSectionCollapsed(c.section));
        EXPECT_EQ(p->GetWindowRect(),
                  (Rect{window.left, window.top, window.right, window.bottom - d}));
        const auto collapsed = Layout(*p);
        int moved = 0;
        for (const auto& [id, rect] : before) {
            if (rect.top >= group.bottom) {
                EXPECT_EQ(collapsed.at(id), rect.Offset(0, -d)) << id;
                EXPECT_TRUE(p->IsControlVisible(id)) << id;
                ++moved;
            } else if (rect.top >= group.top) {
                EXPECT_FALSE(p->IsControlVisible(id)) << id;
            } else {
                EXPECT_EQ(collapsed.at(id), rect) << id;
            }
        }
        EXPECT_EQ(moved > 0, c.section != CToolBarDlg::kTextSection);

        // Stored when the panel hides, applied at the next start.
        p->TogglePanel(1);
        EXPECT_EQ(Stored(c.stored), "1");
        p = &MakePanel();
        EXPECT_EQ(Layout(*p), collapsed);
        p->ToggleSection(c.section);
        EXPECT_FALSE(p->IsSectionCollapsed(c.section));
        EXPECT_EQ(Layout(*p), before);
        EXPECT_EQ(p->GetWindowRect().Height(), window.Height());
        for (const auto& [id, rect] : before) {
            EXPECT_TRUE(p->IsControlVisible(id)) << id;
        }
    }
}

TEST_F(PanelTest, CaptionButtonsSitAtTheRightOfTheCaption) {
    CToolBarDlg& p = MakePanel();
    const int w = p.GetWindowRect().Width();
    const Rect close = p.CaptionButtonRect(Button::Close);
    EXPECT_EQ(close.right, w - 5);
    EXPECT_EQ(close.left, w - 20);
    const int step = platform::GetSystemMetrics(platform::SM_CXSMSIZE);
    const Button order[] = {Button::Close, Button::TextSection, Button::TemporarySection,
                            Button::BarSection};
    for (int i = 0; i < 4; ++i) {
        const Rect r = p.CaptionButtonRect(order[i]);
        EXPECT_EQ(r, close.Offset(-i * step, 0)) << i;
        EXPECT_EQ(p.HitCaptionButton({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), order[i]);
        EXPECT_EQ(p.HitCaptionButton({r.left, r.top}), order[i]);
    }
    EXPECT_EQ(p.HitCaptionButton({close.right, close.top}), Button::None);  // right edge open
    EXPECT_EQ(p.HitCaptionButton({10, 8}), Button::None);                   // title area
    EXPECT_EQ(p.HitCaptionButton({w / 2, 60}), Button::None);               // client area

    p.SetScaleX(2.0);
    EXPECT_EQ(p.CaptionButtonRect(Button::Close), (Rect{w - 40, close.top, w - 10, close.bottom}));
}

// Presses at the centre of one button and releases at the centre of another (in screen
// coordinates, as the frame reports the mouse).
void Click(CToolBarDlg& p, Button press, Button release) {
    const Rect w = p.GetWindowRect();
    auto centre = [&](Button b) {
        const Rect r = b == Button::None ? Rect{20, 40, 21, 41} : p.CaptionButtonRect(b);
        return platform::Point{w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
    };
    p.OnNcLButtonDown(centre(press));
    if (press != Button::None) {
        EXPECT_EQ(p.PressedButton(), press);
        EXPECT_TRUE(p.IsCaptionButtonPushed(press));
    }
    p.OnNcLButtonUp(centre(release));
    EXPECT_EQ(p.PressedButton(), Button::None);
}

TEST_F(PanelTest, CaptionClicksActOnlyWhenReleasedOverThePressedButton) {
    CToolBarDlg& p = MakePanel();
    Click(p, Button::BarSection, Button::Close);  // slipped off: nothing
    EXPECT_FALSE(p.IsSectionCollapsed(CToolBarDlg::kBarSection));
    EXPECT_TRUE(p.IsWindowVisible());
    Click(p, Button::None, Button::Close);  // release without a press: nothing
    EXPECT_TRUE(p.IsWindowVisible());

    Click(p, Button::TemporarySection, Button::TemporarySection);
    EXPECT_TRUE(p.IsSectionCollapsed(CToolBarDlg::kTemporarySection));
    EXPECT_TRUE(p.IsCaptionButtonPushed(Button::TemporarySection));  // pushed while collapsed
    EXPECT_FALSE(p.IsCaptionButtonPushed(Button::BarSection));
    EXPECT_EQ(Stored("IsVisible"), "<missing>");  // toggling a section does not save

    Click(p, Button::Close, Button::Close);
    EXPECT_FALSE(p.IsWindowVisible());
    EXPECT_EQ(Stored("IsVisible"), "0");
    EXPECT_EQ(Stored("ParametryChwiloweZwiniete"), "1");
}

// Enter and Esc do not close the panel; minimizing the owner hides it for a while and saves
// it as meant to be shown.
TEST_F(PanelTest, PanelStaysUpThroughEnterEscapeAndMinimizing) {
    CToolBarDlg& p = MakePanel();
    p.OnOK();
    p.OnCancel();
    EXPECT_TRUE(p.IsWindowVisible());
    platform::HandlePanelCommand({"spacing", "33"});
    platform::MinimizeWindow(platform::MainWindow());
    EXPECT_EQ(Stored("Rozstaw"), "33");
    EXPECT_EQ(Stored("IsVisible"), "1");
    platform::RestoreWindow(platform::MainWindow());
    EXPECT_TRUE(p.IsWindowVisible());
}

TEST_F(PanelTest, InputsAreDisabledAndEnabledTogether) {
    CToolBarDlg& p = MakePanel();
    for (bool enabled : {false, true}) {
        p.EnableInputs(enabled);
        for (int id : {IDC_DIAMETER, IDC_STEEL, IDC_ROUNDED, IDC_SPACING, IDC_COUNT, IDC_LETTER,
                       IDC_LETTER_DIMENSION}) {
            EXPECT_EQ(p.IsControlEnabled(id), enabled) << id;
        }
        EXPECT_EQ(platform::HandlePanelCommand({"diameter", enabled ? "6" : "12"}), enabled);
    }
    EXPECT_DOUBLE_EQ(p.GetDiameter(), 6.0);
}

TEST_F(PanelTest, ReadersTakeTheLeadingNumberOfTypedText) {
    CToolBarDlg& p = MakePanel();
    struct Case {
        const char* text;
        double decimal;
        int whole;
    };
    const Case cases[] = {{"abc", 0, 0}, {"12.5cm", 12.5, 12}, {" 7", 7, 7},    {"-3", -3, -3},
                          {"nan", 0, 0}, {"1e999", 0, 1},      {"2e1", 20, 2},  {".5", 0.5, 0},
                          {"", 0, 0},    {"12e", 12, 12},      {"3.9", 3.9, 3}, {"12a", 12, 12}};
    for (const auto& c : cases) {
        p.SetDlgItemText(IDC_SPACING, c.text);
        p.SetDlgItemText(IDC_COUNT, c.text);
        EXPECT_DOUBLE_EQ(p.GetSpacing(), c.decimal) << c.text;
        EXPECT_EQ(p.GetCount(), c.whole) << c.text;
    }
    // Whole numbers beyond int are clamped, never wrapped.
    p.SetDlgItemText(IDC_COUNT, "9999999999");
    EXPECT_EQ(p.GetCount(), INT_MAX);
    p.SetDlgItemText(IDC_COUNT, "-9999999999");
    EXPECT_EQ(p.GetCount(), INT_MIN);
}

TEST_F(PanelTest, SettingsThatCannotBeWrittenAreToldOnce) {
    CToolBarDlg& p = MakePanel();
    // A settings path below a plain file can be neither made nor written.
    { std::ofstream(settings_) << "x"; }
    platform::SetSettingsFile((settings_ / "settings").string());
    platform::testing::Session s;
    EXPECT_FALSE(p.SaveSettings());
    EXPECT_EQ(testkit::Count(s.Output(), "nie zostały zapisane"), 1u) << s.Output();
}

}  // namespace
