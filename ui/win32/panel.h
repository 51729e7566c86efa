#pragma once

#include "gdi.h"
#include "window.h"

#include <string>

namespace ui::win32 {

// A panel: a plain area in its background colour with a raised one-pixel
// bevel, or (as a group) an etched frame with a caption at (8, 0) in its
// caption colour. Its children's notifications go on to the top-level
// window, which handles every command in one place. Tab moves through its
// children as through the window's own.
class Panel : public Window {
public:
    enum class Look { Raised, Group };

    Panel(Look look, COLORREF background, COLORREF captionColour = 0);

    HWND create(HWND parent, const char *caption, int x, int y, int width, int height, HFONT font);

    // The brush that children drawn on the panel fill their background with.
    HBRUSH backgroundBrush() const { return m_brush.get(); }
    COLORREF background() const { return m_background; }

    // The area inside the bevel, where docked children go.
    RECT innerRect() const;

    // Runs when the panel's size changes, to lay out docked children.

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();

    Look m_look;
    COLORREF m_background;
    COLORREF m_captionColour;
    BrushHandle m_brush;
    HFONT m_font = nullptr;
};

} // namespace ui::win32
