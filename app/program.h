// The armavo program without its module: options, the line source, the drawing named on
// the command line, and the host's session with whatever module entry point it is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace app {

struct Options {
    std::string settingsFile;  // --settings FILE
    std::string scriptFile;    // --script FILE
    std::string drawingFile;   // DRAWING.dxf
};

inline constexpr const char* kUsage =
    "Użycie: armavo [--settings PLIK] [--script PLIK] [RYSUNEK.dxf]\n";

// The options of `armavo [--settings FILE] [--script FILE] [DRAWING.dxf]`, or nothing for a
// command line that does not fit (an unknown option, a missing value, a second drawing).
std::optional<Options> ParseOptions(const std::vector<std::string>& args);

// Runs the program; returns its exit status (2 for wrong options).
int RunProgram(int argc, char** argv, host::EntryPoint entry);

}  // namespace app
