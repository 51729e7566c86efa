#include "qt_keys.h"

#include <QKeyEvent>

namespace ui::qt {

keyboard::KeyStroke keyStroke(const QKeyEvent &event)
{
    using keyboard::Key;
    Key key = Key::Other;
    switch (event.key()) {
    case Qt::Key_Up:
        key = Key::Up;
        break;
    case Qt::Key_Down:
        key = Key::Down;
        break;
    case Qt::Key_Left:
        key = Key::Left;
        break;
    case Qt::Key_Right:
        key = Key::Right;
        break;
    case Qt::Key_PageUp:
        key = Key::PageUp;
        break;
    case Qt::Key_PageDown:
        key = Key::PageDown;
        break;
    case Qt::Key_Home:
        key = Key::Home;
        break;
    case Qt::Key_End:
        key = Key::End;
        break;
    case Qt::Key_Delete:
        key = Key::Delete;
        break;
    case Qt::Key_F5:
        key = Key::F5;
        break;
    case Qt::Key_Space:
        key = Key::Space;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        key = Key::Tab;
        break;
    case Qt::Key_A:
        key = Key::A;
        break;
    case Qt::Key_C:
        key = Key::C;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = Key::Enter;
        break;
    case Qt::Key_Escape:
        key = Key::Escape;
        break;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return {key, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

} // namespace ui::qt
