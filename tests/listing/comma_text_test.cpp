#include "listing/comma_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

using listing::RowCells;

namespace {

// The cells up to the last one that holds anything, split after a row
// that filled all nine, so that a cell left over from it would show.
std::vector<std::string> split(std::string_view text)
{
    RowCells cells;
    listing::splitCommaText("s,t,a,l,e,\"\"\"s\",t,a,l", cells);
    listing::splitCommaText(text, cells);
    std::vector<std::string> result(cells.begin(), cells.end());
    while (!result.empty() && result.back().empty())
        result.pop_back();
    return result;
}

// The rules of splitCommaText() spelled out byte by byte, as plainly as
// they read, to hold the fast splitter against.
std::vector<std::string> splitPlainly(std::string_view text)
{
    const auto isBlank = [](char c) { return c >= 1 && c <= 32; };
    const auto step = [&text](std::size_t pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        return lead && pos + 1 < text.size() ? 2 : 1;
    };
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> cells;
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    while (pos < text.size()) {
        std::string item;
        if (text[pos] == '"') {
            for (++pos; pos < text.size();) {
                if (text[pos] == '"') {
                    if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        item += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                item.append(text.substr(pos, step(pos)));
                pos += step(pos);
            }
        } else {
            while (pos < text.size() && text[pos] != ',' && static_cast<unsigned char>(text[pos]) > 32) {
                item.append(text.substr(pos, step(pos)));
                pos += step(pos);
            }
        }
        if (cells.size() < 9)
            cells.push_back(item.empty() ? " " : item);
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            while (pos < text.size() && isBlank(text[pos]))
                ++pos;
        }
    }
    return cells;
}

using Cells = std::vector<std::string>;

} // namespace

TEST(CommaText, BlanksAndCommasBothSeparate)
{
    EXPECT_EQ(split("No,FileName,URL(?),Info(?)"), (Cells{"No", "FileName", "URL(?)", "Info(?)"}));
    EXPECT_EQ(split("    7,u@h,h/,a b,c"), (Cells{"7", "u@h", "h/", "a", "b", "c"}));
    EXPECT_EQ(split("a\tb\x01"
                    "c"),
              (Cells{"a", "b", "c"}));
    EXPECT_EQ(split("a ,  b"), (Cells{"a", "b"}));
}

TEST(CommaText, EmptyItemsTakeACellAsOneBlank)
{
    EXPECT_EQ(split("1,name,,info"), (Cells{"1", "name", " ", "info"}));
    EXPECT_EQ(split(",a"), (Cells{" ", "a"}));
    EXPECT_EQ(split("a,"), (Cells{"a"}));
    EXPECT_EQ(split("a,,"), (Cells{"a", " "}));
    EXPECT_EQ(split(""), Cells{});
    EXPECT_EQ(split("   \t "), Cells{});
}

TEST(CommaText, QuotedItems)
{
    EXPECT_EQ(split("\"a b,c\",d"), (Cells{"a b,c", "d"}));
    EXPECT_EQ(split("\"say \"\"hi\"\"\""), (Cells{"say \"hi\""}));
    EXPECT_EQ(split("\"ab\"cd"), (Cells{"ab", "cd"})); // no comma needed after the closing quote
    EXPECT_EQ(split("\"unclosed, rest"), (Cells{"unclosed, rest"}));
    EXPECT_EQ(split("\"\",x"), (Cells{" ", "x"}));
    EXPECT_EQ(split("a\"b,c"), (Cells{"a\"b", "c"})); // a quote inside an item is a byte
}

TEST(CommaText, ItemsBeyondTheNinthAreDropped)
{
    EXPECT_EQ(split("1,2,3,4,5,6,7,8,9,10,11"), (Cells{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST(CommaText, StepsByCp932Character)
{
    // Bytes from 128 belong to the item; a double-byte character keeps its
    // trail byte even when that is a comma-free but odd byte.
    EXPECT_EQ(split("\x95\x5C\x8E\xA6,x"), (Cells{"\x95\x5C\x8E\xA6", "x"}));
    EXPECT_EQ(split("\xB1\xB2 x"), (Cells{"\xB1\xB2", "x"}));
    // A lead byte takes the next byte with it, whatever it is.
    EXPECT_EQ(split("a\x83,b"), (Cells{"a\x83,b"}));
    EXPECT_EQ(split("\"\x83\"\"x"), (Cells{"\x83\"", "x"})); // the quote after 83 is its trail byte
}

TEST(CommaText, TextEndsAtItsFirstNul)
{
    EXPECT_EQ(split(std::string("a,b\0c,d", 7)), (Cells{"a", "b"}));
    EXPECT_EQ(split(std::string("\0a", 2)), Cells{});
}

TEST(CommaText, AgreesWithTheRulesOnAnyText)
{
    // Texts of the bytes that matter: separators, quotes (doubled, closing,
    // as trail bytes), lead bytes (before a comma, a quote, the end), NUL.
    const std::string alphabet = std::string("a,, \t\"\"\x83\x81\xE0\xFC\x40\xA0\x7F\x01") + '\0';
    std::mt19937 random(11);
    RowCells cells;
    for (int i = 0; i < 50000; ++i) {
        std::string text(random() % 16, ' ');
        for (char &c : text)
            c = alphabet[random() % alphabet.size()];
        listing::splitCommaText(text, cells);
        std::vector<std::string> fast(cells.begin(), cells.end());
        while (!fast.empty() && fast.back().empty())
            fast.pop_back();
        ASSERT_EQ(fast, splitPlainly(text)) << testing::PrintToString(text);
    }
}

TEST(CommaText, FieldsSplitAsTheirJoinedText)
{
    // A row is split from its fields without joining them where none can
    // split or run into the next: it must come out as the joined text does,
    // whatever the fields hold (empty ones, a lead byte that takes the comma
    // after it, a leading quote, a blank, a high byte that is no lead byte).
    const std::vector<std::string> samples = {
        "",      "12",   "user@www.example.com[1]", "www.example.com/", "a b", "\"q", "a\"", "x,y", "\x83",
        "\xB1x", "\x7F", "0123456789ABCDEF0123"};
    std::mt19937 random(5);
    RowCells fromFields, fromText;
    for (int i = 0; i < 20000; ++i) {
        std::array<std::string, 4> fields;
        for (std::string &field : fields)
            field = samples[random() % samples.size()];
        listing::splitCommaFields({fields[0], fields[1], fields[2], fields[3]}, fromFields);
        const std::string joined = fields[0] + "," + fields[1] + "," + fields[2] + "," + fields[3];
        listing::splitCommaText(joined, fromText);
        ASSERT_TRUE(std::equal(fromFields.begin(), fromFields.end(), fromText.begin()))
            << testing::PrintToString(joined);
    }
}
