// Extension dictionaries, entity records and schedule rows against the real drawing host.
#include <cstdio>
#include <limits>
#include <sstream>

#include "module/entities/line_circle.h"
#include "module/entities/polyline.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/xdata.h"
#include "module/model/rod_records.h"
#include "tests/module_entities/host_fixture.h"

namespace entities_test {
namespace {

// The bar record's fields in their stored order, for one-line comparisons.
std::string Fields(const CRodXDataParameters& r) {
    std::ostringstream out;
    out << r.type << " " << r.ordinal << " " << r.diameter << " " << r.hooks << " " << r.number
        << " " << r.steel << " " << r.rounded << " " << r.flag;
    return out.str();
}

class RecordTest : public DrawingTest {
  protected:
    // A fresh polyline, or a line when `line` is set; its name in `entity`.
    void MakeEntity(sds_name entity, bool line = false) {
        if (line) {
            sds_point a = {0, 0, 0}, b = {10, 0, 0};
            ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
        } else {
            ASSERT_EQ(CSDSPolyLine().Create({CSDSPointExt(0, 0, 0), CSDSPointExt(10, 0, 0)}, false,
                                            "Zbrojenie", "CONTINUOUS", 256),
                      RTNORM);
        }
        Last(entity);
    }
    // Makes an XRECORD of the given list body and files it under the key in the entity's
    // extension dictionary.
    void FileRawRecord(const sds_name entity, resbuf* body) {
        sds_name dictionary, record;
        ASSERT_EQ(records.EnsureExtensionDictionary(entity, dictionary), RTNORM);
        resbuf* head = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", RTNONE);
        rblist::Last(head)->rbnext = body;
        ASSERT_EQ(sds_entmakex(head, record), RTNORM);
        sds_relrb(head);
        ASSERT_EQ(sds_dictadd(dictionary, kKey.c_str(), record), RTNORM);
    }
    CSDSXDataPret records;
};

TEST_F(RecordTest, ExtensionDictionaryGoesRightBeforeTheSpaceGroup) {
    sds_name bar;
    MakeEntity(bar);
    // The splice itself, on the list the host gives.
    resbuf* list = sds_entget(bar);
    sds_name dummy = {0, 0};
    resbuf* groups = sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dummy, 102, "}", RTNONE);
    ASSERT_TRUE(rblist::InsertBefore(list, 67, groups));
    std::vector<int> codes;
    for (resbuf* node = list; node != nullptr; node = node->rbnext) {
        codes.push_back(node->restype);
    }
    sds_relrb(list);
    auto space = std::find(codes.begin(), codes.end(), 67);
    ASSERT_NE(space, codes.end());
    ASSERT_GE(space - codes.begin(), 3);
    EXPECT_EQ((std::vector<int>(space - 3, space)), (std::vector<int>{102, 360, 102}));
    resbuf* noSpace = sds_buildlist(RTDXF0, "LINE", 8, "0", RTNONE);
    resbuf* more = sds_buildlist(102, "{ACAD_XDICTIONARY", 102, "}", RTNONE);
    EXPECT_FALSE(rblist::InsertBefore(noSpace, 67, more));
    sds_relrb(noSpace);
    sds_relrb(more);

    // Through the host: the entity then names its dictionary, made once.
    EXPECT_EQ(CountGroup(bar, 360), 0);
    sds_name first, second;
    EXPECT_EQ(records.EnsureExtensionDictionary(bar, first), RTNORM);
    EXPECT_EQ(records.EnsureExtensionDictionary(bar, second), RTNORM);
    EXPECT_EQ(first[0], second[0]);
    EXPECT_EQ(first[1], second[1]);
    EXPECT_EQ(CountGroup(bar, 360), 1);
    resbuf* dict = sds_entget(first);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(CSDSBaseClass::GetTypeName(dict), "DICTIONARY");
    sds_relrb(dict);
}

TEST_F(RecordTest, ResetGivesAFreshDictionaryOnlyToEntitiesThatHaveOne) {
    sds_name bar, old, fresh;
    MakeEntity(bar);
    EXPECT_EQ(records.ResetExtensionDictionary(bar, fresh), RTERROR);
    EXPECT_EQ(CountGroup(bar, 360), 0);
    ASSERT_EQ(records.EnsureExtensionDictionary(bar, old), RTNORM);
    CRodXDataParameters record;
    record.type = kBarTag;
    ASSERT_EQ(records.WriteRodRecord(old, kKey, record), RTNORM);
    // The writers only add: a second record under the same key is refused by the host.
    EXPECT_NE(records.WriteRodRecord(old, kKey, record), RTNORM);

    EXPECT_EQ(records.ResetExtensionDictionary(bar, fresh), RTNORM);
    EXPECT_FALSE(fresh[0] == old[0] && fresh[1] == old[1]);
    CRodXDataParameters back;
    records.ReadRodRecord(bar, kKey, back);
    EXPECT_EQ(back.type, "");
    record.number = 7;
    ASSERT_EQ(records.WriteRodRecord(fresh, kKey, record), RTNORM);
    records.ReadRodRecord(bar, kKey, back);
    EXPECT_EQ(back.number, 7);
}

TEST_F(RecordTest, RecordsWrittenToFreshEntitiesReadBackFieldByField) {
    sds_name bar, dictionary;
    MakeEntity(bar);
    ASSERT_EQ(records.EnsureExtensionDictionary(bar, dictionary), RTNORM);
    CRodXDataParameters rod;
    rod.type = kBarTag;
    rod.ordinal = 3;
    rod.diameter = 0.45;
    rod.hooks = 2;
    rod.number = 12;
    rod.steel = 14;
    rod.rounded = 1;
    rod.flag = 0;
    EXPECT_EQ(records.WriteRodRecord(dictionary, kKey, rod), RTNORM);
    CRodXDataParameters back;
    EXPECT_EQ(records.ReadRodRecord(bar, kKey, back), RTNORM);
    EXPECT_EQ(Fields(back), "Pręt 3 0.45 2 12 14 1 0");

    sds_name disc, discDictionary;
    MakeEntity(disc);
    ASSERT_EQ(records.EnsureExtensionDictionary(disc, discDictionary), RTNORM);
    CRodProfileXDataParameters profile;
    profile.type = "Przekrój";
    profile.diameter = 1.2;
    profile.steel = 5;
    profile.spacing = 15.5;
    profile.count = 6;
    ASSERT_EQ(records.WriteProfileRecord(discDictionary, kKey, profile), RTNORM);
    CRodProfileXDataParameters profileBack;
    EXPECT_EQ(records.ReadProfileRecord(disc, kKey, profileBack), RTNORM);
    EXPECT_EQ(profileBack.type, "Przekrój");
    EXPECT_DOUBLE_EQ(profileBack.diameter, 1.2);
    EXPECT_EQ(profileBack.steel, 5);
    EXPECT_DOUBLE_EQ(profileBack.spacing, 15.5);
    EXPECT_EQ(profileBack.count, 6);

    sds_name text, textDictionary;
    MakeEntity(text, true);
    ASSERT_EQ(records.EnsureExtensionDictionary(text, textDictionary), RTNORM);
    sds_point at = {1.5, -2.5, 0.25};
    const std::string handle = Handle(bar);
    ASSERT_EQ(records.WriteDescriptionLink(textDictionary, kKey, "OpisOdn-Nr", handle, at), RTNORM);
    CRodDescriptionLink link;
    EXPECT_EQ(records.ReadDescriptionLink(text, kKey, link), RTNORM);
    EXPECT_EQ(link.type, "OpisOdn-Nr");
    EXPECT_EQ(link.owner, handle);
    EXPECT_DOUBLE_EQ(link.point[0], 1.5);
    EXPECT_DOUBLE_EQ(link.point[1], -2.5);
    EXPECT_DOUBLE_EQ(link.point[2], 0.25);

    sds_name dimension, dimensionDictionary;
    MakeEntity(dimension, true);
    ASSERT_EQ(records.EnsureExtensionDictionary(dimension, dimensionDictionary), RTNORM);
    ASSERT_EQ(records.WriteDimensionLink(dimensionDictionary, kKey, "Wymiary", handle), RTNORM);
    std::string type, owner;
    EXPECT_EQ(records.ReadDimensionLink(dimension, kKey, type, owner), RTNORM);
    EXPECT_EQ(type, "Wymiary");
    EXPECT_EQ(owner, handle);

    // The recognising tests on the same entities.
    EXPECT_TRUE(IsBar(bar, kKey, kBarTag));
    EXPECT_FALSE(IsBar(bar, "ORV_OTHER", kBarTag));
    EXPECT_FALSE(IsBar(text, kKey, kBarTag));
    EXPECT_TRUE(IsCrossSectionDisc(disc, kKey, "Przekrój"));
    EXPECT_FALSE(IsCrossSectionDisc(bar, kKey, "Przekrój"));
    const std::vector<std::string> tags = {"Wymiary", "Opis", "OpisOdn-Nr"};
    EXPECT_TRUE(IsTextOfBar(text, kKey, handle, tags));
    EXPECT_TRUE(IsTextOfBar(dimension, kKey, handle, tags));
    EXPECT_FALSE(IsTextOfBar(text, kKey, handle, {"Opis"}));
    EXPECT_FALSE(IsTextOfBar(text, kKey, Handle(disc), tags));
    EXPECT_FALSE(IsTextOfBar(bar, kKey, handle, tags));
}

TEST_F(RecordTest, ProjectionLinesAreLinesWithAProjectionTag) {
    struct Case {
        bool line;
        const char* tag;
        bool projection;
    };
    const Case cases[] = {{true, "RzutPoziomy", true},
                          {true, "RzutPionowy", true},
                          {true, "Pręt", false},
                          {false, "RzutPoziomy", false}};
    for (const Case& c : cases) {
        sds_name entity, dictionary;
        MakeEntity(entity, c.line);
        ASSERT_EQ(records.EnsureExtensionDictionary(entity, dictionary), RTNORM);
        CRodXDataParameters record;
        record.type = c.tag;
        ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, record), RTNORM);
        EXPECT_EQ(IsProjectionLine(entity, kKey, "RzutPoziomy", "RzutPionowy"), c.projection)
            << c.tag;
    }
}

TEST_F(RecordTest, EntitiesWithoutRecordReadTheDefaults) {
    sds_name bar, empty;
    MakeEntity(bar);
    MakeEntity(empty);
    ASSERT_EQ(records.EnsureExtensionDictionary(empty, empty), RTNORM);  // dictionary, no entry
    MakeEntity(empty);
    sds_name emptyDictionary;
    ASSERT_EQ(records.EnsureExtensionDictionary(empty, emptyDictionary), RTNORM);
    for (const long* entity : {static_cast<const long*>(bar), static_cast<const long*>(empty)}) {
        CRodXDataParameters rod;
        rod.type = "stale";
        rod.number = 99;
        EXPECT_EQ(records.ReadRodRecord(entity, kKey, rod), RTNORM);
        EXPECT_EQ(Fields(rod), " -1 0 -1 -1 -1 0 1");
        CRodProfileXDataParameters profile;
        profile.count = 4;
        EXPECT_EQ(records.ReadProfileRecord(entity, kKey, profile), RTNORM);
        EXPECT_EQ(profile.count, -1);
        EXPECT_EQ(profile.type, "");
        CRodDescriptionLink link{"x", "y", {1, 2, 3}};
        EXPECT_EQ(records.ReadDescriptionLink(entity, kKey, link), RTNORM);
        EXPECT_EQ(link.type, "");
        EXPECT_EQ(link.owner, "");
        EXPECT_EQ(link.point[1], 0.0);
        EXPECT_FALSE(IsBar(entity, kKey, kBarTag));
    }
    // A fresh object differs from a read without record in `rounded` only, and is stored so.
    CRodXDataParameters fresh, back;
    EXPECT_EQ(Fields(fresh), " -1 0 -1 -1 -1 -1 1");
    sds_name dictionary;
    ASSERT_EQ(records.EnsureExtensionDictionary(bar, dictionary), RTNORM);
    ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, fresh), RTNORM);
    records.ReadRodRecord(bar, kKey, back);
    EXPECT_EQ(Fields(back), Fields(fresh));
}

TEST_F(RecordTest, WholeNumbersKeepTheirLow16Bits) {
    struct Case {
        int written;
        int read;
    };
    const Case cases[] = {{32767, 32767},
                          {-32768, -32768},
                          {32768, -32768},
                          {70000, 4464},
                          {-40000, 25536},
                          {std::numeric_limits<int>::max(), -1},
                          {std::numeric_limits<int>::min(), 0}};
    for (const Case& c : cases) {
        sds_name bar, dictionary;
        MakeEntity(bar);
        ASSERT_EQ(records.EnsureExtensionDictionary(bar, dictionary), RTNORM);
        CRodXDataParameters record;
        record.number = c.written;
        ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, record), RTNORM);
        CRodXDataParameters back;
        records.ReadRodRecord(bar, kKey, back);
        EXPECT_EQ(back.number, c.read) << c.written;
    }
}

TEST_F(RecordTest, KthAdmittedNodeFillsKthField) {
    // Foreign groups are skipped; a number in a text group and a text in a number's place
    // still fill the field in turn; fields past the last admitted node keep their value.
    sds_name bar;
    MakeEntity(bar);
    sds_point p = {1, 1, 1};
    FileRawRecord(bar, sds_buildlist(2, "foreign", 1, "Pręt", 40, 9.5, 140, 7.0, 70, 3, 10, p, 1,
                                     "14", 70, 1, RTNONE));
    CRodXDataParameters record;
    record.steel = 8;
    record.rounded = 5;
    record.flag = 6;
    EXPECT_EQ(records.ReadRodRecord(bar, kKey, record), RTNORM);
    // Ordinal from the real 140, diameter from the whole number 3, hooks from the text "14";
    // steel, rounded and flag not reached.
    EXPECT_EQ(Fields(record), "Pręt 7 3 14 1 8 5 6");

    sds_name text;
    MakeEntity(text, true);
    FileRawRecord(text, sds_buildlist(1, "Opis", 70, 4, 10, p, 1, "1A", RTNONE));
    CRodDescriptionLink link{"", "keep", {9, 9, 9}};
    records.ReadDescriptionLink(text, kKey, link);
    EXPECT_EQ(link.type, "Opis");
    EXPECT_EQ(link.owner, "keep");  // a point cannot fill a text: the field keeps its value
    EXPECT_DOUBLE_EQ(link.point[0], 9);
}

class ScheduleRowsTest : public DrawingTest {
  protected:
    static std::vector<CWykazObj> Rows(int count, int fromDrawingEvery = 0) {
        std::vector<CWykazObj> rows;
        for (int i = 0; i < count; ++i) {
            CWykazObj row;
            row.length = std::to_string(100 + i);
            row.count = std::to_string(i + 1);
            row.diameter = i % 2 ? "4.5" : "12";
            row.steel = "RB500W";
            row.remarks = "uwaga " + std::to_string(i);
            row.fromDrawing = fromDrawingEvery != 0 && i % fromDrawingEvery == 0 ? 1 : 0;
            row.lengthFlags = 2;
            row.countFlags = 3;
            row.diameterFlags = 4;
            row.steelFlags = 5;
            row.remarksFlags = i;
            rows.push_back(row);
        }
        return rows;
    }
    static bool Stored(int n) {
        sds_name named;
        EXPECT_EQ(sds_namedobjdict(named), RTNORM);
        resbuf* entry = sds_dictsearch(named, (kScheduleKey + std::to_string(n)).c_str(), 0);
        if (entry == nullptr) {
            return false;
        }
        sds_relrb(entry);
        return true;
    }
    CSDSXDataPret records;
};

TEST_F(ScheduleRowsTest, FiveRowsAfterEightLeaveExactlyEntriesZeroToFour) {
    ASSERT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(8)), RTNORM);
    for (int n = 0; n < 8; ++n) {
        EXPECT_TRUE(Stored(n)) << n;
    }
    EXPECT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(5)), RTNORM);
    for (int n = 0; n < 9; ++n) {
        EXPECT_EQ(Stored(n), n < 5) << n;
    }
    std::vector<CWykazObj> back;
    EXPECT_EQ(records.ReadScheduleRows(kScheduleKey, back), RTNORM);
    ASSERT_EQ(back.size(), 5u);
    const std::vector<CWykazObj> rows = Rows(5);
    auto text = [](const CWykazObj& r) {
        return r.length + "|" + r.count + "|" + r.diameter + "|" + r.steel + "|" + r.remarks + "|" +
               std::to_string(r.lengthFlags) + std::to_string(r.countFlags) +
               std::to_string(r.diameterFlags) + std::to_string(r.steelFlags) +
               std::to_string(r.remarksFlags) + std::to_string(r.fromDrawing);
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(text(back[i]), text(rows[i])) << i;
    }
    ASSERT_EQ(records.WriteScheduleRows(kScheduleKey, {}), RTNORM);
    EXPECT_FALSE(Stored(0));

    // Rows taken from the drawing are not read back, and reading appends.
    ASSERT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(6, 2)), RTNORM);
    back.resize(1);
    ASSERT_EQ(records.ReadScheduleRows(kScheduleKey, back), RTNORM);
    ASSERT_EQ(back.size(), 4u);  // the one there before, then rows 1, 3 and 5
    EXPECT_EQ(back[1].length, "101");
    EXPECT_EQ(back[3].length, "105");
}

}  // namespace
}  // namespace entities_test
