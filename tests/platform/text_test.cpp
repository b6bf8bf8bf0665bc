// Case folding and caption keys of the names users type for controls.
#include <gtest/gtest.h>

#include "platform/text_util.h"

namespace platform::text {
namespace {

TEST(TextTest, FoldsPolishAndLatinLettersOnly) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"ĄĆĘŁŃÓŚŹŻ", "ąćęłńóśźż"},
        {"ąćęłńóśźż", "ąćęłńóśźż"},
        {"RB500W", "rb500w"},
        {"ÄÖÜ×Ÿ", "äöü×ÿ"},  // the multiplication sign has no case
        {"⌀ 12", "⌀ 12"},
        {"\xff\xc5", "\xff\xc5"},  // broken UTF-8 passes through unchanged
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fold(c.in), c.out) << c.in;
    }
}

TEST(TextTest, CaptionKeysIgnoreMnemonicsColonAndBlanks) {
    EXPECT_EQ(CaptionKey("&Anuluj"), "anuluj");
    EXPECT_EQ(CaptionKey(" Średnica: "), "średnica");
    EXPECT_EQ(CaptionKey("Stal :"), "stal");
    EXPECT_EQ(CaptionKey("a::"), "a:");  // only one trailing colon goes
    EXPECT_EQ(CaptionKey("&&"), "");
}

TEST(TextTest, SplitsWordsParsesNumbersAndCharacters) {
    EXPECT_EQ(SplitWords("  set\t1008  20 "), (std::vector<std::string>{"set", "1008", "20"}));
    int v = 0;
    EXPECT_TRUE(ParseInt("+12", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(ParseInt("-3", v));
    EXPECT_EQ(v, -3);
    for (const char* bad : {"", "+", "1.5", "12a", "99999999999", " 1"}) {
        EXPECT_FALSE(ParseInt(bad, v)) << bad;
    }
    EXPECT_EQ(Utf8Chars("a,ł\xff"), (std::vector<std::string>{"a", ",", "ł", "\xff"}));
}

}  // namespace
}  // namespace platform::text
