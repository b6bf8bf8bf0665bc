// Whether a session did all it was asked: answers refused at prompts, commands that failed,
// and the stop of a script at its first failed command line.
#pragma once

#include <string>

namespace host {

// A fresh session: nothing failed yet.
void ResetRunStatus();
// An answer refused at a prompt, which was then asked again: the session still ends with a
// non-zero status.
void NoteRefusedAnswer();
// A command that did not do what it was asked. A script stops at it unless told otherwise.
void NoteFailedCommand(bool stopScript = true);
// 1 when anything was refused or failed, else 0.
int RunStatus();

// Whether the lines come from a script (or any source that is not a user typing live).
bool ReadingScript();
// The number of the last line read, 0 when the source does not count lines.
int LastLineNumber();

// The command line calls these: the line that started the current command, and whether a
// script must stop because that command failed.
void NoteCommandLine(const std::string& line);
bool ScriptMustStop();
// The message with which a stopped script ends, naming the line of the failed command.
std::string ScriptStopMessage();

}  // namespace host
