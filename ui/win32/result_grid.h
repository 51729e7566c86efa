#pragma once

#include "grid_accessible.h"
#include "owned_accessible.h"
#include "ui/grid_geometry.h"
#include "ui/grid_selection.h"
#include "ui/keyboard_access.h"
#include "window.h"

#include <functional>
#include <map>
#include <string_view>

namespace listing {
class ResultTable;
}

namespace ui::win32 {

// The string grid over the result table. It draws only the rows in view and
// keeps nothing per row unless the user moves or resizes rows, so a listing
// of 100,000 files costs no more than the table's own strings.
//
// One fixed header row and one fixed number column, in the button face with
// raised edges, stay put when the grid scrolls; lines lie between the cells
// (a column of width w shows w pixels of text area, then the line). Whole
// rows are selected, one range at a time (drag or Shift). The user may
// resize and move columns (by the header row) and rows (by the number
// column) until the next reload. Nothing is editable.
//
// The row-made-current handler runs when the user makes a row current: on
// the release of a left press on a data cell (also on the current row), on
// each key that moves the current row, and on each wheel step, which moves
// one row. Left and Right scroll the columns instead. A press with Shift only widens the selected range; the second
// press of a double click, the other buttons, the fixed cells, resizing and
// moving, and a reload make no row current.
//
// Screen readers reach it through WM_GETOBJECT (GridAccessible), and hear
// of each move of the current row.
class ResultGrid : public Window, public AccessibleGrid {
public:
    explicit ResultGrid(const listing::ResultTable &table);

    HWND create(HWND parent, int id, HFONT font);

    void setRowMadeCurrentHandler(std::function<void()> handler) { m_onRowMadeCurrent = std::move(handler); }

    // Reads the table anew after it was rebuilt: its row count and column
    // widths; moved and resized rows and columns go back to their places,
    // and the first data row becomes current.
    void reload(int rowHeight);

    // The table row (from 1) shown at the current grid row; 0 when none.
    int currentTableRow() const;
    // Makes grid row `row` current and the only selected row, in view,
    // without running the row-made-current handler.
    void makeRowCurrent(int row);
    int rowCount() const override { return m_geometry.rows; }
    int columnCount() const override { return m_geometry.columnCount(); }
    // The text of the cell at grid position (column, row), row 0 the header.
    std::string_view cellText(int column, int row) const override;
    // The grid position {column, row} at a point of the client area; -1 for
    // what lies outside the cells.
    std::pair<int, int> cellAt(POINT at) const override;
    // The current grid row (from 1, as the user sees the rows); 0 when none.
    int currentRow() const override { return m_selection.current(); }
    // The selected range of grid rows, first <= last; {0, 0} when none.
    std::pair<int, int> selectedRows() const override { return m_selection.selected(); }
    // The table column shown at position `position` (0 stays 0).
    int tableColumnAt(int position) const;
    // The table row shown at grid row `position`.
    int tableRowAt(int position) const;
    // The first data row in view.
    int topRow() const { return m_geometry.top; }
    int columnWidthAt(int position) const { return m_geometry.columnWidthAt(position); }
    int rowHeightAt(int position) const { return m_geometry.rowHeightAt(position); }

    // The cell rectangle of a grid position in client coordinates (for
    // tests and tools that click on cells); empty when out of view.
    RECT cellRect(int column, int row) const override;
    HWND gridWindow() const override { return hwnd(); }
    const std::string &accessibleName() const override { return keyboard::tableAccessibleName(); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Drag { None, Select, ResizeColumn, ResizeRow, MoveColumn, MoveRow };

    int clientWidth() const;
    int clientHeight() const;

    void paint();
    void updateScrollBars();
    void setTop(int top);
    void setScrollX(int x);
    void ensureVisible(int row);
    void onVerticalScroll(int code);
    void onHorizontalScroll(int code);

    void onLeftDown(POINT at, WPARAM keys);
    void onMouseMove(POINT at);
    void onLeftUp(POINT at);
    bool onKey(WPARAM key);
    void onWheel(int delta);
    bool onSetCursor();
    // A resize edge under `at`: {Drag::ResizeColumn, column} or
    // {Drag::ResizeRow, row}; {Drag::None, -1} elsewhere.
    std::pair<Drag, int> edgeAt(POINT at) const;

    // Tells screen readers which row is current now, when it changed or the
    // grid took the focus.
    void announceCurrentRow(bool always = false);
    // Posted when the grid gets the focus: tells of the current row then.
    static constexpr UINT kAnnounceFocusedRow = WM_USER + 1;
    // The number column wide enough for its header and its longest number.
    int numberColumnWidth(int fitted) const;
    LRESULT accessibleObject(WPARAM wParam, LPARAM lParam);
    // Shows a change of the selection: the current row in view, the rows
    // drawn afresh, and screen readers told.
    void selectionChanged();
    void moveColumn(int from, int to);
    void moveRow(int from, int to);
    void rowMadeCurrent();

    const listing::ResultTable &m_table;
    HFONT m_font = nullptr;
    std::function<void()> m_onRowMadeCurrent;

    grid::GridGeometry m_geometry;
    grid::PositionOrder m_rowOrder; // position -> table row
    grid::GridSelection m_selection;

    Drag m_drag = Drag::None;
    int m_dragIndex = -1;
    int m_dragStart = 0;
    int m_dragStartSize = 0;
    bool m_updatingScrollBars = false;
    int m_announcedRow = -1;
    OwnedAccessible<GridAccessible> m_accessible;
};

} // namespace ui::win32
