#include "keyboard_access.h"

#include "platform/cp932.h"
#include "ui/main_form.h"

namespace ui::keyboard {

namespace {

form::Id controlOf(PaintedCommand command)
{
    switch (command) {
    case PaintedCommand::Delete:
        return form::Id::DeleteCommand;
    case PaintedCommand::DeleteAll:
        return form::Id::DeleteAllCommand;
    case PaintedCommand::Reload:
        break;
    }
    return form::Id::ReloadCommand;
}

} // namespace

const char *controlName(PaintedCommand command)
{
    return form::control(controlOf(command)).name;
}

bool paintedCommandOf(std::string_view name, PaintedCommand &command)
{
    for (const PaintedCommand painted : kPaintedCommands) {
        if (name == controlName(painted)) {
            command = painted;
            return true;
        }
    }
    return false;
}

bool commandForKey(const KeyStroke &stroke, bool onTable, PaintedCommand &command)
{
    if (stroke.control || stroke.alt)
        return false;
    if (stroke.key == Key::F5 && !stroke.shift) {
        command = PaintedCommand::Reload;
        return true;
    }
    if (stroke.key == Key::Delete && onTable) {
        command = stroke.shift ? PaintedCommand::DeleteAll : PaintedCommand::Delete;
        return true;
    }
    return false;
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

const char *keyName(PaintedCommand command)
{
    switch (command) {
    case PaintedCommand::Delete:
        return "Delete";
    case PaintedCommand::DeleteAll:
        return "Shift+Delete";
    case PaintedCommand::Reload:
        break;
    }
    return "F5";
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
