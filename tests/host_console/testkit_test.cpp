// The scenario kit's drawing dumps: stable text, owned objects indented under their owner.
#include <gtest/gtest.h>

#include "host/sds.h"
#include "tests/support/scenario.h"

namespace {

// Gives the entity an extension dictionary holding one record under "ORV_ARMAVO".
void AttachRecord(const sds_name entity) {
    sds_name dict = {0, 0};
    sds_name record = {0, 0};
    struct resbuf* d = sds_buildlist(RTDXF0, "DICTIONARY", RTNONE);
    ASSERT_EQ(sds_entmakex(d, dict), RTNORM);
    sds_relrb(d);
    struct resbuf* x = sds_buildlist(RTDXF0, "XRECORD", 1, "Pręt", 70, 3, RTNONE);
    ASSERT_EQ(sds_entmakex(x, record), RTNORM);
    sds_relrb(x);
    ASSERT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTNORM);
    struct resbuf* list = sds_entget(entity);
    struct resbuf* before67 = list;
    while (before67->rbnext != nullptr && before67->rbnext->restype != 67) {
        before67 = before67->rbnext;
    }
    struct resbuf* groups = sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dict, 102, "}", RTNONE);
    struct resbuf* last = groups;
    while (last->rbnext != nullptr) {
        last = last->rbnext;
    }
    last->rbnext = before67->rbnext;
    before67->rbnext = groups;
    ASSERT_EQ(sds_entmod(list), RTNORM);
    sds_relrb(list);
}

TEST(Testkit, DumpShowsEntitiesWithTheirRecordsAndIsStable) {
    testkit::RunScenario({"LINE", "0,0", "10,0", "", "CIRCLE", "50,0", "5"});
    sds_name line = {0, 0};
    ASSERT_EQ(sds_entnext(nullptr, line), RTNORM);
    AttachRecord(line);
    std::string dump = testkit::DumpDrawing();
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
    EXPECT_NE(dump.find("    (1 . \"Pręt\")\n    (70 . 3)\n"), std::string::npos) << dump;
    // Names print as the handles of what they name, so a second run prints the same text.
    testkit::RunScenario({"LINE", "0,0", "10,0", "", "CIRCLE", "50,0", "5"});
    ASSERT_EQ(sds_entnext(nullptr, line), RTNORM);
    AttachRecord(line);
    EXPECT_EQ(testkit::DumpDrawing(), dump);
    EXPECT_NE(testkit::DumpNamedObjects().find("(3 . \"ACAD_GROUP\")"), std::string::npos);
}

}  // namespace
