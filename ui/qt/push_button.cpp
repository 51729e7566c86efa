#include "push_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>

namespace ui::qt {

PushButton::PushButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PushButton::initStyleOption(QStyleOptionButton *option) const
{
    QPushButton::initStyleOption(option);
    // The style draws a default button's dark frame, with the raised face
    // one pixel inside it where the button may be a default one; here both
    // follow the focus, since the focused button is the one Enter presses.
    const QStyleOptionButton::ButtonFeatures framed =
        QStyleOptionButton::DefaultButton | QStyleOptionButton::AutoDefaultButton;
    if (hasFocus() && isEnabled())
        option->features |= framed;
    else
        option->features &= ~framed;
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

} // namespace ui::qt
