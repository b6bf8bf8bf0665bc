// Where segment length texts go for every band of directions and for arcs swelling either
// way, worked by hand with text height 4 on segments of length 100.
#include <gtest/gtest.h>

#include <cmath>

#include "module/rods/rod_text_layout.h"

namespace {

using rods::kPi;
using rods::Point;

double Rad(double degrees) {
    return degrees * kPi / 180.0;
}

// Turns that differ by whole revolutions are the same turn.
double TurnBetween(double a, double b) {
    return std::remainder(a - b, 2 * kPi);
}

TEST(PlaceStraightDimension, ReadsLeftToRightOrUpwardsAndKeepsClear) {
    // Segment from the origin in direction `a`; the text goes to the middle moved by 2 in
    // direction `away`, turned by `r`, standing (0) or hanging (3).
    const struct {
        double a, r, away;
        int vertical;
    } cases[] = {
        {0, 0, 270, 3},     {45, 45, 315, 3},   {90, 90, 0, 3},     {100, 100, 190, 0},
        {119, 119, 209, 0}, {121, 301, 211, 3}, {150, 330, 240, 3}, {180, 0, 270, 3},
        {209, 29, 299, 3},  {211, 31, 301, 3},  {240, 60, 330, 3},  {270, 90, 0, 3},
        {299, 119, 29, 3},  {301, 301, 211, 3}, {330, 330, 240, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a);
        const Point q{100 * std::cos(Rad(c.a)), 100 * std::sin(Rad(c.a)), 0};
        const rods::SegmentText t = rods::PlaceStraightDimension({0, 0, 0}, q, 4.0);
        EXPECT_NEAR(TurnBetween(t.rotation, Rad(c.r)), 0.0, 1e-9);
        EXPECT_NEAR(t.at.x, q.x / 2 + 2 * std::cos(Rad(c.away)), 1e-9);
        EXPECT_NEAR(t.at.y, q.y / 2 + 2 * std::sin(Rad(c.away)), 1e-9);
        EXPECT_EQ(t.horizontal, 1);
        EXPECT_EQ(t.vertical, c.vertical);
        EXPECT_EQ(t.text, "100");
    }
}

TEST(PlaceArcDimension, OutsideTheArcMiddleTurnedByTheChord) {
    const double quarter = std::tan(kPi / 8);
    const double r45 = 100 / std::sqrt(2.0) + 2 / std::sqrt(2.0);
    const struct {
        const char* name;
        Point p, q;
        double bulge;
        Point at;
        double rotation;
        int vertical;
        const char* text;
    } cases[] = {
        // clang-format off
        // The quarter circle of radius 100 about the origin, both ways round: its middle is
        // at 45 degrees, the text 2 further out, standing on its bottom.
        {"quarter anticlockwise", {100, 0, 0}, {0, 100, 0}, quarter, {r45, r45, 0}, Rad(315), 1, "157"},
        {"quarter clockwise", {0, 100, 0}, {100, 0, 0}, -quarter, {r45, r45, 0}, Rad(315), 1, "157"},
        // The lower half circle from left to right: the text hangs below its lowest point.
        {"half circle", {-100, 0, 0}, {100, 0, 0}, 1.0, {0, -102, 0}, 0.0, 3, "314"},
        {"upper half circle", {-100, 0, 0}, {100, 0, 0}, -1.0, {0, 102, 0}, 0.0, 1, "314"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const rods::SegmentText t = rods::PlaceArcDimension(c.p, c.q, c.bulge, 4.0);
        EXPECT_NEAR(t.at.x, c.at.x, 1e-9);
        EXPECT_NEAR(t.at.y, c.at.y, 1e-9);
        EXPECT_NEAR(TurnBetween(t.rotation, c.rotation), 0.0, 1e-9);
        EXPECT_EQ(t.horizontal, 1);
        EXPECT_EQ(t.vertical, c.vertical);
        EXPECT_EQ(t.text, c.text);
    }
}

}  // namespace
