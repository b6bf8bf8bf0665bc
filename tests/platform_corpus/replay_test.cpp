// Every input of the settings-file and dialog-line fuzzing corpora runs through its entry
// without a crash, a sanitizer report or a settings round trip that changes a value.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/platform_input.h"

namespace {

TEST(PlatformCorpora, EveryInputRunsThrough) {
    const struct {
        const char* corpus;
        int (*entry)(const uint8_t*, size_t);
    } corpora[] = {
        {"settings", fuzzing::RunSettingsInput},
        {"dialog", fuzzing::RunDialogInput},
    };
    for (const auto& c : corpora) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(ARMAVO_FUZZ_CORPORA "/") + c.corpus)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        EXPECT_GE(files.size(), 4u) << c.corpus << ": the corpus is missing";
        for (const auto& file : files) {
            SCOPED_TRACE(std::string(c.corpus) + "/" + file.filename().string());
            std::ifstream in(file, std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
            EXPECT_EQ(c.entry(bytes.data(), bytes.size()), 0);
        }
    }
}

}  // namespace
