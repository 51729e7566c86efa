#include "listing/control_escapes.h"

#include <gtest/gtest.h>

using listing::cp932ForPeople;
using listing::forPeople;

TEST(Cp932ForPeople, EscapesSingleByteControlsAsTheScannerDoes)
{
    // The same notation as the scanner's UTF-8 output for the same bytes.
    const std::string controls = "a\tb\nc\rd\x1b[2Je\x7f\x01";
    EXPECT_EQ(cp932ForPeople(controls), "a\\tb\\nc\\rd\\x1b[2Je\\x7f\\x01");
    EXPECT_EQ(cp932ForPeople(controls), forPeople(controls));
    EXPECT_EQ(cp932ForPeople(std::string("x\0y", 3)), "x\\x00y");
    // A backslash stays, as in a Windows path.
    EXPECT_EQ(cp932ForPeople("C:\\Cookies"), "C:\\Cookies");
}

TEST(Cp932ForPeople, StepsByCharacterNotByte)
{
    // "表" and "ソ" end in 0x5C, "ー" holds 0x81 then a trail byte: whole
    // characters, never a backslash or a lead byte taken alone.
    EXPECT_EQ(cp932ForPeople("\x95\x5C\x83\x5C\x81\x5B"), "\x95\x5C\x83\x5C\x81\x5B");
    // A lead byte before a control character is a byte of its own: the
    // control character is still escaped, the lead byte left for the
    // display to show as U+FFFD.
    EXPECT_EQ(cp932ForPeople("\x81\t"), "\x81\\t");
    EXPECT_EQ(cp932ForPeople("\x81\x7f"), "\x81\\x7f");
    EXPECT_EQ(cp932ForPeople("ab\x81"), "ab\x81");
    // Half-width katakana and bytes that do not decode are not controls.
    EXPECT_EQ(cp932ForPeople("\xB1\x80\xA0\xFD"), "\xB1\x80\xA0\xFD");
}

TEST(ForPeople, EscapesC1AndBrokenUtf8ButKeepsText)
{
    EXPECT_EQ(forPeople("\xC2\x9B"
                        "1m"),
              "\\xc2\\x9b1m");
    EXPECT_EQ(forPeople("caf\xE9"), "caf\\xe9");
    EXPECT_EQ(forPeople("表\\x"), "表\\x");
    std::string tsv;
    listing::appendTsvField(tsv, "a\\b\tc");
    EXPECT_EQ(tsv, "a\\\\b\\tc");
}
