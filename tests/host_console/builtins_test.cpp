// The host's built-in commands through the scenario kit: drawing, listing, undo and redo,
// editing with picks and the pick-first selection, system variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "host/sds.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

using testkit::RunScenario;

// Every console scenario leaves a drawing that passes the audit.
class Builtins : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_CLEAN_AUDIT(); }
};

// Each script leaves exactly one live entity per entry of `live` (ssget "X" order), each
// holding its text, prints each entry of `printed` and ends with `status`: 1 when an answer
// was refused, or when a command failed, which also stops the script.
TEST_F(Builtins, ScriptsLeaveTheseEntitiesAndMessages) {
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> printed;
        std::vector<std::string> live;
        int status;
    } cases[] = {
        // clang-format off
        // Undone, the polyline is gone from ssget "X".
        {{"PLINE", "0,0", "100,0", "100,50", "", "U"}, {"Cofnięto ostatnie polecenie.\n"}, {}, 0},
        {{"LINE", "0,0", "10,0", "@0,10", "", "_circle", "5,5", "-1", "0", "2.5", "circle", "^C"},
         {"-1\nWartość nie może być ujemna.\n", "0\nWartość musi być różna od zera.\n"},
         {"(0 . \"LINE\")", "(10 10.0 0.0 0.0)\n(11 10.0 10.0 0.0)", "(40 . 2.5)"}, 1},
        // A pick on empty space starts a window: to the left a crossing one, which takes the line.
        {{"LINE", "0,0", "100,0", "", "CIRCLE", "500,500", "10", "CIRCLE", "800,800", "10", "ERASE", "300,300", "50,0", "", "SELECT", "510,500", "", "ERASE"},
         {"Polecenie: ERASE\nWybierz obiekty: 300,300\nPrzeciwległy narożnik: 50,0\nZnaleziono obiektów: 1\n", "Wybrano obiektów: 1"},
         {"(10 800.0 800.0 0.0)"}, 0},
        // W takes what lies wholly inside, C (here a window dragged to the left) what crosses too.
        {{"LINE", "0,200", "10,200", "", "LINE", "30,200", "40,200", "", "LINE", "15,205", "30,205", "", "ERASE W -5,190 20,210", "ERASE 25,215 12,195"},
         {"Przeciwległy narożnik: 20,210\nZnaleziono obiektów: 1\nWybierz obiekty: \nUsunięto obiektów: 1\n", "Przeciwległy narożnik: 12,195\nZnaleziono obiektów: 1\n"},
         {"(10 30.0 200.0 0.0)"}, 0},
        // Answers on the command's line; one it does not take fails it.
        {{"LINE", "500,0", "600,0", "", "ROTATE 550,0 \"\" 500,0 90 x"},
         {"Kąt obrotu: 90\nPolecenie nie wykorzystało odpowiedzi: x\n"}, {"(10 500.0 0.0 0.0)\n(11 500.0 100.0 0.0)"}, 1},
        // A mirrored text still reads from left to right, aligned at its mirrored start; a
        // centred one keeps the last height.
        {{"TEXT 10,-40 5 0 \"PRZEKRÓJ A-A\"", "DT", "Środek", "100,0", "", "90", "%%c12", "MIRROR 20,-40 \"\" 200,0 200,1 Tak"},
         {"Wysokość tekstu <5>: \n"},
         {"(50 . 0.0)\n(7 . \"STANDARD\")\n(72 . 2)\n(11 390.0 -40.0 0.0)", "(40 . 5.0)\n(1 . \"%%c12\")\n(50 . 1.570796)\n(7 . \"STANDARD\")\n(72 . 1)\n(11 100.0 0.0 0.0)"}, 0},
        {{"LINE", "0,0", "10,0", "", "CHPROP 5,0 \"\" Rodzaj_linii HIDDEN Kolor DANEJWARSTWY Warstwa Osie \"\""},
         {}, {"(8 . \"Osie\")\n(62 . 256)\n(6 . \"HIDDEN\")"}, 0},
        // An erase is one step of its own: U brings the line back.
        {{"LINE", "0,0", "100,0", "", "ERASE", "50,0", "", "U"}, {}, {"(0 . \"LINE\")"}, 0},
        {{"CIRCLE", "0,0", "5", "MOVE", "5,0", "", "0,0", "100,0", "COPY", "105,0", "", "100,0", "@0,50"},
         {}, {"(10 100.0 0.0 0.0)", "(10 100.0 50.0 0.0)"}, 0},
        // "UNDO x" fails and stops the script: the LINE after it is not drawn.
        {{"U", "REDO", "LINE", "0,0", "1,0", "", "LINE", "0,1", "1,1", "", "UNDO 5", "UNDO", "", "UNDO x", "LINE", "0,0", "5,5", ""},
         {"Polecenie: U\nNie ma nic do cofnięcia.\n", "Polecenie: REDO\nNie ma nic do przywrócenia.\n", "Polecenie: UNDO 5\nCofnięto kroków: 2\n", "Polecenie: UNDO x\nNieprawidłowa liczba kroków: x\n" "Skrypt zatrzymany w wierszu 14 (UNDO x)"},
         {}, 1},
        {{"SETVAR NOSUCH 1", "LINE", "0,0", "5,5", ""}, {"Nieznana zmienna: NOSUCH\nSkrypt"}, {}, 1},
        {{"SETVAR VIEWSIZE 1e16", "LINE", "0,0", "5,5", ""},
         {"Nieprawidłowa wartość zmiennej VIEWSIZE: 1e16\nSkrypt"}, {}, 1},
        {{"SETVAR orthomode 1", "SETVAR VIEWSIZE 250.5", "setvar", "osmode", "4", "SETVAR PICKBOX x"},
         {"Nieprawidłowa wartość zmiennej PICKBOX: x", "Nowa wartość OSMODE <0>: 4\n"}, {}, 1},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string out = RunScenario(c.lines);
        SCOPED_TRACE(c.lines[0] + " ...\n" + out);
        EXPECT_EQ(testkit::LastScenarioStatus(), c.status);
        for (const std::string& text : c.printed)
            EXPECT_NE(out.find(text), std::string::npos) << text;
        const std::vector<testkit::EntityDump> live = testkit::LiveEntities();
        ASSERT_EQ(live.size(), c.live.size());
        for (size_t i = 0; i < live.size(); ++i)
            EXPECT_NE(live[i].groups.find(c.live[i]), std::string::npos) << live[i].groups;
        if (live.size() == 2) {
            EXPECT_NE(live[0].handle, live[1].handle);
        }
    }
    // The last script set these.
    struct resbuf rb;
    ASSERT_EQ(sds_getvar("ORTHOMODE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 1);
    ASSERT_EQ(sds_getvar("OSMODE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 4);
    ASSERT_EQ(sds_getvar("VIEWSIZE", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 250.5);
}

// Cutting a session short after any line leaves a drawing that undo takes back entirely:
// no command half-applies outside its undo step.
TEST_F(Builtins, EndingTheInputAfterAnyLineLeavesWholeUndoSteps) {
    const std::vector<std::string> script = {
        "PLINE", "0,0", "100,0", "100,50", "", "CIRCLE", "200,0", "10", "COPY", "210,0", "",
        "200,0", "@0,30", "MOVE", "0,0", "", "0,0", "5,5", "ERASE", "100,25", "", "LINE", "0,0",
        "1,1", "2,0", "", "SELECT", "210,30", "", "ERASE",
        // Text, mirrored copies of what a window takes, a turn, a crossing window's changes.
        "TEXT", "0,-40", "5", "0", "A-A", "MIRROR", "W", "-10,-10", "300,20", "", "0,100", "10,100",
        "", "ROTATE", "2,-40", "", "0,0", "45", "CHPROP", "C", "300,300", "-20,150", "", "Kolor",
        "3", "Rodzaj_linii", "DASHED", ""};
    for (size_t n = 0; n <= script.size(); ++n) {
        std::vector<std::string> prefix(script.begin(), script.begin() + n);
        RunScenario(prefix);
        ASSERT_EQ(testkit::LastScenarioStatus(), 0) << n;
        EXPECT_CLEAN_AUDIT() << "after " << n << " lines";
        if (n == script.size()) {
            // The whole script leaves the circle and the two lines (the moved polyline and
            // the circle's copy, through the pick-first selection, were erased), their
            // mirror images and the text.
            EXPECT_EQ(testkit::LiveEntities().size(), 7u) << testkit::DumpDrawing();
        }
        testkit::ScenarioOptions keep;
        keep.newDrawing = false;
        std::string out = RunScenario({"UNDO 1000"}, keep);
        EXPECT_EQ(testkit::DumpDrawing(), "") << "after " << n << " lines\n" << out;
    }
}

}  // namespace
