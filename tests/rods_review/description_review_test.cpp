// A description drawn on a bar made by WPR, read back piece by piece: order of making, layer,
// style, alignments, rotation, positions worked by hand, and the record on every piece.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/resbuf_count.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/rods/obsluga_preta.h"
#include "platform/script_panel.h"
#include "tests/support/scenario.h"

namespace {

const char* const kKey = "ORV_ARMAVO";
const double kPi = std::acos(-1.0);

struct Piece {
    std::string type;
    std::string text;
    double at[3] = {0, 0, 0};
    double height = 0;
    double rotation = 0;
    int horizontal = -1;
    int vertical = -1;
    std::string style;
    std::string layer;
    CRodDescriptionLink link;
};

Piece Read(const sds_name entity) {
    Piece piece;
    rblist::Owned list(sds_entget(entity));
    piece.type = CSDSBaseClass::GetTypeName(list.get());
    for (const resbuf* node = list.get(); node != nullptr; node = node->rbnext) {
        switch (node->restype) {
            case 1:
                piece.text = rblist::Text(node);
                break;
            case 7:
                piece.style = rblist::Text(node);
                break;
            case 8:
                piece.layer = rblist::Text(node);
                break;
            case 10:
                rblist::CopyPoint(node->resval.rpoint, piece.at);
                break;
            case 40:
                piece.height = node->resval.rreal;
                break;
            case 50:
                piece.rotation = node->resval.rreal;
                break;
            case 72:
                piece.horizontal = node->resval.rint;
                break;
            case 73:
                piece.vertical = node->resval.rint;
                break;
            default:
                break;
        }
    }
    CSDSXDataPret().ReadDescriptionLink(entity, kKey, piece.link);
    return piece;
}

// The entities made after the first one (the bar), in the order of making.
std::vector<Piece> PiecesAfterTheBar(sds_name bar) {
    std::vector<Piece> pieces;
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) {
        return pieces;
    }
    long length = 0;
    sds_sslength(all, &length);
    sds_ssname(all, 0, bar);
    for (long i = 1; i < length; ++i) {
        sds_name entity = {0, 0};
        sds_ssname(all, i, entity);
        pieces.push_back(Read(entity));
    }
    sds_ssfree(all);
    return pieces;
}

// 12 mm ribbed, spacing 15, count 1, text height 5, bar length 250.4: main text
// "12 co 15 L= 250" of 15 characters, wm = 56.25, H = (wm + 4.5 h) / 2 = 39.375, wn = 3.75.
// Along the reading direction from the midpoint: main and sign at H - wm = -16.875, count at
// -31.875, number and circle at -(H + wn - 0.5 h) = -40.625; across, 2.5 to the left and the
// circle's centre 5.
TEST(DescriptionReview, PiecesOfABarDescriptionAsWorkedByHand) {
    const struct {
        const char* name;
        const char* from;
        const char* to;
        sds_point pick;
        double mid[2];
        double u[2];  // reading direction
        double rotation;
    } cases[] = {
        {"left to right", "0,0", "250.4,0", {100, 2, 0}, {125.2, 0}, {1, 0}, 0.0},
        {"right to left reads left to right",
         "250.4,0",
         "0,0",
         {100, -2, 0},
         {125.2, 0},
         {1, 0},
         0.0},
        {"downwards reads upwards", "0,250.4", "0,0", {1, 60, 0}, {0, 125.2}, {0, 1}, kPi / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testkit::ScenarioOptions options;
        options.entry = SDS_EntryPoint;
        host::RegisterVerb("PANEL", platform::HandlePanelCommand);
        testkit::RunScenario(
            {"PANEL diameter 12", "PANEL steel RB500W", "PANEL rounded 0", "PANEL spacing 15",
             "PANEL count 1", "PANEL letter 5", "WPR", c.from, c.to, ""},
            options);
        ASSERT_NE(ModulePanel(), nullptr);
        sds_name bar = {0, 0};
        ASSERT_TRUE(PiecesAfterTheBar(bar).empty());
        std::vector<CSDSPointExt> vertices;
        ASSERT_EQ(CObslugaPreta::LoadRodVertices(bar, vertices), 1);
        const long live = host::LiveResbufCount();
        {
            CObslugaPreta rod(ModulePanel());
            ASSERT_EQ(rod.DrawDescription(bar, c.pick, vertices, 1, 1, 12.0), 1);
            sds_point far = {1000, 1000, 0};
            EXPECT_EQ(rod.DrawDescription(bar, far, vertices, 1, 1, 12.0), 0);
        }
        EXPECT_EQ(host::LiveResbufCount(), live) << "a result buffer leaked";
        const auto pieces = PiecesAfterTheBar(bar);
        ASSERT_EQ(pieces.size(), 5u);
        const double v[2] = {-c.u[1], c.u[0]};
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
        const std::string handle = EntityHandle(bar);
        for (size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            const Piece& p = pieces[i];
            EXPECT_EQ(p.type, expected[i].type);
            EXPECT_EQ(p.text, expected[i].text);
            EXPECT_EQ(p.layer, "Opisy prętów");
            EXPECT_NEAR(p.at[0], c.mid[0] + expected[i].along * c.u[0] + expected[i].across * v[0],
                        1e-9);
            EXPECT_NEAR(p.at[1], c.mid[1] + expected[i].along * c.u[1] + expected[i].across * v[1],
                        1e-9);
            EXPECT_EQ(p.link.type, expected[i].tag);
            EXPECT_EQ(p.link.owner, handle);
            EXPECT_EQ(p.link.point[0], c.pick[0]);
            EXPECT_EQ(p.link.point[1], c.pick[1]);
            if (p.type == "TEXT") {
                EXPECT_EQ(p.horizontal, expected[i].horizontal);
                EXPECT_EQ(p.vertical, 0);
                EXPECT_DOUBLE_EQ(p.height, 5.0);
                EXPECT_NEAR(p.rotation, c.rotation, 1e-12);
                EXPECT_EQ(p.style, "STANDARD");
            } else {
                EXPECT_DOUBLE_EQ(p.height, 5.0) << "circle radius";
            }
        }
        // The layer made for descriptions takes colour 7; the symbol style its fixed values.
        rblist::Owned layer(sds_tblsearch("LAYER", "Opisy prętów", 0));
        ASSERT_NE(layer, nullptr);
        const resbuf* colour = rblist::Find(layer.get(), 62);
        ASSERT_NE(colour, nullptr);
        EXPECT_EQ(colour->resval.rint, 7);
        rblist::Owned style(sds_tblsearch("STYLE", "ORV_SYMBOLE", 0));
        ASSERT_NE(style, nullptr);
        const struct {
            int group;
            double value;
        } reals[] = {{40, 10.0}, {41, 1.0}, {50, 0.0}, {42, 0.2}};
        for (const auto& r : reals) {
            const resbuf* node = rblist::Find(style.get(), r.group);
            ASSERT_NE(node, nullptr) << r.group;
            EXPECT_DOUBLE_EQ(node->resval.rreal, r.value) << r.group;
        }
        const resbuf* font = rblist::Find(style.get(), 3);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(rblist::Text(font), "ORV-symbole.shx");
    }
}

}  // namespace
