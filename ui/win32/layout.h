#pragma once

#include <windows.h>

namespace ui::win32 {

// The screen's dots per inch (the program is dpi-aware, so this is the real
// density).
int screenDpi();

} // namespace ui::win32
