#include "keyboard_access.h"

#include "platform/cp932.h"

namespace ui::keyboard {

const char *controlName(PaintedCommand command)
{
    switch (command) {
    case PaintedCommand::Delete:
        return "stDelete";
    case PaintedCommand::AllDelete:
        return "stAllDelete";
    case PaintedCommand::ReLoad:
        break;
    }
    return "stReLoad";
}

bool commandForKey(const KeyStroke &stroke, bool onTable, PaintedCommand &command)
{
    if (stroke.control || stroke.alt)
        return false;
    if (stroke.key == Key::F5 && !stroke.shift) {
        command = PaintedCommand::ReLoad;
        return true;
    }
    if (stroke.key == Key::Delete && onTable) {
        command = stroke.shift ? PaintedCommand::AllDelete : PaintedCommand::Delete;
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
    case PaintedCommand::AllDelete:
        return "Shift+Delete";
    case PaintedCommand::ReLoad:
        break;
    }
    return "F5";
}

const std::string &commandHint(PaintedCommand command)
{
    const auto hint = [](const char *utf8, PaintedCommand named) {
        return platform::cp932::fromUtf8(utf8) + " (" + keyName(named) + ")";
    };
    static const std::string deleteHint = hint("最後に選択したクッキーファイルを削除します", PaintedCommand::Delete);
    static const std::string allDeleteHint = hint("全てのクッキーファイルを削除します", PaintedCommand::AllDelete);
    static const std::string reLoadHint = hint("クッキーファイルの再読み込み", PaintedCommand::ReLoad);
    switch (command) {
    case PaintedCommand::Delete:
        return deleteHint;
    case PaintedCommand::AllDelete:
        return allDeleteHint;
    case PaintedCommand::ReLoad:
        break;
    }
    return reLoadHint;
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
