// sds_ssgetrecordref: an entity and the entities whose records name it, by exact text, only
// through records filed directly in an entity's extension dictionary, following every edit.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "drawing_test_util.h"

namespace host_test {
namespace {

class RecordRefs : public DrawingTest {};

std::string HandleOf(const sds_name entity) {
    resbuf* list = sds_entget(entity);
    const resbuf* handle = FindGroup(list, 5);
    std::string text = handle ? handle->resval.rstring : "";
    sds_relrb(list);
    return text;
}

// Handles of the set's members in order; "refused" when the call refused with an empty name.
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

// Files an XRECORD with text groups 1 under `key` in a dictionary.
void File(const sds_name dictionary, const char* key, const char* first, const char* second,
          sds_name record) {
    resbuf* list =
        sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", 1, first, 1, second, RTNONE);
    ASSERT_EQ(sds_entmakex(list, record), RTNORM);
    sds_relrb(list);
    ASSERT_EQ(sds_dictadd(dictionary, key, record), RTNORM);
}

TEST_F(RecordRefs, FollowsRecordsByExactTextThroughEdits) {
    sds_name line, text, circle, dict, nested, inner, record, other;
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
    File(dict, "K", "Opis", l.c_str(), record);
    // A record one dictionary further down does not count.
    ASSERT_EQ(MakeCircle(0, 9, 1), RTNORM);
    sds_entlast(circle);
    ASSERT_EQ(AttachExtensionDictionary(circle, nested), RTNORM);
    ASSERT_EQ(MakeDictionary(inner), RTNORM);
    ASSERT_EQ(sds_dictadd(nested, "D", inner), RTNORM);
    File(inner, "K", "Opis", l.c_str(), other);
    std::string lower = l;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    const struct {
        const char* value;
        std::string expected;
    } lookups[] = {
        {l.c_str(), l + " " + t},  // the entity named, then what refers to it
        {t.c_str(), t},            // nothing refers to the text: itself only
        {lower.c_str(), "refused"},
        {"Opis", "refused"},  // not a handle-like text
        {"", "refused"},
        {"12345678901234567", "refused"},
        {nullptr, "refused"},
    };
    for (const auto& c : lookups) {
        SCOPED_TRACE(c.value ? c.value : "null");
        EXPECT_EQ(Found(c.value), c.expected);
    }

    // The record rewritten to name another value; then the entry removed; the text erased.
    resbuf* changed = sds_entget(record);
    for (resbuf* node = changed; node != nullptr; node = node->rbnext) {
        if (node->restype == 1 && std::string(node->resval.rstring) == l) {
            free(node->resval.rstring);
            node->resval.rstring = strdup("FF0");
        }
    }
    ASSERT_EQ(sds_entmod(changed), RTNORM);
    sds_relrb(changed);
    EXPECT_EQ(Found(l.c_str()), l);
    EXPECT_EQ(Found("FF0"), t);
    ASSERT_EQ(sds_entdel(text), RTNORM);
    EXPECT_EQ(Found("FF0"), "refused");
    ASSERT_EQ(sds_entdel(text), RTNORM);
    EXPECT_EQ(Found("FF0"), t);
    ASSERT_EQ(sds_dictdel(dict, "K"), RTNORM);
    EXPECT_EQ(Found("FF0"), "refused");
}

}  // namespace
}  // namespace host_test
