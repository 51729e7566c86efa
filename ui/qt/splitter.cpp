#include "splitter.h"

#include "dock_layout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ui::qt {
namespace {

// The dithered bar drawn over the window while a splitter is dragged.
class DragBar : public QWidget {
public:
    explicit DragBar(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QBrush(Qt::darkGray, Qt::Dense4Pattern));
    }
};

} // namespace

Splitter::Splitter(Side side, QWidget *neighbour, QWidget *rest, QWidget *parent)
    : QWidget(parent), m_side(side), m_neighbour(neighbour), m_rest(rest)
{
    setCursor(side == Side::Left ? Qt::SplitHCursor : Qt::SplitVCursor);
    setFocusPolicy(Qt::NoFocus);
}

int Splitter::neighbourSize() const
{
    if (!m_neighbour)
        return 0;
    return m_side == Side::Left ? m_neighbour->width() : m_neighbour->height();
}

int Splitter::restSize() const
{
    if (!m_rest)
        return 0;
    return m_side == Side::Left ? m_rest->width() : m_rest->height();
}

int Splitter::globalOffset(const QPointF &globalPosition) const
{
    return static_cast<int>(m_side == Side::Left ? globalPosition.x() : globalPosition.y());
}

void Splitter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

void Splitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_neighbour)
        return;
    m_dragging = true;
    m_startOffset = globalOffset(event->globalPosition());
    m_startSize = neighbourSize();
    m_available = m_startSize + restSize();
    m_newSize = m_startSize;
    if (!m_bar)
        m_bar = new DragBar(window());
    moveBar(m_newSize);
    m_bar->show();
    m_bar->raise();
    grabKeyboard();
}

void Splitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_newSize =
        splitterDraggedSize(m_startSize, globalOffset(event->globalPosition()) - m_startOffset, m_available, m_side);
    moveBar(m_newSize);
}

void Splitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    endDrag();
    // The neighbour's extent in its docking layout: the rest gives up the
    // room, and the window keeps its size and its minimum.
    if (DockLayout *dock = DockLayout::of(m_neighbour))
        dock->setExtent(m_neighbour, m_newSize);
}

void Splitter::keyPressEvent(QKeyEvent *event)
{
    if (m_dragging && event->key() == Qt::Key_Escape) {
        endDrag();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Splitter::endDrag()
{
    m_dragging = false;
    releaseKeyboard();
    if (m_bar)
        m_bar->hide();
}

void Splitter::moveBar(int size)
{
    // The bar stands where the splitter will be when the neighbour has `size`.
    const int shift = size - m_startSize;
    QRect area = rect();
    area.translate(m_side == Side::Left ? QPoint(shift, 0) : QPoint(0, -shift));
    m_bar->setGeometry(QRect(mapTo(window(), area.topLeft()), area.size()));
}

} // namespace ui::qt
