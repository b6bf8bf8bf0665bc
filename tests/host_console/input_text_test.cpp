// Classifying typed lines and matching keywords: Polish letters, case, abbreviations.
#include "host/console/input_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using host::Answer;

TEST(Keywords, PolishCapitalsFormAbbreviationsAndFullWordsWinOverThem) {
    EXPECT_EQ(host::KeywordAbbreviation("zAmień_polilinię"), "A");
    EXPECT_EQ(host::KeywordAbbreviation("pIonowy"), "I");
    EXPECT_EQ(host::KeywordAbbreviation("Ąbc_Łódź"), "ĄŁ");
    EXPECT_EQ(host::KeywordAbbreviation("odsuń"), "");
    std::vector<std::string> list = host::SplitKeywords("ąŁ Ał ał");
    EXPECT_EQ(*host::MatchKeyword(list, "ĄŁ"), "ąŁ");  // full word (folded) before capitals
    EXPECT_EQ(*host::MatchKeyword(list, "ał"), "Ał");  // the earlier of two equal words
    // A keyword without capitals needs its full text.
    std::vector<std::string> plain = host::SplitKeywords("odsuń tak");
    EXPECT_FALSE(host::MatchKeyword(plain, "o").has_value());
    EXPECT_EQ(*host::MatchKeyword(plain, "ODSUŃ"), "odsuń");
}

TEST(Answers, ClassifyEachLineForm) {
    struct Case {
        const char* line;
        Answer::Kind kind;
        double a, b, c;  // point or number
        bool relative;
    };
    const Case cases[] = {
        {"", Answer::Kind::Enter, 0, 0, 0, false},
        {"   ", Answer::Kind::Enter, 0, 0, 0, false},
        {" -1.5 , 2e1 ,3", Answer::Kind::Point, -1.5, 20, 3, false},
        {"+7", Answer::Kind::Number, 7, 0, 0, false},
        {"1,2,3,4", Answer::Kind::Text, 0, 0, 0, false},
        {"1,", Answer::Kind::Text, 0, 0, 0, false},
        {"1e999", Answer::Kind::Text, 0, 0, 0, false},
        {"--3", Answer::Kind::Text, 0, 0, 0, false},
        {"12abc", Answer::Kind::Text, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        Answer a = host::ClassifyAnswer(c.line);
        EXPECT_EQ(a.kind, c.kind) << c.line;
        if (c.kind == Answer::Kind::Point) {
            EXPECT_DOUBLE_EQ(a.point[0], c.a) << c.line;
            EXPECT_DOUBLE_EQ(a.point[1], c.b) << c.line;
            EXPECT_DOUBLE_EQ(a.point[2], c.c) << c.line;
            EXPECT_EQ(a.relative, c.relative) << c.line;
        } else if (c.kind == Answer::Kind::Number) {
            EXPECT_DOUBLE_EQ(a.number, c.a) << c.line;
        }
    }
    EXPECT_TRUE(host::ClassifyAnswer("7").whole);
    EXPECT_FALSE(host::ClassifyAnswer("7.0").whole);
}

TEST(Answers, CopyToBufferNeverSplitsACharacter) {
    char buffer[6];
    host::CopyToBuffer("abcdę", buffer, sizeof buffer);  // ę is two bytes: 6 bytes in all
    EXPECT_STREQ(buffer, "abcd");
    host::CopyToBuffer("abę", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abę");
    host::CopyToBuffer("x", buffer, 1);
    EXPECT_STREQ(buffer, "");
}

}  // namespace
