// The command line: command lookup (module commands, verbs, built-ins), the undo step around
// each host command, and the registry of verbs.
#include "host/console/command_line.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>

#include "host/console/builtin_commands.h"
#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/prompts.h"
#include "host/console/run_status.h"
#include "host/console/unsaved_work.h"
#include "host/drawing/journal.h"
#include "host/host.h"
#include "platform/console.h"

namespace host {
namespace {

std::map<std::string, int>& ModuleCommands() {
    static std::map<std::string, int> commands;
    return commands;
}

std::map<std::string, VerbHandler>& Verbs() {
    static std::map<std::string, VerbHandler> verbs;
    return verbs;
}

std::map<std::string, VerbHandler>& TransparentVerbs() {
    static std::map<std::string, VerbHandler> verbs;
    return verbs;
}

std::map<std::string, int>& ModuleExports() {
    static std::map<std::string, int> exports;
    return exports;
}

// The hand-off the verb that is running asked for, taken once the verb has returned.
struct HandOff {
    bool pending = false;
    int funcode = -1;
    std::vector<std::string> words;
    ModuleFinish finish;
};
HandOff g_handOff;

bool g_stepOpen = false;
std::string g_lastCommand;  // what Enter at an empty command prompt repeats

// Runs a host command as one undo step; false when it failed. A failure inside it is told
// and the step closed, so one broken command does not take the session down.
template <typename Body>
bool RunHostCommand(const std::string& name, bool undoStep, Body body) {
    if (undoStep) {
        OpenCommandStep();
    }
    bool done = false;
    try {
        done = body();
    } catch (const std::exception& e) {
        PrintLine("Polecenie " + name + " przerwane: " + e.what());
    }
    if (undoStep) {
        CloseCommandStep();
    }
    return done;
}

// What a command line holds after its first word.
std::string_view RestOfLine(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    const size_t end = line.find_first_of(" \t", start);
    return end == std::string_view::npos ? std::string_view() : line.substr(end);
}

bool IsCancel(const std::string& word) {
    return word == "^C" || word == "^c";
}

}  // namespace

std::string CommandKey(std::string_view typed) {
    if (!typed.empty() && typed.front() == '_') {
        typed.remove_prefix(1);
    }
    return UpperText(typed);
}

std::vector<std::string> SplitWords(std::string_view line) {
    return SplitKeywords(line);
}

bool DefineModuleCommand(std::string_view name, int funcode) {
    std::string key = UpperText(name);
    if (key.size() < 3 || key.compare(0, 2, "C:") != 0 ||
        key.find_first_of(" \t") != std::string::npos) {
        return false;
    }
    ModuleCommands()[key.substr(2)] = funcode;
    return true;
}

void ClearModuleCommands() {
    ModuleCommands().clear();
    ModuleExports().clear();
    g_handOff = HandOff{};
}

void HandToModule(int funcode, std::vector<std::string> words, ModuleFinish finish) {
    g_handOff = HandOff{true, funcode, std::move(words), std::move(finish)};
}

bool DefineModuleExport(std::string_view extension, int funcode) {
    std::string key = LowerText(extension);
    if (key.empty() || key == "svg" || key == "dxf" ||
        key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos) {
        return false;
    }
    ModuleExports()[key] = funcode;
    return true;
}

int ModuleExportCode(std::string_view extension) {
    auto found = ModuleExports().find(LowerText(extension));
    return found == ModuleExports().end() ? -1 : found->second;
}

std::vector<std::string> ModuleExportExtensions() {
    std::vector<std::string> extensions;
    for (const auto& [extension, code] : ModuleExports()) {
        extensions.push_back(extension);
    }
    return extensions;
}

std::vector<std::string> KnownCommandNames() {
    std::vector<std::string> names = BuiltinNames();
    for (const auto& [name, handler] : Verbs()) {
        names.push_back(name);
    }
    for (const auto& [name, code] : ModuleCommands()) {
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

void OpenCommandStep() {
    if (g_stepOpen) {
        EndCommandStep();
    }
    BeginCommandStep();
    g_stepOpen = true;
}

void CloseCommandStep() {
    if (g_stepOpen) {
        g_stepOpen = false;
        EndCommandStep();
    }
}

bool CommandStepOpen() {
    return g_stepOpen;
}

void RegisterVerb(const std::string& name, VerbHandler handler) {
    std::string key = CommandKey(name);
    if (key.empty()) {
        return;
    }
    if (handler) {
        Verbs()[key] = std::move(handler);
    } else {
        Verbs().erase(key);
    }
}

bool RunVerb(const std::string& name, const std::vector<std::string>& words) {
    std::string key = CommandKey(name);
    auto v = Verbs().find(key);
    if (v == Verbs().end()) {
        return false;
    }
    VerbHandler handler = v->second;
    return RunHostCommand(key, true, [&] { return handler(words); });
}

bool HasVerb(const std::string& name) {
    return Verbs().count(CommandKey(name)) != 0;
}

void RegisterTransparentVerb(const std::string& name, VerbHandler handler) {
    std::string key = CommandKey(name);
    if (key.empty()) {
        return;
    }
    if (handler) {
        TransparentVerbs()[key] = std::move(handler);
    } else {
        TransparentVerbs().erase(key);
    }
}

bool RunTransparentLine(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words.front().size() < 2 || words.front().front() != '\'') {
        return false;
    }
    const std::string typed = words.front().substr(1);
    words.erase(words.begin());
    auto verb = TransparentVerbs().find(CommandKey(typed));
    if (verb == TransparentVerbs().end()) {
        std::string names;
        for (const auto& [name, handler] : TransparentVerbs()) {
            names += (names.empty() ? "'" : ", '") + name;
        }
        PrintLine("Polecenia \"" + typed + "\" nie można wydać w trakcie innego polecenia" +
                  (names.empty() ? "." : " (można: " + names + ")."));
        NoteRefusedAnswer();
        return true;
    }
    VerbHandler handler = verb->second;
    bool done = false;
    try {
        done = handler(words);
    } catch (const std::exception& e) {
        PrintLine("Polecenie '" + verb->first + " przerwane: " + e.what());
    }
    if (!done) {
        NoteRefusedAnswer();
    }
    return true;
}

void ForgetLastCommand() {
    g_lastCommand.clear();
}

CommandRequest RunCommandLine() {
    for (;;) {
        if (TakeQuitRequest()) {
            return CommandRequest{CommandRequest::Kind::Quit};
        }
        if (ScriptMustStop()) {
            PrintLine(ScriptStopMessage());
            TellChangesDropped();
            return CommandRequest{CommandRequest::Kind::EndOfInput};
        }
        // The command prompt always starts a line of its own, whatever was printed before.
        if (!AtLineStart()) {
            Print("\n");
        }
        Print(kCommandPrompt);
        std::optional<std::string> line =
            platform::ReadLine(kCommandPrompt, {platform::InputKind::Command});
        if (!line) {
            if (ReadingScript()) {
                TellChangesDropped();
                return CommandRequest{CommandRequest::Kind::EndOfInput};
            }
            if (ConfirmDroppingChanges() == Outcome::Done) {
                return CommandRequest{CommandRequest::Kind::EndOfInput};
            }
            continue;
        }
        std::vector<std::string> words = SplitWords(*line);
        // Esc at the command prompt does nothing; Enter repeats the last command.
        if (!words.empty() && IsCancel(words.front())) {
            continue;
        }
        if (words.empty()) {
            if (g_lastCommand.empty()) {
                continue;
            }
            words.push_back(g_lastCommand);
        }
        NoteCommandLine(line->find_first_not_of(" \t") == std::string::npos ? g_lastCommand
                                                                            : *line);
        std::string typed = words.front();
        // A transparent command typed at the command prompt is an ordinary one there.
        if (typed.size() > 1 && typed.front() == '\'' &&
            TransparentVerbs().count(CommandKey(typed.substr(1))) != 0) {
            typed.erase(0, 1);
        }
        std::string key = CommandKey(typed);
        words.erase(words.begin());
        if (auto m = ModuleCommands().find(key); m != ModuleCommands().end()) {
            g_lastCommand = key;
            return CommandRequest{CommandRequest::Kind::ModuleCommand, m->second, key, words};
        }
        bool done = false;
        if (Verbs().count(key) != 0) {
            g_lastCommand = key;
            g_handOff = HandOff{};
            done = RunVerb(key, words);
            HandOff handOff = std::move(g_handOff);
            g_handOff = HandOff{};
            // Only a verb that went on without failing hands its work on.
            if (done && handOff.pending) {
                return CommandRequest{CommandRequest::Kind::ModuleCommand, handOff.funcode, key,
                                      std::move(handOff.words), std::move(handOff.finish)};
            }
        } else if (const BuiltinCommand* b = FindBuiltin(key)) {
            g_lastCommand = b->name;
            done = RunHostCommand(key, b->undoStep, [&] {
                if (!b->answersOnLine) {
                    return b->run(words);
                }
                SetAnswersOnLine(words.empty() ? std::string_view() : RestOfLine(*line));
                // None are left for the next command, however this one ends.
                struct Forget {
                    ~Forget() { TakeUnusedAnswers(); }
                } forget;
                bool ran = b->run({});
                const std::vector<std::string> unused = TakeUnusedAnswers();
                if (!unused.empty()) {
                    std::string left;
                    for (const std::string& answer : unused) {
                        left += (left.empty() ? "" : " ") + answer;
                    }
                    PrintLine("Polecenie nie wykorzystało odpowiedzi: " + left);
                    ran = false;
                }
                return ran;
            });
        } else {
            PrintLine("Nieznane polecenie \"" + typed + "\". Wpisz HELP.");
        }
        if (!done) {
            NoteFailedCommand();
        }
    }
}

}  // namespace host
