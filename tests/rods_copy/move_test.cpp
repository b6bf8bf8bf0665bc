// Moving a bar: its description, dimension text and leader go along by the move made (locked
// to an axis in orthogonal mode, the locked point snapped), nothing else moves, and one U
// takes it back; Esc at the base point or during the drag, or a drag back onto the base point,
// moves nothing. Projection lines dragged along an axis start on the base point's axis.
#include "tests/rods_copy/copy_kit.h"

namespace {

using namespace copy_kit;

TEST_F(WprTest, MovingABarCarriesItsWholeGroup) {
    const struct {
        const char* name;
        std::vector<std::string> setup;    // after the bars
        std::vector<std::string> answers;  // after the pick
        double dx, dy;                     // 0, 0: nothing moves
    } cases[] = {
        // clang-format off
        {"free", {}, {"0,200", "300,250"}, 300, 50},
        {"orthogonal, horizontal", {"SETVAR ORTHOMODE 1"}, {"0,200", "300,250"}, 300, 0},
        {"orthogonal, near the base's X", {"SETVAR ORTHOMODE 1"}, {"0,200", "15,500"}, 0, 300},
        // The locked point (403,200) is snapped to the line's end 3.2 away.
        {"orthogonal, snapped", {"LINE", "404,203", "500,300", "", "SETVAR ORTHOMODE 1", "SETVAR OSMODE 1"},
         {"0,200", "403,260"}, 404, 3},
        {"onto the base point", {}, {"0,200", "0,200"}, 0, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> setup = Bars(5, {3, 4}, {3}, {3, 4});
        setup.insert(setup.end(), c.setup.begin(), c.setup.end());
        RunWpr(setup);
        const std::string bar = HandleOfBar(2);
        std::vector<std::string> group = OwnedBy(bar, kAllLinkTags);
        ASSERT_EQ(group.size(), 5u + 1u + 6u) << "description, dimension text, leader";
        group.push_back(bar);
        const std::string before = Snapshot();
        const auto points = AllPoints();

        const std::vector<std::string> lines = Join({"EDPR", "Przesuń", "10,200"}, c.answers);
        RunWpr(lines, false);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0);
        EXPECT_CLEAN_AUDIT();
        if (c.dx == 0 && c.dy == 0) {
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        const auto moved = AllPoints();
        ASSERT_EQ(moved.size(), points.size());
        for (const auto& [handle, was] : points) {
            SCOPED_TRACE(handle);
            const bool carried = std::find(group.begin(), group.end(), handle) != group.end();
            const auto& now = moved.at(handle);
            ASSERT_EQ(now.size(), was.size());
            for (size_t i = 0; i < was.size(); ++i) {
                EXPECT_NEAR(now[i][0], was[i][0] + (carried ? c.dx : 0), 1e-9);
                EXPECT_NEAR(now[i][1], was[i][1] + (carried ? c.dy : 0), 1e-9);
                EXPECT_EQ(now[i][2], was[i][2]);
            }
        }
        EXPECT_EQ(RodBars().at(2).record.number, 3);
        EXPECT_EQ(OwnedBy(bar, kAllLinkTags).size(), 12u) << "the records still name the bar";
        EXPECT_EQ(GroupMembers().size(), 2u) << "the leaders keep their groups";
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before);
    }
}

// The lines of a projection are first brought onto the base point's X (or Y), each by its
// start, then carried like a bar's group.
TEST_F(WprTest, DragAlongAnAxisAlignsTheLinesFirst) {
    const struct {
        const char* axis;
        std::vector<std::array<double, 3>> original, copy;  // start and end of each line
    } cases[] = {
        {"x", {{0, 10, 0}, {100, 10, 0}}, {{0, 110, 0}, {100, 110, 0}}},
        {"y", {{50, 0, 0}, {150, 0, 0}}, {{50, 100, 0}, {150, 100, 0}}},
        {"", {{50, 10, 0}, {150, 10, 0}}, {{50, 110, 0}, {150, 110, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axis);
        const std::string axis = c.axis;
        host::RegisterVerb("TDRAG", [axis](const std::vector<std::string>&) {
            CObslugaPreta rod(ModulePanel());
            sds_name all = {0, 0};
            sds_ssget("X", nullptr, nullptr, nullptr, all);
            sds_name made = {0, 0};
            sds_point moved = {0, 0, 0};
            EXPECT_TRUE(rod.DragRodGroup(all, made, moved, "_COPY", axis));
            long count = 0;
            sds_sslength(made, &count);
            EXPECT_EQ(count, 1);
            EXPECT_EQ(moved[1], 100.0);
            sds_ssfree(all);
            sds_ssfree(made);
            return true;
        });
        RunWpr({"LINE", "50,10", "150,10", "", "TDRAG", "0,0", "0,100"});
        const auto lines = testkit::LiveHandles();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(PointsOf(lines[0]), c.original);
        EXPECT_EQ(PointsOf(lines[1]), c.copy);
    }
}

}  // namespace
