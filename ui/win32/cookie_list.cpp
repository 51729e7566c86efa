#include "cookie_list.h"

#include "listing/cookie_table.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

namespace ui::win32 {
namespace {

int listItem(HWND list, int from, UINT flags)
{
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(from), MAKELPARAM(flags, 0)));
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

CookieList::CookieList(HWND list, const listing::CookieTable &table, std::string name)
    : m_list(list), m_table(table), m_name(std::move(name)),
      m_accessible(list, [this] { return new GridAccessible(*this); })
{}

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
