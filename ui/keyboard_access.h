#pragma once

#include "ui/main_form.h"

#include <string>
#include <string_view>

// How the window is used without a mouse, written once for every front end:
// the keys it binds and the names a screen reader reads (the Tab order and
// the hints are the form's, in main_form.h). Each front end turns its own
// key codes into a KeyStroke.
namespace ui::keyboard {

// The keys the window gives a meaning to; every other key is Other.
enum class Key { Other, Up, Down, Left, Right, PageUp, PageDown, Home, End, Delete, F5, Space, Enter, Escape, Tab, A, C };

struct KeyStroke {
    Key key = Key::Other;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// The command that `stroke` runs, or Command::None: DELETE on Delete and
// ALL DELETE on Shift+Delete while the table has the focus (`onTable`),
// ReLoad on F5 anywhere in the window.
form::Command commandForKey(const KeyStroke &stroke, bool onTable);

// The command whose control's caption marks `stroke`'s letter as its access
// key, pressed with Alt ("閉じる(&C)": Alt+C closes), or Command::None.
form::Command commandForAccessKey(const KeyStroke &stroke);

// True for Enter without Ctrl or Alt, which presses the focused button.
bool pressesButton(const KeyStroke &stroke);

// The step through the lower pane's views that `stroke` takes: 1 for
// Ctrl+Tab, -1 for Ctrl+Shift+Tab, 0 for any other key.
int contentViewStep(const KeyStroke &stroke);

// True for Ctrl+C, the key that copies.
bool copies(const KeyStroke &stroke);

// True for Ctrl+A, the key that selects every row of a list.
bool selectsAll(const KeyStroke &stroke);

// True for the keys that press a focused command text: Space and Enter,
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

// What a screen reader calls the table (CP932).
const std::string &tableAccessibleName();

// What a screen reader calls a command drawn as `text`: the text without the
// blanks that only widen its box.
std::string_view commandAccessibleName(std::string_view text);

} // namespace ui::keyboard
