// Replays the fuzzing corpus of the DXF reader through the fuzz entry: every file is read
// and, when accepted, written and read again whole; nothing may crash or break invariants.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "files_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(DxfCorpus, EveryFileReadsWithoutHarm) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ARMAVO_FILES_TEST_DIR "/corpus")) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string bytes = files_test::ReadFile(entry.path().string());
        EXPECT_EQ(
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
            0);
    }
    EXPECT_GT(files, 0);
}

}  // namespace
