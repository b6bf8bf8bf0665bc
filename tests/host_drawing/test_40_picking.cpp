// Picking the nearest entity and object snaps.
#include "drawing_test_util.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/picking.h"

namespace host_test {
namespace {

class Picking : public DrawingTest {};

struct Pick {
    double x, y;
    const long* expected;  // null: nothing
};

void ExpectPicks(std::initializer_list<Pick> picks) {
    for (const Pick& c : picks) {
        sds_point p = {c.x, c.y, 0};
        sds_name picked = {0, 0};
        const bool found = host::PickEntityAt(p, picked);
        EXPECT_EQ(found, c.expected != nullptr) << c.x << "," << c.y;
        if (found && c.expected) {
            EXPECT_EQ(picked[0], c.expected[0]) << c.x << "," << c.y;
        }
    }
}

TEST_F(Picking, NearestWithinApertureLaterWinsTies) {
    // Aperture: 1000 * 3 / 500 = 6 units.
    ASSERT_EQ(MakeLine(0, 0, 100, 0), RTNORM);
    sds_name line;
    sds_entlast(line);
    ASSERT_EQ(MakeCircle(50, 50, 10), RTNORM);
    sds_name circle;
    sds_entlast(circle);
    const double bar[3][2] = {{0, 100}, {100, 100}, {200, 100}};
    const double bulges[3] = {0, 1, 0};  // a half circle from (100,100) to (200,100)
    ASSERT_EQ(MakePolyline(bar, 3, bulges), RTNORM);
    sds_name polyline;
    sds_entlast(polyline);
    ASSERT_EQ(MakeLine(0, 0, 100, 0), RTNORM);  // on top of the first line
    sds_name later;
    sds_entlast(later);

    ExpectPicks({{30, 5, later}, {30, 7, nullptr}, {50, 39, circle}, {50, 50, nullptr},
                 {60, 50, circle}, {50, 101, polyline}, {150, 48, polyline}, {150, 104, nullptr}});
    ASSERT_EQ(sds_entdel(later), RTNORM);
    sds_point p = {30, 5, 0};
    sds_name picked;
    ASSERT_TRUE(host::PickEntityAt(p, picked));
    EXPECT_EQ(picked[0], line[0]) << "deleted entities are not picked";
}

// A text is found by the box its characters cover as its alignment places it, a solid fill
// by its inside; every object within the aperture can be asked for, nearest first.
TEST_F(Picking, TextBoxesFollowAlignmentAndFillsTheirInside) {
    ASSERT_EQ(MakeLine(0, 0, 350, 0), RTNORM);
    sds_name line;
    sds_entlast(line);
    // Centred, hanging from its top 2 below the line: the line stays nearest on it.
    ASSERT_EQ(MakeText("350", 175, -2, 4, 1, 3), RTNORM);
    sds_name hanging;
    sds_entlast(hanging);
    // Right-aligned "Ø12", 10 high: 28.25 wide in the font, reaching back from x 100.
    ASSERT_EQ(MakeText("%%c12", 100, 50, 10, 2, 0), RTNORM);
    sds_name right;
    sds_entlast(right);
    ASSERT_EQ(MakeDisc(200, 200, 20), RTNORM);
    sds_name disc;
    sds_entlast(disc);
    ExpectPicks({{175, 0, line}, {175, -4, hanging}, {80, 55, right}, {65, 55, nullptr},
                 {200, 200, disc}});
    sds_point at = {175, 0, 0};
    sds_name near = {0, 0};
    ASSERT_EQ(sds_ssgetnear(at, near), RTNORM);
    long length = 0;
    sds_name first = {0, 0}, second = {0, 0};
    EXPECT_EQ(sds_sslength(near, &length), RTNORM);
    EXPECT_EQ(length, 2);
    sds_ssname(near, 0, first);
    sds_ssname(near, 1, second);
    EXPECT_EQ(first[0], line[0]);
    EXPECT_EQ(second[0], hanging[0]);
    sds_ssfree(near);
    sds_point nowhere = {500, 500, 0};
    EXPECT_EQ(sds_ssgetnear(nowhere, near), RTERROR);
}

TEST_F(Picking, ObjectSnaps) {
    ASSERT_EQ(MakeLine(0, 0, 100, 0), RTNORM);
    ASSERT_EQ(MakeCircle(50, 50, 10), RTNORM);
    struct Case {
        const char* mode;
        double x, y;
        int status;
        double sx, sy;
    } cases[] = {
        {"END", 97, 2, RTNORM, 100, 0},     {"_mid", 47, 1, RTNORM, 50, 0},
        {"CEN", 59, 52, RTNORM, 50, 50},    {"nea", 30, 3, RTNORM, 30, 0},
        {"END, mid", 52, 2, RTNORM, 50, 0}, {"END", 50, 30, RTERROR, 0, 0},
        {"", 5, 6, RTNORM, 5, 6},           {"bogus", 1, 1, RTERROR, 0, 0},
    };
    for (const Case& c : cases) {
        sds_point p = {c.x, c.y, 0}, result = {0, 0, 0};
        EXPECT_EQ(sds_osnap(p, c.mode, result), c.status) << c.mode;
        if (c.status == RTNORM) {
            EXPECT_NEAR(result[0], c.sx, 1e-9) << c.mode;
            EXPECT_NEAR(result[1], c.sy, 1e-9) << c.mode;
        }
    }
    // Running snaps apply unless suspended.
    resbuf mode;
    mode.restype = RTSHORT;
    mode.resval.rint = 1;
    sds_setvar("OSMODE", &mode);
    sds_point p = {98, 1, 0}, result;
    ASSERT_TRUE(host::SnapWithRunningModes(p, result));
    EXPECT_DOUBLE_EQ(result[0], 100);
    mode.resval.rint = 1 | SDS_OSMODE_SUSPEND;
    sds_setvar("OSMODE", &mode);
    EXPECT_FALSE(host::SnapWithRunningModes(p, result));
}

// Picks find entities at their present place, however far they were moved and however large.
TEST_F(Picking, PicksFollowEntitiesToWhereTheyAre) {
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(MakeLine(i * 10.0, 500, i * 10.0 + 5, 500), RTNORM);
    ASSERT_EQ(MakeLine(0, 0, 10, 0), RTNORM);
    sds_name moved, wide, circle;
    sds_entlast(moved);
    resbuf* list = sds_entget(moved);
    for (resbuf* node = list; node != nullptr; node = node->rbnext) {
        if (node->restype == 10 || node->restype == 11)
            node->resval.rpoint[0] += 1e6;
    }
    ASSERT_EQ(sds_entmod(list), RTNORM);
    sds_relrb(list);
    ASSERT_EQ(MakeLine(-1e7, -300, 1e7, -300), RTNORM);
    sds_entlast(wide);
    ASSERT_EQ(MakeCircle(0, 2000, 1000), RTNORM);
    sds_entlast(circle);
    ExpectPicks({{5, 0, nullptr}, {1e6 + 5, 2, moved}, {123456, -298, wide}, {0, 1002, circle},
                 {0, 2000, nullptr}});
}

}  // namespace
}  // namespace host_test
