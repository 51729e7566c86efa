// Where the grid's cells lie, without a window: the rules the Windows grid
// paints, hit-tests and scrolls by.

#include "ui/grid_geometry.h"

#include <gtest/gtest.h>

namespace {

using ui::grid::GridGeometry;

// Four columns of 20 (fixed), 50, 30 and 40 pixels, ten rows of 10, each
// cell followed by a line of 1: the header row ends at y 11, the fixed
// column at x 21.
GridGeometry tenRows()
{
    GridGeometry grid;
    grid.rows = 10;
    grid.defaultRowHeight = 10;
    grid.widths = {20, 50, 30, 40};
    grid.columnOrder.reset(4);
    return grid;
}

TEST(GridGeometry, ColumnsScrollBehindTheFixedOneAndOwnTheLineAfterThem)
{
    GridGeometry grid = tenRows();
    EXPECT_EQ(grid.fixedWidth(), 21);
    EXPECT_EQ(grid.columnLeft(1), 21);
    EXPECT_EQ(grid.columnLeft(3), 21 + 51 + 31);
    EXPECT_EQ(grid.scrollableWidth(), 51 + 31 + 41);
    EXPECT_EQ(grid.columnAtX(20), 0); // the fixed column's line
    EXPECT_EQ(grid.columnAtX(21), 1);
    EXPECT_EQ(grid.columnAtX(21 + 50), 1); // its line
    EXPECT_EQ(grid.columnAtX(21 + 51), 2);
    EXPECT_EQ(grid.columnAtX(21 + 51 + 31 + 41), -1); // past the last
    EXPECT_EQ(grid.columnAtX(-1), -1);

    // Scrolled, the fixed column stays and covers what passes behind it.
    grid.scrollX = 25;
    EXPECT_EQ(grid.columnLeft(1), -4);
    EXPECT_EQ(grid.columnAtX(5), 0);
    EXPECT_EQ(grid.columnAtX(21), 1);
    EXPECT_EQ(grid.columnAtX(21 + 47), 2);

    // A moved column brings its width along.
    ASSERT_TRUE(grid.columnOrder.move(3, 1));
    EXPECT_EQ(grid.columnWidthAt(1), 40);
    EXPECT_EQ(grid.columnWidthAt(2), 50);
    EXPECT_EQ(grid.scrollableWidth(), 51 + 31 + 41);
    EXPECT_EQ(grid.columnWidthAt(4), 0);
    EXPECT_EQ(grid.columnWidthAt(-1), 0);
}

TEST(GridGeometry, RowsCountFromTheTopRowWithTheirOwnHeights)
{
    GridGeometry grid = tenRows();
    grid.rowHeights[3] = 25;
    EXPECT_EQ(grid.headerHeight(), 11);
    EXPECT_EQ(grid.rowTop(1, 200), 11);
    EXPECT_EQ(grid.rowTop(4, 200), 11 + 11 + 11 + 26);
    EXPECT_EQ(grid.rowAtY(10), 0);
    EXPECT_EQ(grid.rowAtY(11), 1);
    EXPECT_EQ(grid.rowAtY(11 + 22 + 25), 3); // the tall row's line
    EXPECT_EQ(grid.rowAtY(11 + 22 + 26), 4);
    EXPECT_EQ(grid.rowAtY(11 + 22 + 26 + 7 * 11), -1); // below the last row
    EXPECT_EQ(grid.rowAtY(-1), -1);

    // Scrolled down, rows above the top lie above the header.
    grid.top = 4;
    EXPECT_EQ(grid.rowTop(4, 200), 11);
    EXPECT_EQ(grid.rowTop(3, 200), 11 - 26);
    EXPECT_EQ(grid.rowAtY(11), 4);
    // Far below the client area the count stops at its bottom.
    EXPECT_LE(grid.rowTop(10, 30), 30 + 11);
}

TEST(GridGeometry, OnlyWholeRowsCountAsVisibleAndTheLastRowEndsAtTheBottom)
{
    GridGeometry grid = tenRows();
    // Room for three whole rows and most of a fourth.
    const int height = 11 + 3 * 11 + 9;
    EXPECT_EQ(grid.fullyVisibleRows(1, height), 3);
    EXPECT_EQ(grid.lastVisibleRow(height), 3);
    EXPECT_EQ(grid.rowsPerPage(height), 3);
    EXPECT_EQ(grid.fullyVisibleRows(1, 11 + 10), 1); // the last line may be cut off
    EXPECT_EQ(grid.maxTop(height), 8);
    EXPECT_EQ(grid.topForBottomRow(5, height), 3);
    // A tall row takes the room of others.
    grid.rowHeights[9] = 25;
    EXPECT_EQ(grid.maxTop(height), 9);
    // Too low for a single row, the top row still counts as shown.
    EXPECT_EQ(grid.fullyVisibleRows(1, 15), 0);
    EXPECT_EQ(grid.lastVisibleRow(15), 1);
    EXPECT_EQ(grid.topForBottomRow(6, 15), 6);
}

TEST(GridGeometry, AnEmptyGridHasOnlyItsHeader)
{
    GridGeometry grid;
    grid.widths = {20, 50};
    grid.columnOrder.reset(2);
    EXPECT_EQ(grid.maxTop(100), 1);
    EXPECT_EQ(grid.fullyVisibleRows(1, 100), 0);
    EXPECT_EQ(grid.rowAtY(grid.headerHeight()), -1);
    EXPECT_EQ(grid.rowAtY(0), 0);
    EXPECT_EQ(grid.columnAtX(30), 1);
}

} // namespace
