// sds_ssgetrecordkind and sds_recordfieldvalues: entities by the kind and whole-number fields
// of their records (type, entry in any case, kind, place), following edits and erasures;
// sds_dictfreekey's first free numbered key.
#include <array>
#include <string>
#include <vector>

#include "drawing_test_util.h"

namespace host_test {
namespace {

class RecordKinds : public DrawingTest {};

// The ordinals (1-based, in order of making) of the set's members, or "refused".
std::string Members(const std::vector<std::array<long, 2>>& made, int rc, sds_name set) {
    if (rc != RTNORM)
        return set[0] == 0 && set[1] == 0 ? "refused" : "refused, name left";
    std::string text;
    long length = 0;
    sds_sslength(set, &length);
    for (long i = 0; i < length; ++i) {
        sds_name member;
        sds_ssname(set, i, member);
        for (size_t k = 0; k < made.size(); ++k) {
            if (made[k][0] == member[0])
                text += (text.empty() ? "" : " ") + std::to_string(k + 1);
        }
    }
    sds_ssfree(set);
    return text;
}

std::string Values(const char* type, const char* kind, int code, int place) {
    resbuf* values = nullptr;
    if (sds_recordfieldvalues(type, "ORV_ARMAVO", kind, code, place, &values) != RTNORM)
        return "refused";
    std::string text;
    for (const resbuf* node = values; node != nullptr; node = node->rbnext)
        text += (text.empty() ? "" : " ") + std::to_string(node->resval.rint);
    sds_relrb(values);
    return text;
}

// An entity made last, marked with a bar-layout record of `kind` and `number` under `key`.
std::array<long, 2> Mark(const char* key, const char* kind, int number) {
    sds_name entity, dictionary, record;
    sds_entlast(entity);
    EXPECT_EQ(AttachExtensionDictionary(entity, dictionary), RTNORM);
    EXPECT_EQ(MakeBarRecord(kind, number, record), RTNORM);
    EXPECT_EQ(sds_dictadd(dictionary, key, record), RTNORM);
    return {entity[0], entity[1]};
}

TEST_F(RecordKinds, FindsByTypeEntryKindAndNumberThroughEdits) {
    const double shape[2][2] = {{0, 0}, {100, 0}};
    std::vector<std::array<long, 2>> made;
    for (int number : {3, 1, 3, 7}) {
        ASSERT_EQ(MakePolyline(shape, 2), RTNORM);
        made.push_back(Mark("ORV_ARMAVO", "Pręt", number));
    }
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    made.push_back(Mark("ORV_ARMAVO", "Pręt", 9));  // 5: a line, not a polyline
    ASSERT_EQ(MakePolyline(shape, 2), RTNORM);
    made.push_back(Mark("orv_armavo", "RzutPoziomy", 3));  // 6: another kind, key in lower case
    ASSERT_EQ(MakePolyline(shape, 2), RTNORM);
    made.push_back(Mark("INNY", "Pręt", 3));  // 7: another entry

    auto find = [&](const char* type, const char* entry, const char* kind, int number) {
        resbuf field;
        field.rbnext = nullptr;
        field.restype = 70;
        field.resval.rint = static_cast<short>(number);
        sds_name set = {7, 7};
        const int rc =
            sds_ssgetrecordkind(type, entry, kind, number > 0 ? &field : nullptr, 2, set);
        return Members(made, rc, set);
    };
    const struct {
        const char* type;
        const char* entry;
        const char* kind;
        int number;  // 0: any
        const char* expected;
    } lookups[] = {
        // clang-format off
        {"LWPOLYLINE", "ORV_ARMAVO", "Pręt", 0, "1 2 3 4"},
        {nullptr, "ORV_ARMAVO", "Pręt", 0, "1 2 3 4 5"},
        {"LWPOLYLINE", "ORV_ARMAVO", "Pręt", 3, "1 3"},
        {nullptr, "ORV_ARMAVO", "Pręt", 9, "5"},
        {"LWPOLYLINE", "ORV_ARMAVO", "Pręt", 9, "refused"},
        {"LWPOLYLINE", "Orv_Armavo", "RzutPoziomy", 3, "6"},
        {"LWPOLYLINE", "INNY", "Pręt", 0, "7"},
        {"LWPOLYLINE", "ORV_ARMAVO", "Pret", 0, "refused"},
        {"LWPOLYLINE", nullptr, "Pręt", 0, "refused"},
        // clang-format on
    };
    for (const auto& c : lookups) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.number));
        EXPECT_EQ(find(c.type, c.entry, c.kind, c.number), c.expected);
    }
    // The first whole number is the ordinal (1 on every record), the second the hooks.
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 70, 2), "1 3 7");
    EXPECT_EQ(Values(nullptr, "Pręt", 70, 2), "1 3 7 9");
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 70, 0), "1");
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 70, 7), "");
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 140, 0), "refused");

    // Bar 4's number rewritten to 2, bar 2 erased, then brought back.
    sds_name bar = {made[3][0], made[3][1]};
    resbuf* list = sds_entget(bar);
    resbuf* record = sds_dictsearch(FindGroup(list, 360)->resval.rlname, "ORV_ARMAVO", 0);
    sds_relrb(list);
    int shorts = 0;
    for (resbuf* node = record; node != nullptr; node = node->rbnext) {
        if (node->restype == 70 && shorts++ == 2)
            node->resval.rint = 2;
    }
    ASSERT_EQ(sds_entmod(record), RTNORM);
    sds_relrb(record);
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 70, 2), "1 2 3");
    EXPECT_EQ(find("LWPOLYLINE", "ORV_ARMAVO", "Pręt", 2), "4");
    sds_name second = {made[1][0], made[1][1]};
    ASSERT_EQ(sds_entdel(second), RTNORM);
    EXPECT_EQ(Values("LWPOLYLINE", "Pręt", 70, 2), "2 3");
    EXPECT_EQ(find("LWPOLYLINE", "ORV_ARMAVO", "Pręt", 0), "1 3 4");
    ASSERT_EQ(sds_entdel(second), RTNORM);
    EXPECT_EQ(find("LWPOLYLINE", "ORV_ARMAVO", "Pręt", 1), "2");
}

TEST_F(RecordKinds, FirstFreeNumberedKeyOfADictionary) {
    // A small dictionary is read whole; a large one (500 more keys) through its key index.
    for (int filler : {0, 500}) {
        SCOPED_TRACE(filler);
        sds_name dictionary, record;
        ASSERT_EQ(MakeDictionary(dictionary), RTNORM);
        for (int i = 0; i < filler; ++i) {
            ASSERT_EQ(MakeBarRecord("Pręt", 1, record), RTNORM);
            ASSERT_EQ(sds_dictadd(dictionary, ("F" + std::to_string(i)).c_str(), record), RTNORM);
        }
        auto freeKey = [&](const char* prefix, int size) {
            char key[32] = "untouched";
            return sds_dictfreekey(dictionary, prefix, key, size) == RTNORM ? std::string(key)
                                                                            : "refused";
        };
        EXPECT_EQ(freeKey("*A", 32), "*A0");
        // Taken: 0, 1 (in lower case) and 3; "*A02" and "*AB" are not numbered keys.
        for (const char* key : {"*A0", "*a1", "*A3", "*A02", "*AB", "*U2"}) {
            ASSERT_EQ(MakeBarRecord("Pręt", 1, record), RTNORM);
            ASSERT_EQ(sds_dictadd(dictionary, key, record), RTNORM) << key;
        }
        const struct {
            const char* prefix;
            int size;
            const char* expected;
        } cases[] = {
            {"*A", 32, "*A2"}, {"*a", 32, "*a2"},    {"*U", 32, "*U0"},        {"", 32, "0"},
            {"*A", 4, "*A2"},  {"*A", 3, "refused"}, {nullptr, 32, "refused"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.prefix != nullptr ? c.prefix : "null");
            EXPECT_EQ(freeKey(c.prefix, c.size), c.expected);
        }
        ASSERT_EQ(MakeBarRecord("Pręt", 1, record), RTNORM);
        ASSERT_EQ(sds_dictadd(dictionary, "*A2", record), RTNORM);
        EXPECT_EQ(freeKey("*A", 32), "*A4");
        ASSERT_EQ(sds_dictdel(dictionary, "*a1"), RTNORM);
        EXPECT_EQ(freeKey("*A", 32), "*A1");
        EXPECT_EQ(sds_dictadd(dictionary, "f7", record), filler > 0 ? RTERROR : RTNORM);
        char key[8];
        EXPECT_EQ(sds_dictfreekey(record, "*A", key, 8), RTERROR);  // not a dictionary
        host::CurrentDrawing().CheckInvariants();
    }
}

}  // namespace
}  // namespace host_test
