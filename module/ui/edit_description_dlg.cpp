// The description editor (template 144): splitting the leader's main text into its parts,
// the checks made on leaving an edit, and composing the texts again on OK.
#include "module/ui/edit_description_dlg.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "module/resources/resource.h"
#include "module/resources/strings.h"
#include "module/resources/templates.h"
#include "platform/message_box.h"

namespace {

constexpr int kIdSmoothKind = 149;
constexpr int kIdRibbedKind = 150;
constexpr int kIdLengthNegative = 152;
constexpr int kIdSpacingNegative = 153;
constexpr int kIdNumberNotPositive = 154;
constexpr int kIdCountNotPositive = 155;
constexpr const char* kSmoothPrefix = "%%c ";
constexpr const char* kRibbedPrefix = "# ";

// The whole number a text starts with, 0 when it starts with none; out-of-range values are
// clamped rather than left undefined.
int LeadingWhole(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > 2147483647L) {
        return 2147483647;
    }
    if (value < -2147483647L) {
        return -2147483647;
    }
    return static_cast<int>(value);
}

double LeadingDecimal(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

std::string WithoutSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

}  // namespace

void CEditDescriptionDlg::SetDescription(const std::string& numberText,
                                         const std::string& countText,
                                         const std::string& prefixText, const std::string& text) {
    number = numberText;
    count = countText;
    prefix = prefixText;
    description = text;
    std::string rest = text;
    length.clear();
    spacing.clear();
    // "L= " and " co " are read only as far as the text goes: one at the very start or the
    // very end leaves the part after it empty.
    if (const size_t p = rest.find("L="); p != std::string::npos) {
        // The blank after "L=" is written by every description; one left out loses no digit.
        size_t from = p + 2;
        if (from < rest.size() && rest[from] == ' ') {
            ++from;
        }
        length = rest.substr(from);
        rest = p >= 1 ? rest.substr(0, p - 1) : std::string();
    }
    if (const size_t q = rest.find(" co "); q != std::string::npos) {
        spacing = rest.substr(q + 4);
        diameter = rest.substr(0, q);
    } else {
        diameter = WithoutSpaces(rest);
    }
}

int CEditDescriptionDlg::DoModal() {
    const platform::DialogTemplate* templ = FindDialogTemplate(IDD_EDIT_DESCRIPTION);
    if (templ == nullptr) {
        return platform::IDCANCEL;
    }
    return Dialog::DoModal(*templ, parent_);
}

bool CEditDescriptionDlg::OnInitDialog() {
    ResetItems(IDC_STEEL);
    AddItem(IDC_STEEL, LoadUiString(kIdSmoothKind));
    AddItem(IDC_STEEL, LoadUiString(kIdRibbedKind));
    SetDlgItemText(IDC_ROD_NUMBER, number.empty() ? "1" : number);
    SetDlgItemText(IDC_ROD_COUNT, count.empty() ? "1" : count);
    SetCurSel(IDC_STEEL, prefix == kRibbedPrefix ? 1 : 0);
    SetDlgItemText(IDC_SPACING, spacing.empty() ? "0" : spacing);
    SetDlgItemText(IDC_ROD_LENGTH, length.empty() ? "0" : length);
    int chosen = 0;
    if (!diameter.empty()) {
        const int items = GetItemCount(IDC_DIAMETER);
        for (int k = 1; k <= items; ++k) {
            const int index = k % items;  // entries 1 .. end, then entry 0
            if (GetItemText(IDC_DIAMETER, index).rfind(diameter, 0) == 0) {
                chosen = index;
                break;
            }
        }
    }
    SetCurSel(IDC_DIAMETER, chosen);
    return true;
}

void CEditDescriptionDlg::OnKillFocus(int id) {
    const std::string content = GetDlgItemText(id);
    int message = 0;
    switch (id) {
        case IDC_ROD_LENGTH:
            message = LeadingDecimal(content) < 0.0 ? kIdLengthNegative : 0;
            break;
        case IDC_SPACING:
            message = LeadingDecimal(content) < 0.0 ? kIdSpacingNegative : 0;
            break;
        case IDC_ROD_NUMBER:
            message = LeadingWhole(content) < 1 ? kIdNumberNotPositive : 0;
            break;
        case IDC_ROD_COUNT:
            message = LeadingWhole(content) < 1 ? kIdCountNotPositive : 0;
            break;
        default:
            return;
    }
    if (message != 0) {
        platform::MessageBox(this, LoadUiString(message), "IntelliCAD", platform::MB_OK);
    }
    if (id == IDC_ROD_NUMBER || id == IDC_ROD_COUNT) {
        SetDlgItemText(id, std::to_string(LeadingWhole(content)));
    }
}

void CEditDescriptionDlg::OnOK() {
    number = GetDlgItemText(IDC_ROD_NUMBER);
    count = GetDlgItemText(IDC_ROD_COUNT);
    if (LeadingWhole(count) == 1) {
        count.clear();
    }
    prefix = GetCurSel(IDC_STEEL) == 0 ? kSmoothPrefix : kRibbedPrefix;
    const int selected = GetCurSel(IDC_DIAMETER);
    if (selected >= 0) {
        diameter = GetItemText(IDC_DIAMETER, selected);
    }
    spacing = GetDlgItemText(IDC_SPACING);
    length = GetDlgItemText(IDC_ROD_LENGTH);
    const bool noSpacing = LeadingDecimal(spacing) <= 0.0;
    const bool noLength = std::fabs(LeadingDecimal(length)) < 0.001;
    if (noSpacing && noLength) {
        description = diameter;
    } else if (noSpacing) {
        description = diameter + " L= " + length;
    } else if (noLength) {
        description = diameter + " co " + spacing;
    } else {
        description = diameter + " co " + spacing + " L= " + length;
    }
    EndDialog(platform::IDOK);
}
