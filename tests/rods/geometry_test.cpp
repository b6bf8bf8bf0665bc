// Bar shape geometry against worked figures: hook lengths and sides, bend diameters, rounded
// corners, developed length and the near-a-segment tests.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "module/rods/rod_geometry.h"

namespace {

using rods::kPi;
using rods::Point;
using rods::Vertex;

std::vector<Vertex> Bar(std::initializer_list<Point> points) {
    std::vector<Vertex> out;
    for (const Point& p : points) {
        out.emplace_back(p.x, p.y, p.z);
    }
    return out;
}

TEST(HookLength, FollowsTheTwoFactorsAroundTwentyMillimetres) {
    const struct {
        double mm;
        int cm;
    } cases[] = {{6, 5},   {10, 9},  {12, 11}, {14, 12}, {16, 14},
                 {18, 16}, {20, 26}, {25, 32}, {32, 41}, {4.5, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(rods::HookLength(c.mm), c.cm) << c.mm << " mm";
    }
}

TEST(BendDiameter, IsTenDiametersSmoothAndFifteenRibbed) {
    EXPECT_DOUBLE_EQ(rods::BendDiameter(12, true), 12.0);
    EXPECT_DOUBLE_EQ(rods::BendDiameter(12, false), 18.0);
    EXPECT_DOUBLE_EQ(rods::BendDiameter(8, false), 12.0);
}

double Cross(const Point& a, const Point& b, const Point& p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// For every direction of the end segment and both sides, the hook tip lies on the picked side,
// leaves the end at 30 degrees and points back along the bar.
TEST(HookTip, LiesOnThePickedSideInEveryQuadrant) {
    const Point a{10, 20, 0};
    for (int deg = 0; deg < 360; deg += 15) {
        const double dir = deg * kPi / 180.0;
        const Point b{a.x + 100 * std::cos(dir), a.y + 100 * std::sin(dir), 0};
        const Point normal{-std::sin(dir), std::cos(dir), 0};
        for (double sideSign : {1.0, -1.0}) {
            const Point pick{a.x + 50 * std::cos(dir) + sideSign * 30 * normal.x,
                             a.y + 50 * std::sin(dir) + sideSign * 30 * normal.y, 0};
            const Point tip = rods::HookTip(a, b, pick, 11.0);
            SCOPED_TRACE(testing::Message() << deg << " degrees, side " << sideSign);
            EXPECT_GT(Cross(a, b, tip) * sideSign, 0.0);
            EXPECT_NEAR(rods::Distance2d(a, tip), 11.0, 1e-9);
            double between = std::fabs(rods::Angle(a, tip) - rods::Angle(a, b));
            if (between > kPi) {
                between = 2 * kPi - between;
            }
            EXPECT_NEAR(between, kPi / 6.0, 1e-9);
        }
    }
}

TEST(HookTip, WorkedCases) {
    const struct {
        const char* name;
        Point a, b, pick;
        Point tip;
    } cases[] = {
        {"horizontal right, picked above",
         {0, 0, 0},
         {100, 0, 0},
         {50, 10, 0},
         {10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6), 0}},
        {"horizontal right, picked on the line goes above",
         {0, 0, 0},
         {100, 0, 0},
         {50, 0, 0},
         {10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6), 0}},
        {"vertical up, picked left",
         {0, 0, 0},
         {0, 100, 0},
         {-5, 50, 0},
         {10 * std::cos(2 * kPi / 3), 10 * std::sin(2 * kPi / 3), 0}},
        {"vertical up, picked right",
         {0, 0, 0},
         {0, 100, 0},
         {5, 50, 0},
         {10 * std::cos(kPi / 3), 10 * std::sin(kPi / 3), 0}},
        {"falling line, picked below",
         {0, 0, 0},
         {-100, 100, 0},
         {-50, 0, 0},
         {10 * std::cos(11 * kPi / 12), 10 * std::sin(11 * kPi / 12), 0}},
    };
    for (const auto& c : cases) {
        const Point tip = rods::HookTip(c.a, c.b, c.pick, 10.0);
        EXPECT_NEAR(tip.x, c.tip.x, 1e-9) << c.name;
        EXPECT_NEAR(tip.y, c.tip.y, 1e-9) << c.name;
    }
}

TEST(TurnDirection, IsTheSignOfTheTurn) {
    EXPECT_EQ(rods::TurnDirection({0, 0, 0}, {100, 0, 0}, {100, 100, 0}), 1.0);
    EXPECT_EQ(rods::TurnDirection({0, 0, 0}, {100, 0, 0}, {100, -100, 0}), -1.0);
    EXPECT_EQ(rods::TurnDirection({0, 0, 0}, {-100, 0, 0}, {-100, 100, 0}), -1.0);
    EXPECT_EQ(rods::TurnDirection({0, 100, 0}, {0, 0, 0}, {100, 0, 0}), 1.0);
}

TEST(RoundCorners, LShapedBarOfTwelveMillimetreSmoothSteel) {
    for (double turn : {1.0, -1.0}) {
        auto bar = Bar({{0, 0, 0}, {100, 0, 0}, {100, 100 * turn, 0}});
        rods::RoundCorners(bar, rods::BendDiameter(12, true), true, rods::kNoHooks);
        ASSERT_EQ(bar.size(), 4u);
        EXPECT_NEAR(bar[1].x, 94.0, 1e-9);
        EXPECT_NEAR(bar[1].y, 0.0, 1e-9);
        EXPECT_NEAR(bar[1].bulge, 0.41421356 * turn, 1e-8);
        EXPECT_NEAR(bar[2].x, 100.0, 1e-9);
        EXPECT_NEAR(bar[2].y, 6.0 * turn, 1e-9);
        EXPECT_EQ(bar[2].bulge, 0.0);
        EXPECT_NEAR(rods::BarLength(bar), 197.42, 0.005);
        EXPECT_NEAR(rods::BarLength(bar), 2 * 94 + 6 * kPi / 2, 1e-9);
    }
}

TEST(RoundCorners, RibbedSteelBendsWithNineCentimetreRadius) {
    auto bar = Bar({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}});
    rods::RoundCorners(bar, rods::BendDiameter(12, false), false, rods::kNoHooks);
    ASSERT_EQ(bar.size(), 4u);
    EXPECT_NEAR(bar[1].x, 91.0, 1e-9);
    EXPECT_NEAR(bar[2].y, 9.0, 1e-9);
}

TEST(RoundCorners, CasesThatStaySharpOrDouble) {
    const struct {
        const char* name;
        std::vector<Vertex> bar;
        bool smooth;
        int hooks;
        size_t size;
    } cases[] = {
        {"legs shorter than the tangent", Bar({{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}), true, 0, 3},
        {"hairpin", Bar({{0, 0, 0}, {100, 0, 0}, {0, 0.5, 0}}), true, 0, 3},
        {"straight on doubles the vertex", Bar({{0, 0, 0}, {50, 0, 0}, {100, 0, 0}}), true, 0, 4},
        {"two vertices", Bar({{0, 0, 0}, {50, 0, 0}}), true, 0, 2},
        {"one vertex", Bar({{0, 0, 0}}), false, 0, 1},
        {"no vertex", {}, false, 0, 0},
        {"first hook: only the corner after the bar's first leg",
         Bar({{8, 5, 0}, {0, 0, 0}, {100, 0, 0}, {100, 100, 0}}), true, rods::kFirstHook, 5},
        {"second hook: the corner before it stays sharp",
         Bar({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {95, 92, 0}}), true, rods::kSecondHook, 5},
    };
    for (auto c : cases) {
        rods::RoundCorners(c.bar, 12.0, c.smooth, c.hooks);
        EXPECT_EQ(c.bar.size(), c.size) << c.name;
    }
}

TEST(RoundCorners, KeepsTheCornersNextToBothHooksSharp) {
    // Hook, U-shaped bar of three legs, hook.
    auto bar = Bar({{8, 5, 0}, {0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}, {8, 95, 0}});
    rods::RoundCorners(bar, 12.0, true, rods::kBothHooks);
    ASSERT_EQ(bar.size(), 8u);
    // Hook tips and the end vertices stay where they were.
    EXPECT_DOUBLE_EQ(bar[0].x, 8.0);
    EXPECT_DOUBLE_EQ(bar[1].x, 0.0);
    EXPECT_DOUBLE_EQ(bar[1].y, 0.0);
    EXPECT_DOUBLE_EQ(bar[6].x, 0.0);
    EXPECT_DOUBLE_EQ(bar[6].y, 100.0);
    EXPECT_DOUBLE_EQ(bar[7].y, 95.0);
    EXPECT_EQ(bar[0].bulge, 0.0);
    EXPECT_EQ(bar[1].bulge, 0.0);
    EXPECT_GT(bar[2].bulge, 0.0);
    EXPECT_GT(bar[4].bulge, 0.0);
}

TEST(BarLength, SumsChordsAndArcs) {
    auto bar = Bar({{0, 0, 5}, {30, 40, 0}, {30, 0, 0}});
    EXPECT_DOUBLE_EQ(rods::BarLength(bar), 90.0);
    // A half circle of diameter 10 (bulge 1).
    auto arc = Bar({{0, 0, 0}, {10, 0, 0}});
    arc[0].bulge = 1.0;
    EXPECT_NEAR(rods::BarLength(arc), 5 * kPi, 1e-9);
    EXPECT_EQ(rods::BarLength({}), 0.0);
}

TEST(BarSegments, SkipHookStrokes) {
    const struct {
        int n, hooks, first, last;
    } cases[] = {{3, 0, 0, 1}, {4, 1, 1, 2}, {4, 2, 0, 1}, {5, 3, 1, 2}, {2, 0, 0, 0}};
    for (const auto& c : cases) {
        const auto r = rods::BarSegments(c.n, c.hooks);
        EXPECT_EQ(r.first, c.first) << c.n << "/" << c.hooks;
        EXPECT_EQ(r.last, c.last) << c.n << "/" << c.hooks;
    }
}

TEST(IsNearSegment, Cases) {
    const double t = 10.0;  // VIEWSIZE 1000
    const struct {
        const char* name;
        Point a, b, pick;
        bool near;
        Point nearest;
    } cases[] = {
        {"on an end", {0, 0, 0}, {100, 0, 0}, {100, 0, 0}, true, {100, 0, 0}},
        {"exactly the tolerance above", {0, 0, 0}, {100, 0, 0}, {50, 10, 0}, true, {50, 0, 0}},
        {"just beyond the tolerance", {0, 0, 0}, {100, 0, 0}, {50, 10.01, 0}, false, {50, 0, 0}},
        {"beyond the first end", {0, 0, 0}, {100, 0, 0}, {-5, 3, 0}, true, {0, 0, 0}},
        {"beyond the second end", {0, 0, 0}, {100, 0, 0}, {106, 0, 0}, true, {100, 0, 0}},
        {"vertical, beside", {5, 0, 0}, {5, 100, 0}, {12, 40, 0}, true, {5, 40, 0}},
        {"vertical, far", {5, 0, 0}, {5, 100, 0}, {-12, 40, 0}, false, {5, 40, 0}},
        {"slanted foot", {0, 0, 0}, {100, 100, 0}, {45, 55, 0}, true, {50, 50, 0}},
        {"slanted, too far", {0, 0, 0}, {100, 100, 0}, {40, 60, 0}, false, {50, 50, 0}},
    };
    for (const auto& c : cases) {
        Point nearest;
        EXPECT_EQ(rods::IsNearSegment(c.a, c.b, c.pick, t, nearest), c.near) << c.name;
        EXPECT_NEAR(nearest.x, c.nearest.x, 1e-9) << c.name;
        EXPECT_NEAR(nearest.y, c.nearest.y, 1e-9) << c.name;
    }
}

TEST(IsNearLine, Cases) {
    const double t = 10.0;
    const struct {
        const char* name;
        Point a, b, pick;
        bool near;
    } cases[] = {
        {"on a horizontal line", {0, 0, 0}, {100, 0, 0}, {500, 0, 0}, true},
        {"beside a horizontal line", {0, 0, 0}, {100, 0, 0}, {50, 9, 0}, true},
        {"off a horizontal line", {0, 0, 0}, {100, 0, 0}, {50, 11, 0}, false},
        {"within the band of a steep line", {0, 0, 0}, {1, 100, 0}, {0.5, 10, 0}, true},
        {"vertical, beside", {100, 0, 0}, {100, 50, 0}, {105, 20, 0}, true},
        {"vertical, mirrored across the axis is not near",
         {-100, 0, 0},
         {-100, 50, 0},
         {100, 20, 0},
         false},
        {"vertical, mirrored the other way", {100, 0, 0}, {100, 50, 0}, {-100, 20, 0}, false},
        {"vertical at zero", {0, 0, 0}, {0, 50, 0}, {-9, 20, 0}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::IsNearLine(c.a, c.b, c.pick, t), c.near) << c.name;
    }
}

}  // namespace
