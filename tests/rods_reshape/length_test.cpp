// "Edycja_długości": the end of the picked straight segment moves by the edit length, with
// everything beyond it; shortenings that would leave the segment with no length are refused;
// bars of the same number change alike; each change is one undo step.
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

const std::vector<std::string> kRibbed = {"PANEL steel RB500W", "PANEL diameter 10",
                                          "PANEL rounded 0"};

std::vector<std::string> With(const std::vector<std::string>& l) {
    return Join(kRibbed, l);
}

TEST_F(WprTest, LengthEdited) {
    const std::vector<std::string> straight = {"WPR", "0,0", "300,0", ""};
    const std::vector<std::string> ell = {"WPR", "0,0", "200,0", "200,100", ""};
    const struct {
        const char* name;
        std::vector<std::string> draw;
        std::vector<std::string> answers;  // after EDPR's "Edycja_długości"
        const char* shape;
        bool changed;  // the bar was drawn again
    } cases[] = {
        // clang-format off
        {"shortened at the end", straight, {"", "50", "280,0"}, "0,0 250,0", true},
        {"shortened at the start", straight, {"Skróć", "50", "20,0"}, "50,0 300,0", true},
        {"an L lengthened: the upright leg moves with the end", ell, {"Przedłuż", "30", "190,0"},
         "0,0 230,0 230,100", true},
        {"the upright leg shortened at its top", ell, {"", "50", "200,90"}, "0,0 200,0 200,50", true},
        {"0 rebuilds the bar as it was", straight, {"", "0", "280,0"}, "0,0 300,0", true},
        {"a negative length is asked again", straight, {"", "-5", "50", "280,0"}, "0,0 250,0", true},
        {"Enter keeps the length of 10", straight, {"", "", "280,0"}, "0,0 290,0", true},
        {"shortening by the whole segment is refused", straight, {"", "300", "280,0"}, "0,0 300,0", false},
        {"as is one leaving less than 0.001", straight, {"", "299.9995", "280,0"}, "0,0 300,0", false},
        {"a pick beside the bar changes nothing", straight, {"", "50", "150,80"}, "0,0 300,0", false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(With(c.draw));
        RunWpr(With({"EDPR", kDimsOption, "150,0"}), false);
        const std::string handle = HandleOfBar(0);
        const std::string before = Snapshot();
        const std::vector<std::string> lines = Join({"EDPR", "Edycja_długości"}, c.answers);
        RunWpr(With(lines), false);
        const std::vector<Bar> bars = Bars();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(Shape(bars[0].vertices), c.shape);
        EXPECT_EQ(RecordText(bars[0].record), "Pręt 1 1 0 1 15 0 0");
        EXPECT_EQ(HandleOfBar(0) != handle, c.changed);
        // Fresh dimension texts for the bar that is there now.
        const std::vector<std::string> owners = OwnersOf({"Wymiary"});
        EXPECT_EQ(owners, std::vector<std::string>(bars[0].vertices.size() - 1, HandleOfBar(0)));
        EXPECT_CLEAN_AUDIT();
        if (c.changed) {
            RunWpr({"U"}, false);
            EXPECT_EQ(Snapshot(), before) << "one undo step";
        } else {
            EXPECT_EQ(Snapshot(), before);
        }
    }
}

TEST_F(WprTest, LengthEditedOnEveryBarOfTheNumber) {
    // Bars 1 and its drawn-out copy (200 long, at y = 0 and y = 100) and bar 2 at y = 200;
    // then two shortenings in one go, the second one on bar 2.
    RunWpr(DrawBars(3));
    SetNumbers({1, 1, 2});
    RunWpr(With({"EDPR", "Opis", "N", "50,0", "50,0", "70,-40", "150,-40"}), false);
    const std::string before = Snapshot();
    RunWpr(With({"EDPR", "Edycja_długości", "", "50", "180,0", "180,200", "^C", "^C"}), false);
    std::vector<std::string> shapes;
    for (const Bar& bar : Bars()) {
        shapes.push_back(Shape(bar.vertices) + " #" + std::to_string(bar.record.number));
    }
    EXPECT_EQ(shapes,
              (std::vector<std::string>{"0,0 150,0 #1", "0,100 150,100 #1", "0,200 150,200 #2"}));
    // The leader names the new bar and shows its new length.
    EXPECT_EQ(OwnersOf(kLeaderTags), std::vector<std::string>(6, HandleOfBar(0)));
    EXPECT_EQ(TextsOf({"OpisOdn-Dl"}), std::vector<std::string>{"OpisOdn-Dl:10 co 20 L= 150"});
    EXPECT_CLEAN_AUDIT();
    RunWpr({"U", "U"}, false);
    EXPECT_EQ(Snapshot(), before) << "one undo step each";
}

}  // namespace
