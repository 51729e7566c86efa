#include "result_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace listing {
namespace {

constexpr std::array<int, 4> kProvisionalWidths = {30, 144, 240, 400};

// A packed row: its 9 cells, each its length (7 bits a byte: one byte for
// the usual cell) and its bytes, then its file: the kind (1 byte), the
// volume and the index (7 bits a byte, as they are small), the witness's
// kind with the file's type in the upper 4 bits (1 byte), its stamp (8
// bytes) and the size (7 bits a byte), then the name: one 0 byte for the
// usual name, the file-name cell and ".txt"; otherwise how many leading
// bytes of the name the cell already holds, plus one, and how many follow
// (7 bits a byte), and those. No length of the whole row: nothing needs it,
// and 100,000 rows would pay for it.
constexpr std::size_t kLongestNumber = 10; // 64 bits, 7 at a time
constexpr std::size_t kNameCellAndTxt = 0;
constexpr std::string_view kTxt = ".txt";

char *putVarint(char *out, std::uint64_t value)
{
    while (value >= 0x80) {
        *out++ = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<char>(value);
    return out;
}

std::uint64_t getVarint(const char *&in)
{
    std::uint64_t value = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            return value;
    }
}

// The cells of a packed row from `column` on, into `cells` from
// `column`; returns where the row goes on after them.
const char *unpackCells(const char *row, int column, std::array<std::string_view, kGridColumnCount> &cells)
{
    for (; column < kGridColumnCount; ++column) {
        const auto length = static_cast<std::size_t>(getVarint(row));
        cells[column] = {row, length};
        row += length;
    }
    return row;
}

// Past the first `count` cells of a packed row.
const char *skipCells(const char *row, int count)
{
    for (int column = 0; column < count; ++column) {
        const auto length = static_cast<std::size_t>(getVarint(row));
        row += length;
    }
    return row;
}

} // namespace

ResultTable::ResultTable()
{
    m_widths.fill(kDefaultColumnWidth);
    m_rows.push_back(kNoRow); // the header row, empty until startListing
}

void ResultTable::startListing()
{
    m_columnCount = kGridColumnCount;
    std::copy(kProvisionalWidths.begin(), kProvisionalWidths.end(), m_widths.begin());
    setRow(0, "No,FileName,URL(?),Info(?)", {});
}

void ResultTable::setDataRow(const CookieEntry &entry, int i, const RowFileView &file)
{
    if (i < 1)
        return;
    // "%5d": the number right-aligned in five characters; the blanks before
    // it are skipped by the split, so only its digits are split.
    char number[16];
    const auto digits = std::to_chars(number, number + sizeof number, i).ptr - number;
    splitCommaFields(
        {std::string_view(number, static_cast<std::size_t>(digits)), entry.fileName, entry.url, entry.info}, m_cells);
    setRowCount(i);
    storeRow(i, file);
}

void ResultTable::finishListing(int n, int pointSize)
{
    setRowCount(std::max(n, 0));
    constexpr int kFitted = 5;
    std::array<std::size_t, kFitted> longest{};
    for (const RowRef ref : m_rows) {
        if (ref == kNoRow)
            continue;
        const char *cell = packed(ref).data();
        for (int column = 0; column < kFitted; ++column) {
            const auto length = static_cast<std::size_t>(getVarint(cell));
            longest[column] = std::max(longest[column], length);
            cell += length;
        }
    }
    for (int column = 0; column < kFitted; ++column) {
        // An empty column takes column 0's width, already fitted, times the
        // point size again.
        m_widths[column] =
            longest[column] > 0 ? static_cast<int>(longest[column]) * pointSize : m_widths[0] * pointSize;
    }
}

std::string_view ResultTable::cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= rowCount() || m_rows[row] == kNoRow)
        return {};
    const char *start = skipCells(packed(m_rows[row]).data(), column);
    const auto length = static_cast<std::size_t>(getVarint(start));
    return {start, length};
}

void ResultTable::rowCells(int row, Cells &cells) const
{
    cells.fill({});
    if (row < 0 || row >= rowCount() || m_rows[row] == kNoRow)
        return;
    unpackCells(packed(m_rows[row]).data(), 0, cells);
    // As cell() gives them: nothing beyond the columns the table has.
    for (int column = m_columnCount; column < kGridColumnCount; ++column)
        cells[column] = {};
}

int ResultTable::columnWidth(int column) const
{
    return column >= 0 && column < m_columnCount ? m_widths[column] : 0;
}

RowFile ResultTable::rowFile(int row) const
{
    if (!isDataRow(row) || m_rows[row] == kNoRow)
        return {};
    Cells cells;
    const char *in = unpackCells(packed(m_rows[row]).data(), 0, cells);
    RowFile file;
    file.kind = static_cast<platform::EntryKind>(*in++);
    file.id.volume = getVarint(in);
    file.id.index = getVarint(in);
    const auto witnessAndType = static_cast<unsigned char>(*in++);
    file.id.witness = static_cast<platform::IdWitness>(witnessAndType & 0x0F);
    file.id.type = static_cast<std::uint8_t>(witnessAndType >> 4);
    std::memcpy(&file.id.stamp, in, sizeof file.id.stamp);
    in += sizeof file.id.stamp;
    file.id.size = getVarint(in);
    const auto sharedCode = static_cast<std::size_t>(getVarint(in));
    if (sharedCode == kNameCellAndTxt) {
        file.nativeName.reserve(cells[1].size() + kTxt.size());
        file.nativeName.assign(cells[1]).append(kTxt);
        return file;
    }
    const std::size_t shared = sharedCode - 1;
    const auto tail = static_cast<std::size_t>(getVarint(in));
    file.nativeName.reserve(shared + tail);
    file.nativeName.assign(cells[1].substr(0, shared));
    file.nativeName.append(in, tail);
    return file;
}

std::string_view ResultTable::packed(RowRef ref) const
{
    if (ref == kNoRow)
        return {};
    // To the end of its block: the cells' lengths tell where the row ends.
    const std::size_t offset = ref & (kBlockSize - 1);
    return {m_blocks[ref >> kBlockBits].bytes.get() + offset, kBlockSize - offset};
}

void ResultTable::setRow(int row, std::string_view text, const RowFileView &file)
{
    splitCommaText(text, m_cells);
    storeRow(row, file);
}

void ResultTable::storeRow(int row, const RowFileView &file)
{
    // The file name usually repeats the file-name cell: only the rest is kept.
    const std::string_view nameCell = m_cells[1];
    const std::size_t shared =
        file.nativeName.starts_with(nameCell)
            ? nameCell.size()
            : std::mismatch(nameCell.begin(), nameCell.end(), file.nativeName.begin(), file.nativeName.end()).first -
                  nameCell.begin();
    const std::size_t tail = file.nativeName.size() - shared;
    // At most: each cell's length in 3 bytes (cells fit a block of 64 KB).
    std::size_t size = 3 * m_cells.size() + 2 + 5 * kLongestNumber + sizeof file.id.stamp + tail;
    for (const std::string_view cell : m_cells)
        size += cell.size();
    if (size > kBlockSize)
        throw std::length_error("a table row too long to keep");

    const RowRef ref = allocate(size);
    char *const start = m_blocks[ref >> kBlockBits].bytes.get() + (ref & (kBlockSize - 1));
    char *out = start;
    for (const std::string_view cell : m_cells) {
        out = putVarint(out, cell.size());
        out = std::copy(cell.begin(), cell.end(), out);
    }
    *out++ = static_cast<char>(file.kind);
    out = putVarint(out, file.id.volume);
    out = putVarint(out, file.id.index);
    *out++ = static_cast<char>(static_cast<unsigned>(file.id.witness) | (file.id.type & 0x0F) << 4);
    std::memcpy(out, &file.id.stamp, sizeof file.id.stamp);
    out += sizeof file.id.stamp;
    out = putVarint(out, file.id.size);
    if (shared == nameCell.size() && file.nativeName.substr(shared) == kTxt) {
        *out++ = static_cast<char>(kNameCellAndTxt);
    } else {
        out = putVarint(out, shared + 1);
        out = putVarint(out, tail);
        out = std::copy(file.nativeName.begin() + static_cast<std::ptrdiff_t>(shared), file.nativeName.end(), out);
    }
    // Only what was written is taken: the numbers are mostly short.
    m_used = (ref & (kBlockSize - 1)) + static_cast<std::size_t>(out - start);

    dropRow(m_rows[row]);
    m_rows[row] = ref;
}

ResultTable::RowRef ResultTable::allocate(std::size_t size)
{
    const bool haveBlock = m_current < m_blocks.size() && m_blocks[m_current].bytes;
    if (haveBlock && m_blocks[m_current].rows == 0)
        m_used = 0; // every row in it has gone: fill it again
    if (!haveBlock || m_used + size > kBlockSize) {
        // A fresh block, in the place of one that went if there is one.
        std::size_t slot = 0;
        while (slot < m_blocks.size() && m_blocks[slot].bytes)
            ++slot;
        if (slot >= (std::size_t(1) << (32 - kBlockBits)) - 1)
            throw std::length_error("too many table rows to keep");
        if (slot == m_blocks.size())
            m_blocks.emplace_back();
        m_blocks[slot].bytes = std::make_unique_for_overwrite<char[]>(kBlockSize);
        m_blocks[slot].rows = 0;
        m_current = slot;
        m_used = 0;
    }
    ++m_blocks[m_current].rows;
    return static_cast<RowRef>(m_current << kBlockBits | m_used);
}

void ResultTable::dropRow(RowRef ref) noexcept
{
    if (ref == kNoRow)
        return;
    Block &block = m_blocks[ref >> kBlockBits];
    // The block being filled stays even when empty: the next row goes there.
    if (--block.rows == 0 && (ref >> kBlockBits) != m_current)
        block.bytes.reset();
}

void ResultTable::keepDataRows(int n) noexcept
{
    const auto rows = static_cast<std::size_t>(std::max(n, 0)) + 1;
    // Dropping from the end of a deque never allocates.
    while (m_rows.size() > rows) {
        dropRow(m_rows.back());
        m_rows.pop_back();
    }
}

void ResultTable::setRowCount(int dataRows)
{
    const auto rows = static_cast<std::size_t>(dataRows) + 1;
    keepDataRows(dataRows);
    m_rows.resize(rows, kNoRow);
}

} // namespace listing
