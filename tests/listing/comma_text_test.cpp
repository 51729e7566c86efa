#include "listing/comma_text.h"

#include <gtest/gtest.h>

#include <vector>

using listing::RowCells;

namespace {

// The cells up to the last one that holds anything.
std::vector<std::string> split(std::string_view text)
{
    RowCells cells;
    cells.fill("stale");
    listing::splitCommaText(text, cells);
    std::vector<std::string> result(cells.begin(), cells.end());
    while (!result.empty() && result.back().empty())
        result.pop_back();
    return result;
}

using Cells = std::vector<std::string>;

} // namespace

TEST(CommaText, BlanksAndCommasBothSeparate)
{
    EXPECT_EQ(split("No,FileName,URL(?),Info(?)"), (Cells{"No", "FileName", "URL(?)", "Info(?)"}));
    EXPECT_EQ(split("    7,u@h,h/,a b,c"), (Cells{"7", "u@h", "h/", "a", "b", "c"}));
    EXPECT_EQ(split("a\tb\x01" "c"), (Cells{"a", "b", "c"}));
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
