// Grid controls in a dialog: cells typed key by key through its filters, list cells, row choice.
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "test_support.h"

namespace platform {
namespace {

using testing::Session;

DialogTemplate GridTemplate() {
    DialogTemplate t;
    t.id = 141;
    t.caption = "Wstaw wykaz";
    t.rect = {0, 0, 335, 191};
    t.controls = {
        {1, ControlKind::DefaultButton, "Wstaw wykaz", {223, 170, 275, 184}},
        {2, ControlKind::Button, "Zamknij", {278, 170, 328, 184}},
        {1012, ControlKind::Grid, "", {6, 6, 330, 168}},
    };
    return t;
}

// Length column 1 takes digits and one separator, "," shown as "."; column 2 is a list;
// row 2's column 1 cell is disabled.
class ScheduleLike : public Dialog {
  public:
    bool OnInitDialog() override {
        GridData* g = Grid(1012);
        g->SetColumns({{"Nr", "", 25}, {"Długość", "[cm]", 70}, {"Stal", "", 70}});
        for (int i = 0; i < 3; ++i) {
            int row = g->AddRow();
            g->Cell(row, 0)->text = std::to_string(row);
            g->Cell(row, 2)->items = {"St0S", "RB500W", "-"};
            g->Cell(row, 2)->text = "St0S";
        }
        g->Cell(2, 1)->enabled = false;
        return true;
    }
    bool OnGridBeginEdit(int id, int row, int col) override {
        return col != 0 && Dialog::OnGridBeginEdit(id, row, col);
    }
    bool OnGridEditChanging(int, int, int col, std::string& text) override {
        if (col != 1) {
            return true;
        }
        int separators = 0;
        for (char& c : text) {
            if (c == ',') {
                c = '.';
            }
            if (c == '.') {
                ++separators;
            } else if (c < '0' || c > '9') {
                return false;
            }
        }
        return separators <= 1;
    }
    void OnGridCellChanged(int, int row, int col, const std::string& text) override {
        changes.push_back(std::to_string(row) + "," + std::to_string(col) + "=" + text);
    }
    void OnGridSelect(int, int row) override { selections.push_back(row); }
    std::vector<std::string> changes;
    std::vector<int> selections;
};

TEST(GridDialogTest, TypedCellsPassThroughTheKeystrokeFilter) {
    Session s({"cell 1 1 12,5", "cell 3 1 1a2.3.4", "cell 1 2 rb500w", "select 2", "click 1"});
    ScheduleLike d;
    EXPECT_EQ(d.DoModal(GridTemplate(), nullptr), IDOK);
    const GridData* g = d.Grid(1012);
    EXPECT_EQ(g->Cell(1, 1)->text, "12.5");
    EXPECT_EQ(g->Cell(3, 1)->text, "12.34");
    EXPECT_EQ(g->Cell(1, 2)->text, "RB500W");
    EXPECT_EQ(g->CurrentRow(), 2);
    EXPECT_EQ(d.changes, (std::vector<std::string>{"1,1=12.5", "3,1=12.34", "1,2=RB500W"}));
    EXPECT_EQ(d.selections, (std::vector<int>{1, 3, 1, 2}));
}

TEST(GridDialogTest, RefusedCellsKeepTheirText) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"cell 2 1 7", "Komórka (2, 1) jest zablokowana."},
        {"cell 1 0 9", "Komórki (1, 0) nie można edytować."},
        {"cell 1 2 S235", "Komórka (1, 2) nie ma pozycji \"S235\"."},
        {"cell 4 1 5", "Siatka nie ma komórki (4, 1)."},
        {"cell 1 7 5", "Siatka nie ma komórki (1, 7)."},
        {"select 0", "Siatka nie ma wiersza 0."},
        {"select 4", "Siatka nie ma wiersza 4."},
        {"cell x 1 5", "wiersz pominięty"},
    };
    for (const Case& c : cases) {
        Session s({c.line, "click 2"});
        ScheduleLike d;
        EXPECT_EQ(d.DoModal(GridTemplate(), nullptr), IDCANCEL);
        EXPECT_TRUE(s.Printed(c.message)) << c.line << "\n" << s.Output();
        EXPECT_TRUE(d.changes.empty()) << c.line;
        EXPECT_EQ(d.Grid(1012)->Cell(1, 2)->text, "St0S");
        EXPECT_EQ(d.Grid(1012)->Cell(2, 1)->text, "");
    }
}

TEST(GridDialogTest, ShowPrintsHeadingsRowsAndCurrentRow) {
    Session s({"select 3", "show", "click 2"});
    ScheduleLike d;
    d.DoModal(GridTemplate(), nullptr);
    EXPECT_TRUE(
        s.Printed("  [1012] siatka 3 wierszy\n"
                  "         Nr | Długość [cm] | Stal\n"
                  "      1: 1  |              | St0S\n"
                  "      2: 2  | {}           | St0S\n"
                  "    > 3: 3  |              | St0S\n"))
        << s.Output();
}

}  // namespace
}  // namespace platform
