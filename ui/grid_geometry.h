#pragma once

#include "ui/grid_navigation.h"
#include "ui/grid_selection.h"

#include <map>
#include <vector>

namespace ui::grid {

// Where a grid's cells lie, free of any toolkit: the columns in the order
// they are shown, with their widths, and the rows with their heights (the
// default, and those the user dragged), scrolled to a top row and sideways.
// Position 0 is the fixed column and the header row, which never scroll;
// every cell is followed by a grid line. Coordinates are the grid's client
// area's; `clientHeight` is its height.
struct GridGeometry {
    int rows = 0; // the data rows
    int defaultRowHeight = kDefaultRowHeight;
    PositionOrder columnOrder;     // position -> table column
    std::vector<int> widths;       // by table column
    std::map<int, int> rowHeights; // by position, where a row was resized
    int top = 1;                   // the first data row in view
    int scrollX = 0;               // how far the scrolling columns are scrolled

    int columnCount() const { return columnOrder.count(); }
    // 0 outside the grid.
    int columnWidthAt(int position) const;
    int rowHeightAt(int position) const;
    // The fixed column's and the header row's extents, with their lines.
    int fixedWidth() const;
    int headerHeight() const;
    // Where column `position` begins, scrolled; 0 for the fixed column.
    int columnLeft(int position) const;
    // Where row `position` begins, from the top row; rows above it lie above
    // the header (a negative or small y), rows far below stop counting at
    // the bottom of the client area.
    int rowTop(int position, int clientHeight) const;
    // The column or row at x or y; -1 outside the cells.
    int columnAtX(int x) const;
    int rowAtY(int y) const;
    // The width of every column but the fixed one, with their lines.
    int scrollableWidth() const;
    // How many rows from `fromTop` down are wholly in view.
    int fullyVisibleRows(int fromTop, int clientHeight) const;
    // The last row wholly in view (at least the top row).
    int lastVisibleRow(int clientHeight) const;
    // The highest top row from which `row` is still wholly in view.
    int topForBottomRow(int row, int clientHeight) const;
    // The top row that shows the last row at the bottom; 1 without rows.
    int maxTop(int clientHeight) const;
    // How many rows of the default height a page holds.
    int rowsPerPage(int clientHeight) const;
};

} // namespace ui::grid
