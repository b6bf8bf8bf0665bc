// The armavo program on scripts: saving (links, modes, read-only files), the drawing named on
// the command line, unsaved changes at QUIT, OPEN and the end of the input, the exit status
// and where a script stops, numbers out of range, repeated commands and aliases.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "host/console/input_sources.h"
#include "platform/console.h"
#include "tests/host_console/test_module.h"
#include "tests/support/audit.h"
#include "tests/support/files.h"
#include "tests/support/scenario.h"

namespace {

namespace fs = std::filesystem;

using testkit::Count;
using testkit::ReadFile;
using testkit::WriteFile;

// Lines with "@" standing for the test's folder.
std::vector<std::string> InFolder(std::vector<std::string> lines, const fs::path& folder) {
    for (std::string& line : lines) {
        for (size_t at = line.find('@'); at != std::string::npos; at = line.find('@', at)) {
            if (at + 1 < line.size() && (line[at + 1] == '-' || std::isdigit(line[at + 1]))) {
                ++at;  // a relative point, not the folder
                continue;
            }
            line.replace(at, 1, folder.string());
        }
    }
    return lines;
}

void Capture(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("armavo-program-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!fs::exists(dir_)) {
            return;
        }
        // Folders made read-only by a test are opened up again so that they can go.
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            if (entry.is_directory()) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
            }
        }
        fs::remove_all(dir_);
    }

    // Runs `armavo --settings S --script SCRIPT [drawing]` in this process; its output.
    std::string Armavo(const std::vector<std::string>& lines, const std::string& drawing = "") {
        std::ofstream script(dir_ / "script");
        for (const std::string& line : InFolder(lines, dir_)) {
            script << line << "\n";
        }
        script.close();
        std::vector<std::string> args = {"armavo", "--settings", (dir_ / "settings").string(),
                                         "--script", (dir_ / "script").string()};
        if (!drawing.empty()) {
            args.push_back(InFolder({drawing}, dir_)[0]);
        }
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        std::string out;
        platform::SetOutputSink(Capture, &out);
        host::ResetOutputColumn();
        status_ = app::RunProgram(static_cast<int>(argv.size()), argv.data(), nullptr);
        platform::SetOutputSink(nullptr, nullptr);
        return out;
    }

    // No temporary file of a save is left anywhere in the folder.
    void ExpectNoTemporaries() {
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
                << entry.path();
        }
    }

    fs::path dir_;
    int status_ = -1;
};

// SAVE writes through a link to the file it names (the link stays), keeps a replaced file's
// mode, and refuses, with the reason, a file or folder marked read-only, which then keep
// their bytes; a refused SAVE stops the script. No temporary file is ever left behind.
TEST_F(Program, SaveFollowsLinksKeepsModesAndRefusesReadOnlyFiles) {
    enum class Setup { None, File, Link, ReadOnlyFile, ReadOnlyFolder };
    const struct {
        Setup setup;
        const char* saved;  // where the drawing should land ("" when refused)
        mode_t mode;        // the mode it should have
        const char* printed;
    } cases[] = {
        {Setup::None, "rys.dxf", 0666 & ~0022, "Zapisano rysunek"},
        {Setup::File, "rys.dxf", 0640, "Zapisano rysunek"},
        {Setup::Link, "sub/cel.dxf", 0604, "Zapisano rysunek"},
        {Setup::ReadOnlyFile, "", 0444, "rys.dxf: plik jest tylko do odczytu."},
        {Setup::ReadOnlyFolder, "", 0644, "brak prawa zapisu w folderze"},
    };
    const mode_t mask = umask(0022);
    for (const auto& c : cases) {
        SetUp();
        const fs::path target =
            dir_ / (c.setup == Setup::ReadOnlyFolder ? "ro/rys.dxf" : "rys.dxf");
        fs::create_directories(dir_ / "sub");
        fs::create_directories(target.parent_path());
        if (c.setup == Setup::Link) {
            WriteFile(dir_ / "sub/cel.dxf", "stary");
            chmod((dir_ / "sub/cel.dxf").c_str(), c.mode);
            fs::create_symlink("sub/cel.dxf", target);
        } else if (c.setup != Setup::None) {
            WriteFile(target, "stary");
            chmod(target.c_str(), c.mode);
        }
        if (c.setup == Setup::ReadOnlyFolder) {
            chmod(target.parent_path().c_str(), 0555);
        }
        const std::string out =
            Armavo({"LINE", "0,0", "10,0", "", "SAVE " + target.string(), "CIRCLE", "0,0", "5"});
        SCOPED_TRACE(out);
        EXPECT_NE(out.find(c.printed), std::string::npos);
        const bool refused = *c.saved == '\0';
        EXPECT_EQ(status_, refused ? 1 : 0);
        EXPECT_EQ(testkit::LiveEntities().size(), refused ? 1u : 2u) << "stops at a failed SAVE";
        const fs::path landed = refused ? target : dir_ / c.saved;
        EXPECT_EQ(ReadFile(landed).find("LINE") != std::string::npos, !refused);
        if (refused) {
            EXPECT_EQ(ReadFile(landed), "stary");
        }
        struct stat info {};
        ASSERT_EQ(stat(landed.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.mode);
        EXPECT_EQ(fs::is_symlink(target), c.setup == Setup::Link);
        ExpectNoTemporaries();
        TearDown();
    }
    umask(mask);
}

// A drawing named on the command line that cannot be read ends the program with status 1
// and the reason before any line of the script runs; one that can be read becomes the
// drawing's own file, which SAVE without a name then writes.
TEST_F(Program, DrawingOnTheCommandLineMustBeReadable) {
    const std::vector<std::string> script = {"CIRCLE", "0,0", "5", "SAVE", "SAVE @/inny.dxf"};
    WriteFile(dir_ / "zepsuty.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nabc\n");
    for (const char* broken : {"@/brak.dxf", "@/zepsuty.dxf", "@"}) {
        const std::string out = Armavo(script, broken);
        EXPECT_EQ(status_, 1) << out;
        EXPECT_NE(out.find("Nie można"), std::string::npos) << out;
        EXPECT_EQ(out.find("Polecenie"), std::string::npos) << out;
        EXPECT_FALSE(fs::exists(dir_ / "brak.dxf"));
        EXPECT_FALSE(fs::exists(dir_ / "inny.dxf"));
    }
    EXPECT_EQ(ReadFile(dir_ / "zepsuty.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nabc\n");

    // A name without an extension is saved as a drawing file.
    Armavo({"LINE", "0,0", "10,0", "", "SAVE @/dobry"});
    ASSERT_EQ(status_, 0);
    const std::string out = Armavo(script, "@/dobry.dxf");
    EXPECT_EQ(status_, 0) << out;
    EXPECT_NE(out.find("Polecenie: SAVE\nZapisano rysunek " + (dir_ / "dobry.dxf").string()),
              std::string::npos)
        << out;
    EXPECT_NE(ReadFile(dir_ / "dobry.dxf").find("CIRCLE"), std::string::npos);
    EXPECT_EQ(ReadFile(dir_ / "inny.dxf"), ReadFile(dir_ / "dobry.dxf"));
}

// A script stops at the first command that failed, naming its line (comments count), with
// status 1; an answer refused at a prompt is asked again and the script goes on, but the
// status is 1 too. The LINE at the end shows whether the script went on.
TEST_F(Program, ExitStatusAndWhereAScriptStops) {
    const struct {
        std::vector<std::string> lines;
        int status;
        const char* printed;
        size_t live;  // entities at the end
    } cases[] = {
        {{"# wszystko dobrze", "HELP", "SETVAR ORTHOMODE 1"}, 0, "Polecenia:", 1},
        {{"# komentarz", "NIEMA 1"}, 1, "Skrypt zatrzymany w wierszu 2 (NIEMA 1)", 0},
        {{"OPEN @/brak.dxf"}, 1, "Skrypt zatrzymany w wierszu 1 (OPEN ", 0},
        {{"CIRCLE", "0,0", "1", "SAVE @/brak/x.dxf"}, 1, "Skrypt zatrzymany w wierszu 4", 1},
        {{"EXPORT @/brak/x.svg"}, 1, "Skrypt zatrzymany w wierszu 1", 0},
        {{"PANEL diameter 12"}, 1, "Skrypt zatrzymany w wierszu 1 (PANEL diameter 12)", 0},
        {{"SAVE", "r.dxf"}, 0, "Nazwa pliku rysunku: r.dxf\nZapisano rysunek r.dxf", 1},
        {{"CIRCLE", "0,0", "-5", "5"}, 1, "Wartość nie może być ujemna.", 2},
        // A pick on empty space asks for the window's other corner.
        {{"ERASE", "500,500", "x", "", ""}, 1, "Przeciwległy narożnik: x\nNieprawidłowy punkt.", 1},
    };
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    for (const auto& c : cases) {
        std::vector<std::string> lines = c.lines;
        lines.insert(lines.end(), {"LINE", "0,0", "10,0", ""});
        const std::string out = Armavo(lines);
        SCOPED_TRACE(out);
        EXPECT_EQ(status_, c.status);
        EXPECT_NE(out.find(c.printed), std::string::npos) << c.printed;
        EXPECT_EQ(testkit::LiveEntities().size(), c.live);
        EXPECT_CLEAN_AUDIT();
    }
    fs::current_path(cwd);
}

// QUIT, OPEN and the end of the input with unsaved changes: Tak saves (to the drawing's own
// file, or under a name asked for), Nie drops the changes, Anuluj or Esc keeps the session;
// Enter is no answer. An undo back to the saved state leaves nothing to save. At the end of
// a script the program ends without saving and says so. "^D" is Ctrl+D at the terminal.
TEST_F(Program, UnsavedChangesAreOfferedForSaving) {
    const char* kAsk = "Zapisać zmiany w rysunku? [Tak/Nie/Anuluj]: ";
    const char* kDropped = "Program kończy pracę bez zapisania zmian w rysunku.";
    const std::vector<std::string> kLine = {"LINE", "0,0", "10,0", ""};
    const std::vector<std::string> kCircle = {"CIRCLE", "50,0", "5"};
    const struct {
        std::vector<std::string> lines;  // after kLine
        bool typed;
        size_t asked;
        int live;      // entities at the end
        int saved;     // entities in @/r.dxf, -1: no such file
        bool dropped;  // the end of the input said the changes were not saved
        int status;
    } cases[] = {
        {{"QUIT", "Tak", "@/r.dxf", "CIRCLE"}, false, 1, 1, 1, false, 0},
        // A save that fails is a failed QUIT: the script stops, nothing is lost silently.
        {{"QUIT", "Tak", "@/nie-ma/r.dxf"}, false, 1, 1, -1, true, 1},
        {{"QUIT", "n", "CIRCLE", "0,0", "5"}, false, 1, 1, -1, false, 0},
        {{"QUIT", "Anuluj", "CIRCLE", "0,0", "5"}, false, 1, 2, -1, true, 0},
        {{"QUIT", "^C", "CIRCLE", "0,0", "5"}, false, 1, 2, -1, true, 0},
        {{"QUIT", "", "x", "N"}, false, 3, 1, -1, false, 1},
        {{"QUIT", "T", "", "CIRCLE", "0,0", "5"}, false, 1, 2, -1, true, 0},
        {{"SAVE @/r.dxf", "CIRCLE", "50,0", "5", "U", "QUIT", "CIRCLE"}, false, 0, 1, 1, false, 0},
        {{"SAVE @/r.dxf", "U", "QUIT", "T"}, false, 1, 0, 0, false, 0},
        {{"SAVE @/r.dxf", "CIRCLE", "50,0", "5", "OPEN @/r.dxf", "A"}, false, 1, 2, 1, true, 0},
        {{"SAVE @/r.dxf", "CIRCLE", "50,0", "5", "OPEN @/r.dxf", "Nie"}, false, 1, 1, 1, false, 0},
        {{"SAVE @/r.dxf", "CIRCLE", "50,0", "5", "OPEN @/r.dxf", "Tak"}, false, 1, 2, 2, false, 0},
        {{"SAVE @/r.dxf"}, false, 0, 1, 1, false, 0},
        {{}, false, 0, 1, -1, true, 0},
        {{"^D", "Anuluj", "CIRCLE", "0,0", "5", "^D", "Nie"}, true, 2, 2, -1, false, 0},
        {{"^D", "T", "@/r.dxf"}, true, 1, 1, 1, false, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        std::vector<std::string> lines = kLine;
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        testkit::ScenarioOptions options;
        options.typed = c.typed;
        const std::string out = testkit::RunScenario(InFolder(lines, dir_), options);
        SCOPED_TRACE(testing::PrintToString(c.lines) + "\n" + out);
        EXPECT_EQ(Count(out, kAsk), c.asked);
        EXPECT_EQ(static_cast<int>(testkit::LiveEntities().size()), c.live);
        EXPECT_EQ(out.find(kDropped) != std::string::npos, c.dropped);
        EXPECT_EQ(testkit::LastScenarioStatus(), c.status);
        if (c.saved < 0) {
            EXPECT_FALSE(fs::exists(dir_ / "r.dxf"));
        } else {
            const std::string file = ReadFile(dir_ / "r.dxf");
            EXPECT_EQ(Count(file, "\nLINE\n") + Count(file, "\nCIRCLE\n"),
                      static_cast<size_t>(c.saved));
        }
        TearDown();
    }
}

// Numbers and points that are not finite or exceed 1e15 in size are refused and asked
// again, also when a relative point only overflows once added to its base, and at a drag;
// the status of the script is then 1.
TEST_F(Program, NumbersBeyondTheDrawingRangeAreAskedAgain) {
    const struct {
        std::vector<std::string> lines;
        size_t refused;     // "Wartość poza zakresem."
        const char* drawn;  // in the drawing or the transcript
    } cases[] = {
        // clang-format off
        {{"LINE", "1e16,0", "0,-1e300", "0,0", "1e15,0", "@1e15,0", "@-2e15,0", ""}, 4,
         "(10 0.0 0.0 0.0)\n(11 1000000000000000.0 0.0 0.0)"},
        {{"LINE", "-1e15,0,0", "@-1,0", "@1,2", ""}, 1, "(11 -999999999999999.0 2.0 0.0)"},
        {{"CIRCLE", "0,0", "1e16", "inf", "nan", "1e400", "2"}, 1, "(40 . 2.0)"},
        {{"PLINE", "0,0", "0,0,1e20", "5,0", ""}, 1, "(10 5.0 0.0 0.0)"},
        {{"PTK", "1e15,1", "DRAG", "@1e15,0", "@-1e15,0", "DRAG", "-2e15,0", "3,4"}, 2,
         "DRAG 0.0,1.0\nPolecenie: DRAG\n\nDo punktu: -2e15,0\nWartość poza zakresem.\n\nDo " "punktu: 3,4\nDRAG 3.0,4.0"},
        // clang-format on
    };
    testkit::ScenarioOptions options;
    options.entry = TestModuleEntryPoint;
    for (const auto& c : cases) {
        const std::string out = testkit::RunScenario(c.lines, options);
        SCOPED_TRACE(out);
        EXPECT_EQ(Count(out, "\nWartość poza zakresem.\n"), c.refused);
        EXPECT_EQ(testkit::LastScenarioStatus(), 1);
        EXPECT_NE((out + testkit::DumpDrawing()).find(c.drawn), std::string::npos) << c.drawn;
    }
}

// Enter at an empty command prompt repeats the last command, module commands too; the short
// names L, PL, C, E, M, CO and LI are the commands they stand for.
TEST_F(Program, EnterRepeatsTheLastCommandAndAliasesWork) {
    const struct {
        std::vector<std::string> lines;
        std::vector<const char*> types;  // the live entities, in order
        const char* printed;
    } cases[] = {
        // clang-format off
        {{"", "^C", "l", "0,0", "1,0", "", "", "5,5", "6,6", ""}, {"LINE", "LINE"}, "Polecenie: \n"},
        {{"PL", "0,0", "1,0", "", "C", "9,9", "1", "", "8,8", "1"}, {"LWPOLYLINE", "CIRCLE", "CIRCLE"}, ""},
        {{"C", "0,0", "1", "E", "1,0", "", "C", "5,5", "1"}, {"CIRCLE"}, "Usunięto obiektów: 1"},
        {{"C", "0,0", "1", "M", "1,0", "", "0,0", "9,0", "CO", "10,0", "", "0,0", "0,9"},
         {"CIRCLE", "CIRCLE"}, "Drugi punkt: 0,9"},
        {{"C", "0,0", "1", "LI", "1,0"}, {"CIRCLE"}, "Wybierz obiekt: 1,0\n(-1 . <Entity name: "},
        {{"ZROB", "", ""}, {"LINE", "LINE", "LINE"}, "Polecenie: \n"},
        // clang-format on
    };
    testkit::ScenarioOptions options;
    options.entry = TestModuleEntryPoint;
    for (const auto& c : cases) {
        const std::string out = testkit::RunScenario(c.lines, options);
        SCOPED_TRACE(out);
        EXPECT_EQ(testkit::LastScenarioStatus(), 0);
        EXPECT_NE(out.find(c.printed), std::string::npos) << c.printed;
        const auto live = testkit::LiveEntities();
        ASSERT_EQ(live.size(), c.types.size());
        for (size_t i = 0; i < live.size(); ++i) {
            EXPECT_EQ(live[i].type, c.types[i]);
        }
    }
}

}  // namespace
