// The session's outcome as the command line and the prompts report it.
#include "host/console/run_status.h"

#include "host/console/input_sources.h"
#include "platform/console.h"

namespace host {
namespace {

struct RunState {
    bool refused = false;
    bool failed = false;
    bool stop = false;
    int commandLineNumber = 0;
    std::string commandLine;
};

RunState g_run;

const LineSource* Source() {
    return dynamic_cast<const LineSource*>(platform::GetLineInput());
}

}  // namespace

void ResetRunStatus() {
    g_run = RunState{};
}

void NoteRefusedAnswer() {
    g_run.refused = true;
}

void NoteFailedCommand(bool stopScript) {
    g_run.failed = true;
    g_run.stop = g_run.stop || (stopScript && ReadingScript());
}

int RunStatus() {
    return g_run.refused || g_run.failed ? 1 : 0;
}

bool ReadingScript() {
    const LineSource* source = Source();
    return source == nullptr || !source->Interactive();
}

int LastLineNumber() {
    const LineSource* source = Source();
    return source != nullptr ? source->LineNumber() : 0;
}

void NoteCommandLine(const std::string& line) {
    g_run.commandLine = line;
    g_run.commandLineNumber = LastLineNumber();
}

bool ScriptMustStop() {
    return g_run.stop;
}

std::string ScriptStopMessage() {
    std::string where = g_run.commandLineNumber > 0
                            ? "w wierszu " + std::to_string(g_run.commandLineNumber)
                            : std::string("na poleceniu");
    return "Skrypt zatrzymany " + where + " (" + g_run.commandLine +
           "): polecenie nie zostało wykonane.";
}

}  // namespace host
