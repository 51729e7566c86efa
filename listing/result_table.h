#pragma once

#include "comma_text.h"
#include "cookie_entry.h"
#include "platform/filesystem.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace listing {

// The file a data row was made from, as the scan hands it over: its real
// name, what the listing found it to be, and its identity then.
struct RowFileView {
    std::string_view nativeName;
    platform::EntryKind kind = platform::EntryKind::File;
    platform::FileId id;
};

// The same, as the table gives it back.
struct RowFile {
    std::string nativeName;
    platform::EntryKind kind = platform::EntryKind::File;
    platform::FileId id;
};

// The table that the window shows and the record of what the last scan
// found: 9 columns x (1 + n) rows of CP932 cells, where row 0 is the header
// and column 0 holds the running numbers, plus the column widths and, for
// each data row, the real name of the file it was made from.
//
// Rows are packed one after another into large blocks (each cell after its
// length, then the identity and the name of their file), so
// that a listing of 100,000 files costs little beyond its text. A block goes
// as soon as no row is left in it.
class ResultTable {
public:
    static constexpr int kDefaultColumnWidth = 32;
    static constexpr int kDefaultRowHeight = 20;
    static constexpr int kLayoutColumnCount = 5;

    ResultTable();

    // 9 columns, the provisional widths, and the header row. Data rows of an
    // earlier scan stay until overwritten or dropped.
    void startListing();

    // Writes `entry` as data row i (from 1) and makes the table hold i data
    // rows. `file` is the file the entry was read from.
    void setDataRow(const CookieEntry &entry, int i, const RowFileView &file = {});

    // Keeps only the first n data rows; never fails, so that a scan that
    // failed halfway can always leave the table holding its own rows only.
    void keepDataRows(int n) noexcept;

    // Leaves exactly n data rows and fits columns 0 to 4 to their longest
    // text, `pointSize` pixels per byte (the table font's size in points).
    void finishListing(int n, int pointSize);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int dataRowCount() const { return rowCount() - 1; }
    int columnCount() const { return m_columnCount; }
    bool isDataRow(int row) const { return row >= 1 && row < rowCount(); }

    // Any cell's text; empty outside the table.
    std::string_view cell(int column, int row) const;

    // Every cell of a row at once, as cell() gives each: one pass over the
    // row, for whoever reads all cells of many rows.
    using Cells = std::array<std::string_view, kGridColumnCount>;
    void rowCells(int row, Cells &cells) const;
    int columnWidth(int column) const;

    // The file that data row `row` was made from; an empty name for the
    // header and outside the table.
    RowFile rowFile(int row) const;

private:
    // Where a row is kept: block << kBlockBits | offset in the block.
    using RowRef = std::uint32_t;
    static constexpr RowRef kNoRow = 0xFFFFFFFF; // a row never written: all cells empty
    static constexpr unsigned kBlockBits = 16;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::uint32_t rows = 0; // rows kept in it
    };

    void setRow(int row, std::string_view text, const RowFileView &file);
    // Keeps m_cells as row `row`, made from `file`.
    void storeRow(int row, const RowFileView &file);
    void setRowCount(int rows);
    // The packed row (after its length), empty for kNoRow.
    std::string_view packed(RowRef ref) const;
    // Forgets the row at `ref`, and its block when it was the last there.
    void dropRow(RowRef ref) noexcept;
    // Room for `size` bytes; where they go.
    RowRef allocate(std::size_t size);

    int m_columnCount = kLayoutColumnCount;
    std::array<int, kGridColumnCount> m_widths;
    std::vector<Block> m_blocks;
    std::size_t m_current = 0; // the block being filled, if any
    std::size_t m_used = kBlockSize;
    // A deque, not a vector: growing never copies what it holds nor leaves
    // room unused, whatever the number of rows.
    std::deque<RowRef> m_rows;
    // Scratch space reused for every row, so adding a row allocates nothing
    // but, now and then, a block.
    RowCells m_cells;
};

} // namespace listing
