// "Zmień_średnicę/stal": the bar gets the panel's diameter, steel and rounding; hooks are
// refitted, dropped or asked for, the rounding made for the old bar is taken out, and the
// bars of its number, its texts and its leaders follow; one undo step.
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

std::vector<std::string> Panel(const char* steel, const char* diameter, const char* rounded) {
    return {std::string("PANEL steel ") + steel, std::string("PANEL diameter ") + diameter,
            std::string("PANEL rounded ") + rounded};
}

const std::vector<std::string> kStraight = {"WPR", "0,0", "200,0", ""};
const std::vector<std::string> kHooked = {"WPR", "0,0", "200,0", "", "0,-10", "200,-10"};
const std::vector<std::string> kL = {"WPR", "0,0", "200,0", "200,100", ""};

TEST_F(WprTest, DiameterAndSteelChanged) {
    const struct {
        const char* name;
        std::vector<std::string> draw;
        std::vector<std::string> change;
        const char* shape;
        const char* record;
        const char* layer;
        int hookQuestions;
    } cases[] = {
        {"smooth with both hooks to ribbed: both hook strokes go",
         Join(Panel("St0S", "10", "0"), kHooked),
         Join(Panel("RB500W", "10", "0"), {"EDPR", "Zmień_średnicę/stal", "100,0"}), "0,0 200,0",
         "Pręt 1 1 0 1 15 0 0", "Zbrojenie", 0},
        {"ribbed without hooks to smooth asks both hooks",
         Join(Panel("RB500W", "10", "0"), kStraight),
         Join(Panel("St0S", "10", "0"),
              {"EDPR", "Zmień_średnicę/stal", "100,0", "0,-10", "200,-10"}),
         "7.794,-4.5 0,0 200,0 192.206,-4.5", "Pręt 1 1 3 1 0 0 0", "Zbrojenie", 2},
        {"smooth 10 to smooth 16: hooks 14 long, no questions, main layer",
         Join(Panel("St0S", "10", "0"), kHooked),
         Join(Panel("St3S", "16", "0"), {"EDPR", "Zmień_średnicę/stal", "100,0"}),
         "12.124,-7 0,0 200,0 187.876,-7", "Pręt 1 1.6 3 1 3 0 0", "Zbrojenie główne", 0},
        {"rounding off: sharp corners at the old corner points",
         Join(Panel("RB500W", "10", "1"), kL),
         Join(Panel("RB500W", "10", "0"), {"EDPR", "Zmień_średnicę/stal", "100,0"}),
         "0,0 200,0 200,100", "Pręt 1 1 0 1 15 0 0", "Zbrojenie", 0},
        {"rounding of 10 mm (radius 7.5) replaced by that of 16 mm (radius 12)",
         Join(Panel("RB500W", "10", "1"), kL),
         Join(Panel("RB500W", "16", "1"), {"EDPR", "Zmień_średnicę/stal", "100,0"}),
         "0,0 188,0(0.4142) 200,12 200,100", "Pręt 1 1.6 0 1 15 1 0", "Zbrojenie główne", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(c.draw);
        const std::string before = Snapshot();
        const std::string out = RunWpr(c.change, false);
        const std::vector<Bar> bars = Bars();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(Shape(bars[0].vertices), c.shape);
        EXPECT_EQ(RecordText(bars[0].record), c.record);
        EXPECT_EQ(bars[0].layer, c.layer);
        int questions = 0;
        for (int id : {26, 27}) {
            questions += out.find(LoadUiString(id)) != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(questions, c.hookQuestions);
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), before) << "one undo step";
    }
}

TEST_F(WprTest, DiameterChangeKeepsArcsItDidNotMake) {
    // A polyline's arc of radius 125 and a half-turn arc are no rounding of a bar's corner.
    const struct {
        double bulge;
        const char* shape;
    } cases[] = {{0.5, "0,300(0.5000) 200,300 300,300"}, {1.0, "0,300(1.0000) 200,300 300,300"}};
    for (const auto& c : cases) {
        RunWpr({});
        CSDSPointExt a(0, 300, 0);
        a.bulge = c.bulge;
        ASSERT_EQ(CSDSPolyLine().Create({a, CSDSPointExt(200, 300, 0), CSDSPointExt(300, 300, 0)},
                                        false, "0", "CONTINUOUS", 256),
                  RTNORM);
        RunWpr(Join(Panel("RB500W", "10", "1"), {"EDPR", "zAmień_polilinię", "250,300"}), false);
        RunWpr(Join(Panel("RB500W", "12", "0"), {"EDPR", "Zmień_średnicę/stal", "250,300"}), false);
        const std::vector<Bar> bars = Bars();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(Shape(bars[0].vertices), c.shape);
    }
}

TEST_F(WprTest, DiameterChangeCarriesTextsLeadersAndCopies) {
    // Bar 1 at y = 0 with dimension texts, a description and a leader; a drawn-out copy with
    // the same number at y = 100; bar 2 at y = 200 stays as it was.
    RunWpr(Join(Panel("RB500W", "10", "0"), {"WPR", "0,0", "200,0", "", "WPR", "0,100", "200,100",
                                             "", "WPR", "0,200", "200,200", ""}));
    SetNumbers({1, 1, 2});
    RunWpr(
        Join(Panel("RB500W", "10", "0"), {"PANEL count 3", "EDPR", kDimsOption, "20,0", "Opis", "P",
                                          "20,0", "N", "20,0", "20,0", "40,-40", "150,-40"}),
        false);
    const std::string before = Snapshot();
    // The count and spacing the texts show stay, whatever the panel holds now.
    RunWpr(Join(Panel("RB500W", "16", "0"),
                {"PANEL count 15", "PANEL spacing 30", "EDPR", "Zmień_średnicę/stal", "190,0"}),
           false);
    const std::vector<Bar> bars = Bars();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(RecordText(bars[0].record), "Pręt 3 1 0 2 15 0 0") << "untouched";
    EXPECT_EQ(RecordText(bars[1].record), "Pręt 1 1.6 0 1 15 0 0");
    EXPECT_EQ(RecordText(bars[2].record), "Pręt 2 1.6 0 1 15 0 0");
    EXPECT_EQ(Shape(bars[1].vertices), "0,0 200,0");
    EXPECT_EQ(Shape(bars[2].vertices), "0,100 200,100");
    const std::string picked = EntityHandle(bars[1].name);
    EXPECT_EQ(OwnersOf({"Wymiary"}), std::vector<std::string>{picked});
    EXPECT_EQ(TextsOf({"Opis"}),
              (std::vector<std::string>{"Opis:16 co 20 L= 200", "Opis:# ", "Opis:3"}));
    EXPECT_EQ(OwnersOf(kLeaderTags), std::vector<std::string>(6, picked));
    EXPECT_EQ(TextsOf({"OpisOdn-Dl", "OpisOdn-LP"}),
              (std::vector<std::string>{"OpisOdn-Dl:16 co 20 L= 200", "OpisOdn-LP:3"}));
    EXPECT_CLEAN_AUDIT();
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before) << "one undo step";
}

}  // namespace
