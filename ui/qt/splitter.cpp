#include "splitter.h"

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
    : QWidget(parent), m_side(side), m_neighbour(neighbour), m_rest(rest), m_drag(side)
{
    setCursor(side == Side::Left ? Qt::SplitHCursor : Qt::SplitVCursor);
    setFocusPolicy(Qt::NoFocus);
}

int Splitter::sizeAcross(const QWidget *widget) const
{
    if (!widget)
        return 0;
    return m_side == Side::Left ? widget->width() : widget->height();
}

int Splitter::offsetOf(const QPointF &globalPosition) const
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
    m_drag.begin(offsetOf(event->globalPosition()), sizeAcross(m_neighbour), sizeAcross(m_rest));
    if (!m_bar)
        m_bar = new DragBar(window());
    moveBar();
    m_bar->show();
    m_bar->raise();
    grabKeyboard();
}

void Splitter::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag.moveTo(offsetOf(event->globalPosition())))
        moveBar();
}

void Splitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag.active() && event->button() == Qt::LeftButton)
        endDrag(true);
}

void Splitter::keyPressEvent(QKeyEvent *event)
{
    if (m_drag.active() && event->key() == Qt::Key_Escape) {
        endDrag(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void Splitter::endDrag(bool apply)
{
    releaseKeyboard();
    if (m_bar)
        m_bar->hide();
    // The rest gives up the room; the window keeps its size.
    if (m_drag.end(apply) && m_resize)
        m_resize(m_drag.size());
}

void Splitter::moveBar()
{
    // The bar stands where the splitter will be when the drag ends.
    const int shift = m_drag.barShift();
    QRect area = rect();
    area.translate(m_side == Side::Left ? QPoint(shift, 0) : QPoint(0, shift));
    m_bar->setGeometry(QRect(mapTo(window(), area.topLeft()), area.size()));
}

} // namespace ui::qt
