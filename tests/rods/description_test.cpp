// Description and dimension texts: formats, reading direction, placement of the pieces, the
// segment that carries them, and where segment length texts go.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "module/rods/rod_description.h"

namespace {

using rods::kPi;
using rods::Point;
using rods::Vertex;

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
    EXPECT_EQ(rods::CountText(1), "");
    EXPECT_EQ(rods::CountText(0), "");
    EXPECT_EQ(rods::CountText(2), "2");
    EXPECT_EQ(rods::CountText(12), "12");
    EXPECT_EQ(rods::SignText(true), "%%c ");
    EXPECT_EQ(rods::SignText(false), "# ");
    EXPECT_EQ(rods::NumberText(7), "7");
}

TEST(DescriptionAngle, ReadsLeftToRightOrUpwards) {
    const struct {
        double alpha, phi;
        bool other;
    } cases[] = {
        {0.0, 0.0, false},
        {kPi / 6, kPi / 6, false},
        {kPi / 2, kPi / 2, false},
        {0.6 * kPi, 0.6 * kPi, true},
        {2 * kPi / 3, 2 * kPi / 3, true},
        {0.75 * kPi, 1.75 * kPi, false},
        {kPi, 0.0, false},
        {7 * kPi / 6, kPi / 6, false},
        {1.25 * kPi, 0.25 * kPi, false},
        {1.5 * kPi, 0.5 * kPi, false},
        {1.6 * kPi, 0.6 * kPi, false},
        {1.75 * kPi, 1.75 * kPi, false},
        {1.95 * kPi, 1.95 * kPi, false},
    };
    for (const auto& c : cases) {
        bool other = !c.other;
        EXPECT_NEAR(rods::DescriptionAngle(c.alpha, other), c.phi, 1e-9) << c.alpha / kPi << "π";
        EXPECT_EQ(other, c.other) << c.alpha / kPi << "π";
    }
}

TEST(LayoutDescription, HorizontalSegmentEitherWay) {
    // 12 mm ribbed, spacing 15, L = 250.4, count 1: H = (wm + 4.5 h) / 2.
    const double h = 5.0;
    const std::string main = rods::DescriptionMainText(12, 15, 250.4);
    const double wm = main.size() * 0.75 * h;
    const double half = (wm + 4.5 * h) / 2;
    for (bool reversed : {false, true}) {
        const Point p = reversed ? Point{100, 0, 0} : Point{0, 0, 0};
        const Point q = reversed ? Point{0, 0, 0} : Point{100, 0, 0};
        const auto lay = rods::LayoutDescription(p, q, h, main, "", "1");
        SCOPED_TRACE(reversed ? "right to left" : "left to right");
        EXPECT_NEAR(lay.angle, 0.0, 1e-9);
        EXPECT_EQ(lay.vertical, rods::kAlignBaseline);
        // The main text ends at +H, the number circle starts at -H: centred on x = 50.
        EXPECT_NEAR(lay.main.x + wm, 50 + half, 1e-9);
        EXPECT_NEAR(lay.main.y, 2.5, 1e-9);
        EXPECT_NEAR(lay.sign.x, lay.main.x, 1e-9);
        EXPECT_NEAR(lay.count.x, lay.main.x - 3 * h, 1e-9);
        EXPECT_NEAR(lay.number.x, 50 - (half + 0.75 * h - 0.5 * h), 1e-9);
        EXPECT_NEAR(lay.circleCentre.x, lay.number.x, 1e-9);
        EXPECT_NEAR(lay.circleCentre.y, h, 1e-9);
        EXPECT_NEAR(lay.circleCentre.x - lay.circleRadius, 50 - half - 0.75 * h - 0.5 * h, 1e-9);
        EXPECT_DOUBLE_EQ(lay.circleRadius, h);
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

std::vector<Vertex> Bar(std::initializer_list<Point> points) {
    std::vector<Vertex> out;
    for (const Point& p : points) {
        out.emplace_back(p.x, p.y, p.z);
    }
    return out;
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

TEST(DescriptionAnchor, PrefersTheLongestHorizontalStraightSegment) {
    const struct {
        const char* name;
        std::vector<Vertex> bar;
        int hooks;
        int index;
        Point anchor;
    } cases[] = {
        {"longest level leg wins over a longer slanted one",
         Bar({{0, 0, 0}, {50, 0, 0}, {250, 300, 0}, {330, 300, 0}}),
         0,
         2,
         {290, 300, 0}},
        {"first of equal level legs",
         Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {0, 50, 0}}),
         0,
         0,
         {50, 0, 0}},
        {"a later level leg longer only by rounding noise does not win",
         Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {-1e-9, 50, 0}}),
         0,
         0,
         {50, 0, 0}},
        {"a later level leg longer by the tolerance wins",
         Bar({{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {-0.001, 50, 0}}),
         0,
         2,
         {49.9995, 50, 0}},
        {"right to left counts as level",
         Bar({{200, 0, 0}, {0, 0, 0}, {0, 20, 0}}),
         0,
         0,
         {100, 0, 0}},
        {"no level leg: longest other",
         Bar({{0, 0, 0}, {0, 100, 0}, {30, 300, 0}}),
         0,
         1,
         {15, 200, 0}},
        {"hook strokes are not candidates",
         Bar({{-200, 0, 0}, {0, 0, 0}, {0, 100, 0}}),
         1,
         1,
         {0, 50, 0}},
        {"no straight bar segment", Bar({{0, 0, 0}}), 0, -1, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Point anchor;
        EXPECT_EQ(rods::DescriptionAnchor(c.bar, c.hooks, anchor), c.index) << c.name;
        EXPECT_NEAR(anchor.x, c.anchor.x, 1e-9) << c.name;
        EXPECT_NEAR(anchor.y, c.anchor.y, 1e-9) << c.name;
    }
}

TEST(PlaceSegmentDimension, SectorAndNeighbourDecideThePlace) {
    const double l = std::hypot(100, 10);
    const struct {
        const char* name;
        Point a, b;
        double beta;
        Point point;
        int horizontal, vertical;
    } cases[] = {
        {"first sector, level neighbour", {100, 10, 0}, {0, 0, 0}, 0.0, {l / 2, 10, 0}, 1, 1},
        {"first sector, steep neighbour", {100, 10, 0}, {0, 0, 0}, kPi / 4, {l / 2, 0, 0}, 1, 3},
        {"fifth sector, neighbour in band",
         {-100, -10, 0},
         {0, 0, 0},
         7 * kPi / 6,
         {-l / 2, 0, 0},
         1,
         1},
        {"fifth sector, otherwise", {-100, -10, 0}, {0, 0, 0}, 0.0, {-l / 2, -10, 0}, 1, 3},
        {"second sector", {10, 100, 0}, {0, 0, 0}, 0.0, {0, l / 2, 0}, 2, 2},
        {"second sector, neighbour in band",
         {10, 100, 0},
         {0, 0, 0},
         kPi / 2,
         {10, l / 2, 0},
         0,
         2},
        {"seventh sector", {10, -100, 0}, {0, 0, 0}, 0.0, {10, -l / 2, 0}, 0, 2},
        {"last sector, neighbour in band",
         {100, -10, 0},
         {0, 0, 0},
         1.7 * kPi,
         {l / 2, 0, 0},
         1,
         1},
    };
    for (const auto& c : cases) {
        const auto place = rods::PlaceSegmentDimension(c.a, c.b, c.beta);
        EXPECT_NEAR(place.point.x, c.point.x, 1e-9) << c.name;
        EXPECT_NEAR(place.point.y, c.point.y, 1e-9) << c.name;
        EXPECT_EQ(place.horizontal, c.horizontal) << c.name;
        EXPECT_EQ(place.vertical, c.vertical) << c.name;
        EXPECT_EQ(place.text, "100") << c.name;
    }
}

// Each sector holds its lower bound, and the neighbour bands hold theirs, not their upper one.
TEST(PlaceSegmentDimension, BoundsBelongToTheSectorAndBandAbove) {
    const double d = 100 * std::sqrt(0.5);
    const struct {
        const char* name;
        Point a;
        double beta;
        Point point;
        int horizontal, vertical;
    } cases[] = {
        {"π/4 opens the second sector, 5π/12 its band",
         {100, 100, 0},
         5 * kPi / 12,
         {100, d, 0},
         0,
         2},
        {"2π/3 ends the band of the second sector", {100, 100, 0}, 2 * kPi / 3, {0, d, 0}, 2, 2},
        {"π opens the fifth sector, 7π/6 its band", {-100, 0, 0}, 7 * kPi / 6, {-50, 0, 0}, 1, 1},
        {"17π/12 ends the band of the fifth sector",
         {-100, 0, 0},
         17 * kPi / 12,
         {-50, 0, 0},
         1,
         3},
        {"3π/2 opens the seventh sector, 5π/3 its band",
         {0, -100, 0},
         5 * kPi / 3,
         {0, -50, 0},
         2,
         2},
        {"23π/12 ends the band of the seventh sector",
         {0, -100, 0},
         23 * kPi / 12,
         {0, -50, 0},
         0,
         2},
    };
    for (const auto& c : cases) {
        const auto place = rods::PlaceSegmentDimension(c.a, {0, 0, 0}, c.beta);
        EXPECT_NEAR(place.point.x, c.point.x, 1e-9) << c.name;
        EXPECT_NEAR(place.point.y, c.point.y, 1e-9) << c.name;
        EXPECT_EQ(place.horizontal, c.horizontal) << c.name;
        EXPECT_EQ(place.vertical, c.vertical) << c.name;
    }
}

}  // namespace
