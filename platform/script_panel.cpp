// The PANEL verb: the registered modeless panel set from the command line as a user would.
#include "platform/script_panel.h"

#include <charconv>

#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/text_util.h"

namespace platform {
namespace {

Dialog* g_panel = nullptr;
std::vector<PanelField> g_fields;
PanelReveal g_reveal;

const Control* FindPanelControl(const Dialog& panel, const std::string& name) {
    std::string key = text::Fold(name);
    for (const PanelField& field : g_fields) {
        if (text::Fold(field.name) == key) {
            return panel.FindControl(field.id);
        }
    }
    return panel.ResolveControl(name);
}

PanelValue ValueKind(int id) {
    for (const PanelField& field : g_fields) {
        if (field.id == id) {
            return field.value;
        }
    }
    return PanelValue::AsControl;
}

// Plain decimal notation only ("15", "12.5", ".5"): what a user types into the field, and
// what the panel's readers take in full. A double holds some 17 digits, so a longer text
// means nothing more, and a very long one would read as infinity (then 0) or outgrow the
// stored settings.
constexpr size_t kMaxNumberLength = 32;

bool IsPositiveNumber(std::string_view s) {
    if (s.size() > kMaxNumberLength) {
        return false;
    }
    size_t digits = 0;
    size_t points = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return false;
        }
    }
    if (digits == 0 || points > 1) {
        return false;
    }
    return s.find_first_not_of("0.") != std::string_view::npos;  // some digit is not zero
}

bool IsPositiveWhole(std::string_view s) {
    int n = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return !s.empty() && s.front() != '-' && ec == std::errc() && end == s.data() + s.size() &&
           n > 0;
}

// Why PANEL refuses the value for this control; empty when the control would take it.
std::string ValueRefusal(const Dialog& panel, const Control& c, const std::string& value) {
    switch (ValueKind(c.id)) {
        case PanelValue::PositiveNumber:
            if (!IsPositiveNumber(value)) {
                return text::Cat({"Pole ", panel.ControlName(c),
                                  " przyjmuje liczbę większą od zera (np. 15 albo 12.5), nie ",
                                  text::Quoted(value), ".\n"});
            }
            break;
        case PanelValue::PositiveWhole:
            if (!IsPositiveWhole(value)) {
                return text::Cat({"Pole ", panel.ControlName(c),
                                  " przyjmuje liczbę całkowitą większą od zera (np. 2), nie ",
                                  text::Quoted(value), ".\n"});
            }
            break;
        case PanelValue::AsControl:
            break;
    }
    return panel.TextRefusal(c.id, value);
}

std::string FieldNames() {
    std::string names;
    for (const PanelField& field : g_fields) {
        names += (names.empty() ? "" : ", ") + field.name;
    }
    return names;
}

}  // namespace

void RegisterScriptPanel(Dialog* panel, std::vector<PanelField> fields, PanelReveal reveal) {
    g_panel = panel;
    g_fields = panel != nullptr ? std::move(fields) : std::vector<PanelField>{};
    g_reveal = panel != nullptr ? std::move(reveal) : PanelReveal{};
}

Dialog* ScriptPanel() {
    return g_panel;
}

namespace {

bool SetPanel(const std::vector<std::string>& words, bool tell) {
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
        std::string names = FieldNames();
        WriteOutput(text::Cat({"Panel nie ma pola ", text::Quoted(words[0]),
                               names.empty() ? "" : "; pola: ", names, ".\n"}));
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
    // A refused value changes nothing, not even whether the panel is shown.
    if (std::string refusal = ValueRefusal(panel, *c, value); !refusal.empty()) {
        WriteOutput(refusal);
        return false;
    }
    const int id = c->id;
    if (!panel.IsWindowVisible() || !c->visible) {
        if (g_reveal) {
            g_reveal(id);
        } else {
            panel.ShowWindow(SW_SHOWNOACTIVATE);
        }
    }
    if (!panel.UserSetText(id, value)) {
        return false;
    }
    if (tell) {
        WriteOutput(
            text::Cat({"Panel: ", panel.ControlName(*panel.FindControl(id)), " = ", value, ".\n"}));
    }
    return true;
}

}  // namespace

bool HandlePanelCommand(const std::vector<std::string>& words) {
    return SetPanel(words, false);
}

bool HandleTransparentPanelCommand(const std::vector<std::string>& words) {
    return SetPanel(words, true);
}

}  // namespace platform
