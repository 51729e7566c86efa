#pragma once

#include "command_accessible.h"
#include "owned_accessible.h"
#include "window.h"

#include <string>

namespace ui::win32 {

// A clickable text on the command column: drawn in its own colour and font
// on its parent's background, inside a sunken edge, greyed while disabled.
// A click counts when the left button is pressed and released inside; a
// release outside cancels it, and the second press of a double click does
// not count again. A click is told to the parent as WM_COMMAND with
// STN_CLICKED. It takes the focus by Tab (a click leaves it where it was),
// shows it with a dotted frame, and Space or Enter clicks it. A screen
// reader sees a push button (CommandAccessible).
class CommandText : public Window {
public:
    CommandText(COLORREF textColour, HBRUSH background);

    // Sized to its text (CP932): text width + 4 and text height + 4,
    // trailing blanks included. `key` names the key that runs it, for
    // screen readers.
    HWND create(HWND parent, int id, const char *text, int x, int y, HFONT font, const char *key = "");

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();
    void click();

    COLORREF m_textColour;
    HBRUSH m_background;
    HFONT m_font = nullptr;
    bool m_pressed = false;
    std::string m_text; // CP932
    std::string m_key;
    OwnedAccessible<CommandAccessible> m_accessible;
};

// Width and height of `text` in `font`, trailing blanks included.
SIZE textExtent(HWND hwnd, HFONT font, const char *text);

// How far the last character of `text` (CP932) reaches past the text's
// width in `font`, as a slanted one does; 0 for most.
int overhang(HWND hwnd, HFONT font, const char *text);

} // namespace ui::win32
