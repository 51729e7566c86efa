#include "form_layout.h"

#include <algorithm>
#include <cmath>

namespace ui {

LayoutScale::LayoutScale(double dpi)
    : m_dpi(static_cast<int>(std::lround(dpi > 0 ? dpi : 96.0))),
      m_textHeight(static_cast<int>(std::lround(kDesignTextHeight * (dpi > 0 ? dpi : 96.0) / 96.0)))
{}

int LayoutScale::px(int designPixels) const
{
    if (m_textHeight == kDesignTextHeight)
        return designPixels;
    return static_cast<int>(std::lround(static_cast<double>(designPixels) * m_textHeight / kDesignTextHeight));
}

std::vector<Box> dockBoxes(const Box &area, const std::vector<DockedStrip> &strips)
{
    std::vector<Box> boxes(strips.size());
    int left = area.x;
    int top = area.y;
    const int right = area.right();
    int bottom = area.bottom();
    const auto place = [&](Dock side, auto &&boxFor) {
        for (std::size_t i = 0; i < strips.size(); ++i)
            if (strips[i].dock == side)
                boxes[i] = boxFor(std::max(strips[i].extent, 0));
    };
    place(Dock::Top, [&](int extent) {
        const Box box{left, top, std::max(right - left, 0), extent};
        top += extent;
        return box;
    });
    place(Dock::Bottom, [&](int extent) {
        bottom -= extent;
        return Box{left, bottom, std::max(right - left, 0), extent};
    });
    place(Dock::Left, [&](int extent) {
        const Box box{left, top, extent, std::max(bottom - top, 0)};
        left += extent;
        return box;
    });
    place(Dock::Client, [&](int) { return Box{left, top, std::max(right - left, 0), std::max(bottom - top, 0)}; });
    return boxes;
}

int splitterDraggedSize(int start, int delta, int available, SplitterSide side)
{
    int size = side == SplitterSide::Left ? start + delta : start - delta;
    size = std::min(size, available - kSplitterMinimumSize);
    return size <= kSplitterMinimumSize ? 0 : size;
}

void SplitterDrag::begin(int offset, int neighbour, int rest)
{
    m_active = true;
    m_startOffset = offset;
    m_startSize = m_size = neighbour;
    m_available = neighbour + rest;
}

bool SplitterDrag::moveTo(int offset)
{
    const int size = splitterDraggedSize(m_startSize, offset - m_startOffset, m_available, m_side);
    if (!m_active || size == m_size)
        return false;
    m_size = size;
    return true;
}

bool SplitterDrag::end(bool apply)
{
    const bool changed = m_active && apply && m_size != m_startSize;
    m_active = false;
    return changed;
}

int SplitterDrag::barShift() const
{
    // A neighbour on the left grows to the right; one at the bottom grows up.
    const int shift = m_size - m_startSize;
    return m_side == SplitterSide::Left ? shift : -shift;
}

} // namespace ui
