// Dictionaries, records, groups and selection sets.
#include "drawing_test_util.h"
#include "host/drawing/drawing_access.h"

namespace host_test {
namespace {

class Dictionaries : public DrawingTest {};

TEST_F(Dictionaries, RecordUnderExtensionDictionaryReadsBackInOrder) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    sds_name line, dict, record;
    sds_entlast(line);
    ASSERT_EQ(AttachExtensionDictionary(line, dict), RTNORM);
    ASSERT_EQ(MakeBarRecord("Pręt", 4, record), RTNORM);
    ASSERT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTNORM);
    EXPECT_EQ(sds_dictadd(dict, "ORV_ARMAVO", record), RTERROR) << "the key exists";
    resbuf* entry = sds_dictsearch(dict, "ORV_ARMAVO", 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ListText(FindGroup(entry, 100)),
              "(100 AcDbXrecord)(1 Pręt)(70 1)(140 1.2)(70 0)(70 4)(70 7)(70 1)(70 0)");
    EXPECT_EQ(FindGroup(entry, 330)->resval.rlname[0], dict[0]) << "owned by its dictionary";
    sds_relrb(entry);
    EXPECT_EQ(sds_dictsearch(dict, "OTHER", 0), nullptr);
    EXPECT_EQ(sds_dictdel(dict, "ORV_ARMAVO"), RTNORM);
    EXPECT_EQ(sds_dictsearch(dict, "ORV_ARMAVO", 1), nullptr);
    EXPECT_EQ(sds_dictdel(dict, "ORV_ARMAVO"), RTERROR);
}

// A group listed in ACAD_GROUP as the module lists it (module_entities GroupTest reads such
// groups back); a key used twice in a dictionary list is refused and changes nothing.
TEST_F(Dictionaries, GroupListedInAcadGroupAndKeysAreUnique) {
    ASSERT_EQ(MakeCircle(0, 0, 1), RTNORM);
    sds_name member, group, named;
    sds_entlast(member);
    ASSERT_EQ(MakeGroup("*A0", "", {member}, group), RTNORM) << host::LastError();
    sds_namedobjdict(named);
    resbuf* dictList = sds_dictsearch(named, "ACAD_GROUP", 0);
    ASSERT_NE(dictList, nullptr);
    resbuf* read = sds_dictsearch(dictList->resval.rlname, "*A0", 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(ListText(FindGroup(read, 100)), "(100 AcDbGroup)(300 )(70 1)(71 1)(340 <name>)");
    EXPECT_EQ(FindGroup(read, 340)->resval.rlname[0], member[0]);
    sds_relrb(read);
    resbuf* tail = dictList;
    while (tail->rbnext)
        tail = tail->rbnext;
    tail->rbnext = sds_buildlist(3, "*a0", 350, group, RTNONE);
    const std::string before = Dump();
    EXPECT_EQ(sds_entmod(dictList), RTERROR);
    EXPECT_EQ(Dump(), before);
    sds_relrb(dictList);
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
