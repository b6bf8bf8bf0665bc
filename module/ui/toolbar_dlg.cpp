// The parameters panel: its controls and readers, showing and hiding, the stored settings,
// the collapsible sections and the caption buttons it draws itself.
#include "module/ui/toolbar_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/sds.h"
#include "module/model/steel.h"
#include "module/resources/resource.h"
#include "module/resources/strings.h"
#include "module/resources/templates.h"
#include "module/ui/number_text.h"
#include "platform/registry.h"
#include "platform/script_panel.h"

using platform::Point;
using platform::Rect;

namespace {

constexpr int kInputIds[] = {IDC_DIAMETER, IDC_STEEL,  IDC_ROUNDED,         IDC_SPACING,
                             IDC_COUNT,    IDC_LETTER, IDC_LETTER_DIMENSION};

// Every control of a section, its frame first.
const std::vector<int>& SectionControls(int section) {
    static const std::vector<int> sections[CToolBarDlg::kSectionCount] = {
        {IDC_GROUP_BAR, IDC_LABEL_DIAMETER, IDC_DIAMETER, IDC_UNIT_DIAMETER, IDC_LABEL_STEEL,
         IDC_STEEL, IDC_ROUNDED},
        {IDC_GROUP_TEMPORARY, IDC_LABEL_SPACING, IDC_SPACING, IDC_UNIT_SPACING, IDC_LABEL_COUNT,
         IDC_COUNT, IDC_UNIT_COUNT},
        {IDC_GROUP_TEXT_HEIGHTS, IDC_LABEL_LETTER, IDC_LETTER, IDC_LABEL_LETTER_DIMENSION,
         IDC_LETTER_DIMENSION},
    };
    return sections[section];
}

// Labels, units and frames take their texts from the string table when the window is made.
constexpr std::pair<int, int> kCaptions[] = {
    {IDC_GROUP_BAR, 139},
    {IDC_LABEL_DIAMETER, 131},
    {IDC_UNIT_DIAMETER, 76},
    {IDC_LABEL_STEEL, 132},
    {IDC_ROUNDED, 130},
    {IDC_GROUP_TEMPORARY, 133},
    {IDC_LABEL_SPACING, 134},
    {IDC_UNIT_SPACING, 78},
    {IDC_LABEL_COUNT, 135},
    {IDC_UNIT_COUNT, 79},
    {IDC_GROUP_TEXT_HEIGHTS, 136},
    {IDC_LABEL_LETTER, 137},
    {IDC_LABEL_LETTER_DIMENSION, 138},
};

constexpr int kValueBufferSize = 260;

// What the panel tells: shown, hidden, and a stored value it could not read.
constexpr int kStrPanelShown = 920;
constexpr int kStrPanelHidden = 921;
constexpr int kStrSettingUnreadable = 922;

std::string Decimal(int value) {
    return std::to_string(value);
}

platform::Window* HostMainWindow() {
    return static_cast<platform::Window*>(sds_getmainhwnd());
}

}  // namespace

CToolBarDlg::CToolBarDlg(platform::Window* parent) : parent_(parent) {}

CToolBarDlg::~CToolBarDlg() {
    if (platform::ScriptPanel() == this) {
        platform::RegisterScriptPanel(nullptr, {});
    }
}

// ---- Readers ----

double CToolBarDlg::GetDiameter() const {
    return LeadingDecimal(GetDlgItemText(IDC_DIAMETER));
}

int CToolBarDlg::GetSteelIndex() const {
    return SteelIndex(GetDlgItemText(IDC_STEEL));
}

bool CToolBarDlg::IsSmoothSelected() const {
    return IsSmoothSteel(GetSteelIndex());
}

int CToolBarDlg::IsRoundedCorners() const {
    return GetCheck(IDC_ROUNDED) ? 1 : 0;
}

double CToolBarDlg::GetSpacing() const {
    return LeadingDecimal(GetDlgItemText(IDC_SPACING));
}

int CToolBarDlg::GetCount() const {
    return LeadingWhole(GetDlgItemText(IDC_COUNT));
}

double CToolBarDlg::GetDescriptionFontSize() const {
    return LeadingDecimal(GetDlgItemText(IDC_LETTER));
}

double CToolBarDlg::GetDimensionFontSize() const {
    return LeadingDecimal(GetDlgItemText(IDC_LETTER_DIMENSION));
}

// ---- Showing, enabling, toggling ----

void CToolBarDlg::ShowPanel(bool show) {
    shown_ = show ? 1 : 0;
    ShowWindow(show ? platform::SW_SHOWNORMAL : platform::SW_HIDE);
}

void CToolBarDlg::EnableInputs(bool enable) {
    for (int id : kInputIds) {
        EnableControl(id, enable);
    }
}

int CToolBarDlg::TogglePanel(int created) {
    platform::Window* main = HostMainWindow();
    platform::Window* owner = parent_ != nullptr ? parent_ : main;
    // A window that exists already is never made twice, whatever the caller's flag says.
    if (created == 0 && !IsCreated()) {
        const platform::DialogTemplate* templ = FindDialogTemplate(IDD_PARAMETERS);
        const bool ok = templ != nullptr && Create(*templ, owner);
        platform::SetFocus(main);
        return ok ? 1 : 0;
    }
    if (!IsWindowVisible()) {
        ShowPanel(true);
        platform::SetFocus(main);
        return 1;
    }
    ShowPanel(false);
    SaveSettings();
    return 1;
}

// ---- Window creation ----

bool CToolBarDlg::OnInitDialog() {
    SetWindowText(LoadUiString(123));
    for (const auto& [id, stringId] : kCaptions) {
        SetDlgItemText(id, LoadUiString(stringId));
    }
    // The defaults go in first so that a value missing from the settings leaves a sound one.
    ApplyDefaults();
    // Without a stored visibility the panel is shown, as on a first start.
    if (!LoadSettings() || !visibilityLoaded_) {
        ShowPanel(true);
    }
    for (int s = 0; s < kSectionCount; ++s) {
        if (collapsed_[s] != 0) {
            SetSectionVisible(s, false);
            MoveSectionsBelow(s, -GetControlRect(SectionControls(s).front()).Height());
        }
    }
    using platform::PanelValue;
    platform::RegisterScriptPanel(this,
                                  {{"diameter", IDC_DIAMETER},
                                   {"steel", IDC_STEEL},
                                   {"rounded", IDC_ROUNDED},
                                   {"spacing", IDC_SPACING, PanelValue::PositiveNumber},
                                   {"count", IDC_COUNT, PanelValue::PositiveWhole},
                                   {"letter", IDC_LETTER, PanelValue::PositiveNumber},
                                   {"letterdim", IDC_LETTER_DIMENSION, PanelValue::PositiveNumber}},
                                  [this](int id) { RevealControl(id); });
    return true;
}

void CToolBarDlg::TellVisibility() const {
    sds_printf("%s", LoadUiString(IsWindowVisible() ? kStrPanelShown : kStrPanelHidden).c_str());
}

void CToolBarDlg::RevealControl(int id) {
    if (!IsWindowVisible()) {
        ShowPanel(true);
        platform::SetFocus(HostMainWindow());
        TellVisibility();
    }
    for (int s = 0; s < kSectionCount; ++s) {
        const std::vector<int>& ids = SectionControls(s);
        if (collapsed_[s] != 0 && std::find(ids.begin(), ids.end(), id) != ids.end()) {
            ToggleSection(s);
        }
    }
}

void CToolBarDlg::ApplyDefaults() {
    collapsed_ = {};
    SetCurSel(IDC_DIAMETER, 0);
    SetCurSel(IDC_STEEL, 0);
    SetDlgItemText(IDC_SPACING, "20");
    SetDlgItemText(IDC_COUNT, "1");
    SetDlgItemText(IDC_LETTER, "5");
    SetDlgItemText(IDC_LETTER_DIMENSION, "5");
}

// Enter and Esc do not close a modeless panel; only its caption's close button and PPR do.
void CToolBarDlg::OnOK() {}
void CToolBarDlg::OnCancel() {}

void CToolBarDlg::OnCommand(int id) {
    switch (id) {
        case ID_TOGGLE_BAR_SECTION:
            ToggleSection(kBarSection);
            break;
        case ID_TOGGLE_TEMPORARY_SECTION:
            ToggleSection(kTemporarySection);
            break;
        case ID_TOGGLE_TEXT_SECTION:
            ToggleSection(kTextSection);
            break;
        default:
            break;
    }
}

// The owner being minimized is the last chance to keep the settings before the host may end.
void CToolBarDlg::OnShowWindow(bool /*show*/, int status) {
    if (status == platform::SW_PARENTCLOSING) {
        SaveSettings();
    }
}

// ---- Stored settings ----

bool CToolBarDlg::LoadSettings() {
    visibilityLoaded_ = false;
    platform::RegKey key;
    if (platform::RegOpenKey(kRegistryKey, platform::RegAccess::ReadWrite, key) !=
        platform::RegResult::Ok) {
        return false;
    }
    auto read = [&key](const std::string& name, std::string& value) {
        char buffer[kValueBufferSize];
        std::size_t size = sizeof buffer;
        unsigned type = platform::REG_NONE;
        const platform::RegResult r = platform::RegQueryValue(key, name, &type, buffer, &size);
        if (r != platform::RegResult::Ok || type != platform::REG_SZ) {
            // A missing value is simply not there yet; one that is there but cannot be used
            // is worth a word, since the next save writes the control's value over it.
            if (r == platform::RegResult::Ok || r == platform::RegResult::MoreData ||
                r == platform::RegResult::NotTerminated) {
                std::string text = LoadUiString(kStrSettingUnreadable);
                if (const std::size_t at = text.find("%s"); at != std::string::npos) {
                    text.replace(at, 2, name);
                }
                sds_printf("%s", text.c_str());
            }
            return false;
        }
        value.assign(buffer, strnlen(buffer, std::min(size, sizeof buffer)));
        return true;
    };
    std::string v;
    const std::pair<std::string, int> edits[] = {{LoadUiString(103), IDC_SPACING},
                                                 {"Letter", IDC_LETTER},
                                                 {"LetterDimension", IDC_LETTER_DIMENSION},
                                                 {"RodNumber", IDC_COUNT}};
    for (const auto& [name, id] : edits) {
        if (read(name, v)) {
            SetDlgItemText(id, v);
        }
    }
    if (read("Round", v)) {
        SetCheck(IDC_ROUNDED, LeadingWhole(v) != 0);
    }
    for (const auto& [name, id] : {std::pair<const char*, int>{"Diameter", IDC_DIAMETER},
                                   std::pair<const char*, int>{"Steel", IDC_STEEL}}) {
        if (read(name, v)) {
            const int n = LeadingWhole(v);
            SetCurSel(id, n >= 0 && n < GetItemCount(id) ? n : 0);
        }
    }
    Rect stored;
    const bool haveX = read("X", v);
    stored.left = LeadingWhole(v);
    const bool haveY = read("Y", v);
    stored.top = LeadingWhole(v);
    const bool haveCX = read("CX", v);
    stored.right = LeadingWhole(v);  // width, until PlaceWindow
    const bool haveCY = read("CY", v);
    stored.bottom = LeadingWhole(v);  // height, until PlaceWindow
    PlaceWindow(stored, haveX, haveY, haveCX, haveCY);
    if (read("IsVisible", v)) {
        visibilityLoaded_ = true;
        ShowPanel(LeadingWhole(v) == 1);
    }
    const char* collapseNames[kSectionCount] = {
        "ParametryPretowZwiniete", "ParametryChwiloweZwiniete", "WielkoscCzcionkiZwinieta"};
    for (int s = 0; s < kSectionCount; ++s) {
        if (read(collapseNames[s], v)) {
            collapsed_[s] = LeadingWhole(v) != 0 ? 1 : 0;
        }
    }
    platform::RegCloseKey(key);
    return true;
}

// A position outside the owner comes back where the user can reach it; a value that is
// missing, or a size that no window can have, keeps what the window has now.
void CToolBarDlg::PlaceWindow(const Rect& stored, bool haveX, bool haveY, bool haveCX,
                              bool haveCY) {
    const Rect now = GetWindowRect();
    platform::Window* owner = GetOwner() != nullptr ? GetOwner() : HostMainWindow();
    const Rect ownerRect = owner != nullptr ? owner->GetWindowRect() : platform::ScreenRect();
    int x = haveX ? stored.left : now.left;
    int y = haveY ? stored.top : now.top;
    if (x < ownerRect.left || x > ownerRect.right) {
        x = 0;
    }
    if (y < ownerRect.top || y > ownerRect.bottom) {
        y = 38;
    }
    const Rect screen = platform::ScreenRect();
    const int cx =
        haveCX && stored.right > 0 && stored.right <= screen.Width() ? stored.right : now.Width();
    const int cy = haveCY && stored.bottom > 0 && stored.bottom <= screen.Height() ? stored.bottom
                                                                                   : now.Height();
    MoveWindow(x, y, cx, cy);
}

bool CToolBarDlg::SaveSettings() {
    platform::RegKey key;
    if (platform::RegCreateKey(kRegistryKey, key) != platform::RegResult::Ok) {
        return false;
    }
    const Rect r = GetWindowRect();
    const std::pair<std::string, std::string> values[] = {
        {"Round", Decimal(IsRoundedCorners())},
        {LoadUiString(103), GetDlgItemText(IDC_SPACING)},
        {"Letter", GetDlgItemText(IDC_LETTER)},
        {"LetterDimension", GetDlgItemText(IDC_LETTER_DIMENSION)},
        {"RodNumber", GetDlgItemText(IDC_COUNT)},
        {"Diameter", Decimal(GetCurSel(IDC_DIAMETER))},
        {"Steel", Decimal(GetCurSel(IDC_STEEL))},
        {"IsVisible", shown_ == 1 ? "1" : "0"},
        {"ParametryPretowZwiniete", collapsed_[kBarSection] ? "1" : "0"},
        {"ParametryChwiloweZwiniete", collapsed_[kTemporarySection] ? "1" : "0"},
        {"WielkoscCzcionkiZwinieta", collapsed_[kTextSection] ? "1" : "0"},
        {"X", Decimal(r.left)},
        {"Y", Decimal(r.top)},
        {"CX", Decimal(r.Width())},
        {"CY", Decimal(r.Height())},
    };
    // A write that fails has told the user why; the rest would fail the same way and only
    // repeat the message, so the save stops there.
    bool ok = true;
    for (const auto& [name, value] : values) {
        if (platform::RegSetValue(key, name, value) != platform::RegResult::Ok) {
            ok = false;
            break;
        }
    }
    platform::RegCloseKey(key);
    return ok;
}

// ---- Sections ----

bool CToolBarDlg::IsSectionCollapsed(int section) const {
    return section >= 0 && section < kSectionCount && collapsed_[section] != 0;
}

void CToolBarDlg::ToggleSection(int section) {
    if (section < 0 || section >= kSectionCount) {
        return;
    }
    const int d = GetControlRect(SectionControls(section).front()).Height();
    const Rect w = GetWindowRect();
    const bool expand = collapsed_[section] != 0;
    collapsed_[section] = expand ? 0 : 1;
    MoveWindow(w.left, w.top, w.Width(), w.Height() + (expand ? d : -d));
    SetSectionVisible(section, expand);
    MoveSectionsBelow(section, expand ? d : -d);
}

void CToolBarDlg::SetSectionVisible(int section, bool visible) {
    for (int id : SectionControls(section)) {
        ShowControl(id, visible);
    }
}

void CToolBarDlg::MoveSectionsBelow(int section, int dy) {
    for (int below = section + 1; below < kSectionCount; ++below) {
        for (int id : SectionControls(below)) {
            MoveControl(id, GetControlRect(id).Offset(0, dy));
        }
    }
}

// ---- Caption ----

Rect CToolBarDlg::CaptionButtonRect(CaptionButton button) const {
    const int width = GetWindowRect().Width();
    const int size = platform::GetSystemMetrics(platform::SM_CYSMSIZE);
    const int step = platform::GetSystemMetrics(platform::SM_CXSMSIZE);
    const int top = platform::kFrameBorder + (platform::kCaptionHeight - size) / 2;
    const Rect close{width - static_cast<int>(std::lround(scaleX_ * 20)), top,
                     width - static_cast<int>(std::lround(scaleX_ * 5)), top + size};
    switch (button) {
        case CaptionButton::Close:
            return close;
        case CaptionButton::TextSection:
            return close.Offset(-step, 0);
        case CaptionButton::TemporarySection:
            return close.Offset(-2 * step, 0);
        case CaptionButton::BarSection:
            return close.Offset(-3 * step, 0);
        case CaptionButton::None:
            break;
    }
    return Rect{};
}

CToolBarDlg::CaptionButton CToolBarDlg::HitCaptionButton(Point windowPoint) const {
    for (CaptionButton b : {CaptionButton::Close, CaptionButton::TextSection,
                            CaptionButton::TemporarySection, CaptionButton::BarSection}) {
        if (CaptionButtonRect(b).Contains(windowPoint)) {
            return b;
        }
    }
    return CaptionButton::None;
}

bool CToolBarDlg::IsCaptionButtonPushed(CaptionButton button) const {
    if (button == CaptionButton::None) {
        return false;
    }
    if (button == drawnPressed_) {
        return true;
    }
    switch (button) {
        case CaptionButton::TextSection:
            return collapsed_[kTextSection] != 0;
        case CaptionButton::TemporarySection:
            return collapsed_[kTemporarySection] != 0;
        case CaptionButton::BarSection:
            return collapsed_[kBarSection] != 0;
        default:
            return false;
    }
}

void CToolBarDlg::OnNcLButtonDown(Point screen) {
    const Rect w = GetWindowRect();
    const CaptionButton hit = HitCaptionButton({screen.x - w.left, screen.y - w.top});
    if (hit == CaptionButton::None) {
        return;  // elsewhere on the caption the frame drags the window as usual
    }
    pressed_ = hit;
    drawnPressed_ = hit;
    OnNcPaint();
}

void CToolBarDlg::OnNcLButtonUp(Point screen) {
    if (pressed_ == CaptionButton::None) {
        return;
    }
    const CaptionButton pressed = std::exchange(pressed_, CaptionButton::None);
    drawnPressed_ = CaptionButton::None;
    const Rect w = GetWindowRect();
    const CaptionButton hit = HitCaptionButton({screen.x - w.left, screen.y - w.top});
    OnNcPaint();
    if (hit != pressed) {
        return;  // released away from the button it pressed: no action, as with any button
    }
    switch (hit) {
        case CaptionButton::Close:
            ShowPanel(false);
            SaveSettings();
            break;
        case CaptionButton::TextSection:
            ToggleSection(kTextSection);
            break;
        case CaptionButton::TemporarySection:
            ToggleSection(kTemporarySection);
            break;
        case CaptionButton::BarSection:
            ToggleSection(kBarSection);
            break;
        case CaptionButton::None:
            break;
    }
}

void CToolBarDlg::OnNcPaint() {
    paintedButtons_ = {CaptionButtonRect(CaptionButton::Close),
                       CaptionButtonRect(CaptionButton::TextSection),
                       CaptionButtonRect(CaptionButton::TemporarySection),
                       CaptionButtonRect(CaptionButton::BarSection)};
}
