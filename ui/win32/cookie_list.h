#pragma once

#include "accessible_control.h"
#include "grid_accessible.h"

#include <windows.h>

#include <string>

namespace listing {
class CookieTable;
}

namespace ui::win32 {

// The report list of decoded cookies as a screen reader reads it: the same
// table of rows and cells as the file table's (row 0 the column titles),
// named for what it shows. Attached to the list window, it answers its
// WM_GETOBJECT and lets the object go when the window does.
class CookieList final : public AccessibleGrid {
public:
    CookieList(HWND list, const listing::CookieTable &table, std::string name);
    CookieList(const CookieList &) = delete;
    CookieList &operator=(const CookieList &) = delete;

    HWND gridWindow() const override { return m_list; }
    const std::string &accessibleName() const override { return m_name; }
    int rowCount() const override;
    int columnCount() const override;
    std::string_view cellText(int column, int row) const override;
    std::pair<int, int> cellAt(POINT at) const override;
    RECT cellRect(int column, int row) const override;
    int currentRow() const override;
    std::pair<int, int> selectedRows() const override;

private:
    HWND m_list;
    const listing::CookieTable &m_table;
    std::string m_name;
    // The cell handed out last: the table makes each one anew.
    mutable std::string m_cell;
    // Last, so that the object goes before what it reads.
    AccessibleControl<GridAccessible> m_accessible;
};

} // namespace ui::win32
