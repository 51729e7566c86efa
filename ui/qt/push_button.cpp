#include "push_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>

namespace ui {

PushButton::PushButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PushButton::initStyleOption(QStyleOptionButton *option) const
{
    QPushButton::initStyleOption(option);
    // The style draws a default button's dark frame; here it follows the
    // focus, since the focused button is the one Enter presses.
    if (hasFocus() && isEnabled())
        option->features |= QStyleOptionButton::DefaultButton;
    else
        option->features &= ~QStyleOptionButton::DefaultButton;
}

void PushButton::focusInEvent(QFocusEvent *event)
{
    QPushButton::focusInEvent(event);
    update();
}

void PushButton::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    update();
}

void PushButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace ui
