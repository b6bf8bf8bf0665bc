// Dialogs: building the window and controls from a template, control access by id, the
// modal loop, and the user's actions as the back ends carry them out.
#include "platform/dialog.h"

#include <algorithm>
#include <set>

#include "platform/backend.h"
#include "platform/console.h"
#include "platform/text_util.h"

namespace platform {
namespace {

using text::Quoted;

// Restores the modal state even when a handler throws (the host's shutdown unwinds
// through an open dialog).
class ModalScope {
  public:
    ModalScope(bool& flag, Window* self) : flag_(flag), previousFocus_(GetFocus()) {
        flag_ = true;
        SetFocus(self);
    }
    ~ModalScope() {
        flag_ = false;
        // The window that had the focus may have gone while the dialog was open.
        std::vector<Window*> live = AllWindows();
        bool alive = std::find(live.begin(), live.end(), previousFocus_) != live.end();
        SetFocus(alive ? previousFocus_ : nullptr);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    bool& flag_;
    Window* previousFocus_;
};

}  // namespace

bool Dialog::Build(const DialogTemplate& templ, Window* owner) {
    if (IsCreated() || modalOpen_) {
        WriteOutput("Okno " + Quoted(templ.caption) + " jest już otwarte.\n");
        return false;
    }
    std::set<int> ids;
    for (const ControlTemplate& ct : templ.controls) {
        if (ct.id > 0 && !ids.insert(ct.id).second) {
            WriteOutput("Szablon okna " + std::to_string(templ.id) +
                        " ma dwie kontrolki o numerze " + std::to_string(ct.id) + ".\n");
            return false;
        }
    }
    controls_.clear();
    for (const ControlTemplate& ct : templ.controls) {
        Control c;
        c.id = ct.id;
        c.kind = ct.kind;
        c.caption = ct.caption;
        c.rect = MapDialogRect(ct.rect);
        c.visible = (ct.style & kStyleHidden) == 0;
        c.enabled = (ct.style & kStyleDisabled) == 0;
        c.checked = (ct.style & kStyleChecked) != 0;
        c.items = ct.items;
        controls_.push_back(std::move(c));
    }
    templateId_ = templ.id;
    SetOwner(owner);
    SetWindowText(templ.caption);
    Rect client = MapDialogRect(Rect{0, 0, templ.rect.Width(), templ.rect.Height()});
    int width = client.Width() + 2 * kFrameBorder;
    int height = client.Height() + 2 * kFrameBorder + kCaptionHeight;
    Rect base = owner != nullptr ? owner->GetWindowRect() : ScreenRect();
    int x = 0;
    int y = 0;
    if (templ.center) {
        x = base.left + (base.Width() - width) / 2;
        y = base.top + (base.Height() - height) / 2;
    } else {
        x = base.left + DialogUnitsToPixelsX(templ.rect.left);
        y = base.top + DialogUnitsToPixelsY(templ.rect.top);
    }
    MoveWindow(x, y, width, height);
    SetCreated(true);
    endRequested_ = false;
    result_ = IDCANCEL;
    return true;
}

int Dialog::DoModal(const DialogTemplate& templ, Window* owner) {
    if (modalOpen_ || !Build(templ, owner)) {
        return -1;
    }
    UiBackend& ui = GetBackend();
    {
        ModalScope scope(modalOpen_, this);
        ShowWindow(SW_SHOW);
        OnInitDialog();
        if (!endRequested_) {
            ui.DialogOpened(*this);
        }
        while (!endRequested_) {
            std::optional<std::string> line = ui.NextDialogLine(*this);
            if (!line) {
                // The end of the input is the user's Esc: the dialog may still refuse it
                // (a question answered No), so it is closed regardless afterwards.
                OnCancel();
                if (!endRequested_) {
                    EndDialog(IDCANCEL);
                }
                break;
            }
            RunDialogLine(*this, *line);
        }
    }
    ShowWindow(SW_HIDE);
    SetCreated(false);
    ui.DialogClosed(*this, result_);
    return result_;
}

bool Dialog::Create(const DialogTemplate& templ, Window* owner) {
    if (!Build(templ, owner)) {
        return false;
    }
    if (templ.visible) {
        ShowWindow(SW_SHOW);
    }
    OnInitDialog();
    return true;
}

void Dialog::DestroyWindow() {
    if (modalOpen_) {
        EndDialog(IDCANCEL);
    }
    Window::DestroyWindow();
    controls_.clear();
}

void Dialog::EndDialog(int result) {
    if (modalOpen_) {
        result_ = result;
        endRequested_ = true;
    } else {
        ShowWindow(SW_HIDE);
    }
}

bool Dialog::OnInitDialog() {
    return true;
}
void Dialog::OnOK() {
    EndDialog(IDOK);
}
void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}
void Dialog::OnCommand(int) {}
void Dialog::OnEditChange(int) {}
void Dialog::OnKillFocus(int) {}
void Dialog::OnSelChange(int) {}

namespace {

GridEvents* EventsOf(Dialog& dialog, int id) {
    const Control* c = dialog.FindControl(id);
    return c != nullptr ? c->gridEvents : nullptr;
}

}  // namespace

bool Dialog::OnGridBeginEdit(int id, int row, int col) {
    if (GridEvents* events = EventsOf(*this, id)) {
        return events->OnGridBeginEdit(row, col);
    }
    const GridData* g = Grid(id);
    const GridCell* cell = g != nullptr ? g->Cell(row, col) : nullptr;
    return cell != nullptr && cell->enabled;
}

bool Dialog::OnGridEditChanging(int id, int row, int col, std::string& text) {
    GridEvents* events = EventsOf(*this, id);
    return events == nullptr || events->OnGridEditChanging(row, col, text);
}

void Dialog::OnGridCellChanged(int id, int row, int col, const std::string& text) {
    if (GridEvents* events = EventsOf(*this, id)) {
        events->OnGridCellChanged(row, col, text);
    }
}

void Dialog::OnGridSelect(int id, int row) {
    if (GridEvents* events = EventsOf(*this, id)) {
        events->OnGridSelect(row);
    }
}

Control* Dialog::FindControl(int id) {
    for (Control& c : controls_) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

const Control* Dialog::FindControl(int id) const {
    return const_cast<Dialog*>(this)->FindControl(id);
}

void Dialog::SetDlgItemText(int id, std::string_view text) {
    Control* c = FindControl(id);
    if (c == nullptr) {
        return;
    }
    if (c->kind == ControlKind::Edit) {
        c->text = std::string(text);
    } else if (c->kind == ControlKind::DropDownList) {
        // A list without free typing can only show one of its items.
        c->selection = FindItemExact(id, text);
    } else {
        c->caption = std::string(text);
    }
}

std::string Dialog::GetDlgItemText(int id) const {
    const Control* c = FindControl(id);
    if (c == nullptr) {
        return {};
    }
    if (c->kind == ControlKind::Edit) {
        return c->text;
    }
    if (c->kind == ControlKind::DropDownList) {
        return GetItemText(id, c->selection);
    }
    return c->caption;
}

void Dialog::EnableControl(int id, bool enable) {
    if (Control* c = FindControl(id)) {
        c->enabled = enable;
    }
}

bool Dialog::IsControlEnabled(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr && c->enabled;
}

void Dialog::ShowControl(int id, bool show) {
    if (Control* c = FindControl(id)) {
        c->visible = show;
    }
}

bool Dialog::IsControlVisible(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr && c->visible;
}

void Dialog::SetCheck(int id, bool checked) {
    if (Control* c = FindControl(id)) {
        c->checked = checked;
    }
}

bool Dialog::GetCheck(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr && c->checked;
}

int Dialog::GetItemCount(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr ? static_cast<int>(c->items.size()) : 0;
}

int Dialog::AddItem(int id, std::string_view text) {
    Control* c = FindControl(id);
    if (c == nullptr || c->kind != ControlKind::DropDownList) {
        return -1;
    }
    c->items.emplace_back(text);
    return static_cast<int>(c->items.size()) - 1;
}

void Dialog::ResetItems(int id) {
    if (Control* c = FindControl(id)) {
        c->items.clear();
        c->selection = -1;
    }
}

std::string Dialog::GetItemText(int id, int index) const {
    const Control* c = FindControl(id);
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) {
        return {};
    }
    return c->items[static_cast<size_t>(index)];
}

int Dialog::GetCurSel(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr ? c->selection : -1;
}

bool Dialog::SetCurSel(int id, int index) {
    Control* c = FindControl(id);
    if (c == nullptr) {
        return false;
    }
    if (index < -1 || index >= static_cast<int>(c->items.size())) {
        c->selection = -1;
        return false;
    }
    c->selection = index;
    return true;
}

int Dialog::FindItemExact(int id, std::string_view text) const {
    const Control* c = FindControl(id);
    if (c == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < c->items.size(); ++i) {
        if (c->items[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Rect Dialog::GetControlRect(int id) const {
    const Control* c = FindControl(id);
    return c != nullptr ? c->rect : Rect{};
}

void Dialog::MoveControl(int id, const Rect& clientRect) {
    if (Control* c = FindControl(id)) {
        c->rect = clientRect;
    }
}

GridData* Dialog::Grid(int id) {
    Control* c = FindControl(id);
    return c != nullptr && c->kind == ControlKind::Grid ? &c->grid : nullptr;
}

const GridData* Dialog::Grid(int id) const {
    return const_cast<Dialog*>(this)->Grid(id);
}

bool Dialog::SetGridEvents(int id, GridEvents* events) {
    Control* c = FindControl(id);
    if (c == nullptr || c->kind != ControlKind::Grid) {
        return false;
    }
    c->gridEvents = events;
    return true;
}

}  // namespace platform
