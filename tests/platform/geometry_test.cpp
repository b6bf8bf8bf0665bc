// Dialog units, the screen and owned windows.
#include <gtest/gtest.h>

#include "platform/geometry.h"
#include "platform/window.h"

namespace platform {
namespace {

TEST(MulDivTest, RoundsHalfAwayFromZeroLikeTheClassicCall) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {10, 6, 4, 15},  {1, 6, 4, 2},   {3, 6, 4, 5},           {-1, 6, 4, -2},
        {5, 13, 8, 8},   {7, 13, 8, 11}, {0, 13, 8, 0},          {5, -13, 8, -8},
        {5, 13, -8, -8}, {1, 1, 0, -1},  {2000000000, 2, 1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST(DialogUnitsTest, MapToPixelsOfTheEightPointDialogFont) {
    // The panel's template is 98 x 145 units, the schedule dialog's 335 x 191.
    EXPECT_EQ(DialogUnitsToPixelsX(98), 147);
    EXPECT_EQ(DialogUnitsToPixelsY(145), 236);  // 145*13/8 = 235.625
    EXPECT_EQ(DialogUnitsToPixelsX(335), 503);  // 502.5 rounds up
    EXPECT_EQ(DialogUnitsToPixelsY(191), 310);  // 310.375
    EXPECT_EQ(MapDialogRect(Rect{6, 6, 330, 168}), (Rect{9, 10, 495, 273}));
}

TEST(WindowTest, MainWindowCoversTheScreenAndOwnersGoCleanly) {
    Window* main = MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main, MainWindow());
    EXPECT_EQ(main->GetWindowRect(), (Rect{0, 0, 1920, 1040}));
    EXPECT_TRUE(main->IsWindowVisible());
    EXPECT_EQ(main->GetOwner(), nullptr);
    EXPECT_EQ(GetSystemMetrics(9999), 0);  // an unknown metric is nothing, not garbage
    // A destroyed owner leaves no dangling owner or focus.
    Window owned;
    {
        Window owner;
        owned.SetOwner(&owner);
        SetFocus(&owner);
    }
    EXPECT_EQ(owned.GetOwner(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace
}  // namespace platform
