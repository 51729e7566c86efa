#pragma once

#include "ui/form_layout.h"

#include "gdi.h"
#include "window.h"

#include <functional>

namespace ui::win32 {

// A splitter between a docked neighbour and the control that fills the rest.
// Dragging it with the left button shows a dithered bar where it will land;
// on release the neighbour takes its new size (through the resize handler,
// which lays the parent out again). The neighbour keeps at least
// kSplitterMinimumSize pixels, or snaps shut to 0 when dragged to that or less, and
// the rest keeps kSplitterMinimumSize. Esc during the drag cancels it. Never changes
// the size of the window it lies in.
class Splitter : public Window {
public:
    // Left: a vertical bar right of a neighbour docked left. Bottom: a
    // horizontal bar above a neighbour docked to the bottom.
    using Side = SplitterSide;

    explicit Splitter(Side side);

    HWND create(HWND parent, int x, int y, int width, int height);

    // `neighbour` and `rest` are the controls the splitter lies between;
    // `resize` gives the neighbour its new size.
    void attach(HWND neighbour, HWND rest, std::function<void(int)> resize);

    bool dragging() const { return m_drag.active(); }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int sizeAcross(HWND control) const;
    int offsetOf(POINT screen) const;
    void beginDrag();
    void moveDrag();
    void endDrag(bool apply);
    // Draws (or, drawn again, erases) the bar where the drag has it.
    void toggleBar();

    Side m_side;
    HWND m_neighbour = nullptr;
    HWND m_rest = nullptr;
    std::function<void(int)> m_resize;
    BrushHandle m_dither;

    SplitterDrag m_drag;
    HWND m_previousFocus = nullptr;
};

} // namespace ui::win32
