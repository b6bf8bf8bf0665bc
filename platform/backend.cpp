// The scripted and terminal back ends, and the dialog lines they both read: set, check,
// click, cell, select, show, an empty line (the Enter key) and ^C (the Esc key).
#include "platform/backend.h"

#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/text_util.h"

namespace platform {
namespace {

using text::Quoted;

class ScriptedUi : public UiBackend {
  public:
    // A script's reader sees the dialog as a user would on opening it: what it holds is what
    // the following lines act on.
    void DialogOpened(const Dialog& dialog) override { WriteOutput(dialog.Describe()); }
    void DialogClosed(const Dialog&, int) override {}
    std::optional<std::string> NextDialogLine(const Dialog& dialog) override {
        std::string prompt = dialog.GetWindowText() + "> ";
        WriteOutput(prompt);
        return ReadLine(prompt, {InputKind::Dialog});
    }
    void ShowMessage(std::string_view caption, std::string_view text) override {
        WriteOutput(text::Cat({"[", caption, "] ", text, "\n"}));
    }
    std::optional<std::string> AskQuestion(std::string_view caption, std::string_view text,
                                           std::string_view choices) override {
        std::string prompt = text::Cat({"[", caption, "] ", text, " (", choices, ") "});
        WriteOutput(prompt);
        return ReadLine(prompt, {InputKind::Question});
    }
};

// The terminal adds a hint on what can be typed, and says how the dialog ended.
class TerminalUi : public ScriptedUi {
  public:
    void DialogOpened(const Dialog& dialog) override {
        ScriptedUi::DialogOpened(dialog);
        WriteOutput(
            "(set <kontrolka> <tekst>, check <kontrolka> 0|1, click <kontrolka>, "
            "cell <wiersz> <kolumna> <tekst>, select <wiersz>, show; Enter naciska przycisk "
            "domyślny, ^C zamyka)\n");
    }
    void DialogClosed(const Dialog& dialog, int result) override {
        WriteOutput("[Okno " + Quoted(dialog.GetWindowText()) +
                    " zamknięte: " + std::to_string(result) + "]\n");
    }
};

UiBackend* g_backend = nullptr;

// Where the first word ends and the rest (without leading blanks) begins.
std::string RestAfterFirstWord(std::string_view line) {
    size_t b = line.find_first_not_of(" \t");
    size_t e = line.find_first_of(" \t", b);
    if (b == std::string_view::npos || e == std::string_view::npos) {
        return {};
    }
    size_t r = line.find_first_not_of(" \t", e);
    return r == std::string_view::npos ? std::string() : std::string(line.substr(r));
}

bool NoControl(const Dialog& dialog, std::string_view name) {
    WriteOutput("Nie ma kontrolki " + Quoted(text::Trim(name)) + " w oknie " +
                Quoted(dialog.GetWindowText()) + ".\n");
    return false;
}

// Splits "<control> <text>" where the control's caption may hold blanks: the longest run of
// leading words that names a control wins; a quoted name ends at its closing quote.
const Control* SplitControlAndText(const Dialog& dialog, const std::string& rest,
                                   std::string& textOut) {
    if (!rest.empty() && rest.front() == '"') {
        size_t close = rest.find('"', 1);
        if (close == std::string::npos) {
            return nullptr;
        }
        textOut = text::Trim(std::string_view(rest).substr(close + 1));
        return dialog.ResolveControl(rest.substr(0, close + 1));
    }
    std::vector<size_t> wordEnds;
    for (size_t i = 0; i < rest.size();) {
        size_t b = rest.find_first_not_of(" \t", i);
        if (b == std::string::npos) {
            break;
        }
        size_t e = rest.find_first_of(" \t", b);
        e = e == std::string::npos ? rest.size() : e;
        wordEnds.push_back(e);
        i = e;
    }
    for (size_t k = wordEnds.size(); k > 0; --k) {
        if (const Control* c = dialog.ResolveControl(rest.substr(0, wordEnds[k - 1]))) {
            textOut = text::Trim(std::string_view(rest).substr(wordEnds[k - 1]));
            return c;
        }
    }
    return nullptr;
}

const Control* FirstGrid(const Dialog& dialog) {
    for (const Control& c : dialog.Controls()) {
        if (c.kind == ControlKind::Grid && c.visible) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace

UiBackend& ScriptedBackend() {
    static ScriptedUi ui;
    return ui;
}

UiBackend& TerminalBackend() {
    static TerminalUi ui;
    return ui;
}

void SetBackend(UiBackend& backend) {
    g_backend = &backend;
}
UiBackend& GetBackend() {
    return g_backend != nullptr ? *g_backend : ScriptedBackend();
}

bool RefuseTransparentLine(std::string_view line, std::string_view caption) {
    const std::string typed = text::Trim(line);
    if (typed.size() < 2 || typed.front() != '\'') {
        return false;
    }
    WriteOutput("Okno " + Quoted(caption) +
                " jest otwarte: polecenia z apostrofem (np. 'PANEL) działają dopiero po jego "
                "zamknięciu.\n");
    return true;
}

bool RunDialogLine(Dialog& dialog, std::string_view line) {
    if (RefuseTransparentLine(line, dialog.GetWindowText())) {
        return false;
    }
    std::vector<std::string> words = text::SplitWords(line);
    if (words.empty()) {
        return dialog.UserPressEnter();
    }
    std::string verb = text::Fold(words[0]);
    std::string rest = RestAfterFirstWord(line);
    if (verb == "^c") {
        return dialog.UserClick(IDCANCEL);
    }
    if (verb == "show" && words.size() == 1) {
        WriteOutput(dialog.Describe());
        return true;
    }
    if (verb == "set" && words.size() >= 2) {
        std::string value;
        const Control* c = SplitControlAndText(dialog, rest, value);
        return c != nullptr ? dialog.UserSetText(c->id, value) : NoControl(dialog, words[1]);
    }
    if (verb == "check" && words.size() >= 3 && (words.back() == "0" || words.back() == "1")) {
        std::string name = text::Trim(rest.substr(0, rest.find_last_not_of(" \t")));
        const Control* c = dialog.ResolveControl(name);
        return c != nullptr ? dialog.UserCheck(c->id, words.back() == "1")
                            : NoControl(dialog, name);
    }
    if (verb == "click" && words.size() >= 2) {
        const Control* c = dialog.ResolveControl(rest);
        if (c == nullptr) {
            int id = 0;
            if (text::ParseInt(text::Trim(rest), id) && id == IDCANCEL) {
                return dialog.UserClick(IDCANCEL);
            }
            return NoControl(dialog, rest);
        }
        return dialog.UserClick(c->id);
    }
    int row = 0;
    int col = 0;
    if (verb == "cell" && words.size() >= 3 && text::ParseInt(words[1], row) &&
        text::ParseInt(words[2], col)) {
        const Control* grid = FirstGrid(dialog);
        if (grid == nullptr) {
            WriteOutput("Okno " + Quoted(dialog.GetWindowText()) + " nie ma siatki.\n");
            return false;
        }
        std::string typed = RestAfterFirstWord(RestAfterFirstWord(rest));
        return dialog.UserTypeCell(grid->id, row, col, text::Trim(typed));
    }
    if (verb == "select" && words.size() == 2 && text::ParseInt(words[1], row)) {
        const Control* grid = FirstGrid(dialog);
        if (grid == nullptr) {
            WriteOutput("Okno " + Quoted(dialog.GetWindowText()) + " nie ma siatki.\n");
            return false;
        }
        return dialog.UserSelectRow(grid->id, row);
    }
    WriteOutput("Okno " + Quoted(dialog.GetWindowText()) +
                " jest otwarte; wiersz pominięty (set, check, click, cell, select, show, ^C).\n");
    return false;
}

}  // namespace platform
