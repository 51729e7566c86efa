#pragma once

#include "accessible_control.h"
#include "grid_accessible.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace listing {
class CookieTable;
}

namespace ui::win32 {

// The first and last selected rows of a list view (from 0), both -1 when
// none is, and whether every row between them is selected. A few questions
// to the list whatever the number of rows selected: the first selected, how
// many are, and whether any comes after the place where they would end.
struct SelectedRange {
    int first = -1;
    int last = -1;
    bool whole = true;
};
SelectedRange selectedRange(HWND list);

// The selected rows of a list view in order. A selection without gaps, as
// Shift+End and Ctrl+A make it, is counted out without asking the list row
// by row.
std::vector<int> selectedRowsOf(HWND list);

// The decoded cookies' view: a report list that asks for each cell as it
// draws it, so that the table holds a file's cookies once, never a copy per
// row; an expired cookie's row greyed, a row's hint its raw lines. To a
// screen reader it is the same table of rows and cells as the file table's
// (row 0 the column titles), named for what it shows: attached to the list
// window, it answers its WM_GETOBJECT and lets the object go when the window
// does.
class CookieList final : public AccessibleGrid {
public:
    // Makes the list window, child `id` of `parent`, with the table's
    // column titles, each `columnWidth` wide until the first reload().
    static HWND createWindow(HWND parent, int id, HFONT font, int columnWidth);

    CookieList(HWND list, const listing::CookieTable &table, std::string name);
    CookieList(const CookieList &) = delete;
    CookieList &operator=(const CookieList &) = delete;

    // The table was loaded anew: the list shows its rows, none selected,
    // its columns as wide as cookieColumnWidths() makes them with `margins`.
    void reload(int margins);
    // The list's notifications: its cells, hints and greyed rows.
    LRESULT notify(NMHDR &header);
    // The rows (from 0) selected, in the table's order: selectedRowsOf().
    std::vector<int> selectedRowNumbers() const;

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
    // The cell the list was handed last; it reads it after the notification
    // has returned.
    std::wstring m_shownCell;
    // Last, so that the object goes before what it reads.
    AccessibleControl<GridAccessible> m_accessible;
};

} // namespace ui::win32
