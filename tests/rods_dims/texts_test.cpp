// The dimension toggle on bars drawn by WPR: one text per segment (legs, hooks, arcs) placed as
// worked by hand, on the dimension layer at the panel's height, taken away by the next toggle
// and by one U; bars lying on each other keep their own texts.

// Descriptions from the description sub-prompt on a 12 mm ribbed bar 250 long (spacing 15,
// count 1, text height 5): the description beside the bar switched off and on, and leaders
// to either side, number only and full, on the bar and on a projection line, each checked
// piece by piece against figures worked by hand and taken back whole by one U.
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

const std::vector<std::string> kPanel = {"PANEL diameter 12", "PANEL steel RB500W",
                                         "PANEL rounded 0",   "PANEL spacing 15",
                                         "PANEL count 1",     "PANEL letter 5"};

std::vector<std::string> With(const std::vector<std::string>& l) {
    return Join(kPanel, l);
}

void ExpectAt(const Piece& p, double x, double y) {
    EXPECT_NEAR(p.at[0], x, 1e-9) << p.type << " " << p.text;
    EXPECT_NEAR(p.at[1], y, 1e-9) << p.type << " " << p.text;
}

TEST_F(WprTest, LeadersAsWorkedByHand) {
    // W = 0.75 h (count + main characters) + 4.5 h; the shelf is 2 h, or 1.25 W in full; the
    // circle of radius h is centred one radius beyond the shelf's end E; the line of texts
    // starts at x0 = M.x + W/2 - wm - 0.15 W, M the middle of the shelf, at y0 = y + h/2.
    const struct {
        const char* name;
        bool projection;
        std::vector<std::string> answers;  // after EDPR's "Opis"
        double start[2], second[2], shelfEnd, centre;
        const char* main;  // null: number only
        double x0;
    } cases[] = {
        // clang-format off
        {"number only, to the right", false, {"T", "100,0", "100,0", "120,40", "200,40"}, {100, 0},
         {120, 40}, 130, 135, nullptr, 0},
        // A start 50 off the bar is refused; one 3 off is moved onto it.
        // W = 78.75, shelf 98.4375, M.x = 169.21875.
        {"full, to the right", false, {"N", "100,0", "100,50", "100,3", "120,40", "200,40"}, {100, 0},
         {120, 40}, 218.4375, 223.4375, "12 co 15 L= 250", 140.53125},
        // M.x = 70.78125: the texts are still pulled back towards -X.
        {"full, to the left", false, {"N", "100,0", "100,0", "120,40", "0,40"}, {100, 0}, {120, 40}, 21.5625,
         16.5625, "12 co 15 L= 250", 42.09375},
        // The main text leaves the length out: W = 52.5, shelf 65.625, M.x = 152.8125.
        {"full, on a projection line", true, {"N", "100,-100", "100,-100", "120,-60", "200,-60"},
         {100, -100}, {120, -60}, 185.625, 190.625, "12 co 15", 141.1875},
        // clang-format on
    };
    const char* const tags[] = {"OpisOdn",    "OpisOdn",    "OpisOdn-Nr",
                                "OpisOdn-Dl", "OpisOdn-Fi", "OpisOdn-LP"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // On a projection: WRP's horizontal line of the bar at y = -100.
        const std::vector<std::string> wrp = {"WRP",    "",    "50,0", "0,-100",
                                              "0,-100", "Nie", "",     "^C"};
        RunWpr(With(
            Join({"WPR", "0,0", "250,0", ""}, c.projection ? wrp : std::vector<std::string>{})));
        const std::string owner = c.projection ? testkit::LiveHandles().back() : HandleOfBar(0);
        const std::string before = SnapshotWithLayers();
        const std::vector<std::string> lines = Join({"EDPR", "Opis"}, c.answers);
        RunWpr(With(lines), false);

        const auto pieces = Tagged(kLeaderTags);
        ASSERT_EQ(pieces.size(), c.main != nullptr ? 6u : 3u);
        std::vector<std::string> handles;
        for (size_t i = 0; i < pieces.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(pieces[i].link.type, tags[i]);
            EXPECT_EQ(pieces[i].link.owner, owner);
            EXPECT_EQ(pieces[i].layer, "Opisy prętów");
            EXPECT_EQ(pieces[i].colour, 4);
            if (i > 0) {
                EXPECT_DOUBLE_EQ(pieces[i].height, 5.0) << "text height or circle radius";
            }
            if (pieces[i].type == "TEXT") {
                EXPECT_EQ(pieces[i].style, "STANDARD");
                EXPECT_EQ(pieces[i].rotation, 0.0);
            }
            handles.push_back(pieces[i].handle);
        }
        const double y = c.second[1];
        const auto& v = pieces[0].vertices;
        ASSERT_EQ(v.size(), 3u);
        const double expected[3][2] = {{c.start[0], c.start[1]}, {c.second[0], y}, {c.shelfEnd, y}};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(v[i].x, expected[i][0], 1e-9) << i;
            EXPECT_NEAR(v[i].y, expected[i][1], 1e-9) << i;
        }
        EXPECT_EQ(pieces[1].type, "CIRCLE");
        ExpectAt(pieces[1], c.centre, y);
        EXPECT_EQ(pieces[2].text, "1");
        ExpectAt(pieces[2], c.centre, y);
        EXPECT_EQ(pieces[2].horizontal * 10 + pieces[2].vertical, 12) << "centred both ways";
        if (c.main != nullptr) {
            const struct {
                const char* text;
                double x;
                int horizontal;
            } texts[] = {{c.main, c.x0, 0}, {"# ", c.x0, 2}, {"", c.x0 - 15, 2}};
            for (size_t i = 0; i < 3; ++i) {
                const Piece& t = pieces[3 + i];
                EXPECT_EQ(t.text, texts[i].text);
                ExpectAt(t, texts[i].x, y + 2.5);
                EXPECT_EQ(t.horizontal, texts[i].horizontal) << t.text;
                EXPECT_EQ(t.vertical, 0) << t.text;
            }
        }
        EXPECT_EQ(GroupMembers(), std::vector<std::vector<std::string>>{handles});
        EXPECT_EQ(LayerColour("Opisy prętów"), 4);
        rblist::Owned style(sds_tblsearch("STYLE", "ORV_SYMBOLE", 0));
        EXPECT_NE(style, nullptr);
        EXPECT_CLEAN_AUDIT();
        // The whole leader, its group, layer and style are one undo step.
        RunWpr({"U"}, false);
        EXPECT_EQ(SnapshotWithLayers(), before);
    }
}

TEST_F(WprTest, DescriptionOffAndOnLandsOnTheLongestSegmentAgain) {
    RunWpr(With({"WPR", "0,100", "0,0", "300,0", "300,50", ""}));
    const std::string bare = SnapshotWithLayers();
    // Enter takes the sub-prompt's default, the description beside the bar. It goes to the
    // middle of the 300 leg: the main text 16.875 before it and the number 40.625 before,
    // both 2.5 above (figures of a 15-character main text at h = 5).
    RunWpr(With({"EDPR", "Opis", "", "150,0"}), false);
    const auto first = Tagged({"Opis", "Opis-Nr"});
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[0].text, "12 co 15 L= 450");
    ExpectAt(first[0], 133.125, 2.5);
    ExpectAt(first[3], 109.375, 2.5);
    const std::string on = SnapshotWithLayers();
    // Picked on another leg: off, and on again where it was.
    RunWpr(With({"EDPR", "Opis", "P", "0,50"}), false);
    EXPECT_TRUE(Tagged({"Opis", "Opis-Nr"}).empty());
    const std::string off = SnapshotWithLayers();
    RunWpr(With({"EDPR", "Opis", "P", "300,25"}), false);
    const auto again = Tagged({"Opis", "Opis-Nr"});
    ASSERT_EQ(again.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(again[i].text, first[i].text);
        ExpectAt(again[i], first[i].at[0], first[i].at[1]);
    }
    // Each toggle is one undo step.
    RunWpr({"U"}, false);
    EXPECT_EQ(SnapshotWithLayers(), off);
    RunWpr({"U"}, false);
    EXPECT_EQ(SnapshotWithLayers(), on);
    RunWpr({"U"}, false);
    EXPECT_EQ(SnapshotWithLayers(), bare);
}

}  // namespace
