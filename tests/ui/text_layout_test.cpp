// The text view's layout without a window: wrapping, the caret's and the
// selection's moves by key and mouse, and scrolling, measured by a font in
// which a byte's character is 10 pixels wide and a double-byte one 20.

#include "ui/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using ui::text::CharacterPlace;
using ui::text::Move;
using ui::text::RowPlace;
using ui::text::TextLayout;

class FixedMeasure : public ui::text::LineMeasure {
public:
    void measure(std::string_view line, std::size_t start, std::vector<CharacterPlace> &places) override
    {
        ++calls;
        int right = 0;
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t length = ui::text::characterLength(line, at);
            right += 10 * static_cast<int>(length);
            places.push_back(CharacterPlace{start + at, right});
            at += length;
        }
    }
    int calls = 0;
};

struct Layout {
    explicit Layout(std::string text, int width = 1000, int rows = 10) : text(std::move(text))
    {
        layout.setText(this->text);
        layout.setViewSize(width, rows);
    }
    // The rows in view as their texts.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> rows;
        for (const ui::text::ShownRow &row : layout.shownRows())
            rows.push_back(text.substr(row.row.begin, row.row.end - row.row.begin));
        return rows;
    }
    std::string text;
    FixedMeasure measure;
    TextLayout layout{measure};
};

TEST(TextLayout, LinesWrapAfterTheLastBlankThatFitsOrElseAfterTheLastCharacter)
{
    Layout words("aaa bbb ccc\ndd", 55);
    EXPECT_EQ(words.shown(), (std::vector<std::string>{"aaa ", "bbb ", "ccc", "dd"}));
    Layout long_("abcdefghij", 45);
    EXPECT_EQ(long_.shown(), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    // A double-byte character never splits; one wider than the view stands alone.
    Layout narrow("a\x82\xa0" "b", 15);
    EXPECT_EQ(narrow.shown(), (std::vector<std::string>{"a", "\x82\xa0", "b"}));
    // Empty lines are rows too, the last after a final line end included.
    Layout empty("\n\nx\n");
    EXPECT_EQ(empty.shown(), (std::vector<std::string>{"", "", "x", ""}));
    // Each shown character's x is from its own row's left.
    const auto rows = words.layout.shownRows();
    ASSERT_EQ(rows[1].places.size(), 4u);
    EXPECT_EQ(rows[1].places.front().right, 10);
    EXPECT_EQ(rows[1].places.back().right, 40);
}

TEST(TextLayout, KeysMoveTheCaretByCharactersRowsAndWordsAndShiftSelects)
{
    Layout view("ab\x82\xa0\r\nxyz\r\n\r\nlonger line here");
    TextLayout &layout = view.layout;
    layout.move(Move::Right, false);
    layout.move(Move::Right, false);
    layout.move(Move::Right, false);
    EXPECT_EQ(layout.caret(), 4u); // over the double-byte character
    layout.move(Move::Right, false);
    EXPECT_EQ(layout.caret(), 6u); // over CR LF at once
    layout.move(Move::Left, false);
    EXPECT_EQ(layout.caret(), 4u);

    // Up and Down keep their x across a shorter row: from after "ab" + the
    // double-byte character (40) down to "xyz" (end, 30), the empty line,
    // then back to 40 on the long line.
    layout.move(Move::TextStart, false);
    layout.move(Move::RowEnd, false);
    EXPECT_EQ(layout.caret(), 4u);
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.caret(), 9u);
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.caret(), 11u);
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.caret(), 17u);
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.caret(), 17u); // the last row: nowhere further
    EXPECT_EQ(layout.selection().first, layout.selection().second);

    // Shift widens from the anchor; a plain arrow then leaves the selection
    // at its edge.
    layout.move(Move::RowStart, false);
    layout.move(Move::WordRight, true);
    EXPECT_EQ(layout.selectedText(), "longer ");
    layout.move(Move::WordRight, true);
    EXPECT_EQ(layout.selectedText(), "longer line ");
    layout.move(Move::WordLeft, true);
    EXPECT_EQ(layout.selectedText(), "longer ");
    layout.move(Move::Left, false);
    EXPECT_EQ(layout.caret(), 13u);
    EXPECT_EQ(layout.selectedText(), "");

    // Ctrl+Shift+Home from the end, and Ctrl+A: the whole text, line ends CR LF.
    layout.move(Move::TextEnd, false);
    layout.move(Move::TextStart, true);
    EXPECT_EQ(layout.selectedText(), view.text);
    layout.move(Move::TextEnd, false);
    layout.selectAll();
    EXPECT_EQ(layout.selectedText(), view.text);
}

TEST(TextLayout, EndOfAWrappedRowStaysOnThatRowAndShiftEndSelectsIt)
{
    Layout view("abcdefghij", 45);
    TextLayout &layout = view.layout;
    layout.move(Move::RowEnd, true);
    EXPECT_EQ(layout.selectedText(), "abcd");
    const auto [row, x] = layout.caretRow();
    EXPECT_EQ(row.index, 0); // not the start of the next row, the same offset
    EXPECT_EQ(x, 40);
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.caret(), 8u);
    EXPECT_EQ(layout.caretRow().first.index, 1);
    layout.move(Move::Right, false);
    EXPECT_EQ(layout.caretRow().first.index, 2);
}

TEST(TextLayout, ScrollingStopsWithTheLastRowAtTheBottomAndFollowsTheCaret)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(i) + "\n";
    Layout view(text.substr(0, text.size() - 1), 1000, 10);
    TextLayout &layout = view.layout;
    EXPECT_EQ(layout.lastTop(), (RowPlace{90, 0}));
    layout.scrollRows(1000);
    EXPECT_EQ(layout.top(), (RowPlace{90, 0}));
    layout.scrollRows(-5);
    EXPECT_EQ(layout.top(), (RowPlace{85, 0}));
    layout.scrollToLine(100000);
    EXPECT_EQ(layout.top(), (RowPlace{90, 0}));
    layout.scrollToLine(3);
    EXPECT_EQ(layout.top(), (RowPlace{3, 0}));
    EXPECT_EQ(view.shown().front(), "line 3");
    EXPECT_EQ(view.shown().size(), 11u); // ten whole rows and one in part

    // The caret out of view is brought back into it, as little as it takes.
    layout.move(Move::Down, false);
    EXPECT_EQ(layout.top(), (RowPlace{1, 0}));
    EXPECT_EQ(layout.caretRowFromTop(), 0);
    layout.move(Move::TextEnd, false);
    EXPECT_EQ(layout.top(), (RowPlace{90, 0}));
    EXPECT_EQ(layout.caretRowFromTop(), 9);
    layout.move(Move::PageUp, false);
    EXPECT_EQ(layout.top(), (RowPlace{81, 0}));
    EXPECT_EQ(layout.caretRowFromTop(), 9);
    EXPECT_EQ(view.text.substr(layout.caret() - 7, 7), "line 90");
    layout.scrollToLine(0);
    EXPECT_GT(layout.caretRowFromTop(), 10); // below the view
    layout.move(Move::TextStart, false);
    layout.scrollToLine(50);
    EXPECT_LT(layout.caretRowFromTop(), 0); // above it
}

TEST(TextLayout, ASelectionSetFromOutsideIsClampedToTheTextAndScrolledIntoView)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(i) + "\n";
    Layout view(text, 1000, 10);
    TextLayout &layout = view.layout;
    // Backwards, as a screen reader may set it: the caret where it says.
    const std::size_t line50 = text.find("line 50");
    layout.select(line50 + 4, line50);
    EXPECT_EQ(layout.caret(), line50);
    EXPECT_EQ(layout.selection(), std::make_pair(line50, line50 + 4));
    EXPECT_EQ(layout.selectedText(), "line");
    EXPECT_GE(layout.caretRowFromTop(), 0);
    EXPECT_LT(layout.caretRowFromTop(), 10);
    // Past the end is the end; Up from there keeps to the last line's start.
    layout.select(text.size() + 100, text.size() + 5);
    EXPECT_EQ(layout.caret(), text.size());
    EXPECT_EQ(layout.selection(), std::make_pair(text.size(), text.size()));
    EXPECT_EQ(layout.caretRowFromTop(), 9);
    layout.move(Move::Up, true);
    EXPECT_EQ(layout.selectedText(), "line 99\r\n");
}

TEST(TextLayout, PressesPlaceTheCaretAndShiftOrDraggingSelects)
{
    Layout view("alpha beta\r\ngamma\r\n", 1000, 2);
    TextLayout &layout = view.layout;
    layout.pressAt(26, 0, false); // past the middle of "p"
    EXPECT_EQ(layout.caret(), 3u);
    layout.pressAt(500, 1, true); // right of "gamma"
    EXPECT_EQ(layout.selectedText(), "ha beta\r\ngamma");
    layout.pressAt(-5, 0, false);
    EXPECT_EQ(layout.caret(), 0u);
    // Dragging below the view scrolls it and selects on.
    layout.pressAt(0, 2, true);
    EXPECT_EQ(layout.top(), (RowPlace{1, 0}));
    EXPECT_EQ(layout.selectedText(), "alpha beta\r\ngamma\r\n");
    // A double click takes the word, or the run of blanks, under it.
    layout.scrollToLine(0);
    layout.selectWordAt(72, 0);
    EXPECT_EQ(layout.selectedText(), "beta");
    layout.selectWordAt(52, 0);
    EXPECT_EQ(layout.selectedText(), " ");
}

TEST(TextLayout, ABigTextIsMeasuredOnlyWhereTheViewIs)
{
    // A million lines, and one line of a megabyte that is cut into pieces:
    // showing, paging and going to the end measure a few pages' lines.
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += "cookie\n";
    text += std::string(1 << 20, 'x');
    Layout view(text, 400, 30);
    TextLayout &layout = view.layout;
    view.measure.calls = 0;
    layout.shownRows();
    EXPECT_LE(view.measure.calls, 32);
    view.measure.calls = 0;
    layout.move(Move::TextEnd, false);
    layout.move(Move::PageUp, true);
    layout.shownRows();
    EXPECT_LE(view.measure.calls, 400);
    EXPECT_EQ(layout.caretRowFromTop(), 29); // a page up, the view with it
    EXPECT_EQ(layout.lines().lineCount(), 1000000u + (1u << 20) / ui::text::TextLines::kPieceBytes);
}

} // namespace
