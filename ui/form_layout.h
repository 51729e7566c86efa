#pragma once

#include <vector>

// The window's geometry rules, free of any toolkit: how design pixels become
// screen pixels, and how docked controls share their parent's area. Both
// front ends lay the window out through these, so that their controls land
// on the same pixels.
namespace ui {

// The window's text height in pixels at 96 dots per inch; every position
// and size of the layout is given at that height.
inline constexpr int kDesignTextHeight = 12;

// Converts the layout's pixels to this screen: the window font is scaled
// with the screen's density, and every position and size with the resulting
// text height.
class LayoutScale {
public:
    // The scale of a screen with `dpi` dots per inch (96 when unknown).
    explicit LayoutScale(double dpi = 96.0);

    int dpi() const { return m_dpi; }
    int textHeight() const { return m_textHeight; }
    int px(int designPixels) const;

private:
    int m_dpi;
    int m_textHeight;
};

// A rectangle in a parent's pixels.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    bool operator==(const Box &) const = default;
};

enum class Dock { Top, Bottom, Left, Client };

// A docked control: the side it keeps to and its extent across that side
// (its height for Top and Bottom, its width for Left; ignored for Client).
struct DockedStrip {
    Dock dock;
    int extent;
};

// Lays out docked controls in `area`: strips along the top, then along the
// bottom, then along the left, each side in the given order (the one nearest
// its edge first), and last the control that fills the rest. A strip keeps
// its extent where the room runs out, so that the status bar stays along the
// bottom edge however small the window; the strips after it and the filling
// control get what is left, or nothing. Returns each strip's box, in the
// order given.
std::vector<Box> dockBoxes(const Box &area, const std::vector<DockedStrip> &strips);

// A splitter lies between a docked neighbour and the control that fills the
// rest; dragging it resizes the neighbour. Left: a vertical bar right of a
// neighbour docked left. Bottom: a horizontal bar above a neighbour docked to
// the bottom.
enum class SplitterSide { Left, Bottom };

// Neither the neighbour nor the rest is made smaller than this by a drag.
inline constexpr int kSplitterMinimumSize = 30;

// The neighbour's size after a drag that moved the splitter by `delta`
// pixels (right or down positive) from a neighbour of `start` pixels, where
// the neighbour and the rest share `available`: the rest keeps
// kSplitterMinimumSize, and a neighbour dragged to kSplitterMinimumSize or
// less snaps shut to 0.
int splitterDraggedSize(int start, int delta, int available, SplitterSide side);

// A splitter's drag, free of any toolkit: the pointer's offset along the
// splitter's axis (x for Left, y for Bottom) in screen pixels, the sizes it
// gives the neighbour, and where the bar that follows the pointer stands.
class SplitterDrag {
public:
    explicit SplitterDrag(SplitterSide side) : m_side(side) {}

    bool active() const { return m_active; }
    // The size the drag has reached so far.
    int size() const { return m_size; }

    // A press at `offset` on a splitter between a neighbour of `neighbour`
    // pixels and the rest of `rest` pixels.
    void begin(int offset, int neighbour, int rest);
    // The pointer is at `offset`: true when the neighbour's size changes.
    bool moveTo(int offset);
    // Ends the drag; true when it gives the neighbour a new size(), which
    // Esc (`apply` false) never does.
    bool end(bool apply);

    // How far the bar stands from the splitter: right or down positive.
    int barShift() const;

private:
    SplitterSide m_side;
    bool m_active = false;
    int m_startOffset = 0;
    int m_startSize = 0;
    int m_available = 0;
    int m_size = 0;
};

} // namespace ui
