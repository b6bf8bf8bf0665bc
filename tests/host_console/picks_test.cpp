// Pick prompts and dragging against a drawing made by the built-ins, and the help viewer.
#include <gtest/gtest.h>

#include <memory>

#include "host/input_sources.h"
#include "host/prompts.h"
#include "host/sds.h"
#include "platform/console.h"
#include "tests/support/scenario.h"

namespace {

void Capture(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

// A drawing with a line along the X axis (0,0)-(100,0) and a circle at (500,500) radius 10;
// then the given lines answer the prompts of the test body.
class Picks : public ::testing::Test {
  protected:
    void SetUp() override {
        testkit::RunScenario({"LINE", "0,0", "100,0", "", "CIRCLE", "500,500", "10"});
        std::vector<testkit::EntityDump> live = testkit::LiveEntities();
        ASSERT_EQ(live.size(), 2u);
        lineHandle_ = live[0].handle;
        circleHandle_ = live[1].handle;
        host::ResetPromptState();
        platform::SetOutputSink(Capture, &out_);
    }
    void TearDown() override {
        platform::SetLineInput(nullptr);
        platform::SetOutputSink(nullptr, nullptr);
    }
    void Feed(std::vector<std::string> lines) {
        input_ = std::make_unique<host::MemoryInput>(std::move(lines));
        platform::SetLineInput(input_.get());
    }
    static std::string Handle(const sds_name e) {
        struct resbuf* list = sds_entget(e);
        std::string h;
        for (struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
            if (rb->restype == 5) {
                h = rb->resval.rstring;
            }
        }
        sds_relrb(list);
        return h;
    }
    std::string out_;
    std::string lineHandle_;
    std::string circleHandle_;
    std::unique_ptr<host::MemoryInput> input_;
};

TEST_F(Picks, PickReturnsTheEntityNearThePointOrRefusesAMiss) {
    Feed({"50,1", "300,300", "510,500", "", "^C", "o"});
    sds_name e = {0, 0};
    sds_point at;
    ASSERT_EQ(sds_entsel("\nWybierz: ", e, at), RTNORM);
    EXPECT_EQ(Handle(e), lineHandle_);
    EXPECT_DOUBLE_EQ(at[0], 50.0);
    EXPECT_DOUBLE_EQ(at[1], 1.0);
    sds_matrix m;
    struct resbuf sentinel {};
    struct resbuf* nesting = &sentinel;  // must be overwritten with "no nesting"
    EXPECT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTERROR);
    EXPECT_EQ(nesting, nullptr);
    EXPECT_NE(out_.find("Wybierz: 300,300\nNie wybrano obiektu.\n"), std::string::npos) << out_;
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTNORM);
    EXPECT_EQ(Handle(e), circleHandle_);
    EXPECT_DOUBLE_EQ(m[0][0], 1.0);
    EXPECT_DOUBLE_EQ(m[0][1], 0.0);
    EXPECT_EQ(sds_entsel("\nWybierz: ", e, at), RTNONE);
    EXPECT_EQ(sds_entsel("\nWybierz: ", e, at), RTCAN);
    sds_initget(0, "Odsuń");
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTKWORD);
    char word[512];
    ASSERT_EQ(sds_getinput(word), RTNORM);
    EXPECT_STREQ(word, "Odsuń");
}

TEST_F(Picks, PickFlagUsesTheGivenPointWithoutAsking) {
    Feed({"should stay unread"});
    sds_name e = {0, 0};
    sds_point at = {100.0, 2.0, 0.0};
    sds_matrix m;
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 1, m, nullptr), RTNORM);
    EXPECT_EQ(Handle(e), lineHandle_);
    EXPECT_EQ(out_, "");
}

sds_point g_seen;
int g_calls = 0;
int Follow(sds_point p, sds_matrix m) {
    g_seen[0] = p[0];
    g_seen[1] = p[1];
    ++g_calls;
    m[0][3] = p[0];  // a translation, as a dragging module would give
    return RTNORM;
}

TEST_F(Picks, DraggenShowsEachGivenPositionToTheCallbackAndReturnsIt) {
    Feed({"12,34", "^C", "0,0"});
    sds_name set = {0, 0};
    ASSERT_EQ(sds_ssget("X", nullptr, nullptr, nullptr, set), RTNORM);
    g_calls = 0;
    sds_point result;
    ASSERT_EQ(sds_draggen(set, "\nNowe współrzędne:", 0, Follow, result), RTNORM);
    EXPECT_EQ(g_calls, 1);
    EXPECT_DOUBLE_EQ(g_seen[0], 12.0);
    EXPECT_DOUBLE_EQ(result[1], 34.0);
    EXPECT_EQ(sds_draggen(set, "\nNowe współrzędne:", 0, Follow, result), RTCAN);
    EXPECT_EQ(g_calls, 1);
    sds_ssfree(set);
    // A set that no longer exists is refused without reading an answer.
    EXPECT_EQ(sds_draggen(set, "\nNowe współrzędne:", 0, Follow, result), RTERROR);
    EXPECT_EQ(g_calls, 1);
}

TEST_F(Picks, HelpViewerFindsTheDocumentOfAHelpFile) {
    Feed({});
    EXPECT_EQ(sds_help("ArmavoCAD.chm", "", 0), RTNORM);
    EXPECT_NE(out_.find("Pomoc: "), std::string::npos);
    EXPECT_NE(out_.find("/docs/ArmavoCAD.md\n"), std::string::npos) << out_;
    EXPECT_EQ(sds_help("Brak.chm", "", 0), RTERROR);
    EXPECT_NE(out_.find("Brak pliku pomocy: "), std::string::npos);
    EXPECT_EQ(sds_help(nullptr, nullptr, 0), RTERROR);
}

}  // namespace
