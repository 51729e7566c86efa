#pragma once

#include "text_lines.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A read-only text view's layout, caret, selection and scrolling, free of
// any toolkit: lines wrapped at the view's width, at the last blank that
// fits or else after the last character that does; the caret and the
// selection as byte offsets; the keys' and the mouse's moves. Only the lines
// in view are ever measured, so a text of any size costs the same to show.
// The toolkit measures characters and draws the rows this hands it.
namespace ui::text {

// One character of a line as drawn: its first byte's offset in the text, and
// the x of its right edge from the left of its line.
struct CharacterPlace {
    std::size_t offset = 0;
    int right = 0;
};

// How wide a line's characters are, in the font the toolkit draws with.
class LineMeasure {
public:
    virtual ~LineMeasure() = default;
    // Fills `places` with one entry per character of `line` (CP932, no line
    // end, `start` its offset in the text), in order, as characterLength()
    // steps through it.
    virtual void measure(std::string_view line, std::size_t start, std::vector<CharacterPlace> &places) = 0;
};

// A row: the part of a line that one line of the view shows.
struct Row {
    std::size_t line = 0;
    int index = 0;          // its place among its line's rows, from 0
    std::size_t begin = 0;  // offsets in the text
    std::size_t end = 0;    // a wrapped row ends where the next begins
    bool lastOfLine = true; // the line's end (or its next piece) follows
    int left = 0;           // x of its first character in its line
};

// A row in view with its characters, their x from the row's left.
struct ShownRow {
    Row row;
    std::vector<CharacterPlace> places;
};

// A row's place in the text, as the top of the view is kept.
struct RowPlace {
    std::size_t line = 0;
    int index = 0;
    friend auto operator<=>(const RowPlace &, const RowPlace &) = default;
};

enum class Move {
    Left,
    Right,
    WordLeft,
    WordRight,
    Up,
    Down,
    RowStart,
    RowEnd,
    PageUp,
    PageDown,
    TextStart,
    TextEnd,
};

class TextLayout {
public:
    explicit TextLayout(LineMeasure &measure) : m_measure(measure) {}

    // A new text (which must outlive it, unmoved): the caret at its start,
    // nothing selected, its first row at the top.
    void setText(std::string_view text);
    const TextLines &lines() const { return m_lines; }

    // The width rows wrap at, and the whole rows the view shows; the top
    // stays on its line. Call again when the font changes.
    void setViewSize(int width, int rows);
    int viewRows() const { return m_viewRows; }

    // The rows of line `line`, with their characters' places in `places`
    // (x from the line's left) when asked for.
    std::vector<Row> rowsOf(std::size_t line, std::vector<CharacterPlace> *places = nullptr) const;
    // The rows from the top of the view, as many as it shows and one more
    // that it shows in part, each with its characters.
    std::vector<ShownRow> shownRows() const;

    RowPlace top() const { return m_top; }
    // The furthest the top goes: the last row then at the view's bottom.
    RowPlace lastTop() const;
    // Scrolls by `rows` rows (up when negative), within the text.
    void scrollRows(long long rows);
    // Puts the first row of `line` at the top (the scroll bar's thumb).
    void scrollToLine(std::size_t line);

    std::size_t caret() const { return m_caret; }
    std::size_t anchor() const { return m_anchor; }
    // The selected bytes, first <= second; equal when nothing is.
    std::pair<std::size_t, std::size_t> selection() const;
    std::string selectedText() const;

    // A key's move; with `extend` (Shift) the selection grows or shrinks
    // from its anchor. The view then scrolls so that the caret is in it.
    void move(Move move, bool extend);
    void selectAll();
    // The selection from `anchor` to the caret at `caret` (offsets on
    // character boundaries, as a screen reader sets them; past the text's
    // end they are its end), then the caret scrolled into view.
    void select(std::size_t anchor, std::size_t caret);
    // A press at `x` on row `rowFromTop` of the view (negative or past the
    // rows while dragging): the caret there; with `extend` the selection
    // reaches to it.
    void pressAt(int x, int rowFromTop, bool extend);
    // A double click: the word (or the run of blanks) there.
    void selectWordAt(int x, int rowFromTop);

    // The caret's row and its x from that row's left.
    std::pair<Row, int> caretRow() const;
    // The caret's row counted from the top of the view: negative or past
    // the view when it is out of it (then only the sign is exact).
    long long caretRowFromTop() const;
    // Scrolls as little as it takes to bring the caret's row into view.
    void ensureCaretVisible();

private:
    // The row `count` rows after (before, when negative) `from`, stopping
    // at the text's first and last rows.
    RowPlace stepRows(RowPlace from, long long count) const;
    int rowCountOf(std::size_t line) const;
    RowPlace lastRow() const;
    // The offset on `row` nearest to `x` (from the row's left).
    std::size_t offsetAt(const Row &row, const std::vector<CharacterPlace> &places, int x) const;
    // The row and places at `rowFromTop` in view, clamped to the text.
    std::pair<Row, std::vector<CharacterPlace>> rowInView(int rowFromTop) const;
    void placeCaret(std::size_t offset, bool extend, bool atRowEnd = false);
    std::size_t wordStepLeft(std::size_t from) const;
    std::size_t wordStepRight(std::size_t from) const;

    LineMeasure &m_measure;
    TextLines m_lines;
    int m_width = 1;
    int m_viewRows = 1;
    RowPlace m_top;
    std::size_t m_caret = 0;
    std::size_t m_anchor = 0;
    // At the end of a wrapped row rather than the start of the next, where
    // both are the same offset (after End).
    bool m_caretAtRowEnd = false;
    // The x that Up and Down keep to, across short rows; -1 when unset.
    int m_goalX = -1;
};

} // namespace ui::text
