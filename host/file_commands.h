// The host's file commands OPEN, SAVE and EXPORT, registered as command-line verbs.
#pragma once

#include <string>

namespace host {

// Registers OPEN file.dxf, SAVE file.dxf and EXPORT file.svg with the command line.
void RegisterFileCommands();

// What the verbs do, for the program and tests: each prints its outcome and returns false
// when it failed; a failed OPEN leaves the open drawing as it was.
bool OpenDrawingFile(const std::string& path);
bool SaveDrawingFile(const std::string& path);
bool ExportDrawingSvg(const std::string& path);

}  // namespace host
