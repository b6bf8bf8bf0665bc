// The drag rules alone: where the group is shown for a run of cursor positions (orthogonal
// lock switching at 2 % of the view height, 20 for a view of 1000), and when the point the
// host returns stands for itself rather than for the last preview.
#include <gtest/gtest.h>

#include <vector>

#include "module/rods/rod_drag.h"

namespace {

using rods::Point;

TEST(DragRules, TranslationFollowsTheCursorAndLocksAnAxisInOrthogonalMode) {
    const struct {
        const char* name;
        bool ortho;
        std::vector<Point> cursor;  // the first is where the drag starts
        Point translation;          // after the last
        bool vertical;
    } cases[] = {
        // clang-format off
        // Free, horizontal and vertical drags as a whole: WprTest.MovingABarCarriesItsWholeGroup.
        {"19 off the base's X turns vertical", true, {{100, 100}, {119, 400}}, {0, 300}, true},
        {"21 off the base's X stays horizontal", true, {{100, 100}, {121, 400}}, {21, 0}, false},
        {"the lock stays away from both", true, {{100, 100}, {110, 400}, {400, 400}}, {0, 300}, true},
        {"near the base's Y turns back", true, {{100, 100}, {110, 400}, {400, 119}}, {300, 0}, false},
        // The cursor grabbed the group 5 right of the base: the group keeps that distance.
        {"grabbed off the base", false, {{105, 100}, {205, 150}}, {100, 50}, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rods::DragState state = rods::StartDrag({100, 100, 7});
        Point t;
        for (const Point& cursor : c.cursor) {
            t = rods::DragTranslation(state, cursor, {0, 0, 0}, c.ortho, 1000.0);
        }
        EXPECT_DOUBLE_EQ(t.x, c.translation.x);
        EXPECT_DOUBLE_EQ(t.y, c.translation.y);
        EXPECT_EQ(t.z, 0.0) << "a drag never lifts the group";
        EXPECT_EQ(state.vertical, c.vertical);
        EXPECT_DOUBLE_EQ(state.previewed.x, 100 + c.translation.x);
        EXPECT_DOUBLE_EQ(state.previewed.y, 100 + c.translation.y);
    }
}

TEST(DragRules, ReturnedPointCountsOnlyAwayFromThePreviewAlongTheLockedAxis) {
    const struct {
        bool ortho, vertical;
        Point returned;
        bool itself;
    } cases[] = {
        {false, false, {300, 100}, false},    {false, false, {300.0009, 100}, false},
        {false, false, {300, 100.002}, true}, {true, false, {300, 250}, false},
        {true, false, {300.0011, 250}, true}, {true, true, {450, 100}, false},
        {true, true, {300, 100.0011}, true},
    };
    for (const auto& c : cases) {
        rods::DragState state = rods::StartDrag({0, 0, 0});
        state.previewed = {300, 100, 0};
        state.vertical = c.vertical;
        EXPECT_EQ(rods::ReturnedPointIsTarget(state, c.returned, c.ortho), c.itself)
            << c.returned.x << "," << c.returned.y;
    }
}

}  // namespace
