// Screen geometry of the window framework: rectangles, the one 1920x1080 screen at 96 dpi,
// the system metrics of window frames and the dialog-unit to pixel rule of the dialog font.
#pragma once

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Left/top inclusive, right/bottom exclusive, as window rectangles are everywhere.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Rect&) const = default;
};

// a * b / c rounded half away from zero, -1 when c is 0 (the classic MulDiv contract).
int MulDiv(int a, int b, int c);

// The screen: 1920 x 1080 pixels, 96 logical pixels per inch in both directions.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kLogPixels = 96;
int LogPixelsX();
int LogPixelsY();
Rect ScreenRect();

// Average character width and height of the 8-point dialog font at 96 dpi; a dialog unit is
// a quarter of the first and an eighth of the second.
constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 13;
int DialogUnitsToPixelsX(int du);
int DialogUnitsToPixelsY(int du);
// Converts a rectangle given in dialog units to pixels (the MapDialogRect rule).
Rect MapDialogRect(const Rect& dialogUnits);

// System metric indexes (the numbers of the classic GetSystemMetrics call).
enum SystemMetric : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
    SM_CYSMCAPTION = 51,
};
// Every framed window here has the same frame: a 3-pixel border on each side and a 17-pixel
// caption; caption buttons are 15 x 15 so they fit the caption with a pixel to spare.
constexpr int kFrameBorder = 3;
constexpr int kCaptionHeight = 17;
constexpr int kCaptionButtonSize = 15;
// The metric's value in pixels, 0 for an index not listed above.
int GetSystemMetrics(int index);

}  // namespace platform
