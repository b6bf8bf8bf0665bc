// Rows collected from the bars through the whole program: one row per mark with its count,
// diameter texts, gap closing first, and bars whose number cannot be a mark left out and told.
#include <string>
#include <vector>

#include "tests/scenarios_opr/opr_kit.h"

namespace {

using namespace opr_kit;

struct BarSpec {
    double length;
    int number;
    double diameterMm = 10;
    int steel = 15;
};

TEST_F(OprTest, OneRowPerMarkAfterClosingGaps) {
    const struct {
        std::vector<BarSpec> bars;
        std::vector<std::string> rows;  // diameter|steel|length|count per row
        std::vector<int> numbersAfter;
        int leftOut;
    } cases[] = {
        // clang-format off
        // The length of a mark is its first bar's in drawing order.
        {{{200, 1}, {300, 2}, {400, 2}}, {"10|{RB500W}|200|1", "10|{RB500W}|300|2"}, {1, 2, 2}, 0},
        {{{150, 1, 4.5, 0}, {250, 2, 12, 15}}, {"4.5|{St0S}|150|1", "12|{RB500W}|250|1"}, {1, 2}, 0},
        // A gap is closed before collecting; bars that shared a number keep sharing one.
        {{{100, 1}, {300, 3}, {310, 3}, {500, 5}},
         {"10|{RB500W}|100|1", "10|{RB500W}|300|2", "10|{RB500W}|500|1"}, {1, 2, 2, 3}, 0},
        // Numbers below 1 are no mark: left out, and they do not fold mark 2 into mark 1.
        {{{100, 0}, {200, 1}, {300, 2}}, {"10|{RB500W}|200|1", "10|{RB500W}|300|1"}, {0, 1, 2}, 1},
        {{{100, -7}, {200, 1}, {50, 0}}, {"10|{RB500W}|200|1"}, {-7, 1, 0}, 2},
        // clang-format on
    };
    for (const auto& c : cases) {
        RunWpr({}, true);
        double y = 0;
        for (const BarSpec& bar : c.bars) {
            StraightBar(bar.length, y += 50, bar.number, bar.diameterMm, bar.steel);
        }
        const std::string transcript = RunWpr({"OPR", "click 2"}, false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(GridRows(transcript), c.rows);
        EXPECT_EQ(Numbers(), c.numbersAfter);
        const std::string told = "Pominięto w wykazie prętów: " + std::to_string(c.leftOut) +
                                 " (numer pręta spoza zakresu 1.." + std::to_string(c.bars.size()) +
                                 ").";
        EXPECT_EQ(Count(transcript, told), c.leftOut > 0 ? 1 : 0);
        EXPECT_EQ(Count(transcript, "Pominięto"), c.leftOut > 0 ? 1 : 0);
        auditAtEnd_ = c.leftOut == 0;
        if (c.leftOut == 0) {
            EXPECT_CLEAN_AUDIT();
        }
    }
}

// Hand-made rows are stored in the drawing and come back last; drawing rows are collected
// afresh every time, so an erased bar's row does not come back.
TEST_F(OprTest, HandRowsSurviveClosingDrawingRowsAreCollectedAfresh) {
    RunWpr({}, true);
    StraightBar(200, 0, 1);
    StraightBar(300, 100, 2);
    const std::string first = RunWpr(
        {"OPR", "click Dodaj", "cell 3 3 250", "cell 3 4 5", "cell 3 5 strzemię", "click Zamknij"},
        false);
    SCOPED_TRACE(first);
    EXPECT_NE(testkit::DumpNamedObjects().find("GLOBAL_ORV_ARMAVO2"), std::string::npos);
    const std::vector<std::vector<std::string>> sessions = {
        {"OPR", "show", "click 2"},
        {"OPR", "show", "^C"},  // Esc closes as "Zamknij" does
        {"ERASE", "250,100", "", "OPR", "show", "click 2"},
    };
    const std::vector<std::vector<std::string>> expected = {
        {"10|{RB500W}|200|1", "10|{RB500W}|300|1", "6|St0S|250|5|strzemię"},
        {"10|{RB500W}|200|1", "10|{RB500W}|300|1", "6|St0S|250|5|strzemię"},
        {"10|{RB500W}|200|1", "6|St0S|250|5|strzemię"},
    };
    for (size_t i = 0; i < sessions.size(); ++i) {
        const std::string transcript = RunWpr(sessions[i], false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(GridRows(transcript), expected[i]);
    }
}

// With nothing to show the table cannot be inserted until a row is added.
TEST_F(OprTest, EmptyDrawingHasNoRowsUntilOneIsAdded) {
    const std::string transcript = RunWpr({"OPR", "click 1", "click Dodaj", "show", "click 2"});
    SCOPED_TRACE(transcript);
    EXPECT_EQ(Count(transcript, "[1] przycisk \"Wstaw wykaz\" (domyślny) (zablokowany)"), 1);
    EXPECT_EQ(Count(transcript, "Kontrolka \"Wstaw wykaz\" jest zablokowana."), 1);
    EXPECT_EQ(GridRows(transcript), std::vector<std::string>{"6|St0S|0|0"});
    EXPECT_EQ(Count(transcript, "Wskaż punkt wstawienia tabeli"), 0);
}

}  // namespace
