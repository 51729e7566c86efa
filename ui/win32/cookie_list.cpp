#include "cookie_list.h"

#include "listing/cookie_table.h"

#include <commctrl.h>

namespace ui::win32 {
namespace {

int listItem(HWND list, int from, UINT flags)
{
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(from), MAKELPARAM(flags, 0)));
}

} // namespace

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
    const int first = listItem(m_list, -1, LVNI_SELECTED);
    if (first < 0)
        return {0, 0};
    int last = first;
    for (int next = listItem(m_list, first, LVNI_SELECTED); next >= 0; next = listItem(m_list, next, LVNI_SELECTED))
        last = next;
    return {first + 1, last + 1};
}

} // namespace ui::win32
