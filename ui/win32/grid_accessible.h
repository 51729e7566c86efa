#pragma once

#include "accessible_object.h"

#include <string>
#include <string_view>
#include <utility>

namespace ui::win32 {

// What a screen reader reads of a grid: its window, its rows and columns as
// the user sees them (row 0 the header, column 0 the numbers), their texts,
// where they are, and which rows are current and selected.
class AccessibleGrid {
public:
    virtual HWND gridWindow() const = 0;
    // What a screen reader calls the grid (CP932).
    virtual const std::string &accessibleName() const = 0;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual std::string_view cellText(int column, int row) const = 0;
    // The grid position {column, row} at a client point; -1 outside.
    virtual std::pair<int, int> cellAt(POINT at) const = 0;
    // A cell's rectangle in client coordinates; empty when out of view.
    virtual RECT cellRect(int column, int row) const = 0;
    virtual int currentRow() const = 0;
    // The first and last selected rows, {0, 0} when none is.
    virtual std::pair<int, int> selectedRows() const = 0;
    // Whether `row` is selected; a grid whose selection may have gaps says
    // so row by row, one that selects a single run need not.
    virtual bool isRowSelected(int row) const
    {
        const auto [first, last] = selectedRows();
        return first > 0 && row >= first && row <= last;
    }

protected:
    ~AccessibleGrid() = default;
};

// The grid as a screen reader sees it through MSAA: a table named after
// what it lists, whose children are its rows as the user sees them (child
// 1 the header row, child r + 1 grid row r), each a row object whose
// children are its cells with their texts, in the columns' order on the
// screen. The current row is the focus (while the grid has the keyboard
// focus) and, with the rows selected with it, the selection.
class GridAccessible final : public AccessibleObject {
public:
    explicit GridAccessible(AccessibleGrid &grid) : m_grid(&grid) {}

    // The grid went: every later call answers that the object is gone.
    void forget() { m_grid = nullptr; }
    AccessibleGrid *grid() const { return m_grid; }

    // The object of grid row `row` (0: the header row), with one reference
    // for the caller; null for a row the grid lacks.
    IDispatch *rowObject(int row);

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override;

private:
    AccessibleGrid *m_grid;
};

} // namespace ui::win32
