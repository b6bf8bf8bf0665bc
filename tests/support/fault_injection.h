// Fault injection over scripted scenarios of the module's commands: a command's run given up
// with Esc at each of its answers in turn, and cut off there by the end of the input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

// A scripted scenario: lines that make the drawing, then one command with every answer of a
// whole run of it (prompts and dialog lines alike). The panel's settings made by the setup
// hold for the command.
struct FaultScenario {
    std::string name;
    std::vector<std::string> setup;
    std::vector<std::string> command;
    // How many U take a whole run back. A faulted run always leaves one step at most.
    int wholeRunSteps = 1;
    // A selection the command lines make with SELECT stays until an operation has used it:
    // left by a fault before this answer, it is no fault.
    size_t selectionUsedAt = 0;
    // The first answer whose fault may leave a change (a bar finished early, a projection
    // already dragged into place); a fault before it leaves the drawing as it was. By default
    // no fault may leave one.
    size_t changeFrom = SIZE_MAX;
    // The setup's drawing must pass the audit; off for a command that starts from a drawing
    // with a fault it mends (AUDIT Napraw, or an insert closing the numbering's gap).
    bool auditedSetup = true;
};

// Runs the scenario whole (it must change the drawing soundly), then, for every answer k
// after the command line, once with answer k replaced by "^C" (the answers after it are not
// typed: they would reach the command prompt as commands) and once with the input ending
// before answer k. Each run starts from the setup made again on a fresh drawing.
//
// Every run must leave the drawing as it was (but for handles used by lines drawn while it
// asked), or (from `changeFrom` on) holding one sound change (the audit finds nothing, no
// temporary line is left); either way one U takes it back byte for byte. And the prompt must
// come back cleanly: no undo group open, nothing selected or highlighted, the panel's inputs
// enabled again, no result buffer leaked, the script not failed. Returns one paragraph per
// failing run (scenario, where and how it was faulted, what was wrong, the run's transcript),
// "" when every run passed.
std::string SweepFaults(const FaultScenario& scenario);

// The drawing as its DXF file would hold it: what "unchanged" and "given back" compare.
std::string DrawingDxf();

}  // namespace testkit
