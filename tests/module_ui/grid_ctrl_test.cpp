// The module's grid base on the framework's grid: scaled widths, drop-down item lists, the
// current row deleted and the rows renumbered, notifications that reach a grid class which
// does not handle them, and grid lines that name no cell or row of the grid.
#include <gtest/gtest.h>

#include "module/grid/grid_ctrl.h"
#include "module/resources/resource.h"
#include "module/resources/templates.h"
#include "tests/platform/test_support.h"
#include "tests/support/files.h"

namespace {

// A grid that handles no notification.
class BareGrid : public GridCtrl {};

class GridDialog : public platform::Dialog {
  public:
    bool OnInitDialog() override {
        if (!grid.Attach(*this, IDC_GRID)) {
            return false;
        }
        grid.SetColumns({{"Nr", "", 25}, {"Średnica", "[mm]", 70}, {"Uwagi", "", 150}}, 1.25);
        for (int i = 0; i < 3; ++i) {
            const int row = grid.AppendRow();
            grid.QuickSetText(0, row, "9");
            grid.SetDropDown(1, row, "8\n10\n12\n");
        }
        grid.DisableCell(2, 3);
        return true;
    }
    BareGrid grid;
};

TEST(GridCtrlTest, OperationsAndUnhandledNotifications) {
    platform::testing::Session s({"cell 1 2 uwaga", "cell 2 1 12", "cell 3 2 x", "select 2",
                                  "cell 4 1 5", "cell 1 7 5", "cell 0 1 5", "select 0", "select 4",
                                  "cell x 1 5", "click 1"});
    GridDialog d;
    ASSERT_EQ(d.Dialog::DoModal(*FindDialogTemplate(IDD_SCHEDULE), nullptr), platform::IDOK);
    const platform::GridData* g = d.Grid(IDC_GRID);
    EXPECT_EQ(g->Column(0).width, 31);  // 25 × 1.25, cut to whole pixels
    EXPECT_EQ(g->Column(2).width, 187);
    EXPECT_EQ(g->Cell(1, 1)->items.List(), (std::vector<std::string>{"8", "10", "12"}));
    // Editing refused, a list choice taken; each unhandled notification is told once.
    EXPECT_EQ(d.grid.QuickGetText(2, 1), "");
    EXPECT_EQ(d.grid.QuickGetText(1, 2), "12");
    EXPECT_FALSE(d.grid.IsCellEnabled(2, 3));
    EXPECT_EQ(g->Cell(3, 2)->background, platform::kButtonFaceColour);
    EXPECT_EQ(testkit::Count(s.Output(), "Funkcja niezdefiniowana w klasie pochodnej"), 2u)
        << s.Output();
    // Lines naming no cell or row are refused, each with its reason.
    for (const char* told : {"komórki (4, 1).", "komórki (1, 7).", "komórki (0, 1).", "wiersza 0.",
                             "wiersza 4.", "wiersz pominięty"}) {
        EXPECT_TRUE(s.Printed(told)) << told;
    }
    EXPECT_EQ(d.grid.GetCurrentRow(), 2);
    EXPECT_TRUE(d.grid.DeleteCurrentRow());
    d.grid.RenumberRows();
    EXPECT_EQ(d.grid.GetNumberRows(), 2);
    EXPECT_EQ(d.grid.QuickGetText(0, 1) + d.grid.QuickGetText(0, 2), "12");
    d.grid.SelectRow(-1);
    EXPECT_FALSE(d.grid.DeleteCurrentRow());
    EXPECT_FALSE(d.grid.QuickSetText(0, 3, "x"));
    // A block is coloured by columns, then rows: columns 1-2 of row 1 only.
    d.grid.SetBackground(1, 1, 2, 1, 0x123456);
    EXPECT_EQ(g->Cell(1, 2)->background, 0x123456u);
    EXPECT_NE(g->Cell(2, 1)->background, 0x123456u);
}

}  // namespace
