#include "keyboard_access.h"

#include "platform/cp932.h"

namespace ui::keyboard {

form::Command commandForKey(const KeyStroke &stroke, bool onTable)
{
    if (stroke.control || stroke.alt)
        return form::Command::None;
    if (stroke.key == Key::F5 && !stroke.shift)
        return form::Command::Reload;
    if (stroke.key == Key::Delete && onTable)
        return stroke.shift ? form::Command::DeleteAll : form::Command::Delete;
    return form::Command::None;
}

int contentViewStep(const KeyStroke &stroke)
{
    if (stroke.key != Key::Tab || !stroke.control || stroke.alt)
        return 0;
    return stroke.shift ? -1 : 1;
}

bool copies(const KeyStroke &stroke)
{
    return stroke.key == Key::C && stroke.control && !stroke.shift && !stroke.alt;
}

bool selectsAll(const KeyStroke &stroke)
{
    return stroke.key == Key::A && stroke.control && !stroke.shift && !stroke.alt;
}

bool pressesCommand(const KeyStroke &stroke)
{
    return (stroke.key == Key::Space || stroke.key == Key::Enter) && !stroke.control && !stroke.alt;
}

GridAction gridAction(const KeyStroke &stroke)
{
    if (stroke.alt)
        return GridAction::None;
    switch (stroke.key) {
    case Key::Up:
        return GridAction::RowUp;
    case Key::Down:
        return GridAction::RowDown;
    case Key::Left:
        return GridAction::ScrollLeft;
    case Key::Right:
        return GridAction::ScrollRight;
    case Key::PageUp:
        return stroke.control ? GridAction::TopVisibleRow : GridAction::PageUp;
    case Key::PageDown:
        return stroke.control ? GridAction::BottomVisibleRow : GridAction::PageDown;
    case Key::Home:
        return GridAction::FirstRow;
    case Key::End:
        return GridAction::LastRow;
    default:
        return GridAction::None;
    }
}

const std::string &tableAccessibleName()
{
    static const std::string name = platform::cp932::fromUtf8("クッキーファイル一覧");
    return name;
}

std::string_view commandAccessibleName(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace ui::keyboard
