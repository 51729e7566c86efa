// The grid on its own, over a table of its own, driven by the messages that
// Windows sends it: which of them make a row current, and what the user's
// moves and sizes do.

#include "win32_test_support.h"

#include "listing/result_table.h"
#include "ui/win32/result_grid.h"

#include <string>

namespace {

using ui::win32::ResultGrid;

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSEXA host{};
        host.cbSize = sizeof host;
        host.lpfnWndProc = DefWindowProcA;
        host.hInstance = GetModuleHandleA(nullptr);
        host.lpszClassName = "VelluminGridTestHost";
        RegisterClassExA(&host);
        m_host = CreateWindowExA(0, "VelluminGridTestHost", "grid test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                 600, 400, nullptr, nullptr, host.hInstance, nullptr);
        grid = std::make_unique<ResultGrid>(table);
        hwnd = grid->create(m_host, 1, nullptr);
        // 300 x 200 inside the border: 9 rows of 20 + 1 under the header.
        SetWindowPos(hwnd, nullptr, 0, 0, 304, 204, SWP_NOZORDER);
        ShowWindow(m_host, SW_SHOWNOACTIVATE);
        grid->setRowMadeCurrentHandler([this] { ++madeCurrent; });
        fill(50);
    }

    void TearDown() override
    {
        grid.reset();
        DestroyWindow(m_host);
        pumpMessages();
    }

    // Fills the table with `rows` rows named f1 ... and reloads the grid.
    void fill(int rows)
    {
        table.startListing();
        for (int i = 1; i <= rows; ++i) {
            listing::CookieEntry entry;
            entry.fileName = "f" + std::to_string(i);
            entry.url = "u" + std::to_string(i);
            entry.info = "i" + std::to_string(i);
            table.setDataRow(entry, i);
        }
        table.finishListing(rows, 9);
        grid->reload(ui::grid::kDefaultRowHeight);
        madeCurrent = 0;
    }

    POINT cell(int column, int row) const { return centre(grid->cellRect(column, row)); }
    void key(WPARAM vk) { SendMessageA(hwnd, WM_KEYDOWN, vk, 0); }
    void wheel(int delta) { SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }

    listing::ResultTable table;
    std::unique_ptr<ResultGrid> grid;
    HWND hwnd = nullptr;
    int madeCurrent = 0;

private:
    HWND m_host = nullptr;
};

TEST_F(GridTest, ReleaseOfALeftPressOnADataCellMakesItsRowCurrent)
{
    click(hwnd, cell(2, 3));
    EXPECT_EQ(madeCurrent, 1);
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_EQ(grid->selectedRows(), std::make_pair(3, 3));

    // Again on the row that is already current: it counts again.
    click(hwnd, cell(1, 3));
    EXPECT_EQ(madeCurrent, 2);

    // The press alone does not count; its release does.
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell(1, 5).x, cell(1, 5).y));
    EXPECT_EQ(madeCurrent, 2);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(cell(1, 5).x, cell(1, 5).y));
    EXPECT_EQ(madeCurrent, 3);
    EXPECT_EQ(grid->currentRow(), 5);
}

TEST_F(GridTest, PressesThatMakeNoRowCurrent)
{
    fill(3);
    click(hwnd, cell(2, 0));                                            // the header row
    click(hwnd, cell(0, 2));                                            // the number column
    click(hwnd, POINT{cell(1, 3).x, grid->cellRect(1, 3).bottom + 30}); // below the last row
    const LPARAM at = MAKELPARAM(cell(1, 2).x, cell(1, 2).y);
    SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageA(hwnd, WM_RBUTTONUP, 0, at);
    SendMessageA(hwnd, WM_MBUTTONDOWN, MK_MBUTTON, at);
    SendMessageA(hwnd, WM_MBUTTONUP, 0, at);
    EXPECT_EQ(madeCurrent, 0);
    EXPECT_EQ(grid->currentRow(), 1);
}

TEST_F(GridTest, SecondPressOfADoubleClickDoesNotCountAgain)
{
    const LPARAM at = MAKELPARAM(cell(1, 2).x, cell(1, 2).y);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(madeCurrent, 1);
}

TEST_F(GridTest, ShiftPressWidensTheRangeAndKeepsTheCurrentRow)
{
    click(hwnd, cell(1, 2));
    click(hwnd, cell(1, 6), MK_SHIFT);
    EXPECT_EQ(madeCurrent, 1);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(grid->selectedRows(), std::make_pair(2, 6));
}

TEST_F(GridTest, DraggingSelectsFromThePressedRow)
{
    const POINT from = cell(1, 2);
    const POINT to = cell(1, 5);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(grid->selectedRows(), std::make_pair(2, 5));
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(madeCurrent, 1);
}

TEST_F(GridTest, KeysThatMoveTheRowMakeItCurrentAndOthersDoNothing)
{
    key(VK_UP); // already on the first row: nothing moves
    key(VK_LEFT);
    key(VK_HOME);
    key('A');
    EXPECT_EQ(madeCurrent, 0);

    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_UP);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(madeCurrent, 3);
    // Left and Right move no row; with every column in view they do nothing.
    key(VK_RIGHT);
    key(VK_LEFT);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(madeCurrent, 3);

    key(VK_END);
    EXPECT_EQ(grid->currentRow(), 50);
    // The last row is in view: the grid scrolled with it.
    EXPECT_GT(grid->topRow(), 1);
    EXPECT_NE(grid->cellRect(1, 50).bottom, 0);
    key(VK_NEXT);
    EXPECT_EQ(madeCurrent, 4);

    key(VK_PRIOR);
    const int page = 50 - grid->currentRow();
    EXPECT_GE(page, 7);
    EXPECT_LE(page, 9);
    key(VK_HOME);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->topRow(), 1);
    EXPECT_EQ(madeCurrent, 6);
}

TEST_F(GridTest, ControlPageKeysGoToTheTopAndBottomRowsInView)
{
    key(VK_NEXT); // a page down, and the view follows
    const int top = grid->topRow();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    key(VK_PRIOR);
    const int atTop = grid->currentRow();
    key(VK_NEXT);
    const int atBottom = grid->currentRow();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(atTop, top);
    EXPECT_EQ(grid->topRow(), top);
    // The bottom row wholly in view, and the one below it not.
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_LE(grid->cellRect(1, atBottom).bottom, client.bottom);
    const RECT below = grid->cellRect(1, atBottom + 1);
    EXPECT_TRUE(below.bottom == 0 || below.bottom > client.bottom);
    EXPECT_GT(atBottom, top + 4);
}

TEST_F(GridTest, EachWheelStepMovesOneRow)
{
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(grid->currentRow(), 2);
    wheel(-2 * WHEEL_DELTA);
    EXPECT_EQ(grid->currentRow(), 4);
    EXPECT_EQ(madeCurrent, 3);
    // Half steps add up to one.
    wheel(WHEEL_DELTA / 2);
    EXPECT_EQ(madeCurrent, 3);
    wheel(WHEEL_DELTA / 2);
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_EQ(madeCurrent, 4);
    // At the first row, turning further up moves nothing.
    wheel(5 * WHEEL_DELTA);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(madeCurrent, 6);
}

TEST_F(GridTest, ReloadMakesNoRowCurrentAndStartsAtTheFirstRow)
{
    key(VK_END);
    madeCurrent = 0;
    fill(12);
    EXPECT_EQ(madeCurrent, 0);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->topRow(), 1);
    fill(0);
    EXPECT_EQ(grid->currentRow(), 0);
    key(VK_DOWN);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(madeCurrent, 0);
}

TEST_F(GridTest, LinesLieBetweenTheCells)
{
    // Column 0 fits "No" at 9 points: 18 pixels, all of them text area.
    const RECT number = grid->cellRect(0, 1);
    EXPECT_EQ(number.right - number.left, 18);
    EXPECT_EQ(grid->cellRect(1, 1).left, number.right + 1);
    // Rows are their height plus the line apart.
    EXPECT_EQ(grid->cellRect(1, 2).top - grid->cellRect(1, 1).top, ui::grid::kDefaultRowHeight + 1);
    EXPECT_EQ(grid->cellRect(1, 1).top, ui::grid::kDefaultRowHeight + 1);
}

TEST_F(GridTest, ScrollingSidewaysKeepsTheNumberColumnInPlace)
{
    const RECT before = grid->cellRect(1, 1);
    SendMessageA(hwnd, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_LT(grid->cellRect(1, 1).left, before.left);
    EXPECT_EQ(grid->cellRect(0, 1).left, 0);
}

TEST_F(GridTest, LeftAndRightScrollAWideTableSideways)
{
    table.startListing();
    listing::CookieEntry entry;
    entry.fileName = std::string(60, 'n');
    entry.url = std::string(60, 'u');
    table.setDataRow(entry, 1);
    table.setDataRow(entry, 2);
    table.finishListing(2, 9);
    grid->reload(ui::grid::kDefaultRowHeight);
    madeCurrent = 0;
    const RECT before = grid->cellRect(1, 1);
    key(VK_RIGHT);
    key(VK_RIGHT);
    const RECT scrolled = grid->cellRect(1, 1);
    EXPECT_LT(scrolled.left, before.left);
    EXPECT_EQ(grid->cellRect(0, 1).left, 0);
    key(VK_LEFT);
    EXPECT_GT(grid->cellRect(1, 1).left, scrolled.left);
    key(VK_LEFT);
    key(VK_LEFT); // at the left edge already
    EXPECT_EQ(grid->cellRect(1, 1).left, before.left);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(madeCurrent, 0);
}

TEST_F(GridTest, MovingAColumnByItsHeaderCarriesItsCellsAndWidth)
{
    const int urlWidth = grid->columnWidthAt(2);
    const POINT from = cell(2, 0);
    const POINT to = cell(1, 0);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(grid->tableColumnAt(1), 2);
    EXPECT_EQ(grid->tableColumnAt(2), 1);
    EXPECT_EQ(grid->columnWidthAt(1), urlWidth);
    EXPECT_EQ(madeCurrent, 0);
    // The next reload puts it back.
    fill(50);
    EXPECT_EQ(grid->tableColumnAt(1), 1);
}

TEST_F(GridTest, MovingARowByItsNumberKeepsTheCurrentRowOnItsFile)
{
    click(hwnd, cell(1, 2));
    const POINT from = cell(0, 2);
    const POINT to = cell(0, 5);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(grid->tableRowAt(5), 2);
    EXPECT_EQ(grid->tableRowAt(2), 3);
    EXPECT_EQ(grid->currentRow(), 5);
    EXPECT_EQ(grid->currentTableRow(), 2);
    EXPECT_EQ(madeCurrent, 1);
}

TEST_F(GridTest, ResizingAColumnAndARowByTheirEdges)
{
    const RECT header = grid->cellRect(1, 0);
    const int width = header.right - header.left;
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(header.right, 5));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(header.right + 25, 5));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(header.right + 25, 5));
    EXPECT_EQ(grid->columnWidthAt(1), width + 25);

    const RECT number = grid->cellRect(0, 3);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, number.bottom));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, number.bottom + 10));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, number.bottom + 10));
    EXPECT_EQ(grid->rowHeightAt(3), ui::grid::kDefaultRowHeight + 10);
    EXPECT_EQ(grid->cellRect(1, 4).top - grid->cellRect(1, 3).top, ui::grid::kDefaultRowHeight + 10 + 1);
    EXPECT_EQ(madeCurrent, 0);
}

TEST_F(GridTest, WantsTheArrowsButNotTab)
{
    const LRESULT code = SendMessageA(hwnd, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
    EXPECT_FALSE(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
}

} // namespace
