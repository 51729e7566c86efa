#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace listing {

inline constexpr int kGridColumnCount = 9;

// The cells of one table row as splitCommaText() leaves them: views into
// the text that was split, or into the row's own room for a quoted item
// whose doubled quotes had to be undone. Valid until that text changes or
// the next split.
class RowCells {
public:
    std::string_view operator[](std::size_t column) const { return m_cells[column]; }
    static constexpr std::size_t size() { return kGridColumnCount; }
    auto begin() const { return m_cells.begin(); }
    auto end() const { return m_cells.end(); }

private:
    friend void splitCommaText(std::string_view text, RowCells &cells);
    friend void splitCommaFields(std::initializer_list<std::string_view> fields, RowCells &cells);

    std::array<std::string_view, kGridColumnCount> m_cells;
    std::string m_unquoted; // reserved to the text's size before a split: never moves during one
    std::string m_joined;   // the fields of splitCommaFields() that had to be joined
};

// Splits a comma-separated text into the cells of one table row:
// - blanks and control bytes (1 to 32) around items are skipped;
// - an item starting with a double quote runs to the next quote that is not
//   doubled ("" stands for one quote), the rest of the text when unclosed,
//   and needs no comma after it;
// - any other item runs up to a comma or a byte from 0 to 32;
// - an empty item is stored as one blank so that it takes its cell;
// - items beyond the ninth are dropped.
// The text ends at its first NUL byte. Stepping is by CP932 character, so a
// trail byte is never taken for a separator or a quote.
void splitCommaText(std::string_view text, RowCells &cells);

// Splits `fields` joined by commas, exactly as splitCommaText() splits the
// joined text. Where no field can split or run into the next (each is
// ASCII from "!" on, without a comma, and does not start with a quote) the
// cells are the fields themselves, an empty one a blank but the last, which
// adds nothing: then they are views into the fields, valid while those are.
void splitCommaFields(std::initializer_list<std::string_view> fields, RowCells &cells);

} // namespace listing
