// The input calls as the module meets them: initget conditions, keywords, Enter and Esc,
// refusals that ask again, the end of the input, the cut-off of a loop that keeps asking,
// and pick prompts against a drawing made by the built-ins.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "host/console/input_sources.h"
#include "host/console/prompts.h"
#include "host/host.h"
#include "host/sds.h"
#include "platform/console.h"
#include "tests/support/scenario.h"

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

TEST_F(Prompts, GetstringKeepsOrCutsBlanksAndNeverOverflows) {
    std::string longLine(2000, 'x');
    Feed({"ala ma kota", "ala ma kota", "", longLine, "^C"});
    char text[512];
    ASSERT_EQ(sds_getstring(1, "S: ", text), RTNORM);
    EXPECT_STREQ(text, "ala ma kota");
    ASSERT_EQ(sds_getstring(0, "S: ", text), RTNORM);
    EXPECT_STREQ(text, "ala");
    ASSERT_EQ(sds_getstring(1, "S: ", text), RTNORM);
    EXPECT_STREQ(text, "");
    ASSERT_EQ(sds_getstring(1, "S: ", text), RTNORM);
    EXPECT_EQ(std::strlen(text), 511u);
    EXPECT_EQ(sds_getstring(1, "S: ", text), RTCAN);
}

// A drawing with a line along the X axis (0,0)-(100,0) and a circle at (500,500) radius 10.
class Picks : public Prompts {
  protected:
    void SetUp() override {
        testkit::RunScenario({"LINE", "0,0", "100,0", "", "CIRCLE", "500,500", "10"});
        ASSERT_EQ(sds_entnext(nullptr, line_), RTNORM);
        ASSERT_EQ(sds_entnext(line_, circle_), RTNORM);
        Prompts::SetUp();
    }
    sds_name line_ = {0, 0}, circle_ = {0, 0};
};

TEST_F(Picks, PickReturnsTheEntityNearThePointOrRefusesAMiss) {
    Feed({"50,1", "300,300", "510,500", "", "^C", "o"});
    sds_name e = {0, 0};
    sds_point at;
    ASSERT_EQ(sds_entsel("\nWybierz: ", e, at), RTNORM);
    EXPECT_EQ(e[0], line_[0]);
    EXPECT_EQ(At(at), (Xyz{50, 1, 0}));
    sds_matrix m;
    struct resbuf sentinel {};
    struct resbuf* nesting = &sentinel;  // must be overwritten with "no nesting"
    EXPECT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTERROR);
    EXPECT_EQ(nesting, nullptr);
    EXPECT_NE(out_.find("Wybierz: 300,300\nNie wybrano obiektu.\n"), std::string::npos) << out_;
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTNORM);
    EXPECT_EQ(e[0], circle_[0]);
    EXPECT_DOUBLE_EQ(m[0][0], 1.0);
    EXPECT_DOUBLE_EQ(m[0][1], 0.0);
    EXPECT_EQ(sds_entsel("\nWybierz: ", e, at), RTNONE);
    EXPECT_EQ(sds_entsel("\nWybierz: ", e, at), RTCAN);
    sds_initget(0, "Odsuń");
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 0, m, &nesting), RTKWORD);
    char word[512];
    ASSERT_EQ(sds_getinput(word), RTNORM);
    EXPECT_STREQ(word, "Odsuń");
    // Flag 1: the given point is used without asking.
    Feed({"should stay unread"});
    out_.clear();
    at[0] = 100.0;
    at[1] = 2.0;
    ASSERT_EQ(sds_nentselp("\nWybierz: ", e, at, 1, m, nullptr), RTNORM);
    EXPECT_EQ(e[0], line_[0]);
    EXPECT_EQ(out_, "");
}

}  // namespace
