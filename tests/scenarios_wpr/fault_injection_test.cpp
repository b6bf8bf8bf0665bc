// Fault injection on WPR: the same insertion cancelled at each of its prompts in turn, and
// cut off there by the end of the input; and random command sequences undone entirely.
// Each time nothing may be lost: the drawing is unchanged or holds one sound bar that one U
// takes back exactly.
#include <random>
#include <string>
#include <vector>

#include "tests/scenarios_wpr/wpr_kit.h"

namespace {

using namespace wpr_kit;

int LinesOnLayerZero() {
    int count = 0;
    for (const testkit::EntityDump& entity : testkit::LiveEntities()) {
        if (entity.type == "LINE" && entity.groups.find("(8 . \"0\")") != std::string::npos)
            ++count;
    }
    return count;
}

// A drawing with a bar and a circle in it, so that "unchanged" means something.
const std::vector<std::string> kSetup = {
    "PANEL steel St0S", "PANEL diameter 10", "WPR", "0,200", "200,200", "", "", "",
    "CIRCLE",           "300,300",           "10"};
// One insertion that meets every kind of prompt: points, the offset option with its base
// point and both offsets, the Enter that ends the points, and both hook sides.
const std::vector<std::string> kAnswers = {"0,0",    "Odsuń",  "0,0", "50",    "0",
                                           "100,50", "150,50", "",    "60,10", "140,60"};

struct Outcome {
    int unchanged = 0;
    int bar = 0;
};

// Runs the setup and the insertion whose answers are `answers`, then checks the drawing.
void RunAndCheck(const std::vector<std::string>& answers, const std::string& before,
                 size_t entitiesBefore, Outcome& outcome) {
    std::vector<std::string> lines = kSetup;
    lines.push_back("WPR");
    lines.insert(lines.end(), answers.begin(), answers.end());
    const std::string transcript = RunWpr(lines, true);
    // Answers left over by a cancelled insertion reach the command prompt, which stops the
    // script with status 1; otherwise the run succeeds.
    const bool stopped = transcript.find("Skrypt zatrzymany") != std::string::npos;
    EXPECT_EQ(testkit::LastScenarioStatus(), stopped ? 1 : 0) << transcript;
    EXPECT_TRUE(PanelInputsEnabled());
    EXPECT_EQ(LinesOnLayerZero(), 0) << "temporary lines left";
    if (Snapshot() == before) {
        ++outcome.unchanged;
        return;
    }
    ++outcome.bar;
    const auto entities = testkit::LiveEntities();
    ASSERT_EQ(entities.size(), entitiesBefore + 1) << transcript;
    EXPECT_EQ(entities.back().type, "LWPOLYLINE");
    EXPECT_NE(testkit::DumpDrawing().rfind("(1 . \"Pręt\")"), std::string::npos);
    EXPECT_CLEAN_AUDIT();
    RunWpr({"U"}, false);
    EXPECT_EQ(Snapshot(), before) << "one U must give back the drawing before WPR";
}

TEST(WprFaultInjection, CancelOrCutOffAtEveryPrompt) {
    RunWpr(kSetup, true);
    const std::string before = Snapshot();
    const size_t entitiesBefore = testkit::LiveEntities().size();
    ASSERT_EQ(entitiesBefore, 2u);
    Outcome cancelled, cut;
    for (size_t k = 0; k < kAnswers.size(); ++k) {
        SCOPED_TRACE("prompt " + std::to_string(k + 1));
        std::vector<std::string> withEsc = kAnswers;
        withEsc[k] = "^C";
        {
            SCOPED_TRACE("Esc");
            RunAndCheck(withEsc, before, entitiesBefore, cancelled);
        }
        {
            SCOPED_TRACE("end of input");
            RunAndCheck(std::vector<std::string>(kAnswers.begin(), kAnswers.begin() + k), before,
                        entitiesBefore, cut);
        }
    }
    // Both outcomes occur: cancelled before any vertex, and a bar finished early.
    EXPECT_GT(cancelled.unchanged, 0);
    EXPECT_GT(cancelled.bar, 0);
    EXPECT_GT(cut.unchanged, 0);
    EXPECT_GT(cut.bar, 0);
}

// A random mix of bar insertions, host drawing and editing commands and single undos; UNDO
// of everything afterwards must give back the empty drawing exactly. The lines are typed at
// the terminal, where an answer left over by a pick that missed is an unknown command that
// does not end the session; QUIT and "Nie" end it.
std::vector<std::string> RandomSession(unsigned seed, int commands) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<std::string> points;  // where entities are, so that picks often hit
    auto point = [&]() {
        std::string p = std::to_string(50 * pick(8)) + "," + std::to_string(50 * pick(8));
        points.push_back(p);
        return p;
    };
    auto known = [&]() { return points.empty() ? point() : points[pick(points.size())]; };
    std::vector<std::string> lines = {"PANEL steel RB500W"};
    for (int i = 0; i < commands; ++i) {
        switch (pick(7)) {
            case 0:
                lines.push_back(pick(2) ? "PANEL steel St0S" : "PANEL steel RB500W");
                [[fallthrough]];
            case 1: {
                lines.push_back("WPR");
                const int vertices = 1 + pick(4);
                for (int v = 0; v < vertices; ++v)
                    lines.push_back(point());
                // Enter, then hook sides (asked for smooth steel only; else unknown commands).
                lines.insert(lines.end(), {"", known(), known()});
                break;
            }
            case 2:
                lines.insert(lines.end(), {"PLINE", point(), point(), point(), ""});
                break;
            case 3:
                lines.insert(lines.end(), {"ERASE", known(), ""});
                break;
            case 4:
                lines.insert(lines.end(), {"MOVE", known(), "", known(), point()});
                break;
            case 5:
                lines.insert(lines.end(), {"COPY", known(), "", known(), point()});
                break;
            default:
                lines.push_back("U");
                break;
        }
    }
    return lines;
}

TEST(WprFaultInjection, RandomSessionsUndoneEntirely) {
    RunWpr({}, true);
    const std::string empty = Snapshot();
    int bars = 0;  // marked polylines left by the sessions before the undo
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<std::string> session = RandomSession(seed, 30);
        session.insert(session.end(), {"QUIT", "Nie"});
        const std::string transcript = RunWpr(session, true, true);
        EXPECT_EQ(transcript.find("Skrypt zatrzymany"), std::string::npos);
        EXPECT_NE(transcript.find("Polecenie: QUIT"), std::string::npos);
        EXPECT_EQ(LinesOnLayerZero(), 0);
        // The host's ERASE may leave gaps in the bar numbers; nothing else may be found.
        for (const std::string& finding : testkit::AuditDrawing())
            EXPECT_EQ(finding.rfind("A04 ", 0), 0u) << finding;
        for (const testkit::EntityDump& entity : testkit::LiveEntities())
            bars += entity.groups.find("ACAD_XDICTIONARY") != std::string::npos ? 1 : 0;
        RunWpr({"UNDO 1000"}, false);
        EXPECT_EQ(Snapshot(), empty);
        resbuf* layer = sds_tblsearch("LAYER", "Zbrojenie", 0);
        EXPECT_EQ(layer, nullptr) << "the bar layer is undone too";
        sds_relrb(layer);
    }
    EXPECT_GT(bars, 0) << "the sessions must leave bars to undo";
}

}  // namespace
