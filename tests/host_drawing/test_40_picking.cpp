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
    sds_point nowhere = {500, 500, 0};
    EXPECT_EQ(sds_ssgetnear(nowhere, picked), RTERROR);
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

}  // namespace
}  // namespace host_test
