#include "listing/text_finder.h"

#include "listing/content_pane.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using listing::TextFinder;

namespace {

// The slow and obvious way: step through the text character by character
// and compare the needle at each character start; a match must also end on
// a character boundary.
long long naiveFind(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return 0;
    for (std::size_t pos = 0; pos + needle.size() <= text.size(); pos += platform::cp932::charLength(text, pos)) {
        if (text.compare(pos, needle.size(), needle) != 0)
            continue;
        std::size_t end = pos;
        while (end < pos + needle.size())
            end += platform::cp932::charLength(text, end);
        if (end == pos + needle.size())
            return static_cast<long long>(pos);
    }
    return -1;
}

} // namespace

TEST(TextFinder, FindsWhatAByteByByteSearchFindsOnTheSameBoundaries)
{
    // Small alphabets make periodic texts and search texts, where the
    // algorithm's shortcuts are most likely to skip a match: ASCII, a lead
    // byte (0x81) and its trail bytes, LF.
    const char alphabets[][5] = {"ab", "abc", "a\x81", "\x81\x82", "a\x81\x40\n"};
    std::mt19937 random(31);
    int found = 0, longFound = 0;
    for (const char *alphabet : alphabets) {
        const std::string letters(alphabet);
        std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
        for (int round = 0; round < 3000; ++round) {
            const auto make = [&](std::size_t length) {
                std::string text;
                for (std::size_t i = 0; i < length; ++i)
                    text += letters[letter(random)];
                return text;
            };
            // Search texts on both sides of the length where the two-way
            // search takes over.
            const std::string text = make(std::uniform_int_distribution<std::size_t>(0, 300)(random));
            std::string needle =
                make(std::uniform_int_distribution<std::size_t>(1, 3 * TextFinder::kTwoWayFrom)(random));
            // Often a piece of the text itself, so that there are matches.
            if (round % 2 == 0 && text.size() > 2) {
                const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size() - 2)(random);
                needle = text.substr(at, std::uniform_int_distribution<std::size_t>(1, text.size() - at)(random));
            }
            const long long expected = naiveFind(text, needle);
            found += expected >= 0;
            longFound += expected >= 0 && needle.size() >= TextFinder::kTwoWayFrom;
            ASSERT_EQ(TextFinder(needle).find(text), expected) << "text " << text << " needle " << needle;
        }
    }
    EXPECT_GT(found, 3000);     // the comparison saw matches, not only misses
    EXPECT_GT(longFound, 1000); // and among them matches of the two-way search
}

TEST(TextFinder, OneFinderServesManyTextsAndEdgeCases)
{
    const TextFinder finder("abcab");
    EXPECT_EQ(finder.find("xxabcabyy"), 2);
    EXPECT_EQ(finder.find("abca"), -1);
    EXPECT_EQ(finder.find(""), -1);
    EXPECT_EQ(finder.find("abcabcab"), 0);
    EXPECT_EQ(TextFinder("").find("anything"), 0);
    EXPECT_EQ(TextFinder("a").find("bbba"), 3);
    // Periodic search texts, matches overlapping.
    EXPECT_EQ(TextFinder("aaaa").find("aaabaaaa"), 4);
    EXPECT_EQ(TextFinder("abab").find("abaabababab"), 3);
    // "≠" (81 82) in a run of lead bytes: every candidate starts on a trail
    // byte but the last.
    EXPECT_EQ(TextFinder("\x81\x82").find("\x81\x81\x82"), -1);
    EXPECT_EQ(TextFinder("\x81\x82").find("\x81\x81\x81\x82"), 2);
    // A search text ending in a lead byte matches only at the text's end.
    EXPECT_EQ(TextFinder("a\x81").find("a\x81\x40 a\x81"), 4);
    // The same for search texts the two-way search takes.
    const std::string a40(40, 'a');
    EXPECT_EQ(TextFinder(a40).find(std::string(39, 'a') + "b" + a40), 40);
    // 39 lead bytes end in half a character: found only where the text
    // ends, and only on a character start.
    const std::string lead(39, '\x81');
    EXPECT_EQ(TextFinder(lead).find(lead + "\x40"), -1);
    EXPECT_EQ(TextFinder(lead).find("\x81\x81" + lead), 2);
    EXPECT_EQ(TextFinder(lead).find("\x81" + lead), -1); // would start on a trail byte
    EXPECT_EQ(TextFinder(std::string(39, 'x') + "\x81").find(std::string(39, 'x') + "\x81\x40"), -1);
}

TEST(TextFinder, ALongSearchTextInALongTextIsFoundWhereTheShortSearchFindsIt)
{
    // Texts built so that a search which compares the whole search text at
    // each candidate does the most work: nearly periodic runs.
    std::string text(200000, 'a');
    std::string needle(5000, 'a');
    needle[2500] = 'b';
    EXPECT_EQ(TextFinder(needle).find(text), -1);
    text.replace(150000, needle.size(), needle);
    EXPECT_EQ(TextFinder(needle).find(text), 150000);
    EXPECT_EQ(listing::findInText(text, needle), 150000);
    std::string periodic;
    while (periodic.size() < 100000)
        periodic += "ab";
    std::string repeated = periodic.substr(0, 4001) + "c";
    EXPECT_EQ(TextFinder(repeated).find(periodic + "c"), -1);
    EXPECT_EQ(TextFinder(repeated).find(periodic + "ac"), static_cast<long long>(periodic.size() + 2 - 4002));
}
