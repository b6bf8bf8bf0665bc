// Grid lines that name no cell of the grid. (Typing through the keystroke filters, list
// cells, disabled cells and the grid's show listing run through the schedule dialog in
// OprTest.KeystrokeFiltersAndPickLists; the grid operations through GridCtrlTest.)
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "test_support.h"

namespace platform {
namespace {

using testing::Session;

// Three rows of a number and a length; changes are recorded.
class ThreeRows : public Dialog {
  public:
    bool OnInitDialog() override {
        GridData* g = Grid(1012);
        g->SetColumns({{"Nr", "", 25}, {"Długość", "[cm]", 70}});
        for (int i = 0; i < 3; ++i) {
            g->Cell(g->AddRow(), 0)->text = std::to_string(i + 1);
        }
        return true;
    }
    void OnGridCellChanged(int, int row, int col, const std::string& text) override {
        changes.push_back(std::to_string(row) + "," + std::to_string(col) + "=" + text);
    }
    std::vector<std::string> changes;
};

TEST(GridDialogTest, CellsAndRowsOutsideTheGridAreRefused) {
    DialogTemplate t;
    t.caption = "Wykaz";
    t.rect = {0, 0, 335, 191};
    t.controls = {{1, ControlKind::DefaultButton, "OK", {223, 170, 275, 184}},
                  {2, ControlKind::Button, "Zamknij", {278, 170, 328, 184}},
                  {1012, ControlKind::Grid, "", {6, 6, 330, 168}}};
    const std::pair<const char*, const char*> cases[] = {
        {"cell 4 1 5", "Siatka nie ma komórki (4, 1)."},
        {"cell 1 7 5", "Siatka nie ma komórki (1, 7)."},
        {"cell 0 1 5", "Siatka nie ma komórki (0, 1)."},
        {"select 0", "Siatka nie ma wiersza 0."},
        {"select 4", "Siatka nie ma wiersza 4."},
        {"cell x 1 5", "wiersz pominięty"},
    };
    for (const auto& [line, message] : cases) {
        Session s({line, "cell 3 1 7", "click 2"});
        ThreeRows d;
        EXPECT_EQ(d.DoModal(t, nullptr), IDCANCEL);
        EXPECT_TRUE(s.Printed(message)) << line << "\n" << s.Output();
        EXPECT_EQ(d.changes, std::vector<std::string>{"3,1=7"}) << line;
        EXPECT_EQ(d.Grid(1012)->CurrentRow(), 3) << line;
    }
}

}  // namespace
}  // namespace platform
