// The schedule dialog (template 141) and its grid: opening with the collected and the stored
// rows, adding and deleting rows, the questions on changed diameters and steels, and closing,
// which stores the hand-made rows and rebuilds the bars the user asked to change.
#include "module/schedule/wykazy_opisy.h"

#include <cstdio>

#include "module/model/steel.h"
#include "module/resources/resource.h"
#include "module/resources/strings.h"
#include "module/resources/templates.h"
#include "module/rods/obsluga_preta.h"
#include "module/schedule/char_check.h"
#include "module/schedule/schedule_math.h"
#include "module/schedule/stored_rows.h"
#include "platform/geometry.h"
#include "platform/message_box.h"

namespace {

constexpr int kStrNumber = 113;
constexpr int kStrDiameter = 114;
constexpr int kStrSteel = 115;
constexpr int kStrLength = 116;
constexpr int kStrTotalCount = 951;
constexpr int kStrRemarks = 952;
constexpr int kStrMillimetres = 76;
constexpr int kStrCentimetres = 78;
constexpr int kStrPieces = 79;
constexpr int kStrAskDiameter = 119;
constexpr int kStrAskSteel = 120;
constexpr int kStrAskDeleteRow = 124;
constexpr int kStrAskDeleteBars = 125;
constexpr int kStrPiecesShort = 126;
constexpr int kStrAskDeleteBar = 127;
constexpr int kStrLeftOut = 950;
constexpr int kStrTypedCount = 1100;
constexpr int kStrTypedRemark = 1101;

constexpr const char* kCaption = "IntelliCAD";
constexpr std::uint32_t kDrawingRowColour = 0x78F078;  // RGB(120, 240, 120)

enum Column { kColNumber = 0, kColDiameter, kColSteel, kColLength, kColCount, kColRemarks };

std::string JoinItems(const char* const* first, const char* const* last) {
    std::string items;
    for (const char* const* it = first; it != last; ++it) {
        items += *it;
        items += "\n";
    }
    return items;
}

bool IsItem(const std::string& items, const std::string& text) {
    return !text.empty() && ("\n" + items).find("\n" + text + "\n") != std::string::npos;
}

bool Disabled(int flags) {
    return (flags & kCellDisabled) != 0;
}

}  // namespace

// ---- CElementsUGrid ---------------------------------------------------------------------------

CElementsUGrid::CElementsUGrid(CWykazyOpisy* dialog)
    : dialog_(dialog),
      steelItems_(JoinItems(kScheduleSteelNames.data(),
                            kScheduleSteelNames.data() + kScheduleSteelNames.size())),
      diameterItems_(
          JoinItems(kDiameterTexts.data(), kDiameterTexts.data() + kDiameterTexts.size())) {}

void CElementsUGrid::Setup(double scale) {
    SetColumns({{LoadUiString(kStrNumber), "", 25},
                {LoadUiString(kStrDiameter), LoadUiString(kStrMillimetres), 70},
                {LoadUiString(kStrSteel), "", 70},
                {LoadUiString(kStrLength), LoadUiString(kStrCentimetres), 70},
                {LoadUiString(kStrTotalCount), LoadUiString(kStrPieces), 90},
                {LoadUiString(kStrRemarks), "", 150}},
               scale);
}

void CElementsUGrid::AddGridRow(const CWykazObj& row) {
    const int p = AppendRow();
    if (p < 1) {
        return;
    }
    if (row.fromDrawing == 1) {
        SetBackground(kColDiameter, p, kColRemarks, p, kDrawingRowColour);
    }
    QuickSetText(kColNumber, p, std::to_string(p));
    SetDropDown(kColDiameter, p, diameterItems_);
    QuickSetText(kColDiameter, p, row.diameter);
    SetDropDown(kColSteel, p, steelItems_);
    QuickSetText(kColSteel, p, row.steel);
    QuickSetText(kColLength, p, row.length);
    QuickSetText(kColCount, p, row.count);
    QuickSetText(kColRemarks, p, row.remarks);
    const struct {
        int col;
        bool disabled;
    } cells[] = {
        {kColDiameter, Disabled(row.diameterFlags)},
        {kColSteel, row.fromDrawing == 1 || Disabled(row.steelFlags)},
        {kColLength, Disabled(row.lengthFlags)},
        {kColCount, Disabled(row.countFlags)},
        {kColRemarks, Disabled(row.remarksFlags)},
    };
    for (const auto& cell : cells) {
        if (cell.disabled) {
            DisableCell(cell.col, p);
        }
    }
    ShowTyped(p, row);
}

void CElementsUGrid::ShowTyped(int p, const CWykazObj& row) {
    if (row.fromDrawing != 1) {
        return;
    }
    std::string count;
    if (!schedule::TypedCount(row).empty()) {
        count = LoadUiString(kStrTypedCount);
        if (const size_t at = count.find("%s"); at != std::string::npos) {
            count.replace(at, 2, row.drawnCount);
        }
    }
    SetNote(kColCount, p, count);
    SetNote(kColRemarks, p, row.remarks.empty() ? "" : LoadUiString(kStrTypedRemark));
}

bool CElementsUGrid::OnStartEdit(int col, int row) {
    // The lists change only by choosing an item; the row number is the grid's own.
    if (row < 1 || col == kColNumber || col == kColDiameter || col == kColSteel) {
        return false;
    }
    textAtStart_ = QuickGetText(col, row);
    return true;
}

bool CElementsUGrid::OnEditChanging(int col, int, std::string& text) {
    if (col == kColLength) {
        return FilterDecimal(text);
    }
    if (col == kColCount) {
        return FilterWhole(text);
    }
    return true;
}

void CElementsUGrid::OnValueChanged(int col, int row, const std::string& typed) {
    if (row < 1 || row > GetNumberRows()) {
        return;
    }
    CWykazObj value = dialog_->RowAt(row);
    const std::string text = typed.substr(0, typed.find('\n'));
    switch (col) {
        case kColDiameter:
        case kColSteel: {
            std::string& field = col == kColDiameter ? value.diameter : value.steel;
            if (!IsItem(col == kColDiameter ? diameterItems_ : steelItems_, text)) {
                QuickSetText(col, row, field);
                return;
            }
            if (text == field) {
                return;
            }
            field = text;
            QuickSetText(col, row, text);
            if (value.fromDrawing != 1) {
                break;
            }
            if (col == kColDiameter) {
                value.length = schedule::Format("%.0f", dialog_->Rod().LengthForDiameter(
                                                            value.mark, schedule::ParseReal(text)));
                QuickSetText(kColLength, row, value.length);
            }
            // The row keeps its new values either way; only Yes changes the drawing.
            if (platform::MessageBox(
                    Dialog(), LoadUiString(col == kColDiameter ? kStrAskDiameter : kStrAskSteel),
                    kCaption, platform::MB_YESNO) == platform::IDYES) {
                value.applyToDrawing = 1;
            }
            break;
        }
        case kColLength:
            value.length = text;
            break;
        case kColCount:
            value.count = text;
            // Emptied, or the drawn count typed back: the mark has its drawn count again.
            if (value.fromDrawing == 1 && schedule::TypedCount(value).empty()) {
                value.count = value.drawnCount;
                QuickSetText(col, row, value.count);
            }
            break;
        case kColRemarks:
            value.remarks = text;
            break;
        default:
            return;
    }
    ShowTyped(row, value);
    dialog_->RowChanged(row, value);
}

void CElementsUGrid::OnSelect(int) {
    dialog_->UpdateButtons();
}

// ---- CWykazyOpisy -----------------------------------------------------------------------------

CWykazyOpisy::CWykazyOpisy(platform::Window* parent, CToolBarDlg* panel)
    : parent_(parent), panel_(panel) {}

CWykazyOpisy::~CWykazyOpisy() = default;

int CWykazyOpisy::DoModal() {
    const platform::DialogTemplate* templ = FindDialogTemplate(IDD_SCHEDULE);
    const int result = templ != nullptr ? Dialog::DoModal(*templ, parent_) : platform::IDCANCEL;
    grid_.reset();
    return result == platform::IDOK ? platform::IDOK : platform::IDCANCEL;
}

bool CWykazyOpisy::OnInitDialog() {
    grid_ = std::make_unique<CElementsUGrid>(this);
    rows_.clear();
    rod_ = std::make_unique<CObslugaPreta>(panel_);
    stored_ = false;
    if (grid_->Attach(*this, IDC_GRID)) {
        grid_->Setup(platform::LogPixelsX() / 96.0);
    }
    CollectRows();
    LoadStoredRows();
    EnableControl(IDC_DELETE_ROW, false);
    EnableControl(platform::IDOK, grid_->GetNumberRows() > 0);
    SetCheck(IDC_FULL_SCHEDULE, true);
    return true;
}

void CWykazyOpisy::CollectRows() {
    const size_t before = rows_.size();
    const int leftOut = rod_->CollectScheduleRows(rows_);
    for (size_t i = before; i < rows_.size(); ++i) {
        grid_->AddGridRow(rows_[i]);
    }
    if (leftOut > 0) {
        std::string message = LoadUiString(kStrLeftOut);
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, message.c_str(), leftOut, rod_->CountRods(0));
        sds_printf("%s", buffer);
    }
}

void CWykazyOpisy::LoadStoredRows() {
    for (const CWykazObj& row : schedule::HandRows(records_)) {
        rows_.push_back(row);
        grid_->AddGridRow(row);
    }
}

void CWykazyOpisy::StoreRows() {
    if (stored_) {
        return;
    }
    stored_ = true;
    UndoGroup undo;
    std::vector<CWykazObj> handRows;
    for (const CWykazObj& row : rows_) {
        if (row.fromDrawing != 1) {
            handRows.push_back(row);
            continue;
        }
        // What was typed for a mark goes on its bars first: a rebuilt bar takes its record.
        const std::string count = schedule::TypedCount(row);
        if (count != row.keptCount || row.remarks != row.keptRemark) {
            rod_->KeepTypedEntries(row.mark, count, row.remarks);
        }
        if (row.applyToDrawing == 1) {
            rod_->ApplyRowToDrawing(row.mark, schedule::ParseReal(row.diameter), row.steel);
        }
    }
    schedule::StoreHandRows(records_, handRows);
    undo.Close();
}

void CWykazyOpisy::UpdateButtons() {
    if (grid_ == nullptr) {
        return;
    }
    EnableControl(IDC_DELETE_ROW, grid_->GetCurrentRow() >= 1);
    EnableControl(platform::IDOK, grid_->GetNumberRows() > 0);
}

void CWykazyOpisy::AddRow() {
    CWykazObj row;
    row.diameter = "6";
    row.steel = SteelName(0);
    row.length = "0";
    row.count = "0";
    rows_.push_back(row);
    grid_->AddGridRow(row);
    UpdateButtons();
}

void CWykazyOpisy::DeleteRow() {
    const int p = grid_->GetCurrentRow();
    if (p < 1 || p > static_cast<int>(rows_.size())) {
        return;
    }
    if (platform::MessageBox(this, LoadUiString(kStrAskDeleteRow), kCaption, platform::MB_YESNO) !=
        platform::IDYES) {
        return;
    }
    const CWykazObj row = rows_[static_cast<size_t>(p - 1)];
    if (row.fromDrawing == 1) {
        const std::string question = schedule::ParseWhole(row.count) < 2
                                         ? LoadUiString(kStrAskDeleteBar)
                                         : LoadUiString(kStrAskDeleteBars) + " (" + row.count +
                                               " " + LoadUiString(kStrPiecesShort) + ")";
        if (platform::MessageBox(this, question, kCaption, platform::MB_YESNO) == platform::IDYES) {
            const std::map<int, int> renumbered = rod_->DeleteBarsWithNumber(row.mark);
            for (CWykazObj& other : rows_) {
                auto found = renumbered.find(other.mark);
                if (other.fromDrawing == 1 && found != renumbered.end()) {
                    other.mark = found->second;
                }
            }
        }
    }
    grid_->DeleteCurrentRow();
    rows_.erase(rows_.begin() + (p - 1));
    grid_->RenumberRows();
    UpdateButtons();
}

void CWykazyOpisy::OnCommand(int id) {
    if (id == IDC_ADD_ROW) {
        AddRow();
    } else if (id == IDC_DELETE_ROW) {
        DeleteRow();
    }
}

void CWykazyOpisy::OnOK() {
    full_ = GetCheck(IDC_FULL_SCHEDULE);
    StoreRows();
    EndDialog(platform::IDOK);
}

void CWykazyOpisy::OnCancel() {
    StoreRows();
    EndDialog(platform::IDCANCEL);
}
