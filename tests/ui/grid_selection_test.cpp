// The grid's selection rules without a grid: what a press, a drag, a
// release, a key and the wheel do to the current row and the selected
// range, and when the window is told that a row was made current.

#include "ui/grid_selection.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using ui::grid::GridSelection;
using Outcome = GridSelection::KeyOutcome;
using ui::keyboard::Key;
using ui::keyboard::KeyStroke;

KeyStroke stroke(Key key, bool shift = false, bool control = false)
{
    return {key, shift, control, false};
}

const GridSelection::View kView{11, 20, 10}; // rows 11 to 20 in view

TEST(GridSelection, ResetMakesTheFirstRowCurrentAndForgetsAPress)
{
    GridSelection selection;
    selection.reset(5);
    selection.press(3, false);
    selection.reset(4);
    EXPECT_EQ(selection.current(), 1);
    EXPECT_EQ(selection.selected(), std::make_pair(1, 1));
    EXPECT_FALSE(selection.release()); // the press belonged to the old table
    selection.reset(0);
    EXPECT_EQ(selection.current(), 0);
    EXPECT_EQ(selection.selected(), std::make_pair(0, 0));
    EXPECT_FALSE(selection.isSelected(0));
}

TEST(GridSelection, OnlyTheReleaseOfAPlainPressMakesARowCurrent)
{
    GridSelection selection;
    selection.reset(5);
    selection.press(3, false);
    EXPECT_EQ(selection.current(), 3);
    EXPECT_TRUE(selection.release());
    EXPECT_FALSE(selection.release()); // once per press
    selection.press(3, false);         // the current row again counts too
    EXPECT_TRUE(selection.release());

    // A double click: press, release, the second press, release.
    selection.press(2, false);
    EXPECT_TRUE(selection.release());
    selection.cancelPress();
    EXPECT_FALSE(selection.release());

    // Shift widens the range from the current row; current and anchor stay,
    // and its release makes nothing current.
    selection.press(5, true);
    EXPECT_EQ(selection.current(), 2);
    EXPECT_EQ(selection.anchor(), 2);
    EXPECT_EQ(selection.selected(), std::make_pair(2, 5));
    EXPECT_FALSE(selection.release());
    selection.press(1, true); // from the current row, not from the last press
    EXPECT_EQ(selection.selected(), std::make_pair(1, 2));

    // A press outside the rows cancels the one before.
    selection.press(4, false);
    selection.press(9, false);
    EXPECT_FALSE(selection.release());
    EXPECT_EQ(selection.current(), 4);
}

TEST(GridSelection, DraggingSelectsFromThePressedRowAndKeepsItCurrent)
{
    GridSelection selection;
    selection.reset(6);
    EXPECT_FALSE(selection.dragTo(4)); // no press: nothing
    EXPECT_EQ(selection.selected(), std::make_pair(1, 1));
    selection.press(3, false);
    EXPECT_TRUE(selection.dragTo(5));
    EXPECT_EQ(selection.selected(), std::make_pair(3, 5));
    EXPECT_TRUE(selection.dragTo(-7)); // above the rows: up to the first
    EXPECT_EQ(selection.selected(), std::make_pair(1, 3));
    EXPECT_TRUE(selection.dragTo(99));
    EXPECT_EQ(selection.selected(), std::make_pair(3, 6));
    EXPECT_EQ(selection.current(), 3);
    EXPECT_TRUE(selection.release());
    EXPECT_FALSE(selection.dragTo(2)); // released: moving selects nothing more
}

TEST(GridSelection, KeysMoveTheCurrentRowAndShiftWidensFromTheAnchor)
{
    GridSelection selection;
    selection.reset(100);
    EXPECT_EQ(selection.key(stroke(Key::Up), kView), Outcome::Unchanged); // already first
    EXPECT_EQ(selection.key(stroke(Key::Home), kView), Outcome::Unchanged);
    EXPECT_EQ(selection.key(stroke(Key::Down), kView), Outcome::Moved);
    EXPECT_EQ(selection.current(), 2);
    EXPECT_EQ(selection.key(stroke(Key::PageDown), kView), Outcome::Moved);
    EXPECT_EQ(selection.current(), 12);
    EXPECT_EQ(selection.key(stroke(Key::Down, true), kView), Outcome::Moved);
    EXPECT_EQ(selection.key(stroke(Key::Down, true), kView), Outcome::Moved);
    EXPECT_EQ(selection.current(), 14);
    EXPECT_EQ(selection.selected(), std::make_pair(12, 14));
    EXPECT_EQ(selection.key(stroke(Key::PageUp, true, true), kView), Outcome::Moved); // to the top row in view
    EXPECT_EQ(selection.selected(), std::make_pair(11, 12));
    EXPECT_EQ(selection.key(stroke(Key::PageDown, false, true), kView), Outcome::Moved);
    EXPECT_EQ(selection.current(), 20);
    EXPECT_EQ(selection.selected(), std::make_pair(20, 20)); // a plain key starts anew
    EXPECT_EQ(selection.key(stroke(Key::End), kView), Outcome::Moved);
    EXPECT_EQ(selection.current(), 100);

    EXPECT_EQ(selection.key(stroke(Key::Left), kView), Outcome::ScrollLeft);
    EXPECT_EQ(selection.key(stroke(Key::Right), kView), Outcome::ScrollRight);
    for (const Key other : {Key::Other, Key::Space, Key::Enter, Key::Delete, Key::F5})
        EXPECT_EQ(selection.key(stroke(other), kView), Outcome::Ignored);
    EXPECT_EQ(selection.current(), 100);

    // An empty table moves nothing and leaves its keys to the window.
    selection.reset(0);
    EXPECT_EQ(selection.key(stroke(Key::Down), kView), Outcome::Ignored);
    EXPECT_EQ(selection.current(), 0);
}

TEST(GridSelection, EachWholeWheelNotchMovesOneRowAndIsMadeCurrent)
{
    GridSelection selection;
    selection.reset(3);
    std::vector<int> madeCurrent;
    const auto record = [&] { madeCurrent.push_back(selection.current()); };
    selection.wheel(-240, record); // two notches towards the user: down
    EXPECT_EQ(madeCurrent, (std::vector<int>{2, 3}));
    selection.wheel(-120, record); // at the last row: nothing
    selection.wheel(60, record);   // half a notch waits
    EXPECT_EQ(madeCurrent.size(), 2u);
    selection.wheel(60, record);
    EXPECT_EQ(madeCurrent, (std::vector<int>{2, 3, 2}));
    EXPECT_EQ(selection.selected(), std::make_pair(2, 2));

    // With no row current, the first notch down goes from the first row.
    selection.followCurrent(0);
    madeCurrent.clear();
    selection.wheel(-120, record);
    EXPECT_EQ(madeCurrent, (std::vector<int>{2}));

    // An empty table keeps nothing of a turn for the next table.
    selection.reset(0);
    selection.wheel(-60, record);
    selection.reset(3);
    selection.wheel(-60, record);
    EXPECT_EQ(madeCurrent.size(), 1u);
}

TEST(GridSelection, TheCurrentRowFollowsItsRowWhenRowsAreMoved)
{
    GridSelection selection;
    selection.reset(6);
    selection.makeCurrent(4);
    selection.rowMoved(4, 1); // the current row itself
    EXPECT_EQ(selection.current(), 1);
    selection.rowMoved(3, 1); // one from below goes above it
    EXPECT_EQ(selection.current(), 2);
    selection.rowMoved(1, 5); // one from above goes below it
    EXPECT_EQ(selection.current(), 1);
    selection.rowMoved(5, 6); // both elsewhere
    EXPECT_EQ(selection.current(), 1);
    EXPECT_EQ(selection.selected(), std::make_pair(1, 1));

    selection.makeCurrent(7); // outside the table: nothing changes
    selection.makeCurrent(0);
    EXPECT_EQ(selection.current(), 1);
}

TEST(PositionOrder, MovesKeepEveryEntryOnceAndTheFixedPlace)
{
    ui::grid::PositionOrder order;
    order.reset(5);
    EXPECT_EQ(order.at(3), 3);
    EXPECT_TRUE(order.move(1, 3));
    EXPECT_TRUE(order.move(4, 2));
    const std::vector<int> expected{0, 2, 4, 3, 1};
    for (int position = 0; position < 5; ++position)
        EXPECT_EQ(order.at(position), expected[static_cast<std::size_t>(position)]) << position;
    for (const auto &[from, to] : std::vector<std::pair<int, int>>{{0, 2}, {2, 0}, {2, 2}, {5, 1}, {1, 5}, {-1, 1}})
        EXPECT_FALSE(order.move(from, to)) << from << "->" << to;
    EXPECT_EQ(order.at(1), 2);
    EXPECT_EQ(order.at(7), 7); // outside: as given
    order.reset(5);
    EXPECT_EQ(order.at(1), 1);
}

} // namespace
