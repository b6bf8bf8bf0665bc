// The scenario kit's drawing dumps and LIST: stable text, owned objects indented under their
// owner.
#include <gtest/gtest.h>

#include "tests/host_drawing/drawing_test_util.h"
#include "tests/support/scenario.h"

namespace {

TEST(Testkit, DumpShowsEntitiesWithTheirRecordsAndIsStable) {
    std::string dump;
    for (int run = 0; run < 2; ++run) {
        testkit::RunScenario({"LINE", "0,0", "10,0", "", "CIRCLE", "50,0", "5"});
        sds_name line, dict, record;
        ASSERT_EQ(sds_entnext(nullptr, line), RTNORM);
        ASSERT_EQ(host_test::AttachExtensionDictionary(line, dict), RTNORM);
        ASSERT_EQ(host_test::MakeBarRecord("Pręt", 3, record), RTNORM);
        ASSERT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTNORM);
        // Names print as the handles of what they name, so a second run prints the same text.
        if (run == 1) {
            EXPECT_EQ(testkit::DumpDrawing(), dump);
            break;
        }
        dump = testkit::DumpDrawing();
    }
    // The record sits indented under the dictionary, which sits under the line.
    size_t lineAt = dump.find("(0 . \"LINE\")");
    size_t dictAt = dump.find("  (0 . \"DICTIONARY\")");
    size_t keyAt = dump.find("  (3 . \"ORV_ARMAVO\")");
    size_t recordAt = dump.find("    (0 . \"XRECORD\")");
    size_t circleAt = dump.find("\n\n(-1 . <Entity name: ");
    ASSERT_NE(lineAt, std::string::npos) << dump;
    ASSERT_NE(dictAt, std::string::npos) << dump;
    ASSERT_NE(recordAt, std::string::npos) << dump;
    EXPECT_LT(lineAt, dictAt);
    EXPECT_LT(dictAt, keyAt);
    EXPECT_LT(keyAt, recordAt);
    EXPECT_LT(recordAt, circleAt);
    EXPECT_NE(dump.find("    (1 . \"Pręt\")\n    (70 . 1)\n"), std::string::npos) << dump;
    EXPECT_NE(testkit::DumpNamedObjects().find("(3 . \"ACAD_GROUP\")"), std::string::npos);

    // LIST shows the line the same way, its record indented under it, so a user can read it.
    testkit::ScenarioOptions keep;
    keep.newDrawing = false;
    const std::string listed = testkit::RunScenario({"LIST", "5,0"}, keep);
    EXPECT_NE(listed.find("Wybierz obiekt: 5,0\n" + dump.substr(0, dump.find("\n\n") + 1) +
                          "Polecenie: "),
              std::string::npos)
        << listed;
}

}  // namespace
