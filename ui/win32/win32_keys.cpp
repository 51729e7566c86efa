#include "win32_keys.h"

namespace ui::win32 {

keyboard::KeyStroke keyStroke(WPARAM virtualKey)
{
    using keyboard::Key;
    Key key = Key::Other;
    switch (virtualKey) {
    case VK_UP:
        key = Key::Up;
        break;
    case VK_DOWN:
        key = Key::Down;
        break;
    case VK_LEFT:
        key = Key::Left;
        break;
    case VK_RIGHT:
        key = Key::Right;
        break;
    case VK_PRIOR:
        key = Key::PageUp;
        break;
    case VK_NEXT:
        key = Key::PageDown;
        break;
    case VK_HOME:
        key = Key::Home;
        break;
    case VK_END:
        key = Key::End;
        break;
    case VK_DELETE:
        key = Key::Delete;
        break;
    case VK_F5:
        key = Key::F5;
        break;
    case VK_SPACE:
        key = Key::Space;
        break;
    case VK_TAB:
        key = Key::Tab;
        break;
    case 'A':
        key = Key::A;
        break;
    case 'C':
        key = Key::C;
        break;
    case VK_RETURN:
        key = Key::Enter;
        break;
    case VK_ESCAPE:
        key = Key::Escape;
        break;
    default:
        break;
    }
    return {key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

} // namespace ui::win32
