#pragma once

#include "window.h"

namespace ui::win32 {

// A clickable text on the command column: drawn in its own colour and font
// on its parent's background, inside a sunken edge, greyed while disabled.
// A click counts when the left button is pressed and released inside; a
// release outside cancels it, and the second press of a double click does
// not count again. A click is told to the parent as WM_COMMAND with
// STN_CLICKED. It takes no keyboard focus.
class CommandText : public Window {
public:
    CommandText(COLORREF textColour, HBRUSH background);

    // Sized to its text: text width + 4 and text height + 4, trailing blanks
    // included.
    HWND create(HWND parent, int id, const char *text, int x, int y, HFONT font);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();

    COLORREF m_textColour;
    HBRUSH m_background;
    HFONT m_font = nullptr;
    bool m_pressed = false;
};

// Width and height of `text` in `font`, trailing blanks included.
SIZE textExtent(HWND hwnd, HFONT font, const char *text);

} // namespace ui::win32
