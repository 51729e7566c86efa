#pragma once

#include <array>
#include <string>
#include <string_view>

// How the window is used without a mouse, written once for every front end:
// the keys it binds and the names a screen reader reads (the Tab order and
// the hints are the form's, in main_form.h). Each front end turns its own
// key codes into a KeyStroke and finds its controls by their names.
namespace ui::keyboard {

// The keys the window gives a meaning to; every other key is Other.
enum class Key { Other, Up, Down, Left, Right, PageUp, PageDown, Home, End, Delete, F5, Space, Enter };

struct KeyStroke {
    Key key = Key::Other;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// The commands drawn as texts on the command column. They take the focus
// like buttons and act on Space and Enter.
enum class PaintedCommand { Delete, DeleteAll, Reload };
inline constexpr std::array<PaintedCommand, 3> kPaintedCommands = {PaintedCommand::Delete, PaintedCommand::DeleteAll,
                                                                   PaintedCommand::Reload};

// The control name of a painted command (stDelete...).
const char *controlName(PaintedCommand command);

// The painted command whose control is named `name`, if any.
bool paintedCommandOf(std::string_view name, PaintedCommand &command);

// The painted command that `stroke` runs, if any. Delete runs DELETE and
// Shift+Delete ALL DELETE while the table has the focus (`onTable`); F5
// runs ReLoad anywhere in the window. A command runs only while its text is
// enabled, as a click would.
bool commandForKey(const KeyStroke &stroke, bool onTable, PaintedCommand &command);

// True for the keys that press a focused painted command: Space and Enter,
// without Ctrl or Alt.
bool pressesCommand(const KeyStroke &stroke);

// What a key does on the table.
enum class GridAction {
    None,
    RowUp,
    RowDown,
    PageUp,
    PageDown,
    FirstRow,
    LastRow,
    TopVisibleRow,    // the first row in view
    BottomVisibleRow, // the last row wholly in view
    ScrollLeft,       // the columns, when the table is wider than its view
    ScrollRight,
};
GridAction gridAction(const KeyStroke &stroke);

// The key of a painted command as its hint names it: "Delete",
// "Shift+Delete", "F5".
const char *keyName(PaintedCommand command);

// What a screen reader calls the table (CP932).
const std::string &tableAccessibleName();

// What a screen reader calls a command drawn as `text`: the text without the
// blanks that only widen its box.
std::string_view commandAccessibleName(std::string_view text);

} // namespace ui::keyboard
