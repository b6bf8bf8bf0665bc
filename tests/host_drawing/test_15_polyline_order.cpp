// LWPOLYLINE lists come back in one canonical order with every group present, however
// they were made or changed: readers that walk a polyline list rely on it.
#include "drawing_test_util.h"
#include "host/drawing_access.h"

namespace host_test {
namespace {

class PolylineOrder : public DrawingTest {};

// The groups after the layer (8): the polyline's own part of the list.
std::string BodyText(const resbuf* list) {
    while (list != nullptr && list->restype != 8)
        list = list->rbnext;
    return list == nullptr ? "" : ListText(list->rbnext);
}

std::string LastBody() {
    sds_name entity;
    if (sds_entlast(entity) != RTNORM)
        return "";
    resbuf* list = sds_entget(entity);
    std::string text = BodyText(list);
    sds_relrb(list);
    return text;
}

const sds_point kA = {0, 0, 0};
const sds_point kB = {100, 0, 0};
const sds_point kC = {100, 50, 0};
const sds_point kDown = {0, 0, -1};

TEST_F(PolylineOrder, MissingGroupsGetDefaultsAndGivenValuesStay) {
    const struct {
        const char* what;
        resbuf* list;
        const char* body;
    } cases[] = {
        {"vertices only", sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 10, kB, RTNONE),
         "(100 AcDbPolyline)(90 2)(70 0)(43 0)(38 0)(39 0)(10 0,0,0)(40 0)(41 0)(42 0)"
         "(10 100,0,0)(40 0)(41 0)(42 0)(210 0,0,1)"},
        {"shuffled, values kept",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 62, 3, 10, kA, 42, 0.5, 70, 1, 10, kB, 41, 2.0, 90, 2L,
                       210, kDown, 38, 5.0, RTNONE),
         "(62 3)(100 AcDbPolyline)(90 2)(70 1)(43 0)(38 5)(39 0)(10 0,0,0)(40 0)(41 0)(42 0.5)"
         "(10 100,0,0)(40 0)(41 2)(42 0)(210 0,0,-1)"},
        {"vertex ids kept behind the bulge",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 91, 7L, 40, 1.0, 10, kB, 91, 8L, RTNONE),
         "(100 AcDbPolyline)(90 2)(70 0)(43 0)(38 0)(39 0)(10 0,0,0)(40 1)(41 0)(42 0)(91 7)"
         "(10 100,0,0)(40 0)(41 0)(42 0)(91 8)(210 0,0,1)"},
        {"other groups after the normal, in their order",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 1001, "APP", 10, kB, 1000, "x", RTNONE),
         "(100 AcDbPolyline)(90 2)(70 0)(43 0)(38 0)(39 0)(10 0,0,0)(40 0)(41 0)(42 0)"
         "(10 100,0,0)(40 0)(41 0)(42 0)(210 0,0,1)(1001 APP)(1000 x)"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.list, nullptr) << c.what;
        EXPECT_EQ(sds_entmake(c.list), RTNORM) << c.what << ": " << host::LastError();
        EXPECT_EQ(LastBody(), c.body) << c.what;
        sds_relrb(c.list);
    }
}

// The module's full create list is canonical already and must come back untouched.
TEST_F(PolylineOrder, CanonicalListComesBackAsGiven) {
    const double points[3][2] = {{0, 0}, {100, 0}, {100, 50}};
    const double bulges[3] = {0.0, 0.25, 0.0};
    ASSERT_EQ(MakePolyline(points, 3, bulges), RTNORM);
    const std::string body = LastBody();
    EXPECT_EQ(body.substr(body.find("(90")),
              "(90 3)(70 0)(43 0)(38 0)(39 0)(10 0,0,0)(40 0)(41 0)(42 0)(10 100,0,0)(40 0)(41 0)"
              "(42 0.25)(10 100,50,0)(40 0)(41 0)(42 0)(210 0,0,1)");
}

// A change given as a bare list of vertices is put in order the same way; the vertex count
// follows the new vertices.
TEST_F(PolylineOrder, ModifyNormalisesToo) {
    resbuf* made = sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 10, kB, RTNONE);
    ASSERT_EQ(sds_entmake(made), RTNORM);
    sds_relrb(made);
    sds_name entity;
    ASSERT_EQ(sds_entlast(entity), RTNORM);
    resbuf* change =
        sds_buildlist(-1, entity, RTDXF0, "LWPOLYLINE", 10, kA, 10, kB, 10, kC, RTNONE);
    ASSERT_EQ(sds_entmod(change), RTNORM) << host::LastError();
    sds_relrb(change);
    EXPECT_EQ(LastBody(),
              "(100 AcDbPolyline)(90 3)(70 0)(43 0)(38 0)(39 0)(10 0,0,0)(40 0)(41 0)(42 0)"
              "(10 100,0,0)(40 0)(41 0)(42 0)(10 100,50,0)(40 0)(41 0)(42 0)(210 0,0,1)");
}

TEST_F(PolylineOrder, ListsThatCannotBePutInOrderAreRefused) {
    const struct {
        const char* what;
        resbuf* list;
    } cases[] = {
        {"width before the first vertex",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 40, 1.0, 10, kA, 10, kB, RTNONE)},
        {"flags twice", sds_buildlist(RTDXF0, "LWPOLYLINE", 70, 0, 70, 1, 10, kA, 10, kB, RTNONE)},
        {"bulge twice on a vertex",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 42, 0.1, 42, 0.2, 10, kB, RTNONE)},
        {"two normals",
         sds_buildlist(RTDXF0, "LWPOLYLINE", 10, kA, 10, kB, 210, kDown, 210, kDown, RTNONE)},
        {"count disagrees", sds_buildlist(RTDXF0, "LWPOLYLINE", 90, 3L, 10, kA, 10, kB, RTNONE)},
    };
    const std::string before = Dump();
    for (const auto& c : cases) {
        ASSERT_NE(c.list, nullptr) << c.what;
        EXPECT_EQ(sds_entmake(c.list), RTERROR) << c.what;
        EXPECT_FALSE(host::LastError().empty()) << c.what;
        EXPECT_EQ(Dump(), before) << c.what;
        sds_relrb(c.list);
    }
}

}  // namespace
}  // namespace host_test
