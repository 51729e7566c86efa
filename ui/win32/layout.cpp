#include "layout.h"

#include <algorithm>
#include <cmath>

namespace ui::win32 {

LayoutScale::LayoutScale(int dpi)
    : m_dpi(dpi > 0 ? dpi : 96), m_textHeight(static_cast<int>(std::lround(kDesignTextHeight * m_dpi / 96.0)))
{}

int LayoutScale::px(int designPixels) const
{
    if (m_textHeight == kDesignTextHeight)
        return designPixels;
    return static_cast<int>(std::lround(static_cast<double>(designPixels) * m_textHeight / kDesignTextHeight));
}

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

std::vector<RECT> dockRects(const RECT &area, const std::vector<DockedControl> &controls)
{
    std::vector<RECT> result(controls.size(), RECT{});
    RECT rest = area;
    // A strip keeps its extent even where the room has run out: the status
    // bar stays along the bottom edge, size grip and all, however small the
    // window; the strips after it and the filling control get nothing.
    const auto place = [&](Dock side) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const DockedControl &control = controls[i];
            if (control.dock != side)
                continue;
            RECT &r = result[i];
            const int size = std::max(control.size, 0);
            switch (side) {
            case Dock::Top:
                r = {rest.left, rest.top, std::max(rest.right, rest.left), rest.top + size};
                rest.top = r.bottom;
                break;
            case Dock::Bottom:
                r = {rest.left, rest.bottom - size, std::max(rest.right, rest.left), rest.bottom};
                rest.bottom = r.top;
                break;
            case Dock::Left:
                r = {rest.left, rest.top, rest.left + size, std::max(rest.bottom, rest.top)};
                rest.left = r.right;
                break;
            case Dock::Client:
                r = {rest.left, rest.top, std::max(rest.right, rest.left), std::max(rest.bottom, rest.top)};
                break;
            }
        }
    };
    place(Dock::Top);
    place(Dock::Bottom);
    place(Dock::Left);
    place(Dock::Client);
    return result;
}

void applyDocking(const RECT &area, const std::vector<DockedControl> &controls)
{
    const std::vector<RECT> rects = dockRects(area, controls);
    HDWP positions = BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i].hwnd || !positions)
            continue;
        const RECT &r = rects[i];
        positions = DeferWindowPos(positions, controls[i].hwnd, nullptr, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
}

} // namespace ui::win32
