// sds_ssgetrecordref: an entity and the entities whose records name it, by exact text, only
// through records filed directly in an entity's extension dictionary. How the answers follow
// copies, edits and erasures is compared with a plain reading of every record in
// tests/rods_dims (WprTest.RecordIndexAnswersAsReadingEveryEntity).
#include <cctype>

#include "drawing_test_util.h"

namespace host_test {
namespace {

class RecordRefs : public DrawingTest {};

std::string HandleOf(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    std::string text = FindGroup(list, 5)->resval.rstring;
    sds_relrb(list);
    return text;
}

// Handles of the set's members in order, or "refused" (with the name emptied).
std::string Found(const char* value) {
    sds_name set = {7, 7};
    if (sds_ssgetrecordref(value, set) != RTNORM)
        return set[0] == 0 && set[1] == 0 ? "refused" : "refused, name left";
    std::string handles;
    long length = 0;
    sds_sslength(set, &length);
    for (long i = 0; i < length; ++i) {
        sds_name member;
        sds_ssname(set, i, member);
        handles += (handles.empty() ? "" : " ") + HandleOf(member);
    }
    sds_ssfree(set);
    return handles;
}

// Files an XRECORD naming `value` in a dictionary.
void File(const sds_name dictionary, const std::string& value) {
    sds_name record;
    resbuf* list = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, "Opis", 1,
                                 value.c_str(), RTNONE);
    ASSERT_EQ(sds_entmakex(list, record), RTNORM);
    sds_relrb(list);
    ASSERT_EQ(sds_dictadd(dictionary, "K", record), RTNORM);
}

TEST_F(RecordRefs, FindsRecordsByExactTextInExtensionDictionariesOnly) {
    sds_name line, text, circle, dict, nested, inner;
    // A line whose handle has a letter, so that its lower-case spelling differs.
    std::string l;
    for (int i = 0; i < 16 && l.find_first_of("ABCDEF") == std::string::npos; ++i) {
        ASSERT_EQ(MakeLine(0, 0, 10, 0), RTNORM);
        sds_entlast(line);
        l = HandleOf(line);
    }
    ASSERT_EQ(MakeText("a", 0, 5, 2), RTNORM);
    sds_entlast(text);
    const std::string t = HandleOf(text);
    ASSERT_EQ(AttachExtensionDictionary(text, dict), RTNORM);
    File(dict, l);
    // A record one dictionary further down does not count.
    ASSERT_EQ(MakeCircle(0, 9, 1), RTNORM);
    sds_entlast(circle);
    ASSERT_EQ(AttachExtensionDictionary(circle, nested), RTNORM);
    ASSERT_EQ(MakeDictionary(inner), RTNORM);
    ASSERT_EQ(sds_dictadd(nested, "D", inner), RTNORM);
    File(inner, l);
    std::string lower = l;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const struct {
        const char* value;
        std::string expected;
    } lookups[] = {
        {l.c_str(), l + " " + t},  // the entity named, then what refers to it
        {t.c_str(), t},            // nothing refers to the text: itself only
        {lower.c_str(), "refused"}, {"Opis", "refused"}, {"", "refused"},
        {"12345678901234567", "refused"}, {nullptr, "refused"},
    };
    for (const auto& c : lookups)
        EXPECT_EQ(Found(c.value), c.expected) << (c.value ? c.value : "null");
    ASSERT_EQ(sds_entdel(text), RTNORM);
    EXPECT_EQ(Found(l.c_str()), l);
}

}  // namespace
}  // namespace host_test
