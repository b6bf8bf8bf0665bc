// The PANEL command-line verb: sets a control of the registered modeless panel as a user
// would, or prints the panel.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Dialog;

// What PANEL lets through to a field beyond what the control itself takes: an edit whose text
// is read as a number gets a number of that kind, so that a typing slip in a script is refused
// rather than read as 0.
enum class PanelValue { AsControl, PositiveNumber, PositiveWhole };

// A control of the panel as scripts name it ("diameter" -> 1004); names are compared
// case-insensitively.
struct PanelField {
    std::string name;
    int id = 0;
    PanelValue value = PanelValue::AsControl;
};

// Brings a control into the user's reach before PANEL sets it, as a user would: shows the
// panel when it is hidden, unfolds the part of it that holds the control.
using PanelReveal = std::function<void(int id)>;

// Makes this dialog the panel that PANEL acts on. Without `reveal`, a hidden panel is simply
// shown. A later call replaces it; null unregisters.
void RegisterScriptPanel(Dialog* panel, std::vector<PanelField> fields, PanelReveal reveal = {});
Dialog* ScriptPanel();

// The handler of the PANEL verb, given the words after the verb. No words: prints the panel.
// "name value...": the value words joined by single blanks go to the control named by a
// field name, an id or a caption: a check box takes 0 or 1, a list an item's text, an edit the
// text (then it loses focus), a number field a number of its kind. The value is checked before
// anything changes; then the control is brought into reach and set. Returns false, with a
// message naming the control as the panel labels it and what it takes, when the command is
// refused (no panel, unknown or disabled control, a value the control does not take).
bool HandlePanelCommand(const std::vector<std::string>& words);
// The same typed inside a command ("'PANEL ..."): a control set is also told
// ("Panel: "Średnica:" = 12."), since the command's prompt comes back at once.
bool HandleTransparentPanelCommand(const std::vector<std::string>& words);

}  // namespace platform
