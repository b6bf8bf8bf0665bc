// The armavo program without its module: options, the line source, the drawing named on
// the command line, and the host's session with whatever module entry point it is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace app {

struct Options {
    std::string settingsFile;      // --settings FILE
    std::string scriptFile;        // --script FILE
    std::string drawingFile;       // DRAWING.dxf
    std::optional<int> servePort;  // --serve [PORT]
};

// The port of `--serve` without one.
inline constexpr int kDefaultServePort = 8080;

inline constexpr const char* kUsage =
    "Użycie: armavo [--settings PLIK] [--script PLIK | --serve [PORT]] [RYSUNEK.dxf]\n";

// The options of `armavo [--settings FILE] [--script FILE | --serve [PORT]] [DRAWING.dxf]`,
// or nothing for a command line that does not fit (an unknown option, a missing value, a
// second drawing, a script and a page at once, a port out of range). The word after
// --serve is its port when it is a number (0: any free port).
std::optional<Options> ParseOptions(const std::vector<std::string>& args);

// Runs the program; returns its exit status (2 for wrong options).
int RunProgram(int argc, char** argv, host::EntryPoint entry);

}  // namespace app
