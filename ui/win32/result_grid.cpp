#include "result_grid.h"

#include "gdi.h"
#include "grid_accessible.h"
#include "listing/result_table.h"
#include "platform/wide_text_win32.h"
#include "platform/win32/busy_cursor.h"

#include "win32_keys.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminGrid";
constexpr int kTextInset = grid::kCellTextInset;
constexpr int kLine = grid::kGridLineWidth;
// How near a line between fixed cells the mouse must be to resize.
constexpr int kEdgeReach = 2;

void fill(HDC dc, int left, int top, int right, int bottom, int colour)
{
    const RECT r{left, top, right, bottom};
    FillRect(dc, &r, GetSysColorBrush(colour));
}

} // namespace

ResultGrid::ResultGrid(const listing::ResultTable &table) : m_table(table) {}

HWND ResultGrid::create(HWND parent, int id, HFONT font)
{
    registerClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    m_font = font;
    return Window::create(WS_EX_CLIENTEDGE, kClassName, "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, parent, id);
}

void ResultGrid::reload(int rowHeight)
{
    if (GetCapture() == hwnd())
        ReleaseCapture();
    m_drag = Drag::None;
    m_geometry.rows = std::max(m_table.dataRowCount(), 0);
    m_geometry.defaultRowHeight = rowHeight;
    const int columns = m_table.columnCount();
    m_geometry.columnOrder.reset(columns);
    m_geometry.widths.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        m_geometry.widths[static_cast<std::size_t>(c)] = m_table.columnWidth(c);
    if (columns > 0)
        m_geometry.widths[0] = numberColumnWidth(m_geometry.widths[0]);
    m_rowOrder.reset(m_geometry.rows + 1);
    m_geometry.rowHeights.clear();
    m_geometry.top = 1;
    m_geometry.scrollX = 0;
    m_selection.reset(m_geometry.rows);
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
    announceCurrentRow(true);
}

int ResultGrid::numberColumnWidth(int fitted) const
{
    // The fitted width counts bytes, and "No" or a number of two digits
    // may be wider than that in the window's font: room for the widest,
    // after its inset, the cell's raised edge and a pixel of its own.
    if (!hwnd() || !m_font)
        return fitted;
    const std::size_t digits = std::to_string(std::max(m_geometry.rows, 1)).size();
    const WindowDc dc(hwnd());
    const SelectObjectScope font(dc.get(), m_font);
    int widest = 0;
    for (const std::wstring &text : {platform::win32::wideFromCp932(m_table.cell(0, 0)), std::wstring(digits, L'0')}) {
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    return std::max(fitted, widest + kTextInset + 2);
}

int ResultGrid::currentTableRow() const
{
    const int current = m_selection.current();
    return current > 0 ? tableRowAt(current) : 0;
}

void ResultGrid::makeRowCurrent(int row)
{
    if (row < 1 || row > m_geometry.rows)
        return;
    m_selection.makeCurrent(row);
    selectionChanged();
}

std::string_view ResultGrid::cellText(int column, int row) const
{
    if (column < 0 || column >= columnCount() || row < 0 || row > m_geometry.rows)
        return {};
    return m_table.cell(tableColumnAt(column), tableRowAt(row));
}

std::pair<int, int> ResultGrid::cellAt(POINT at) const
{
    return {m_geometry.columnAtX(at.x), m_geometry.rowAtY(at.y)};
}

void ResultGrid::announceCurrentRow(bool always)
{
    const int current = m_selection.current();
    if (!hwnd() || (!always && current == m_announcedRow))
        return;
    m_announcedRow = current;
    if (current <= 0)
        return;
    // The row's child id is its position + 1: the header row is child 1.
    const LONG child = current + 1;
    NotifyWinEvent(EVENT_OBJECT_SELECTION, hwnd(), OBJID_CLIENT, child);
    if (GetFocus() == hwnd())
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd(), OBJID_CLIENT, child);
}

LRESULT ResultGrid::accessibleObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
        return defaultProcedure(WM_GETOBJECT, wParam, lParam);
    return m_accessible.answer(wParam, [this] { return new GridAccessible(*this); });
}

int ResultGrid::tableColumnAt(int position) const
{
    return m_geometry.columnOrder.at(position);
}

int ResultGrid::tableRowAt(int position) const
{
    return m_rowOrder.at(position);
}

int ResultGrid::clientWidth() const
{
    RECT r{};
    GetClientRect(hwnd(), &r);
    return r.right;
}

int ResultGrid::clientHeight() const
{
    RECT r{};
    GetClientRect(hwnd(), &r);
    return r.bottom;
}

void ResultGrid::updateScrollBars()
{
    if (m_updatingScrollBars || !hwnd())
        return;
    m_updatingScrollBars = true;
    // Showing one bar narrows the room for the other: settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        m_geometry.top = std::clamp(m_geometry.top, 1, std::max(m_geometry.maxTop(clientHeight()), 1));
        SCROLLINFO vertical{};
        vertical.cbSize = sizeof vertical;
        vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        vertical.nMin = 1;
        vertical.nMax = std::max(m_geometry.rows, 1);
        const int height = clientHeight();
        vertical.nPage = static_cast<UINT>(
            m_geometry.rows > 0 ? std::max(m_geometry.fullyVisibleRows(m_geometry.maxTop(height), height), 1) : 1);
        vertical.nPos = m_geometry.top;
        SetScrollInfo(hwnd(), SB_VERT, &vertical, TRUE);

        const int room = std::max(clientWidth() - m_geometry.fixedWidth(), 0);
        m_geometry.scrollX = std::clamp(m_geometry.scrollX, 0, std::max(m_geometry.scrollableWidth() - room, 0));
        SCROLLINFO horizontal{};
        horizontal.cbSize = sizeof horizontal;
        horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        horizontal.nMin = 0;
        horizontal.nMax = std::max(m_geometry.scrollableWidth() - 1, 0);
        horizontal.nPage = static_cast<UINT>(std::max(room, 1));
        horizontal.nPos = m_geometry.scrollX;
        SetScrollInfo(hwnd(), SB_HORZ, &horizontal, TRUE);
    }
    m_updatingScrollBars = false;
}

void ResultGrid::setTop(int top)
{
    top = std::clamp(top, 1, std::max(m_geometry.maxTop(clientHeight()), 1));
    if (top == m_geometry.top)
        return;
    m_geometry.top = top;
    SetScrollPos(hwnd(), SB_VERT, m_geometry.top, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::setScrollX(int x)
{
    const int room = std::max(clientWidth() - m_geometry.fixedWidth(), 0);
    x = std::clamp(x, 0, std::max(m_geometry.scrollableWidth() - room, 0));
    if (x == m_geometry.scrollX)
        return;
    m_geometry.scrollX = x;
    SetScrollPos(hwnd(), SB_HORZ, m_geometry.scrollX, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::ensureVisible(int row)
{
    if (row < 1)
        return;
    if (row < m_geometry.top)
        setTop(row);
    else if (row > m_geometry.lastVisibleRow(clientHeight()))
        setTop(m_geometry.topForBottomRow(row, clientHeight()));
}

void ResultGrid::onVerticalScroll(int code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd(), SB_VERT, &info);
    const int page = std::max(m_geometry.fullyVisibleRows(m_geometry.top, clientHeight()), 1);
    switch (code) {
    case SB_LINEUP:
        setTop(m_geometry.top - 1);
        break;
    case SB_LINEDOWN:
        setTop(m_geometry.top + 1);
        break;
    case SB_PAGEUP:
        setTop(m_geometry.top - page);
        break;
    case SB_PAGEDOWN:
        setTop(m_geometry.top + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        setTop(info.nTrackPos);
        break;
    case SB_TOP:
        setTop(1);
        break;
    case SB_BOTTOM:
        setTop(m_geometry.rows);
        break;
    default:
        break;
    }
}

void ResultGrid::onHorizontalScroll(int code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd(), SB_HORZ, &info);
    const int step = grid::kDefaultColumnWidth;
    switch (code) {
    case SB_LINELEFT:
        setScrollX(m_geometry.scrollX - step);
        break;
    case SB_LINERIGHT:
        setScrollX(m_geometry.scrollX + step);
        break;
    case SB_PAGELEFT:
        setScrollX(m_geometry.scrollX - static_cast<int>(info.nPage));
        break;
    case SB_PAGERIGHT:
        setScrollX(m_geometry.scrollX + static_cast<int>(info.nPage));
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        setScrollX(info.nTrackPos);
        break;
    default:
        break;
    }
}

RECT ResultGrid::cellRect(int column, int row) const
{
    RECT r{};
    if (column < 0 || column >= columnCount() || row < 0 || row > m_geometry.rows || (row > 0 && row < m_geometry.top))
        return r;
    const int left = m_geometry.columnLeft(column);
    const int top = m_geometry.rowTop(row, clientHeight());
    if (top >= clientHeight() || left >= clientWidth())
        return r;
    return RECT{left, top, left + m_geometry.columnWidthAt(column), top + m_geometry.rowHeightAt(row)};
}

void ResultGrid::paint()
{
    const ClientPaint painting(hwnd(), m_font);
    const HDC dc = painting.dc();
    if (!dc)
        return;
    const RECT &client = painting.client();
    SetBkMode(dc, TRANSPARENT);

    const bool focused = GetFocus() == hwnd();
    const auto [selectFirst, selectLast] = selectedRows();
    const int fixed = m_geometry.fixedWidth();

    const auto drawCell = [&](int x, int y, int width, int height, int column, int row, bool isFixed) {
        const RECT cell{x, y, x + width, y + height};
        const std::string_view text = m_table.cell(tableColumnAt(column), tableRowAt(row));
        const bool selected = !isFixed && row >= selectFirst && row <= selectLast && selectFirst > 0;
        if (isFixed) {
            FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
            RECT edge = cell;
            DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        } else {
            FillRect(dc, &cell, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        }
        if (!text.empty()) {
            // CP932 whatever the system's code page.
            const std::wstring wide = platform::win32::wideFromCp932(text);
            ExtTextOutW(dc, x + kTextInset, y + kTextInset, ETO_CLIPPED, &cell, wide.data(),
                        static_cast<UINT>(wide.size()), nullptr);
        }
        // The lines right of and below the cell.
        const int line = isFixed ? COLOR_3DDKSHADOW : COLOR_BTNFACE;
        fill(dc, x + width, y, x + width + kLine, y + height + kLine, line);
        fill(dc, x, y + height, x + width + kLine, y + height + kLine, line);
    };

    // The rows in view: the header row, then the data rows from the top.
    std::vector<int> rows{0};
    for (int r = m_geometry.top, y = m_geometry.headerHeight(); r <= m_geometry.rows && y < client.bottom; ++r) {
        rows.push_back(r);
        y += m_geometry.rowHeightAt(r) + kLine;
    }

    // Scrolled columns first, clipped right of the fixed column...
    {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, fixed, 0, client.right, client.bottom);
        for (const int row : rows) {
            const int y = m_geometry.rowTop(row, clientHeight());
            for (int c = 1, x = fixed - m_geometry.scrollX; c < columnCount() && x < client.right; ++c) {
                const int width = m_geometry.columnWidthAt(c);
                if (x + width + kLine > fixed)
                    drawCell(x, y, width, m_geometry.rowHeightAt(row), c, row, row == 0);
                x += width + kLine;
            }
        }
        RestoreDC(dc, saved);
    }
    // ...then the fixed number column over its place.
    for (const int row : rows)
        drawCell(0, m_geometry.rowTop(row, clientHeight()), m_geometry.columnWidthAt(0), m_geometry.rowHeightAt(row), 0,
                 row, true);

    const int current = m_selection.current();
    if (focused && current >= m_geometry.top && current <= m_geometry.rows) {
        const int y = m_geometry.rowTop(current, clientHeight());
        if (y < client.bottom) {
            RECT frame{fixed, y,
                       std::min(fixed - m_geometry.scrollX + m_geometry.scrollableWidth() - kLine,
                                static_cast<int>(client.right)),
                       y + m_geometry.rowHeightAt(current)};
            if (frame.right > frame.left) {
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                DrawFocusRect(dc, &frame);
            }
        }
    }
}

std::pair<ResultGrid::Drag, int> ResultGrid::edgeAt(POINT at) const
{
    if (at.y >= 0 && at.y < m_geometry.headerHeight()) {
        for (int c = 0; c < columnCount(); ++c) {
            const int right = m_geometry.columnLeft(c) + m_geometry.columnWidthAt(c);
            if ((c == 0 || right >= m_geometry.fixedWidth()) && std::abs(at.x - right) <= kEdgeReach)
                return {Drag::ResizeColumn, c};
        }
    }
    if (at.x >= 0 && at.x < m_geometry.fixedWidth()) {
        for (int r = at.y < m_geometry.headerHeight() + kEdgeReach ? 0 : m_geometry.top, y = 0; r <= m_geometry.rows;
             r = r == 0 ? m_geometry.top : r + 1) {
            y = m_geometry.rowTop(r, clientHeight()) + m_geometry.rowHeightAt(r);
            if (y > clientHeight() + kEdgeReach)
                break;
            if (std::abs(at.y - y) <= kEdgeReach)
                return {Drag::ResizeRow, r};
        }
    }
    return {Drag::None, -1};
}

void ResultGrid::onLeftDown(POINT at, WPARAM keys)
{
    m_selection.cancelPress();
    SetFocus(hwnd());
    const auto [edge, index] = edgeAt(at);
    if (edge != Drag::None) {
        m_drag = edge;
        m_dragIndex = index;
        m_dragStart = edge == Drag::ResizeColumn ? at.x : at.y;
        m_dragStartSize = edge == Drag::ResizeColumn ? m_geometry.columnWidthAt(index) : m_geometry.rowHeightAt(index);
        SetCapture(hwnd());
        return;
    }
    const int column = m_geometry.columnAtX(at.x);
    const int row = m_geometry.rowAtY(at.y);
    if (column < 0 || row < 0)
        return;
    if (row == 0 || column == 0) {
        // A fixed cell: a column or a row to move.
        if (row == 0 && column >= 1) {
            m_drag = Drag::MoveColumn;
            m_dragIndex = column;
            SetCapture(hwnd());
        } else if (column == 0 && row >= 1) {
            m_drag = Drag::MoveRow;
            m_dragIndex = row;
            SetCapture(hwnd());
        }
        return;
    }
    m_selection.press(row, keys & MK_SHIFT);
    if (m_selection.pressPending()) {
        m_drag = Drag::Select;
        SetCapture(hwnd());
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
    announceCurrentRow();
}

void ResultGrid::onMouseMove(POINT at)
{
    switch (m_drag) {
    case Drag::ResizeColumn:
        m_geometry.widths[static_cast<std::size_t>(tableColumnAt(m_dragIndex))] =
            std::max(m_dragStartSize + static_cast<int>(at.x) - m_dragStart, 0);
        updateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case Drag::ResizeRow:
        m_geometry.rowHeights[m_dragIndex] = std::max(m_dragStartSize + static_cast<int>(at.y) - m_dragStart, 0);
        updateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case Drag::Select: {
        if (!m_selection.pressPending() || m_geometry.rows == 0)
            break;
        // The rows from the pressed one to the one under the mouse; above or
        // below the rows in view the grid scrolls by a row.
        int row;
        if (at.y < m_geometry.headerHeight())
            row = std::max(m_geometry.top - 1, 1);
        else if (at.y >= clientHeight())
            row = std::min(m_geometry.lastVisibleRow(clientHeight()) + 1, m_geometry.rows);
        else {
            row = m_geometry.rowAtY(at.y);
            if (row < 0)
                row = m_geometry.rows;
        }
        m_selection.dragTo(row);
        ensureVisible(row);
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    }
    default:
        break;
    }
}

void ResultGrid::onLeftUp(POINT at)
{
    // Releasing the capture tells us the capture changed: take the state
    // of the press first.
    const Drag drag = m_drag;
    const bool madeCurrent = m_selection.release();
    m_drag = Drag::None;
    if (GetCapture() == hwnd())
        ReleaseCapture();
    if (drag == Drag::MoveColumn) {
        const int to = at.x < m_geometry.fixedWidth() ? 1 : m_geometry.columnAtX(at.x);
        moveColumn(m_dragIndex, to < 0 ? columnCount() - 1 : to);
        return;
    }
    if (drag == Drag::MoveRow) {
        int to = at.y < m_geometry.headerHeight() ? m_geometry.top : m_geometry.rowAtY(at.y);
        moveRow(m_dragIndex, to < 0 ? m_geometry.rows : to);
        return;
    }
    if (madeCurrent)
        rowMadeCurrent();
}

void ResultGrid::moveColumn(int from, int to)
{
    if (!m_geometry.columnOrder.move(from, to))
        return;
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::moveRow(int from, int to)
{
    if (!m_rowOrder.move(from, to))
        return;
    // A resized row keeps its height where it goes; the rows between shift.
    std::map<int, int> heights;
    for (const auto &[position, height] : m_geometry.rowHeights)
        heights[grid::movedPosition(position, from, to)] = height;
    m_geometry.rowHeights = std::move(heights);
    // The current row stays on the same table row.
    m_selection.rowMoved(from, to);
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
    announceCurrentRow();
}

bool ResultGrid::onKey(WPARAM key)
{
    using Outcome = grid::GridSelection::KeyOutcome;
    const grid::GridSelection::View view{m_geometry.top, m_geometry.lastVisibleRow(clientHeight()),
                                         m_geometry.rowsPerPage(clientHeight())};
    const Outcome outcome = m_selection.key(keyStroke(key), view);
    switch (outcome) {
    case Outcome::Ignored:
        return false;
    case Outcome::ScrollLeft:
    case Outcome::ScrollRight:
        // Nothing to do where the view shows every column.
        onHorizontalScroll(outcome == Outcome::ScrollLeft ? SB_LINELEFT : SB_LINERIGHT);
        return true;
    case Outcome::Unchanged:
        return true;
    case Outcome::Moved:
        break;
    }
    selectionChanged();
    rowMadeCurrent();
    return true;
}

void ResultGrid::onWheel(int delta)
{
    m_selection.wheel(delta, [this] {
        selectionChanged();
        rowMadeCurrent();
    });
}

void ResultGrid::selectionChanged()
{
    ensureVisible(m_selection.current());
    InvalidateRect(hwnd(), nullptr, FALSE);
    announceCurrentRow();
}

void ResultGrid::rowMadeCurrent()
{
    // Paint the new current row before the handler reads its file, so that
    // a slow file does not leave the old row showing.
    UpdateWindow(hwnd());
    if (m_onRowMadeCurrent)
        m_onRowMadeCurrent();
}

bool ResultGrid::onSetCursor()
{
    if (platform::win32::BusyCursor::active()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(hwnd(), &at);
    Drag edge = m_drag;
    if (edge != Drag::ResizeColumn && edge != Drag::ResizeRow)
        edge = edgeAt(at).first;
    if (edge == Drag::ResizeColumn)
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    else if (edge == Drag::ResizeRow)
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
    else
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

LRESULT ResultGrid::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        updateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_SETFOCUS:
        InvalidateRect(hwnd(), nullptr, FALSE);
        // The system tells of the focus on the table itself once this
        // message is handled: the row's own focus event comes after it, so
        // that a screen reader ends on the row, not on the table.
        PostMessageW(hwnd(), kAnnounceFocusedRow, 0, 0);
        return 0;
    case kAnnounceFocusedRow:
        if (GetFocus() == hwnd())
            announceCurrentRow(true);
        return 0;
    case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_GETOBJECT:
        return accessibleObject(wParam, lParam);
    case WM_NCDESTROY:
        m_accessible.release();
        break;
    case WM_GETDLGCODE:
        // Arrows and other keys are ours; Tab and Enter go to the window.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_VSCROLL:
        onVerticalScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        onHorizontalScroll(LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        onLeftDown(at, wParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: it makes nothing current.
        m_selection.cancelPress();
        SetFocus(hwnd());
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(at);
        return 0;
    case WM_LBUTTONUP:
        onLeftUp(at);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd()) {
            m_drag = Drag::None;
            m_selection.cancelPress();
        }
        return 0;
    case WM_KEYDOWN:
        if (onKey(wParam))
            return 0;
        break;
    case WM_MOUSEWHEEL:
        onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && onSetCursor())
            return TRUE;
        break;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

} // namespace ui::win32
