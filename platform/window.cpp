// Top-level windows: rectangles, visibility, ownership, focus, and the host's main window.
#include "platform/window.h"

#include <algorithm>

namespace platform {
namespace {

std::vector<Window*>& Registry() {
    static std::vector<Window*> windows;
    return windows;
}

Window* g_focus = nullptr;

}  // namespace

Window::Window() {
    Registry().push_back(this);
}

Window::~Window() {
    auto& windows = Registry();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    if (g_focus == this) {
        g_focus = nullptr;
    }
    for (Window* w : windows) {
        if (w->owner_ == this) {
            w->owner_ = nullptr;
        }
    }
}

void Window::MoveWindow(const Rect& screenRect) {
    rect_ = screenRect;
    // A window is never smaller than nothing; a negative size would turn every client
    // computation inside out.
    if (rect_.right < rect_.left) {
        rect_.right = rect_.left;
    }
    if (rect_.bottom < rect_.top) {
        rect_.bottom = rect_.top;
    }
}

Rect Window::GetClientRect() const {
    if (!framed_) {
        return {0, 0, rect_.Width(), rect_.Height()};
    }
    int w = std::max(0, rect_.Width() - 2 * kFrameBorder);
    int h = std::max(0, rect_.Height() - 2 * kFrameBorder - kCaptionHeight);
    return {0, 0, w, h};
}

Point Window::ClientToScreen(Point p) const {
    int ox = rect_.left + (framed_ ? kFrameBorder : 0);
    int oy = rect_.top + (framed_ ? kFrameBorder + kCaptionHeight : 0);
    return {p.x + ox, p.y + oy};
}

Point Window::ScreenToClient(Point p) const {
    Point origin = ClientToScreen(Point{0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

Rect Window::ClientToScreen(const Rect& r) const {
    Point o = ClientToScreen(Point{0, 0});
    return r.Offset(o.x, o.y);
}

Rect Window::ScreenToClient(const Rect& r) const {
    Point o = ClientToScreen(Point{0, 0});
    return r.Offset(-o.x, -o.y);
}

void Window::ShowWindow(int command) {
    hiddenWithOwner_ = false;
    SetVisible(command != SW_HIDE, 0);
}

void Window::SetVisible(bool show, int status) {
    if (show == visible_) {
        return;
    }
    visible_ = show;
    OnShowWindow(show, status);
}

void Window::DestroyWindow() {
    visible_ = false;
    created_ = false;
    if (g_focus == this) {
        g_focus = nullptr;
    }
}

void Window::OnShowWindow(bool, int) {}
void Window::OnNcLButtonDown(Point) {}
void Window::OnNcLButtonUp(Point) {}
void Window::OnNcPaint() {}

Window* MainWindow() {
    static Window* main = [] {
        static Window w;
        w.MoveWindow(Rect{0, 0, kScreenWidth, 1040});
        w.SetWindowText("armavo");
        w.ShowWindow(SW_SHOW);
        return &w;
    }();
    return main;
}

void SetFocus(Window* window) {
    g_focus = window;
}
Window* GetFocus() {
    return g_focus;
}

void MinimizeWindow(Window* owner) {
    for (Window* w : AllWindows()) {
        if (w->GetOwner() == owner && w->IsWindowVisible()) {
            w->SetVisible(false, SW_PARENTCLOSING);
            w->hiddenWithOwner_ = true;
        }
    }
}

void RestoreWindow(Window* owner) {
    for (Window* w : AllWindows()) {
        if (w->GetOwner() == owner && w->hiddenWithOwner_ && w->IsCreated()) {
            w->hiddenWithOwner_ = false;
            w->SetVisible(true, SW_PARENTOPENING);
        }
    }
}

std::vector<Window*> AllWindows() {
    return Registry();
}

}  // namespace platform
