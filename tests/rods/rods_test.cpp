// The bar rules without a host: hook lengths, the corners that stay sharp, the near-a-segment
// tests, numbering, and description and dimension texts and placement. Hook tips, rounded
// corners and developed lengths are checked on drawn bars (tests/scenarios_wpr).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "module/rods/rod_description.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_numbering.h"

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
        {"vertical, mirrored: not near", {-100, 0, 0}, {-100, 50, 0}, {100, 20, 0}, false},
        {"vertical, mirrored the other way", {100, 0, 0}, {100, 50, 0}, {-100, 20, 0}, false},
        {"vertical at zero", {0, 0, 0}, {0, 50, 0}, {-9, 20, 0}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::IsNearLine(c.a, c.b, c.pick, t), c.near) << c.name;
    }
}

TEST(FirstNumberGap, Cases) {
    const struct {
        std::vector<double> numbers;
        int gap;
    } cases[] = {
        {{}, -1},          {{1}, -1},      {{1, 1}, -1}, {{2, 1, 3}, -1},
        {{1, 2, 4, 5}, 3}, {{4, 1, 4}, 2}, {{2}, 1},     {{1, 2, 2, 7}, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::FirstNumberGap(c.numbers), c.gap) << ::testing::PrintToString(c.numbers);
    }
}

TEST(RenumberedFrom, FollowsDrawingOrderAndKeepsSharedNumbers) {
    const struct {
        std::vector<int> numbers;
        int from;
        std::vector<int> result;
    } cases[] = {
        {{1, 2, 4, 5}, 3, {1, 2, 3, 4}},
        // Drawing order, not number order, decides who gets the lower number.
        {{1, 5, 2, 4}, 3, {1, 3, 2, 4}},
        {{1, 4, 4}, 2, {1, 2, 2}},
        {{7, 1, 9, 7, 9}, 2, {2, 1, 3, 2, 3}},
        {{}, 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::RenumberedFrom(c.numbers, c.from), c.result)
            << ::testing::PrintToString(c.numbers);
    }
}

TEST(DescriptionTexts, Formats) {
    const struct {
        double d, s, length;
        const char* main;
        const char* leader;
    } cases[] = {
        {12, 15, 250.4, "12 co 15 L= 250", "12 co 15 L= 250"},
        {5.5, 0, 120.6, "5.5 L= 121", "5.5 L= 121"},
        {4.5, 20, 99.5, "4.5 co 20 L= 100", "4.5 co 20 L= 100"},
        {8, -1, 300, "8 L= 300", "8 L= 300"},
        {10, 12.5, 0.0, "10 co 12 L= 0", "10 co 12"},
        {5.5, 10, 0.0, "5.5 co 10 L= 0", "5.5 co 10"},
        {16, 0, 0.0, "16 L= 0", "16"},
        {4.5, 0, 0.0004, "4.5 L= 0", "4.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rods::DescriptionMainText(c.d, c.s, c.length), c.main);
        EXPECT_EQ(rods::LeaderMainText(c.d, c.s, c.length), c.leader);
    }
    // Values of many digits come out whole.
    const std::string huge = rods::DescriptionMainText(12, 1e200, 1e300);
    ASSERT_EQ(huge.rfind("12 co ", 0), 0u);
    const size_t length = huge.find(" L= ");
    ASSERT_NE(length, std::string::npos);
    EXPECT_EQ(std::strtod(huge.c_str() + 6, nullptr), 1e200);
    EXPECT_EQ(std::strtod(huge.c_str() + length + 4, nullptr), 1e300);
    EXPECT_EQ(std::strtod(rods::LeaderMainText(1e300, 0, 0).c_str(), nullptr), 1e300);
    EXPECT_EQ(rods::CountText(0), "");
    EXPECT_EQ(rods::CountText(12), "12");
}

TEST(DescriptionAngle, ReadsLeftToRightOrUpwards) {
    const struct {
        double alpha, phi;
        bool other;
    } cases[] = {
        // clang-format off
        {0.0, 0.0, false},                {kPi / 6, kPi / 6, false},         {kPi / 2, kPi / 2, false},
        {0.6 * kPi, 0.6 * kPi, true},     {2 * kPi / 3, 2 * kPi / 3, true},  {0.75 * kPi, 1.75 * kPi, false},
        {kPi, 0.0, false},                {7 * kPi / 6, kPi / 6, false},     {1.25 * kPi, 0.25 * kPi, false},
        {1.5 * kPi, 0.5 * kPi, false},    {1.6 * kPi, 0.6 * kPi, false},     {1.75 * kPi, 1.75 * kPi, false},
        {1.95 * kPi, 1.95 * kPi, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        bool other = !c.other;
        EXPECT_NEAR(rods::DescriptionAngle(c.alpha, other), c.phi, 1e-9) << c.alpha / kPi << "π";
        EXPECT_EQ(other, c.other) << c.alpha / kPi << "π";
    }
}

TEST(LayoutDescription, CountTextWidensTheLineAndTextsHangOnTheOtherSide) {
    const double h = 4.0;
    const auto one = rods::LayoutDescription({0, 0, 0}, {100, 0, 0}, h, "8 L= 300", "", "3");
    const auto two = rods::LayoutDescription({0, 0, 0}, {100, 0, 0}, h, "8 L= 300", "2", "3");
    EXPECT_NEAR(two.main.x - one.main.x, 0.75 * h / 2, 1e-9);
    EXPECT_NEAR(two.number.x - one.number.x, -0.75 * h / 2, 1e-9);

    // A segment at 108 degrees: texts along it, hanging on its right-hand side.
    const double a = 0.6 * kPi;
    const auto lay = rods::LayoutDescription({0, 0, 0}, {100 * std::cos(a), 100 * std::sin(a), 0},
                                             h, "8 L= 300", "", "3");
    EXPECT_NEAR(lay.angle, a, 1e-9);
    EXPECT_EQ(lay.vertical, rods::kAlignTop);
    const Point m{50 * std::cos(a), 50 * std::sin(a), 0};
    const double across =
        (lay.circleCentre.x - m.x) * -std::sin(a) + (lay.circleCentre.y - m.y) * std::cos(a);
    EXPECT_NEAR(across, -h, 1e-9);
}

TEST(FindDescriptionSegment, SkipsArcsAndHookStrokes) {
    // Hook stroke, leg, rounded corner (arc), leg.
    auto bar = Bar({{8, 5, 0}, {0, 0, 0}, {94, 0, 0}, {100, 6, 0}, {100, 100, 0}});
    bar[2].bulge = 0.41421356;
    const double t = 10.0;
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 1, {50, 2, 0}, t), 1);
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 1, {98, 3, 0}, t), 1) << "arc skipped";
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 1, {100, 50, 0}, t), 3);
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 1, {6, 6, 0}, t), 1) << "hook stroke skipped";
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 0, {6, 6, 0}, t), 0);
    EXPECT_EQ(rods::FindDescriptionSegment(bar, 1, {300, 300, 0}, t), -1);
    EXPECT_EQ(rods::FindDescriptionSegment({}, 0, {0, 0, 0}, t), -1);
    EXPECT_EQ(rods::FindDescriptionSegment(Bar({{0, 0, 0}}), 3, {0, 0, 0}, t), -1);
}

// The longest level straight leg carries the description; a later leg must be longer by more
// than rounding noise to win over an equal one.
TEST(DescriptionAnchor, PrefersTheLongestHorizontalStraightSegment) {
    const struct {
        std::vector<Vertex> bar;
        int hooks, index;
        Point anchor;
    } cases[] = {
        {Bar({{0, 0, 0}, {50, 0, 0}, {250, 300, 0}, {330, 300, 0}}), 0, 2, {290, 300, 0}},
        {Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {0, 50, 0}}), 0, 0, {50, 0, 0}},
        {Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {-1e-9, 50, 0}}), 0, 0, {50, 0, 0}},
        {Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {-0.001, 50, 0}}), 0, 2, {49.9995, 50, 0}},
        {Bar({{200, 0, 0}, {0, 0, 0}, {0, 20, 0}}), 0, 0, {100, 0, 0}},     // right to left
        {Bar({{0, 0, 0}, {0, 100, 0}, {30, 300, 0}}), 0, 1, {15, 200, 0}},  // no level leg
        {Bar({{-200, 0, 0}, {0, 0, 0}, {0, 100, 0}}), 1, 1, {0, 50, 0}},    // hook stroke
        {Bar({{0, 0, 0}}), 0, -1, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.anchor.x) + "," + testing::PrintToString(c.anchor.y));
        Point anchor;
        EXPECT_EQ(rods::DescriptionAnchor(c.bar, c.hooks, anchor), c.index);
        EXPECT_NEAR(anchor.x, c.anchor.x, 1e-9);
        EXPECT_NEAR(anchor.y, c.anchor.y, 1e-9);
    }
}

// The sector of the segment's direction and whether the neighbour's angle falls in the
// sector's band decide the place; each sector and band holds its lower bound, not its upper.
TEST(PlaceSegmentDimension, SectorAndNeighbourDecideThePlace) {
    const double l = std::hypot(100, 10) / 2;
    const double d = 100 * std::sqrt(0.5);
    const struct {
        Point a;
        double beta;
        Point point;
        int horizontal, vertical;
    } cases[] = {
        {{100, 10, 0}, 0.0, {l, 10, 0}, 1, 1},             // first sector, level neighbour
        {{100, 10, 0}, kPi / 4, {l, 0, 0}, 1, 3},          // first sector, steep neighbour
        {{-100, -10, 0}, 7 * kPi / 6, {-l, 0, 0}, 1, 1},   // fifth sector, in band
        {{-100, -10, 0}, 0.0, {-l, -10, 0}, 1, 3},         // fifth sector, otherwise
        {{10, 100, 0}, 0.0, {0, l, 0}, 2, 2},              // second sector
        {{10, 100, 0}, kPi / 2, {10, l, 0}, 0, 2},         // second sector, in band
        {{10, -100, 0}, 0.0, {10, -l, 0}, 0, 2},           // seventh sector
        {{100, -10, 0}, 1.7 * kPi, {l, 0, 0}, 1, 1},       // last sector, in band
        {{100, 100, 0}, 5 * kPi / 12, {100, d, 0}, 0, 2},  // π/4 opens sector 2, 5π/12 its band
        {{100, 100, 0}, 2 * kPi / 3, {0, d, 0}, 2, 2},     // 2π/3 ends the band
        {{-100, 0, 0}, 7 * kPi / 6, {-50, 0, 0}, 1, 1},    // π opens sector 5, 7π/6 its band
        {{-100, 0, 0}, 17 * kPi / 12, {-50, 0, 0}, 1, 3},  // 17π/12 ends the band
        {{0, -100, 0}, 5 * kPi / 3, {0, -50, 0}, 2, 2},    // 3π/2 opens sector 7, 5π/3 its band
        {{0, -100, 0}, 23 * kPi / 12, {0, -50, 0}, 0, 2},  // 23π/12 ends the band
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a.x << "," << c.a.y << " beta " << c.beta / kPi);
        const auto place = rods::PlaceSegmentDimension(c.a, {0, 0, 0}, c.beta);
        EXPECT_NEAR(place.point.x, c.point.x, 1e-9);
        EXPECT_NEAR(place.point.y, c.point.y, 1e-9);
        EXPECT_EQ(place.horizontal, c.horizontal);
        EXPECT_EQ(place.vertical, c.vertical);
    }
    EXPECT_EQ(rods::PlaceSegmentDimension({100, 10, 0}, {0, 0, 0}, 0).text, "100");
}

}  // namespace
