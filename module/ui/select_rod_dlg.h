// The bar picker: a modal dialog listing the bars selected before an edit operation (number,
// diameter, steel, length), of which the user chooses one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/sds.h"
#include "module/grid/grid_ctrl.h"
#include "platform/dialog.h"

// One row of the picker.
class CSelectRodObj {
  public:
    CSelectRodObj() = default;
    CSelectRodObj(const CSelectRodObj&) = default;
    CSelectRodObj& operator=(const CSelectRodObj&) = default;
    virtual ~CSelectRodObj() = default;

    std::string diameter;  // millimetres, "%.1f"
    std::string steel;     // grade name, "" for an unknown grade
    std::string length;    // developed length, "%.0f"
    sds_name entity = {0, 0};
    std::string number;  // "%d"
};

// The picker's grid: four read-only columns; clicking a cell selects its whole row.
class CSelectRodUGrid : public GridCtrl {
  public:
    // Headings and widths; no rows.
    void Setup();
    void AddRodRow(const CSelectRodObj& row);
    bool OnStartEdit(int col, int row) override;
    void OnValueChanged(int col, int row, const std::string& text) override;
};

class CSelectRodDlg : public platform::Dialog {
  public:
    explicit CSelectRodDlg(platform::Window* parent = nullptr) : parent_(parent) {}
    ~CSelectRodDlg() override;

    void SetRows(const std::vector<CSelectRodObj>& rows) { rows_ = rows; }
    const std::vector<CSelectRodObj>& Rows() const { return rows_; }
    // IDOK or IDCANCEL.
    int DoModal();
    // After IDOK the grid row of the chosen bar (rows from 1: the bar is Rows()[row - 1]);
    // -1 otherwise.
    int ChosenRow() const { return chosen_; }

    bool OnInitDialog() override;
    void OnOK() override;

  private:
    platform::Window* parent_ = nullptr;
    std::vector<CSelectRodObj> rows_;
    std::unique_ptr<CSelectRodUGrid> grid_;
    int chosen_ = -1;
};
