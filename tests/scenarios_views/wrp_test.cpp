// WRP through the whole program: the projection line of a bar over its body, dragged (held to
// an axis in orthogonal mode), shifted and repeated, with the bar's record; the remembered
// answers; a leader on a projection; one undo step per projection.
#include "tests/scenarios_views/views_kit.h"

namespace {

using namespace views_kit;

// A 12 mm smooth bar (0,0)-(100,0)-(100,50) with hooks at both ends; the second stroke reaches
// beyond the body, to X 105.5.
// clang-format off
const std::vector<std::string> kHookedBar = {
    "PANEL diameter 12", "PANEL steel St0S", "PANEL count 3", "PANEL spacing 15",
    "WPR", "0,0", "100,0", "100,50", "", "-10,10", "110,60"};
// clang-format on

struct Line {
    double x0, y0, x1, y1;
};

struct Case {
    const char* name;
    std::vector<std::string> answers;  // after WRP
    const char* tag;
    std::vector<Line> lines;
    const char* leader = nullptr;  // the main text of a leader drawn from the first line
};

const Case kCases[] = {
    // clang-format off
    {"horizontal over the body, dropped at the base point's level",
     {"", "50,0", "0,-100", "0,-100", "Nie", ""}, "RzutPoziomy", {{0, -100, 100, -100}}},
    // A description on a leader from a projection line leaves the length out.
    {"described on a leader", {"", "50,0", "0,-100", "0,-100", "Nie", "", "^C", "EDPR", "Opis",
     "Na_odnośniku", "50,-100", "50,-100", "50,-80", "100,-80", "^C"}, "RzutPoziomy",
     {{0, -100, 100, -100}}, "12 co 15"},
    {"shifted toward the side, repeated three times below",
     {"Poziomy", "50,0", "0,-100", "0,-100", "Tak", "0,-300", "5", "", "0,-400"}, "RzutPoziomy",
     {{0, -105, 100, -105}, {0, -120, 100, -120}, {0, -135, 100, -135}, {0, -150, 100, -150}}},
    {"repeated above", {"", "50,0", "0,-100", "0,-100", "Nie", "Tak", "0,100"}, "RzutPoziomy",
     {{0, -100, 100, -100}, {0, -85, 100, -85}, {0, -70, 100, -70}, {0, -55, 100, -55}}},
    {"dragged freely", {"", "50,0", "0,-100", "3,-150", "Nie", ""}, "RzutPoziomy", {{3, -150, 103, -150}}},
    {"held to the vertical in orthogonal mode", {"", "50,0", "0,-100", "3,-150", "Nie", ""}, "RzutPoziomy",
     {{0, -150, 100, -150}}},
    {"vertical along the right side, dropped at the base point's X",
     {"pIonowy", "50,0", "300,0", "300,0", "Nie", ""}, "RzutPionowy", {{300, 0, 300, 50}}},
    {"vertical shifted toward the side", {"I", "50,0", "300,0", "300,0", "Tak", "200,0", "10", "Nie"},
     "RzutPionowy", {{290, 0, 290, 50}}},
    // clang-format on
};

TEST_F(ViewsTest, WrpDrawsProjectionLinesWithTheBarsRecord) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = kHookedBar;
        if (std::string(c.name).find("orthogonal") != std::string::npos)
            lines.push_back("SETVAR ORTHOMODE 1");
        lines.push_back("WRP");
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        lines.push_back("^C");
        const std::string transcript = RunWpr(lines);
        CRodXDataParameters bar = Polylines().at(0).record;
        ASSERT_EQ(bar.hooks, 3);
        const std::vector<Projection> found = Projections();
        ASSERT_EQ(found.size(), c.lines.size()) << transcript;
        for (size_t i = 0; i < found.size(); ++i) {
            const Projection& p = found[i];
            EXPECT_NEAR(p.from[0], c.lines[i].x0, 1e-9) << i;
            EXPECT_NEAR(p.from[1], c.lines[i].y0, 1e-9) << i;
            EXPECT_NEAR(p.to[0], c.lines[i].x1, 1e-9) << i;
            EXPECT_NEAR(p.to[1], c.lines[i].y1, 1e-9) << i;
            EXPECT_EQ(p.layer, "Zbrojenie główne");
            EXPECT_EQ(p.colour, 2);
            bar.type = c.tag;
            EXPECT_EQ(RecordText(p.record), RecordText(bar));
        }
        if (c.leader != nullptr) {
            const std::vector<Piece> main = Tagged({"OpisOdn-Dl"});
            ASSERT_EQ(main.size(), 1u) << transcript;
            EXPECT_EQ(main[0].text, c.leader);
            EXPECT_EQ(main[0].link.owner, found[0].handle);
        }
        EXPECT_CLEAN_AUDIT();
    }
}

TEST_F(ViewsTest, WrpRemembersNoForBothQuestionsAndIsOneUndoStepPerProjection) {
    std::vector<std::string> lines = kHookedBar;
    lines[0] = "PANEL diameter 10";
    RunWpr(lines);
    const std::string before = Snapshot();
    const std::string transcript =
        RunWpr({"PANEL count 3", "WRP", "", "50,0", "0,-100", "0,-100", "Nie", "", "", "50,0",
                "0,-200", "0,-200", "", "Tak", "0,-400", "^C"},
               false);
    EXPECT_EQ(Count(transcript, "Odsunąć <Tak>:"), 1) << transcript;
    EXPECT_EQ(Count(transcript, "Powielić  <Nie>:"), 2) << transcript;
    EXPECT_EQ(Count(transcript, "Odsunąć <Nie>:"), 1) << transcript;
    const std::vector<Projection> found = Projections();
    ASSERT_EQ(found.size(), 5u) << transcript;
    EXPECT_EQ(found[0].layer, "Zbrojenie");
    EXPECT_EQ(found[0].colour, 5);
    RunWpr({"U"}, false);
    EXPECT_EQ(Projections().size(), 1u) << "the second projection and its repeats go together";
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
