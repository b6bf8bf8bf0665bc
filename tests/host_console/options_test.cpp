// The program's command line: armavo [--settings FILE] [--script FILE] [DRAWING.dxf].
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/program.h"

namespace {

TEST(Options, AcceptedFormsAndRefusals) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        const char* settings;
        const char* script;
        const char* drawing;
    };
    const Case cases[] = {
        {{}, true, "", "", ""},
        {{"a.dxf"}, true, "", "", "a.dxf"},
        {{"--script", "s.txt", "--settings", "u.ini", "b.dxf"}, true, "u.ini", "s.txt", "b.dxf"},
        {{"b.dxf", "--script", "s.txt"}, true, "", "s.txt", "b.dxf"},
        {{"--script"}, false, "", "", ""},
        {{"--script", ""}, false, "", "", ""},
        {{"--settings", "a", "--bogus"}, false, "", "", ""},
        {{"-x"}, false, "", "", ""},
        {{"a.dxf", "b.dxf"}, false, "", "", ""},
    };
    for (const Case& c : cases) {
        std::optional<app::Options> o = app::ParseOptions(c.args);
        ASSERT_EQ(o.has_value(), c.ok) << testing::PrintToString(c.args);
        if (o) {
            EXPECT_EQ(o->settingsFile, c.settings);
            EXPECT_EQ(o->scriptFile, c.script);
            EXPECT_EQ(o->drawingFile, c.drawing);
        }
    }
}

TEST(Options, WrongOptionsEndWithStatusTwo) {
    char name[] = "armavo";
    char bad[] = "--bogus";
    char* argv[] = {name, bad, nullptr};
    EXPECT_EQ(app::RunProgram(2, argv, nullptr), 2);
    char script[] = "--script";
    char missing[] = "/nonexistent/armavo-script";
    char* argv2[] = {name, script, missing, nullptr};
    EXPECT_EQ(app::RunProgram(3, argv2, nullptr), 2);
    // A folder opens for reading but holds no lines: it is no script, not an empty one.
    std::string folder = std::filesystem::temp_directory_path().string();
    char* argv3[] = {name, script, folder.data(), nullptr};
    EXPECT_EQ(app::RunProgram(3, argv3, nullptr), 2);
}

}  // namespace
