// The host's built-in commands through the scenario kit: drawing, listing, undo and redo,
// editing with picks and the pick-first selection, system variables.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/sds.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

using testkit::RunScenario;

long CountAll() {
    sds_name set;
    if (sds_ssget("X", nullptr, nullptr, nullptr, set) != RTNORM) {
        return 0;
    }
    long n = 0;
    sds_sslength(set, &n);
    sds_ssfree(set);
    return n;
}

// The text LIST printed after the pick prompt answered with `pick`.
std::string ListingAfter(const std::string& out, const std::string& pick) {
    size_t from = out.find("Wybierz obiekt: " + pick + "\n");
    if (from == std::string::npos) {
        return "";
    }
    from = out.find('\n', from) + 1;
    return out.substr(from, out.find("Command: ", from) - from);
}

// Every console scenario leaves a drawing that passes the audit.
class Builtins : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_CLEAN_AUDIT(); }
};

TEST_F(Builtins, PolylineListedThenUndoneThenRedoneWithTheSameHandle) {
    std::string out = RunScenario(
        {"PLINE", "0,0", "100,0", "100,50", "", "LIST", "100,25", "U", "REDO", "LIST", "0,0"});
    std::vector<testkit::EntityDump> live = testkit::LiveEntities();
    ASSERT_EQ(live.size(), 1u) << out;
    EXPECT_EQ(live[0].type, "LWPOLYLINE");
    // LIST printed the polyline: its three vertices and group 67, one group a line.
    std::string before = ListingAfter(out, "100,25");
    EXPECT_NE(before.find("(0 . \"LWPOLYLINE\")\n"), std::string::npos) << out;
    EXPECT_NE(before.find("(67 . 0)\n"), std::string::npos);
    EXPECT_NE(before.find("(8 . \"0\")\n"), std::string::npos);
    // Every group of the canonical polyline list, defaults filled in, in order.
    const std::string vertex = "(40 . 0.0)\n(41 . 0.0)\n(42 . 0.0)\n";
    EXPECT_NE(before.find("(90 . 3)\n(70 . 0)\n(43 . 0.0)\n(38 . 0.0)\n(39 . 0.0)\n"
                          "(10 0.0 0.0 0.0)\n" +
                          vertex + "(10 100.0 0.0 0.0)\n" + vertex + "(10 100.0 50.0 0.0)\n" +
                          vertex + "(210 0.0 0.0 1.0)\n"),
              std::string::npos)
        << before;
    EXPECT_NE(out.find("Command: U\nCofnięto ostatnie polecenie.\n"), std::string::npos);
    EXPECT_NE(out.find("Command: REDO\nPrzywrócono cofnięte polecenie.\n"), std::string::npos);
    // After REDO the same entity is back: same handle, same groups.
    EXPECT_EQ(ListingAfter(out, "0,0"), before);
    EXPECT_EQ(live[0].groups, before);

    // Stopped after U: the polyline is gone from ssget "X" and from picks.
    out = RunScenario({"PLINE", "0,0", "100,0", "100,50", "", "U", "LIST", "100,25", ""});
    EXPECT_EQ(CountAll(), 0);
    EXPECT_EQ(testkit::DumpDrawing(), "");
    EXPECT_NE(out.find("Wybierz obiekt: 100,25\nNie wybrano obiektu.\n"), std::string::npos);
}

// Cutting a session short after any line leaves a drawing that undo takes back entirely:
// no command half-applies outside its undo step.
TEST_F(Builtins, EndingTheInputAfterAnyLineLeavesWholeUndoSteps) {
    const std::vector<std::string> script = {
        "PLINE", "0,0",   "100,0", "100,50", "",    "CIRCLE", "200,0",  "10",     "COPY",  "210,0",
        "",      "200,0", "@0,30", "MOVE",   "0,0", "",       "0,0",    "5,5",    "ERASE", "100,25",
        "",      "LINE",  "0,0",   "1,1",    "2,0", "",       "SELECT", "210,30", "",      "ERASE"};
    for (size_t n = 0; n <= script.size(); ++n) {
        std::vector<std::string> prefix(script.begin(), script.begin() + n);
        RunScenario(prefix);
        ASSERT_EQ(testkit::LastScenarioStatus(), 0) << n;
        EXPECT_CLEAN_AUDIT() << "after " << n << " lines";
        if (n == script.size()) {
            // The whole script leaves the circle and the two lines: the moved polyline and
            // the circle's copy (through the pick-first selection) were erased.
            EXPECT_EQ(testkit::LiveEntities().size(), 3u) << testkit::DumpDrawing();
        }
        testkit::ScenarioOptions keep;
        keep.newDrawing = false;
        std::string out = RunScenario({"UNDO 1000"}, keep);
        EXPECT_EQ(testkit::DumpDrawing(), "") << "after " << n << " lines\n" << out;
    }
}

TEST_F(Builtins, LinesCirclesAndRefusedRadiusAskAgain) {
    std::string out = RunScenario(
        {"LINE", "0,0", "10,0", "@0,10", "", "_circle", "5,5", "-1", "0", "2.5", "circle", "^C"});
    std::vector<testkit::EntityDump> live = testkit::LiveEntities();
    ASSERT_EQ(live.size(), 3u) << out;
    EXPECT_EQ(live[0].type, "LINE");
    EXPECT_NE(live[1].groups.find("(10 10.0 0.0 0.0)\n(11 10.0 10.0 0.0)"), std::string::npos)
        << live[1].groups;
    EXPECT_EQ(live[2].type, "CIRCLE");
    EXPECT_NE(live[2].groups.find("(40 . 2.5)"), std::string::npos);
    EXPECT_NE(out.find("-1\nWartość nie może być ujemna.\n"), std::string::npos) << out;
    EXPECT_NE(out.find("0\nWartość musi być różna od zera.\n"), std::string::npos);
}

TEST_F(Builtins, EraseByPicksAndSelectThenEraseThroughPickFirst) {
    std::string out =
        RunScenario({"LINE", "0,0", "100,0", "", "CIRCLE", "500,500", "10", "CIRCLE", "800,800",
                     "10", "ERASE", "300,300", "50,0", "", "SELECT", "510,500", "", "ERASE"});
    std::vector<testkit::EntityDump> live = testkit::LiveEntities();
    ASSERT_EQ(live.size(), 1u) << out;
    EXPECT_NE(live[0].groups.find("(10 800.0 800.0 0.0)"), std::string::npos);
    EXPECT_NE(out.find("Command: ERASE\nWybierz obiekty: 300,300\nNie wybrano obiektu.\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Wybrano obiektów: 1"), std::string::npos);
    // An erase is one step of its own: U brings the line back.
    out = RunScenario({"LINE", "0,0", "100,0", "", "ERASE", "50,0", "", "U"});
    EXPECT_EQ(testkit::LiveEntities().size(), 1u) << out;
}

TEST_F(Builtins, MoveAndCopyByBaseAndSecondPoint) {
    std::string out = RunScenario({"CIRCLE", "0,0", "5", "MOVE", "5,0", "", "0,0", "100,0", "COPY",
                                   "105,0", "", "100,0", "@0,50"});
    std::vector<testkit::EntityDump> live = testkit::LiveEntities();
    ASSERT_EQ(live.size(), 2u) << out;
    EXPECT_NE(live[0].groups.find("(10 100.0 0.0 0.0)"), std::string::npos) << live[0].groups;
    EXPECT_NE(live[1].groups.find("(10 100.0 50.0 0.0)"), std::string::npos) << live[1].groups;
    EXPECT_NE(live[0].handle, live[1].handle);
}

TEST_F(Builtins, UndoCountsRedoAndNothingToUndo) {
    std::string out = RunScenario({"U", "REDO", "LINE", "0,0", "1,0", "", "LINE", "0,1", "1,1", "",
                                   "UNDO 5", "UNDO x", "UNDO", ""});
    EXPECT_NE(out.find("Command: U\nNie ma nic do cofnięcia.\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Command: REDO\nNie ma nic do przywrócenia.\n"), std::string::npos);
    EXPECT_NE(out.find("Command: UNDO 5\nCofnięto kroków: 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Command: UNDO x\nNieprawidłowa liczba kroków: x\n"), std::string::npos);
    EXPECT_EQ(CountAll(), 0);
}

TEST_F(Builtins, SetvarByTypeAndRefusals) {
    std::string out = RunScenario({"SETVAR orthomode 1", "SETVAR VIEWSIZE 250.5",
                                   "SETVAR PICKBOX x", "SETVAR NOSUCH 1", "setvar", "osmode", "4"});
    struct resbuf rb;
    ASSERT_EQ(sds_getvar("ORTHOMODE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 1);
    ASSERT_EQ(sds_getvar("VIEWSIZE", &rb), RTNORM);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 250.5);
    ASSERT_EQ(sds_getvar("OSMODE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 4);
    EXPECT_NE(out.find("Nieprawidłowa wartość zmiennej PICKBOX: x"), std::string::npos) << out;
    EXPECT_NE(out.find("Nieznana zmienna: NOSUCH"), std::string::npos);
    EXPECT_NE(out.find("Nowa wartość OSMODE <0>: 4\n"), std::string::npos);
}

TEST_F(Builtins, HelpListsCommandsAndCommentsAreSkipped) {
    std::string out = RunScenario({"# komentarz", "help", "  # też"});
    EXPECT_EQ(out.find("komentarz"), std::string::npos);
    size_t at = out.find("Polecenia: ");
    ASSERT_NE(at, std::string::npos) << out;
    std::string line = out.substr(at + 11, out.find('\n', at) - at - 11);
    std::vector<std::string> names;
    for (size_t i = 0; i < line.size();) {
        size_t end = line.find(' ', i);
        names.push_back(line.substr(i, end == std::string::npos ? end : end - i));
        i = end == std::string::npos ? line.size() : end + 1;
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << line;
    for (const char* name : {"CIRCLE", "COPY", "ERASE", "HELP", "LINE", "LIST", "MOVE", "PLINE",
                             "QUIT", "REDO", "SELECT", "SETVAR", "U", "UNDO", "PANEL"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

}  // namespace
