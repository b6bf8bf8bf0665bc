// Making, reading, changing and deleting entities through the sds_* functions, and the
// canonical order of polyline lists. The group order of each kind the module makes is checked
// through the module's own entity layer (module_entities CreateTest).
#include <cmath>
#include <limits>

#include "drawing_test_util.h"
#include "host/drawing/document.h"
#include "host/drawing/drawing_access.h"

namespace host_test {
namespace {

class Entities : public DrawingTest {};

std::vector<int> Codes(const resbuf* list) {
    std::vector<int> codes;
    for (; list != nullptr; list = list->rbnext)
        codes.push_back(list->restype);
    return codes;
}

// Each malformed list is refused with RTERROR and the drawing stays exactly as it was.
TEST_F(Entities, MalformedListsAreRefusedAndChangeNothing) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    sds_name line;
    sds_entlast(line);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    sds_point p = {0, 0, 0}, q = {100, 0, 0}, down = {0, 0, -1}, bad = {0, nan, 0};
    sds_name stale = {line[0], line[1] + 1000};
    struct Case {
        const char* what;
        resbuf* list;
    } cases[] = {
        // clang-format off
        {"unknown type", sds_buildlist(RTDXF0, "SPLINE", 10, p, RTNONE)},
        {"no type", sds_buildlist(8, "0", 10, p, 11, p, RTNONE)},
        {"line without end", sds_buildlist(RTDXF0, "LINE", 10, p, RTNONE)},
        {"circle negative radius", sds_buildlist(RTDXF0, "CIRCLE", 10, p, 40, -1.0, RTNONE)},
        {"text negative height", sds_buildlist(RTDXF0, "TEXT", 10, p, 40, -0.5, 1, "x", RTNONE)},
        {"text without string", sds_buildlist(RTDXF0, "TEXT", 10, p, 40, 0.5, RTNONE)},
        {"non-finite point", sds_buildlist(RTDXF0, "LINE", 10, p, 11, bad, RTNONE)},
        {"non-finite real", sds_buildlist(RTDXF0, "CIRCLE", 10, p, 40, nan, RTNONE)},
        {"one-vertex polyline", sds_buildlist(RTDXF0, "LWPOLYLINE", 90, 1L, 10, p, RTNONE)},
        {"vertex count mismatch", sds_buildlist(RTDXF0, "LWPOLYLINE", 90, 3L, 10, p, 10, p, RTNONE)},
        // Polyline lists that cannot be put in the canonical order.
        {"width before the first vertex", sds_buildlist(RTDXF0, "LWPOLYLINE", 40, 1.0, 10, p, 10, q, RTNONE)},
        {"flags twice", sds_buildlist(RTDXF0, "LWPOLYLINE", 70, 0, 70, 1, 10, p, 10, q, RTNONE)},
        {"bulge twice on a vertex",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 10, p, 42, 0.1, 42, 0.2, 10, q, RTNONE)},
        {"two normals", sds_buildlist(RTDXF0, "LWPOLYLINE", 10, p, 10, q, 210, down, 210, down, RTNONE)},
        {"hatch count mismatch", sds_buildlist(RTDXF0, "HATCH", 10, p, 2, "SOLID", 91, 1L, 92, 7L,
                                               93, 3L, 10, p, 10, p, 97, 0L, RTNONE)},
        {"value type code", sds_buildlist(RTDXF0, "LINE", RTSTR, "x", 10, p, 11, p, RTNONE)},
        {"dangling reference", sds_buildlist(RTDXF0, "LINE", 10, p, 11, p, 330, stale, RTNONE)},
        {"two types", sds_buildlist(RTDXF0, "LINE", RTDXF0, "CIRCLE", 10, p, 11, p, RTNONE)},
        {"unclosed bracket", sds_buildlist(RTDXF0, "LINE", 102, "{ACAD_REACTORS", 10, p, 11, p, RTNONE)},
        {"existing layer", sds_buildlist(RTDXF0, "LAYER", 2, "0", RTNONE)},
        {"layer without name", sds_buildlist(RTDXF0, "LAYER", 62, 1, RTNONE)},
        {"block record", sds_buildlist(RTDXF0, "BLOCK_RECORD", 2, "X", RTNONE)},
        // clang-format on
    };
    const std::string before = Dump();
    for (const Case& c : cases) {
        ASSERT_NE(c.list, nullptr) << c.what;
        EXPECT_EQ(sds_entmake(c.list), RTERROR) << c.what;
        EXPECT_FALSE(host::LastError().empty()) << c.what;
        sds_name made = {9, 9};
        EXPECT_EQ(sds_entmakex(c.list, made), RTERROR) << c.what;
        EXPECT_EQ(made[0], 0) << c.what;
        EXPECT_EQ(Dump(), before) << c.what;
        sds_relrb(c.list);
    }
    // A text group without its text is malformed too.
    resbuf* list = sds_buildlist(RTDXF0, "TEXT", 10, p, 40, 1.0, 1, "x", RTNONE);
    char* text = FindGroup(list, 1)->resval.rstring;
    const_cast<resbuf*>(FindGroup(list, 1))->resval.rstring = nullptr;
    EXPECT_EQ(sds_entmake(list), RTERROR);
    const_cast<resbuf*>(FindGroup(list, 1))->resval.rstring = text;
    sds_relrb(list);
    EXPECT_EQ(sds_entmake(nullptr), RTERROR);
    EXPECT_EQ(Dump(), before);
}

// A change that would break the entity, or that comes for a deleted one, changes nothing;
// a deleted entity is neither read nor last, and comes back when deleted again.
TEST_F(Entities, ModifyRefusalsChangeNothingAndDeletionToggles) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    const long line = LastName(0);
    ASSERT_EQ(MakeCircle(0, 0, 2), RTNORM);
    sds_name circle, next;
    sds_entlast(circle);
    resbuf* list = sds_entget(circle);
    // The common header, then the module's create order; the list's name and handle agree.
    EXPECT_EQ(Codes(list),
              (std::vector<int>{-1, 0, 5, 330, 100, 67, 410, 8, 6, 62, 48, 100, 10, 40}));
    EXPECT_NE(ListText(list).find("(67 0)(410 Model)"), std::string::npos);
    sds_name byHandle;
    ASSERT_EQ(sds_handent(FindGroup(list, 5)->resval.rstring, byHandle), RTNORM);
    EXPECT_EQ(byHandle[0], circle[0]);
    EXPECT_EQ(list->resval.rlname[0], circle[0]);
    const std::string before = Dump();
    resbuf* radius = const_cast<resbuf*>(FindGroup(list, 40));
    radius->resval.rreal = -3;
    EXPECT_EQ(sds_entmod(list), RTERROR);
    radius->resval.rreal = 3;
    char* old = list->rbnext->resval.rstring;
    list->rbnext->resval.rstring = const_cast<char*>("LINE");
    EXPECT_EQ(sds_entmod(list), RTERROR) << "the type cannot change";
    list->rbnext->resval.rstring = old;
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(sds_entnext(circle, next), RTERROR);
    ASSERT_EQ(sds_entdel(circle), RTNORM);
    const std::string deleted = Dump();
    EXPECT_EQ(sds_entget(circle), nullptr);
    EXPECT_EQ(LastName(0), line);
    EXPECT_EQ(sds_entmod(list), RTERROR) << "a deleted entity cannot change";
    EXPECT_EQ(Dump(), deleted);
    ASSERT_EQ(sds_entdel(circle), RTNORM);  // restored
    EXPECT_EQ(LastName(0), circle[0]);
    EXPECT_EQ(sds_entmod(list), RTNORM);
    resbuf* read = sds_entget(circle);
    EXPECT_DOUBLE_EQ(FindGroup(read, 40)->resval.rreal, 3);
    sds_relrb(read);
    sds_relrb(list);
    EXPECT_EQ(sds_entmod(nullptr), RTERROR);
}

TEST_F(Entities, NamesOfAnEarlierDrawingAreRefused) {
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);
    sds_name line;
    sds_entlast(line);
    sds_name set;
    ASSERT_EQ(sds_ssget("X", nullptr, nullptr, nullptr, set), RTNORM);
    host::NewDrawing();
    ASSERT_EQ(MakeLine(0, 0, 1, 1), RTNORM);  // the same slot is in use again
    EXPECT_EQ(sds_entget(line), nullptr);
    EXPECT_EQ(sds_entdel(line), RTERROR);
    EXPECT_EQ(sds_redraw(line, 3), RTERROR);
    long length = 0;
    EXPECT_EQ(sds_sslength(set, &length), RTERROR);
    sds_point p = {0, 0, 0};
    resbuf* list = sds_buildlist(-1, line, RTDXF0, "LINE", 10, p, 11, p, RTNONE);
    EXPECT_EQ(sds_entmod(list), RTERROR);
    sds_relrb(list);
}

TEST_F(Entities, CircularListsAreRefusedNotWalkedForever) {
    sds_point p = {0, 0, 0};
    resbuf* list = sds_buildlist(RTDXF0, "LINE", 10, p, 11, p, RTNONE);
    resbuf* last = list->rbnext->rbnext;
    last->rbnext = list->rbnext;  // 11 -> 10 -> 11 ...
    const std::string before = Dump();
    EXPECT_EQ(sds_entmake(list), RTERROR);
    EXPECT_EQ(sds_relrb(list), RTERROR);
    EXPECT_EQ(Dump(), before);
    last->rbnext = nullptr;
    EXPECT_EQ(sds_relrb(list), RTNORM);
}

// A file may name an entity's handle above the seed while the entity's layer does not exist
// yet: the layer made for it must get a handle of its own.
TEST_F(Entities, GivenHandleAboveSeedIsNotReusedForTheNewLayer) {
    host::Database& drawing = host::CurrentDrawing();
    const host::Handle wanted{drawing.HandleSeed().value};
    host::GroupList list;
    list.AddText(0, "LINE");
    list.AddText(8, "NewLayerFromFile");
    list.AddPoint(10, 0.0, 0.0, 0.0);
    list.AddPoint(11, 10.0, 0.0, 0.0);
    host::MakeOptions options;
    options.handle = wanted;
    const host::ObjectId line = drawing.Make(list, options);
    ASSERT_TRUE(line);
    const host::ObjectId layer = drawing.FindTableEntry("LAYER", "NewLayerFromFile");
    ASSERT_TRUE(layer);
    EXPECT_EQ(drawing.Find(line)->handle, wanted);
    EXPECT_NE(drawing.Find(layer)->handle, wanted);
    drawing.CheckInvariants();
}

}  // namespace
}  // namespace host_test
