#include "grid_selection.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace ui::grid {

void GridSelection::reset(int rows)
{
    m_rows = std::max(rows, 0);
    m_current = m_rows > 0 ? 1 : 0;
    m_anchor = m_first = m_last = m_current;
    m_pressed = 0;
    m_wheelPending = 0;
}

std::pair<int, int> GridSelection::selected() const
{
    if (m_first <= 0 || m_last <= 0)
        return {0, 0};
    return {std::min(m_first, m_last), std::max(m_first, m_last)};
}

bool GridSelection::isSelected(int row) const
{
    const auto [first, last] = selected();
    return first > 0 && row >= first && row <= last;
}

void GridSelection::makeCurrent(int row)
{
    if (row < 1 || row > m_rows)
        return;
    moveTo(row, false);
}

void GridSelection::followCurrent(int row)
{
    m_current = row >= 1 && row <= m_rows ? row : 0;
}

void GridSelection::press(int row, bool shift)
{
    m_pressed = 0;
    if (row < 1 || row > m_rows)
        return;
    if (shift) {
        // Widens the selected range; the current row and the anchor stay.
        m_first = m_current > 0 ? m_current : row;
        m_last = row;
        return;
    }
    m_current = m_anchor = m_first = m_last = row;
    m_pressed = row;
}

bool GridSelection::dragTo(int row)
{
    if (m_pressed <= 0 || m_rows == 0)
        return false;
    m_first = m_pressed;
    m_last = std::clamp(row, 1, m_rows);
    return true;
}

bool GridSelection::release()
{
    const bool pressed = m_pressed > 0;
    m_pressed = 0;
    return pressed;
}

GridSelection::KeyOutcome GridSelection::key(const keyboard::KeyStroke &stroke, const View &view)
{
    using keyboard::GridAction;
    const GridAction action = keyboard::gridAction(stroke);
    if (action == GridAction::ScrollLeft)
        return KeyOutcome::ScrollLeft;
    if (action == GridAction::ScrollRight)
        return KeyOutcome::ScrollRight;
    RowView rows;
    rows.first = 1;
    rows.last = m_rows;
    rows.current = m_current;
    rows.topVisible = view.topVisible;
    rows.bottomVisible = view.bottomVisible;
    rows.page = view.page;
    const int row = rowForAction(action, rows);
    if (row < 0)
        return KeyOutcome::Ignored;
    if (row == m_current)
        return KeyOutcome::Unchanged;
    moveTo(row, stroke.shift);
    return KeyOutcome::Moved;
}

void GridSelection::wheel(int delta, const std::function<void()> &madeCurrent)
{
    if (m_rows == 0)
        return;
    const int rows = wheelRows(m_wheelPending, delta);
    for (int step = 0; step < std::abs(rows); ++step) {
        const int from = m_current > 0 ? m_current : 1;
        const int row = std::clamp(from + (rows < 0 ? -1 : 1), 1, m_rows);
        if (row == from && m_current > 0)
            continue;
        moveTo(row, false);
        madeCurrent();
    }
}

void GridSelection::rowMoved(int from, int to)
{
    m_current = movedPosition(m_current, from, to);
    m_anchor = m_first = m_last = m_current;
}

void GridSelection::moveTo(int row, bool extend)
{
    if (!extend || m_anchor <= 0)
        m_anchor = row;
    m_current = row;
    m_first = m_anchor;
    m_last = row;
}

int movedPosition(int position, int from, int to)
{
    if (position == from)
        return to;
    if (from < to && position > from && position <= to)
        return position - 1;
    if (to < from && position >= to && position < from)
        return position + 1;
    return position;
}

void PositionOrder::reset(int count)
{
    m_count = std::max(count, 0);
    m_order.clear();
    m_order.shrink_to_fit();
}

int PositionOrder::at(int position) const
{
    if (m_order.empty() || position < 0 || position >= m_count)
        return position;
    return m_order[static_cast<std::size_t>(position)];
}

bool PositionOrder::move(int from, int to)
{
    if (from < 1 || to < 1 || from == to || from >= m_count || to >= m_count)
        return false;
    if (m_order.empty()) {
        // Made on the first move only: a listing of 100,000 rows that nobody
        // drags keeps no order.
        m_order.resize(static_cast<std::size_t>(m_count));
        std::iota(m_order.begin(), m_order.end(), 0);
    }
    const auto begin = m_order.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
    return true;
}

} // namespace ui::grid
