// Entity wrappers, extension dictionaries, records and schedule rows against the real drawing
// host. Every test starts a fresh drawing and must end with as many live result buffers as it
// began, so that every wrapper call is also checked for leaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "host/drawing/drawing_access.h"
#include "host/sds.h"
#include "module/entities/hatch.h"
#include "module/entities/layer_group.h"
#include "module/entities/line_circle.h"
#include "module/entities/polyline.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/text.h"
#include "module/entities/xdata.h"
#include "module/model/rod_records.h"
#include "tests/host_drawing/drawing_test_util.h"

namespace {

// Record key and tags as the string table gives them.
const std::string kKey = "ORV_ARMAVO";
const std::string kScheduleKey = "GLOBAL_ORV_ARMAVO";
const std::string kBarTag = "Pręt";

// The entity's groups as "code=value" texts, from the first group `from` on (all when 0),
// subclass markers left out.
std::vector<std::string> Groups(const sds_name entity, int from = 0) {
    std::vector<std::string> out;
    resbuf* list = sds_entget(entity);
    bool started = from == 0;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        const int code = node->restype;
        started = started || code == from;
        if (!started || code == 100 || code == from) {
            continue;
        }
        char value[96];
        if ((code >= 0 && code <= 9) || (code >= 300 && code <= 309)) {
            std::snprintf(value, sizeof value, "%s", node->resval.rstring);
        } else if ((code >= 10 && code <= 17) || code == 210) {
            std::snprintf(value, sizeof value, "%g,%g,%g", node->resval.rpoint[0],
                          node->resval.rpoint[1], node->resval.rpoint[2]);
        } else if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179)) {
            std::snprintf(value, sizeof value, "%d", node->resval.rint);
        } else if (code >= 90 && code <= 99) {
            std::snprintf(value, sizeof value, "%ld", static_cast<long>(node->resval.rlong));
        } else {
            std::snprintf(value, sizeof value, "%g", node->resval.rreal);
        }
        out.push_back(std::to_string(code) + "=" + value);
    }
    sds_relrb(list);
    return out;
}

long CountGroup(const sds_name entity, int code) {
    const auto groups = Groups(entity);
    return std::count_if(groups.begin(), groups.end(), [&](const std::string& group) {
        return group.starts_with(std::to_string(code) + "=");
    });
}

std::vector<double> Xyz(const double* point) {
    return {point[0], point[1], point[2]};
}

bool Same(const sds_name a, const sds_name b) {
    return a[0] == b[0] && a[1] == b[1];
}

// Values in a row, for one-line comparisons of a record's fields.
template <typename... Field>
std::string Fields(const Field&... fields) {
    std::ostringstream out;
    ((out << fields << " "), ...);
    return out.str();
}
std::string Fields(const CRodXDataParameters& r) {
    return Fields(r.type, r.ordinal, r.diameter, r.hooks, r.number, r.steel, r.rounded, r.flag);
}

// A fresh drawing per test, every list given back by its end (the drawing-core tests' fixture).
class DrawingTest : public host_test::DrawingTest {
  protected:
    // A fresh line, or a polyline with `polyline`, on layer "0"; its name in `entity`.
    static void MakeLine(sds_name entity, bool polyline = false) {
        sds_point a = {0, 0, 0}, b = {10, 0, 0};
        ASSERT_EQ(polyline ? CSDSPolyLine().Create({CSDSPointExt(a), CSDSPointExt(b)}, false, "0",
                                                   "CONTINUOUS", 256)
                           : CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0),
                  RTNORM);
        ASSERT_EQ(sds_entlast(entity), RTNORM);
    }
};

class CreateTest : public DrawingTest {};

// Every wrapper's create list is accepted and reads back group by group after the layer, each
// code in its place and every literal value as the drawing format wants it.
TEST_F(CreateTest, EveryCreateListIsAcceptedAndReadsBackAsMade) {
    sds_point a = {1, 2, 0}, b = {7, 4, 0}, centre = {2, 3, 0};
    const struct {
        const char* layer;
        std::function<int()> create;
        std::vector<std::string> groups;
    } cases[] = {
        // clang-format off
        {"Zbrojenie", [&] {return CSDSLine().Create(a, b, "Zbrojenie", "CONTINUOUS", 256, 1.5);},
         {"6=CONTINUOUS", "62=256", "48=1.5", "10=1,2,0", "11=7,4,0"}},
        {"0", [&] {return CSDSCircle().Create(a, 2.5, "0", "CONTINUOUS", 3, 1.0);},
         {"6=CONTINUOUS", "62=3", "48=1", "10=1,2,0", "40=2.5"}},
        {"Opisy prętów",
         [&] {return CSDSText().Create("12 co 15 L= 250", a, 5, 0.5, "STANDARD", 0, 2, a, 3, "Opisy prętów", 256);},
         {"62=256", "10=1,2,0", "40=5", "1=12 co 15 L= 250", "50=0.5", "7=STANDARD", "71=0", "72=2", "11=1,2,0", "73=3"}},
        {"Zbrojenie",
         [&] {return CSDSPolyLine().Create({CSDSPointExt(0, 0, 0), CSDSPointExt(10, 0, 0)}, true, "Zbrojenie", "CONTINUOUS", 256);},
         {"6=CONTINUOUS", "62=256", "90=2", "70=1", "43=0", "38=0", "39=0", "10=0,0,0", "40=0", "41=0", "42=0", "10=10,0,0", "40=0", "41=0", "42=0", "210=0,0,1"}},
        {"Opisy prętów", [&] {return CSDSCircleHatch().Create(centre, 0.5, "Opisy prętów", 256);},
         {"62=256", "10=1.5,3,0", "2=SOLID", "70=1", "71=0", "91=1", "92=7", "72=1", "73=1", "93=2", "10=2.5,3,0", "42=1", "10=1.5,3,0", "42=1", "97=0", "75=0", "76=1", "47=0", "98=1", "10=1.5,3,0"}},
        // clang-format on
    };
    sds_name made;
    for (const auto& c : cases) {
        ASSERT_EQ(c.create(), RTNORM) << host::LastError();
        ASSERT_EQ(sds_entlast(made), RTNORM);
        EXPECT_EQ(CSDSBaseClass::GetLayer(made), c.layer);
        EXPECT_EQ(Groups(made, 8), c.groups);
    }
    // The disc, made last, gives back its centre from its boundary.
    sds_point read = {9, 9, 9};
    EXPECT_EQ(CSDSCircleHatch::GetCenter(made, read), RTNORM);
    EXPECT_EQ(Xyz(read), Xyz(centre));
}

// A second layer of a taken name is refused; a second style of a taken name is accepted.
TEST_F(CreateTest, LayerAndStyleAreMadeOnce) {
    CSDSLayer layer;
    EXPECT_EQ(layer.Create("Zbrojenie główne", 1), RTNORM);
    EXPECT_EQ(layer.Create("Zbrojenie główne", 5), RTERROR);
    EXPECT_EQ(layer.status, RTERROR);
    CSDSTextStyle style;
    EXPECT_FALSE(CSDSTextStyle::Exists("ORV_SYMBOLE"));
    EXPECT_EQ(style.Create("ORV_SYMBOLE", 0.0, 1.0, 0.0, 0, 0.2, "ORV-symbole.shx", ""), RTNORM);
    EXPECT_TRUE(CSDSTextStyle::Exists("ORV_SYMBOLE"));
    EXPECT_EQ(style.Create("ORV_SYMBOLE", 0.0, 2.0, 0.0, 0, 0.2, "other.shx", ""), RTNORM);
    EXPECT_FALSE(CSDSTextStyle::Exists("orv_symbole_x"));
}

// A negative radius, a one-vertex polyline and a hatch with no vertices are refused with the
// host's code, and nothing is made.
TEST_F(CreateTest, RefusedCreateReportsTheHostsCode) {
    sds_point a = {0, 0, 0};
    CSDSCircle circle;
    EXPECT_LT(circle.Create(a, -1.0, "0", "CONTINUOUS", 256, 1.0), 0);
    EXPECT_EQ(circle.status, RTERROR);
    EXPECT_LT(CSDSPolyLine().Create({CSDSPointExt(0, 0, 0)}, false, "0", "CONTINUOUS", 256), 0);
    EXPECT_EQ(CSDSPolyLineHatch().Create({}, "0", 256, 0, 1), RTERROR);
    sds_name last;
    EXPECT_NE(sds_entlast(last), RTNORM);
}

// The readers on a live line, on objects without the group (a dictionary, a line made without
// colour), on another kind and on an erased entity, which read as nothing.
TEST_F(CreateTest, CommonReaders) {
    sds_name line, read = {0, 0}, byHandle = {0, 0}, dictionary, uncoloured;
    MakeLine(line);
    EXPECT_EQ(CSDSBaseClass::GetLayer(line), "0");
    EXPECT_EQ(CSDSBaseClass::GetColor(line), 256);
    resbuf* list = sds_entget(line);
    EXPECT_EQ(CSDSBaseClass::GetTypeName(list), "LINE");
    EXPECT_EQ(sds_handent(CSDSBaseClass::GetHandle(list).c_str(), byHandle), RTNORM);
    EXPECT_TRUE(Same(byHandle, line));
    char small[3];  // smaller than the name: takes what fits, ended
    CSDSBaseClass::GetTypeName(list, small, sizeof small);
    EXPECT_STREQ(small, "LI");
    EXPECT_EQ(CSDSBaseClass::GetEntityName(list, read), RTNORM);
    EXPECT_TRUE(Same(read, line));
    // Skipping the -1 node leaves a list without an entity name.
    EXPECT_EQ(CSDSBaseClass::GetEntityName(list->rbnext, read), RTERROR);
    sds_relrb(list);
    EXPECT_EQ(CSDSBaseClass::GetHandle(nullptr), "");
    char buffer[8] = "xxxxxxx";
    CSDSBaseClass::GetTypeName(nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");

    ASSERT_EQ(CSDSXData().CreateDictionary(dictionary), RTNORM);
    EXPECT_EQ(CSDSBaseClass::GetColor(dictionary), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(dictionary), "");
    sds_point a = {0, 0, 0}, b = {1, 0, 0}, p = {5, 5, 5};
    resbuf* plain = sds_buildlist(RTDXF0, "LINE", 8, "Zbrojenie", 10, a, 11, b, RTNONE);
    ASSERT_EQ(sds_entmake(plain), RTNORM);
    sds_relrb(plain);
    ASSERT_EQ(sds_entlast(uncoloured), RTNORM);
    EXPECT_EQ(CSDSBaseClass::GetColor(uncoloured), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(uncoloured), "Zbrojenie");
    EXPECT_EQ(CSDSCircleHatch::GetCenter(uncoloured, p), RTERROR);
    EXPECT_EQ(Xyz(p), (std::vector<double>{0, 0, 0}));

    ASSERT_EQ(sds_entdel(line), RTNORM);
    EXPECT_EQ(CSDSBaseClass::GetColor(line), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(line), "");
    p[0] = 5;
    EXPECT_EQ(CSDSCircle::GetCenter(line, p), RTERROR);
    EXPECT_EQ(p[0], 5);
    EXPECT_EQ(CSDSText::GetHeight(line), -1.0);
    EXPECT_EQ(CSDSText::GetString(line), "");
}

// Copies of a wrapper take no list, so that no list is released twice.
TEST_F(CreateTest, CopiesOfWrappersNeverShareAList) {
    CSDSText original;
    original.status = RTNORM;
    original.list = sds_buildlist(1, "a", RTNONE);
    original.textList = sds_buildlist(1, "b", RTNONE);
    CSDSText copy(original);
    EXPECT_EQ(copy.status, RTNORM);
    EXPECT_EQ(copy.list, nullptr);
    EXPECT_EQ(copy.textList, nullptr);
    CSDSText assigned;
    assigned.list = sds_buildlist(1, "c", RTNONE);
    assigned = original;  // releases its own list, takes none
    EXPECT_EQ(assigned.list, nullptr);
    EXPECT_EQ(assigned.status, RTNORM);
}

class PolyLineTest : public DrawingTest {
  protected:
    static std::vector<CSDSPointExt> Vertices(std::initializer_list<std::array<double, 3>> xyb) {
        std::vector<CSDSPointExt> out;
        for (const auto& v : xyb) {
            out.emplace_back(v[0], v[1], 0);
            out.back().bulge = v[2];
            out.back().startWidth = 0.1;
        }
        return out;
    }
    // Vertices as "x y bulge start-width end-width" texts.
    static std::vector<std::string> Text(const std::vector<CSDSPointExt>& vertices) {
        std::vector<std::string> out;
        for (const CSDSPointExt& v : vertices) {
            out.push_back(Fields(v.x, v.y, v.bulge, v.startWidth, v.endWidth));
        }
        return out;
    }
    static std::vector<std::string> Read(const sds_name polyline) {
        std::vector<CSDSPointExt> read;
        EXPECT_EQ(CSDSPolyLine::GetVertices(polyline, read), RTNORM);
        return Text(read);
    }
};

// A polyline made elsewhere, without thickness (group 39) or bulges (42): every vertex is read;
// too few vertices are refused and change nothing; the old vertices go, not only the new ones
// come. (Bars keep their handle and record through a replacement: the reshaping scenarios.)
TEST_F(PolyLineTest, ForeignPolylinesReadAndReplaceSafely) {
    sds_point a = {0, 0, 0}, b = {50, 0, 0}, c = {50, 50, 0};
    resbuf* list =
        sds_buildlist(RTDXF0, "LWPOLYLINE", 8, "0", 90, 3L, 70, 0, 10, a, 10, b, 10, c, RTNONE);
    ASSERT_EQ(sds_entmake(list), RTNORM) << host::LastError();
    sds_relrb(list);
    sds_name bar;
    ASSERT_EQ(sds_entlast(bar), RTNORM);
    const std::vector<std::string> made = {"0 0 0 0 0 ", "50 0 0 0 0 ", "50 50 0 0 0 "};
    EXPECT_EQ(Read(bar), made);
    EXPECT_NE(CSDSPolyLine().ReplaceVertices(bar, Vertices({{9, 9, 0}})), RTNORM);
    EXPECT_EQ(Read(bar), made);
    ASSERT_EQ(CSDSPolyLine().ReplaceVertices(bar, Vertices({{1, 1, 0}, {2, 2, 0}})), RTNORM)
        << host::LastError();
    EXPECT_EQ(Read(bar), (std::vector<std::string>{"1 1 0 0.1 0 ", "2 2 0 0.1 0 "}));
}

class GroupTest : public DrawingTest {};

// Anonymous groups count up from "*A0" and skip a name someone else took. (The members of the
// group holding an entity are what EPP and EDPR's leaders work on: their scenarios.)
TEST_F(GroupTest, AnonymousNamesCountUpSkipTakenOnesAndGiveTheirMembers) {
    sds_name set, member, named, groupDictionary, other;
    ASSERT_EQ(sds_ssadd(nullptr, nullptr, set), RTNORM);
    for (int i = 0; i < 2; ++i) {
        MakeLine(member);
        ASSERT_EQ(sds_ssadd(member, set, set), RTNORM);
    }
    CSDSGroup maker;
    ASSERT_EQ(maker.Create(set, "", 1, 1), RTNORM);
    ASSERT_EQ(maker.Create(set, "", 1, 1), RTNORM);
    ASSERT_EQ(sds_namedobjdict(named), RTNORM);
    resbuf* groups = sds_dictsearch(named, "ACAD_GROUP", 0);
    ASSERT_EQ(CSDSBaseClass::GetEntityName(groups, groupDictionary), RTNORM);
    sds_relrb(groups);
    resbuf* made = sds_buildlist(RTDXF0, "GROUP", 300, "", 70, 1, 71, 1, RTNONE);
    ASSERT_EQ(sds_entmakex(made, other), RTNORM);
    sds_relrb(made);
    ASSERT_EQ(sds_dictadd(groupDictionary, "*A2", other), RTNORM);
    ASSERT_EQ(maker.Create(set, "", 1, 1), RTNORM);
    sds_ssfree(set);
    groups = sds_dictsearch(named, "ACAD_GROUP", 0);
    std::vector<std::string> names;
    for (resbuf* node = groups; node != nullptr; node = node->rbnext) {
        if (node->restype == 3) {
            names.push_back(node->resval.rstring);
        }
    }
    sds_relrb(groups);
    EXPECT_EQ(names, (std::vector<std::string>{"*A0", "*A1", "*A2", "*A3"}));
}

class RecordTest : public DrawingTest {
  protected:
    // A fresh line, or a polyline with `polyline`, with its extension dictionary.
    void Make(sds_name entity, sds_name dictionary, bool polyline = true) {
        MakeLine(entity, polyline);
        ASSERT_EQ(records.EnsureExtensionDictionary(entity, dictionary), RTNORM);
    }
    // Files an XRECORD of the given body under the key in a fresh entity's dictionary.
    void MakeWithRawRecord(sds_name entity, bool polyline, resbuf* body) {
        sds_name dictionary, record;
        Make(entity, dictionary, polyline);
        resbuf* head = sds_buildlist(RTDXF0, "XRECORD", 100, "AcDbXrecord", RTNONE);
        rblist::Last(head)->rbnext = body;
        ASSERT_EQ(sds_entmakex(head, record), RTNORM);
        sds_relrb(head);
        ASSERT_EQ(sds_dictadd(dictionary, kKey.c_str(), record), RTNORM);
    }
    CRodXDataParameters ReadRod(const sds_name entity) {
        CRodXDataParameters back;
        EXPECT_EQ(records.ReadRodRecord(entity, kKey, back), RTNORM);
        return back;
    }
    CSDSXDataPret records;
};

TEST_F(RecordTest, ExtensionDictionaryGoesRightBeforeTheSpaceGroupAndIsMadeOnce) {
    sds_name bar, first, second, dummy = {0, 0};
    MakeLine(bar);
    resbuf* list = sds_entget(bar);
    ASSERT_TRUE(rblist::InsertBefore(
        list, 67, sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dummy, 102, "}", RTNONE)));
    std::vector<int> codes;
    for (resbuf* node = list; node != nullptr; node = node->rbnext) {
        codes.push_back(node->restype);
    }
    sds_relrb(list);
    const auto space = std::find(codes.begin(), codes.end(), 67);
    ASSERT_NE(space, codes.end());
    ASSERT_GE(space - codes.begin(), 3);
    EXPECT_EQ((std::vector<int>(space - 3, space)), (std::vector<int>{102, 360, 102}));
    resbuf* noSpace = sds_buildlist(RTDXF0, "LINE", 8, "0", RTNONE);
    resbuf* more = sds_buildlist(102, "{ACAD_XDICTIONARY", 102, "}", RTNONE);
    EXPECT_FALSE(rblist::InsertBefore(noSpace, 67, more));
    sds_relrb(noSpace);
    sds_relrb(more);

    EXPECT_EQ(CountGroup(bar, 360), 0);
    EXPECT_EQ(records.EnsureExtensionDictionary(bar, first), RTNORM);
    EXPECT_EQ(records.EnsureExtensionDictionary(bar, second), RTNORM);
    EXPECT_TRUE(Same(first, second));
    EXPECT_EQ(CountGroup(bar, 360), 1);
    EXPECT_EQ(Groups(first, -1)[0], "0=DICTIONARY");
}

// The writers only add and report the host's refusal of a taken key; a reset gives a fresh
// dictionary, and only to an entity that has one.
TEST_F(RecordTest, WritersOnlyAddAndResetGivesAFreshDictionary) {
    sds_name bar, old, fresh, plain;
    Make(bar, old);
    CRodXDataParameters record;
    record.type = kBarTag;
    ASSERT_EQ(records.WriteRodRecord(old, kKey, record), RTNORM);
    EXPECT_NE(records.WriteRodRecord(old, kKey, record), RTNORM);

    EXPECT_EQ(records.ResetExtensionDictionary(bar, fresh), RTNORM);
    EXPECT_FALSE(Same(fresh, old));
    EXPECT_EQ(ReadRod(bar).type, "");
    record.number = 7;
    ASSERT_EQ(records.WriteRodRecord(fresh, kKey, record), RTNORM);
    EXPECT_EQ(ReadRod(bar).number, 7);

    MakeLine(plain);
    EXPECT_EQ(records.ResetExtensionDictionary(plain, fresh), RTERROR);
    EXPECT_EQ(CountGroup(plain, 360), 0);
}

TEST_F(RecordTest, EntitiesWithoutRecordReadTheDefaults) {
    sds_name bare, empty, dictionary;
    Make(empty, dictionary);  // a dictionary without the entry
    MakeLine(bare);
    for (const long* entity : {static_cast<const long*>(bare), static_cast<const long*>(empty)}) {
        CRodXDataParameters rod;
        rod.type = "stale";
        rod.number = 99;
        EXPECT_EQ(records.ReadRodRecord(entity, kKey, rod), RTNORM);
        EXPECT_EQ(Fields(rod), " -1 0 -1 -1 -1 0 1 ");
        CRodProfileXDataParameters profile;
        profile.count = 4;
        EXPECT_EQ(records.ReadProfileRecord(entity, kKey, profile), RTNORM);
        EXPECT_EQ(Fields(profile.type, profile.count), " -1 ");
        CRodDescriptionLink link{"x", "y", {1, 2, 3}};
        EXPECT_EQ(records.ReadDescriptionLink(entity, kKey, link), RTNORM);
        EXPECT_EQ(Fields(link.type, link.owner, link.point[1]), "  0 ");
        EXPECT_FALSE(IsBar(entity, kKey, kBarTag));
    }
    // A fresh object differs from a read without record in `rounded` only, and is stored so.
    CRodXDataParameters fresh;
    EXPECT_EQ(Fields(fresh), " -1 0 -1 -1 -1 -1 1 ");
    ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, fresh), RTNORM);
    EXPECT_EQ(Fields(ReadRod(empty)), Fields(fresh));
}

// Whole numbers beyond 16 bits keep their low 16 bits, as the 16-bit group stores them.
TEST_F(RecordTest, WholeNumbersKeepTheirLow16Bits) {
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    for (const auto& [written, read] :
         {std::pair{32767, 32767}, {32768, -32768}, {-40000, 25536}, {kMax, -1}, {kMin, 0}}) {
        sds_name bar, dictionary;
        Make(bar, dictionary);
        CRodXDataParameters record;
        record.number = written;
        ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, record), RTNORM);
        EXPECT_EQ(ReadRod(bar).number, read) << written;
    }
}

// The k-th admitted node fills the k-th field: foreign groups are skipped; a number in a text
// group and a text in a number's place are converted; fields past the last node keep their
// value, as does a text field offered a point.
TEST_F(RecordTest, KthAdmittedNodeFillsKthFieldConverted) {
    sds_name bar, text;
    sds_point p = {1, 1, 1};
    MakeWithRawRecord(bar, true,
                      sds_buildlist(2, "foreign", 1, "Pręt", 40, 9.5, 140, 7.0, 70, 3, 10, p, 1,
                                    "14", 70, 1, RTNONE));
    CRodXDataParameters record;
    record.steel = 8;
    record.rounded = 5;
    record.flag = 6;
    EXPECT_EQ(records.ReadRodRecord(bar, kKey, record), RTNORM);
    // Ordinal from the real 140, diameter from the whole number 3, hooks from the text "14".
    EXPECT_EQ(Fields(record), "Pręt 7 3 14 1 8 5 6 ");

    MakeWithRawRecord(text, false, sds_buildlist(1, "Opis", 70, 4, 10, p, 1, "1A", RTNONE));
    CRodDescriptionLink link{"", "keep", {9, 9, 9}};
    records.ReadDescriptionLink(text, kKey, link);
    EXPECT_EQ(Fields(link.type, link.owner, link.point[0]), "Opis keep 9 ");
}

class ScheduleRowsTest : public DrawingTest {
  protected:
    // Rows whose fields all differ, so that a swapped or dropped field shows.
    static std::vector<CWykazObj> Rows(int count, int fromDrawingEvery = 0) {
        std::vector<CWykazObj> rows(count);
        for (int i = 0; i < count; ++i) {
            rows[i].length = std::to_string(100 + i);
            rows[i].count = std::to_string(i + 1);
            rows[i].diameter = i % 2 ? "4.5" : "12";
            rows[i].steel = "RB500W";
            rows[i].remarks = "uwaga " + std::to_string(i);
            rows[i].fromDrawing = fromDrawingEvery != 0 && i % fromDrawingEvery == 0 ? 1 : 0;
            rows[i].lengthFlags = 2, rows[i].countFlags = 3, rows[i].diameterFlags = 4;
            rows[i].steelFlags = 5, rows[i].remarksFlags = i;
        }
        return rows;
    }
    static std::string Text(const CWykazObj& r) {
        return Fields(r.length, r.count, r.diameter, r.steel, r.remarks, r.lengthFlags,
                      r.countFlags, r.diameterFlags, r.steelFlags, r.remarksFlags, r.fromDrawing);
    }
    CSDSXDataPret records;
};

// Reading goes on to the first missing entry, so an entry left over from the eight shows.
TEST_F(ScheduleRowsTest, FiveRowsAfterEightLeaveExactlyEntriesZeroToFour) {
    ASSERT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(8)), RTNORM);
    EXPECT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(5)), RTNORM);
    std::vector<CWykazObj> back;
    EXPECT_EQ(records.ReadScheduleRows(kScheduleKey, back), RTNORM);
    ASSERT_EQ(back.size(), 5u);
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(Text(back[i]), Text(Rows(5)[i])) << i;
    }

    // Rows taken from the drawing are not read back, and reading appends.
    ASSERT_EQ(records.WriteScheduleRows(kScheduleKey, Rows(6, 2)), RTNORM);
    back.resize(1);
    ASSERT_EQ(records.ReadScheduleRows(kScheduleKey, back), RTNORM);
    ASSERT_EQ(back.size(), 4u);  // the one there before, then rows 1, 3 and 5
    EXPECT_EQ(Fields(back[1].length, back[2].length, back[3].length), "101 103 105 ");
}

}  // namespace
