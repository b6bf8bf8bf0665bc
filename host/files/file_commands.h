// The host's file commands OPEN, SAVE, EXPORT and PLOT, registered as command-line verbs.
#pragma once

#include <string>

namespace host {

// Registers OPEN file.dxf, SAVE [file.dxf], EXPORT file and PLOT file.pdf with the command line,
// and the saving of the drawing that QUIT and the end of the input offer.
void RegisterFileCommands();

// What the verbs do, for the program and tests: each prints its outcome and returns false
// when it failed; a failed OPEN leaves the open drawing as it was. OPEN first offers to save
// unsaved changes (cancelling it is no failure). A drawing opened or saved takes the file as
// its own.
bool OpenDrawingFile(const std::string& path);
bool SaveDrawingFile(const std::string& path);
bool ExportDrawingSvg(const std::string& path);
// EXPORT by the file's extension: SVG by the host, a kind the module registered (sds_defexport)
// handed to the module, anything else refused. A hand-off succeeds or fails when the module
// has answered.
bool ExportDrawing(const std::string& path);

}  // namespace host
