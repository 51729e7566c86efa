#pragma once

#include "comma_text.h"
#include "cookie_entry.h"
#include "platform/filesystem.h"

#include <array>
#include <deque>
#include <string>
#include <string_view>

namespace listing {

// The file a data row was made from: its real name, what the listing found
// it to be, and its identity then.
struct RowFile {
    std::string_view nativeName;
    platform::EntryKind kind = platform::EntryKind::File;
    platform::FileId id;
};

// The table that the window shows and the record of what the last scan
// found: 9 columns x (1 + n) rows of CP932 cells, where row 0 is the header
// and column 0 holds the running numbers, plus the column widths and, for
// each data row, the real name of the file it was made from.
//
// Each row is stored as one string (its cells separated by NUL bytes, then
// the file name and its identity), so a listing of 100,000 files costs
// little beyond its text.
class ResultTable {
public:
    static constexpr int kDefaultColumnWidth = 32;
    static constexpr int kDefaultRowHeight = 20;
    static constexpr int kLayoutColumnCount = 5;

    ResultTable();

    // 9 columns, the provisional widths, and the header row. Data rows of an
    // earlier scan stay until overwritten or dropped.
    void InitGrid();

    // Writes `entry` as data row i (from 1) and makes the table hold i data
    // rows. `file` is the file the entry was read from.
    void AddGridRow(const TCookies &entry, int i, const RowFile &file = {});

    // Keeps only the first n data rows; never fails, so that a scan that
    // failed halfway can always leave the table holding its own rows only.
    void keepDataRows(int n) noexcept;

    // Leaves exactly n data rows and fits columns 0 to 4 to their longest
    // text, `pointSize` pixels per byte (the table font's size in points).
    void FitGridColumns(int n, int pointSize);

    // The cell's text for columns 0 to 4 of a data row; empty otherwise.
    std::string GetGridCell(int column, int row) const;

    // Column 1's text + ".txt" for a data row; empty otherwise.
    std::string GetRowFileName(int row) const;

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int dataRowCount() const { return rowCount() - 1; }
    int columnCount() const { return m_columnCount; }
    bool isDataRow(int row) const { return row >= 1 && row < rowCount(); }

    // Any cell's text; empty outside the table.
    std::string_view cell(int column, int row) const;
    int columnWidth(int column) const;

    // The file that data row `row` was made from; an empty name for the
    // header and outside the table.
    RowFile rowFile(int row) const;

private:
    void setRow(int row, std::string_view text, const RowFile &file);
    void setRowCount(int rows);

    int m_columnCount = kLayoutColumnCount;
    std::array<int, kGridColumnCount> m_widths;
    // A deque, not a vector: growing never copies the rows it holds nor
    // leaves room unused, whatever the number of rows.
    std::deque<std::string> m_rows;
    // Scratch space reused for every row, so adding a row allocates only the
    // row itself.
    RowCells m_cells;
    std::string m_rowText;
};

} // namespace listing
