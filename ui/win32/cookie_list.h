#pragma once

#include "accessible_control.h"
#include "grid_accessible.h"
#include "ui/list_selection.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "listing/cookie_table.h"

namespace ui::win32 {

// The decoded cookies' view: a report list that asks for each cell as it
// draws it, so that the table holds a file's cookies once, never a copy per
// row; an expired cookie's row greyed, a row's hint its raw lines. The
// selection is kept here as ranges of rows, never in the list: a list
// view selects and lets go of a run row by row, which under Wine takes
// seconds for a big file's cookies. The list's clicks and selecting keys
// come here, its rows are drawn selected and framed from here, and its
// questions and orders about selected and focused rows (LVM_GETNEXTITEM,
// LVM_GETSELECTEDCOUNT, LVM_GETITEMSTATE, LVM_SETITEMSTATE) are answered
// from here, so that whoever asks the list hears the truth. To a
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
    ~CookieList();
    CookieList(const CookieList &) = delete;
    CookieList &operator=(const CookieList &) = delete;

    // The table was loaded anew: the list shows its rows, none selected,
    // its columns as wide as cookieColumnWidths() makes them with `margins`.
    void reload(int margins);
    // The list's notifications: its cells, hints and greyed rows.
    LRESULT notify(NMHDR &header);
    // The rows (from 0) selected, in the table's order.
    std::vector<int> selectedRowNumbers() const { return m_selection.selectedRows(); }
    // The row (from 0) the focus frame is on, -1 when none is.
    int currentRowNumber() const { return m_selection.current(); }
    // Rows `first` to `last` (from 0) alone become selected, as
    // ListSelection::select() has it.
    void selectRowNumbers(int first, int last);

    HWND gridWindow() const override { return m_list; }
    const std::string &accessibleName() const override { return m_name; }
    int rowCount() const override;
    int columnCount() const override;
    std::string_view cellText(int column, int row) const override;
    std::pair<int, int> cellAt(POINT at) const override;
    RECT cellRect(int column, int row) const override;
    int currentRow() const override;
    std::pair<int, int> selectedRows() const override;
    bool isRowSelected(int row) const override { return m_selection.isSelected(row - 1); }

private:
    static LRESULT CALLBACK listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self);
    // The list's own messages that touch the selection; false for those
    // left to the list.
    bool listMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
    bool onKey(WPARAM key);
    void onClick(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT setItemState(int row, const LVITEMW &item);
    LRESULT nextItem(int from, UINT flags) const;
    LRESULT customDraw(NMLVCUSTOMDRAW &draw) const;
    // Shows what changed: the current row in view, the rows drawn anew, a
    // screen reader told.
    void selectionChanged(int previousCurrent);
    RECT rowRect(int row) const;
    // The width of the title `title` (CP932) as the header draws it.
    int titleWidth(const std::string &title);

    HWND m_list;
    const listing::CookieTable &m_table;
    grid::ListSelection m_selection;
    std::string m_name;
    // The cell handed out last: the table makes each one anew.
    mutable std::string m_cell;
    // The cell the list was handed last; it reads it after the notification
    // has returned.
    std::wstring m_shownCell;
    // Each column's title width, measured at the first reload: the header's
    // font does not change, and under Wine measuring costs milliseconds.
    std::array<int, listing::CookieTable::kColumnCount> m_titleWidths{};
    bool m_titlesMeasured = false;
    // Last, so that the object goes before what it reads.
    AccessibleControl<GridAccessible> m_accessible;
};

} // namespace ui::win32
