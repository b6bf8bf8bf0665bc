// Replays the fuzzing corpus of the DXF reader: every file found there, read and, when it
// was accepted, written and read again; nothing may crash or break the drawing's invariants.
#include <gtest/gtest.h>

#include <filesystem>

#include "files_test_util.h"
#include "host/dxf_reader.h"
#include "host/dxf_writer.h"

namespace {

TEST(DxfCorpus, EveryFileReadsWithoutHarm) {
    const std::filesystem::path folder = ARMAVO_FILES_TEST_DIR "/corpus";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string bytes = files_test::ReadFile(entry.path().string());
        host::Database drawing = host::Database::Empty();
        host::DxfReadResult result = host::ReadDxf(bytes, drawing);
        if (!result.ok) {
            EXPECT_FALSE(result.error.empty()) << entry.path();
            continue;
        }
        drawing.CheckInvariants();
        const std::string written = host::WriteDxf(host::PrepareForFile(drawing));
        host::Database again = host::Database::Empty();
        host::DxfReadResult second = host::ReadDxf(written, again);
        EXPECT_TRUE(second.ok) << entry.path() << ": " << second.error;
        EXPECT_EQ(second.refused, 0) << entry.path();
        again.CheckInvariants();
    }
    EXPECT_GT(files, 0);
}

}  // namespace
