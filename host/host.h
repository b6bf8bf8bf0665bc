// The host as the program sees it: run the command line with a module's entry point, and the
// few hooks through which the program wires the window framework and the drawing files in.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace host {

// Thrown out of sds_link (and sds_exit) when the host shuts down; main catches it.
struct HostShutdown {
    int status = 0;
};

// A command-line verb the host does not know itself, handled by whoever registered it
// (PANEL by the window framework, OPEN/SAVE/EXPORT by the drawing files). The words after
// the verb are passed as typed, split at blanks; the result is false for a refused command.
using VerbHandler = std::function<bool(const std::vector<std::string>& words)>;
void RegisterVerb(const std::string& name, VerbHandler handler);
// A verb that also works inside a command, typed at any of its prompts with a leading
// apostrophe ("'PANEL diameter 12"): it runs at once, says what it did, and the prompt is
// asked again. It changes no drawing, so it makes no undo step.
void RegisterTransparentVerb(const std::string& name, VerbHandler handler);

// Runs the module: calls the entry point, which enters its link loop; the host answers
// the load request, then runs the command line inside sds_link until the input ends.
// Returns the exit status of the program.
using EntryPoint = void (*)();
int Run(EntryPoint entry);

}  // namespace host
