// The input calls as the module meets them: points, initget conditions, keywords, Enter and
// Esc, refusals that ask again. (Picks run through the EDPR selection scenarios.)
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "host/console/input_sources.h"
#include "host/console/prompts.h"
#include "host/sds.h"
#include "platform/console.h"

namespace {

void Capture(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

// The calls under test read the fed lines and print into out_.
class Prompts : public ::testing::Test {
  protected:
    void Feed(std::vector<std::string> lines) {
        input_ = std::make_unique<host::MemoryInput>(std::move(lines));
        platform::SetLineInput(input_.get());
    }
    void SetUp() override {
        host::ResetPromptState();
        host::ResetOutputColumn();
        platform::SetOutputSink(Capture, &out_);
    }
    void TearDown() override {
        platform::SetLineInput(nullptr);
        platform::SetOutputSink(nullptr, nullptr);
    }
    std::string out_;
    std::unique_ptr<host::MemoryInput> input_;
};

using Xyz = std::vector<double>;
Xyz At(const sds_point p) {
    return {p[0], p[1], p[2]};
}

TEST_F(Prompts, PointsAbsoluteRelativeAndNumbersRefusedAtAPointPrompt) {
    Feed({"@5,-2", "7", "5,6,7", "@1,1"});
    sds_point base = {10.0, 10.0, 1.0};
    sds_point p;
    ASSERT_EQ(sds_getpoint(base, "P: ", p), RTNORM);
    EXPECT_EQ(At(p), (Xyz{15, 8, 1}));
    ASSERT_EQ(sds_getpoint(base, "P: ", p), RTNORM);  // "7" refused, then 5,6,7 absolute
    EXPECT_EQ(At(p), (Xyz{5, 6, 7}));
    EXPECT_NE(out_.find("7\nNieprawidłowy punkt."), std::string::npos);
    // Without a base "@" is relative to the last point given.
    ASSERT_EQ(sds_getpoint(nullptr, "P: ", p), RTNORM);
    EXPECT_EQ(At(p), (Xyz{6, 7, 7}));
}

TEST_F(Prompts, EnterEscAndFlagsApplyToTheNextCallOnly) {
    Feed({"", "^C", "", "0", "-2", "2", "", "2.5", "4", "7.5"});
    sds_real r = 0;
    EXPECT_EQ(sds_getreal("R: ", &r), RTNONE);
    EXPECT_EQ(sds_getreal("R: ", &r), RTCAN);
    sds_initget(SDS_RSG_NONULL | SDS_RSG_NOZERO | SDS_RSG_NONEG, nullptr);
    ASSERT_EQ(sds_getreal("R: ", &r), RTNORM);  // "", "0" and "-2" refused, in that order
    EXPECT_DOUBLE_EQ(r, 2.0);
    EXPECT_NE(out_.find("R: \nWymagana odpowiedź.\nR: 0\nWartość musi być różna od zera.\n"
                        "R: -2\nWartość nie może być ujemna.\nR: 2\n"),
              std::string::npos)
        << out_;
    // The conditions were used up: Enter is accepted again.
    EXPECT_EQ(sds_getreal("R: ", &r), RTNONE);
    int i = 0;
    ASSERT_EQ(sds_getint("I: ", &i), RTNORM);  // 2.5 refused
    EXPECT_EQ(i, 4);
    EXPECT_NE(out_.find("2.5\nWymagana liczba całkowita."), std::string::npos);
    ASSERT_EQ(sds_getreal("R: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 7.5);
}

TEST_F(Prompts, KeywordsComeBackExactlyAsWrittenInTheList) {
    Feed({"a", "WYRZUĆ", "x", "?", "t", "Odsuń", "zmień", "99"});
    char word[512];
    sds_initget(0, "Wyrzuć zAmień_polilinię Tak");
    ASSERT_EQ(sds_getkword("K: ", word), RTNORM);
    EXPECT_STREQ(word, "zAmień_polilinię");
    char again[512];
    EXPECT_EQ(sds_getinput(again), RTNORM);
    EXPECT_STREQ(again, "zAmień_polilinię");

    sds_initget(0, "Wyrzuć zAmień_polilinię Tak");
    sds_point p;
    ASSERT_EQ(sds_getpoint(nullptr, "P: ", p), RTKWORD);
    ASSERT_EQ(sds_getinput(word), RTNORM);
    EXPECT_STREQ(word, "Wyrzuć");

    // "x" is no option: asked again with the host's message; "?" lists the options and asks
    // again; then "t" is "Tak".
    sds_initget(0, "Wyrzuć zAmień_polilinię Tak");
    ASSERT_EQ(sds_getkword("K: ", word), RTNORM);
    EXPECT_STREQ(word, "Tak");
    EXPECT_NE(out_.find("K: x\nNieprawidłowa opcja.\nK: ?\nOpcje: Wyrzuć zAmień_polilinię Tak\n"
                        "K: t\n"),
              std::string::npos)
        << out_;

    // Flag 128: other text is handed over as typed; keywords still match first.
    sds_initget(SDS_RSG_OTHER, "Zmień");
    ASSERT_EQ(sds_getpoint(nullptr, "P: ", p), RTKWORD);
    ASSERT_EQ(sds_getinput(word), RTNORM);
    EXPECT_STREQ(word, "Odsuń");
    sds_initget(SDS_RSG_OTHER, "Zmień");
    ASSERT_EQ(sds_getreal("R: ", nullptr), RTKWORD);
    ASSERT_EQ(sds_getinput(word), RTNORM);
    EXPECT_STREQ(word, "Zmień");
    // Without initget a keyword is not accepted: a number prompt takes 99 and getinput has
    // nothing to give.
    sds_real r = 0;
    ASSERT_EQ(sds_getreal("R: ", &r), RTNORM);
    EXPECT_EQ(sds_getinput(word), RTERROR);
    EXPECT_STREQ(word, "");
}

}  // namespace
