#include "static_text.h"

#include "qt_keys.h"
#include "ui/keyboard_access.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace ui::qt {
namespace {

// The border of one pixel and one pixel of room inside it.
constexpr int kInset = 2;

} // namespace

StaticText::StaticText(QWidget *parent) : QWidget(parent)
{
    fitToText();
}

void StaticText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    fitToText();
    update();
    // A screen reader reads the text as the control's name.
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void StaticText::setFixedCentred(const QSize &size)
{
    m_autoSize = false;
    setFixedSize(size);
}

QSize StaticText::sizeHint() const
{
    if (!m_autoSize)
        return size();
    const QFontMetrics metrics(font());
    // A slanted text may reach past its advance; the box takes it in too.
    const int width = std::max(metrics.horizontalAdvance(m_text), metrics.boundingRect(m_text).right() + 1);
    return {width + 2 * kInset, metrics.height() + 2 * kInset};
}

void StaticText::fitToText()
{
    if (m_autoSize)
        resize(sizeHint());
}

void StaticText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitToText();
    QWidget::changeEvent(event);
}

void StaticText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);

    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    const int flags = Qt::TextSingleLine | Qt::AlignTop | (m_autoSize ? Qt::AlignLeft : Qt::AlignHCenter);
    QRect area = rect().adjusted(kInset, kInset, -kInset, -kInset);
    if (!m_autoSize) {
        // Centred both ways in the fixed box.
        const int textHeight = QFontMetrics(font()).height();
        area = QRect(0, (height() - textHeight) / 2, width(), textHeight);
    }
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(area, flags, m_text);
        return;
    }
    // Disabled: a light copy one pixel down and right under a grey one.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(area.translated(1, 1), flags, m_text);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(area, flags, m_text);
}

ClickableText::ClickableText(QWidget *parent) : StaticText(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void ClickableText::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && keyboard::pressesCommand(keyStroke(*event))) {
        event->accept();
        emit clicked();
        return;
    }
    StaticText::keyPressEvent(event);
}

void ClickableText::focusInEvent(QFocusEvent *event)
{
    update();
    StaticText::focusInEvent(event);
}

void ClickableText::focusOutEvent(QFocusEvent *event)
{
    update();
    StaticText::focusOutEvent(event);
}

void ClickableText::paintEvent(QPaintEvent *event)
{
    StaticText::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame just inside the border, in the text's own colour, which
    // stands out on the green column as the text does.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

bool ClickableText::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !isEnabled())
        return true;
    if (event->type() == QEvent::EnabledChange)
        m_pressed = false;
    return StaticText::event(event);
}

void ClickableText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void ClickableText::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    const bool pressed = m_pressed;
    m_pressed = false;
    if (pressed && inside)
        emit clicked();
}

void ClickableText::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: its release must not click again.
    m_pressed = false;
    event->accept();
}

} // namespace ui::qt
