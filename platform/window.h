// Top-level windows of the framework: a window has a rectangle in screen pixels, a title,
// visibility, an enabled state and an owner; the host's main window is one of them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace platform {

// ShowWindow commands and show-window notification statuses (classic values).
enum ShowCommand : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5, SW_SHOWNOACTIVATE = 4 };
enum ShowStatus : int { SW_PARENTCLOSING = 1, SW_PARENTOPENING = 3 };

class Window {
  public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The whole window, frame included, in screen pixels.
    Rect GetWindowRect() const { return rect_; }
    void MoveWindow(const Rect& screenRect);
    void MoveWindow(int x, int y, int width, int height) {
        MoveWindow(Rect{x, y, x + width, y + height});
    }
    // The client area: (0, 0, width, height) inside the frame.
    Rect GetClientRect() const;
    Point ClientToScreen(Point p) const;
    Point ScreenToClient(Point p) const;
    Rect ClientToScreen(const Rect& r) const;
    Rect ScreenToClient(const Rect& r) const;
    // Whether the window has a caption and border (false for the bare main window frame).
    bool HasFrame() const { return framed_; }
    void SetHasFrame(bool framed) { framed_ = framed; }

    // SW_HIDE hides, every other command shows; OnShowWindow is told of real changes.
    void ShowWindow(int command);
    bool IsWindowVisible() const { return visible_; }
    void EnableWindow(bool enable) { enabled_ = enable; }
    bool IsWindowEnabled() const { return enabled_; }
    void SetWindowText(std::string_view text) { title_ = std::string(text); }
    const std::string& GetWindowText() const { return title_; }
    Window* GetOwner() const { return owner_; }
    void SetOwner(Window* owner) { owner_ = owner; }
    // False after DestroyWindow (and before a dialog's window is created).
    bool IsCreated() const { return created_; }
    virtual void DestroyWindow();

    // Notifications, overridden by windows that care; the defaults do nothing.
    virtual void OnShowWindow(bool show, int status);
    // Mouse on the non-client area (caption and frame), in screen pixels.
    virtual void OnNcLButtonDown(Point screen);
    virtual void OnNcLButtonUp(Point screen);
    // The frame has to be repainted (the window's caption is drawn by whoever overrides this).
    virtual void OnNcPaint();

  protected:
    void SetCreated(bool created) { created_ = created; }

  private:
    friend void MinimizeWindow(Window* owner);
    friend void RestoreWindow(Window* owner);
    // Changes visibility and tells the window once, with the reason.
    void SetVisible(bool show, int status);
    bool hiddenWithOwner_ = false;

  private:
    Rect rect_;
    std::string title_;
    Window* owner_ = nullptr;
    bool visible_ = false;
    bool enabled_ = true;
    bool framed_ = true;
    bool created_ = true;
};

// The host's main window: (0, 0)-(1920, 1040), shown, titled "armavo", no owner.
Window* MainWindow();

// Keyboard focus: a window (or none). Kept so that code which hands the focus back to the
// main window can be checked.
void SetFocus(Window* window);
Window* GetFocus();

// Minimizing a window tells each visible window it owns that its owner is closing
// (SW_PARENTCLOSING) and hides it; restoring shows those again (SW_PARENTOPENING).
void MinimizeWindow(Window* owner);
void RestoreWindow(Window* owner);

// Windows that exist now, in creation order (for the back ends and tests).
std::vector<Window*> AllWindows();

}  // namespace platform
