#include "dock_layout.h"

#include <QWidget>

#include <algorithm>

namespace ui {

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
    int left = area.left();
    int top = area.top();
    int right = area.left() + area.width();  // one past the last column
    int bottom = area.top() + area.height(); // one past the last row
    // Hidden widgets take no room. Widgets are placed directly, not through
    // their layout items, so that no size hint of theirs bends the layout.
    const auto place = [this](Dock side, auto &&geometry) {
        for (Entry &entry : m_entries) {
            QWidget *widget = entry.item->widget();
            if (entry.side != side || (widget && widget->isHidden()))
                continue;
            const QRect r = geometry(entry.extent);
            if (widget)
                widget->setGeometry(r);
            else
                entry.item->setGeometry(r);
        }
    };
    // A strip keeps its extent even where the room has run out; the strips
    // that come after it and the filling widget get none.
    place(Dock::Top, [&](int extent) {
        const QRect r(left, top, std::max(right - left, 0), extent);
        top += extent;
        return r;
    });
    place(Dock::Bottom, [&](int extent) {
        bottom -= extent;
        return QRect(left, bottom, std::max(right - left, 0), extent);
    });
    place(Dock::Left, [&](int extent) {
        const QRect r(left, top, extent, std::max(bottom - top, 0));
        left += extent;
        return r;
    });
    place(Dock::Client, [&](int) { return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0)); });
}

} // namespace ui
