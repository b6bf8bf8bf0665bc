// The screen, its system metrics and the dialog-unit conversion of the 8-point dialog font.
#include "platform/geometry.h"

#include <cstdint>

namespace platform {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    std::int64_t num = static_cast<std::int64_t>(a) * b;
    std::int64_t den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    if (q > INT32_MAX || q < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(q);
}

int LogPixelsX() {
    return kLogPixels;
}
int LogPixelsY() {
    return kLogPixels;
}
Rect ScreenRect() {
    return {0, 0, kScreenWidth, kScreenHeight};
}

int DialogUnitsToPixelsX(int du) {
    return MulDiv(du, kDialogBaseUnitX, 4);
}
int DialogUnitsToPixelsY(int du) {
    return MulDiv(du, kDialogBaseUnitY, 8);
}

Rect MapDialogRect(const Rect& r) {
    return {DialogUnitsToPixelsX(r.left), DialogUnitsToPixelsY(r.top),
            DialogUnitsToPixelsX(r.right), DialogUnitsToPixelsY(r.bottom)};
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return kScreenWidth;
        case SM_CYSCREEN:
            return kScreenHeight;
        case SM_CYCAPTION:
        case SM_CYSMCAPTION:
            return kCaptionHeight;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
        case SM_CXFRAME:
        case SM_CYFRAME:
            return kFrameBorder;
        case SM_CXSIZE:
        case SM_CYSIZE:
        case SM_CXSMSIZE:
        case SM_CYSMSIZE:
            return kCaptionButtonSize;
        default:
            return 0;
    }
}

}  // namespace platform
