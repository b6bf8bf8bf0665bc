// Drawing conventions of the rod-handling object against the host: snap mode texts and the pick
// tolerance.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "module/rods/obsluga_preta.h"

namespace {

TEST(RodConventions, SnapModeTexts) {
    const struct {
        int osmode;
        const char* text;
    } cases[] = {{0, "off"}, {3, "END, mid"},   {512, "nea"},
                 {2048, ""}, {2048 + 4, "cen"}, {1 | 4 | 8 | 16 | 4096, "END, cen, po, qua, pla"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CObslugaPreta::SnapModeText(c.osmode), c.text) << c.osmode;
    }
}

TEST(RodConventions, NearTestsUseOneHundredthOfTheViewHeight) {
    host::NewDrawing();  // VIEWSIZE 1000
    EXPECT_DOUBLE_EQ(CObslugaPreta::PickTolerance(), 10.0);
    sds_point a = {0, 0, 0};
    sds_point b = {100, 0, 0};
    sds_point pick = {50, 10, 0};
    sds_point nearest;
    EXPECT_EQ(CObslugaPreta::IsNearSegment(a, b, pick, nearest), 1);
    pick[1] = 10.5;
    EXPECT_EQ(CObslugaPreta::IsNearSegment(a, b, pick, nearest), 0);
}

}  // namespace
