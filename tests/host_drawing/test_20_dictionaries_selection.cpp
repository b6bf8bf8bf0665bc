// Dictionary keys and selection sets.
#include "drawing_test_util.h"
#include "host/drawing/drawing_access.h"

namespace host_test {
namespace {

class Dictionaries : public DrawingTest {};

// A key is used once in a dictionary: a second add, a second delete or a list naming it twice
// (in another case) is refused and changes nothing.
TEST_F(Dictionaries, KeysAreUnique) {
    sds_name dict, record;
    ASSERT_EQ(MakeDictionary(dict), RTNORM);
    ASSERT_EQ(MakeBarRecord("Pręt", 4, record), RTNORM);
    ASSERT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTNORM);
    EXPECT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTERROR);
    resbuf* list = sds_entget(dict);
    resbuf* tail = list;
    while (tail->rbnext)
        tail = tail->rbnext;
    tail->rbnext = sds_buildlist(3, "orv_armavo", 350, record, RTNONE);
    const std::string before = Dump();
    EXPECT_EQ(sds_entmod(list), RTERROR);
    EXPECT_EQ(Dump(), before);
    sds_relrb(list);
    EXPECT_EQ(sds_dictdel(dict, "ORV_ARMAVO"), RTNORM);
    EXPECT_EQ(sds_dictdel(dict, "ORV_ARMAVO"), RTERROR);
}

class Selection : public DrawingTest {};

TEST_F(Selection, AllInCreationOrderWithFilters) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1, "A"), RTNORM);
    ASSERT_EQ(MakeCircle(0, 0, 1, "B"), RTNORM);
    ASSERT_EQ(MakeLine(0, 0, 2, 2, "B"), RTNORM);
    sds_name third;
    sds_entlast(third);
    ASSERT_EQ(MakeText("t", 0, 0, 1), RTNORM);
    sds_name second;
    sds_entnext(nullptr, second);
    sds_entnext(second, second);
    ASSERT_EQ(sds_entdel(second), RTNORM);  // deleted entities are not selected

    struct Case {
        resbuf* filter;
        std::vector<std::string> types;
    } cases[] = {
        {nullptr, {"LINE", "LINE", "TEXT"}},
        {sds_buildlist(RTDXF0, "LINE", RTNONE), {"LINE", "LINE"}},
        {sds_buildlist(8, "b", RTNONE), {"LINE"}},
        {sds_buildlist(RTDXF0, "TEXT,LINE", 8, "A", RTNONE), {"LINE"}},
    };
    for (Case& c : cases) {
        sds_name set;
        ASSERT_EQ(sds_ssget("X", nullptr, nullptr, c.filter, set), RTNORM);
        long length = 0;
        ASSERT_EQ(sds_sslength(set, &length), RTNORM);
        ASSERT_EQ(length, static_cast<long>(c.types.size()));
        for (long i = 0; i < length; ++i) {
            sds_name entity;
            ASSERT_EQ(sds_ssname(set, i, entity), RTNORM);
            resbuf* list = sds_entget(entity);
            EXPECT_EQ(FindGroup(list, 0)->resval.rstring, c.types[static_cast<size_t>(i)]);
            sds_relrb(list);
        }
        sds_name out;
        EXPECT_EQ(sds_ssname(set, length, out), RTERROR);
        EXPECT_EQ(sds_ssfree(set), RTNORM);
        EXPECT_EQ(sds_sslength(set, &length), RTERROR) << "freed";
        sds_relrb(c.filter);
    }
    sds_name set;
    resbuf* none = sds_buildlist(RTDXF0, "HATCH", RTNONE);
    EXPECT_EQ(sds_ssget("X", nullptr, nullptr, none, set), RTERROR);
    sds_relrb(none);
    resbuf* unsupported = sds_buildlist(62, 1, RTNONE);
    EXPECT_EQ(sds_ssget("X", nullptr, nullptr, unsupported, set), RTERROR);
    sds_relrb(unsupported);
    EXPECT_EQ(sds_ssget("W", nullptr, nullptr, nullptr, set), RTERROR);
    EXPECT_EQ(sds_ssgetrecordref(nullptr, set), RTERROR);
}

TEST_F(Selection, AddDeleteMemberAndPickFirst) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    sds_name a, b, set;
    sds_entlast(a);
    ASSERT_EQ(MakeCircle(0, 0, 1), RTNORM);
    sds_entlast(b);
    ASSERT_EQ(sds_ssadd(nullptr, nullptr, set), RTNORM);
    long length = -1;
    sds_sslength(set, &length);
    EXPECT_EQ(length, 0);
    ASSERT_EQ(sds_ssadd(a, set, set), RTNORM);
    ASSERT_EQ(sds_ssadd(b, set, set), RTNORM);
    ASSERT_EQ(sds_ssadd(a, set, set), RTNORM);  // no duplicates
    sds_sslength(set, &length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(sds_ssmemb(a, set), RTNORM);
    EXPECT_EQ(sds_ssdel(a, set), RTNORM);
    EXPECT_EQ(sds_ssmemb(a, set), RTERROR);
    EXPECT_EQ(sds_ssdel(a, set), RTERROR);
    sds_name single;
    ASSERT_EQ(sds_ssadd(a, nullptr, single), RTNORM);
    sds_sslength(single, &length);
    EXPECT_EQ(length, 1);

    resbuf *grips = reinterpret_cast<resbuf*>(1), *picks = reinterpret_cast<resbuf*>(1);
    ASSERT_EQ(sds_ssgetfirst(&grips, &picks), RTNORM);
    EXPECT_EQ(grips, nullptr);
    EXPECT_EQ(picks, nullptr);
    ASSERT_EQ(sds_sssetfirst(nullptr, single), RTNORM);
    ASSERT_EQ(sds_ssgetfirst(&grips, &picks), RTNORM);
    EXPECT_EQ(grips, nullptr);
    ASSERT_NE(picks, nullptr);
    EXPECT_EQ(picks->restype, RTPICKS);
    sds_name first;
    ASSERT_EQ(sds_ssname(picks->resval.rlname, 0, first), RTNORM);
    EXPECT_EQ(first[0], a[0]);
    sds_ssfree(picks->resval.rlname);
    sds_relrb(picks);
    EXPECT_EQ(sds_sssetfirst(nullptr, nullptr), RTNORM);
    ASSERT_EQ(sds_ssgetfirst(nullptr, &picks), RTNORM);
    EXPECT_EQ(picks, nullptr);
}

}  // namespace
}  // namespace host_test
