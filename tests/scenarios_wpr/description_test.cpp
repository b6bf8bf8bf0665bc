// A description of a bar made by WPR on a real drawing, read back piece by piece against
// positions worked by hand, redrawn and deleted, and the texts found again through their records.
#include <string>
#include <vector>

#include "host/drawing/document.h"
#include "module/entities/resbuf_util.h"
#include "tests/scenarios_wpr/wpr_kit.h"

namespace {

using namespace wpr_kit;

// The entities made after the first one (the bar), in the order of making.
std::vector<Piece> PiecesAfterTheBar(sds_name bar) {
    const std::vector<std::string> handles = testkit::LiveHandles();
    std::vector<Piece> pieces;
    for (size_t i = 0; i < handles.size(); ++i) {
        sds_name entity = {0, 0};
        sds_handent(handles[i].c_str(), i == 0 ? bar : entity);
        if (i > 0) {
            pieces.push_back(Read(entity));
        }
    }
    return pieces;
}

double Real(const resbuf* list, int group) {
    const resbuf* node = rblist::Find(list, group);
    return node == nullptr ? -1.0 : node->resval.rreal;
}

// 12 mm ribbed, spacing 15, count 1, text height 5, bar length 250.4: main text
// "12 co 15 L= 250" of 15 characters, wm = 56.25, H = (wm + 4.5 h) / 2 = 39.375, wn = 3.75.
// Along the reading direction from the midpoint: main and sign at H - wm = -16.875, count at
// -31.875, number and circle at -(H + wn - 0.5 h) = -40.625; across, 2.5 to the left and the
// circle's centre 5. Then redrawn with a new number, and deleted.
TEST(DescriptionOnDrawing, PiecesOfABarDescriptionAsWorkedByHand) {
    const struct {
        const char* name;
        const char* from;
        const char* to;
        sds_point pick;
        double mid[2];
        double u[2];  // reading direction
        double rotation;
    } cases[] = {
        // clang-format off
        {"left to right", "0,0", "250.4,0", {100, 2, 0}, {125.2, 0}, {1, 0}, 0.0},
        {"right to left reads left to right", "250.4,0", "0,0", {100, -2, 0}, {125.2, 0}, {1, 0}, 0},
        {"downwards reads upwards", "0,250.4", "0,0", {1, 60, 0}, {0, 125.2}, {0, 1}, kPi / 2},
        // clang-format on
    };
    const struct {
        const char* type;
        const char* text;
        double along, across;
        int horizontal;
        const char* tag;
    } expected[] = {
        {"TEXT", "12 co 15 L= 250", -16.875, 2.5, 0, "Opis"},
        {"TEXT", "# ", -16.875, 2.5, 2, "Opis"},
        {"TEXT", "", -31.875, 2.5, 2, "Opis"},
        {"TEXT", "1", -40.625, 2.5, 1, "Opis-Nr"},
        {"CIRCLE", "", -40.625, 5.0, -1, "Opis"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWpr({"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 0", "PANEL spacing 15",
                "PANEL count 1", "PANEL letter 5", "WPR", c.from, c.to, ""});
        sds_name bar = {0, 0};
        ASSERT_TRUE(PiecesAfterTheBar(bar).empty());
        std::vector<CSDSPointExt> vertices;
        ASSERT_EQ(CObslugaPreta::LoadRodVertices(bar, vertices), 1);
        const long live = host::LiveResbufCount();
        CObslugaPreta rod(ModulePanel());
        ASSERT_EQ(rod.DrawDescription(bar, c.pick, vertices, 1, 1, 12.0), 1);
        sds_point far = {1000, 1000, 0};
        EXPECT_EQ(rod.DrawDescription(bar, far, vertices, 1, 1, 12.0), 0) << "pick near no segment";
        const auto pieces = PiecesAfterTheBar(bar);
        ASSERT_EQ(pieces.size(), 5u);
        const double v[2] = {-c.u[1], c.u[0]};
        for (size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            const Piece& p = pieces[i];
            const auto& e = expected[i];
            EXPECT_EQ(p.type, e.type);
            EXPECT_EQ(p.text, e.text);
            EXPECT_EQ(p.layer, "Opisy prętów");
            EXPECT_NEAR(p.at[0], c.mid[0] + e.along * c.u[0] + e.across * v[0], 1e-9);
            EXPECT_NEAR(p.at[1], c.mid[1] + e.along * c.u[1] + e.across * v[1], 1e-9);
            EXPECT_EQ(p.link.type, e.tag);
            EXPECT_EQ(p.link.owner, EntityHandle(bar));
            EXPECT_EQ(p.link.point[0], c.pick[0]);
            EXPECT_EQ(p.link.point[1], c.pick[1]);
            EXPECT_DOUBLE_EQ(p.height, 5.0) << "text height or circle radius";
            if (p.type == "TEXT") {
                EXPECT_EQ(p.horizontal, e.horizontal);
                EXPECT_EQ(p.vertical, 0);
                EXPECT_NEAR(p.rotation, c.rotation, 1e-12);
                EXPECT_EQ(p.style, "STANDARD");
            }
        }
        // Redrawing puts it at the anchor with the number given; deleting takes all 5 pieces.
        sds_point anchor;
        EXPECT_EQ(rod.DescriptionAnchor(bar, vertices, anchor), 0) << "the only segment";
        EXPECT_NEAR(anchor[0], c.mid[0], 1e-9);
        EXPECT_NEAR(anchor[1], c.mid[1], 1e-9);
        ASSERT_EQ(rod.RedrawDescription(bar, vertices, 3), 1);
        EXPECT_EQ(TextsTagged("Opis-Nr"), std::vector<std::string>{"3"});
        EXPECT_EQ(rod.DeleteDescription(bar), 5);
        EXPECT_EQ(rod.DeleteDescription(bar), 0);
        EXPECT_EQ(rod.RedrawDescription(bar, vertices, 3), 0) << "no description, none drawn";
        EXPECT_EQ(testkit::LiveEntities().size(), 1u);
        EXPECT_EQ(host::LiveResbufCount(), live) << "a result buffer leaked";
        EXPECT_CLEAN_AUDIT();
    }
    // The layer made for descriptions takes colour 7; the symbol style its fixed values.
    rblist::Owned layer(sds_tblsearch("LAYER", "Opisy prętów", 0));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(rblist::Find(layer.get(), 62)->resval.rint, 7);
    rblist::Owned style(sds_tblsearch("STYLE", "ORV_SYMBOLE", 0));
    ASSERT_NE(style, nullptr);
    const std::pair<int, double> reals[] = {{40, 10.0}, {41, 1.0}, {50, 0.0}, {42, 0.2}};
    for (const auto& [group, value] : reals) {
        EXPECT_DOUBLE_EQ(Real(style.get(), group), value) << group;
    }
    EXPECT_EQ(rblist::Text(rblist::Find(style.get(), 3)), "ORV-symbole.shx");
}

}  // namespace
