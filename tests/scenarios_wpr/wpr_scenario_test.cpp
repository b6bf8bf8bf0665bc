// WPR through the whole program: scripts run in-process with the module loaded, then the
// drawing is read back: bars, their vertices, layers and records, numbering and undo.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/frame/workers.h"
#include "module/rods/obsluga_preta.h"
#include "module/rods/rod_workers.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/script_panel.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

const char* const kKey = "ORV_ARMAVO";

struct Bar {
    sds_name name = {0, 0};
    std::string layer;
    std::vector<CSDSPointExt> vertices;
    CRodXDataParameters record;
};

std::string RunWpr(const std::vector<std::string>& lines, bool fresh = true) {
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    options.newDrawing = fresh;
    // The program wires the PANEL verb to the window framework; the kit leaves it to us.
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    return testkit::RunScenario(lines, options);
}

std::vector<Bar> Polylines() {
    std::vector<Bar> bars;
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) {
        return bars;
    }
    long length = 0;
    sds_sslength(all, &length);
    CSDSXDataPret xdata;
    for (long i = 0; i < length; ++i) {
        Bar bar;
        sds_ssname(all, i, bar.name);
        resbuf* list = sds_entget(bar.name);
        const bool polyline = CSDSBaseClass::GetTypeName(list) == "LWPOLYLINE";
        sds_relrb(list);
        if (!polyline) {
            continue;
        }
        bar.layer = CSDSBaseClass::GetLayer(bar.name);
        CObslugaPreta::LoadRodVertices(bar.name, bar.vertices);
        xdata.ReadRodRecord(bar.name, kKey, bar.record);
        bars.push_back(bar);
    }
    sds_ssfree(all);
    return bars;
}

std::vector<int> Numbers() {
    std::vector<int> numbers;
    for (const Bar& bar : Polylines()) {
        numbers.push_back(bar.record.number);
    }
    return numbers;
}

void SetNumbers(const std::vector<int>& numbers) {
    std::vector<Bar> bars = Polylines();
    ASSERT_EQ(bars.size(), numbers.size());
    CSDSXDataPret xdata;
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i].record.number = numbers[i];
        sds_name dictionary;
        ASSERT_EQ(xdata.ResetExtensionDictionary(bars[i].name, dictionary), RTNORM);
        xdata.WriteRodRecord(dictionary, kKey, bars[i].record);
    }
}

// Lines that draw `count` two-point ribbed bars, one above the other.
std::vector<std::string> DrawBars(int count) {
    std::vector<std::string> lines = {"PANEL steel RB500W", "PANEL diameter 10"};
    for (int i = 0; i < count; ++i) {
        const std::string y = std::to_string(100 * i);
        lines.insert(lines.end(), {"WPR", "0," + y, "200," + y, ""});
    }
    return lines;
}

bool PanelInputsEnabled() {
    CToolBarDlg* panel = ModulePanel();
    if (panel == nullptr) {
        return false;
    }
    for (int id : {1004, 1006, 1017, 1008, 1015, 1011, 1012}) {
        if (!panel->IsControlEnabled(id)) {
            return false;
        }
    }
    return true;
}

// Every scenario ends on a drawing that passes the audit, unless the test built a faulty
// one on purpose.
class WprScenario : public ::testing::Test {
  protected:
    void TearDown() override {
        if (auditAtEnd_) {
            EXPECT_CLEAN_AUDIT();
        }
    }
    bool auditAtEnd_ = true;
};

TEST_F(WprScenario, ThreePicksRibbedEightMillimetres) {
    RunWpr({"PANEL diameter 8", "PANEL steel RB500W", "PANEL rounded 0", "WPR", "0,0", "100,0",
            "100,50", ""});
    const auto bars = Polylines();
    ASSERT_EQ(bars.size(), 1u);
    const Bar& bar = bars[0];
    EXPECT_EQ(bar.layer, "Zbrojenie");
    ASSERT_EQ(bar.vertices.size(), 3u);
    EXPECT_DOUBLE_EQ(bar.vertices[1].x, 100.0);
    EXPECT_DOUBLE_EQ(bar.vertices[2].y, 50.0);
    EXPECT_EQ(bar.record.type, "Pręt");
    EXPECT_EQ(bar.record.ordinal, 1);
    EXPECT_NEAR(bar.record.diameter, 0.8, 1e-12);
    EXPECT_EQ(bar.record.hooks, 0);
    EXPECT_EQ(bar.record.number, 1);
    EXPECT_EQ(bar.record.steel, 15);
    EXPECT_EQ(bar.record.rounded, 0);
    EXPECT_EQ(bar.record.flag, 0);
    // The rubber lines are gone: the bar is the only entity left.
    EXPECT_EQ(testkit::LiveEntities().size(), 1u);
    EXPECT_TRUE(PanelInputsEnabled());
}

TEST_F(WprScenario, SmoothTwelveMillimetresWithBothHooksAndRounding) {
    RunWpr({"PANEL diameter 12", "PANEL steel St0S", "PANEL rounded 1", "WPR", "0,0", "100,0",
            "100,100", "", "50,10", "90,50"});
    const auto bars = Polylines();
    ASSERT_EQ(bars.size(), 1u);
    const Bar& bar = bars[0];
    EXPECT_EQ(bar.layer, "Zbrojenie główne");
    EXPECT_EQ(bar.record.hooks, 3);
    EXPECT_EQ(bar.record.rounded, 1);
    EXPECT_EQ(bar.record.steel, 0);
    // Hook tip, first end, rounded inner corner (two vertices), second end, hook tip.
    ASSERT_EQ(bar.vertices.size(), 6u);
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(bar.vertices[0].x, 11 * std::cos(pi / 6), 1e-9);
    EXPECT_NEAR(bar.vertices[0].y, 11 * std::sin(pi / 6), 1e-9);
    EXPECT_DOUBLE_EQ(bar.vertices[1].x, 0.0);
    EXPECT_EQ(bar.vertices[0].bulge, 0.0);
    EXPECT_EQ(bar.vertices[1].bulge, 0.0);
    EXPECT_NEAR(bar.vertices[2].x, 94.0, 1e-9);
    EXPECT_NEAR(bar.vertices[2].bulge, std::tan(pi / 8), 1e-9);
    EXPECT_NEAR(bar.vertices[3].y, 6.0, 1e-9);
    EXPECT_DOUBLE_EQ(bar.vertices[4].y, 100.0);
    EXPECT_EQ(bar.vertices[4].bulge, 0.0);
    EXPECT_NEAR(bar.vertices[5].x, 100 + 11 * std::cos(4 * pi / 3), 1e-9);
    EXPECT_NEAR(bar.vertices[5].y, 100 + 11 * std::sin(4 * pi / 3), 1e-9);
    EXPECT_EQ(testkit::LiveEntities().size(), 1u);
}

TEST_F(WprScenario, OffsetOptionAndCaseSensitiveKeyword) {
    const std::string transcript = RunWpr(
        {"PANEL steel RB500W", "WPR", "ODSUŃ", "Odsuń", "0,0", "50", "0", "o", "", "", "7", ""});
    const auto bars = Polylines();
    ASSERT_EQ(bars.size(), 1u);
    ASSERT_EQ(bars[0].vertices.size(), 2u);
    EXPECT_DOUBLE_EQ(bars[0].vertices[0].x, 50.0);
    EXPECT_DOUBLE_EQ(bars[0].vertices[0].y, 0.0);
    // The second offset point: base point cancelled, so it carries on from the last vertex
    // with the remembered X offset and the new Y offset.
    EXPECT_DOUBLE_EQ(bars[0].vertices[1].x, 100.0);
    EXPECT_DOUBLE_EQ(bars[0].vertices[1].y, 7.0);
    EXPECT_NE(transcript.find("Wprowadź odsunięcie X <0.0>: "), std::string::npos);
    EXPECT_NE(transcript.find("Wprowadź odsunięcie X <50.0>: "), std::string::npos);
    EXPECT_NE(transcript.find("Wprowadź odsunięcie Y <0.0>: "), std::string::npos);
}

TEST_F(WprScenario, EscOrEnterAtTheFirstPromptDrawsNothing) {
    for (const char* answer : {"^C", ""}) {
        RunWpr({"WPR", answer});
        EXPECT_TRUE(testkit::LiveEntities().empty()) << answer;
        EXPECT_TRUE(PanelInputsEnabled()) << answer;
    }
}

TEST_F(WprScenario, EscAtALaterPromptFinishesTheBar) {
    RunWpr({"PANEL steel RB500W", "WPR", "0,0", "30,0", "^C"});
    ASSERT_EQ(Polylines().size(), 1u);
    EXPECT_TRUE(PanelInputsEnabled());
}

// A single vertex makes no polyline: the record must not land on the entity made before.
TEST_F(WprScenario, SingleVertexMakesNoBarAndMarksNothing) {
    for (const char* steel : {"RB500W", "St0S"}) {
        const std::string transcript = RunWpr(
            {std::string("PANEL steel ") + steel, "LINE", "0,0", "10,0", "", "WPR", "5,5", ""});
        EXPECT_NE(transcript.find("Pręt musi mieć co najmniej dwa punkty."), std::string::npos);
        EXPECT_EQ(transcript.find("pierwszy hak"), std::string::npos) << "no hook question";
        const auto entities = testkit::LiveEntities();
        ASSERT_EQ(entities.size(), 1u) << steel;
        EXPECT_EQ(entities[0].type, "LINE");
        EXPECT_EQ(entities[0].groups.find("ACAD_XDICTIONARY"), std::string::npos) << steel;
    }
}

TEST_F(WprScenario, EmptyDrawingGivesNumberAndOrdinalOne) {
    RunWpr(DrawBars(1));
    const auto bars = Polylines();
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].record.number, 1);
    EXPECT_EQ(bars[0].record.ordinal, 1);
}

TEST_F(WprScenario, NumberingClosesTheFirstGapBeforeANewBar) {
    const struct {
        const char* name;
        std::vector<int> before;
        std::vector<int> after;  // old bars, then the new one
        int ordinal;
    } cases[] = {
        {"1 2 4 5", {1, 2, 4, 5}, {1, 2, 3, 4, 5}, 5},
        {"drawing order decides", {1, 2, 5, 4}, {1, 2, 3, 4, 5}, 5},
        {"two copies of 1", {1, 1}, {1, 1, 2}, 3},
        {"1 4 4", {1, 4, 4}, {1, 2, 2, 3}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(DrawBars(static_cast<int>(c.before.size())));
        SetNumbers(c.before);
        RunWpr({"PANEL steel RB500W", "WPR", "0,-100", "50,-100", ""}, false);
        const auto bars = Polylines();
        ASSERT_EQ(bars.size(), c.after.size());
        EXPECT_EQ(Numbers(), c.after);
        EXPECT_EQ(bars.back().record.ordinal, c.ordinal);
    }
}

TEST_F(WprScenario, OneUndoTakesBackTheBarAndTheRenumbering) {
    RunWpr(DrawBars(4));
    SetNumbers({1, 2, 4, 5});
    // The gap made by hand above is what undo must give back.
    auditAtEnd_ = false;
    const auto handlesBefore = testkit::LiveHandles();
    RunWpr({"PANEL steel RB500W", "WPR", "0,-100", "50,-100", "", "U"}, false);
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(testkit::LiveHandles(), handlesBefore);
}

TEST_F(WprScenario, RenumberingRedrawsADescribedBarWithItsNewNumber) {
    RunWpr(DrawBars(3));
    SetNumbers({1, 3, 4});
    // Describe the last bar (number 4) as the edit command would.
    {
        auto bars = Polylines();
        CObslugaPreta rod(ModulePanel());
        sds_point pick = {100, 200, 0};
        ASSERT_EQ(rod.DrawDescription(bars[2].name, pick, bars[2].vertices, 4, 1, 10.0), 1);
    }
    RunWpr({"PANEL steel RB500W", "WPR", "0,-100", "50,-100", ""}, false);
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2, 3, 4}));
    std::vector<std::string> texts;
    for (const auto& entity : testkit::LiveEntities()) {
        if (entity.type == "TEXT") {
            texts.push_back(entity.groups);
        }
    }
    ASSERT_EQ(texts.size(), 4u);
    bool numberThree = false;
    for (const auto& groups : texts) {
        numberThree = numberThree || groups.find("(1 . \"3\")") != std::string::npos;
    }
    EXPECT_TRUE(numberThree) << texts[3];
}

// A polyline drawn by hand with the host's PLINE reads back with its vertices through both
// of the module's readers, so that it can be turned into a bar.
TEST_F(WprScenario, HandDrawnPolylineGivesItsVerticesToTheModule) {
    RunWpr({"PLINE", "0,0", "100,0", "100,50", ""});
    const auto bars = Polylines();
    ASSERT_EQ(bars.size(), 1u);
    const std::vector<std::pair<double, double>> expected = {{0, 0}, {100, 0}, {100, 50}};
    std::vector<CSDSPointExt> viaWrapper;
    CSDSPolyLine polyline;
    ASSERT_EQ(polyline.GetVertices(bars[0].name, viaWrapper), RTNORM);
    const std::vector<const std::vector<CSDSPointExt>*> readers = {&bars[0].vertices, &viaWrapper};
    for (const auto* read : readers) {
        ASSERT_EQ(read->size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_DOUBLE_EQ((*read)[i].x, expected[i].first) << i;
            EXPECT_DOUBLE_EQ((*read)[i].y, expected[i].second) << i;
            EXPECT_EQ((*read)[i].bulge, 0.0) << i;
        }
    }
    // Hand-drawn: no record, so it is no bar.
    EXPECT_EQ(bars[0].record.type, "");
}

// A worker that checks the panel is locked while it runs, draws, and is then cut off by the
// host shutting down in the middle of the command.
bool g_lockedDuringRun = false;
void InterruptedInsert(CToolBarDlg& panel) {
    g_lockedDuringRun = !panel.IsControlEnabled(1004) && !panel.IsControlEnabled(1017);
    InsertBarWorker(panel);
    throw host::HostShutdown{0};
}

TEST_F(WprScenario, PanelInputsComeBackWhenTheHostUnwindsTheCommand) {
    host::RegisterVerb("INTERRUPTWPR", [](const std::vector<std::string>&) {
        return SetCommandWorker(kCmdWPR, InterruptedInsert);
    });
    g_lockedDuringRun = false;
    RunWpr({"INTERRUPTWPR", "WPR", "0,0"});
    EXPECT_TRUE(g_lockedDuringRun);
    EXPECT_TRUE(PanelInputsEnabled());
    SetCommandWorker(kCmdWPR, InsertBarWorker);
}

}  // namespace
