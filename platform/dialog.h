// Dialogs and their controls: a template as data, a Dialog class with the usual handlers
// (init, OK, Cancel, command, focus lost, selection change), modal and modeless use.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/grid.h"
#include "platform/window.h"

namespace platform {

// Dialog results and the ids of the OK and Cancel buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum class ControlKind {
    Edit,
    DropDownList,  // a combo box whose text can only be one of its items
    CheckBox,      // an automatic check box: a click toggles it
    Button,
    DefaultButton,
    Static,    // a text label
    GroupBox,  // a frame with a title around a section
    Picture,   // a static frame or bitmap holder; also the place holder a grid takes
    Grid,
};

// Control style bits.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleHidden = 1u << 0,    // not visible at creation
    kStyleDisabled = 1u << 1,  // disabled at creation
    kStyleChecked = 1u << 2,   // check box ticked at creation
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string caption;
    Rect rect;  // dialog units, in the dialog's client area
    unsigned style = kStyleNone;
    std::vector<std::string> items;  // initial items of a drop-down list
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    Rect rect;  // dialog units: left/top relative to the owner's top-left, size of the client area
    bool visible = true;  // shown at creation (modeless); a modal dialog is always shown
    bool center = false;  // centred over the owner instead of placed at left/top
    std::vector<ControlTemplate> controls;
};

// Receives the notifications of one grid control in place of the dialog's own grid handlers
// (same meaning, see Dialog), so that a grid class of the application answers them itself.
class GridEvents {
  public:
    virtual ~GridEvents() = default;
    virtual bool OnGridBeginEdit(int row, int col) = 0;
    virtual bool OnGridEditChanging(int row, int col, std::string& text) = 0;
    virtual void OnGridCellChanged(int row, int col, const std::string& text) = 0;
    virtual void OnGridSelect(int row) = 0;
};

// A live control. Rectangles are pixels in the dialog's client area.
struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string caption;  // the caption of buttons, check boxes, labels, group boxes
    std::string text;     // the text of an edit
    Rect rect;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::vector<std::string> items;
    int selection = -1;  // drop-down list: selected item, -1 for none
    GridData grid;
    GridEvents* gridEvents = nullptr;  // not owned; null: the dialog's handlers answer
};

class Dialog : public Window {
  public:
    Dialog() { SetCreated(false); }
    ~Dialog() override = default;

    // Runs the dialog modally over its owner through the current back end and returns the
    // value given to EndDialog. When the input ends while it is open it gets OnCancel, and
    // ends with IDCANCEL if that did not end it. -1 when it cannot be built (see Create).
    int DoModal(const DialogTemplate& templ, Window* owner);
    // Creates the window modelessly; shown when the template says visible. False, with a
    // message, when the window exists already or the template gives two controls one
    // positive id (nothing is created then). Ids of 0 and below (labels) may repeat.
    bool Create(const DialogTemplate& templ, Window* owner);
    void DestroyWindow() override;
    // Ends a modal dialog with this result (after the current handler returns); for a
    // modeless window it only hides the window.
    void EndDialog(int result);
    bool IsModalOpen() const { return modalOpen_; }
    int TemplateId() const { return templateId_; }

    // Handlers. OnInitDialog runs once the controls exist; its result is kept for symmetry
    // with the classic framework and not used. OnOK and OnCancel end the dialog by default.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // A button (other than IDOK/IDCANCEL) or a check box was clicked.
    virtual void OnCommand(int id);
    // The text of an edit was changed by the user; then OnKillFocus when the user leaves it.
    virtual void OnEditChange(int id);
    virtual void OnKillFocus(int id);
    // The user chose another item of a drop-down list.
    virtual void OnSelChange(int id);
    // Grid notifications. Begin: may the cell be edited (default: when it is enabled)?
    // Changing: each keystroke's new text; return false to refuse it (the edit keeps its
    // previous text) or change `text` to what the edit should show. Changed: the cell took
    // `text` (already stored). Select: the user picked a row (already current). By default
    // each goes to the grid's GridEvents when one is set.
    virtual bool OnGridBeginEdit(int id, int row, int col);
    virtual bool OnGridEditChanging(int id, int row, int col, std::string& text);
    virtual void OnGridCellChanged(int id, int row, int col, const std::string& text);
    virtual void OnGridSelect(int id, int row);

    // Control access by id; operations on a missing id do nothing and getters give defaults.
    bool HasControl(int id) const { return FindControl(id) != nullptr; }
    Control* FindControl(int id);
    const Control* FindControl(int id) const;
    const std::vector<Control>& Controls() const { return controls_; }
    // Text: an edit's text, a list's selected item, the caption of anything else.
    void SetDlgItemText(int id, std::string_view text);
    std::string GetDlgItemText(int id) const;
    void EnableControl(int id, bool enable);
    bool IsControlEnabled(int id) const;
    void ShowControl(int id, bool show);
    bool IsControlVisible(int id) const;
    void SetCheck(int id, bool checked);
    bool GetCheck(int id) const;
    // Drop-down lists.
    int GetItemCount(int id) const;
    int AddItem(int id, std::string_view text);  // index of the new item, -1 for no list
    void ResetItems(int id);
    std::string GetItemText(int id, int index) const;
    int GetCurSel(int id) const;
    bool SetCurSel(int id, int index);  // -1 clears; false for an index out of range
    int FindItemExact(int id, std::string_view text) const;  // -1 when missing
    // Rectangles in pixels of the client area.
    Rect GetControlRect(int id) const;
    void MoveControl(int id, const Rect& clientRect);
    // The grid of a grid control, null for any other id.
    GridData* Grid(int id);
    const GridData* Grid(int id) const;
    // Routes the grid's notifications to `events` (null: back to the dialog's handlers).
    // False for an id that is not a grid. The routing ends with the window.
    bool SetGridEvents(int id, GridEvents* events);

    // The user's actions as the back ends perform them; each returns false and writes a
    // message when the action is refused (missing, hidden or disabled control, unknown item).
    bool UserSetText(int id, std::string_view text);
    bool UserCheck(int id, bool checked);
    bool UserClick(int id);
    bool UserTypeCell(int gridId, int row, int col, std::string_view text);
    bool UserSelectRow(int gridId, int row);
    // The Enter key: presses the default button (refused when there is none or it is hidden
    // or disabled).
    bool UserPressEnter();
    // Why the control would refuse this text from a user: an item its list does not hold (the
    // message lists those it does), a check box value other than 0 or 1, a control that takes
    // no text. Empty when the text would be taken. Visibility and enabled state aside.
    std::string TextRefusal(int id, std::string_view text) const;
    // The name a user knows a control by: its caption, or for an input without one the label
    // in front of it (as the user reads it, without "&" or the trailing ":"), quoted; its id
    // when it has neither.
    std::string ControlName(const Control& c) const;
    // The control a user names by id or caption (case-insensitive, "&" and a trailing ":"
    // ignored, surrounding quotes allowed; a label names the input control after it), null
    // when none matches.
    const Control* ResolveControl(std::string_view name) const;
    // The dialog printed as text, as "show" prints it.
    std::string Describe() const;

  private:
    bool Build(const DialogTemplate& templ, Window* owner);
    bool UserCanTouch(const Control* c, std::string_view name);
    // The grid a user line names, when the user can reach it; else null, the reason told.
    Control* UserGrid(int gridId);

    std::vector<Control> controls_;
    int templateId_ = 0;
    bool modalOpen_ = false;
    bool endRequested_ = false;
    int result_ = IDCANCEL;
};

}  // namespace platform
