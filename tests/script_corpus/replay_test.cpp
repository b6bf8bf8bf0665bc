// Every input of the script-fuzzing corpus runs through the program without a crash or a
// sanitizer report, and the line cutting that the fuzz entry does keeps its promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/script_input.h"
#include "tests/support/audit.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<std::string> Lines(const std::string& text) {
    const std::vector<uint8_t> bytes = Bytes(text);
    return fuzzing::ScriptLines(bytes.data(), bytes.size());
}

TEST(ScriptCorpus, EveryInputRunsThrough) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(ARMAVO_SCRIPT_CORPUS)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 5u) << "the corpus is missing";
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        EXPECT_EQ(fuzzing::RunScriptInput(bytes.data(), bytes.size()), 0);
    }
}

TEST(ScriptCorpus, LinesAreCutBoundedAndKeptAwayFromFiles) {
    EXPECT_EQ(Lines("WPR\r\n0,0\n\n"), (std::vector<std::string>{"WPR", "0,0", ""}));
    EXPECT_EQ(Lines("a\nSAVE /tmp/x.dxf\n _open y\nexport z.svg\nsaved\n"),
              (std::vector<std::string>{"a", "saved"}));
    EXPECT_EQ(Lines(std::string(1000, 'x'))[0].size(), fuzzing::kMaxLineBytes);
    std::string many;
    for (size_t i = 0; i < fuzzing::kMaxLines + 10; ++i)
        many += "U\n";
    EXPECT_EQ(Lines(many).size(), fuzzing::kMaxLines);
    const std::string withNul("A\0B\nC", 5);
    EXPECT_EQ(Lines(withNul), (std::vector<std::string>{std::string("A\0B", 3), "C"}));
}

}  // namespace
