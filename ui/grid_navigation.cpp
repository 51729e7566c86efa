#include "grid_navigation.h"

#include <algorithm>
#include <cstdlib>

namespace ui::grid {

int rowForAction(keyboard::GridAction action, const RowView &view)
{
    using keyboard::GridAction;
    if (view.last < view.first)
        return -1;
    const int current = view.current >= view.first && view.current <= view.last ? view.current : view.first;
    const auto clamp = [&view](int row) { return std::clamp(row, view.first, view.last); };
    switch (action) {
    case GridAction::RowUp:
        return clamp(current - 1);
    case GridAction::RowDown:
        return clamp(current + 1);
    case GridAction::TopVisibleRow:
        return clamp(view.topVisible);
    case GridAction::BottomVisibleRow:
        return clamp(view.bottomVisible);
    case GridAction::PageUp:
        return clamp(current - std::max(view.page, 1));
    case GridAction::PageDown:
        return clamp(current + std::max(view.page, 1));
    case GridAction::FirstRow:
        return view.first;
    case GridAction::LastRow:
        return view.last;
    default:
        return -1;
    }
}

int rowsPerPage(int viewHeight, int rowPitch)
{
    return std::max(viewHeight / std::max(rowPitch, 1), 1);
}

int wheelRows(int &pending, int delta)
{
    pending += delta;
    const int notches = pending / kWheelNotch; // towards zero: a part-notch stays pending
    pending -= notches * kWheelNotch;
    return -notches; // turning away from the user goes up
}

} // namespace ui::grid
