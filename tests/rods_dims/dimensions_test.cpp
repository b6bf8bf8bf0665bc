// The dimension toggle on bars drawn by WPR: one text per segment (legs, hooks, arcs) placed as
// worked by hand, on the dimension layer at the panel's height, taken away by the next toggle
// and by one U; bars lying on each other keep their own texts.
#include <cmath>

#include "tests/rods_dims/dims_kit.h"

namespace {

using namespace dims_kit;

struct Expected {
    const char* text;
    double x, y, rotation;
    int horizontal, vertical;
};

TEST_F(WprTest, DimensionToggleDrawsOneTextPerSegmentThenTakesThemAway) {
    const double r2 = std::sqrt(2.0);
    const struct {
        const char* name;
        std::vector<std::string> setup;
        int height;
        std::vector<Expected> texts;
    } cases[] = {
        // clang-format off
        // Hooks of 11 at 30 degrees: the first tip at (9.526, 5.5), the second at
        // (194.5, 90.474); each hook text is placed from the bar's end towards the tip.
        {"L bar with both hooks",
         {"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 0", "PANEL letterdim 4", "WPR", "0,0", "200,0", "200,100", "", "50,10", "190,50"},
         4,
         {{"11", 5.5, 5.5, 0, 1, 1}, {"200", 100, -2, 0, 1, 3}, {"100", 202, 50, kPi / 2, 1, 3}, {"11", 194.5, 94.5, 0, 2, 2}}},
        // The corner rounded with radius 9 about (191, 9): its text 3 outside the arc's middle.
        {"rounded L bar",
         {"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 1", "PANEL letterdim 6", "WPR", "0,0", "200,0", "200,100", ""},
         6,
         {{"191", 95.5, -3, 0, 1, 3}, {"14", 191 + 12 / r2, 9 - 12 / r2, kPi / 4, 1, 3}, {"91", 203, 54.5, kPi / 2, 1, 3}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(c.setup);
        const std::string before = SnapshotWithLayers();
        RunWpr({"PANEL letterdim " + std::to_string(c.height), "EDPR", kDimsOption, "30,0"}, false);
        const std::string drawn = SnapshotWithLayers();
        const auto texts = Tagged({"Wymiary"});
        ASSERT_EQ(texts.size(), c.texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(i);
            const Piece& t = texts[i];
            const Expected& e = c.texts[i];
            EXPECT_EQ(t.type, "TEXT");
            EXPECT_EQ(t.text, e.text);
            EXPECT_NEAR(t.at[0], e.x, 1e-3);
            EXPECT_NEAR(t.at[1], e.y, 1e-3);
            EXPECT_NEAR(t.rotation, e.rotation, 1e-9);
            EXPECT_EQ(t.horizontal, e.horizontal);
            EXPECT_EQ(t.vertical, e.vertical);
            EXPECT_EQ(t.height, c.height);
            EXPECT_EQ(t.layer, "Wymiary prętów");
            EXPECT_EQ(t.colour, 256);
            EXPECT_EQ(t.style, "STANDARD");
            EXPECT_EQ(t.link.owner, HandleOfBar(0));
        }
        EXPECT_EQ(LayerColour("Wymiary prętów"), 4);
        // One U takes the texts back with the layer made for them; REDO brings them again.
        RunWpr({"U"}, false);
        EXPECT_EQ(SnapshotWithLayers(), before);
        RunWpr({"REDO"}, false);
        EXPECT_EQ(SnapshotWithLayers(), drawn);
        // The second toggle takes them away, as one step too.
        RunWpr({"EDPR", kDimsOption, "30,0"}, false);
        EXPECT_TRUE(Tagged({"Wymiary"}).empty());
        EXPECT_EQ(testkit::LiveEntities().size(), 1u);
        RunWpr({"U"}, false);
        EXPECT_EQ(SnapshotWithLayers(), drawn);
        EXPECT_CLEAN_AUDIT();
    }
}

// The second bar lies on the first from x = 100 on: texts and leaders are found by the owner
// in their records, never by where they lie.
TEST_F(WprTest, BarsLyingOnEachOtherKeepTheirOwnTextsAndLeaders) {
    // In one command: on for the first bar, on for the second, off for the first.
    RunWpr({"PANEL steel RB500W", "PANEL diameter 12", "WPR", "0,0", "200,0", "", "WPR", "100,0",
            "300,0", "", "EDPR", kDimsOption, "50,0", "", "250,0", "", "50,0"});
    const auto texts = Tagged({"Wymiary"});
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].link.owner, HandleOfBar(1));
    // Taking texts away is an undo step of its own, also inside one command: on and off for
    // the first bar, off for the second, then one U brings back the second bar's only.
    RunWpr({"EDPR", kDimsOption, "50,0", "", "50,0", "", "250,0"}, false);
    EXPECT_TRUE(Tagged({"Wymiary"}).empty());
    RunWpr({"U"}, false);
    const auto back = Tagged({"Wymiary"});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].link.owner, HandleOfBar(1));
    // Two leaders from the same point along the same way, one for each bar; Enter repeats the
    // leader option.
    RunWpr({"PANEL letter 5", "EDPR", "Opis", "N", "50,0", "150,0", "150,50", "300,50", "", "250,0",
            "150,0", "150,50", "300,50"},
           false);
    const auto groups = GroupMembers();
    ASSERT_EQ(groups.size(), 2u);
    for (size_t g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        ASSERT_EQ(groups[g].size(), 6u);
        for (const std::string& member : groups[g]) {
            sds_name entity;
            sds_handent(member.c_str(), entity);
            EXPECT_EQ(Read(entity).link.owner, HandleOfBar(g));
        }
    }
    // Each leader is its own undo step: one U takes the second only.
    RunWpr({"U"}, false);
    ASSERT_EQ(GroupMembers().size(), 1u);
    EXPECT_EQ(Tagged(kLeaderTags).size(), 6u);
}

}  // namespace
