// The link loop with a module: load, command lookup, arguments, failures, the end request
// and the shutdown that follows it.
#include <gtest/gtest.h>

#include "host/console/link.h"
#include "host/sds/resbuf_count.h"
#include "host/sds.h"
#include "tests/host_console/test_module.h"
#include "tests/support/scenario.h"

namespace {

testkit::ScenarioOptions WithModule() {
    testkit::ScenarioOptions o;
    o.entry = TestModuleEntryPoint;
    return o;
}

TEST(Link, ModuleCommandsAreTypedCaseInsensitivelyWithOrWithoutUnderscore) {
    std::string out =
        testkit::RunScenario({"ptk", "1,2", "_PtK", "^C", "KW", "a", "nic", "PTK"}, WithModule());
    // The unknown command stops the script there, naming its line.
    EXPECT_EQ(testkit::LastScenarioStatus(), 1);
    EXPECT_EQ(out,
              "\nModuł testowy załadowany.\n"
              "Polecenie: ptk\n\nPunkt: 1,2\nPT 1.0,2.0\n"
              "Polecenie: _PtK\n\nPunkt: ^C\nRC -5002\n"
              "Polecenie: KW\n\nOpcja [Wyrzuć/zAmień_polilinię/Tak]: a\nKW zAmień_polilinię\n"
              "Polecenie: nic\nNieznane polecenie \"nic\". Wpisz HELP.\n"
              "Skrypt zatrzymany w wierszu 7 (nic): polecenie nie zostało wykonane.\n");
    EXPECT_EQ(host::LastLink().value, host::CommandValue::True);
    EXPECT_EQ(host::LastLink().reply, RSRSLT);
}

TEST(Link, EveryRequestGetsAFreshArgumentListThatTheModuleReleases) {
    int before = TestModuleArgsReceived();
    long nodes = host::LiveResbufCount();
    std::string out = testkit::RunScenario({"ARGS a b", "args"}, WithModule());
    EXPECT_NE(out.find("ARG ARGS\nARG a\nARG b\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Polecenie: args\nARG ARGS\nPolecenie: "), std::string::npos) << out;
    EXPECT_EQ(TestModuleArgsReceived() - before, 2);
    EXPECT_EQ(host::LastLink().requests, 2);
    EXPECT_EQ(host::LiveResbufCount(), nodes);
}

TEST(Link, FailureIsPrintedOnItsOwnLineAndRecorded) {
    // A command the module reports failed ends the script with status 1.
    std::string out = testkit::RunScenario({"# próba", "FAIL", "PTK"}, WithModule());
    EXPECT_NE(out.find("Polecenie: FAIL\nPolecenie się nie udało.\nSkrypt zatrzymany w wierszu 2 "
                       "(FAIL)"),
              std::string::npos)
        << out;
    EXPECT_EQ(testkit::LastScenarioStatus(), 1);
    EXPECT_EQ(host::LastLink().failure, "Polecenie się nie udało.");
    EXPECT_EQ(host::LastLink().reply, RSERR);
}

TEST(Link, PendingPromptsAreCancelledAtTheEndAndAnEndlessAskerIsCutOff) {
    std::string out = testkit::RunScenario({"PTK"}, WithModule());
    EXPECT_EQ(testkit::LastScenarioStatus(), 0);
    EXPECT_NE(out.find("Punkt: RC -5002\n"), std::string::npos) << out;

    out = testkit::RunScenario({"NAG", "abc"}, WithModule());
    EXPECT_EQ(testkit::LastScenarioStatus(), 1);
    EXPECT_NE(out.find("Koniec danych wejściowych"), std::string::npos);
    // The session ended in order: the next one runs normally.
    out = testkit::RunScenario({"PTK", "5,5"}, WithModule());
    EXPECT_NE(out.find("PT 5.0,5.0"), std::string::npos);
    EXPECT_EQ(testkit::LastScenarioStatus(), 0);
}

TEST(Link, CallsOutsideARunAreRefused) {
    EXPECT_EQ(sds_link(RSRSLT), RTERROR);
    EXPECT_EQ(sds_getfuncode(), RTERROR);
    EXPECT_EQ(sds_getargs(), nullptr);
    EXPECT_EQ(sds_defun("PTK", 0), RTERROR);  // not a command without "c:"
    char name[512];
    EXPECT_EQ(SDS_GetGlobals(name, nullptr, nullptr), RTNORM);
    EXPECT_STREQ(name, "armavo");
}

TEST(Link, HostRunsAloneWhenTheModuleLeavesItsLoop) {
    testkit::ScenarioOptions o;
    o.entry = [] { sds_printf("bez pętli\n"); };
    std::string out = testkit::RunScenario({"HELP"}, o);
    EXPECT_NE(out.find("bez pętli\nModuł zakończył pracę.\nPolecenie: HELP\nPolecenia: "),
              std::string::npos)
        << out;
}

}  // namespace
