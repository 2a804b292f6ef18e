#include "text/quoted_text.h"

#include <gtest/gtest.h>

using namespace tarnel;

TEST(QuotedTextTest, a_text_is_shown_as_valid_utf8_on_one_line_and_cut_short_between_characters)
{
    EXPECT_EQ(tarnel::quoted("4,7 k\u03a9"), "\"4,7 k\u03a9\"");
    EXPECT_EQ(tarnel::quoted("5\xff"), "\"5\\xFF\"");
    EXPECT_EQ(tarnel::quoted("a\tb\x7f"), "\"a\\x09b\\x7F\"");
    EXPECT_EQ(tarnel::quoted("\xe2\x82 1"), "\"\\xE2\\x82 1\""); // cut short
    EXPECT_EQ(tarnel::quoted("\xc0\xaf"), "\"\\xC0\\xAF\"");     // overlong
    EXPECT_EQ(tarnel::quoted("\xed\xa0\x80"), "\"\\xED\\xA0\\x80\""); // a surrogate
    EXPECT_EQ(tarnel::quoted("\xf4\x90\x80\x80"), "\"\\xF4\\x90\\x80\\x80\""); // past U+10FFFF
    EXPECT_EQ(tarnel::quoted("\xf0\x9f\x94\x8c"), "\"\xf0\x9f\x94\x8c\"");
    EXPECT_EQ(tarnel::quoted(std::string(39, 'x') + "\u20ac" + "y"), "\"" + std::string(39, 'x') + "\u20ac\u2026\"");
    EXPECT_EQ(tarnel::escaped(std::string(50, 'x') + "\xff.txt"), std::string(50, 'x') + "\\xFF.txt");
    // What shows as a blank or as nothing is written out, so no refused text looks like one that reads.
    EXPECT_EQ(tarnel::quoted("10\u2009k\u00a0\u200b\ufeff\u2126"), "\"10\\u2009k\\u00A0\\u200B\\uFEFF\u2126\"");
    EXPECT_EQ(tarnel::quoted("\u0085\u3000"), "\"\\u0085\\u3000\"");
}
