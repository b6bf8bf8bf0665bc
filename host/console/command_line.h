// The command line: reads "Polecenie: " lines and runs them as built-in commands, registered
// verbs or, by handing them back to the link, as module commands.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

inline constexpr const char* kCommandPrompt = "Polecenie: ";

// Called when the module has answered a request that a host command handed it, with whether
// the module did its part; returns whether the host command as a whole succeeded.
using ModuleFinish = std::function<bool(bool moduleDone)>;

// What the command line stopped for.
struct CommandRequest {
    enum class Kind { ModuleCommand, EndOfInput, Quit };
    Kind kind = Kind::EndOfInput;
    int funcode = -1;
    std::string name;                // the module command, upper case, without "c:"
    std::vector<std::string> words;  // what followed the command name on its line
    ModuleFinish finish;             // set when a host command handed its work to the module
};

// Runs command lines until one names a module command, QUIT is given or the input ends.
// Host commands run inline, each as one undo step. Enter at an empty prompt repeats the last
// command. A script ends at the first command that failed; the terminal's end of input
// (Ctrl+D) first offers to save unsaved changes.
CommandRequest RunCommandLine();
// A new session: no command to repeat.
void ForgetLastCommand();

// The module's commands (names given to sds_defun with "c:"), by code.
bool DefineModuleCommand(std::string_view name, int funcode);
void ClearModuleCommands();

// A host command hands its work on to the module: once the command has returned true, the
// command line sends the module a function request with `funcode` and `words` (as if they had
// followed the command's name), and the link calls `finish` when the module has answered.
void HandToModule(int funcode, std::vector<std::string> words, ModuleFinish finish);

// The file kinds that the module writes for EXPORT (sds_defexport): extension in lower case,
// without the dot, and the function code of the request. The host's own kinds are not taken.
bool DefineModuleExport(std::string_view extension, int funcode);
// The function code for the extension (any case, without the dot), -1 when none.
int ModuleExportCode(std::string_view extension);
// The extensions the module writes, sorted.
std::vector<std::string> ModuleExportExtensions();

// A command name as typed, normalised for lookup: upper case, one leading "_" dropped.
std::string CommandKey(std::string_view typed);

// Runs a registered verb as a command of its own (one undo step); false when no such verb
// is registered or the verb refused the command.
bool RunVerb(const std::string& name, const std::vector<std::string>& words);
bool HasVerb(const std::string& name);

// A line typed at a prompt inside a command that starts with an apostrophe: runs the
// transparent verb it names and returns true (the prompt is then asked again); a name that is
// no transparent verb is told and counts as a refused answer. False when the line is no such
// command: it answers the prompt.
bool RunTransparentLine(std::string_view line);

// The names a user can type, sorted: built-ins, verbs and module commands.
std::vector<std::string> KnownCommandNames();

// The command step around one command; a step still open when the host shuts down is
// closed so that the journal never keeps a half-open command.
void OpenCommandStep();
void CloseCommandStep();
bool CommandStepOpen();

// Splits a line at blanks.
std::vector<std::string> SplitWords(std::string_view line);

}  // namespace host
