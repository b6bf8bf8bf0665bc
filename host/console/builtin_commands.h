// The host's own commands: drawing (LINE, PLINE, CIRCLE, TEXT), editing (ERASE, MOVE, COPY,
// MIRROR, ROTATE, CHPROP), selection and listing (SELECT, LIST), undo (U, UNDO, REDO),
// SETVAR, HELP and QUIT.
#pragma once

#include <string>
#include <vector>

namespace host {

// Runs with the words typed after the command name on its line; false when the command did
// not do what it was asked (a refused value, an object the drawing would not take). A
// command the user cancelled did what was asked.
using BuiltinHandler = bool (*)(const std::vector<std::string>& args);

struct BuiltinCommand {
    const char* name;
    BuiltinHandler run;
    bool undoStep;  // false for the commands that work the journal or change nothing
    // Whether the words typed after the name answer the command's prompts (SetAnswersOnLine)
    // rather than being read by the command itself.
    bool answersOnLine;
};

// The built-in of that name or alias (upper case, as CommandKey gives it), or null.
const BuiltinCommand* FindBuiltin(const std::string& key);
std::vector<std::string> BuiltinNames();

// QUIT asks the command line to end the session in order.
void RequestQuit();
bool TakeQuitRequest();

}  // namespace host
