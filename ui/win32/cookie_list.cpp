#include "cookie_list.h"

#include "listing/cookie_table.h"
#include "platform/wide_text_win32.h"
#include "ui/cookie_columns.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

namespace ui::win32 {
namespace {

int listItem(HWND list, int from, UINT flags)
{
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(from), MAKELPARAM(flags, 0)));
}

// The width of `title` (CP932) as `header` draws it.
int titleWidth(HWND header, const std::string &title)
{
    const HDC dc = GetDC(header);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const std::wstring wide = platform::win32::wideFromCp932(title);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(header, dc);
    return static_cast<int>(extent.cx);
}

} // namespace

SelectedRange selectedRange(HWND list)
{
    SelectedRange range;
    range.first = listItem(list, -1, LVNI_SELECTED);
    if (range.first < 0)
        return range;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    // Every selected row lies at or after the first; when none lies after
    // first + count - 1, the count fills that span exactly.
    const int end = range.first + std::max(count, 1) - 1;
    if (listItem(list, end - 1, LVNI_SELECTED) == end && listItem(list, end, LVNI_SELECTED) < 0) {
        range.last = end;
        return range;
    }
    range.whole = false;
    range.last = range.first;
    for (int next = listItem(list, range.first, LVNI_SELECTED); next >= 0; next = listItem(list, next, LVNI_SELECTED))
        range.last = next;
    return range;
}

std::vector<int> selectedRowsOf(HWND list)
{
    const SelectedRange range = selectedRange(list);
    std::vector<int> rows;
    if (range.first < 0)
        return rows;
    if (range.whole) {
        rows.resize(static_cast<std::size_t>(range.last - range.first + 1));
        std::iota(rows.begin(), rows.end(), range.first);
        return rows;
    }
    for (int row = range.first; row >= 0; row = listItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

HWND CookieList::createWindow(HWND parent, int id, HFONT font, int columnWidth)
{
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const DWORD extras = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extras, extras);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column) {
        std::wstring title = platform::win32::wideFromCp932(listing::CookieTable::columnTitle(column));
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        entry.fmt = column == listing::CookieTable::NumberColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
        entry.cx = columnWidth;
        entry.pszText = title.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
    }
    return list;
}

CookieList::CookieList(HWND list, const listing::CookieTable &table, std::string name)
    : m_list(list), m_table(table), m_name(std::move(name)),
      m_accessible(list, [this] { return new GridAccessible(*this); })
{}

void CookieList::reload(int margins)
{
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_table.rowCount()), 0);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    // The header draws its titles in the list's font.
    const HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
    const auto widths = cookieColumnWidths(
        m_table, [header](const std::string &title) { return titleWidth(header, title); }, margins);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column)
        SendMessageW(m_list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     MAKELPARAM(widths[static_cast<std::size_t>(column)], 0));
    InvalidateRect(m_list, nullptr, TRUE);
}

LRESULT CookieList::notify(NMHDR &header)
{
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW &item = reinterpret_cast<NMLVDISPINFOW &>(header).item;
        if (item.mask & LVIF_TEXT) {
            m_shownCell = platform::win32::wideFromCp932(m_table.cell(item.iSubItem, item.iItem));
            item.pszText = m_shownCell.data();
        }
        return 0;
    }
    case LVN_GETINFOTIPW: {
        auto &tip = reinterpret_cast<NMLVGETINFOTIPW &>(header);
        const std::wstring hint = platform::win32::wideFromCp932(m_table.hint(tip.iItem));
        if (tip.pszText && tip.cchTextMax > 0)
            lstrcpynW(tip.pszText, hint.c_str(), tip.cchTextMax);
        return 0;
    }
    case NM_CUSTOMDRAW: {
        // An expired cookie's row is greyed.
        auto &draw = reinterpret_cast<NMLVCUSTOMDRAW &>(header);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && m_table.isExpired(static_cast<int>(draw.nmcd.dwItemSpec)))
            draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_DODEFAULT;
    }
    default:
        return 0;
    }
}

std::vector<int> CookieList::selectedRowNumbers() const
{
    return selectedRowsOf(m_list);
}

int CookieList::rowCount() const
{
    // The rows the list shows, below the titles' row 0.
    return static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
}

int CookieList::columnCount() const
{
    return listing::CookieTable::kColumnCount;
}

std::string_view CookieList::cellText(int column, int row) const
{
    if (row == 0)
        return listing::CookieTable::columnTitle(column);
    m_cell = m_table.cell(column, row - 1);
    return m_cell;
}

std::pair<int, int> CookieList::cellAt(POINT at) const
{
    LVHITTESTINFO hit{};
    hit.pt = at;
    if (SendMessageW(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0)
        return {-1, -1};
    return {hit.iSubItem, hit.iItem + 1};
}

RECT CookieList::cellRect(int column, int row) const
{
    RECT r{};
    if (row == 0) {
        const HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
        if (header && SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r)))
            MapWindowPoints(header, m_list, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }
    r.top = column;
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(m_list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}

int CookieList::currentRow() const
{
    return listItem(m_list, -1, LVNI_FOCUSED) + 1;
}

std::pair<int, int> CookieList::selectedRows() const
{
    const SelectedRange range = selectedRange(m_list);
    if (range.first < 0)
        return {0, 0};
    return {range.first + 1, range.last + 1};
}

} // namespace ui::win32
