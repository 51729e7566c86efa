#include "dock_layout.h"

#include <QWidget>

#include <algorithm>

namespace ui::qt {

DockLayout::DockLayout(QWidget *parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

DockLayout::~DockLayout()
{
    for (Entry &entry : m_entries)
        delete entry.item;
}

void DockLayout::addDocked(QWidget *widget, Dock side, int extent)
{
    addChildWidget(widget);
    m_entries.push_back({new QWidgetItem(widget), side, std::max(extent, 0)});
    invalidate();
}

int DockLayout::extent(const QWidget *widget) const
{
    for (const Entry &entry : m_entries)
        if (entry.item->widget() == widget)
            return entry.extent;
    return -1;
}

void DockLayout::setExtent(const QWidget *widget, int extent)
{
    for (Entry &entry : m_entries) {
        if (entry.item->widget() == widget && entry.extent != std::max(extent, 0)) {
            entry.extent = std::max(extent, 0);
            invalidate();
            // Laid out at once, not at the next event: whoever moved the strip
            // sees the new geometry.
            if (parentWidget())
                setGeometry(parentWidget()->contentsRect());
        }
    }
}

DockLayout *DockLayout::of(const QWidget *widget)
{
    const QWidget *parent = widget ? widget->parentWidget() : nullptr;
    return parent ? qobject_cast<DockLayout *>(parent->layout()) : nullptr;
}

void DockLayout::addItem(QLayoutItem *item)
{
    // Items come only through addDocked(); anything else fills the rest.
    m_entries.push_back({item, Dock::Client, 0});
}

QLayoutItem *DockLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? m_entries[static_cast<std::size_t>(index)].item : nullptr;
}

QLayoutItem *DockLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem *item = m_entries[static_cast<std::size_t>(index)].item;
    m_entries.erase(m_entries.begin() + index);
    return item;
}

int DockLayout::count() const
{
    return static_cast<int>(m_entries.size());
}

QSize DockLayout::sizeHint() const
{
    // The strips' extents around what the filling widget would like.
    QSize client(0, 0);
    int width = 0;
    int height = 0;
    for (const Entry &entry : m_entries) {
        switch (entry.side) {
        case Dock::Top:
        case Dock::Bottom:
            height += entry.extent;
            break;
        case Dock::Left:
            width += entry.extent;
            break;
        case Dock::Client:
            client = entry.item->sizeHint();
            break;
        }
    }
    const QMargins margins = contentsMargins();
    return {width + client.width() + margins.left() + margins.right(),
            height + client.height() + margins.top() + margins.bottom()};
}

QSize DockLayout::minimumSize() const
{
    const QMargins margins = contentsMargins();
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

void DockLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect area = contentsRect();
    // Hidden widgets take no room. Widgets are placed directly, not through
    // their layout items, so that no size hint of theirs bends the layout.
    std::vector<DockedStrip> strips;
    strips.reserve(m_entries.size());
    for (const Entry &entry : m_entries) {
        const QWidget *widget = entry.item->widget();
        strips.push_back({entry.side, widget && widget->isHidden() ? 0 : entry.extent});
    }
    const std::vector<Box> boxes = dockBoxes({area.x(), area.y(), area.width(), area.height()}, strips);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        QWidget *widget = m_entries[i].item->widget();
        const QRect r(boxes[i].x, boxes[i].y, boxes[i].width, boxes[i].height);
        if (!widget)
            m_entries[i].item->setGeometry(r);
        else if (!widget->isHidden())
            widget->setGeometry(r);
    }
}

} // namespace ui::qt
