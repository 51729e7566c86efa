#include "result_table.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace listing {
namespace {

constexpr std::array<int, 4> kProvisionalWidths = {30, 144, 240, 400};

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

void ResultTable::AddGridRow(const TCookies &entry, int i, std::string_view file)
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

std::string_view ResultTable::rowFile(int row) const
{
    if (!isDataRow(row))
        return {};
    return field(m_rows[row], kGridColumnCount);
}

void ResultTable::setRow(int row, std::string_view text, std::string_view file)
{
    splitCommaText(text, m_cells);
    std::size_t size = m_cells.size() + file.size();
    for (const std::string &cell : m_cells)
        size += cell.size();
    std::string packed;
    packed.reserve(size); // exactly: 100,000 rows must not carry spare capacity
    for (const std::string &cell : m_cells) {
        packed += cell;
        packed += '\0';
    }
    packed += file;
    m_rows[row] = std::move(packed);
}

void ResultTable::setRowCount(int dataRows)
{
    m_rows.resize(static_cast<std::size_t>(dataRows) + 1);
}

} // namespace listing
