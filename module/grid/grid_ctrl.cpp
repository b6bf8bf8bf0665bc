// The module's grid base: cell, row and selection operations on the dialog's grid control,
// and the default answers to its notifications.
#include "module/grid/grid_ctrl.h"

#include <cmath>

#include "module/resources/strings.h"
#include "platform/message_box.h"

namespace {

constexpr int kStrNotHandled = 911;

// "a\nb\nc" → a, b, c; a trailing "\n" adds no empty item.
std::vector<std::string> SplitItems(const std::string& items) {
    std::vector<std::string> list;
    std::string item;
    for (char c : items) {
        if (c == '\n') {
            list.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty()) {
        list.push_back(item);
    }
    return list;
}

}  // namespace

GridCtrl::~GridCtrl() {
    if (dialog_ != nullptr) {
        dialog_->SetGridEvents(id_, nullptr);
    }
}

bool GridCtrl::Attach(platform::Dialog& dialog, int id) {
    if (!dialog.SetGridEvents(id, this)) {
        return false;
    }
    if (dialog_ != nullptr && (dialog_ != &dialog || id_ != id)) {
        dialog_->SetGridEvents(id_, nullptr);
    }
    dialog_ = &dialog;
    id_ = id;
    return true;
}

platform::GridData* GridCtrl::Data() {
    return dialog_ != nullptr ? dialog_->Grid(id_) : nullptr;
}

const platform::GridData* GridCtrl::Data() const {
    return dialog_ != nullptr ? dialog_->Grid(id_) : nullptr;
}

void GridCtrl::SetColumns(std::vector<platform::GridColumn> columns, double scale) {
    if (platform::GridData* g = Data()) {
        for (platform::GridColumn& column : columns) {
            column.width = static_cast<int>(std::trunc(column.width * scale));
        }
        g->SetColumns(std::move(columns));
    }
}

int GridCtrl::GetNumberCols() const {
    const platform::GridData* g = Data();
    return g != nullptr ? g->ColumnCount() : 0;
}

int GridCtrl::GetNumberRows() const {
    const platform::GridData* g = Data();
    return g != nullptr ? g->RowCount() : 0;
}

int GridCtrl::AppendRow() {
    platform::GridData* g = Data();
    return g != nullptr ? g->AddRow() : -1;
}

bool GridCtrl::QuickSetText(int col, int row, const std::string& text) {
    platform::GridCell* cell = Data() != nullptr ? Data()->Cell(row, col) : nullptr;
    if (cell == nullptr) {
        return false;
    }
    cell->text = text;
    return true;
}

std::string GridCtrl::QuickGetText(int col, int row) const {
    const platform::GridCell* cell = Data() != nullptr ? Data()->Cell(row, col) : nullptr;
    return cell != nullptr ? cell->text : std::string();
}

bool GridCtrl::SetDropDown(int col, int row, const std::string& items) {
    platform::GridCell* cell = Data() != nullptr ? Data()->Cell(row, col) : nullptr;
    if (cell == nullptr) {
        return false;
    }
    // One list for every cell that offers the same items.
    auto [list, made] = lists_.try_emplace(items);
    if (made) {
        list->second = SplitItems(items);
    }
    cell->items = list->second;
    return true;
}

int GridCtrl::SetBackground(int col1, int row1, int col2, int row2, std::uint32_t colour) {
    platform::GridData* g = Data();
    return g != nullptr ? g->SetBackground(row1, col1, row2, col2, colour) : 0;
}

bool GridCtrl::SetNote(int col, int row, const std::string& note) {
    platform::GridCell* cell = Data() != nullptr ? Data()->Cell(row, col) : nullptr;
    if (cell == nullptr) {
        return false;
    }
    cell->note = note;
    return true;
}

bool GridCtrl::DisableCell(int col, int row) {
    platform::GridData* g = Data();
    return g != nullptr && g->DisableCell(row, col);
}

bool GridCtrl::IsCellEnabled(int col, int row) const {
    const platform::GridCell* cell = Data() != nullptr ? Data()->Cell(row, col) : nullptr;
    return cell != nullptr && cell->enabled;
}

int GridCtrl::GetCurrentRow() const {
    const platform::GridData* g = Data();
    return g != nullptr ? g->CurrentRow() : -1;
}

void GridCtrl::SelectRow(int row) {
    if (platform::GridData* g = Data()) {
        g->SetCurrentRow(row);
    }
}

bool GridCtrl::DeleteCurrentRow() {
    platform::GridData* g = Data();
    return g != nullptr && g->CurrentRow() >= 1 && g->DeleteRow(g->CurrentRow());
}

void GridCtrl::RenumberRows() {
    if (platform::GridData* g = Data()) {
        g->RenumberColumn(0);
    }
}

void GridCtrl::NotHandled() const {
    platform::MessageBox(dialog_, LoadUiString(kStrNotHandled), "IntelliCAD", platform::MB_OK);
}

bool GridCtrl::OnStartEdit(int, int) {
    NotHandled();
    return false;
}

void GridCtrl::OnValueChanged(int, int, const std::string&) {
    NotHandled();
}

bool GridCtrl::OnEditChanging(int, int, std::string&) {
    return true;
}

void GridCtrl::OnSelect(int) {}
