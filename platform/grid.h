// The data of a grid control: columns with headings, rows of cells (text, a drop-down item
// list, enabled state, background), the current row, which is also the selected whole row.
// Rows are numbered from 1 (row 0 is the heading row); columns from 0.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct GridColumn {
    std::string heading;
    std::string unit;  // shown under the heading, e.g. "[mm]"
    int width = 0;     // pixels
};

// The default background, and the button-face colour that marks a cell taking no input.
constexpr std::uint32_t kDefaultBackground = 0xFFFFFFFF;
constexpr std::uint32_t kButtonFaceColour = 0xF0F0F0;

// The items of a drop-down list cell. Copies share one list, so that the cells of a column
// of thousands of rows that offer the same items keep them once.
class GridItems {
  public:
    GridItems() = default;
    GridItems(std::vector<std::string> items)
        : items_(std::make_shared<const std::vector<std::string>>(std::move(items))) {}
    GridItems(std::initializer_list<std::string> items)
        : GridItems(std::vector<std::string>(items)) {}
    const std::vector<std::string>& List() const { return items_ ? *items_ : None(); }
    bool empty() const { return List().empty(); }
    size_t size() const { return List().size(); }
    const std::string& operator[](size_t i) const { return List()[i]; }
    std::vector<std::string>::const_iterator begin() const { return List().begin(); }
    std::vector<std::string>::const_iterator end() const { return List().end(); }

  private:
    static const std::vector<std::string>& None() {
        static const std::vector<std::string> none;
        return none;
    }
    std::shared_ptr<const std::vector<std::string>> items_;
};

struct GridCell {
    std::string text;
    GridItems items;  // non-empty: a drop-down list cell taking only these
    bool enabled = true;
    std::uint32_t background = kDefaultBackground;  // COLORREF
    // Shown beside the text, not part of it: where the text came from (a value typed over
    // one taken from elsewhere, say). Empty: nothing shown.
    std::string note;
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

    // Colours the cells of the rectangle between the two corners (in any order), clipped to
    // the cells that exist; the number of cells coloured.
    int SetBackground(int row1, int col1, int row2, int col2, std::uint32_t colour);
    // The cell takes no input and shows the button-face background. False when it is missing.
    bool DisableCell(int row, int col);
    // Writes each row's own number, 1, 2, 3..., into column `col` (after rows were deleted).
    void RenumberColumn(int col);

  private:
    std::vector<GridColumn> columns_;
    std::vector<std::vector<GridCell>> rows_;
    int current_ = -1;
};

}  // namespace platform
