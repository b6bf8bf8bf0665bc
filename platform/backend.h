// User-interface back ends: how an open modal dialog and a message box meet the user. Both
// print each dialog in full when it opens and read the dialog lines from the shared line
// input; the terminal back end adds a hint and says how the dialog ended.
//
// What the transcript shows (tests compare it):
//   <caption>> <line>                   each dialog line is asked for with this prompt
//   === <caption> ===                   a dialog opened, or "show"; one line per visible control:
//     [<id>] pole = "<text>"            edit
//     [<id>] lista = "<item>" (<n> pozycji)
//     [<id>] wybór [x] "<caption>"      check box ([ ] when clear)
//     [<id>] przycisk "<caption>" (domyślny) (zablokowany)
//     [<id>] napis|grupa|obraz "<caption>"
//     [<id>] siatka <n> wierszy         then a table: the headings with their units, one line
//                                       per row "<row>: cell | cell ...", columns aligned,
//                                       "> " before the current row, {braces} round disabled
//                                       cells
//   [<caption>] <text>                  a message box or alert
//   [<caption>] <text> (tak/nie)        a question waiting for its answer
// The terminal back end adds the hint after the opening print, and
// [Okno "<caption>" zamknięte: <result>] when the dialog ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Dialog;

class UiBackend {
  public:
    virtual ~UiBackend() = default;
    // A modal dialog has just been initialised and is waiting for the user.
    virtual void DialogOpened(const Dialog& dialog) = 0;
    // The modal dialog has ended with this result.
    virtual void DialogClosed(const Dialog& dialog, int result) = 0;
    // The next user line for the dialog, nothing at the end of the input.
    virtual std::optional<std::string> NextDialogLine(const Dialog& dialog) = 0;
    // Shows a message box; for a question returns the user's line (nothing at the end of
    // the input), otherwise only shows it and returns nothing.
    virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
    virtual std::optional<std::string> AskQuestion(std::string_view caption, std::string_view text,
                                                   std::string_view choices) = 0;
};

// The scripted back end (the default) and the terminal one.
UiBackend& ScriptedBackend();
UiBackend& TerminalBackend();
void SetBackend(UiBackend& backend);
UiBackend& GetBackend();

// Carries out one dialog line on an open dialog ("set", "check", "click", "cell", "select",
// "show"; an empty line presses the default button). Returns false, with a message written, for a
// line that is not one of them or whose action was refused.
bool RunDialogLine(Dialog& dialog, std::string_view line);

// A transparent command ("'PANEL ...") typed while a dialog or a question waits: refused with
// the reason, written to the output. False when the line is no such command.
bool RefuseTransparentLine(std::string_view line, std::string_view caption);

}  // namespace platform
