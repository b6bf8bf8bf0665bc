// EDPR's reshaping options on bars drawn by WPR: "Zmień_średnicę/stal" (the panel's diameter,
// steel and rounding; hooks refitted, dropped or asked for; the old rounding taken out),
// "Edycja_długości" (the end of the picked straight segment moves with everything beyond it;
// shortenings that leave no length are refused), "Dziel" (cut at a point of a straight segment,
// the second part taking the first free number, hooks asked so that each part of a hooked bar
// ends in hooks at both ends) and "zAmień_polilinię" (a plain polyline becomes a bar with the
// number WPR would give). The bars of the same number change alike and carry their texts and
// leaders; each change is one undo step.
#include <algorithm>

#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

// The panel's steel, diameter and rounding, then the lines.
std::vector<std::string> P(const char* steel, const char* diameter, const char* rounded,
                           const std::vector<std::string>& lines) {
    return Join({std::string("PANEL steel ") + steel, std::string("PANEL diameter ") + diameter,
                 std::string("PANEL rounded ") + rounded},
                lines);
}

// "shape record" of every bar in drawing order.
std::vector<std::string> Summary() {
    std::vector<std::string> out;
    for (const Bar& bar : RodBars()) {
        out.push_back(Shape(bar.vertices) + " " + RecordText(bar.record));
    }
    return out;
}

// The hook questions of the transcript (strings 26 to 31), in the order asked.
std::vector<int> HookQuestions(const std::string& transcript) {
    std::vector<std::pair<size_t, int>> found;
    for (int id = 26; id <= 31; ++id) {
        const std::string text = LoadUiString(id);
        for (size_t at = transcript.find(text); at != std::string::npos;
             at = transcript.find(text, at + 1)) {
            found.push_back({at, id});
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<int> ids;
    for (const auto& f : found) {
        ids.push_back(f.second);
    }
    return ids;
}

CSDSPointExt V(double x, double y, double bulge = 0.0) {
    CSDSPointExt v(x, y, 0.0);
    v.bulge = bulge;
    return v;
}

const std::vector<std::string> kStraight = {"WPR", "0,0", "200,0", ""};
const std::vector<std::string> kHooked = {"WPR", "0,0", "200,0", "", "0,-10", "200,-10"};
const std::vector<std::string> kL = {"WPR", "0,0", "200,0", "200,100", ""};
const std::vector<std::string> kLong = {"WPR", "0,0", "300,0", "", "EDPR", kDimsOption, "150,0"};
const std::vector<std::string> kEll = {"WPR", "0,0",  "200,0",     "200,100",
                                       "",    "EDPR", kDimsOption, "150,0"};
const std::vector<std::string> kTwo = {"WPR", "0,0", "300,0", "", "WPR", "0,100", "300,100", ""};
const char* const kDiameter = "Zmień_średnicę/stal";
const char* const kLength = "Edycja_długości";
const char* const kReplace = "zAmień_polilinię";

std::vector<std::string> Length(const std::vector<std::string>& answers) {
    return P("RB500W", "10", "0", Join({"EDPR", kLength}, answers));
}
std::vector<std::string> Divide(const std::vector<std::string>& answers) {
    return P("RB500W", "10", "0", Join({"EDPR", "Dziel"}, answers));
}
std::vector<std::string> Replace(const std::vector<std::string>& panel,
                                 const std::vector<std::string>& answers) {
    return Join({"PANEL steel RB500W", "PANEL diameter 10"}, panel,
                Join({"EDPR", kReplace}, answers));
}

TEST_F(WprTest, ReshapingAsWorkedByHand) {
    // Hooks of 10 mm smooth steel are 9 long at 30 degrees: 7.794 along, 4.5 across.
    const std::string ribbed = " Pręt 1 1 0 1 15 0 0";
    const std::vector<std::string> two = {"0,0 200,0 Pręt 1 1 0 1 15 0 0",
                                          "0,100 200,100 Pręt 2 1 0 2 15 0 0"};
    const struct {
        const char* name;
        std::vector<std::string> draw;
        std::vector<std::string> edit;
        std::vector<std::string> bars;  // "shape record" in drawing order
        std::vector<int> questions = {};
        int steps = 1;                            // undo steps taken; 0: nothing changed
        std::vector<CSDSPointExt> polyline = {};  // drawn by hand after `draw`
        bool closed = false;
    } cases[] = {
        // clang-format off
        {"smooth with both hooks to ribbed: both hook strokes go", P("St0S", "10", "0", kHooked),
         P("RB500W", "10", "0", {"EDPR", kDiameter, "100,0"}), {"0,0 200,0" + ribbed}},
        {"ribbed without hooks to smooth asks both hooks", P("RB500W", "10", "0", kStraight),
         P("St0S", "10", "0", {"EDPR", kDiameter, "100,0", "0,-10", "200,-10"}),
         {"7.794,-4.5 0,0 200,0 192.206,-4.5 Pręt 1 1 3 1 0 0 0"}, {26, 27}},
        {"smooth 10 to smooth 16: hooks 14 long, no questions", P("St0S", "10", "0", kHooked),
         P("St3S", "16", "0", {"EDPR", kDiameter, "100,0"}), {"12.124,-7 0,0 200,0 187.876,-7 Pręt 1 1.6 3 1 3 0 0"}},
        {"rounding off: sharp corners at the old corner points", P("RB500W", "10", "1", kL),
         P("RB500W", "10", "0", {"EDPR", kDiameter, "100,0"}), {"0,0 200,0 200,100" + ribbed}},
        {"rounding of 10 mm (radius 7.5) replaced by that of 16 mm (radius 12)", P("RB500W", "10", "1", kL),
         P("RB500W", "16", "1", {"EDPR", kDiameter, "100,0"}), {"0,0 188,0(0.4142) 200,12 200,100 Pręt 1 1.6 0 1 15 1 0"}},
        // A polyline's arc of radius 125 and a half-turn arc are no rounding of a bar's corner.
        {"an arc of a polyline is kept", {},
         Join(P("RB500W", "10", "1", {"EDPR", kReplace, "250,300", "^C"}), P("RB500W", "12", "0", {"EDPR", kDiameter, "250,300"})),
         {"0,300(0.5000) 200,300 300,300 Pręt 1 1.2 0 1 15 0 0"}, {}, 2, {V(0, 300, 0.5), V(200, 300), V(300, 300)}},
        {"a half-turn arc of a polyline is kept", {},
         Join(P("RB500W", "10", "1", {"EDPR", kReplace, "250,300", "^C"}), P("RB500W", "12", "0", {"EDPR", kDiameter, "250,300"})),
         {"0,300(1.0000) 200,300 300,300 Pręt 1 1.2 0 1 15 0 0"}, {}, 2, {V(0, 300, 1.0), V(200, 300), V(300, 300)}},

        {"shortened at the end", P("RB500W", "10", "0", kLong), Length({"", "50", "280,0"}), {"0,0 250,0" + ribbed}},
        {"shortened at the start", P("RB500W", "10", "0", kLong), Length({"Skróć", "50", "20,0"}), {"50,0 300,0" + ribbed}},
        {"an L lengthened: the upright leg moves with the end", P("RB500W", "10", "0", kEll),
         Length({"Przedłuż", "30", "190,0"}), {"0,0 230,0 230,100" + ribbed}},
        {"the upright leg shortened at its top", P("RB500W", "10", "0", kEll), Length({"", "50", "200,90"}),
         {"0,0 200,0 200,50" + ribbed}},
        {"0 rebuilds the bar as it was", P("RB500W", "10", "0", kLong), Length({"", "0", "280,0"}), {"0,0 300,0" + ribbed}},
        {"a negative length is asked again", P("RB500W", "10", "0", kLong), Length({"", "-5", "50", "280,0"}),
         {"0,0 250,0" + ribbed}},
        {"Enter keeps the length of 10", P("RB500W", "10", "0", kLong), Length({"", "", "280,0"}), {"0,0 290,0" + ribbed}},
        {"shortening by the whole segment is refused", P("RB500W", "10", "0", kLong), Length({"", "300", "280,0"}),
         {"0,0 300,0" + ribbed}, {}, 0},
        {"as is one leaving less than 0.001", P("RB500W", "10", "0", kLong), Length({"", "299.9995", "280,0"}),
         {"0,0 300,0" + ribbed}, {}, 0},
        {"a pick beside the bar changes nothing", P("RB500W", "10", "0", kLong), Length({"", "50", "150,80"}),
         {"0,0 300,0" + ribbed}, {}, 0},

        {"divided in the middle: 150 and 150, numbers 1 and the next (3)", P("RB500W", "10", "0", kTwo),
         Divide({"150,0", "150,0"}),
         {"0,100 300,100 Pręt 2 1 0 2 15 0 0", "0,0 150,0" + ribbed, "150,0 300,0 Pręt 4 1 0 3 15 0 0"}},
        {"divided with both hooks: strings 30 and 29, both parts hooked at both ends",
         P("St0S", "10", "0", {"WPR", "0,0", "300,0", "", "0,-10", "300,-10"}),
         Divide({"100,0", "150,0", "100,-10", "200,-10"}),
         {"7.794,-4.5 0,0 150,0 142.206,-4.5 Pręt 1 1 3 1 0 0 0", "157.794,-4.5 150,0 300,0 292.206,-4.5 Pręt 3 1 3 2 0 0 0"},
         {30, 29}},
        {"divided with a hook at the end only: strings 28, 30 and 29",
         P("St0S", "10", "0", {"WPR", "0,0", "300,0", "", "", "300,-10"}),
         Divide({"100,0", "150,0", "0,-10", "100,-10", "200,-10"}),
         {"7.794,-4.5 0,0 150,0 142.206,-4.5 Pręt 1 1 3 1 0 0 0", "157.794,-4.5 150,0 300,0 292.206,-4.5 Pręt 3 1 3 2 0 0 0"},
         {28, 30, 29}},
        {"divided with a hook at the start only: strings 30, 29 and 31; Esc leaves an end bare",
         P("St0S", "10", "0", {"WPR", "0,0", "300,0", "", "0,-10", ""}),
         Divide({"100,0", "150,0", "^C", "200,-10", "300,-10"}),
         {"7.794,-4.5 0,0 150,0 Pręt 1 1 1 1 0 0 0", "157.794,-4.5 150,0 300,0 292.206,-4.5 Pręt 3 1 3 2 0 0 0"},
         {30, 29, 31}},
        {"'o' starts the offset entry; the bar's ends divide nothing and are asked again",
         P("RB500W", "10", "0", {"WPR", "0,0", "300,0", ""}), Divide({"100,0", "0,0", "300,0", "o", "100,0", "50", "0"}),
         {"0,0 150,0" + ribbed, "150,0 300,0 Pręt 3 1 0 2 15 0 0"}},
        {"a gap left by ERASE: the part takes the free number 2, not 3 in use",
         P("RB500W", "10", "0", {"WPR", "0,0", "100,0", "", "WPR", "0,50", "100,50", "", "WPR", "0,100", "100,100", "",
                                 "ERASE", "50,50", ""}),
         Divide({"90,0", "50,0"}),
         {"0,100 100,100 Pręt 3 1 0 3 15 0 0", "0,0 50,0" + ribbed, "50,0 100,0 Pręt 4 1 0 2 15 0 0"}},
        {"divided at a corner: no segment of no length", P("RB500W", "10", "0", kL), Divide({"100,0", "200,0"}),
         {"0,0 200,0" + ribbed, "200,0 200,100 Pręt 3 1 0 2 15 0 0"}},

        // Two ribbed bars lie at y = 0 and y = 100; the polyline above them becomes bar 3.
        {"three vertices, 16 mm ribbed: number and ordinal 3 on the main layer", DrawBars(2),
         Replace({"PANEL diameter 16"}, {"100,300"}), Join(two, {"0,300 200,300 200,400 Pręt 3 1.6 0 3 15 0 0"}), {}, 1,
         {V(0, 300), V(200, 300), V(200, 400)}},
        {"an arc is kept; a LINE and a bar are refused and asked again", Join(DrawBars(2), {"LINE", "0,500", "100,500", ""}),
         Replace({}, {"50,500", "100,0", "250,300"}), Join(two, {"0,300(0.5000) 200,300 300,300 Pręt 3 1 0 3 15 0 0"}), {}, 1,
         {V(0, 300, 0.5), V(200, 300), V(300, 300)}},
        {"a closed polyline keeps its closing segment", DrawBars(2), Replace({}, {"100,300"}),
         Join(two, {"0,300 200,300 200,400 0,300 Pręt 3 1 0 3 15 0 0"}), {}, 1, {V(0, 300), V(200, 300), V(200, 400)}, true},
        {"smooth steel asks both hooks (9 long for 10 mm)", DrawBars(2), Replace({"PANEL steel St0S"}, {"100,300", "0,200", "200,200"}),
         Join(two, {"7.794,295.5 0,300 200,300 192.206,295.5 Pręt 3 1 3 3 0 0 0"}), {26, 27}, 1, {V(0, 300), V(200, 300)}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(Join({"PANEL steel RB500W", "PANEL diameter 10"}, c.draw));
        if (!c.polyline.empty()) {
            ASSERT_EQ(CSDSPolyLine().Create(c.polyline, c.closed, "0", "CONTINUOUS", 256), RTNORM);
        }
        const std::string before = Snapshot();
        const std::string out = RunWpr(c.edit, false);
        EXPECT_EQ(Summary(), c.bars) << out;
        EXPECT_EQ(HookQuestions(out), c.questions);
        for (const Bar& bar : RodBars()) {
            EXPECT_EQ(bar.layer, bar.record.diameter >= 1.2 ? "Zbrojenie główne" : "Zbrojenie");
            // The dimension texts made before are made again for the bar that is there now.
            if (std::ranges::count(c.draw, kDimsOption) > 0) {
                EXPECT_EQ(std::ranges::count(OwnersOf({"Wymiary"}), EntityHandle(bar.name)),
                          static_cast<long>(bar.vertices.size()) - 1);
            }
        }
        EXPECT_EQ(Polylines().size(), c.bars.size()) << "the polyline is gone";
        EXPECT_CLEAN_AUDIT();
        if (c.steps > 0) {
            EXPECT_NE(Snapshot(), before);
            RunWpr({"UNDO " + std::to_string(c.steps)}, false);
        }
        EXPECT_EQ(Snapshot(), before) << "one undo step each";
    }
}

// Bar 1 at y = 0 with its drawn-out copy of the same number at y = 100 and bar 2 at y = 200;
// bar 1 dimensioned, described and given a leader. The reshaping changes bar 1 and its copy
// alike, leaves bar 2, and makes the texts and leaders again for the new bar 1, with the count
// and spacing they showed whatever the panel holds now.
TEST_F(WprTest, ReshapingFollowsTheBarsOfTheNumberAndTheirTexts) {
    // clang-format off
    const std::vector<std::string> decorate = {"EDPR", kDimsOption, "190,0", "Opis", "P", "190,0",
                                               "N", "20,0", "20,0", "40,-40", "150,-40"};
    // clang-format on
    const struct {
        const char* name;
        std::vector<std::string> decoration;
        std::vector<std::string> edit;
        std::vector<std::string> bars;
        std::vector<std::string> texts;  // description and leader texts, "tag:text"
        std::vector<int> dimensioned;    // bars owning dimension texts
        int leadered;                    // the bar owning the leader
        int steps = 1;
    } cases[] = {
        // clang-format off
        {"diameter", P("RB500W", "10", "0", Join({"PANEL count 3"}, decorate)),
         P("RB500W", "16", "0", {"PANEL count 15", "PANEL spacing 30", "EDPR", kDiameter, "190,0"}),
         {"0,200 200,200 Pręt 3 1 0 2 15 0 0", "0,0 200,0 Pręt 1 1.6 0 1 15 0 0", "0,100 200,100 Pręt 2 1.6 0 1 15 0 0"},
         {"OpisOdn-Dl:16 co 20 L= 200", "OpisOdn-LP:3", "Opis:16 co 20 L= 200", "Opis:# ", "Opis:3", "Opis-Nr:1"}, {1}, 1},
        // Bar 1 divided at x = 80: the parts of bar 1 and of its copy take number 3.
        {"division", P("RB500W", "10", "0", Join({"PANEL count 41", "PANEL spacing 15"}, decorate)),
         P("RB500W", "10", "0", {"EDPR", "Dziel", "190,0", "80,0"}),
         {"0,200 200,200 Pręt 3 1 0 2 15 0 0", "0,0 80,0 Pręt 1 1 0 1 15 0 0", "80,0 200,0 Pręt 5 1 0 3 15 0 0",
          "0,100 80,100 Pręt 2 1 0 1 15 0 0", "80,100 200,100 Pręt 7 1 0 3 15 0 0"},
         {"OpisOdn-Dl:10 co 15 L= 80", "OpisOdn-LP:41", "Opis:10 co 15 L= 80", "Opis:# ", "Opis:41", "Opis-Nr:1",
          "Opis:10 co 15 L= 120", "Opis:# ", "Opis:41", "Opis-Nr:3"}, {1, 2}, 1},
        // Two shortenings in one go, the second one on bar 2.
        {"length", P("RB500W", "10", "0", {"EDPR", "Opis", "N", "50,0", "50,0", "70,-40", "150,-40"}),
         P("RB500W", "10", "0", {"EDPR", kLength, "", "50", "180,0", "180,200", "^C", "^C"}),
         {"0,0 150,0 Pręt 1 1 0 1 15 0 0", "0,100 150,100 Pręt 2 1 0 1 15 0 0", "0,200 150,200 Pręt 3 1 0 2 15 0 0"},
         {"OpisOdn-Dl:10 co 20 L= 150", "OpisOdn-LP:"}, {}, 0, 2},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(DrawBars(3));
        SetNumbers({1, 1, 2});
        RunWpr(c.decoration, false);
        const std::string before = Snapshot();
        RunWpr(c.edit, false);
        EXPECT_EQ(Summary(), c.bars);
        const std::vector<Bar> bars = RodBars();
        EXPECT_EQ(TextsOf({"Opis", "Opis-Nr", "OpisOdn-LP", "OpisOdn-Dl"}), c.texts);
        std::vector<std::string> dimensioned;
        for (int i : c.dimensioned) {
            dimensioned.push_back(EntityHandle(bars[i].name));
        }
        EXPECT_EQ(OwnersOf({"Wymiary"}), dimensioned);
        EXPECT_EQ(OwnersOf(kLeaderTags),
                  std::vector<std::string>(6, EntityHandle(bars[c.leadered].name)));
        EXPECT_CLEAN_AUDIT();
        RunWpr({"UNDO " + std::to_string(c.steps)}, false);
        EXPECT_EQ(Snapshot(), before) << "one undo step each";
    }
}

// Reshaping a copy that "Wstaw_kopię" grouped with its texts leaves no group naming the
// entities the reshaping erased (the copy and its texts, made again).
TEST_F(WprTest, ReshapedCopiesLeaveNoDeadGroupMembers) {
    const std::vector<std::vector<std::string>> reshapes = {
        {"Dziel", "150,-300", "100,-300"},
        {kLength, "Przedłuż", "30", "290,-300", "^C", "^C"},
        {kDiameter, "150,-300"},
    };
    for (const auto& reshape : reshapes) {
        SCOPED_TRACE(reshape.front());
        RunWpr(P("RB500W", "10", "0",
                 {"WPR", "0,0", "300,0", "", "EDPR", kDimsOption, "150,0", "Opis", "P", "150,0",
                  "^C", "Kopiuj", "Wstaw_kopię", "150,0", "0,0", "0,-300", "^C", "^C"}));
        const std::vector<std::string> lines = Join({"PANEL diameter 16", "EDPR"}, reshape);
        const std::string out = RunWpr(lines, false);
        // The bar keeps the copy's number: it is reshaped alike.
        EXPECT_EQ(RodBars().size(), reshape.front() == "Dziel" ? 4u : 2u) << out;
        EXPECT_CLEAN_AUDIT();  // the audit lists groups naming erased entities
    }
}

}  // namespace
