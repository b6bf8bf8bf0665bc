// The PANEL command-line verb: sets a control of the registered modeless panel as a user
// would, or prints the panel.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

class Dialog;

// Makes this dialog the panel that PANEL acts on. Aliases name controls for scripts
// ("diameter" -> 1004); names are compared case-insensitively. A later call replaces it;
// null unregisters.
void RegisterScriptPanel(Dialog* panel, std::vector<std::pair<std::string, int>> aliases);
Dialog* ScriptPanel();

// The handler of the PANEL verb, given the words after the verb. No words: prints the panel.
// "name value...": the value words joined by single blanks go to the control named by an
// alias, an id or a caption: a check box takes 0 or 1, a list an item's text, an edit the
// text (then it loses focus). Returns false, with a message written, when the command is
// refused (no panel, hidden panel, unknown or disabled control, unknown item).
bool HandlePanelCommand(const std::vector<std::string>& words);

}  // namespace platform
