// The window's geometry and table-navigation rules, which both front ends
// build on: tested once here, without a window.

#include "ui/form_layout.h"
#include "ui/grid_navigation.h"

#include <gtest/gtest.h>

namespace {

using ui::Box;
using ui::Dock;

TEST(LayoutScale, ScalesByTheTextHeightTheDensityGives)
{
    const ui::LayoutScale design(96);
    EXPECT_EQ(design.textHeight(), 12);
    EXPECT_EQ(design.px(137), 137);
    const ui::LayoutScale large(144);
    EXPECT_EQ(large.textHeight(), 18);
    EXPECT_EQ(large.px(137), 206); // 205.5 rounds away from zero
    EXPECT_EQ(large.dpi(), 144);
    // 120 dots per inch give a text of 15 pixels: sizes follow the text,
    // not the density.
    EXPECT_EQ(ui::LayoutScale(120).px(88), 110);
    // A screen that reports no density is taken as the design's.
    EXPECT_EQ(ui::LayoutScale(0).px(41), 41);
    EXPECT_EQ(ui::LayoutScale(0).dpi(), 96);
}

TEST(DockBoxes, SidesInTheirOrderAndTheRestToTheClient)
{
    // Given out of order: the bottom strip and the client first, as a
    // reader of the code might add them.
    const std::vector<Box> boxes = ui::dockBoxes({0, 0, 688, 446}, {
                                                                       {Dock::Bottom, 19},
                                                                       {Dock::Client, 0},
                                                                       {Dock::Left, 137},
                                                                       {Dock::Top, 41},
                                                                       {Dock::Left, 3},
                                                                   });
    EXPECT_EQ(boxes[0], (Box{0, 427, 688, 19}));
    EXPECT_EQ(boxes[1], (Box{140, 41, 548, 386}));
    EXPECT_EQ(boxes[2], (Box{0, 41, 137, 386}));
    EXPECT_EQ(boxes[3], (Box{0, 0, 688, 41}));
    EXPECT_EQ(boxes[4], (Box{137, 41, 3, 386}));
}

TEST(DockBoxes, StripsKeepTheirExtentWhenTheRoomRunsOut)
{
    // Inside a bevel (the area does not start at 0), and too small for its
    // strips: the top strip keeps its height, the bottom one stays along the
    // bottom edge over it, and the client gets nothing, never a negative size.
    const std::vector<Box> boxes = ui::dockBoxes({1, 1, 50, 40}, {
                                                                     {Dock::Top, 32},
                                                                     {Dock::Bottom, 88},
                                                                     {Dock::Left, 60},
                                                                     {Dock::Client, 0},
                                                                 });
    EXPECT_EQ(boxes[0], (Box{1, 1, 50, 32}));
    EXPECT_EQ(boxes[1], (Box{1, -47, 50, 88}));
    EXPECT_EQ(boxes[2], (Box{1, 33, 60, 0}));
    EXPECT_EQ(boxes[3].width, 0);
    EXPECT_EQ(boxes[3].height, 0);
    // A negative extent counts as none.
    EXPECT_EQ(ui::dockBoxes({0, 0, 10, 10}, {{Dock::Top, -5}, {Dock::Client, 0}})[1], (Box{0, 0, 10, 10}));
}

TEST(SplitterDrag, BothSidesKeepTheMinimumAndSmallNeighboursSnapShut)
{
    using ui::SplitterSide;
    EXPECT_EQ(ui::splitterDraggedSize(137, 10, 600, SplitterSide::Left), 147);
    EXPECT_EQ(ui::splitterDraggedSize(137, -100, 685, SplitterSide::Left), 37);
    EXPECT_EQ(ui::splitterDraggedSize(137, -106, 685, SplitterSide::Left), 31);
    EXPECT_EQ(ui::splitterDraggedSize(137, -107, 685, SplitterSide::Left), 0); // 30 snaps shut
    EXPECT_EQ(ui::splitterDraggedSize(137, -500, 685, SplitterSide::Left), 0);
    // The rest keeps 30.
    EXPECT_EQ(ui::splitterDraggedSize(137, 1000, 685, SplitterSide::Left), 655);
    // A bottom neighbour grows as the bar goes up.
    EXPECT_EQ(ui::splitterDraggedSize(88, -20, 350, SplitterSide::Bottom), 108);
    EXPECT_EQ(ui::splitterDraggedSize(88, 58, 350, SplitterSide::Bottom), 0);
    // A neighbour snapped shut opens again.
    EXPECT_EQ(ui::splitterDraggedSize(0, -40, 350, SplitterSide::Bottom), 40);
    // Where there is no room for both minimums, the neighbour gives way.
    EXPECT_EQ(ui::splitterDraggedSize(40, 10, 55, SplitterSide::Left), 0);
}

TEST(SplitterDrag, FollowsThePointerAndAppliesOnlyAChangeOnRelease)
{
    ui::SplitterDrag bottom(ui::SplitterSide::Bottom);
    bottom.begin(500, 88, 300);
    EXPECT_TRUE(bottom.active());
    EXPECT_TRUE(bottom.moveTo(470)); // up: the neighbour below grows
    EXPECT_EQ(bottom.size(), 118);
    EXPECT_EQ(bottom.barShift(), -30);
    EXPECT_FALSE(bottom.moveTo(470));
    EXPECT_TRUE(bottom.end(true));
    EXPECT_FALSE(bottom.active());
    EXPECT_FALSE(bottom.moveTo(400)); // ended: the pointer moves nothing

    ui::SplitterDrag left(ui::SplitterSide::Left);
    left.begin(137, 137, 548);
    left.moveTo(30); // snaps shut
    EXPECT_EQ(left.size(), 0);
    EXPECT_EQ(left.barShift(), -137);
    EXPECT_FALSE(left.end(false)); // Esc
    left.begin(137, 137, 548);
    left.moveTo(200);
    left.moveTo(137); // back where it started
    EXPECT_FALSE(left.end(true));
}

TEST(GridNavigation, KeysMoveWithinTheRowsInEitherNumbering)
{
    using ui::keyboard::GridAction;
    // Rows numbered from 1 (as the table counts them) and from 0 (as a model
    // does): the same moves.
    for (const int first : {0, 1}) {
        SCOPED_TRACE(first);
        ui::grid::RowView view;
        view.first = first;
        view.last = first + 99;
        view.current = first + 5;
        view.topVisible = first + 3;
        view.bottomVisible = first + 12;
        view.page = 10;
        EXPECT_EQ(ui::grid::rowForAction(GridAction::RowUp, view), first + 4);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::PageUp, view), first); // stops at the first row
        EXPECT_EQ(ui::grid::rowForAction(GridAction::PageDown, view), first + 15);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::TopVisibleRow, view), first + 3);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::BottomVisibleRow, view), first + 12);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::LastRow, view), first + 99);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::ScrollLeft, view), -1);
        view.current = first + 99;
        EXPECT_EQ(ui::grid::rowForAction(GridAction::RowDown, view), first + 99);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::PageDown, view), first + 99);
        // No current row: the moves start from the first row.
        view.current = first - 1;
        EXPECT_EQ(ui::grid::rowForAction(GridAction::RowDown, view), first + 1);
        EXPECT_EQ(ui::grid::rowForAction(GridAction::RowUp, view), first);
        // A view that holds less than a row still pages by one.
        view.current = first + 5;
        view.page = 0;
        EXPECT_EQ(ui::grid::rowForAction(GridAction::PageDown, view), first + 6);
    }
    // No rows: no key moves one.
    ui::grid::RowView empty;
    empty.first = 1;
    empty.last = 0;
    for (const GridAction action : {GridAction::RowDown, GridAction::FirstRow, GridAction::LastRow})
        EXPECT_EQ(ui::grid::rowForAction(action, empty), -1);
}

TEST(GridNavigation, PagesAndWheelNotches)
{
    EXPECT_EQ(ui::grid::rowsPerPage(210, 21), 10);
    EXPECT_EQ(ui::grid::rowsPerPage(230, 21), 10); // a row partly in view is not in the page
    EXPECT_EQ(ui::grid::rowsPerPage(5, 21), 1);
    EXPECT_EQ(ui::grid::rowsPerPage(100, 0), 100);

    // A notch away from the user moves up a row; parts of a notch (fine
    // wheels, touch pads) add up, and what is left of a notch waits.
    int pending = 0;
    EXPECT_EQ(ui::grid::wheelRows(pending, 120), -1);
    EXPECT_EQ(ui::grid::wheelRows(pending, -60), 0);
    EXPECT_EQ(ui::grid::wheelRows(pending, -70), 1);
    EXPECT_EQ(pending, -10);
    EXPECT_EQ(ui::grid::wheelRows(pending, -250), 2);
    EXPECT_EQ(pending, -20);
    EXPECT_EQ(ui::grid::wheelRows(pending, 380), -3);
    EXPECT_EQ(pending, 0);
}

} // namespace
