// Drawing conventions of the rod-handling object against the host: snap mode texts, bar layers and
// their colours, reading a bar's vertices back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "module/rods/obsluga_preta.h"

namespace {

TEST(RodConventions, SnapModeTexts) {
    const struct {
        int osmode;
        const char* text;
    } cases[] = {{0, "off"}, {3, "END, mid"},   {512, "nea"},
                 {2048, ""}, {2048 + 4, "cen"}, {1 | 4 | 8 | 16 | 4096, "END, cen, po, qua, pla"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CObslugaPreta::SnapModeText(c.osmode), c.text) << c.osmode;
    }
}

int LayerColour(const char* name) {
    resbuf* entry = sds_tblsearch("LAYER", name, 0);
    int colour = -1;
    for (resbuf* rb = entry; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 62) {
            colour = rb->resval.rint;
        }
    }
    sds_relrb(entry);
    return colour;
}

TEST(RodConventions, BarLayersAreMadeOnceWithTheirColour) {
    host::NewDrawing();
    CObslugaPreta rod(nullptr);
    EXPECT_EQ(rod.EnsureBarLayer(8.0), "Zbrojenie");
    EXPECT_EQ(rod.EnsureBarLayer(12.0), "Zbrojenie główne");
    EXPECT_EQ(rod.EnsureBarLayer(11.999), "Zbrojenie");
    EXPECT_EQ(rod.EnsureBarLayer(40.0), "Zbrojenie główne");
    EXPECT_EQ(LayerColour("Zbrojenie"), 5);
    EXPECT_EQ(LayerColour("Zbrojenie główne"), 2);

    host::NewDrawing();
    CSDSLayer layer;
    ASSERT_EQ(layer.Create("Zbrojenie", 3), RTNORM);
    EXPECT_EQ(rod.EnsureBarLayer(10.0), "Zbrojenie");
    EXPECT_EQ(LayerColour("Zbrojenie"), 3) << "an existing layer keeps its colour";
}

TEST(RodConventions, LoadRodVerticesReadsWhatThePolylineHolds) {
    host::NewDrawing();
    std::vector<CSDSPointExt> made = {{0, 0, 0}, {50, 0, 0}, {50, 40, 0}};
    made[1].bulge = 0.5;
    made[2].startWidth = 1.0;
    made[2].endWidth = 2.0;
    CSDSPolyLine polyline;
    ASSERT_EQ(polyline.Create(made, false, "0", "CONTINUOUS", 256), RTNORM);
    sds_name bar;
    ASSERT_EQ(sds_entlast(bar), RTNORM);
    std::vector<CSDSPointExt> read = {{9, 9, 9}};
    ASSERT_EQ(CObslugaPreta::LoadRodVertices(bar, read), 1);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_DOUBLE_EQ(read[1].x, 50.0);
    EXPECT_DOUBLE_EQ(read[1].bulge, 0.5);
    EXPECT_DOUBLE_EQ(read[2].y, 40.0);
    EXPECT_DOUBLE_EQ(read[2].startWidth, 1.0);
    EXPECT_DOUBLE_EQ(read[2].endWidth, 2.0);

    // Something that is not a polyline reads as no vertices.
    sds_point a = {0, 0, 0};
    sds_point b = {10, 0, 0};
    CSDSLine line;
    ASSERT_EQ(line.Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_name lineName;
    ASSERT_EQ(sds_entlast(lineName), RTNORM);
    EXPECT_EQ(CObslugaPreta::LoadRodVertices(lineName, read), 0);
    EXPECT_TRUE(read.empty());
}

TEST(RodConventions, NearTestsUseOneHundredthOfTheViewHeight) {
    host::NewDrawing();  // VIEWSIZE 1000
    EXPECT_DOUBLE_EQ(CObslugaPreta::PickTolerance(), 10.0);
    sds_point a = {0, 0, 0};
    sds_point b = {100, 0, 0};
    sds_point pick = {50, 10, 0};
    sds_point nearest;
    EXPECT_EQ(CObslugaPreta::IsNearSegment(a, b, pick, nearest), 1);
    pick[1] = 10.5;
    EXPECT_EQ(CObslugaPreta::IsNearSegment(a, b, pick, nearest), 0);
}

}  // namespace
