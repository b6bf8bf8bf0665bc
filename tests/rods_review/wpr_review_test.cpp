// WPR sessions through the whole program, checked against hand-worked figures: hook tips for
// every kind of end segment, double-clicked points, and the selection sets of the numbering.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/document.h"
#include "host/host.h"
#include "host/resbuf_count.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/rods/obsluga_preta.h"
#include "platform/script_panel.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

const char* const kKey = "ORV_ARMAVO";
const double kPi = std::acos(-1.0);

struct Bar {
    sds_name name = {0, 0};
    std::vector<CSDSPointExt> vertices;
    CRodXDataParameters record;
};

// Runs the lines; every result-buffer list the session made is released by its end.
std::string RunWpr(const std::vector<std::string>& lines) {
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    const long live = host::LiveResbufCount();
    std::string transcript = testkit::RunScenario(lines, options);
    EXPECT_EQ(host::LiveResbufCount(), live) << "a result buffer leaked";
    return transcript;
}

std::vector<Bar> Bars() {
    std::vector<Bar> bars;
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) {
        return bars;
    }
    long length = 0;
    sds_sslength(all, &length);
    CSDSXDataPret xdata;
    for (long i = 0; i < length; ++i) {
        Bar bar;
        sds_ssname(all, i, bar.name);
        if (!IsBar(bar.name, kKey, "Pręt")) {
            continue;
        }
        CObslugaPreta::LoadRodVertices(bar.name, bar.vertices);
        xdata.ReadRodRecord(bar.name, kKey, bar.record);
        bars.push_back(bar);
    }
    sds_ssfree(all);
    return bars;
}

class WprReview : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_CLEAN_AUDIT(); }
};

// A 12 mm smooth bar has hooks of 11 cm. The first end segment runs from A = (0,0) to the
// second pick; the hook side is picked, Enter refuses the second hook. Tips worked by hand
// from the side rules (vertical, rising and falling lines, points on the line).
TEST_F(WprReview, FirstHookTipForEveryKindOfEndSegment) {
    const struct {
        const char* name;
        const char* second;
        const char* side;
        double thetaDegrees;
    } cases[] = {
        {"right, picked above", "100,0", "50,10", 30},
        {"right, picked below", "100,0", "50,-10", -30},
        {"left, picked above", "-100,0", "-50,10", 150},
        {"rising to the lower left, picked above", "-100,-100", "-50,0", 195},
        {"rising to the lower left, picked below", "-100,-100", "-50,-90", 255},
        {"falling to the upper left, picked below", "-100,100", "-50,0", 165},
        {"falling to the upper left, picked above", "-100,100", "-50,90", 105},
        {"falling to the lower right, picked above", "100,-100", "50,0", 345},
        {"falling to the lower right, picked below", "100,-100", "50,-90", 285},
        {"falling to the lower right, picked on the line", "100,-100", "50,-50", 345},
        {"vertical down, picked right", "0,-100", "10,-50", 300},
        {"vertical down, picked left", "0,-100", "-10,-50", 240},
        {"vertical up, picked on the line", "0,100", "0,50", 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr({"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 0", "WPR", "0,0", c.second,
                "", c.side, ""});
        const auto bars = Bars();
        ASSERT_EQ(bars.size(), 1u);
        ASSERT_EQ(bars[0].vertices.size(), 3u);
        EXPECT_EQ(bars[0].record.hooks, 1);
        const double theta = c.thetaDegrees * kPi / 180.0;
        EXPECT_NEAR(bars[0].vertices[0].x, 11 * std::cos(theta), 1e-9);
        EXPECT_NEAR(bars[0].vertices[0].y, 11 * std::sin(theta), 1e-9);
        EXPECT_EQ(bars[0].vertices[1].x, 0.0);
        EXPECT_EQ(bars[0].vertices[1].y, 0.0);
    }
}

// Rounded corners turning both ways on one bar: a left turn gives a positive bulge, a right
// turn a negative one, each tan(π/8) for a right angle, with 9 cm tangents for 12 mm ribbed.
TEST_F(WprReview, CornersTurningBothWaysBulgeWithTheTurn) {
    RunWpr({"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 1", "WPR", "0,0", "100,0",
            "100,100", "200,100", ""});
    const auto bars = Bars();
    ASSERT_EQ(bars.size(), 1u);
    const auto& v = bars[0].vertices;
    ASSERT_EQ(v.size(), 6u);
    const double bulge = std::tan(kPi / 8);
    const double expected[6][3] = {{0, 0, 0},         {91, 0, bulge}, {100, 9, 0},
                                   {100, 91, -bulge}, {109, 100, 0},  {200, 100, 0}};
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_NEAR(v[i].x, expected[i][0], 1e-9) << i;
        EXPECT_NEAR(v[i].y, expected[i][1], 1e-9) << i;
        EXPECT_NEAR(v[i].bulge, expected[i][2], 1e-9) << i;
    }
    EXPECT_NEAR(CObslugaPreta::BarLength(v), 91 + 82 + 91 + 2 * 9 * kPi / 2, 1e-9);
    EXPECT_EQ(bars[0].record.rounded, 1);
}

// A point picked twice (a double click, or a typed point repeated) must not leave a segment
// of no length: its direction is undefined, so the hook on it pointed along +X whatever the
// bar did, and the real corner beside it stayed sharp with rounding on.
TEST_F(WprReview, RepeatedPicksDrawTheSameBarAsSinglePicks) {
    const std::vector<std::string> hooks = {"50,10", "80,110"};
    std::vector<std::string> single = {"PANEL diameter 12",
                                       "PANEL steel St0S",
                                       "PANEL rounded 1",
                                       "WPR",
                                       "0,0",
                                       "100,0",
                                       "100,100",
                                       ""};
    single.insert(single.end(), hooks.begin(), hooks.end());
    RunWpr(single);
    const auto expected = Bars();
    ASSERT_EQ(expected.size(), 1u);

    std::vector<std::string> doubled = {
        "PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 1", "WPR", "0,0", "0,0", "100,0",
        "100.0004,0",        "100,100",          "100,100",         ""};
    doubled.insert(doubled.end(), hooks.begin(), hooks.end());
    RunWpr(doubled);
    const auto bars = Bars();
    ASSERT_EQ(bars.size(), 1u);
    ASSERT_EQ(bars[0].vertices.size(), expected[0].vertices.size());
    for (size_t i = 0; i < bars[0].vertices.size(); ++i) {
        EXPECT_NEAR(bars[0].vertices[i].x, expected[0].vertices[i].x, 1e-9) << i;
        EXPECT_NEAR(bars[0].vertices[i].y, expected[0].vertices[i].y, 1e-9) << i;
        EXPECT_NEAR(bars[0].vertices[i].bulge, expected[0].vertices[i].bulge, 1e-9) << i;
    }
    EXPECT_EQ(bars[0].record.hooks, 3);
    // Only the bar is left: no rubber line of the repeated picks survives.
    EXPECT_EQ(testkit::LiveEntities().size(), 1u);
}

// Picks that all fall on one point make no bar, and no record lands on another entity.
TEST_F(WprReview, PicksOnOnePointMakeNoBar) {
    RunWpr({"PANEL steel RB500W", "LINE", "0,0", "50,0", "", "WPR", "5,5", "5,5", "5.0002,5", ""});
    EXPECT_TRUE(Bars().empty());
    const auto entities = testkit::LiveEntities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].type, "LINE");
    EXPECT_EQ(entities[0].groups.find("ACAD_XDICTIONARY"), std::string::npos);
}

// A new selection set's slot number: the host reuses the lowest free slot, so a set that
// somebody forgot to free shows as a higher number.
long ProbeSetSlot() {
    sds_name probe = {0, 0};
    EXPECT_EQ(sds_ssadd(nullptr, nullptr, probe), RTNORM);
    const long slot = probe[0];
    sds_ssfree(probe);
    return slot;
}

// The numbering looks at the pick-first selection to give it back; the host's copy it takes
// must be freed, or each count holds one of the host's selection sets for good.
TEST_F(WprReview, CountingBarsKeepsThePickFirstSelectionAndFreesItsSets) {
    host::NewDrawing();
    CSDSLine line;
    sds_point a = {0, 0, 0};
    sds_point b = {10, 0, 0};
    ASSERT_EQ(line.Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name made = {0, 0};
    sds_entlast(made);
    sds_name set = {0, 0};
    ASSERT_EQ(sds_ssadd(made, nullptr, set), RTNORM);
    ASSERT_EQ(sds_sssetfirst(nullptr, set), RTNORM);
    sds_ssfree(set);

    const long before = ProbeSetSlot();
    {
        CObslugaPreta rod(nullptr);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(rod.CountRods(i % 2), 0);
        }
    }
    EXPECT_EQ(ProbeSetSlot(), before);

    resbuf* grips = nullptr;
    resbuf* picked = nullptr;
    ASSERT_EQ(sds_ssgetfirst(&grips, &picked), RTNORM);
    ASSERT_NE(picked, nullptr);
    long length = 0;
    sds_sslength(picked->resval.rlname, &length);
    EXPECT_EQ(length, 1);
    sds_name first = {0, 0};
    sds_ssname(picked->resval.rlname, 0, first);
    EXPECT_EQ(first[0], made[0]);
    sds_ssfree(picked->resval.rlname);
    sds_relrb(picked);
    sds_relrb(grips);
    sds_sssetfirst(nullptr, nullptr);
}

}  // namespace
