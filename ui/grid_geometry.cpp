#include "grid_geometry.h"

#include <algorithm>

namespace ui::grid {
namespace {

constexpr int kLine = kGridLineWidth;

} // namespace

int GridGeometry::columnWidthAt(int position) const
{
    if (position < 0 || position >= columnCount())
        return 0;
    const int column = columnOrder.at(position);
    if (column < 0 || static_cast<std::size_t>(column) >= widths.size())
        return 0;
    return widths[static_cast<std::size_t>(column)];
}

int GridGeometry::rowHeightAt(int position) const
{
    const auto found = rowHeights.find(position);
    return found == rowHeights.end() ? defaultRowHeight : found->second;
}

int GridGeometry::fixedWidth() const
{
    return columnWidthAt(0) + kLine;
}

int GridGeometry::headerHeight() const
{
    return rowHeightAt(0) + kLine;
}

int GridGeometry::columnLeft(int position) const
{
    if (position <= 0)
        return 0;
    int x = fixedWidth() - scrollX;
    for (int c = 1; c < position; ++c)
        x += columnWidthAt(c) + kLine;
    return x;
}

int GridGeometry::rowTop(int position, int clientHeight) const
{
    if (position <= 0)
        return 0;
    int y = headerHeight();
    if (position < top) {
        for (int r = position; r < top; ++r)
            y -= rowHeightAt(r) + kLine;
        return y;
    }
    for (int r = top; r < position && y <= clientHeight; ++r)
        y += rowHeightAt(r) + kLine;
    return y;
}

int GridGeometry::columnAtX(int x) const
{
    if (x < 0)
        return -1;
    if (x < fixedWidth())
        return 0;
    for (int c = 1; c < columnCount(); ++c) {
        const int left = columnLeft(c);
        if (x >= left && x < left + columnWidthAt(c) + kLine)
            return c;
    }
    return -1;
}

int GridGeometry::rowAtY(int y) const
{
    if (y < 0)
        return -1;
    if (y < headerHeight())
        return 0;
    int rowStart = headerHeight();
    for (int r = top; r <= rows; ++r) {
        const int bottom = rowStart + rowHeightAt(r) + kLine;
        if (y < bottom)
            return r;
        rowStart = bottom;
    }
    return -1;
}

int GridGeometry::scrollableWidth() const
{
    int width = 0;
    for (int c = 1; c < columnCount(); ++c)
        width += columnWidthAt(c) + kLine;
    return width;
}

int GridGeometry::fullyVisibleRows(int fromTop, int clientHeight) const
{
    int y = headerHeight();
    int count = 0;
    for (int r = fromTop; r <= rows; ++r) {
        y += rowHeightAt(r);
        if (y > clientHeight)
            break;
        y += kLine;
        ++count;
    }
    return count;
}

int GridGeometry::lastVisibleRow(int clientHeight) const
{
    return top + std::max(fullyVisibleRows(top, clientHeight), 1) - 1;
}

int GridGeometry::topForBottomRow(int row, int clientHeight) const
{
    const int room = clientHeight - headerHeight();
    int used = rowHeightAt(row);
    int first = row;
    while (first > 1 && used + kLine + rowHeightAt(first - 1) <= room) {
        used += kLine + rowHeightAt(first - 1);
        --first;
    }
    return first;
}

int GridGeometry::maxTop(int clientHeight) const
{
    return rows > 0 ? topForBottomRow(rows, clientHeight) : 1;
}

int GridGeometry::rowsPerPage(int clientHeight) const
{
    return grid::rowsPerPage(clientHeight - headerHeight(), defaultRowHeight + kLine);
}

} // namespace ui::grid
