#include "platform/cp932.h"
#include "platform/mask_match.h"
#include "platform/name_order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using platform::matchesMask;

TEST(MaskMatch, StarAndQuestionMark)
{
    EXPECT_TRUE(matchesMask("*.txt", "a.txt"));
    EXPECT_TRUE(matchesMask("*.txt", ".txt"));
    EXPECT_FALSE(matchesMask("*.txt", "a.txt.bak"));
    EXPECT_FALSE(matchesMask("*.txt", "a.tx"));
    EXPECT_TRUE(matchesMask("a?c", "abc"));
    EXPECT_FALSE(matchesMask("a?c", "ac"));
    EXPECT_TRUE(matchesMask("*", "."));
    EXPECT_TRUE(matchesMask("**a**", "xa"));
    EXPECT_FALSE(matchesMask("", "a"));
}

TEST(MaskMatch, LettersMatchRegardlessOfCase)
{
    EXPECT_TRUE(matchesMask("*.txt", "A.TXT"));
    EXPECT_TRUE(matchesMask("*@*ABC*.txt", "user@xabcx.Txt"));
    const std::string wideA = platform::cp932::fromUtf8("Ａ"), wideSmallA = platform::cp932::fromUtf8("ａ");
    EXPECT_TRUE(matchesMask(wideSmallA, wideA));
    EXPECT_TRUE(matchesMask(platform::cp932::fromUtf8("ж"), platform::cp932::fromUtf8("Ж")));
    EXPECT_TRUE(matchesMask(platform::cp932::fromUtf8("ω"), platform::cp932::fromUtf8("Ω")));
    EXPECT_FALSE(matchesMask("a", wideA)); // full-width is not ASCII
    // The edges of each alphabet: z and Z, and я and Я, which lie on either
    // side of the gap in the CP932 Cyrillic block.
    EXPECT_TRUE(matchesMask("z", "Z"));
    EXPECT_FALSE(matchesMask("z", "{"));
    EXPECT_TRUE(matchesMask(platform::cp932::fromUtf8("я"), platform::cp932::fromUtf8("Я")));
    EXPECT_TRUE(matchesMask(platform::cp932::fromUtf8("ｚ"), platform::cp932::fromUtf8("Ｚ")));
    EXPECT_FALSE(matchesMask(platform::cp932::fromUtf8("я"), platform::cp932::fromUtf8("Ю")));
}

TEST(MaskMatch, NameOrderTakesTheSameLettersRegardlessOfCase)
{
    // Every character of ASCII and of the CP932 rows that hold the
    // full-width, Greek and Cyrillic letters, against every other: the search
    // takes two as one exactly when the name order does (x + "a" and
    // y + "a" each sort before the other + "b").
    std::vector<std::string> characters;
    for (int byte = 0x20; byte < 0x7F; ++byte)
        if (byte != '*' && byte != '?')
            characters.emplace_back(1, static_cast<char>(byte));
    for (int lead = 0x81; lead <= 0x84; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string c = {static_cast<char>(lead), static_cast<char>(trail)};
            if (trail != 0x7F && platform::cp932::toUtf8(c) != "\xEF\xBF\xBD") // one that decodes
                characters.push_back(c);
        }
    std::vector<std::string> utf8;
    for (const std::string &c : characters)
        utf8.push_back(platform::cp932::toUtf8(c));
    int pairs = 0;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        for (std::size_t j = 0; j < characters.size(); ++j) {
            const bool search = matchesMask(characters[i], characters[j]);
            const bool order = platform::nameSortsBefore(utf8[i] + "a", utf8[j] + "b") &&
                               platform::nameSortsBefore(utf8[j] + "a", utf8[i] + "b");
            ASSERT_EQ(search, order) << utf8[i] << " " << utf8[j];
            pairs += search && i != j ? 1 : 0;
        }
    }
    EXPECT_EQ(pairs, 2 * (26 + 26 + 24 + 33)); // a-z, ａ-ｚ, α-ω, а-я
    // So "ωa" sorts before "Ωb", "яa" before "Яb"; accented Latin letters,
    // which CP932 lacks, keep their case: "Éb" before "éa".
    EXPECT_TRUE(platform::nameSortsBefore("ωa", "Ωb"));
    EXPECT_TRUE(platform::nameSortsBefore("яa", "Яb"));
    EXPECT_TRUE(platform::nameSortsBefore("ёa", "Ёb"));
    EXPECT_TRUE(platform::nameSortsBefore("Éb", "éa"));
}

TEST(MaskMatch, EverythingElseIsLiteral)
{
    EXPECT_TRUE(matchesMask("[a].txt", "[a].txt"));
    EXPECT_FALSE(matchesMask("[a].txt", "a.txt"));
    EXPECT_TRUE(matchesMask("*@*ex[1]*.txt", "u@ex[1].txt"));
    EXPECT_FALSE(matchesMask("a\\b", "ab"));
}

TEST(MaskMatch, StepsByCharacter)
{
    const std::string smallA = "\x83\x40"; // ァ: trail byte "@"
    EXPECT_TRUE(matchesMask("?.txt", smallA + ".txt"));
    EXPECT_FALSE(matchesMask("??.txt", smallA + ".txt"));
    // The "@" of the mask must not meet the trail byte of ァ.
    EXPECT_FALSE(matchesMask("*@*.txt", smallA + "x.txt"));
    EXPECT_TRUE(matchesMask("*@*.txt", smallA + "@x.txt"));
}

TEST(MaskMatch, AByteThatCannotTrailALeadByteStaysAWildcard)
{
    // A lead byte takes only a byte that can trail it: "\x81*" is a lone
    // byte and a star.
    const std::pair<std::string, std::string> patternAndName[] = {
        {"\x81*", "\x81..."}, {"\xE9?", "\xE9."}, {"a\x9C*b", "a\x9C..b"}};
    for (const auto &[pattern, name] : patternAndName)
        EXPECT_TRUE(matchesMask(pattern, name)) << pattern;
}

TEST(MaskMatch, FileNameSearchMatchesOnlyAfterAnAt)
{
    EXPECT_TRUE(matchesMask("*@*abc*.txt", "user@www.abc.com[1].txt"));
    EXPECT_FALSE(matchesMask("*@*abc*.txt", "abc@www.example.com[1].txt"));
    EXPECT_TRUE(matchesMask("*@*abc*.txt", "a@b@abc.txt"));
}

TEST(MaskMatch, ManyStarsStayFast)
{
    // Backtracking on the last star only: this would take ages if exponential.
    const std::string name(5000, 'a');
    EXPECT_FALSE(matchesMask("*a*a*a*a*a*a*a*a*b", name));
}

TEST(MaskMatch, StarAndAPlainEndMatchesAsTheFullMatcherDoes)
{
    // "*" and a plain ASCII end (what every listing asks) takes a short way;
    // "**" and the same end goes the full way. They must agree on any name,
    // above all where the end could be the trail byte of a lead byte.
    EXPECT_FALSE(matchesMask("*@", "\x83@"));       // "@" is the trail byte of ァ
    EXPECT_TRUE(matchesMask("*@", "\x83\x83@"));    // two lead bytes pair off
    EXPECT_TRUE(matchesMask("*.txt", "x\x83.TXT")); // "." is no trail byte: 83 stands alone
    EXPECT_FALSE(matchesMask("*.txt", "txt"));
    const std::string alphabet = "aAtTxX.@\x40\x83\x81\xE0\xFC\x7F\xA0";
    const std::vector<std::string> ends = {".txt", "@", "t", "x.t", "@x", "T@.", "\x7F"};
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string name(random() % 7, ' ');
        for (char &c : name)
            c = alphabet[random() % alphabet.size()];
        for (const std::string &end : ends)
            ASSERT_EQ(matchesMask("*" + end, name), matchesMask("**" + end, name))
                << testing::PrintToString(name) << " " << end;
    }
}
