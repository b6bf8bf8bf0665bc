// Entity wrappers against the real drawing host: create lists accepted and read back, the
// common readers, polyline vertices, solid discs and anonymous groups.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>

#include "module/entities/hatch.h"
#include "module/entities/layer_group.h"
#include "module/entities/line_circle.h"
#include "module/entities/polyline.h"
#include "module/entities/text.h"
#include "module/entities/xdata.h"
#include "tests/module_entities/host_fixture.h"

namespace entities_test {
namespace {

class CreateTest : public DrawingTest {};

// Every wrapper's create list is accepted and reads back group by group after the layer, each
// code in its place and every literal value as the drawing format wants it.
TEST_F(CreateTest, EveryCreateListIsAcceptedAndReadsBackAsMade) {
    sds_point a = {1, 2, 0}, b = {7, 4, 0};
    const struct {
        const char* layer;
        std::function<int()> create;
        std::vector<std::string> groups;
    } cases[] = {
        {"Zbrojenie",
         [&] { return CSDSLine().Create(a, b, "Zbrojenie", "CONTINUOUS", 256, 1.5); },
         {"6=CONTINUOUS", "62=256", "48=1.5", "10=1,2,0", "11=7,4,0"}},
        {"0",
         [&] { return CSDSCircle().Create(a, 2.5, "0", "CONTINUOUS", 3, 1.0); },
         {"6=CONTINUOUS", "62=3", "48=1", "10=1,2,0", "40=2.5"}},
        {"Opisy prętów",
         [&] {
             return CSDSText().Create("12 co 15 L= 250", a, 5, 0.5, "STANDARD", 0, 2, a, 3,
                                      "Opisy prętów", 256);
         },
         {"62=256", "10=1,2,0", "40=5", "1=12 co 15 L= 250", "50=0.5", "7=STANDARD", "71=0", "72=2",
          "11=1,2,0", "73=3"}},
        {"Zbrojenie",
         [&] {
             return CSDSPolyLine().Create({CSDSPointExt(0, 0, 0), CSDSPointExt(10, 0, 0)}, true,
                                          "Zbrojenie", "CONTINUOUS", 256);
         },
         {"6=CONTINUOUS", "62=256", "90=2", "70=1", "43=0", "38=0", "39=0", "10=0,0,0", "40=0",
          "41=0", "42=0", "10=10,0,0", "40=0", "41=0", "42=0", "210=0,0,1"}},
        {"Opisy prętów",
         [&] {
             sds_point centre = {2, 3, 0};
             return CSDSCircleHatch().Create(centre, 0.5, "Opisy prętów", 256);
         },
         {"62=256", "10=1.5,3,0", "2=SOLID", "70=1",       "71=0", "91=1",       "92=7",
          "72=1",   "73=1",       "93=2",    "10=2.5,3,0", "42=1", "10=1.5,3,0", "42=1",
          "97=0",   "75=0",       "76=1",    "47=0",       "98=1", "10=1.5,3,0"}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.create(), RTNORM) << host::LastError();
        sds_name made;
        Last(made);
        EXPECT_EQ(CSDSBaseClass::GetLayer(made), c.layer);
        EXPECT_EQ(Groups(made, 8), c.groups);
    }
}

TEST_F(CreateTest, LayerAndStyleAreMadeOnceAndKeepTheirOwnProperties) {
    CSDSLayer layer;
    EXPECT_EQ(layer.Create("Zbrojenie główne", 1), RTNORM);
    EXPECT_EQ(layer.Create("Zbrojenie główne", 5), RTERROR);
    EXPECT_EQ(layer.status, RTERROR);
    resbuf* found = sds_tblsearch("LAYER", "Zbrojenie główne", 0);
    ASSERT_NE(found, nullptr);
    int colour = 0;
    for (resbuf* node = found; node != nullptr; node = node->rbnext) {
        colour = node->restype == 62 ? node->resval.rint : colour;
    }
    sds_relrb(found);
    EXPECT_EQ(colour, 1);

    CSDSTextStyle style;
    EXPECT_FALSE(CSDSTextStyle::Exists("ORV_SYMBOLE"));
    EXPECT_EQ(style.Create("ORV_SYMBOLE", 0.0, 1.0, 0.0, 0, 0.2, "ORV-symbole.shx", ""), RTNORM);
    EXPECT_TRUE(CSDSTextStyle::Exists("ORV_SYMBOLE"));
    EXPECT_EQ(style.Create("ORV_SYMBOLE", 0.0, 2.0, 0.0, 0, 0.2, "other.shx", ""), RTNORM);
    EXPECT_FALSE(CSDSTextStyle::Exists("orv_symbole_x"));
}

TEST_F(CreateTest, RefusedCreateReportsTheHostsCode) {
    sds_point a = {0, 0, 0};
    CSDSCircle circle;
    EXPECT_LT(circle.Create(a, -1.0, "0", "CONTINUOUS", 256, 1.0), 0);
    EXPECT_EQ(circle.status, RTERROR);
    CSDSPolyLine line;
    EXPECT_LT(line.Create({CSDSPointExt(0, 0, 0)}, false, "0", "CONTINUOUS", 256), 0);
    CSDSPolyLineHatch hatch;
    EXPECT_EQ(hatch.Create({}, "0", 256, 0, 1), RTERROR);
    sds_name last;
    EXPECT_NE(sds_entlast(last), RTNORM);  // nothing was made
}

TEST_F(CreateTest, CommonReaders) {
    sds_point a = {0, 0, 0}, b = {1, 0, 0};
    ASSERT_EQ(CSDSLine().Create(a, b, "Wymiary prętów", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name line;
    Last(line);
    EXPECT_EQ(CSDSBaseClass::GetLayer(line), "Wymiary prętów");
    EXPECT_EQ(CSDSBaseClass::GetColor(line), 256);

    resbuf* list = sds_entget(line);
    EXPECT_EQ(CSDSBaseClass::GetTypeName(list), "LINE");
    EXPECT_EQ(CSDSBaseClass::GetHandle(list), Handle(line));
    EXPECT_FALSE(CSDSBaseClass::GetHandle(list).empty());
    char small[3];
    CSDSBaseClass::GetTypeName(list, small, sizeof small);
    EXPECT_STREQ(small, "LI");
    sds_name read = {0, 0};
    EXPECT_EQ(CSDSBaseClass::GetEntityName(list, read), RTNORM);
    EXPECT_EQ(read[0], line[0]);
    EXPECT_EQ(read[1], line[1]);
    // Skipping the -1 node leaves a list without an entity name.
    EXPECT_EQ(CSDSBaseClass::GetEntityName(list->rbnext, read), RTERROR);
    sds_relrb(list);

    EXPECT_EQ(CSDSBaseClass::GetHandle(nullptr), "");
    EXPECT_EQ(CSDSBaseClass::GetTypeName(nullptr), "");
    char buffer[8] = "xxxxxxx";
    CSDSBaseClass::GetTypeName(nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
}

TEST_F(CreateTest, ColourAndLayerOfObjectsWithoutThemOrGone) {
    CSDSXData xdata;
    sds_name dictionary;
    ASSERT_EQ(xdata.CreateDictionary(dictionary), RTNORM);
    EXPECT_EQ(CSDSBaseClass::GetColor(dictionary), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(dictionary), "");

    // A line made without a colour group reads as having none.
    sds_point a = {0, 0, 0}, b = {1, 0, 0};
    resbuf* plain = sds_buildlist(RTDXF0, "LINE", 8, "Zbrojenie", 10, a, 11, b, RTNONE);
    ASSERT_EQ(sds_entmake(plain), RTNORM);
    sds_relrb(plain);
    sds_name uncoloured;
    Last(uncoloured);
    EXPECT_EQ(CSDSBaseClass::GetColor(uncoloured), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(uncoloured), "Zbrojenie");

    ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 4, 1.0), RTNORM);
    sds_name line;
    Last(line);
    ASSERT_EQ(sds_entdel(line), RTNORM);
    EXPECT_EQ(CSDSBaseClass::GetColor(line), RTERROR);
    EXPECT_EQ(CSDSBaseClass::GetLayer(line), "");
    sds_point p = {5, 5, 5};
    EXPECT_EQ(CSDSCircle::GetCenter(line, p), RTERROR);
    EXPECT_EQ(p[0], 5);
    EXPECT_EQ(CSDSText::GetHeight(line), -1.0);
    EXPECT_EQ(CSDSText::GetString(line), "");
}

TEST_F(CreateTest, TextChangesKeepTheRest) {
    sds_point a = {1, 1, 0}, b = {3, 1, 0};
    CSDSText text;
    ASSERT_EQ(text.Create("12", a, 0.4, 0, "STANDARD", 0, 1, b, 0, "0", 256), RTNORM);
    sds_name made;
    Last(made);
    EXPECT_EQ(CSDSText::GetString(made), "12");
    EXPECT_DOUBLE_EQ(CSDSText::GetHeight(made), 0.4);
    EXPECT_EQ(text.SetString(made, "żebrowana 14"), RTNORM);
    EXPECT_EQ(CSDSText::GetString(made), "żebrowana 14");
    sds_point c = {10, 20, 0}, d = {12, 20, 0};
    EXPECT_EQ(text.SetPoints(made, c, d), RTNORM);
    sds_point ins, align;
    ASSERT_EQ(CSDSText::GetPoints(made, ins, align), RTNORM);
    EXPECT_DOUBLE_EQ(ins[1], 20);
    EXPECT_DOUBLE_EQ(align[0], 12);
    EXPECT_DOUBLE_EQ(CSDSText::GetHeight(made), 0.4);

    // A circle has no text group: SetString gives back the previous status unchanged.
    ASSERT_EQ(CSDSCircle().Create(a, 1.0, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name circle;
    Last(circle);
    text.status = RTERROR;
    EXPECT_EQ(text.SetString(circle, "x"), RTERROR);
}

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

TEST_F(CreateTest, LineAndCirclePoints) {
    sds_point a = {1, 2, 3}, b = {4, 5, 6};
    CSDSCircle circle;
    ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name line;
    Last(line);
    sds_point s, e;
    ASSERT_EQ(CSDSLine::GetPoints(line, s, e), RTNORM);
    EXPECT_DOUBLE_EQ(s[2], 3);
    EXPECT_DOUBLE_EQ(e[1], 5);

    ASSERT_EQ(circle.Create(a, 1.0, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name made;
    Last(made);
    EXPECT_EQ(CSDSLine::GetPoints(made, s, e), RTERROR);  // a circle has no group 11
    EXPECT_EQ(circle.SetCenter(made, b), RTNORM);
    sds_point c;
    ASSERT_EQ(CSDSCircle::GetCenter(made, c), RTNORM);
    EXPECT_DOUBLE_EQ(c[0], 4);
    EXPECT_DOUBLE_EQ(c[1], 5);
}

class PolyLineTest : public DrawingTest {
  protected:
    static std::vector<CSDSPointExt> Vertices(std::initializer_list<std::array<double, 3>> xyb) {
        std::vector<CSDSPointExt> out;
        for (const auto& v : xyb) {
            CSDSPointExt p(v[0], v[1], 0);
            p.bulge = v[2];
            p.startWidth = 0.1;
            out.push_back(p);
        }
        return out;
    }
};

TEST_F(PolyLineTest, VerticesReadBackInOrderWithWidthsAndBulges) {
    auto made = Vertices({{0, 0, 0}, {100, 0, 0.5}, {100, 50, 0}, {0, 50, -0.25}});
    made[2].endWidth = 0.3;
    ASSERT_EQ(CSDSPolyLine().Create(made, false, "Zbrojenie", "CONTINUOUS", 256), RTNORM);
    sds_name bar;
    Last(bar);
    std::vector<CSDSPointExt> read;
    EXPECT_EQ(CSDSPolyLine::GetVertices(bar, read), RTNORM);
    ASSERT_EQ(read.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_DOUBLE_EQ(read[i].x, made[i].x) << i;
        EXPECT_DOUBLE_EQ(read[i].y, made[i].y) << i;
        EXPECT_DOUBLE_EQ(read[i].bulge, made[i].bulge) << i;
        EXPECT_DOUBLE_EQ(read[i].startWidth, made[i].startWidth) << i;
        EXPECT_DOUBLE_EQ(read[i].endWidth, made[i].endWidth) << i;
    }
}

TEST_F(PolyLineTest, ReplaceWithFewerVerticesLeavesNoTraceAndKeepsIdentity) {
    ASSERT_EQ(
        CSDSPolyLine().Create(Vertices({{0, 0, 0}, {111, 0, 0.5}, {111, 222, 0}, {333, 222, 0.7}}),
                              true, "Zbrojenie", "CONTINUOUS", 2),
        RTNORM);
    sds_name bar;
    Last(bar);
    CSDSXDataPret records;
    sds_name dictionary;
    ASSERT_EQ(records.EnsureExtensionDictionary(bar, dictionary), RTNORM);
    CRodXDataParameters record;
    record.type = kBarTag;
    record.number = 4;
    ASSERT_EQ(records.WriteRodRecord(dictionary, kKey, record), RTNORM);
    const std::string handle = Handle(bar);

    // Too few vertices is refused and changes nothing.
    CSDSPolyLine polyline;
    EXPECT_NE(polyline.ReplaceVertices(bar, Vertices({{9, 9, 0}})), RTNORM);
    EXPECT_EQ(CountGroup(bar, 10), 4);

    EXPECT_EQ(polyline.ReplaceVertices(bar, Vertices({{5, 6, 0}, {7, 8, 0}})), RTNORM);
    EXPECT_EQ(CountGroup(bar, 10), 2);
    EXPECT_EQ(CountGroup(bar, 42), 2);
    EXPECT_EQ(CountGroup(bar, 210), 1);
    const auto groups = Groups(bar);
    EXPECT_EQ(std::count(groups.begin(), groups.end(), "90=2"), 1);
    EXPECT_EQ(std::count(groups.begin(), groups.end(), "70=1"), 1) << "still closed";
    std::vector<CSDSPointExt> read;
    CSDSPolyLine::GetVertices(bar, read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_DOUBLE_EQ(read[1].x, 7);
    for (const CSDSPointExt& v : read) {
        EXPECT_NE(v.x, 111);
        EXPECT_NE(v.x, 333);
        EXPECT_NE(v.bulge, 0.7);
    }
    EXPECT_EQ(Handle(bar), handle);
    EXPECT_EQ(CSDSBaseClass::GetLayer(bar), "Zbrojenie");
    EXPECT_EQ(CSDSBaseClass::GetColor(bar), 2);
    sds_name after;
    resbuf* list = sds_entget(bar);
    ASSERT_TRUE(CSDSXData::FindExtensionDictionary(list, after));
    sds_relrb(list);
    EXPECT_EQ(after[0], dictionary[0]);
    EXPECT_EQ(after[1], dictionary[1]);
    CRodXDataParameters back;
    records.ReadRodRecord(bar, kKey, back);
    EXPECT_EQ(back.type, kBarTag);
    EXPECT_EQ(back.number, 4);
}

// A polyline made elsewhere, with its own choice of groups (no elevation or thickness, and
// bulges only where `withBulges`).
void MakeForeignPolyline(bool withBulges) {
    sds_point a = {0, 0, 0}, b = {50, 0, 0}, c = {50, 50, 0};
    resbuf* list = withBulges ? sds_buildlist(RTDXF0, "LWPOLYLINE", 8, "0", 90, 3L, 70, 0, 10, a,
                                              42, 0.0, 10, b, 42, 0.0, 10, c, 42, 0.0, RTNONE)
                              : sds_buildlist(RTDXF0, "LWPOLYLINE", 8, "0", 90, 3L, 70, 0, 10, a,
                                              10, b, 10, c, RTNONE);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(sds_entmake(list), RTNORM) << host::LastError();
    sds_relrb(list);
}

TEST_F(PolyLineTest, ForeignPolylinesReadAndReplaceSafely) {
    MakeForeignPolyline(false);
    sds_name plain;
    Last(plain);
    std::vector<CSDSPointExt> read;
    EXPECT_EQ(CSDSPolyLine::GetVertices(plain, read), RTNORM);
    // The host fills in the groups a maker leaves out (bulges among them), so every vertex
    // of a foreign polyline is read.
    ASSERT_EQ(read.size(), 3u);
    EXPECT_DOUBLE_EQ(read[2].y, 50);

    // Made without elevation or thickness: the old vertices still go before the new ones.
    MakeForeignPolyline(true);
    sds_name bar;
    Last(bar);
    CSDSPolyLine polyline;
    ASSERT_EQ(polyline.ReplaceVertices(bar, Vertices({{1, 1, 0}, {2, 2, 0}})), RTNORM)
        << host::LastError();
    EXPECT_EQ(CountGroup(bar, 10), 2);
    read.clear();
    CSDSPolyLine::GetVertices(bar, read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_DOUBLE_EQ(read[0].x, 1);
    EXPECT_DOUBLE_EQ(read[1].y, 2);
}

// The disc's centre comes from its boundary; something that is no disc reads as the origin.
TEST_F(PolyLineTest, DiscReadsBackItsCentre) {
    sds_point centre = {2, 3, 0}, read = {9, 9, 9};
    ASSERT_EQ(CSDSCircleHatch().Create(centre, 0.5, "Zbrojenie", 256), RTNORM);
    sds_name made;
    Last(made);
    EXPECT_EQ(CSDSCircleHatch::GetCenter(made, read), RTNORM);
    EXPECT_EQ((std::vector<double>(read, read + 3)), (std::vector<double>{2, 3, 0}));
    sds_point a = {0, 0, 0}, b = {1, 1, 0};
    ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    Last(made);
    EXPECT_EQ(CSDSCircleHatch::GetCenter(made, read), RTERROR);
    EXPECT_EQ(read[0], 0);
}

class GroupTest : public DrawingTest {
  protected:
    // A selection set of two fresh lines; the caller frees it.
    void TwoLines(sds_name set) {
        ASSERT_EQ(sds_ssadd(nullptr, nullptr, set), RTNORM);
        for (int i = 0; i < 2; ++i) {
            sds_point a = {0, double(i), 0}, b = {1, double(i), 0};
            ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
            sds_name line;
            Last(line);
            ASSERT_EQ(sds_ssadd(line, set, set), RTNORM);
        }
    }
    static std::vector<std::string> GroupNames() {
        sds_name named;
        EXPECT_EQ(sds_namedobjdict(named), RTNORM);
        resbuf* groups = sds_dictsearch(named, "ACAD_GROUP", 0);
        std::vector<std::string> names;
        for (resbuf* node = groups; node != nullptr; node = node->rbnext) {
            if (node->restype == 3) {
                names.push_back(node->resval.rstring);
            }
        }
        if (groups != nullptr) {
            sds_relrb(groups);
        }
        return names;
    }
};

TEST_F(GroupTest, AnonymousNamesCountUpAndSkipTakenOnes) {
    for (int i = 0; i < 3; ++i) {
        sds_name set;
        TwoLines(set);
        CSDSGroup group;
        EXPECT_EQ(group.Create(set, "", 1, 1), RTNORM);
        sds_ssfree(set);
    }
    EXPECT_EQ(GroupNames(), (std::vector<std::string>{"*A0", "*A1", "*A2"}));

    host::NewDrawing();
    sds_name set;
    TwoLines(set);
    CSDSGroup group;
    ASSERT_EQ(group.Create(set, "", 1, 1), RTNORM);
    // Someone else files a group under "*A1".
    sds_name named, groupDictionary, other;
    ASSERT_EQ(sds_namedobjdict(named), RTNORM);
    resbuf* groups = sds_dictsearch(named, "ACAD_GROUP", 0);
    ASSERT_EQ(CSDSBaseClass::GetEntityName(groups, groupDictionary), RTNORM);
    sds_relrb(groups);
    resbuf* made = sds_buildlist(RTDXF0, "GROUP", 300, "", 70, 1, 71, 1, RTNONE);
    ASSERT_EQ(sds_entmakex(made, other), RTNORM);
    sds_relrb(made);
    ASSERT_EQ(sds_dictadd(groupDictionary, "*A1", other), RTNORM);
    ASSERT_EQ(group.Create(set, "", 1, 1), RTNORM);
    ASSERT_EQ(group.Create(set, "", 1, 1), RTNORM);
    sds_ssfree(set);
    EXPECT_EQ(GroupNames(), (std::vector<std::string>{"*A0", "*A1", "*A2", "*A3"}));
}

TEST_F(GroupTest, MembersOfTheGroupThatHoldsAnEntity) {
    sds_name set;
    TwoLines(set);
    sds_name member, stranger;
    ASSERT_EQ(sds_ssname(set, 1, member), RTNORM);
    ASSERT_EQ(CSDSGroup().Create(set, "", 1, 1), RTNORM);
    sds_ssfree(set);
    sds_point a = {5, 5, 0}, b = {6, 6, 0};
    ASSERT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    Last(stranger);

    sds_name all;
    ASSERT_EQ(CSDSGroup::AllGroups(all), RTNORM);
    long count = 0;
    ASSERT_EQ(sds_sslength(all, &count), RTNORM);
    ASSERT_EQ(count, 1);
    sds_name group;
    ASSERT_EQ(sds_ssname(all, 0, group), RTNORM);
    sds_ssfree(all);

    sds_name members;
    EXPECT_EQ(CSDSGroup::MembersIfContains(member, group, members), 1);
    ASSERT_EQ(sds_sslength(members, &count), RTNORM);
    EXPECT_EQ(count, 2);
    sds_ssfree(members);
    EXPECT_EQ(CSDSGroup::MembersIfContains(stranger, group, members), 0);
    ASSERT_EQ(sds_sslength(members, &count), RTNORM);
    EXPECT_EQ(count, 0);
    sds_ssfree(members);
}

}  // namespace
}  // namespace entities_test
