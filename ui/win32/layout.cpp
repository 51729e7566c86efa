#include "layout.h"

#include <algorithm>
#include <cmath>

namespace ui::win32 {

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void applyDocking(const RECT &area, const std::vector<DockedControl> &controls)
{
    std::vector<DockedStrip> strips;
    strips.reserve(controls.size());
    for (const DockedControl &control : controls)
        strips.push_back({control.dock, control.size});
    const std::vector<Box> boxes =
        dockBoxes({area.left, area.top, area.right - area.left, area.bottom - area.top}, strips);
    HDWP positions = BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i].hwnd || !positions)
            continue;
        const Box &box = boxes[i];
        positions = DeferWindowPos(positions, controls[i].hwnd, nullptr, box.x, box.y, box.width, box.height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
}

} // namespace ui::win32
