// The lists the entity wrappers make, read back from the drawing group by group: every code in
// its place and every literal value as the drawing format wants it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/document.h"
#include "host/resbuf_count.h"
#include "module/entities/hatch.h"
#include "module/entities/text.h"

namespace {

// The groups after the layer (8), subclass markers left out, as "code=value" texts.
std::vector<std::string> GroupsAfterLayer(const sds_name entity) {
    std::vector<std::string> out;
    resbuf* list = sds_entget(entity);
    bool started = false;
    for (const resbuf* node = list; node != nullptr; node = node->rbnext) {
        const int code = node->restype;
        if (!started) {
            started = code == 8;
            continue;
        }
        if (code == 100) {
            continue;
        }
        char value[96];
        if ((code >= 0 && code <= 9) || (code >= 300 && code <= 309)) {
            std::snprintf(value, sizeof value, "%s", node->resval.rstring);
        } else if (code >= 10 && code <= 17) {
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

class EntityLists : public ::testing::Test {
  protected:
    void SetUp() override {
        host::NewDrawing();
        live_ = host::LiveResbufCount();
    }
    void TearDown() override { EXPECT_EQ(host::LiveResbufCount(), live_); }
    long live_ = 0;
};

TEST_F(EntityLists, DiscIsASolidHatchOfTwoHalfCircles) {
    CSDSCircleHatch disc;
    sds_point centre = {2, 3, 0};
    ASSERT_EQ(disc.Create(centre, 0.5, "Opisy prętów", 256), RTNORM);
    sds_name made = {0, 0};
    ASSERT_EQ(sds_entlast(made), RTNORM);
    const std::vector<std::string> expected = {
        "62=256", "10=1.5,3,0", "2=SOLID", "70=1",       "71=0", "91=1",       "92=7",
        "72=1",   "73=1",       "93=2",    "10=2.5,3,0", "42=1", "10=1.5,3,0", "42=1",
        "97=0",   "75=0",       "76=1",    "47=0",       "98=1", "10=1.5,3,0"};
    EXPECT_EQ(GroupsAfterLayer(made), expected);
    sds_point read = {9, 9, 9};
    EXPECT_EQ(CSDSCircleHatch::GetCenter(made, read), RTNORM);
    EXPECT_DOUBLE_EQ(read[0], 2.0);
    EXPECT_DOUBLE_EQ(read[1], 3.0);
    EXPECT_DOUBLE_EQ(read[2], 0.0);
}

TEST_F(EntityLists, TextGroupsInTheirOrder) {
    CSDSText text;
    sds_point at = {1, 2, 0};
    ASSERT_EQ(
        text.Create("12 co 15 L= 250", at, 5, 0.5, "STANDARD", 0, 2, at, 3, "Opisy prętów", 256),
        RTNORM);
    sds_name made = {0, 0};
    ASSERT_EQ(sds_entlast(made), RTNORM);
    const std::vector<std::string> expected = {
        "62=256",     "10=1,2,0", "40=5", "1=12 co 15 L= 250", "50=0.5",
        "7=STANDARD", "71=0",     "72=2", "11=1,2,0",          "73=3"};
    EXPECT_EQ(GroupsAfterLayer(made), expected);
}

}  // namespace
