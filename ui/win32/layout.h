#pragma once

#include "ui/form_layout.h"

#include <windows.h>

#include <vector>

namespace ui::win32 {

// The screen's dots per inch (the program is dpi-aware, so this is the real
// density).
int screenDpi();

// A docked child window and how it docks.
struct DockedControl {
    HWND hwnd; // null: the strip takes its room but nothing moves
    Dock dock;
    int size;
};

// Moves the children to their docked rectangles.
void applyDocking(const RECT &area, const std::vector<DockedControl> &controls);

} // namespace ui::win32
