#pragma once

#include "ui/grid_navigation.h"
#include "ui/keyboard_access.h"

#include <functional>
#include <utility>
#include <vector>

// The grid's selection and the rules by which the mouse, the keys and the
// wheel move it, free of any toolkit. Each grid keeps its painting, its
// scrolling and its toolkit's messages, and hands the rows its input lands
// on to this class.
namespace ui::grid {

// Rows are the grid's positions as the user sees them, 1 to rowCount(); 0
// stands for none. One range of whole rows is selected at a time: from the
// anchor to the current row after a key or a plain press, from the pressed
// row to the row under the mouse while dragging, and from the current row
// to the pressed one after a press with Shift.
//
// "Made current" is what the window acts on (it shows the row's file): the
// release of a left press on a data row (the current row too), each key
// that moves the current row, and each wheel notch, which moves one row. A
// press with Shift only widens the range; the second press of a double
// click, a lost capture and a reload make nothing current.
class GridSelection {
public:
    // After the table was read anew: the first row current and selected (none
    // when there are no rows), no press pending, no part-notch of the wheel.
    void reset(int rows);

    int rowCount() const { return m_rows; }
    int current() const { return m_current; }
    int anchor() const { return m_anchor; }
    // The selected rows, first <= last; {0, 0} when none.
    std::pair<int, int> selected() const;
    bool isSelected(int row) const;
    // True between a plain left press on a row and its release.
    bool pressPending() const { return m_pressed > 0; }
    int pressedRow() const { return m_pressed; }

    // Makes `row` current and the only selected row, as a command does after
    // a rescan; nothing is made current. Rows outside the table are passed
    // over.
    void makeCurrent(int row);
    // The toolkit moved the current row itself: the selection is left as it
    // is, and the next key widens from the anchor it had.
    void followCurrent(int row);

    // A left press on data row `row`. Without Shift it makes the row current
    // and the anchor, and its release will make it current for the window;
    // with Shift it only widens the selection from the current row.
    void press(int row, bool shift);
    // The mouse, still pressed, is over `row`: the rows from the pressed one
    // to it are selected. False when no plain press is pending.
    bool dragTo(int row);
    // The left button went up. True when that makes the pressed row current.
    bool release();
    // The second press of a double click, or a press the grid does not take
    // as one (another button, a lost capture): its release makes nothing
    // current.
    void cancelPress() { m_pressed = 0; }

    // What a key did.
    enum class KeyOutcome {
        Ignored,     // not the grid's: the window may act on it
        ScrollLeft,  // the columns scroll, where there are more than fit
        ScrollRight, //
        Unchanged,   // the grid's, but it moves no row (already there)
        Moved,       // the current row moved: it is made current
    };
    // The rows the view shows, for the page keys: the first row in view, the
    // last wholly in view, and how many rows a page holds.
    struct View {
        int topVisible = 1;
        int bottomVisible = 1;
        int page = 1;
    };
    // A key on the grid; Shift widens the selection from the anchor.
    KeyOutcome key(const keyboard::KeyStroke &stroke, const View &view);

    // A wheel turn of `delta` (positive away from the user): each whole
    // notch moves the current row by one and calls `madeCurrent`, after the
    // row has moved; a part-notch waits for the next turn.
    void wheel(int delta, const std::function<void()> &madeCurrent);

    // Row `from` was dragged to position `to`: the current row stays on the
    // same table row, and it alone is selected.
    void rowMoved(int from, int to);

private:
    void moveTo(int row, bool extend);

    int m_rows = 0;
    int m_current = 0;
    int m_anchor = 0;
    int m_first = 0; // the selected range, in the order it was made
    int m_last = 0;
    int m_pressed = 0;      // the row of a plain left press whose release is pending
    int m_wheelPending = 0; // a turn not yet a whole notch
};

// Where a position of a row or a column goes when one is dragged from
// `from` to `to`: the dragged one lands at `to`, those between close up.
int movedPosition(int position, int from, int to);

// The order in which a grid shows the table's columns or rows: position to
// the table's index, which the user changes by dragging until the next
// reload. Position 0 (the fixed column or row) never moves.
class PositionOrder {
public:
    // Every position shows its own index, 0 to count - 1.
    void reset(int count);
    int count() const { return m_count; }
    // The table index shown at `position`; positions outside stay as given.
    int at(int position) const;
    // Moves the entry at `from` to `to`; false (and nothing moves) unless
    // both are movable positions and differ.
    bool move(int from, int to);

private:
    int m_count = 0;
    std::vector<int> m_order; // empty while nothing has moved
};

} // namespace ui::grid
