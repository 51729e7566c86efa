// The cookie list's selection without a list: ranges that merge, split and
// stay apart as they should, and what clicks and keys do to the selected
// rows, the current row and the anchor.

#include "ui/list_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using ui::grid::ListSelection;
using ui::grid::RowRanges;
using Outcome = ListSelection::KeyOutcome;
using Ranges = std::vector<RowRanges::Range>;
using ui::keyboard::Key;
using ui::keyboard::KeyStroke;

KeyStroke stroke(Key key, bool shift = false, bool control = false)
{
    return {key, shift, control, false};
}

const ui::grid::GridSelection::View kView{10, 19, 10}; // rows 10 to 19 in view

TEST(RowRanges, RangesThatOverlapOrTouchBecomeOneAndOthersStayApart)
{
    RowRanges ranges;
    ranges.add(10, 12);
    ranges.add(20, 22);
    ranges.add(16, 14); // either order
    EXPECT_EQ(ranges.ranges(), (Ranges{{10, 12}, {14, 16}, {20, 22}}));
    ranges.add(13, 13); // touches both neighbours
    EXPECT_EQ(ranges.ranges(), (Ranges{{10, 16}, {20, 22}}));
    ranges.add(23, 23); // touches the end of the last
    ranges.add(9, 9);   // and the start of the first
    EXPECT_EQ(ranges.ranges(), (Ranges{{9, 16}, {20, 23}}));
    ranges.add(0, 100); // swallows everything
    EXPECT_EQ(ranges.ranges(), (Ranges{{0, 100}}));
    EXPECT_EQ(ranges.count(), 101);
    ranges.add(11, 12); // inside: nothing changes
    EXPECT_EQ(ranges.ranges(), (Ranges{{0, 100}}));
}

TEST(RowRanges, TakingARowAwaySplitsItsRangeOrShortensIt)
{
    RowRanges ranges;
    ranges.add(0, 9);
    ranges.remove(5);
    EXPECT_EQ(ranges.ranges(), (Ranges{{0, 4}, {6, 9}}));
    ranges.remove(0);
    ranges.remove(9);
    EXPECT_EQ(ranges.ranges(), (Ranges{{1, 4}, {6, 8}}));
    ranges.remove(5); // not selected: nothing
    ranges.remove(42);
    EXPECT_EQ(ranges.ranges(), (Ranges{{1, 4}, {6, 8}}));
    ranges.toggle(5); // back: the two are one again
    EXPECT_EQ(ranges.ranges(), (Ranges{{1, 8}}));
    ranges.add(20, 20);
    ranges.toggle(20);
    EXPECT_EQ(ranges.ranges(), (Ranges{{1, 8}}));
    EXPECT_FALSE(ranges.contains(0));
    EXPECT_TRUE(ranges.contains(1));
    EXPECT_TRUE(ranges.contains(8));
    EXPECT_FALSE(ranges.contains(9));
}

TEST(RowRanges, AgreesWithASetOfRowsUnderRandomChanges)
{
    std::mt19937 random(33);
    RowRanges ranges;
    std::set<int> rows;
    for (int step = 0; step < 4000; ++step) {
        const int a = static_cast<int>(random() % 64);
        const int b = static_cast<int>(random() % 64);
        switch (random() % 4) {
        case 0:
            ranges.add(a, b);
            for (int row = std::min(a, b); row <= std::max(a, b); ++row)
                rows.insert(row);
            break;
        case 1:
            ranges.remove(a);
            rows.erase(a);
            break;
        case 2:
            ranges.toggle(a);
            if (!rows.erase(a))
                rows.insert(a);
            break;
        default:
            if (random() % 8 == 0) {
                ranges.clear();
                rows.clear();
            }
        }
        ASSERT_EQ(ranges.count(), static_cast<long long>(rows.size())) << step;
        for (int row = -1; row <= 65; ++row)
            ASSERT_EQ(ranges.contains(row), rows.count(row) == 1) << step << " row " << row;
        // Sorted, apart: no two ranges touch.
        const Ranges &made = ranges.ranges();
        for (std::size_t i = 1; i < made.size(); ++i)
            ASSERT_GT(made[i].first, made[i - 1].second + 1) << step;
    }
}

TEST(ListSelection, AFilledListHasNothingSelectedAndNothingCurrent)
{
    ListSelection selection;
    selection.reset(5);
    EXPECT_EQ(selection.current(), -1);
    EXPECT_TRUE(selection.selectedRows().empty());
    EXPECT_EQ(selection.span(), std::make_pair(-1, -1));
    // The first step down lands on the first row, not the second.
    EXPECT_EQ(selection.key(stroke(Key::Down), kView), Outcome::Changed);
    EXPECT_EQ(selection.current(), 0);
    EXPECT_EQ(selection.selectedRows(), std::vector<int>{0});
    selection.reset(0);
    EXPECT_EQ(selection.key(stroke(Key::End), kView), Outcome::Unchanged);
    EXPECT_EQ(selection.key(stroke(Key::Space), kView), Outcome::Unchanged);
    EXPECT_FALSE(selection.click(0, false, false));
    EXPECT_EQ(selection.current(), -1);
}

TEST(ListSelection, ShiftEndThenShiftUpLeavesTheAnchorAndTakesTheLastRowAway)
{
    ListSelection selection;
    selection.reset(220000);
    selection.click(3, false, false);
    EXPECT_EQ(selection.key(stroke(Key::End, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.current(), 219999);
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{3, 219999}}));
    EXPECT_EQ(selection.key(stroke(Key::Up, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{3, 219998}}));
    EXPECT_EQ(selection.anchor(), 3);
    // Above the anchor: the run turns round it.
    EXPECT_EQ(selection.key(stroke(Key::Home, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{0, 3}}));
    EXPECT_EQ(selection.current(), 0);
    // At the top already: nothing to do.
    EXPECT_EQ(selection.key(stroke(Key::Up, true), kView), Outcome::Unchanged);
    // Shift+Page Down: a page from the current row, from the anchor.
    EXPECT_EQ(selection.key(stroke(Key::PageDown, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{3, 10}}));
    EXPECT_EQ(selection.current(), 10);
}

TEST(ListSelection, CtrlClickMakesAGapAndShiftClickSelectsOneRunAgain)
{
    ListSelection selection;
    selection.reset(10);
    selection.click(2, false, false);
    EXPECT_TRUE(selection.click(6, true, false));
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{2, 3, 4, 5, 6}));
    // Ctrl+click inside the run: a gap; the frame and the anchor move there.
    EXPECT_TRUE(selection.click(4, false, true));
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_EQ(selection.span(), std::make_pair(2, 6));
    EXPECT_EQ(selection.current(), 4);
    EXPECT_EQ(selection.anchor(), 4);
    EXPECT_FALSE(selection.isSelected(4));
    // Ctrl+click far off adds a lone row; again, and it goes.
    EXPECT_TRUE(selection.click(9, false, true));
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{2, 3, 5, 6, 9}));
    selection.click(9, false, true);
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{2, 3, 5, 6}));
    // Ctrl+Shift+click adds the run from the anchor (9) and keeps the rest.
    EXPECT_TRUE(selection.click(7, true, true));
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{2, 3, 5, 6, 7, 8, 9}));
    // Shift alone: only the run from the anchor.
    EXPECT_TRUE(selection.click(8, true, false));
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{8, 9}));
    // A plain click: that row alone; below the rows, none.
    EXPECT_TRUE(selection.click(0, false, false));
    EXPECT_EQ(selection.selectedRows(), std::vector<int>{0});
    EXPECT_FALSE(selection.click(0, false, false));
    EXPECT_TRUE(selection.click(-1, false, false));
    EXPECT_TRUE(selection.selectedRows().empty());
    EXPECT_EQ(selection.current(), 0);
    EXPECT_FALSE(selection.click(-1, true, true));
}

TEST(ListSelection, CtrlAThenHomeSelectsTheFirstRowAlone)
{
    ListSelection selection;
    selection.reset(50000);
    selection.click(7, false, false);
    selection.select(0, 49999);
    EXPECT_EQ(selection.current(), 7); // the frame stays where it was
    EXPECT_EQ(selection.selected().count(), 50000);
    EXPECT_EQ(selection.key(stroke(Key::Home), kView), Outcome::Changed);
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{0, 0}}));
    EXPECT_EQ(selection.current(), 0);
    // Ctrl+A with the frame at the first row and Home: the selection still
    // shrinks, though the frame does not move.
    selection.select(0, 49999);
    EXPECT_EQ(selection.key(stroke(Key::Home), kView), Outcome::Changed);
    EXPECT_EQ(selection.selected().count(), 1);
    EXPECT_EQ(selection.key(stroke(Key::Home), kView), Outcome::Unchanged);
}

TEST(ListSelection, SelectingRowsTheWindowGivesMovesTheFrameOnlyWhenItLiesOutside)
{
    ListSelection selection;
    selection.reset(5);
    selection.select(2, 2);
    EXPECT_EQ(selection.current(), 2);
    selection.select(0, 4);
    EXPECT_EQ(selection.current(), 2);
    selection.select(3, 9); // past the end: cut to the rows there are
    EXPECT_EQ(selection.selected().ranges(), (Ranges{{3, 4}}));
    EXPECT_EQ(selection.current(), 3);
    selection.select(7, 9); // none of them there
    EXPECT_TRUE(selection.selected().empty());
    // The anchor follows the frame: Shift+Down widens from it.
    selection.select(1, 3);
    selection.key(stroke(Key::Down, true), kView);
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{3, 4}));
}

TEST(ListSelection, CtrlMovesTheFrameAloneAndCtrlSpaceTakesItsRowInOrOut)
{
    ListSelection selection;
    selection.reset(10);
    selection.click(1, false, false);
    EXPECT_EQ(selection.key(stroke(Key::Down, false, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.key(stroke(Key::Down, false, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.current(), 3);
    EXPECT_EQ(selection.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(selection.key(stroke(Key::Space, false, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.selectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(selection.key(stroke(Key::Space, false, true), kView), Outcome::Changed);
    EXPECT_EQ(selection.selectedRows(), std::vector<int>{1});
    // Space: the frame's row alone; again, nothing changes.
    EXPECT_EQ(selection.key(stroke(Key::Space), kView), Outcome::Changed);
    EXPECT_EQ(selection.selectedRows(), std::vector<int>{3});
    EXPECT_EQ(selection.key(stroke(Key::Space), kView), Outcome::Unchanged);
    // Left and Right scroll the columns: the list's own.
    EXPECT_EQ(selection.key(stroke(Key::Left), kView), Outcome::Ignored);
    EXPECT_EQ(selection.key(stroke(Key::Right, true), kView), Outcome::Ignored);
    EXPECT_EQ(selection.key(stroke(Key::Other), kView), Outcome::Ignored);
}

} // namespace
