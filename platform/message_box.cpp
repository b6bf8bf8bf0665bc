// Message boxes and alerts through the current back end; a question reads its answer.
#include "platform/message_box.h"

#include "platform/backend.h"
#include "platform/console.h"
#include "platform/dialog.h"
#include "platform/text_util.h"

namespace platform {

int MessageBox(Window*, std::string_view text, std::string_view caption, unsigned type) {
    UiBackend& ui = GetBackend();
    unsigned buttons = type & 0xF;
    if (buttons != MB_YESNO && buttons != MB_YESNOCANCEL) {
        ui.ShowMessage(caption, text);
        return IDOK;
    }
    bool withCancel = buttons == MB_YESNOCANCEL;
    std::string_view choices = withCancel ? "tak/nie/anuluj" : "tak/nie";
    for (;;) {
        std::optional<std::string> line = ui.AskQuestion(caption, text, choices);
        if (!line || text::Trim(*line) == "^C") {
            return withCancel ? IDCANCEL : IDNO;  // Esc
        }
        if (RefuseTransparentLine(*line, caption)) {
            continue;
        }
        std::string answer = text::Fold(text::Trim(*line));
        if (answer == "yes" || answer == "tak") {
            return IDYES;
        }
        if (answer == "no" || answer == "nie") {
            return IDNO;
        }
        if (withCancel && (answer == "cancel" || answer == "anuluj")) {
            return IDCANCEL;
        }
        WriteOutput(withCancel ? "Odpowiedz: tak, nie albo anuluj.\n"
                               : "Odpowiedz: tak albo nie.\n");
    }
}

void Alert(std::string_view text) {
    GetBackend().ShowMessage("IntelliCAD", text);
}

}  // namespace platform
