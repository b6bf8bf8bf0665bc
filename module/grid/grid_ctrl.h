// The module's grid base: one grid control of a dialog with the operations the bar picker and
// the schedule dialog need, and the notifications a derived grid answers. Columns are numbered
// from 0, data rows from 1 (row 0 is the heading row); operations take the column first.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/grid.h"

class GridCtrl : public platform::GridEvents {
  public:
    GridCtrl() = default;
    ~GridCtrl() override;
    GridCtrl(const GridCtrl&) = delete;
    GridCtrl& operator=(const GridCtrl&) = delete;

    // Takes the place of the dialog's grid control `id` and answers its notifications from
    // then on. False, and the grid stays detached, when the dialog has no grid of that id.
    // The grid must go before its dialog does (a member of the dialog, or owned by it).
    bool Attach(platform::Dialog& dialog, int id);
    bool IsAttached() const { return dialog_ != nullptr; }

    // Columns with headings, units and widths; widths are multiplied by `scale` and cut to
    // whole pixels. Rows already there keep their cells.
    void SetColumns(std::vector<platform::GridColumn> columns, double scale = 1.0);
    int GetNumberCols() const;
    int GetNumberRows() const;
    // Appends an empty row; its number (1-based), or -1 when detached.
    int AppendRow();

    // False (and nothing changes) for a cell that does not exist.
    bool QuickSetText(int col, int row, const std::string& text);
    std::string QuickGetText(int col, int row) const;
    // Makes the cell a drop-down list of `items`, one item per "\n"-separated piece.
    bool SetDropDown(int col, int row, const std::string& items);
    // Background of the cells between the two corners; the number of cells coloured.
    int SetBackground(int col1, int row1, int col2, int row2, std::uint32_t colour);
    // A note the grid shows beside the cell's text ("" takes it away).
    bool SetNote(int col, int row, const std::string& note);
    // The cell takes no input and shows the button-face colour.
    bool DisableCell(int col, int row);
    bool IsCellEnabled(int col, int row) const;

    // The current row, which is the whole row selected: 1-based, -1 when there is none.
    int GetCurrentRow() const;
    // Selects the whole row (clearing the selection before); -1 clears it.
    void SelectRow(int row);
    // Deletes the current row; false when there is none.
    bool DeleteCurrentRow();
    // Writes 1, 2, 3... into column 0.
    void RenumberRows();

    // Notifications, column first. A derived grid that edits cells answers the start of an
    // editing and the change of a value; one that does not and still gets them is told so
    // in a message box, and the editing is refused.
    virtual bool OnStartEdit(int col, int row);
    virtual void OnValueChanged(int col, int row, const std::string& text);
    // Each keystroke's new text in the cell being edited: false refuses it (the cell keeps the
    // last accepted text), or change `text` to what the cell should show. Default: accepted.
    virtual bool OnEditChanging(int col, int row, std::string& text);
    // The user selected a row (already current).
    virtual void OnSelect(int row);

  protected:
    platform::GridData* Data();
    const platform::GridData* Data() const;
    platform::Dialog* Dialog() const { return dialog_; }

  private:
    bool OnGridBeginEdit(int row, int col) final { return OnStartEdit(col, row); }
    bool OnGridEditChanging(int row, int col, std::string& text) final {
        return OnEditChanging(col, row, text);
    }
    void OnGridCellChanged(int row, int col, const std::string& text) final {
        OnValueChanged(col, row, text);
    }
    void OnGridSelect(int row) final { OnSelect(row); }
    void NotHandled() const;

    platform::Dialog* dialog_ = nullptr;
    int id_ = 0;
    std::map<std::string, platform::GridItems> lists_;  // the drop-down lists by their text
};
