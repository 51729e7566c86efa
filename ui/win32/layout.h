#pragma once

#include <windows.h>

#include <vector>

namespace ui::win32 {

// The window's text height in pixels at 96 dots per inch; every position
// and size of the layout is given at that height.
inline constexpr int kDesignTextHeight = 12;

// Converts the layout's pixels to this screen: the window font is scaled
// with the screen's density, and every position and size with the resulting
// text height.
class LayoutScale {
public:
    explicit LayoutScale(int dpi = 96);

    int dpi() const { return m_dpi; }
    int textHeight() const { return m_textHeight; }
    int px(int designPixels) const;

private:
    int m_dpi;
    int m_textHeight;
};

// The screen's dots per inch (the program is dpi-aware, so this is the real
// density).
int screenDpi();

enum class Dock { Top, Bottom, Left, Client };

// A docked child: the side it keeps to and its size across that side (its
// height for Top and Bottom, its width for Left; ignored for Client).
struct DockedControl {
    HWND hwnd;
    Dock dock;
    int size;
};

// Lays out docked children in `area` as the layout means: strips along the
// top, then along the bottom, then along the left, each in the given order
// (the one nearest its edge first), and the client control takes the rest.
// A strip keeps its extent where the room runs out, and the ones after it
// get none. Returns each control's rectangle, in the order given; hidden controls
// (a null hwnd stays in place) take their room too.
std::vector<RECT> dockRects(const RECT &area, const std::vector<DockedControl> &controls);

// Moves the children to their docked rectangles.
void applyDocking(const RECT &area, const std::vector<DockedControl> &controls);

} // namespace ui::win32
