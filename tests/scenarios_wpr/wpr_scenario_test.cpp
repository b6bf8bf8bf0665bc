// WPR through the whole program, checked against figures worked by hand: bars, their vertices,
// hooks, rounded corners, layers and records, numbering and undo, repeated picks, the panel.
#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "module/frame/workers.h"
#include "module/rods/rod_geometry.h"
#include "module/rods/rod_workers.h"
#include "platform/console.h"
#include "tests/scenarios_wpr/wpr_kit.h"

namespace {

using namespace wpr_kit;

// Compares x, y and bulge of each vertex with {x, y, bulge} rows.
void ExpectVertices(const std::vector<CSDSPointExt>& v, const std::vector<std::vector<double>>& e) {
    ASSERT_EQ(v.size(), e.size());
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_NEAR(v[i].x, e[i][0], 1e-9) << i;
        EXPECT_NEAR(v[i].y, e[i][1], 1e-9) << i;
        EXPECT_NEAR(v[i].bulge, e[i][2], 1e-9) << i;
    }
}

// 8 mm ribbed, three picks: no hooks, sharp corners, the rubber lines gone. 12 mm smooth with
// both hooks and rounding: hook tip, first end, rounded inner corner (two vertices), second
// end, hook tip; the same with every point picked twice. Rounded corners turning both ways: a left
// turn gives a positive bulge, a right turn a negative one, each tan(π/8) for a right angle, with 9
// cm tangents for 12 mm ribbed.
TEST_F(WprTest, BarsAsWorkedByHand) {
    const double b = std::tan(kPi / 8);
    const struct {
        std::vector<std::string> lines;
        const char* layer;
        const char* record;
        std::vector<std::vector<double>> vertices;
        double length = 0;  // checked when given
    } cases[] = {
        // clang-format off
        {{"PANEL diameter 8", "PANEL steel RB500W", "PANEL rounded 0", "WPR", "0,0", "100,0", "100,50", ""},
         "Zbrojenie", "Pręt 1 0.8 0 1 15 0 0", {{0, 0, 0}, {100, 0, 0}, {100, 50, 0}}},
        {{"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 1", "WPR", "0,0", "100,0", "100,100", "", "50,10", "90,50"},
         "Zbrojenie główne", "Pręt 1 1.2 3 1 0 1 0",
         {{11 * std::cos(kPi / 6), 11 * std::sin(kPi / 6), 0}, {0, 0, 0}, {94, 0, b}, {100, 6, 0},
          {100, 100, 0}, {100 - 11 * 0.5, 100 - 11 * std::sqrt(0.75), 0}}},
        // Points picked twice (a double click, a typed point repeated) leave no segment of no
        // length, whose undefined direction would turn a hook along +X and keep the corner
        // beside it sharp: the same bar as above.
        {{"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 1", "WPR", "0,0", "0,0", "100,0", "100.0004,0", "100,100", "100,100", "",
          "50,10", "90,50"},
         "Zbrojenie główne", "Pręt 1 1.2 3 1 0 1 0",
         {{11 * std::cos(kPi / 6), 11 * std::sin(kPi / 6), 0}, {0, 0, 0}, {94, 0, b}, {100, 6, 0},
          {100, 100, 0}, {100 - 11 * 0.5, 100 - 11 * std::sqrt(0.75), 0}}},
        {{"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 1", "WPR", "0,0", "100,0", "100,100", "200,100", ""},
         "Zbrojenie główne", "Pręt 1 1.2 0 1 15 1 0",
         {{0, 0, 0}, {91, 0, b}, {100, 9, 0}, {100, 91, -b}, {109, 100, 0}, {200, 100, 0}},
         91 + 82 + 91 + 9 * kPi},
        // clang-format on
    };
    for (const auto& c : cases) {
        RunWpr(c.lines);
        const auto bars = Polylines();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(bars[0].layer, c.layer);
        EXPECT_EQ(RecordText(bars[0].record), c.record);
        ExpectVertices(bars[0].vertices, c.vertices);
        if (c.length > 0) {
            EXPECT_NEAR(CObslugaPreta::BarLength(bars[0].vertices), c.length, 1e-9);
        }
        EXPECT_EQ(testkit::LiveEntities().size(), 1u);
        EXPECT_TRUE(PanelInputsEnabled());
    }
}

// A 12 mm smooth bar has hooks of 11 cm. The first end segment runs from (0,0) to the second
// pick; the hook side is picked, Enter refuses the second hook. Tips worked by hand from the
// side rules (vertical, rising and falling lines, points on the line).
TEST_F(WprTest, FirstHookTipForEveryKindOfEndSegment) {
    const struct {
        const char* second;
        const char* side;
        double degrees;
    } cases[] = {
        {"100,0", "50,10", 30},      {"100,0", "50,-10", -30},    {"100,0", "50,0", 30},
        {"-100,0", "-50,10", 150},   {"-100,-100", "-50,0", 195}, {"-100,-100", "-50,-90", 255},
        {"-100,100", "-50,0", 165},  {"-100,100", "-50,90", 105}, {"100,-100", "50,0", 345},
        {"100,-100", "50,-90", 285}, {"100,-100", "50,-50", 345}, {"0,-100", "10,-50", 300},
        {"0,-100", "-10,-50", 240},  {"0,100", "0,50", 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.second) + " picked at " + c.side);
        RunWpr({"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 0", "WPR", "0,0", c.second,
                "", c.side, ""});
        const auto bars = Polylines();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(bars[0].record.hooks, 1);
        const double t = c.degrees * kPi / 180.0;
        ASSERT_EQ(bars[0].vertices.size(), 3u);
        ExpectVertices({bars[0].vertices[0], bars[0].vertices[1]},
                       {{11 * std::cos(t), 11 * std::sin(t), 0}, {0, 0, 0}});
    }
}

// "Odsuń" takes a vertex as offsets from a base point (Enter: the last vertex), offering the X
// offset given last; the keyword is taken in its own letters only. A vertex is never taken
// beyond the drawing's range: a typed point or offset is refused by
// the host's prompt, an offset that carries the vertex beyond it by the command, each with
// its own message; the bar is made of the vertices taken, never refused for too few points.
// Picks that leave one vertex (one pick, or picks all on one point) make no polyline, and the
// record must not land on the entity made before (a line).
TEST_F(WprTest, VerticesBeyondTheDrawingRangeOrTooFewAreRefusedWithTheirReason) {
    const char* const tooFew = "Pręt musi mieć co najmniej dwa punkty.";
    const struct {
        std::vector<std::string> answers;  // after WPR
        const char* printed;
        std::vector<std::vector<double>> vertices;  // none: no bar
        const char* steel = "RB500W";
    } cases[] = {
        // clang-format off
        {{"0,0", "Odsuń", "1e15,0", "1e15", "0", "100,0", ""}, "Punkt poza zakresem współrzędnych rysunku.",
         {{0, 0, 0}, {100, 0, 0}}},
        {{"0,0", "Odsuń", "", "1e16", "-5", "0", ""}, "Wartość poza zakresem.", {{0, 0, 0}, {-5, 0, 0}}},
        {{"1e16,0", "0,0", "@-2e15,0", "@0,5", ""}, "Wartość poza zakresem.", {{0, 0, 0}, {0, 5, 0}}},
        {{"ODSUŃ", "Odsuń", "0,0", "50", "0", "o", "", "", "7", ""}, "Wprowadź odsunięcie X <50.0>: ",
         {{50, 0, 0}, {100, 7, 0}}},
        {{"5,5", ""}, tooFew, {}},
        {{"5,5", ""}, tooFew, {}, "St0S"},
        {{"5,5", "5,5", "5.0002,5", ""}, tooFew, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = {
            "PANEL steel " + std::string(c.steel), "LINE", "0,0", "10,0", "", "WPR"};
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        const std::string transcript = RunWpr(lines);
        SCOPED_TRACE(transcript);
        EXPECT_NE(transcript.find(c.printed), std::string::npos);
        EXPECT_EQ(transcript.find("co najmniej dwa") != std::string::npos, c.vertices.empty());
        EXPECT_EQ(transcript.find("pierwszy hak"), std::string::npos) << "no hook question";
        const auto entities = testkit::LiveEntities();
        ASSERT_EQ(entities.size(), c.vertices.empty() ? 1u : 2u);
        EXPECT_EQ(entities[0].type, "LINE");
        EXPECT_EQ(entities[0].groups.find("ACAD_XDICTIONARY"), std::string::npos);
        if (!c.vertices.empty()) {
            ExpectVertices(Polylines().at(0).vertices, c.vertices);
        }
    }
}

// A polyline the drawing refuses is told as such, not as a bar of too few points, and
// leaves nothing behind.
TEST_F(WprTest, ABarTheDrawingRefusesIsNotBlamedOnItsPoints) {
    RunWpr({"LINE", "0,0", "10,0", ""});
    CObslugaPreta handler(nullptr);
    handler.vertices = {CSDSPointExt(0, 0, 0), CSDSPointExt(std::nan(""), 5, 0)};
    std::string out;
    platform::SetOutputSink(
        [](std::string_view text, void* to) { static_cast<std::string*>(to)->append(text); }, &out);
    handler.FinishBar(0.0, false, rods::kNoHooks);
    platform::SetOutputSink(nullptr, nullptr);
    EXPECT_NE(out.find("Rysunek nie przyjął polilinii pręta; pręt nie został wstawiony."),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("co najmniej dwa"), std::string::npos) << out;
    ASSERT_EQ(testkit::LiveEntities().size(), 1u);
    EXPECT_EQ(testkit::LiveEntities()[0].type, "LINE");
}

// Esc or Enter at the first prompt draws nothing, gives the panel back, and is still one undo
// step: the U after it must not take back the bar before.
TEST_F(WprTest, EscOrEnterAtTheFirstPromptDrawsNothingAndIsOneUndoStep) {
    for (const char* answer : {"^C", ""}) {
        RunWpr({"PANEL steel RB500W", "WPR", "0,0", "100,0", "", "WPR", answer});
        EXPECT_EQ(testkit::LiveEntities().size(), 1u) << answer;
        EXPECT_TRUE(PanelInputsEnabled()) << answer;
        RunWpr({"U"}, false);
        EXPECT_EQ(Polylines().size(), 1u) << answer;
        RunWpr({"U"}, false);
        EXPECT_TRUE(testkit::LiveEntities().empty()) << answer;
    }
}

TEST_F(WprTest, NumberingClosesTheFirstGapBeforeANewBar) {
    const struct {
        std::vector<int> before;
        std::vector<int> after;  // old bars, then the new one
        int ordinal;
    } cases[] = {
        {{1, 2, 4, 5}, {1, 2, 3, 4, 5}, 5},
        {{1, 2, 5, 4}, {1, 2, 3, 4, 5}, 5},  // drawing order decides
        {{1, 1}, {1, 1, 2}, 3},
        {{1, 4, 4}, {1, 2, 2, 3}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.before));
        RunWpr(DrawBars(static_cast<int>(c.before.size())));
        SetNumbers(c.before);
        const auto handlesBefore = testkit::LiveHandles();
        RunWpr({"PANEL steel RB500W", "WPR", "0,-100", "50,-100", ""}, false);
        EXPECT_EQ(Numbers(), c.after);
        EXPECT_EQ(Polylines().back().record.ordinal, c.ordinal);
        EXPECT_CLEAN_AUDIT();
        // One U takes back the bar and the renumbering, gaps made by hand included.
        RunWpr({"U"}, false);
        EXPECT_EQ(Numbers(), c.before);
        EXPECT_EQ(testkit::LiveHandles(), handlesBefore);
    }
    auditAtEnd_ = false;
}

// A worker that checks the panel is locked while it runs, draws, and is then cut off by the
// host shutting down in the middle of the command.
bool g_lockedDuringRun = false;
void InterruptedInsert(CToolBarDlg& panel) {
    g_lockedDuringRun = !panel.IsControlEnabled(1004) && !panel.IsControlEnabled(1017);
    InsertBarWorker(panel);
    throw host::HostShutdown{0};
}

TEST_F(WprTest, PanelInputsComeBackWhenTheHostUnwindsTheCommand) {
    host::RegisterVerb("INTERRUPTWPR", [](const std::vector<std::string>&) {
        return SetCommandWorker(kCmdWPR, InterruptedInsert);
    });
    g_lockedDuringRun = false;
    RunWpr({"INTERRUPTWPR", "WPR", "0,0"});
    EXPECT_TRUE(g_lockedDuringRun);
    EXPECT_TRUE(PanelInputsEnabled());
    SetCommandWorker(kCmdWPR, InsertBarWorker);
}

// The numbering looks at the pick-first selection to give it back; the host's copy it takes
// must be freed, or each count holds one of the host's selection sets for good (the host
// gives a new set the lowest free slot).
TEST_F(WprTest, CountingBarsKeepsThePickFirstSelectionAndFreesItsSets) {
    RunWpr({"LINE", "0,0", "10,0", ""});
    sds_name line = {0, 0};
    sds_name set = {0, 0};
    sds_entlast(line);
    ASSERT_EQ(sds_ssadd(line, nullptr, set), RTNORM);
    ASSERT_EQ(sds_sssetfirst(nullptr, set), RTNORM);
    const long slot = set[0];  // freed, it is the lowest free slot
    sds_ssfree(set);
    CObslugaPreta rod(nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rod.CountRods(i % 2), 0);
    }
    ASSERT_EQ(sds_ssadd(nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(set[0], slot);
    sds_ssfree(set);
    resbuf* grips = nullptr;
    resbuf* picked = nullptr;
    ASSERT_EQ(sds_ssgetfirst(&grips, &picked), RTNORM);
    ASSERT_NE(picked, nullptr);
    long length = 0;
    sds_sslength(picked->resval.rlname, &length);
    EXPECT_EQ(length, 1);
    sds_ssname(picked->resval.rlname, 0, set);
    EXPECT_EQ(set[0], line[0]);
    sds_ssfree(picked->resval.rlname);
    sds_relrb(picked);
    sds_relrb(grips);
    sds_sssetfirst(nullptr, nullptr);
}

// The host's snap mode texts for OSMODE bits: the module snaps picked points with them.
TEST(RodConventions, SnapModeTexts) {
    const std::pair<int, const char*> cases[] = {
        {0, "off"}, {3, "END, mid"},   {512, "nea"},
        {2048, ""}, {2048 + 4, "cen"}, {1 | 4 | 8 | 16 | 4096, "END, cen, po, qua, pla"}};
    for (const auto& [osmode, text] : cases) {
        EXPECT_EQ(CObslugaPreta::SnapModeText(osmode), text) << osmode;
    }
}

}  // namespace
