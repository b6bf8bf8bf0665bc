// "zAmień_polilinię": a polyline drawn by other means becomes a bar with the panel's values
// and the number WPR would give, as one undo step; what is not a plain polyline is refused
// and asked again.
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

// A polyline on layer "0" as the host's own command draws it.
void DrawPolyline(const std::vector<CSDSPointExt>& vertices, bool closed) {
    ASSERT_EQ(CSDSPolyLine().Create(vertices, closed, "0", "CONTINUOUS", 256), RTNORM);
}

CSDSPointExt V(double x, double y, double bulge = 0.0) {
    CSDSPointExt v(x, y, 0.0);
    v.bulge = bulge;
    return v;
}

TEST_F(WprTest, PolylineBecomesABar) {
    // Two 10 mm ribbed bars lie at y = 0 and y = 100; the polyline lies above them.
    const struct {
        const char* name;
        std::vector<CSDSPointExt> polyline;
        bool closed;
        std::vector<std::string> lines;  // after the two bars are drawn
        const char* shape;               // of the new bar
        const char* record;
    } cases[] = {
        // clang-format off
        {"three vertices, 16 mm ribbed: number and ordinal 3 on the main layer",
         {V(0, 300), V(200, 300), V(200, 400)}, false, {"PANEL diameter 16", "EDPR", "zAmień_polilinię", "100,300"},
         "0,300 200,300 200,400", "Pręt 3 1.6 0 3 15 0 0"},
        {"an arc is kept; a LINE and a bar are refused and asked again",
         {V(0, 300, 0.5), V(200, 300), V(300, 300)}, false,
         {"LINE", "0,500", "100,500", "", "EDPR", "zAmień_polilinię", "50,500", "100,0", "250,300"},
         "0,300(0.5000) 200,300 300,300", "Pręt 3 1 0 3 15 0 0"},
        {"a closed polyline keeps its closing segment", {V(0, 300), V(200, 300), V(200, 400)}, true,
         {"EDPR", "zAmień_polilinię", "100,300"}, "0,300 200,300 200,400 0,300", "Pręt 3 1 0 3 15 0 0"},
        {"smooth steel asks both hooks (9 long for 10 mm)", {V(0, 300), V(200, 300)}, false,
         {"PANEL steel St0S", "EDPR", "zAmień_polilinię", "100,300", "0,200", "200,200"},
         "7.794,295.5 0,300 200,300 192.206,295.5", "Pręt 3 1 3 3 0 0 0"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr(DrawBars(2));
        DrawPolyline(c.polyline, c.closed);
        const std::string before = Snapshot();
        const std::vector<std::string> lines =
            Join({"PANEL steel RB500W", "PANEL diameter 10"}, c.lines);
        RunWpr(lines, false);
        const std::vector<Bar> bars = Bars();
        ASSERT_EQ(bars.size(), 3u);
        EXPECT_EQ(Shape(bars[2].vertices), c.shape);
        EXPECT_EQ(RecordText(bars[2].record), c.record);
        EXPECT_EQ(bars[2].layer, bars[2].record.diameter >= 1.2 ? "Zbrojenie główne" : "Zbrojenie");
        EXPECT_EQ(Polylines().size(), 3u) << "the polyline is gone";
        EXPECT_CLEAN_AUDIT();
        RunWpr({"U"}, false);
        if (c.lines[0] != "LINE") {
            EXPECT_EQ(Snapshot(), before) << "one undo step";
        }
    }
}

}  // namespace
