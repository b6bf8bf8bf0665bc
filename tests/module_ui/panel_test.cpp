// The parameters panel: defaults, readers, stored settings, PPR's toggling, section collapse
// geometry and the caption's own buttons.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>

#include "module/resources/resource.h"
#include "module/ui/number_text.h"
#include "panel_test_support.h"
#include "platform/console.h"
#include "platform/script_panel.h"
#include "platform/window.h"

using Button = CToolBarDlg::CaptionButton;
using platform::Rect;

namespace {

TEST_F(PanelTest, FreshStartShowsDefaults) {
    CToolBarDlg& p = MakePanel();
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_DOUBLE_EQ(p.GetDiameter(), 4.5);
    EXPECT_EQ(p.GetSteelIndex(), 0);
    EXPECT_TRUE(p.IsSmoothSelected());
    EXPECT_EQ(p.IsRoundedCorners(), 0);
    EXPECT_DOUBLE_EQ(p.GetSpacing(), 20.0);
    EXPECT_EQ(p.GetCount(), 1);
    EXPECT_DOUBLE_EQ(p.GetDescriptionFontSize(), 5.0);
    EXPECT_DOUBLE_EQ(p.GetDimensionFontSize(), 5.0);
}

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
    const std::pair<const char*, std::string> stored[] = {
        {"Diameter", "6"},
        {"Steel", "15"},
        {"RodNumber", "3"},
        {"Round", "1"},
        {"Rozstaw", "12,5x"},
        {"IsVisible", "0"},
        {"ParametryChwiloweZwiniete", "0"},
        {"X", std::to_string(r.left)},
        {"CY", std::to_string(r.Height())},
    };
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

// Damaged or unreadable settings fall back to what a fresh start shows, value by value.
TEST_F(PanelTest, DamagedStoredValuesKeepTheDefaults) {
    const Rect fresh = MakePanel().GetWindowRect();
    const std::pair<std::string, std::string> cases[] = {
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
        } else {
            Store(name, value);
        }
        CToolBarDlg& p = MakePanel();
        EXPECT_EQ(p.GetWindowRect(), fresh);
        EXPECT_DOUBLE_EQ(p.GetSpacing(), 20.0);
        EXPECT_EQ(p.GetCount(), 1);
        EXPECT_DOUBLE_EQ(p.GetDescriptionFontSize(), 5.0);
        EXPECT_DOUBLE_EQ(p.GetDiameter(), 4.5);
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

TEST_F(PanelTest, CollapsingASectionMovesTheSectionsBelowAndResizesTheWindow) {
    struct Case {
        int section, group, command;
        std::vector<int> inside, below, above;
    };
    const Case cases[] = {
        {CToolBarDlg::kBarSection,
         IDC_GROUP_BAR,
         ID_TOGGLE_BAR_SECTION,
         {IDC_DIAMETER, IDC_STEEL, IDC_ROUNDED, IDC_LABEL_DIAMETER},
         {IDC_GROUP_TEMPORARY, IDC_SPACING, IDC_COUNT, IDC_GROUP_TEXT_HEIGHTS, IDC_LETTER,
          IDC_LETTER_DIMENSION, IDC_LABEL_LETTER},
         {}},
        {CToolBarDlg::kTemporarySection,
         IDC_GROUP_TEMPORARY,
         ID_TOGGLE_TEMPORARY_SECTION,
         {IDC_SPACING, IDC_COUNT, IDC_UNIT_SPACING},
         {IDC_GROUP_TEXT_HEIGHTS, IDC_LETTER, IDC_LETTER_DIMENSION},
         {IDC_GROUP_BAR, IDC_DIAMETER, IDC_ROUNDED}},
        {CToolBarDlg::kTextSection,
         IDC_GROUP_TEXT_HEIGHTS,
         ID_TOGGLE_TEXT_SECTION,
         {IDC_LETTER, IDC_LETTER_DIMENSION, IDC_LABEL_LETTER_DIMENSION},
         {},
         {IDC_GROUP_BAR, IDC_DIAMETER, IDC_SPACING, IDC_COUNT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        CToolBarDlg& p = MakePanel();
        const auto before = Layout(p);
        const Rect window = p.GetWindowRect();
        const int d = before.at(c.group).Height();
        ASSERT_GT(d, 0);

        p.OnCommand(c.command);
        EXPECT_TRUE(p.IsSectionCollapsed(c.section));
        EXPECT_EQ(p.GetWindowRect(),
                  (Rect{window.left, window.top, window.right, window.bottom - d}));
        const auto collapsed = Layout(p);
        EXPECT_FALSE(p.IsControlVisible(c.group));
        for (int id : c.inside) {
            EXPECT_FALSE(p.IsControlVisible(id)) << id;
        }
        for (int id : c.below) {
            EXPECT_EQ(collapsed.at(id), before.at(id).Offset(0, -d)) << id;
            EXPECT_TRUE(p.IsControlVisible(id)) << id;
        }
        for (int id : c.above) {
            EXPECT_EQ(collapsed.at(id), before.at(id)) << id;
        }

        p.ToggleSection(c.section);
        EXPECT_FALSE(p.IsSectionCollapsed(c.section));
        EXPECT_EQ(p.GetWindowRect(), window);
        EXPECT_EQ(Layout(p), before);
        for (int id : c.inside) {
            EXPECT_TRUE(p.IsControlVisible(id)) << id;
        }
    }
}

TEST_F(PanelTest, CollapsedSectionsAreStoredAndAppliedAtStart) {
    std::map<int, Rect> expanded;
    int d = 0;
    Rect collapsedWindow;
    {
        CToolBarDlg& p = MakePanel();
        expanded = Layout(p);
        d = expanded.at(IDC_GROUP_BAR).Height();
        p.ToggleSection(CToolBarDlg::kBarSection);
        collapsedWindow = p.GetWindowRect();
        p.TogglePanel(1);
        EXPECT_EQ(Stored("ParametryPretowZwiniete"), "1");
    }
    CToolBarDlg& p = MakePanel();
    EXPECT_TRUE(p.IsSectionCollapsed(CToolBarDlg::kBarSection));
    EXPECT_FALSE(p.IsControlVisible(IDC_DIAMETER));
    EXPECT_EQ(p.GetControlRect(IDC_SPACING), expanded.at(IDC_SPACING).Offset(0, -d));
    EXPECT_EQ(p.GetWindowRect().Height(), collapsedWindow.Height());
    p.ToggleSection(CToolBarDlg::kBarSection);
    EXPECT_EQ(Layout(p), expanded);
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

TEST_F(PanelTest, MinimizingTheOwnerSavesTheSettings) {
    CToolBarDlg& p = MakePanel();
    platform::HandlePanelCommand({"spacing", "33"});
    platform::MinimizeWindow(platform::MainWindow());
    EXPECT_EQ(Stored("Rozstaw"), "33");
    EXPECT_EQ(Stored("IsVisible"), "1");  // it was meant to be shown
    platform::RestoreWindow(platform::MainWindow());
    EXPECT_TRUE(p.IsWindowVisible());
}

TEST_F(PanelTest, EnterAndEscapeDoNotCloseThePanel) {
    CToolBarDlg& p = MakePanel();
    p.OnOK();
    p.OnCancel();
    EXPECT_TRUE(p.IsWindowVisible());
}

TEST_F(PanelTest, InputsAreDisabledAndEnabledTogether) {
    CToolBarDlg& p = MakePanel();
    const int inputs[] = {IDC_DIAMETER, IDC_STEEL,  IDC_ROUNDED,         IDC_SPACING,
                          IDC_COUNT,    IDC_LETTER, IDC_LETTER_DIMENSION};
    p.EnableInputs(false);
    for (int id : inputs) {
        EXPECT_FALSE(p.IsControlEnabled(id)) << id;
    }
    EXPECT_FALSE(platform::HandlePanelCommand({"diameter", "12"}));
    EXPECT_DOUBLE_EQ(p.GetDiameter(), 4.5);
    p.EnableInputs(true);
    for (int id : inputs) {
        EXPECT_TRUE(p.IsControlEnabled(id)) << id;
    }
}

TEST_F(PanelTest, ReadersTakeTheLeadingNumberOfTypedText) {
    CToolBarDlg& p = MakePanel();
    const std::pair<const char*, double> spacings[] = {
        {"abc", 0.0},   {"12.5cm", 12.5}, {" 7", 7.0}, {"-3", -3.0}, {"nan", 0.0},
        {"1e999", 0.0}, {"2e1", 20.0},    {".5", 0.5}, {"", 0.0},    {"12e", 12.0}};
    for (const auto& [text, value] : spacings) {
        p.SetDlgItemText(IDC_SPACING, text);
        EXPECT_DOUBLE_EQ(p.GetSpacing(), value) << text;
    }
    const std::pair<const char*, int> counts[] = {{"12a", 12},
                                                  {"", 0},
                                                  {"x", 0},
                                                  {"-4", -4},
                                                  {"99999999999", INT_MAX},
                                                  {"-99999999999", INT_MIN},
                                                  {"3.9", 3}};
    for (const auto& [text, value] : counts) {
        p.SetDlgItemText(IDC_COUNT, text);
        EXPECT_EQ(p.GetCount(), value) << text;
    }
}

// Output written while the panel works, so that what a user is told can be counted.
std::string g_told;
void Tell(std::string_view text, void*) {
    g_told += text;
}

TEST_F(PanelTest, SettingsThatCannotBeWrittenAreToldOnce) {
    CToolBarDlg& p = MakePanel();
    // A settings path below a plain file can be neither made nor written.
    { std::ofstream(settings_) << "x"; }
    platform::SetSettingsFile((settings_ / "settings").string());
    g_told.clear();
    platform::SetOutputSink(Tell, nullptr);
    const bool saved = p.SaveSettings();
    platform::SetOutputSink(nullptr, nullptr);
    EXPECT_FALSE(saved);
    std::size_t messages = 0;
    for (std::size_t at = g_told.find("nie zostały zapisane"); at != std::string::npos;
         at = g_told.find("nie zostały zapisane", at + 1)) {
        ++messages;
    }
    EXPECT_EQ(messages, 1u) << g_told;
}

}  // namespace
