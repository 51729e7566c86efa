#include "result_table.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstring>

namespace listing {
namespace {

constexpr std::array<int, 4> kProvisionalWidths = {30, 144, 240, 400};

// A row ends with the identity of its file in a fixed number of bytes: its
// kind, volume, index and birth.
constexpr std::size_t kFileRecord = 1 + 3 * sizeof(std::uint64_t);

void putNumber(std::string &out, std::uint64_t value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

std::uint64_t getNumber(const char *bytes)
{
    std::uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Cell `column` (0 to 8) of a stored row, or its file name for column 9.
std::string_view field(std::string_view row, int column)
{
    std::size_t start = 0;
    for (int c = 0; c < column; ++c) {
        const std::size_t separator = row.find('\0', start);
        if (separator == std::string_view::npos)
            return {};
        start = separator + 1;
    }
    const std::size_t end = row.find('\0', start);
    return row.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace

ResultTable::ResultTable()
{
    m_widths.fill(kDefaultColumnWidth);
    m_rows.emplace_back(); // the header row, empty until InitGrid
}

void ResultTable::InitGrid()
{
    m_columnCount = kGridColumnCount;
    std::copy(kProvisionalWidths.begin(), kProvisionalWidths.end(), m_widths.begin());
    setRow(0, "No,FileName,URL(?),Info(?)", {});
}

void ResultTable::AddGridRow(const TCookies &entry, int i, const RowFile &file)
{
    if (i < 1)
        return;
    // "%5d": the number right-aligned in five characters.
    char number[16];
    const auto digits = std::to_chars(number, number + sizeof number, i).ptr - number;
    m_rowText.assign(digits < 5 ? 5 - digits : 0, ' ');
    m_rowText.append(number, static_cast<std::size_t>(digits));
    m_rowText += ',';
    m_rowText += entry.FileName;
    m_rowText += ',';
    m_rowText += entry.Url;
    m_rowText += ',';
    m_rowText += entry.Info;
    setRowCount(i);
    setRow(i, m_rowText, file);
}

void ResultTable::FitGridColumns(int n, int pointSize)
{
    setRowCount(std::max(n, 0));
    constexpr int kFitted = 5;
    std::array<std::size_t, kFitted> longest{};
    for (const std::string &row : m_rows) {
        std::size_t start = 0;
        for (int column = 0; column < kFitted; ++column) {
            const std::size_t end = row.find('\0', start);
            longest[column] = std::max(longest[column], std::min(end, row.size()) - start);
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    for (int column = 0; column < kFitted; ++column) {
        // An empty column takes column 0's width, already fitted, times the
        // point size again.
        m_widths[column] = longest[column] > 0 ? static_cast<int>(longest[column]) * pointSize
                                               : m_widths[0] * pointSize;
    }
}

std::string ResultTable::GetGridCell(int column, int row) const
{
    if (column < 0 || column > 4 || !isDataRow(row))
        return {};
    return std::string(cell(column, row));
}

std::string ResultTable::GetRowFileName(int row) const
{
    if (!isDataRow(row))
        return {};
    return GetGridCell(1, row) + ".txt";
}

std::string_view ResultTable::cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= rowCount())
        return {};
    return field(m_rows[row], column);
}

int ResultTable::columnWidth(int column) const
{
    return column >= 0 && column < m_columnCount ? m_widths[column] : 0;
}

RowFile ResultTable::rowFile(int row) const
{
    if (!isDataRow(row))
        return {};
    const std::string_view packed = m_rows[row];
    if (packed.size() < kFileRecord)
        return {};
    const std::string_view cellsAndName = packed.substr(0, packed.size() - kFileRecord);
    const char *record = packed.data() + cellsAndName.size();
    RowFile file;
    file.nativeName = field(cellsAndName, kGridColumnCount);
    file.kind = static_cast<platform::EntryKind>(record[0]);
    file.id.volume = getNumber(record + 1);
    file.id.index = getNumber(record + 1 + sizeof(std::uint64_t));
    file.id.birth = getNumber(record + 1 + 2 * sizeof(std::uint64_t));
    return file;
}

void ResultTable::setRow(int row, std::string_view text, const RowFile &file)
{
    splitCommaText(text, m_cells);
    std::size_t size = m_cells.size() + file.nativeName.size() + kFileRecord;
    for (const std::string &cell : m_cells)
        size += cell.size();
    std::string packed;
    packed.reserve(size); // exactly: 100,000 rows must not carry spare capacity
    for (const std::string &cell : m_cells) {
        packed += cell;
        packed += '\0';
    }
    packed += file.nativeName;
    packed += static_cast<char>(file.kind);
    putNumber(packed, file.id.volume);
    putNumber(packed, file.id.index);
    putNumber(packed, file.id.birth);
    m_rows[row] = std::move(packed);
}

void ResultTable::keepDataRows(int n) noexcept
{
    const auto rows = static_cast<std::size_t>(std::max(n, 0)) + 1;
    // Erasing from the end of a deque never allocates.
    if (m_rows.size() > rows)
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(rows), m_rows.end());
}

void ResultTable::setRowCount(int dataRows)
{
    m_rows.resize(static_cast<std::size_t>(dataRows) + 1);
}

} // namespace listing
