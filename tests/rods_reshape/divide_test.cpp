// "Dziel": a bar cut in two at a point of a straight segment, the second part numbered with
// the first number no bar carries;
// hooks asked so that each part of a hooked bar ends in hooks at both ends; copies of the
// same number divided alike; texts made again for the parts; one undo step.
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

std::vector<std::string> Bars(const char* steel, std::vector<std::string> lines) {
    lines.insert(lines.begin(),
                 {std::string("PANEL steel ") + steel, "PANEL diameter 10", "PANEL rounded 0"});
    return lines;
}

// "shape #number h<hooks> o<ordinal>" of every bar in drawing order.
std::vector<std::string> Summary() {
    std::vector<std::string> out;
    for (const Bar& bar : reshape_kit::Bars()) {
        out.push_back(Shape(bar.vertices) + " #" + std::to_string(bar.record.number) + " h" +
                      std::to_string(bar.record.hooks) + " o" + std::to_string(bar.record.ordinal));
    }
    return out;
}

// The hook questions of the transcript, in the order asked.
std::vector<int> HookQuestions(const std::string& transcript) {
    std::vector<std::pair<size_t, int>> found;
    for (int id : {28, 29, 30, 31}) {
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

TEST_F(WprTest, BarDivided) {
    // Hooks of 10 mm smooth steel are 9 long at 30 degrees: 7.794 along, 4.5 across.
    const std::vector<std::string> straight = {"WPR", "0,0", "300,0", ""};
    const struct {
        const char* name;
        std::vector<std::string> draw;
        std::vector<std::string> answers;  // after EDPR's "Dziel"
        std::vector<std::string> bars;
        std::vector<int> questions;
    } cases[] = {
        // clang-format off
        {"in the middle: 150 and 150, numbers 1 and the next (3)",
         Bars("RB500W", {"WPR", "0,0", "300,0", "", "WPR", "0,100", "300,100", ""}), {"150,0", "150,0"},
         {"0,100 300,100 #2 h0 o2", "0,0 150,0 #1 h0 o1", "150,0 300,0 #3 h0 o4"}, {}},
        {"both hooks: strings 30 and 29, both parts hooked at both ends",
         Bars("St0S", {"WPR", "0,0", "300,0", "", "0,-10", "300,-10"}),
         {"100,0", "150,0", "100,-10", "200,-10"},
         {"7.794,-4.5 0,0 150,0 142.206,-4.5 #1 h3 o1", "157.794,-4.5 150,0 300,0 292.206,-4.5 #2 h3 o3"},
         {30, 29}},
        {"a hook at the end only: strings 28, 30 and 29",
         Bars("St0S", {"WPR", "0,0", "300,0", "", "", "300,-10"}),
         {"100,0", "150,0", "0,-10", "100,-10", "200,-10"},
         {"7.794,-4.5 0,0 150,0 142.206,-4.5 #1 h3 o1", "157.794,-4.5 150,0 300,0 292.206,-4.5 #2 h3 o3"},
         {28, 30, 29}},
        {"a hook at the start only: strings 30, 29 and 31; Esc leaves an end bare",
         Bars("St0S", {"WPR", "0,0", "300,0", "", "0,-10", ""}),
         {"100,0", "150,0", "^C", "200,-10", "300,-10"},
         {"7.794,-4.5 0,0 150,0 #1 h1 o1", "157.794,-4.5 150,0 300,0 292.206,-4.5 #2 h3 o3"}, {30, 29, 31}},
        {"'o' starts the offset entry; the bar's ends divide nothing and are asked again",
         Bars("RB500W", straight), {"100,0", "0,0", "300,0", "o", "100,0", "50", "0"},
         {"0,0 150,0 #1 h0 o1", "150,0 300,0 #2 h0 o3"}, {}},
        {"a gap left by ERASE: the part takes the free number 2, not 3 in use",
         Bars("RB500W", {"WPR", "0,0", "100,0", "", "WPR", "0,50", "100,50", "", "WPR", "0,100",
                         "100,100", "", "ERASE", "50,50", ""}),
         {"90,0", "50,0"}, {"0,100 100,100 #3 h0 o3", "0,0 50,0 #1 h0 o1", "50,0 100,0 #2 h0 o4"}, {}},
        {"at a corner: no segment of no length", Bars("RB500W", {"WPR", "0,0", "200,0", "200,100", ""}),
         {"100,0", "200,0"}, {"0,0 200,0 #1 h0 o1", "200,0 200,100 #2 h0 o3"}, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(c.draw);
        const std::string before = Snapshot();
        const std::vector<std::string> lines = Join({"EDPR", "Dziel"}, c.answers);
        const std::string out = RunWpr(Bars("RB500W", lines), false);
        EXPECT_EQ(Summary(), c.bars);
        EXPECT_EQ(HookQuestions(out), c.questions);
        EXPECT_CLEAN_AUDIT();
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before) << "one undo step";
    }
}

TEST_F(WprTest, DivisionCarriesCopiesTextsAndLeaders) {
    // Bar 1 at y = 0 with dimension texts, a description and a leader, its drawn-out copy at
    // y = 100, bar 2 at y = 200; bar 1 divided at x = 80.
    RunWpr(DrawBars(3));
    SetNumbers({1, 1, 2});
    RunWpr(Bars("RB500W", {"PANEL count 41", "PANEL spacing 15", "EDPR", kDimsOption, "190,0",
                           "Opis", "P", "190,0", "N", "20,0", "20,0", "40,-40", "150,-40"}),
           false);
    const std::string before = Snapshot();
    RunWpr(Bars("RB500W", {"EDPR", "Dziel", "190,0", "80,0"}), false);
    // The parts' texts keep the count and spacing shown, whatever the panel holds now.
    EXPECT_EQ(TextsOf({"Opis", "OpisOdn-LP", "OpisOdn-Dl"}),
              (std::vector<std::string>{"OpisOdn-Dl:10 co 15 L= 80", "OpisOdn-LP:41",
                                        "Opis:10 co 15 L= 80", "Opis:# ", "Opis:41",
                                        "Opis:10 co 15 L= 120", "Opis:# ", "Opis:41"}));
    EXPECT_EQ(Summary(), (std::vector<std::string>{"0,200 200,200 #2 h0 o3", "0,0 80,0 #1 h0 o1",
                                                   "80,0 200,0 #3 h0 o5", "0,100 80,100 #1 h0 o2",
                                                   "80,100 200,100 #3 h0 o7"}));
    const std::vector<Bar> bars = reshape_kit::Bars();
    const std::string first = EntityHandle(bars[1].name);
    const std::string second = EntityHandle(bars[2].name);
    EXPECT_EQ(OwnersOf({"Wymiary"}), (std::vector<std::string>{first, second}));
    EXPECT_EQ(TextsOf({"Opis-Nr"}), (std::vector<std::string>{"Opis-Nr:1", "Opis-Nr:3"}));
    EXPECT_EQ(OwnersOf(kLeaderTags), std::vector<std::string>(6, first));
    EXPECT_CLEAN_AUDIT();
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before) << "one undo step";
}

// Reshaping a copy that "Wstaw_kopię" grouped with its texts leaves no group naming the
// entities the reshaping erased (the copy and its texts, made again).
TEST_F(WprTest, ReshapedCopiesLeaveNoDeadGroupMembers) {
    const std::vector<std::vector<std::string>> reshapes = {
        {"Dziel", "150,-300", "100,-300"},
        {"Edycja_długości", "Przedłuż", "30", "290,-300", "^C", "^C"},
        {"Zmień_średnicę/stal", "150,-300"},
    };
    for (const auto& reshape : reshapes) {
        SCOPED_TRACE(reshape.front());
        RunWpr(Bars("RB500W",
                    {"WPR", "0,0", "300,0", "", "EDPR", kDimsOption, "150,0", "Opis", "P", "150,0",
                     "^C", "Kopiuj", "Wstaw_kopię", "150,0", "0,0", "0,-300", "^C", "^C"}));
        const std::vector<std::string> lines = Join({"PANEL diameter 16", "EDPR"}, reshape);
        const std::string out = RunWpr(lines, false);
        // The bar keeps the copy's number: it is reshaped alike.
        EXPECT_EQ(reshape_kit::Bars().size(), reshape.front() == "Dziel" ? 4u : 2u) << out;
        EXPECT_CLEAN_AUDIT();  // the audit lists groups naming erased entities
    }
}

}  // namespace
