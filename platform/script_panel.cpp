// The PANEL verb: the registered modeless panel set from the command line as a user would.
#include "platform/script_panel.h"

#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/text_util.h"

namespace platform {
namespace {

Dialog* g_panel = nullptr;
std::vector<std::pair<std::string, int>> g_aliases;

const Control* FindPanelControl(const Dialog& panel, const std::string& name) {
    std::string key = text::Fold(name);
    for (const auto& [alias, id] : g_aliases) {
        if (text::Fold(alias) == key) {
            return panel.FindControl(id);
        }
    }
    return panel.ResolveControl(name);
}

}  // namespace

void RegisterScriptPanel(Dialog* panel, std::vector<std::pair<std::string, int>> aliases) {
    g_panel = panel;
    g_aliases = panel != nullptr ? std::move(aliases) : std::vector<std::pair<std::string, int>>{};
}

Dialog* ScriptPanel() {
    return g_panel;
}

bool HandlePanelCommand(const std::vector<std::string>& words) {
    if (g_panel == nullptr || !g_panel->IsCreated()) {
        WriteOutput("Panel nie jest otwarty.\n");
        return false;
    }
    Dialog& panel = *g_panel;
    if (words.empty()) {
        std::string text = panel.Describe();
        if (!panel.IsWindowVisible()) {
            text += "(panel jest ukryty)\n";
        }
        WriteOutput(text);
        return true;
    }
    const Control* c = FindPanelControl(panel, words[0]);
    if (c == nullptr) {
        WriteOutput("Panel nie ma pola \"" + words[0] + "\".\n");
        return false;
    }
    if (!panel.IsWindowVisible()) {
        WriteOutput("Panel jest ukryty; pokaż go poleceniem PPR.\n");
        return false;
    }
    if (!c->enabled || !panel.IsWindowEnabled()) {
        WriteOutput("Panel jest zablokowany podczas polecenia.\n");
        return false;
    }
    std::string value;
    for (size_t i = 1; i < words.size(); ++i) {
        value += (i > 1 ? " " : "") + words[i];
    }
    return panel.UserSetText(c->id, value);
}

}  // namespace platform
