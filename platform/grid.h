// The data of a grid control: columns with headings, rows of cells (text, a drop-down item
// list, enabled state, background), the current row. Rows are numbered from 1 (row 0 is the
// heading row); columns from 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct GridColumn {
    std::string heading;
    std::string unit;  // shown under the heading, e.g. "[mm]"
    int width = 0;     // pixels
};

struct GridCell {
    std::string text;
    std::vector<std::string> items;  // non-empty: a drop-down list cell taking only these
    bool enabled = true;
    std::uint32_t background = 0xFFFFFFFF;  // COLORREF; all ones means the default colour
};

class GridData {
  public:
    void SetColumns(std::vector<GridColumn> columns);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const GridColumn& Column(int col) const { return columns_.at(static_cast<size_t>(col)); }
    // Appends an empty row; returns its number (1-based).
    int AddRow();
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Removes a row; the rows below move up. False for a row that does not exist.
    bool DeleteRow(int row);
    void Clear() { rows_.clear(), current_ = -1; }
    bool HasCell(int row, int col) const;
    // Null for a cell that does not exist.
    GridCell* Cell(int row, int col);
    const GridCell* Cell(int row, int col) const;
    // The current (selected) row, -1 when there is none.
    int CurrentRow() const { return current_; }
    void SetCurrentRow(int row) { current_ = (row >= 1 && row <= RowCount()) ? row : -1; }

  private:
    std::vector<GridColumn> columns_;
    std::vector<std::vector<GridCell>> rows_;
    int current_ = -1;
};

}  // namespace platform
