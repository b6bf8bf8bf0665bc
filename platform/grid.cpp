// The cell store of grid controls.
#include "platform/grid.h"

#include <algorithm>
#include <string>

namespace platform {

void GridData::SetColumns(std::vector<GridColumn> columns) {
    columns_ = std::move(columns);
    for (auto& row : rows_) {
        row.resize(columns_.size());
    }
}

int GridData::AddRow() {
    rows_.emplace_back(columns_.size());
    return RowCount();
}

bool GridData::DeleteRow(int row) {
    if (row < 1 || row > RowCount()) {
        return false;
    }
    rows_.erase(rows_.begin() + (row - 1));
    if (current_ > RowCount()) {
        current_ = RowCount() > 0 ? RowCount() : -1;
    }
    return true;
}

bool GridData::HasCell(int row, int col) const {
    return row >= 1 && row <= RowCount() && col >= 0 && col < ColumnCount();
}

GridCell* GridData::Cell(int row, int col) {
    return HasCell(row, col) ? &rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(col)]
                             : nullptr;
}

const GridCell* GridData::Cell(int row, int col) const {
    return HasCell(row, col) ? &rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(col)]
                             : nullptr;
}

int GridData::SetBackground(int row1, int col1, int row2, int col2, std::uint32_t colour) {
    const int top = std::max(1, std::min(row1, row2));
    const int bottom = std::min(RowCount(), std::max(row1, row2));
    const int left = std::max(0, std::min(col1, col2));
    const int right = std::min(ColumnCount() - 1, std::max(col1, col2));
    int coloured = 0;
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
            Cell(row, col)->background = colour;
            ++coloured;
        }
    }
    return coloured;
}

bool GridData::DisableCell(int row, int col) {
    GridCell* cell = Cell(row, col);
    if (cell == nullptr) {
        return false;
    }
    cell->enabled = false;
    cell->background = kButtonFaceColour;
    return true;
}

void GridData::RenumberColumn(int col) {
    for (int row = 1; row <= RowCount(); ++row) {
        if (GridCell* cell = Cell(row, col)) {
            cell->text = std::to_string(row);
        }
    }
}

}  // namespace platform
