#pragma once

#include "ui/grid_selection.h"
#include "ui/keyboard_access.h"

#include <cstddef>
#include <utility>
#include <vector>

// The selection of a list whose rows the user picks one by one or in runs
// (the cookie table), free of any toolkit: the selected rows as ranges, so
// that selecting a hundred thousand rows costs what selecting one does, and
// the rules by which clicks and keys change them. Rows count from 0; -1
// stands for none.
namespace ui::grid {

// Selected rows as sorted ranges that neither overlap nor touch.
class RowRanges {
public:
    using Range = std::pair<int, int>; // first, last; first <= last

    void clear() { m_ranges.clear(); }
    bool empty() const { return m_ranges.empty(); }
    const std::vector<Range> &ranges() const { return m_ranges; }
    // How many rows are selected.
    long long count() const;
    bool contains(int row) const;
    // The first selected row at or after `row`, -1 when none is.
    int nextFrom(int row) const;

    // Rows `first` to `last` (either order) become selected.
    void add(int first, int last);
    // Row `row` becomes unselected; a range around it splits in two.
    void remove(int row);
    void toggle(int row);

private:
    std::vector<Range>::const_iterator rangeFrom(int row) const; // the first ending at or after `row`

    std::vector<Range> m_ranges;
};

// The list's selection: the selected ranges, the current row (which the
// focus frame marks and the keys move from) and the anchor (where a Shift
// selection starts), as a multiple-selection report list keeps them.
class ListSelection {
public:
    // The list was filled anew: no row selected, none current.
    void reset(int rows);

    int rowCount() const { return m_rows; }
    int current() const { return m_current; }
    int anchor() const { return m_anchor; }
    const RowRanges &selected() const { return m_selected; }
    bool isSelected(int row) const { return m_selected.contains(row); }
    // The first and last selected rows, {-1, -1} when none is.
    std::pair<int, int> span() const;
    // The selected rows in order.
    std::vector<int> selectedRows() const;

    // Rows `first` to `last` alone become selected (Ctrl+A, a row given by
    // the window); the current row stays when it lies among them, else it
    // moves to `first`. Rows outside the list are left out.
    void select(int first, int last);

    // Orders about single rows, as a list takes them from its program: a
    // row in or out, every row out, the frame moved (-1: off every row);
    // nothing else changes.
    void setRowSelected(int row, bool selected);
    void clearSelection() { m_selected.clear(); }
    void setCurrent(int row);

    // A click on `row` (-1: below the last row). Alone, it selects that row
    // only; with Ctrl it adds or takes the row away, leaving the rest; with
    // Shift it selects from the anchor to it; with both it adds that run.
    // True when anything changed.
    bool click(int row, bool shift, bool control);

    enum class KeyOutcome {
        Ignored,   // not a selecting key: the list may act on it itself
        Unchanged, // a selecting key that changed nothing
        Changed,   // the current row or the selection changed
    };
    // A key on the list: the arrows, Page Up/Down, Home and End move the
    // current row (alone selecting it only, with Shift selecting from the
    // anchor, with Ctrl moving the frame alone); Space selects the current
    // row (Ctrl+Space adds or takes it away). `view` gives the page keys
    // their rows, numbered as here.
    KeyOutcome key(const keyboard::KeyStroke &stroke, const GridSelection::View &view);

private:
    void moveTo(int row, bool shift, bool control);

    int m_rows = 0;
    int m_current = -1;
    int m_anchor = -1;
    RowRanges m_selected;
};

} // namespace ui::grid
