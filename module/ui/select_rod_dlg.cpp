// The bar picker: template 143 with its grid filled from the rows handed in; OK takes the
// selected row and is refused while none is selected.
#include "module/ui/select_rod_dlg.h"

#include "module/resources/resource.h"
#include "module/resources/strings.h"
#include "module/resources/templates.h"

namespace {

constexpr int kStrNumber = 113;
constexpr int kStrDiameter = 114;
constexpr int kStrSteel = 115;
constexpr int kStrLength = 116;
constexpr int kStrMillimetres = 76;
constexpr int kStrCentimetres = 78;
constexpr int kStrNothingChosen = 122;
constexpr int kStrTitle = 140;
constexpr int kStrCancel = 141;

}  // namespace

// ---- CSelectRodUGrid ----------------------------------------------------------------------

void CSelectRodUGrid::Setup() {
    SetColumns({{LoadUiString(kStrNumber), "", 25},
                {LoadUiString(kStrDiameter), LoadUiString(kStrMillimetres), 70},
                {LoadUiString(kStrSteel), "", 70},
                {LoadUiString(kStrLength), LoadUiString(kStrCentimetres), 70}});
}

void CSelectRodUGrid::AddRodRow(const CSelectRodObj& rod) {
    const int row = AppendRow();
    QuickSetText(0, row, rod.number);
    QuickSetText(1, row, rod.diameter);
    QuickSetText(2, row, rod.steel);
    QuickSetText(3, row, rod.length);
}

// The picker only shows bars: a click into a cell has selected its row, and that is all.
bool CSelectRodUGrid::OnStartEdit(int, int) {
    return false;
}

void CSelectRodUGrid::OnValueChanged(int, int, const std::string&) {}

// ---- CSelectRodDlg ------------------------------------------------------------------------

CSelectRodDlg::~CSelectRodDlg() {
    rows_.clear();
}

int CSelectRodDlg::DoModal() {
    chosen_ = -1;
    const platform::DialogTemplate* templ = FindDialogTemplate(IDD_SELECT_ROD);
    const int result = templ != nullptr ? Dialog::DoModal(*templ, parent_) : platform::IDCANCEL;
    // The grid goes with the window.
    grid_.reset();
    return result == platform::IDOK ? platform::IDOK : platform::IDCANCEL;
}

bool CSelectRodDlg::OnInitDialog() {
    grid_ = std::make_unique<CSelectRodUGrid>();
    if (grid_->Attach(*this, IDC_GRID)) {
        grid_->Setup();
        for (const CSelectRodObj& rod : rows_) {
            grid_->AddRodRow(rod);
        }
    }
    SetDlgItemText(platform::IDCANCEL, LoadUiString(kStrCancel));
    SetWindowText(LoadUiString(kStrTitle));
    return true;
}

void CSelectRodDlg::OnOK() {
    const int row = grid_ != nullptr ? grid_->GetCurrentRow() : -1;
    if (row < 1) {
        sds_alert(LoadUiString(kStrNothingChosen).c_str());
        return;
    }
    chosen_ = row;
    EndDialog(platform::IDOK);
}
