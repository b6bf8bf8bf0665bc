// What the EXPORT and AUDIT scenarios share: a scratch folder, whole files read and written,
// and the lines that make a small drawing with the commands.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios_opr/opr_kit.h"
#include "tests/support/files.h"

namespace export_kit {

using namespace opr_kit;
using testkit::LastScenarioStatus;
using testkit::LiveHandles;

// A fresh folder for the files of one test.
inline std::string ScratchFolder(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("armavo-export-" + std::to_string(getpid())) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

using testkit::ReadFile;
using testkit::WriteFile;

// The lines of a file, without their CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// Two ribbed 10 mm bars made with the commands: bar 1 straight and described on a leader, bar
// 2 an L with its dimension texts and its description beside it.
inline std::vector<std::string> DescribedBars() {
    // clang-format off
    return {"PANEL steel RB500W", "PANEL diameter 10", "WPR", "0,0", "200,0", "",
            "WPR", "0,100", "200,100", "200,150", "",
            "EDPR", "Opis", "Na_odnośniku", "100,0", "100,0", "120,-30", "150,-30", "^C", "^C",
            "EDPR", "Teksty_wymiarów(wstaw/usuń)", "10,100", "^C",
            "EDPR", "Opis", "Pręta(włącz/wyłącz)", "10,100", "^C", "^C"};
    // clang-format on
}

}  // namespace export_kit
