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

namespace {

// The letter a key types, upper case; 0 for a key that types none.
char letterOf(Key key)
{
    return key == Key::C ? 'C' : 0;
}

// The access key that a caption marks with "&", upper case; 0 for none.
char accessKeyOf(std::string_view caption)
{
    const std::size_t at = caption.find('&');
    if (at == std::string_view::npos || at + 1 >= caption.size())
        return 0;
    const char letter = caption[at + 1];
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

} // namespace

form::Command commandForAccessKey(const KeyStroke &stroke)
{
    const char letter = letterOf(stroke.key);
    if (!stroke.alt || stroke.control || letter == 0)
        return form::Command::None;
    for (const form::Control &control : form::controls())
        if (control.command != form::Command::None && accessKeyOf(control.caption) == letter)
            return control.command;
    return form::Command::None;
}

bool pressesButton(const KeyStroke &stroke)
{
    return stroke.key == Key::Enter && !stroke.control && !stroke.alt;
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
