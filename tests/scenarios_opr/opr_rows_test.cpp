// Rows collected from the bars through the whole program: one row per mark with its count,
// diameter texts, gap closing first, bars whose number cannot be a mark left out and told, and
// the counts and remarks typed for a mark kept with it.
#include <cstdlib>
#include <filesystem>
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

// A count or remark typed for a mark is kept on the mark's bars and shown marked, with the
// drawn count beside it: after Esc at the insertion point, through Usuń's renumbering, a
// diameter change of its mark, SAVE and OPEN, and repeated OPR (whose stored rows leave
// nothing behind for an outside reader to mend); typing the drawn count back drops it.
TEST_F(OprTest, TypedCountsFollowTheirMarks) {
    const std::string path = ::testing::TempDir() + "opr-typed.dxf";
    RunWpr({}, true);
    StraightBar(100, 0, 1);
    StraightBar(200, 100, 2);
    StraightBar(300, 200, 3);
    // clang-format off
    std::vector<std::string> lines = {"OPR", "cell 3 4 41", "cell 3 5 strzemiona", "click 1", "^C",
                                      "EDPR", "Usuń", "50,0", "yes", "^C",
                                      "PANEL steel RB500W", "PANEL diameter 16",
                                      "EDPR", "Zmień_średnicę/stal", "150,200", "^C"};
    // clang-format on
    for (int i = 0; i < 6; ++i) {
        lines.insert(lines.end(), {"OPR", "click Dodaj", "click Zamknij"});
    }
    lines.insert(lines.end(), {"SAVE " + path, "OPEN " + path, "OPR", "show", "click 2"});
    const std::string transcript = RunWpr(lines, false);
    SCOPED_TRACE(transcript);
    const std::vector<std::string> rows = GridRows(transcript);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "10|{RB500W}|200|1");
    EXPECT_EQ(rows[1], "16|{RB500W}|300|41 (wpisano, z rysunku: 1)|strzemiona (wpisano)");
    EXPECT_EQ(Count(transcript.substr(transcript.rfind("] siatka")), "wpisano"), 2);
    const std::string tool = ARMAVO_SOURCE_DIR "/../shared/tools/dxf-validate";
    if (std::filesystem::exists(tool)) {
        EXPECT_EQ(std::system((tool + " " + path + " >/dev/null 2>&1").c_str()), 0);
    }
    const std::string back =
        RunWpr({"OPR", "cell 2 4 1", "cell 2 5", "click 2", "OPR", "show", "click 2"}, false);
    EXPECT_EQ(GridRows(back)[1], "16|{RB500W}|300|1") << back;
    for (const Bar& bar : Polylines()) {
        EXPECT_FALSE(bar.record.HasTypedEntries()) << bar.record.number;
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
