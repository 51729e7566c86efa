#include "platform/cp932.h"

#include <gtest/gtest.h>

using namespace platform::cp932;

namespace {
// "ァ" is 83 40: its trail byte is "@". "ソ" is 83 5C: its trail byte is "\".
const std::string kSmallA = "\x83\x40";
const std::string kSo = "\x83\x5C";
} // namespace

TEST(Cp932Stepping, LeadBytesAreTheTwoRanges)
{
    EXPECT_FALSE(isLeadByte(0x80));
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0x9F));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_FALSE(isLeadByte(0xDF)); // half-width katakana are single bytes
    EXPECT_TRUE(isLeadByte(0xE0));
    EXPECT_TRUE(isLeadByte(0xFC));
    EXPECT_FALSE(isLeadByte(0xFD));
}

TEST(Cp932Stepping, TrailBytesAreNeverTakenForTheCharacterSought)
{
    EXPECT_EQ(findChar(kSmallA + "x@y", '@'), 3u);
    EXPECT_EQ(findChar(kSmallA, '@'), std::string::npos);
    EXPECT_EQ(findChar("a" + kSo + "\\", '\\'), 3u);
    // A lone lead byte at the end is a character of its own.
    EXPECT_EQ(charLength("a\x83", 1), 1u);
}

TEST(Cp932Stepping, TruncateNeverCutsACharacterInHalf)
{
    EXPECT_EQ(truncated("ab" + kSmallA, 3), "ab");
    EXPECT_EQ(truncated("ab" + kSmallA, 4), "ab" + kSmallA);
    EXPECT_EQ(truncated("abc", 10), "abc");
}

TEST(Cp932Conversion, JapaneseRoundTrips)
{
    const std::string utf8 = "表示ソフト：こんにちは、ｶﾀｶﾅ①";
    const std::string bytes = fromUtf8(utf8);
    EXPECT_EQ(bytes.substr(0, 4), "\x95\x5C\x8E\xA6"); // 表示
    EXPECT_EQ(toUtf8(bytes), utf8);
}

TEST(Cp932Conversion, BackslashAndTildeStayAscii)
{
    EXPECT_EQ(toUtf8("C:\\x~"), "C:\\x~");
    EXPECT_EQ(fromUtf8("C:\\x~"), "C:\\x~");
}

TEST(Cp932Conversion, UndecodableBytesShowAsReplacementAndNothingElseIsLost)
{
    EXPECT_EQ(toUtf8("ab\x83"), "ab\xEF\xBF\xBD");                     // a lone lead byte at the end
    EXPECT_EQ(toUtf8("a\x85\x40z"), "a\xEF\xBF\xBDz");                 // a code the table lacks
    EXPECT_EQ(toUtf8("a\x80z"), "a\xEF\xBF\xBDz");                     // a byte that is no character
    EXPECT_EQ(toUtf8(std::string("a\0b", 3)), std::string("a\0b", 3)); // NUL passes through
    // A lead byte before a byte that cannot trail it stands alone: the blank
    // and the comma are characters of their own (UTF-8 "〜 " read as CP932
    // is 縲, a lone lead byte and the blank; a Latin-1 "é" before a comma).
    EXPECT_EQ(toUtf8("\xE3\x80\x9C "), "縲\xEF\xBF\xBD ");
    EXPECT_EQ(toUtf8("lat\xE9,comma@x"), "lat\xEF\xBF\xBD,comma@x");
}

TEST(Cp932Conversion, CharactersWithoutACp932FormBecomeQuestionMarks)
{
    EXPECT_EQ(fromUtf8("a\xF0\x9F\x8D\xAA" "b"), "a?b"); // U+1F36A
    EXPECT_EQ(fromUtf8("\xC3\xA9t\xC3\xA9"), "?t?");      // é has no CP932 form
}

TEST(Cp932Conversion, InvalidUtf8IsKeptByteForByte)
{
    EXPECT_FALSE(isValidUtf8("\x83\x40"));
    EXPECT_EQ(fromUtf8("\x83\x40.txt"), "\x83\x40.txt");
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // an overlong form
    EXPECT_TRUE(isValidUtf8("\xE3\x82\xA1"));
}
