// Saving and opening: the file holds the whole drawing and the structure strict readers
// expect, save -> open -> save gives the same bytes, outside readers accept the file.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "../host_drawing/drawing_test_util.h"
#include "files_test_util.h"
#include "host/drawing/document.h"
#include "host/files/dxf_reader.h"
#include "host/files/dxf_writer.h"
#include "host/files/file_commands.h"
#include "host/sds.h"

namespace {

using files_test::ObjectsByHandle;

class DxfRoundTrip : public host_test::DrawingTest {};

TEST_F(DxfRoundTrip, SaveOpenSaveKeepsObjectsHandlesAndBytes) {
    files_test::MakeSampleDrawing();
    // What is written: the drawing with the layouts and blocks a file needs.
    const auto before = ObjectsByHandle(host::PrepareForFile(host::CurrentDrawing()));
    const std::string path = files_test::TempPath("round.dxf");
    ASSERT_TRUE(host::SaveDrawingFile(path));
    const std::string first = files_test::ReadFile(path);

    ASSERT_TRUE(host::OpenDrawingFile(path));
    const auto after = ObjectsByHandle(host::CurrentDrawing());
    for (const auto& [handle, text] : before) {
        auto found = after.find(handle);
        ASSERT_NE(found, after.end()) << "object #" << handle << " lost: " << text;
        EXPECT_EQ(found->second, text) << "object #" << handle << " changed";
    }
    const std::string path2 = files_test::TempPath("round2.dxf");
    ASSERT_TRUE(host::SaveDrawingFile(path2));
    EXPECT_EQ(files_test::ReadFile(path2), first);
    host::CurrentDrawing().CheckInvariants();
    // ezdxf reads it strictly, audits it clean and finds the two bars' records (tag, ordinal,
    // diameter, hooks, number, steel, ...) and the group.
    std::string output;
    if (files_test::HaveEzdxf()) {
        EXPECT_EQ(files_test::RunCommand(
                      "/usr/bin/python3 " ARMAVO_FILES_TEST_DIR "/check_ezdxf.py " + path, &output),
                  0)
            << output;
        for (const char* found :
             {"1=Pręt 70=1 140=1.2 70=0 70=1 70=7 70=1 70=0",
              "1=Pręt 70=1 140=1.2 70=0 70=2 70=7 70=1 70=0", "GROUP *A0 Pręt nr 1 "})
            EXPECT_NE(output.find(found), std::string::npos) << output;
    }
    // The outside validator accepts the file, and that of an empty drawing.
    const std::string tool = ARMAVO_SOURCE_DIR "/../shared/tools/dxf-validate";
    if (!std::filesystem::exists(tool))
        GTEST_SKIP() << "no " << tool;
    EXPECT_EQ(files_test::RunCommand(tool + " " + path, &output), 0) << output;
    host::NewDrawing();
    ASSERT_TRUE(host::SaveDrawingFile(path));
    EXPECT_EQ(files_test::RunCommand(tool + " " + path, &output), 0) << output;
}

TEST_F(DxfRoundTrip, FailedSaveLeavesWhatWasThere) {
    files_test::MakeSampleDrawing();
    const std::string folder = files_test::TempPath("a-folder.dxf");
    std::filesystem::create_directories(folder + "/inside");
    EXPECT_FALSE(host::SaveDrawingFile(folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
    EXPECT_FALSE(host::SaveDrawingFile(files_test::TempPath("no-such-folder/x.dxf")));
    // A write that fails half-way (the file size limit stands in for a full disk) leaves the
    // drawing that was there as it was.
    const std::string saved = files_test::TempPath("saved.dxf");
    ASSERT_TRUE(host::SaveDrawingFile(saved));
    const std::string before = files_test::ReadFile(saved);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{static_cast<rlim_t>(before.size() / 2), limit.rlim_max};
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(host::SaveDrawingFile(saved));
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(files_test::ReadFile(saved), before);
    for (const auto& entry : std::filesystem::directory_iterator(files_test::TempPath(""))) {
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos)
            << "temporary file left behind: " << entry.path();
    }
}

// Files give angles in degrees, applications get radians: a rotated text and an arc made
// through sds_entmake are written as pinned, and the pinned file opens to the same radians.
TEST_F(DxfRoundTrip, AnglesAreDegreesInFilesAndRadiansInTheDrawing) {
    const double pi = 3.14159265358979323846;
    const sds_point at = {10, 20, 0};
    const struct {
        const char* type;
        double g50, g51;
    } cases[] = {{"TEXT", pi / 2, pi / 12}, {"ARC", pi / 6, 1.0}, {"TEXT", 4.0, 0.0}};
    for (const auto& c : cases) {
        resbuf* list =
            std::string_view(c.type) == "TEXT"
                ? sds_buildlist(RTDXF0, "TEXT", 10, at, 40, 2.5, 1, "%%c16", 50, c.g50, 51, c.g51,
                                RTNONE)
                : sds_buildlist(RTDXF0, "ARC", 10, at, 40, 5.0, 50, c.g50, 51, c.g51, RTNONE);
        ASSERT_EQ(sds_entmake(list), RTNORM);
        sds_relrb(list);
    }
    const std::string golden = ARMAVO_FILES_TEST_DIR "/golden/angles.dxf";
    const std::string written = host::WriteDxf(host::PrepareForFile(host::CurrentDrawing()));
    if (written != files_test::ReadFile(golden))
        files_test::WriteFile(golden + ".out", written);  // to look at, and to accept
    EXPECT_EQ(written, files_test::ReadFile(golden)) << golden << ".out";
    for (const char* degrees : {"\n 50\n90.0\n 51\n15.0\n", "\n 50\n30.0\n 51\n57.29577951308232\n",
                                "\n 50\n229.1831180523293\n 51\n0.0\n"}) {
        EXPECT_NE(written.find(degrees), std::string::npos) << degrees;
    }
    host::Database read = host::Database::Empty();
    ASSERT_TRUE(host::ReadDxf(files_test::ReadFile(golden), read).ok);
    host::ReplaceDrawing(std::move(read));
    sds_name entity;
    size_t i = 0;
    for (int found = sds_entnext(nullptr, entity); found == RTNORM;
         found = sds_entnext(entity, entity), ++i) {
        ASSERT_LT(i, std::size(cases));
        resbuf* list = sds_entget(entity);
        EXPECT_NEAR(host_test::FindGroup(list, 50)->resval.rreal, cases[i].g50, 1e-15) << i;
        EXPECT_NEAR(host_test::FindGroup(list, 51)->resval.rreal, cases[i].g51, 1e-15) << i;
        sds_relrb(list);
    }
    EXPECT_EQ(i, std::size(cases));
    EXPECT_EQ(host::WriteDxf(host::CurrentDrawing()), written);
}

}  // namespace
