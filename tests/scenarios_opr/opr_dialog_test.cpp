// The schedule dialog's editing through the whole program: deleting rows with and without
// their bars, a changed diameter rebuilding a mark's bars when the dialog closes, and the
// keystroke filters of the number cells.
#include <string>
#include <vector>

#include "tests/rods_reshape/reshape_kit.h"
#include "tests/scenarios_opr/opr_kit.h"

namespace {

using namespace opr_kit;

// Marks 1, 2 (two bars, the second a copy) and 3, a description text of bar 2, and a hand row.
void MakeMarks() {
    RunWpr({}, true);
    StraightBar(100, 0, 1);
    const Entity two = StraightBar(200, 100, 2);
    StraightBar(300, 200, 3);
    StraightBar(200, 300, 2);
    LinkText("2", "Opis-Nr", two.name);
    RunWpr({"OPR", "click Dodaj", "cell 4 3 75", "click 2"}, false);
}

TEST_F(OprTest, DeletingRows) {
    const char* const kAskRow = "Czy na pewno chcesz skasować wybrany pręt ? (tak/nie)";
    const struct {
        std::vector<std::string> dialog;
        std::vector<std::string> questions;  // after the first one
        std::vector<int> numbers;
        std::vector<std::string> rows;
        int texts;                        // live TEXT entities afterwards
        std::vector<double> diameters{};  // of the bars in drawing order, when checked
    } cases[] = {
        // clang-format off
        // A hand row goes without a second question and without touching the drawing.
        {{"select 4", "click Usuń", "yes"}, {}, {1, 2, 3, 2},
         {"10|{RB500W}|100|1", "10|{RB500W}|200|2", "10|{RB500W}|300|1"}, 1},
        {{"select 1", "click Usuń", "no"}, {}, {1, 2, 3, 2},
         {"10|{RB500W}|100|1", "10|{RB500W}|200|2", "10|{RB500W}|300|1", "6|St0S|75|0"}, 1},
        // Yes twice: the mark's bars and their texts go, and the numbering closes up.
        {{"select 2", "click Usuń", "yes", "yes"},
         {"Czy skasować wybrane pręty z rysunku ? (2 szt.) (tak/nie)"}, {1, 2},
         {"10|{RB500W}|100|1", "10|{RB500W}|300|1", "6|St0S|75|0"}, 0},
        // The row deleted, the bars kept: the row below still acts on its own mark, 3 (rebuilt,
        // so last in drawing order).
        {{"select 2", "click Usuń", "yes", "no", "cell 2 1 16", "yes"},
         {"Czy skasować wybrane pręty z rysunku ? (2 szt.) (tak/nie)"}, {1, 2, 2, 3},
         {"10|{RB500W}|100|1", "16|{RB500W}|300|1", "6|St0S|75|0"}, 1, {1.0, 1.0, 1.0, 1.6}},
        {{"select 1", "click Usuń", "yes", "yes"}, {"Czy skasować wybrany pręt z rysunku ? (tak/nie)"},
         {1, 2, 1}, {"10|{RB500W}|200|2", "10|{RB500W}|300|1", "6|St0S|75|0"}, 4},  // bar 2's description is drawn again with its new number
        // clang-format on
    };
    for (const auto& c : cases) {
        MakeMarks();
        std::vector<std::string> lines = {"OPR"};
        lines.insert(lines.end(), c.dialog.begin(), c.dialog.end());
        lines.insert(lines.end(), {"show", "click 2"});
        const std::string transcript = RunWpr(lines, false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(Count(transcript, kAskRow), 1);
        EXPECT_EQ(Count(transcript, "z rysunku ?"), static_cast<int>(c.questions.size()));
        for (const std::string& question : c.questions) {
            EXPECT_EQ(Count(transcript, question), 1);
        }
        EXPECT_EQ(Numbers(), c.numbers);
        EXPECT_EQ(GridRows(transcript), c.rows);
        int texts = 0;
        for (const testkit::EntityDump& e : testkit::LiveEntities()) {
            texts += e.type == "TEXT" ? 1 : 0;
        }
        EXPECT_EQ(texts, c.texts);
        if (!c.diameters.empty()) {
            std::vector<double> diameters;
            for (const Bar& bar : Polylines()) {
                diameters.push_back(bar.record.diameter);
            }
            EXPECT_EQ(diameters, c.diameters);
        }
        // The grid numbers its rows 1, 2, 3... again.
        const std::string shown = transcript.substr(transcript.rfind("> show"));
        for (size_t r = 1; r <= c.rows.size(); ++r) {
            EXPECT_EQ(Count(shown, ": " + std::to_string(r) + " "), 1) << r;
        }
    }
}

// A smooth 10 mm bar with both hooks (9 each) over 200: 218 long; at 20 mm the hooks are 26.
TEST_F(OprTest, ChangedDiameterRebuildsTheMarkWhenTheDialogCloses) {
    const struct {
        std::vector<std::string> closing;
        const char* answer;
        double diameter;  // the bars' record diameter afterwards, cm
        double length;
        const char* layer;
        size_t shapes = 0;
    } cases[] = {
        {{"click 2"}, "yes", 2.0, 252, "Zbrojenie główne"},
        {{"click 1", "^C"}, "yes", 2.0, 252, "Zbrojenie główne"},
        {{"^C"}, "yes", 2.0, 252, "Zbrojenie główne"},
        {{"click 2"}, "no", 1.0, 218, "Zbrojenie"},
        // The table of the full form finds the rebuilt bar's shape.
        {{"click 1", "0,-500"}, "yes", 2.0, 252, "Zbrojenie główne", 1},
    };
    for (const auto& c : cases) {
        RunWpr({"PANEL steel St0S", "PANEL diameter 10", "WPR", "0,0", "200,0", "", "0,10", "0,10",
                "WPR", "0,100", "200,100", "", "0,110", "0,110", "EDPR", "t", "100,0", "^C"});
        SetNumbers({1, 1});
        std::vector<std::string> lines = {"OPR", "cell 1 1 20", c.answer, "show"};
        lines.insert(lines.end(), c.closing.begin(), c.closing.end());
        const std::string transcript = RunWpr(lines, false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(Count(transcript, "Czy zmienić średnicę pręta na rysunku ? (tak/nie)"), 1);
        // The length follows the new diameter at once, whatever the answer.
        EXPECT_EQ(GridRows(transcript), std::vector<std::string>{"20|{St0S}|252|2"});
        std::vector<Bar> bars = Polylines();
        std::erase_if(bars, [](const Bar& bar) { return bar.record.type != "Pręt"; });
        ASSERT_EQ(bars.size(), 2u);
        for (const Bar& bar : bars) {
            EXPECT_EQ(bar.record.diameter, c.diameter);
            EXPECT_EQ(bar.record.hooks, 3);
            EXPECT_EQ(bar.record.number, 1);
            EXPECT_NEAR(CObslugaPreta::BarLength(bar.vertices), c.length, 1e-6);
            EXPECT_EQ(bar.layer, c.layer);
        }
        // Rows of the drawing are collected afresh each time: none is stored.
        EXPECT_EQ(testkit::DumpNamedObjects().find("GLOBAL_ORV_ARMAVO0"), std::string::npos);
        // The dimension texts of the first bar were drawn again for the new bar: the audit
        // finds no text of a bar that is gone.
        EXPECT_EQ(Tagged({"Wymiary"}).size(), 3u);
        const Table table = ReadTable();
        ASSERT_EQ(table.shapes.size(), c.shapes);
        if (c.shapes == 1) {
            // The shape is the new one: its hooks are as long against its body as 26 to 200.
            const std::vector<CSDSPointExt>& s = table.shapes[0];
            ASSERT_EQ(s.size(), 4u);
            const double body = std::hypot(s[2].x - s[1].x, s[2].y - s[1].y);
            const double hook = std::hypot(s[1].x - s[0].x, s[1].y - s[0].y);
            EXPECT_NEAR(hook / body, 26.0 / 200.0, 1e-9);
        }
    }
}

TEST_F(OprTest, KeystrokeFiltersAndPickLists) {
    const struct {
        const char* line;
        const char* row;  // the hand row afterwards
        int refusals;
    } cases[] = {
        {"cell 1 3 12,5", "6|St0S|12.5|0", 0},
        {"cell 1 3 12.5", "6|St0S|12.5|0", 0},
        // A letter or a second separator is refused keystroke by keystroke.
        {"cell 1 3 1a2", "6|St0S|12|0", 0},
        {"cell 1 3 1.2.3", "6|St0S|1.23|0", 0},
        {"cell 1 3 1,2,3", "6|St0S|1.23|0", 0},
        {"cell 1 3 1.2,3", "6|St0S|1.23|0", 0},
        {"cell 1 4 3.5", "6|St0S|0|35", 0},
        {"cell 1 4 -2x", "6|St0S|0|2", 0},
        // Every key refused: the cell keeps the text it had.
        {"cell 1 4 abc", "6|St0S|0|0", 0},
        {"cell 1 5 uwaga 1,5", "6|St0S|0|0|uwaga 1,5", 0},
        // The lists take their items only; "-" is a steel of a hand row.
        {"cell 1 2 -", "6|-|0|0", 0},
        {"cell 1 1 13", "6|St0S|0|0", 1},
        {"cell 1 1 4.5", "4.5|St0S|0|0", 0},
        {"cell 1 0 9", "6|St0S|0|0", 1},
    };
    for (const auto& c : cases) {
        const std::string transcript = RunWpr({"OPR", "click Dodaj", c.line, "show", "click 2"});
        SCOPED_TRACE(transcript);
        EXPECT_EQ(GridRows(transcript), std::vector<std::string>{c.row});
        EXPECT_EQ(Count(transcript, "Komórk"), c.refusals);
    }
    // A drawing row's steel cannot be changed.
    RunWpr({}, true);
    StraightBar(100, 0, 1);
    const std::string transcript = RunWpr({"OPR", "cell 1 2 St0S", "show", "click 2"}, false);
    EXPECT_EQ(Count(transcript, "Komórka (1, 2) jest zablokowana."), 1) << transcript;
    EXPECT_EQ(GridRows(transcript), std::vector<std::string>{"10|{RB500W}|100|1"});
}

// A rounded corner is taken back to its sharp corner and rounded again with the bend of the
// new diameter (15 diameters for ribbed steel): 150 + 80 with a quarter arc of radius 7.5 at
// 10 mm, of radius 15 at 20 mm.
TEST_F(OprTest, RoundedCornersFollowTheNewDiameter) {
    const struct {
        const char* diameter;
        const char* length;
        const char* shape;
    } cases[] = {{"20", "224", "0,0 135,0(0.4142) 150,15 150,80"},
                 {"8", "227", "0,0 144,0(0.4142) 150,6 150,80"},
                 {"10", "227", "0,0 142.5,0(0.4142) 150,7.5 150,80"}};
    // Choosing the diameter the row has already is no change: nothing is asked.
    for (const auto& c : cases) {
        RunWpr({"PANEL steel RB500W", "PANEL diameter 10", "PANEL rounded 1", "WPR", "0,0", "150,0",
                "150,80", ""});
        const std::string transcript =
            RunWpr({"OPR", std::string("cell 1 1 ") + c.diameter, "yes", "show", "click 2"}, false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(GridRows(transcript), std::vector<std::string>{std::string(c.diameter) +
                                                                 "|{RB500W}|" + c.length + "|1"});
        const std::vector<Bar> bars = Polylines();
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(reshape_kit::Shape(bars[0].vertices), c.shape);
    }
}

}  // namespace
