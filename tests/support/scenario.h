// The scenario-test kit: runs a list of script lines through the host (with a module's
// entry point, or none) on a fresh drawing, returns what the session printed, and gives the
// drawing back as stable text for exact comparisons.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"
#include "host/sds.h"

namespace testkit {

struct ScenarioOptions {
    host::EntryPoint entry = nullptr;  // e.g. SDS_EntryPoint for the module; null: host alone
    bool newDrawing = true;            // start from host::NewDrawing()
    bool echo = true;                  // echo each answer after its prompt, as scripts do
    // The lines are typed live at the terminal: the line "^D" is Ctrl+D there (an end of the
    // input after which reading goes on), and the input ends after the last line.
    bool typed = false;
    // OPEN, SAVE, EXPORT and PLOT are commands (when the drawing files are built) and the drawing
    // can be saved from the unsaved-changes question; off: neither, so no file is touched.
    bool files = true;
    // The registry's settings file; empty: a fresh file in a temporary folder, removed
    // before the run so that every scenario starts from the panel's defaults.
    std::string settingsFile;
};

// Runs the lines as a script and returns the transcript (prompts, echoed answers, messages).
// The verbs of the program (PANEL, and OPEN, SAVE, EXPORT and PLOT when the drawing files are
// built) are registered first.
// Afterwards the drawing stays as the scenario left it, queryable through sds_* calls.
std::string RunScenario(const std::vector<std::string>& lines, const ScenarioOptions& options = {});
// The exit status and the settings file of the last RunScenario.
int LastScenarioStatus();
std::string LastSettingsFile();

// One live entity: its type (group 0), handle (group 5) and full list as LIST prints it.
struct EntityDump {
    std::string type;
    std::string handle;
    std::string groups;
};
// Every live entity, and their handles, in creation order (ssget "X").
std::vector<EntityDump> LiveEntities();
std::vector<std::string> LiveHandles();

// Every live entity's list and, indented below it, the objects it owns through 360 groups
// (extension dictionaries, their records), recursively, separated by blank lines: a stable
// text of the drawing for exact comparisons.
std::string DumpDrawing();
// The named object dictionary and everything it owns, dumped the same way.
std::string DumpNamedObjects();

}  // namespace testkit
