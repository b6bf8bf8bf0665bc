// The cell store of grid controls.
#include "platform/grid.h"

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

}  // namespace platform
