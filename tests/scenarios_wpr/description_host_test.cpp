// Descriptions, leader texts and segment dimensions made on a real drawing, and found again
// through their records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/document.h"
#include "module/rods/obsluga_preta.h"
#include "tests/support/audit.h"

namespace {

const char* const kKey = "ORV_ARMAVO";

struct Made {
    sds_name name = {0, 0};
};

Made MakeBar(const std::vector<CSDSPointExt>& vertices, int number, int steel) {
    Made bar;
    CSDSPolyLine polyline;
    EXPECT_EQ(polyline.Create(vertices, false, "Zbrojenie", "CONTINUOUS", 256), RTNORM);
    sds_entlast(bar.name);
    CRodXDataParameters record;
    record.type = "Pręt";
    record.ordinal = number;
    record.diameter = 1.0;
    record.hooks = 0;
    record.number = number;
    record.steel = steel;
    record.rounded = 0;
    record.flag = 0;
    CSDSXDataPret xdata;
    sds_name dictionary;
    xdata.EnsureExtensionDictionary(bar.name, dictionary);
    xdata.WriteRodRecord(dictionary, kKey, record);
    return bar;
}

Made MakeLinkedText(const std::string& content, const std::string& tag, const sds_name bar) {
    Made made;
    CSDSText text;
    sds_point at = {0, -50, 0};
    EXPECT_EQ(text.Create(content, at, 5, 0, "STANDARD", 0, 0, at, 0, "0", 256), RTNORM);
    sds_entlast(made.name);
    CSDSXDataPret xdata;
    sds_name dictionary;
    xdata.EnsureExtensionDictionary(made.name, dictionary);
    xdata.WriteDescriptionLink(dictionary, kKey, tag, EntityHandle(bar), at);
    return made;
}

std::vector<std::string> TextsTagged(const std::string& tag) {
    std::vector<std::string> found;
    sds_name all;
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) {
        return found;
    }
    long length = 0;
    sds_sslength(all, &length);
    CSDSXDataPret xdata;
    for (long i = 0; i < length; ++i) {
        sds_name entity;
        sds_ssname(all, i, entity);
        CRodDescriptionLink link;
        xdata.ReadDescriptionLink(entity, kKey, link);
        if (link.type == tag) {
            found.push_back(CSDSText::GetString(entity));
        }
    }
    sds_ssfree(all);
    return found;
}

const std::vector<CSDSPointExt> kLBar = {{0, 0, 0}, {0, 100, 0}, {300, 100, 0}};

// Whatever the operations leave behind passes the drawing audit.
class DescriptionOnDrawing : public ::testing::Test {
  protected:
    void TearDown() override {
        if (auditAtEnd_) {
            EXPECT_CLEAN_AUDIT();
        }
    }
    bool auditAtEnd_ = true;
};

TEST_F(DescriptionOnDrawing, PiecesAreLinkedToTheirBarAndDeletedWithIt) {
    host::NewDrawing();
    CObslugaPreta rod(nullptr);
    // A bar numbered 7 by hand, alone: a gap no command would leave.
    auditAtEnd_ = false;
    const Made bar = MakeBar(kLBar, 7, 15);
    sds_point far = {500, 500, 0};
    EXPECT_EQ(rod.DrawDescription(bar.name, far, kLBar, 7, 1, 10.0), 0) << "pick near no segment";
    sds_point pick = {0, 50, 0};
    ASSERT_EQ(rod.DrawDescription(bar.name, pick, kLBar, 7, 2, 10.0), 1);
    EXPECT_EQ(TextsTagged("Opis-Nr"), std::vector<std::string>{"7"});
    // Main text, sign and count texts, and the circle carry the piece tag.
    std::vector<std::string> pieces = TextsTagged("Opis");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], "10 L= 400");
    EXPECT_EQ(pieces[1], "# ");
    EXPECT_EQ(pieces[2], "2");
    EXPECT_EQ(CSDSBaseClass::GetLayer(bar.name), "Zbrojenie");
    EXPECT_TRUE(CSDSTextStyle::Exists("ORV_SYMBOLE"));

    // Redrawing puts it on the longest level segment with the number given.
    std::vector<CSDSPointExt> vertices;
    ASSERT_EQ(CObslugaPreta::LoadRodVertices(bar.name, vertices), 1);
    ASSERT_EQ(rod.RedrawDescription(bar.name, vertices, 3), 1);
    EXPECT_EQ(TextsTagged("Opis-Nr"), std::vector<std::string>{"3"});
    sds_point anchor;
    EXPECT_EQ(rod.DescriptionAnchor(bar.name, vertices, anchor), 1);
    EXPECT_DOUBLE_EQ(anchor[0], 150.0);
    EXPECT_DOUBLE_EQ(anchor[1], 100.0);

    EXPECT_EQ(rod.DeleteDescription(bar.name), 5);
    EXPECT_TRUE(TextsTagged("Opis").empty());
    EXPECT_EQ(rod.DeleteDescription(bar.name), 0);
    EXPECT_EQ(rod.RedrawDescription(bar.name, vertices, 3), 0) << "no description, none drawn";
    EXPECT_TRUE(TextsTagged("Opis-Nr").empty());
}

TEST_F(DescriptionOnDrawing, LeaderTextsFollowNumberAndReplacingBar) {
    host::NewDrawing();
    CObslugaPreta rod(nullptr);
    // Bars numbered 4 by hand, alone: a gap no command would leave.
    auditAtEnd_ = false;
    const Made bar = MakeBar(kLBar, 4, 0);
    const Made number = MakeLinkedText("9", "OpisOdn-Nr", bar.name);
    MakeLinkedText("?", "OpisOdn-Fi", bar.name);
    MakeLinkedText("?", "OpisOdn-Dl", bar.name);

    rod.UpdateLeaderTexts(bar.name, true, false, kLBar, nullptr);
    EXPECT_EQ(TextsTagged("OpisOdn-Nr"), std::vector<std::string>{"4"});
    EXPECT_EQ(TextsTagged("OpisOdn-Fi"), std::vector<std::string>{"?"}) << "texts flag off";

    const Made replacement = MakeBar({{0, 0, 0}, {250, 0, 0}}, 4, 0);
    rod.UpdateLeaderTexts(bar.name, false, true, {{0, 0, 0}, {250, 0, 0}}, replacement.name);
    EXPECT_EQ(TextsTagged("OpisOdn-Fi"), std::vector<std::string>{"%%c "});
    EXPECT_EQ(TextsTagged("OpisOdn-Dl"), std::vector<std::string>{"10 L= 250"});
    CSDSXDataPret xdata;
    CRodDescriptionLink link;
    xdata.ReadDescriptionLink(number.name, kKey, link);
    EXPECT_EQ(link.owner, EntityHandle(replacement.name));
    EXPECT_EQ(link.type, "OpisOdn-Nr");
}

TEST_F(DescriptionOnDrawing, SegmentDimensionTextIsLinkedToItsBar) {
    host::NewDrawing();
    CObslugaPreta rod(nullptr);
    const Made bar = MakeBar(kLBar, 1, 15);
    sds_point a = {300, 100, 0};
    sds_point b = {0, 100, 0};
    rod.DrawSegmentDimension(bar.name, a, b, 0.0, 4.0);
    sds_name made;
    ASSERT_EQ(sds_entlast(made), RTNORM);
    EXPECT_EQ(CSDSText::GetString(made), "300");
    EXPECT_EQ(CSDSBaseClass::GetLayer(made), "Wymiary prętów");
    EXPECT_DOUBLE_EQ(CSDSText::GetHeight(made), 4.0);
    std::string type;
    std::string owner;
    CSDSXDataPret().ReadDimensionLink(made, kKey, type, owner);
    EXPECT_EQ(type, "Wymiary");
    EXPECT_EQ(owner, EntityHandle(bar.name));
}

}  // namespace
