// Case folding and UTF-8 decoding of the names users type for controls.
#include <gtest/gtest.h>

#include "platform/text_util.h"
#include "platform/utf8.h"

namespace platform::text {
namespace {

TEST(TextTest, DecodesOnlyWellFormedSequences) {
    struct Case {
        const char* bytes;
        std::size_t length;  // 0: not a character
        char32_t cp;
    } cases[] = {
        {"a", 1, U'a'},
        {"ł", 2, 0x142},
        {"⌀", 3, 0x2300},
        {"\xF0\x9F\x98\x80", 4, 0x1F600},
        {"\xC1\x81", 0, 0},          // "A" written overlong
        {"\xE0\x80\xAF", 0, 0},      // "/" written overlong
        {"\xED\xA0\x80", 0, 0},      // a surrogate
        {"\xF4\x90\x80\x80", 0, 0},  // above U+10FFFF
        {"\xC5", 0, 0},              // cut short
        {"\xC5\x41", 0, 0},          // no continuation byte
        {"\x80", 0, 0},              // a stray continuation byte
    };
    for (const Case& c : cases) {
        char32_t cp = 0;
        EXPECT_EQ(utf8::Decode(c.bytes, 0, cp), c.length) << c.bytes;
        if (c.length != 0) {
            EXPECT_EQ(cp, c.cp) << c.bytes;
        }
    }
    std::string out;
    for (char32_t cp : {char32_t{0x142}, char32_t{0xD800}, char32_t{0x110000}}) {
        utf8::Append(out, cp);
    }
    EXPECT_EQ(out, "ł\uFFFD\uFFFD");
}

// Capitals and small letters are pairs; folding and upper case change Polish and Latin
// letters only, and broken or overlong UTF-8 passes through as its bytes.
TEST(TextTest, CapitalsAndSmallLettersArePairs) {
    for (char32_t cp = 0; cp < 0x250; ++cp) {
        const char32_t lower = utf8::Lower(cp);
        if (lower != cp) {
            EXPECT_EQ(utf8::Upper(lower), cp) << static_cast<unsigned>(cp);
            EXPECT_TRUE(utf8::IsCapital(cp)) << static_cast<unsigned>(cp);
            EXPECT_FALSE(utf8::IsCapital(lower)) << static_cast<unsigned>(cp);
        }
    }
    // The multiplication sign has no case.
    EXPECT_EQ(Fold("ĄĆĘŁŃÓŚŹŻ ąż RB500W ÄÖÜ×Ÿ ⌀ 12"), "ąćęłńóśźż ąż rb500w äöü×ÿ ⌀ 12");
    EXPECT_EQ(Fold("\xff\xc5"), "\xff\xc5");
    EXPECT_EQ(Fold("\xC1\x81"), "\xC1\x81");  // an overlong "A" cannot pass for "a"
    EXPECT_EQ(Upper("ąćęłńóśźż ÿ rb500w ß"), "ĄĆĘŁŃÓŚŹŻ Ÿ RB500W ß");
    EXPECT_EQ(Upper("\xC1\xA1"), "\xC1\xA1");  // an overlong "a" stays as its bytes
}

}  // namespace
}  // namespace platform::text
