// The schedule dialog "Wstaw wykaz": the rows of the drawing's bar marks and the rows added by
// hand in an editable grid, before the table is inserted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "module/entities/xdata.h"
#include "module/grid/grid_ctrl.h"
#include "module/model/schedule_row.h"
#include "platform/dialog.h"

class CObslugaPreta;
class CToolBarDlg;
class CWykazyOpisy;

// The schedule's grid: drop-down diameter and steel cells, number filters on the length and
// count, drawing rows coloured with their steel locked.
class CElementsUGrid : public GridCtrl {
  public:
    explicit CElementsUGrid(CWykazyOpisy* dialog);
    void Setup(double scale);
    void AddGridRow(const CWykazObj& row);

    bool OnStartEdit(int col, int row) override;
    bool OnEditChanging(int col, int row, std::string& text) override;
    void OnValueChanged(int col, int row, const std::string& text) override;
    void OnSelect(int row) override;

  private:
    // Marks the count and remark of a drawing row as typed, with the drawn count beside.
    void ShowTyped(int p, const CWykazObj& row);

    CWykazyOpisy* dialog_;
    std::string steelItems_;
    std::string diameterItems_;
    std::string textAtStart_;
};

class CWykazyOpisy : public platform::Dialog {
  public:
    CWykazyOpisy(platform::Window* parent, CToolBarDlg* panel);
    ~CWykazyOpisy() override;

    // IDOK ("Wstaw wykaz") or IDCANCEL.
    int DoModal();
    const std::vector<CWykazObj>& Rows() const { return rows_; }
    // The state of "Pełny wykaz" when "Wstaw wykaz" was pressed.
    bool IsFull() const { return full_; }

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommand(int id) override;

    // What the grid reports.
    void RowChanged(int row, const CWykazObj& value) {
        rows_[static_cast<size_t>(row - 1)] = value;
    }
    CWykazObj& RowAt(int row) { return rows_[static_cast<size_t>(row - 1)]; }
    CObslugaPreta& Rod() { return *rod_; }
    void UpdateButtons();

  private:
    void CollectRows();
    void LoadStoredRows();
    void StoreRows();
    void AddRow();
    void DeleteRow();

    platform::Window* parent_;
    CToolBarDlg* panel_;
    std::unique_ptr<CElementsUGrid> grid_;
    std::vector<CWykazObj> rows_;
    std::unique_ptr<CObslugaPreta> rod_;
    CSDSXDataPret records_;
    bool full_ = false;
    bool stored_ = false;
};
