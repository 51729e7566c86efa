#pragma once

#include "listing/result_table.h"
#include "ui/keyboard_access.h"

// How the table is moved through and measured, free of any toolkit: which
// row a key or the wheel makes current, the sizes of cells nobody has sized
// and the lines between them.
namespace ui::grid {

// Without the grid line that follows a column or a row.
inline constexpr int kDefaultColumnWidth = listing::ResultTable::kDefaultColumnWidth;
inline constexpr int kDefaultRowHeight = listing::ResultTable::kDefaultRowHeight;

// The lines lie between the cells: a column of width w takes w + 1 pixels,
// a row of height h is h + 1 pixels from the next.
inline constexpr int kGridLineWidth = 1;
// A cell's text starts this far in from the cell's left and top edges.
inline constexpr int kCellTextInset = 2;

// What a turn of the wheel counts in: one notch, which moves one row.
inline constexpr int kWheelNotch = 120;

// The data rows and the view, in the toolkit's own numbering of rows.
struct RowView {
    int first = 0;         // the first data row
    int last = -1;         // the last data row; below `first` when there is none
    int current = -1;      // the current row; outside first..last when there is none
    int topVisible = 0;    // the first row in view
    int bottomVisible = 0; // the last row wholly in view
    int page = 1;          // rows in a page
};

// The row that `action` makes current, or -1 when it moves no row (or the
// table has none). A table with no current row moves from the first.
int rowForAction(keyboard::GridAction action, const RowView &view);

// How many rows a page holds: the rows wholly in a view of `viewHeight`
// pixels, rows `rowPitch` pixels apart; at least one.
int rowsPerPage(int viewHeight, int rowPitch);

// Adds a wheel turn of `delta` (positive away from the user) to `pending`,
// the turn not yet a whole notch, and returns the rows the notches move the
// current row by: negative upwards, one a notch.
int wheelRows(int &pending, int delta);

} // namespace ui::grid
