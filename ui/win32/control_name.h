#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

// Every control carries its name from the layout (pnlMenu, grdMain...), so
// that tests and tools find it as the window's own code names it.
void setControlName(HWND hwnd, const char *name);
std::string controlName(HWND hwnd);

// The descendant of `root` named `name`, or null.
HWND findControl(HWND root, const char *name);

} // namespace ui::win32
