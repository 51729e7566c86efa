#include "text_layout.h"

#include <algorithm>

namespace ui::text {
namespace {

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

// The index in `places` of the character at `offset`, or places.size().
std::size_t placeIndex(const std::vector<CharacterPlace> &places, std::size_t offset)
{
    const auto at = std::lower_bound(places.begin(), places.end(), offset,
                                     [](const CharacterPlace &place, std::size_t value) { return place.offset < value; });
    return static_cast<std::size_t>(at - places.begin());
}

} // namespace

void TextLayout::setText(std::string_view text)
{
    m_lines = TextLines(text);
    m_top = {};
    m_caret = m_anchor = 0;
    m_caretAtRowEnd = false;
    m_goalX = -1;
}

void TextLayout::setViewSize(int width, int rows)
{
    m_width = std::max(width, 1);
    m_viewRows = std::max(rows, 1);
    m_top.index = std::min(m_top.index, rowCountOf(m_top.line) - 1);
    m_top = std::min(m_top, lastTop());
    m_goalX = -1;
}

std::vector<Row> TextLayout::rowsOf(std::size_t line, std::vector<CharacterPlace> *places) const
{
    std::vector<CharacterPlace> own;
    std::vector<CharacterPlace> &measured = places ? *places : own;
    measured.clear();
    const std::string_view text = m_lines.text();
    const std::size_t start = m_lines.lineStart(line);
    const TextLines::Span span = m_lines.lineAt(start);
    m_measure.measure(text.substr(start, span.end - start), start, measured);

    std::vector<Row> rows;
    if (measured.empty()) {
        rows.push_back(Row{line, 0, start, span.end, true, 0});
        return rows;
    }
    int left = 0;
    for (std::size_t first = 0; first < measured.size();) {
        std::size_t end = first;
        while (end < measured.size() && measured[end].right - left <= m_width)
            ++end;
        if (end == first)
            end = first + 1; // a character wider than the view has a row of its own
        if (end < measured.size()) {
            // Wrap after the last blank that fits, when the row has one.
            for (std::size_t blank = end; blank > first + 1; --blank)
                if (isBlank(text[measured[blank - 1].offset])) {
                    end = blank;
                    break;
                }
        }
        const bool last = end == measured.size();
        rows.push_back(Row{line, static_cast<int>(rows.size()), measured[first].offset,
                           last ? span.end : measured[end].offset, last, left});
        left = measured[end - 1].right;
        first = end;
    }
    return rows;
}

int TextLayout::rowCountOf(std::size_t line) const
{
    return static_cast<int>(rowsOf(line).size());
}

std::vector<ShownRow> TextLayout::shownRows() const
{
    std::vector<ShownRow> shown;
    std::vector<CharacterPlace> places;
    RowPlace at = m_top;
    while (static_cast<int>(shown.size()) <= m_viewRows && at.line < m_lines.lineCount()) {
        const std::vector<Row> rows = rowsOf(at.line, &places);
        for (auto index = static_cast<std::size_t>(std::min(at.index, static_cast<int>(rows.size()) - 1));
             index < rows.size() && static_cast<int>(shown.size()) <= m_viewRows; ++index) {
            const Row &row = rows[index];
            ShownRow entry{row, {}};
            for (std::size_t i = placeIndex(places, row.begin); i < places.size() && places[i].offset < row.end; ++i)
                entry.places.push_back(CharacterPlace{places[i].offset, places[i].right - row.left});
            shown.push_back(std::move(entry));
        }
        at = RowPlace{at.line + 1, 0};
    }
    return shown;
}

RowPlace TextLayout::stepRows(RowPlace from, long long count) const
{
    RowPlace at = from;
    int rows = rowCountOf(at.line);
    at.index = std::min(at.index, rows - 1);
    while (count > 0) {
        const int left = rows - 1 - at.index;
        if (count <= left) {
            at.index += static_cast<int>(count);
            break;
        }
        if (at.line + 1 >= m_lines.lineCount()) {
            at.index = rows - 1;
            break;
        }
        count -= left + 1;
        at = RowPlace{at.line + 1, 0};
        rows = rowCountOf(at.line);
    }
    while (count < 0) {
        if (at.index >= -count) {
            at.index -= static_cast<int>(-count);
            break;
        }
        if (at.line == 0) {
            at.index = 0;
            break;
        }
        count += at.index + 1;
        at.line -= 1;
        at.index = rowCountOf(at.line) - 1;
    }
    return at;
}

RowPlace TextLayout::lastRow() const
{
    const std::size_t line = m_lines.lineCount() - 1;
    return RowPlace{line, rowCountOf(line) - 1};
}

RowPlace TextLayout::lastTop() const
{
    return stepRows(lastRow(), -(m_viewRows - 1));
}

void TextLayout::scrollRows(long long rows)
{
    m_top = std::min(stepRows(m_top, rows), lastTop());
}

void TextLayout::scrollToLine(std::size_t line)
{
    m_top = std::min(RowPlace{std::min(line, m_lines.lineCount() - 1), 0}, lastTop());
}

std::pair<std::size_t, std::size_t> TextLayout::selection() const
{
    return std::minmax(m_anchor, m_caret);
}

std::string TextLayout::selectedText() const
{
    const auto [from, to] = selection();
    return m_lines.copiedText(from, to);
}

std::pair<Row, int> TextLayout::caretRow() const
{
    std::size_t line = m_lines.lineOf(m_caret);
    if (m_caretAtRowEnd && line > 0) {
        // Where a long line was cut the caret may stand at the end of the
        // piece before rather than at the start of its own.
        const TextLines::Span before = m_lines.lineAt(m_lines.lineStart(line - 1));
        if (before.end == m_caret && before.next == m_caret)
            line -= 1;
    }
    std::vector<CharacterPlace> places;
    const std::vector<Row> rows = rowsOf(line, &places);
    const Row *found = &rows.back();
    for (const Row &row : rows) {
        if (m_caretAtRowEnd && !row.lastOfLine && row.end == m_caret) {
            found = &row;
            break;
        }
        if (m_caret >= row.begin && m_caret < row.end) {
            found = &row;
            break;
        }
    }
    const std::size_t before = placeIndex(places, m_caret);
    const int x = before == 0 || m_caret <= found->begin ? 0 : places[before - 1].right - found->left;
    return {*found, x};
}

std::size_t TextLayout::offsetAt(const Row &row, const std::vector<CharacterPlace> &places, int x) const
{
    int left = 0;
    for (std::size_t i = placeIndex(places, row.begin); i < places.size() && places[i].offset < row.end; ++i) {
        const int right = places[i].right - row.left;
        if (x < (left + right) / 2)
            return places[i].offset;
        left = right;
    }
    return row.end;
}

std::pair<Row, std::vector<CharacterPlace>> TextLayout::rowInView(int rowFromTop) const
{
    const RowPlace at = stepRows(m_top, rowFromTop);
    std::vector<CharacterPlace> places;
    std::vector<Row> rows = rowsOf(at.line, &places);
    return {rows[static_cast<std::size_t>(std::min(at.index, static_cast<int>(rows.size()) - 1))], std::move(places)};
}

void TextLayout::placeCaret(std::size_t offset, bool extend, bool atRowEnd)
{
    m_caret = offset;
    if (!extend)
        m_anchor = offset;
    m_caretAtRowEnd = atRowEnd;
    m_goalX = -1;
}

std::size_t TextLayout::wordStepRight(std::size_t from) const
{
    const std::string_view text = m_lines.text();
    if (from >= text.size() || m_lines.isLineEnd(from))
        return m_lines.nextCharacter(from);
    // Within this line (or piece), so that a step never reads further.
    const std::size_t end = m_lines.lineAt(m_lines.lineStart(m_lines.lineOf(from))).end;
    std::size_t at = from;
    while (at < end && !isBlank(text[at]))
        at = m_lines.nextCharacter(at);
    while (at < end && isBlank(text[at]))
        at = m_lines.nextCharacter(at);
    return at;
}

std::size_t TextLayout::wordStepLeft(std::size_t from) const
{
    const std::size_t previous = m_lines.previousCharacter(from);
    if (previous == from || m_lines.isLineEnd(previous))
        return previous;
    const std::string_view text = m_lines.text();
    std::vector<std::size_t> starts;
    for (std::size_t at = m_lines.lineStart(m_lines.lineOf(previous)); at < from; at = m_lines.nextCharacter(at))
        starts.push_back(at);
    std::size_t i = starts.size() - 1;
    while (i > 0 && isBlank(text[starts[i]]))
        --i;
    while (i > 0 && !isBlank(text[starts[i - 1]]))
        --i;
    return starts[i];
}

void TextLayout::move(Move move, bool extend)
{
    const auto [from, to] = selection();
    switch (move) {
    case Move::Left:
        placeCaret(!extend && from != to ? from : m_lines.previousCharacter(m_caret), extend);
        break;
    case Move::Right:
        placeCaret(!extend && from != to ? to : m_lines.nextCharacter(m_caret), extend);
        break;
    case Move::WordLeft:
        placeCaret(wordStepLeft(m_caret), extend);
        break;
    case Move::WordRight:
        placeCaret(wordStepRight(m_caret), extend);
        break;
    case Move::Up:
    case Move::Down:
    case Move::PageUp:
    case Move::PageDown: {
        const auto [row, x] = caretRow();
        const int goal = m_goalX >= 0 ? m_goalX : x;
        const long long page = std::max(m_viewRows - 1, 1);
        const long long count = move == Move::Up ? -1 : move == Move::Down ? 1 : move == Move::PageUp ? -page : page;
        const RowPlace here{row.line, row.index};
        const RowPlace there = stepRows(here, count);
        if (move == Move::PageUp || move == Move::PageDown)
            m_top = std::min(stepRows(m_top, count), lastTop());
        if (there == here && (move == Move::Up || move == Move::Down))
            break; // already on the first or last row
        std::vector<CharacterPlace> places;
        const std::vector<Row> rows = rowsOf(there.line, &places);
        const Row &target = rows[static_cast<std::size_t>(there.index)];
        const std::size_t offset = offsetAt(target, places, goal);
        placeCaret(offset, extend, offset == target.end);
        m_goalX = goal;
        break;
    }
    case Move::RowStart:
        placeCaret(caretRow().first.begin, extend);
        break;
    case Move::RowEnd:
        placeCaret(caretRow().first.end, extend, true);
        break;
    case Move::TextStart:
        placeCaret(0, extend);
        break;
    case Move::TextEnd:
        placeCaret(m_lines.text().size(), extend);
        break;
    }
    ensureCaretVisible();
}

void TextLayout::selectAll()
{
    m_anchor = 0;
    m_caret = m_lines.text().size();
    m_caretAtRowEnd = false;
    m_goalX = -1;
    ensureCaretVisible();
}

void TextLayout::select(std::size_t anchor, std::size_t caret)
{
    const std::size_t size = m_lines.text().size();
    m_anchor = std::min(anchor, size);
    m_caret = std::min(caret, size);
    m_caretAtRowEnd = false;
    m_goalX = -1;
    ensureCaretVisible();
}

void TextLayout::pressAt(int x, int rowFromTop, bool extend)
{
    if (rowFromTop < 0)
        scrollRows(rowFromTop);
    else if (rowFromTop >= m_viewRows)
        scrollRows(rowFromTop - m_viewRows + 1);
    const auto [row, places] = rowInView(std::clamp(rowFromTop, 0, m_viewRows - 1));
    const std::size_t offset = offsetAt(row, places, x);
    placeCaret(offset, extend, offset == row.end);
}

void TextLayout::selectWordAt(int x, int rowFromTop)
{
    const auto [row, places] = rowInView(std::clamp(rowFromTop, 0, m_viewRows - 1));
    const std::size_t offset = offsetAt(row, places, x);
    std::size_t first = placeIndex(places, offset);
    if (first >= places.size()) {
        placeCaret(offset, false, offset == row.end);
        return;
    }
    const std::string_view text = m_lines.text();
    const bool blank = isBlank(text[places[first].offset]);
    std::size_t last = first;
    while (first > 0 && isBlank(text[places[first - 1].offset]) == blank)
        --first;
    while (last + 1 < places.size() && isBlank(text[places[last + 1].offset]) == blank)
        ++last;
    m_anchor = places[first].offset;
    m_caret = m_lines.nextCharacter(places[last].offset);
    m_caretAtRowEnd = false;
    m_goalX = -1;
}

long long TextLayout::caretRowFromTop() const
{
    const Row row = caretRow().first;
    const RowPlace at{row.line, row.index};
    if (at < m_top)
        return -1;
    RowPlace place = m_top;
    for (long long count = 0; count <= m_viewRows; ++count) {
        if (place == at)
            return count;
        const RowPlace next = stepRows(place, 1);
        if (next == place)
            break;
        place = next;
    }
    return m_viewRows + 1;
}

void TextLayout::ensureCaretVisible()
{
    const Row row = caretRow().first;
    const RowPlace at{row.line, row.index};
    if (at < m_top) {
        m_top = at;
        return;
    }
    if (at <= stepRows(m_top, m_viewRows - 1))
        return;
    m_top = std::min(stepRows(at, -(m_viewRows - 1)), lastTop());
}

} // namespace ui::text
