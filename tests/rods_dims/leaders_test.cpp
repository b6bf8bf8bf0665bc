// Descriptions from the description sub-prompt on a 12 mm ribbed bar 250 long (spacing 15,
// count 1, text height 5): the description beside the bar switched off and on, and leaders
// to either side, number only and full, on the bar and on a projection line, each checked
// piece by piece against figures worked by hand and taken back whole by one U.
#include <cmath>

#include "tests/rods_dims/dims_kit.h"

namespace {

using namespace dims_kit;

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
