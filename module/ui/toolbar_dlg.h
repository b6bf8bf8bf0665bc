// The parameters panel: the modeless window over the host's main window that holds the
// current diameter, steel, rounded-corners switch, spacing, count and text heights, and
// remembers them with its position and sections in the current user's registry.
#pragma once

#include <array>

#include "platform/dialog.h"

class CToolBarDlg : public platform::Dialog {
  public:
    // The three collapsible sections, top to bottom.
    enum Section { kBarSection = 0, kTemporarySection = 1, kTextSection = 2, kSectionCount = 3 };
    // The panel's own caption buttons, right to left: close, then one per section.
    enum class CaptionButton { None, Close, TextSection, TemporarySection, BarSection };

    // The settings key under the current user.
    static constexpr const char* kRegistryKey = "Software\\Pellicon\\IntelliCAD Armavo\\Data\\";

    explicit CToolBarDlg(platform::Window* parent = nullptr);
    ~CToolBarDlg() override;

    // Current values, read from the controls at the time of the call.
    double GetDiameter() const;  // millimetres
    int GetSteelIndex() const;
    bool IsSmoothSelected() const;
    int IsRoundedCorners() const;  // 1 ticked, 0 not
    double GetSpacing() const;
    int GetCount() const;
    double GetDescriptionFontSize() const;
    double GetDimensionFontSize() const;

    void ShowPanel(bool show);
    void EnableInputs(bool enable);
    // With `created` 0 makes the window; afterwards shows a hidden panel or hides (and saves)
    // a shown one. The result is the new value of the caller's created flag.
    int TogglePanel(int created);
    bool IsShownFlag() const { return shown_ != 0; }
    // Brings a control into the user's reach as a user would before setting it from a
    // script: shows a hidden panel (saying so) and expands the section that holds it.
    void RevealControl(int id);
    // Tells the user whether the panel is now shown or hidden.
    void TellVisibility() const;

    // False when the key cannot be opened; the controls then keep what they hold.
    bool LoadSettings();
    // False when the key cannot be created or a value cannot be written.
    bool SaveSettings();

    // Collapses an expanded section or expands a collapsed one, moving the sections below it
    // and resizing the window by the height of the section's frame.
    void ToggleSection(int section);
    bool IsSectionCollapsed(int section) const;

    // Pixel sizes of the caption follow the screen's scale (1.0 at 96 dpi).
    void SetScaleX(double scaleX) { scaleX_ = scaleX; }
    // A caption button's rectangle in window coordinates (origin at the window's top-left).
    platform::Rect CaptionButtonRect(CaptionButton button) const;
    // The caption button under a point given in window coordinates.
    CaptionButton HitCaptionButton(platform::Point windowPoint) const;
    // The button held down now (None when the mouse is not captured), and the one last
    // drawn pushed by a press.
    CaptionButton PressedButton() const { return pressed_; }
    // Whether the button is drawn pushed: while pressed, and a section's while collapsed.
    bool IsCaptionButtonPushed(CaptionButton button) const;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommand(int id) override;
    void OnShowWindow(bool show, int status) override;
    void OnNcLButtonDown(platform::Point screen) override;
    void OnNcLButtonUp(platform::Point screen) override;
    void OnNcPaint() override;

  private:
    void ApplyDefaults();
    void SetSectionVisible(int section, bool visible);
    void MoveSectionsBelow(int section, int dy);
    void PlaceWindow(const platform::Rect& stored, bool haveX, bool haveY, bool haveCX,
                     bool haveCY);

    platform::Window* parent_ = nullptr;
    int shown_ = 0;
    std::array<int, kSectionCount> collapsed_{};
    double scaleX_ = 1.0;
    CaptionButton pressed_ = CaptionButton::None;
    CaptionButton drawnPressed_ = CaptionButton::None;
    std::array<platform::Rect, 4> paintedButtons_{};  // close, text, temporary, bar
    bool visibilityLoaded_ = false;
};
