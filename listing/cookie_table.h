#pragma once

#include "cookie_records.h"

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>

namespace listing {

class ContentPane;

// The cookies of the file in the content pane, decoded, as the window's
// cookie view shows them: one row per cookie, 9 columns of CP932 cells, plus
// a header row of titles apart from the data rows. A text that strays from
// the run of cookie records has the rows of the whole records before the
// fault, and one line saying where and why it strays.
//
// The table keeps no copy of the text: each row is where its record starts
// in the pane's text (8 bytes), and a cell is decoded from there when asked
// for (the record decoded last is kept), so a view that draws only the
// visible rows costs only those. When the pane's text changes (another file
// is selected, a scan reads through the pane) the table goes stale: its
// cells read empty, never a record of the other text, until it is loaded
// again. The pane must outlive the table.
class CookieTable {
public:
    enum Column {
        NumberColumn,
        NameColumn,
        ValueColumn,
        DomainColumn,
        PathColumn,
        ExpiresColumn,
        CreatedColumn,
        SecureColumn,
        HttpOnlyColumn,
    };
    static constexpr int kColumnCount = 9;
    // A column is fitted to at most this many bytes of text, so that one
    // long value does not push the other columns out of sight; the user can
    // widen it.
    static constexpr int kMaxFittedBytes = 48;
    // A cell, and each line of a hint, shows at most this many bytes of its
    // text (cut between characters); copying takes the whole value.
    static constexpr std::size_t kMaxShownBytes = 4096;

    // Decodes the pane's text. A cookie whose expiry is at or before `now`
    // (a FILETIME) is expired. Columns are fitted to their longest text,
    // title included, at `pointSize` pixels per byte, as the file table
    // fits its columns.
    void load(const ContentPane &pane, std::uint64_t now, int pointSize);

    // No rows, no problem: the table of no file.
    void clear();

    int rowCount() const { return static_cast<int>(m_rows.size()); }

    // The title of a column (CP932); empty outside the table.
    static const std::string &columnTitle(int column);

    // The cell of data row `row` (from 0): control characters escaped, times
    // in the local time zone as "YYYY/MM/DD HH:MM:SS" (or the FILETIME's
    // number when it is not shown as a date), an expired cookie's expiry
    // followed by " 期限切れ". Empty outside the table or when stale.
    std::string cell(int column, int row) const;

    // Whether the cookie of row `row` has expired, so that the view greys it.
    bool isExpired(int row) const;

    // The hint of a row: the record's nine lines as the file holds them,
    // control characters escaped, joined by CR LF.
    std::string hint(int row) const;

    // The cookies of `rows` as "name=value" lines, in the table's order,
    // joined by CR LF: the bytes of the file, unescaped, as a person pastes
    // them elsewhere. Rows outside the table are left out.
    std::string copyText(std::span<const int> rows) const;

    // In pixels; 0 before the first load. A file that strays keeps the
    // widths that fit the titles.
    int columnWidth(int column) const;

    // Empty when the text is a run of cookie records; otherwise the line that
    // the view shows under the rows of the whole records before the fault,
    // or in place of the table when there are none (CP932, Japanese).
    const std::string &problemText() const { return m_problem; }

private:
    // The pane's text while it is the one decoded; empty once it changed.
    std::string_view text() const;
    // The record of row `row`, its texts views into the pane's text; null
    // outside the table or when stale.
    const CookieRecord *record(int row) const;
    void fitTitles(int pointSize);

    static constexpr std::uint64_t kExpiredBit = std::uint64_t(1) << 63;

    const ContentPane *m_pane = nullptr;
    std::uint64_t m_revision = 0;
    // Where each record starts in the text, with kExpiredBit when expired.
    // A deque, not a vector: growing never copies what it holds, so a file
    // of a million cookies never holds its rows twice over.
    std::deque<std::uint64_t> m_rows;
    std::array<int, kColumnCount> m_widths{};
    std::string m_problem;
    // The record decoded last: a view asks for a row's cells one after
    // another, and a record may hold a line of many megabytes to step over.
    mutable int m_cachedRow = -1;
    mutable CookieRecord m_cached;
};

} // namespace listing
