// What a user does to a dialog (typing into an edit, choosing a list item, ticking, clicking,
// typing into a grid cell), naming controls by caption, and the dialog printed as text.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/text_util.h"

namespace platform {
namespace {

using text::Quoted;

// A caption as the user reads it on the screen: no "&" marking the mnemonic, no trailing ":".
std::string ShownCaption(std::string_view caption) {
    std::string plain;
    for (char ch : caption) {
        if (ch != '&') {
            plain += ch;
        }
    }
    plain = text::Trim(plain);
    while (!plain.empty() && (plain.back() == ':' || plain.back() == ' ')) {
        plain.pop_back();
    }
    return plain;
}

bool IsLabel(ControlKind kind) {
    return kind == ControlKind::Static || kind == ControlKind::GroupBox ||
           kind == ControlKind::Picture;
}

// Exact text first; a user who typed another case still means the one item that matches.
int FindItem(const std::vector<std::string>& items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (text::EqualsNoCase(items[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const char* KindWord(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return "pole";
        case ControlKind::DropDownList:
            return "lista";
        case ControlKind::CheckBox:
            return "wybór";
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            return "przycisk";
        case ControlKind::Static:
            return "napis";
        case ControlKind::GroupBox:
            return "grupa";
        case ControlKind::Picture:
            return "obraz";
        case ControlKind::Grid:
            return "siatka";
    }
    return "?";
}

// Characters a text takes on the screen (one per UTF-8 character).
size_t DisplayWidth(const std::string& s) {
    return text::Utf8Chars(s).size();
}

// The grid as a table: headings with units, then one line per row with its number, "> "
// before the current row, {braces} round cells that take no input and a cell's note in
// (brackets) after its text; columns aligned.
void DescribeGrid(const GridData& g, std::string& out) {
    const int columns = g.ColumnCount();
    std::vector<std::string> headings;
    std::vector<size_t> widths;
    for (int col = 0; col < columns; ++col) {
        const GridColumn& column = g.Column(col);
        headings.push_back(column.unit.empty() ? column.heading
                                               : text::Cat({column.heading, " ", column.unit}));
        widths.push_back(DisplayWidth(headings.back()));
    }
    std::vector<std::vector<std::string>> cells;
    for (int row = 1; row <= g.RowCount(); ++row) {
        cells.emplace_back();
        for (int col = 0; col < columns; ++col) {
            const GridCell* cell = g.Cell(row, col);
            std::string shown = cell->enabled ? cell->text : text::Cat({"{", cell->text, "}"});
            if (!cell->note.empty()) {
                shown = text::Cat({shown, " (", cell->note, ")"});
            }
            cells.back().push_back(shown);
            widths[static_cast<size_t>(col)] =
                std::max(widths[static_cast<size_t>(col)], DisplayWidth(cells.back().back()));
        }
    }
    const size_t digits = std::to_string(std::max(1, g.RowCount())).size();
    auto line = [&](const std::string& label, const std::vector<std::string>& texts) {
        out += label;
        for (size_t col = 0; col < texts.size(); ++col) {
            out += col > 0 ? " | " : "";
            out += texts[col];
            if (col + 1 < texts.size()) {
                out += std::string(widths[col] - DisplayWidth(texts[col]), ' ');
            }
        }
        out += "\n";
    };
    line(std::string(4 + 2 + digits + 2, ' '), headings);
    for (int row = 1; row <= g.RowCount(); ++row) {
        std::string number = std::to_string(row);
        std::string label = row == g.CurrentRow() ? "    > " : "      ";
        label += std::string(digits - number.size(), ' ') + number + ": ";
        line(label, cells[static_cast<size_t>(row - 1)]);
    }
}

}  // namespace

bool Dialog::UserCanTouch(const Control* c, std::string_view name) {
    if (c == nullptr) {
        WriteOutput("Nie ma kontrolki " + Quoted(name) + " w oknie " + Quoted(GetWindowText()) +
                    ".\n");
        return false;
    }
    if (!c->visible) {
        WriteOutput("Kontrolka " + ControlName(*c) + " jest niewidoczna.\n");
        return false;
    }
    if (!c->enabled || !IsWindowEnabled()) {
        WriteOutput("Kontrolka " + ControlName(*c) + " jest zablokowana.\n");
        return false;
    }
    return true;
}

bool Dialog::UserSetText(int id, std::string_view text) {
    Control* c = FindControl(id);
    if (!UserCanTouch(c, std::to_string(id))) {
        return false;
    }
    if (std::string refusal = TextRefusal(id, text); !refusal.empty()) {
        WriteOutput(refusal);
        return false;
    }
    switch (c->kind) {
        case ControlKind::Edit:
            c->text = std::string(text);
            OnEditChange(id);
            OnKillFocus(id);
            return true;
        case ControlKind::DropDownList:
            c->selection = FindItem(c->items, text::Trim(text));
            OnSelChange(id);
            return true;
        default:  // a check box: TextRefusal let only 0 and 1 through
            return UserCheck(id, text::Trim(text) == "1");
    }
}

std::string Dialog::TextRefusal(int id, std::string_view text) const {
    const Control* c = FindControl(id);
    if (c == nullptr) {
        return "Nie ma kontrolki " + std::to_string(id) + " w oknie " + Quoted(GetWindowText()) +
               ".\n";
    }
    switch (c->kind) {
        case ControlKind::Edit:
            return {};
        case ControlKind::DropDownList: {
            if (FindItem(c->items, text::Trim(text)) >= 0) {
                return {};
            }
            std::string items;
            for (const std::string& item : c->items) {
                items += (items.empty() ? "" : ", ") + item;
            }
            return text::Cat({"Na liście ", ControlName(*c), " nie ma pozycji ", Quoted(text),
                              items.empty() ? "; lista jest pusta" : "; do wyboru: ", items,
                              ".\n"});
        }
        case ControlKind::CheckBox: {
            std::string value = text::Trim(text);
            return value == "0" || value == "1"
                       ? std::string()
                       : "Pole wyboru " + ControlName(*c) + " przyjmuje 0 albo 1.\n";
        }
        default:
            return "Do kontrolki " + ControlName(*c) + " nie można wpisać tekstu.\n";
    }
}

std::string Dialog::ControlName(const Control& c) const {
    std::string caption = ShownCaption(c.caption);
    if (caption.empty() && !IsLabel(c.kind)) {
        // The label that names this input is the nearest one before it, as ResolveControl
        // goes from a label to the first input after it.
        size_t at = 0;
        while (at < controls_.size() && &controls_[at] != &c) {
            ++at;
        }
        for (size_t i = at < controls_.size() ? at : 0; i > 0; --i) {
            const Control& before = controls_[i - 1];
            if (!IsLabel(before.kind)) {
                break;
            }
            if (before.kind == ControlKind::Static && !ShownCaption(before.caption).empty()) {
                caption = ShownCaption(before.caption);
                break;
            }
        }
    }
    return caption.empty() ? std::to_string(c.id) : Quoted(caption);
}

bool Dialog::UserCheck(int id, bool checked) {
    Control* c = FindControl(id);
    if (!UserCanTouch(c, std::to_string(id))) {
        return false;
    }
    if (c->kind != ControlKind::CheckBox) {
        WriteOutput("Kontrolka " + ControlName(*c) + " nie jest polem wyboru.\n");
        return false;
    }
    // A user ticks a box only by clicking it, and a click toggles: asking for the state it
    // already has is no click at all.
    if (c->checked != checked) {
        c->checked = checked;
        OnCommand(id);
    }
    return true;
}

bool Dialog::UserClick(int id) {
    Control* c = FindControl(id);
    if (c == nullptr && id == IDCANCEL) {
        // Every dialog can be closed by its close box or Esc, with or without a Cancel button.
        OnCancel();
        return true;
    }
    if (!UserCanTouch(c, std::to_string(id))) {
        return false;
    }
    switch (c->kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            if (id == IDOK) {
                OnOK();
            } else if (id == IDCANCEL) {
                OnCancel();
            } else {
                OnCommand(id);
            }
            return true;
        case ControlKind::CheckBox:
            c->checked = !c->checked;
            OnCommand(id);
            return true;
        default:
            WriteOutput("Kontrolki " + ControlName(*c) + " nie można kliknąć.\n");
            return false;
    }
}

bool Dialog::UserPressEnter() {
    for (const Control& c : controls_) {
        if (c.kind == ControlKind::DefaultButton && c.visible) {
            return UserClick(c.id);
        }
    }
    WriteOutput("Okno " + Quoted(GetWindowText()) + " nie ma przycisku domyślnego.\n");
    return false;
}

Control* Dialog::UserGrid(int gridId) {
    Control* c = FindControl(gridId);
    if (!UserCanTouch(c, std::to_string(gridId))) {
        return nullptr;
    }
    if (c->kind != ControlKind::Grid) {
        WriteOutput("Kontrolka " + ControlName(*c) + " nie jest siatką.\n");
        return nullptr;
    }
    return c;
}

bool Dialog::UserSelectRow(int gridId, int row) {
    Control* c = UserGrid(gridId);
    if (c == nullptr) {
        return false;
    }
    if (row < 1 || row > c->grid.RowCount()) {
        WriteOutput("Siatka nie ma wiersza " + std::to_string(row) + ".\n");
        return false;
    }
    c->grid.SetCurrentRow(row);
    OnGridSelect(gridId, row);
    return true;
}

bool Dialog::UserTypeCell(int gridId, int row, int col, std::string_view typed) {
    Control* c = UserGrid(gridId);
    if (c == nullptr) {
        return false;
    }
    std::string where = text::Cat({"(", std::to_string(row), ", ", std::to_string(col), ")"});
    if (!c->grid.HasCell(row, col)) {
        WriteOutput("Siatka nie ma komórki " + where + ".\n");
        return false;
    }
    // Clicking into the cell makes its row the current one first.
    if (c->grid.CurrentRow() != row) {
        c->grid.SetCurrentRow(row);
        OnGridSelect(gridId, row);
    }
    // The handlers may have changed the grid; the cell is looked up again each time.
    GridCell* cell = Grid(gridId) != nullptr ? Grid(gridId)->Cell(row, col) : nullptr;
    if (cell == nullptr || !cell->enabled) {
        WriteOutput("Komórka " + where + " jest zablokowana.\n");
        return false;
    }
    if (!cell->items.empty()) {
        int index = FindItem(cell->items.List(), text::Trim(typed));
        if (index < 0) {
            WriteOutput("Komórka " + where + " nie ma pozycji " + Quoted(typed) + ".\n");
            return false;
        }
        cell->text = cell->items[static_cast<size_t>(index)];
        std::string chosen = cell->text;
        OnGridCellChanged(gridId, row, col, chosen);
        return true;
    }
    if (!OnGridBeginEdit(gridId, row, col)) {
        WriteOutput("Komórki " + where + " nie można edytować.\n");
        return false;
    }
    // Typing replaces the cell's text, one key at a time; each keystroke may be refused.
    std::string edit;
    const std::vector<std::string> keys = text::Utf8Chars(typed);
    bool accepted = keys.empty();
    for (const std::string& key : keys) {
        std::string candidate = edit + key;
        if (OnGridEditChanging(gridId, row, col, candidate)) {
            edit = candidate;
            accepted = true;
        }
    }
    cell = Grid(gridId) != nullptr ? Grid(gridId)->Cell(row, col) : nullptr;
    if (cell == nullptr) {
        return false;
    }
    // Every key refused: the cell keeps the last text it accepted.
    if (!accepted) {
        return true;
    }
    cell->text = edit;
    OnGridCellChanged(gridId, row, col, edit);
    return true;
}

const Control* Dialog::ResolveControl(std::string_view name) const {
    std::string trimmed = text::Trim(name);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"') {
        trimmed = trimmed.substr(1, trimmed.size() - 2);
    }
    if (trimmed.empty()) {
        return nullptr;
    }
    int id = 0;
    if (text::ParseInt(trimmed, id)) {
        if (const Control* c = FindControl(id)) {
            return c;
        }
    }
    std::string key = text::CaptionKey(trimmed);
    const Control* label = nullptr;
    size_t labelIndex = 0;
    for (size_t i = 0; i < controls_.size(); ++i) {
        const Control& c = controls_[i];
        if (text::CaptionKey(c.caption) != key) {
            continue;
        }
        if (!IsLabel(c.kind)) {
            return &c;
        }
        if (label == nullptr) {
            label = &c;
            labelIndex = i;
        }
    }
    if (label == nullptr) {
        return nullptr;
    }
    // A label names the input that follows it, as a mnemonic moves the focus there.
    if (label->kind == ControlKind::Static) {
        for (size_t i = labelIndex + 1; i < controls_.size(); ++i) {
            if (!IsLabel(controls_[i].kind)) {
                return &controls_[i];
            }
        }
    }
    return label;
}

std::string Dialog::Describe() const {
    std::string out = "=== " + GetWindowText() + " ===\n";
    for (const Control& c : controls_) {
        if (!c.visible) {
            continue;
        }
        out += "  [" + std::to_string(c.id) + "] " + KindWord(c.kind);
        switch (c.kind) {
            case ControlKind::Edit:
                out += " = " + Quoted(c.text);
                break;
            case ControlKind::DropDownList:
                out += " = " + Quoted(GetItemText(c.id, c.selection)) + " (" +
                       std::to_string(c.items.size()) + " pozycji)";
                break;
            case ControlKind::CheckBox:
                out += std::string(c.checked ? " [x] " : " [ ] ") + Quoted(c.caption);
                break;
            case ControlKind::Grid:
                out += text::Cat({" ", std::to_string(c.grid.RowCount()), " wierszy"});
                break;
            default:
                out += text::Cat({" ", Quoted(c.caption)});
                break;
        }
        if (c.kind == ControlKind::DefaultButton) {
            out += " (domyślny)";
        }
        if (!c.enabled) {
            out += " (zablokowany)";
        }
        out += "\n";
        if (c.kind == ControlKind::Grid) {
            DescribeGrid(c.grid, out);
        }
    }
    return out;
}

}  // namespace platform
