#include "list_selection.h"

#include "ui/grid_navigation.h"

#include <algorithm>

namespace ui::grid {

long long RowRanges::count() const
{
    long long rows = 0;
    for (const auto &[first, last] : m_ranges)
        rows += static_cast<long long>(last) - first + 1;
    return rows;
}

std::vector<RowRanges::Range>::const_iterator RowRanges::rangeFrom(int row) const
{
    return std::lower_bound(m_ranges.begin(), m_ranges.end(), row,
                            [](const Range &range, int value) { return range.second < value; });
}

bool RowRanges::contains(int row) const
{
    const auto range = rangeFrom(row);
    return range != m_ranges.end() && range->first <= row;
}

int RowRanges::nextFrom(int row) const
{
    const auto range = rangeFrom(row);
    if (range == m_ranges.end())
        return -1;
    return std::max(range->first, row);
}

void RowRanges::add(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    // Every range that overlaps or touches first..last joins it: ranges that
    // touch would make two of what the user sees as one run.
    auto from = m_ranges.begin() + (rangeFrom(first) - m_ranges.cbegin());
    if (from != m_ranges.begin() && static_cast<long long>(std::prev(from)->second) + 1 == first)
        --from;
    auto to = from;
    while (to != m_ranges.end() && static_cast<long long>(to->first) <= static_cast<long long>(last) + 1) {
        first = std::min(first, to->first);
        last = std::max(last, to->second);
        ++to;
    }
    const auto at = m_ranges.erase(from, to);
    m_ranges.insert(at, Range{first, last});
}

void RowRanges::remove(int row)
{
    const auto found = rangeFrom(row);
    if (found == m_ranges.end() || found->first > row)
        return;
    const auto range = m_ranges.begin() + (found - m_ranges.cbegin());
    const Range was = *range;
    if (was.first == was.second) {
        m_ranges.erase(range);
        return;
    }
    if (row == was.first) {
        range->first = row + 1;
        return;
    }
    if (row == was.second) {
        range->second = row - 1;
        return;
    }
    range->second = row - 1;
    m_ranges.insert(range + 1, Range{row + 1, was.second});
}

void RowRanges::toggle(int row)
{
    if (contains(row))
        remove(row);
    else
        add(row, row);
}

void ListSelection::reset(int rows)
{
    m_rows = std::max(rows, 0);
    m_current = m_anchor = -1;
    m_selected.clear();
}

std::pair<int, int> ListSelection::span() const
{
    const auto &ranges = m_selected.ranges();
    if (ranges.empty())
        return {-1, -1};
    return {ranges.front().first, ranges.back().second};
}

std::vector<int> ListSelection::selectedRows() const
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(m_selected.count()));
    for (const auto &[first, last] : m_selected.ranges())
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
    return rows;
}

void ListSelection::select(int first, int last)
{
    m_selected.clear();
    first = std::max(first, 0);
    last = std::min(last, m_rows - 1);
    if (first > last)
        return;
    m_selected.add(first, last);
    if (m_current < first || m_current > last)
        m_current = first;
    m_anchor = m_current;
}

void ListSelection::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= m_rows)
        return;
    if (selected)
        m_selected.add(row, row);
    else
        m_selected.remove(row);
}

void ListSelection::setCurrent(int row)
{
    m_current = row >= 0 && row < m_rows ? row : -1;
}

bool ListSelection::click(int row, bool shift, bool control)
{
    if (row < 0 || row >= m_rows) {
        // Below the rows: a plain click lets every row go, as the list does.
        if (shift || control || m_selected.empty())
            return false;
        m_selected.clear();
        return true;
    }
    const int current = m_current;
    const std::vector<RowRanges::Range> before = m_selected.ranges();
    if (control && !shift) {
        m_selected.toggle(row);
        m_current = m_anchor = row;
    } else {
        moveTo(row, shift, control);
    }
    return m_current != current || m_selected.ranges() != before;
}

ListSelection::KeyOutcome ListSelection::key(const keyboard::KeyStroke &stroke, const GridSelection::View &view)
{
    if (stroke.key == keyboard::Key::Space && !stroke.alt) {
        if (m_current < 0)
            return KeyOutcome::Unchanged;
        const std::vector<RowRanges::Range> before = m_selected.ranges();
        if (stroke.control)
            m_selected.toggle(m_current);
        else
            moveTo(m_current, stroke.shift, false);
        return m_selected.ranges() != before ? KeyOutcome::Changed : KeyOutcome::Unchanged;
    }
    using keyboard::GridAction;
    const GridAction action = keyboard::gridAction(stroke);
    if (action == GridAction::None || action == GridAction::ScrollLeft || action == GridAction::ScrollRight)
        return KeyOutcome::Ignored;
    RowView rows;
    rows.first = 0;
    rows.last = m_rows - 1;
    rows.current = m_current;
    rows.topVisible = view.topVisible;
    rows.bottomVisible = view.bottomVisible;
    rows.page = view.page;
    int row = rowForAction(action, rows);
    if (row < 0)
        return KeyOutcome::Unchanged;
    // With no row current, a step lands on the first row rather than past it.
    if (m_current < 0 && (action == GridAction::RowUp || action == GridAction::RowDown))
        row = 0;
    const int current = m_current;
    const std::vector<RowRanges::Range> before = m_selected.ranges();
    moveTo(row, stroke.shift, stroke.control);
    return m_current != current || m_selected.ranges() != before ? KeyOutcome::Changed : KeyOutcome::Unchanged;
}

void ListSelection::moveTo(int row, bool shift, bool control)
{
    if (control && !shift) {
        m_current = row; // the frame moves, the selection stays
        return;
    }
    if (!shift || m_anchor < 0) {
        if (!shift || m_current < 0)
            m_anchor = row;
        else
            m_anchor = m_current;
    }
    if (!control)
        m_selected.clear();
    m_selected.add(m_anchor, row);
    m_current = row;
}

} // namespace ui::grid
