// Message boxes and alerts: shown through the current back end; a yes/no box reads its
// answer from the user's lines, the others are printed and need no answer.
#pragma once

#include <string_view>

#include "platform/window.h"

namespace platform {

// Button sets and icon bits (classic values); icon bits are accepted and only printed.
enum MessageBoxType : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// IDYES or IDNO for a yes/no box (IDNO at the end of the input, as Esc would); IDCANCEL
// for yes/no/cancel at the end of the input; IDOK for every other kind.
int MessageBox(Window* owner, std::string_view text, std::string_view caption, unsigned type);

// The host's alert: a box with the text and one button, titled "IntelliCAD".
void Alert(std::string_view text);

}  // namespace platform
