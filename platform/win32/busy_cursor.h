#pragma once

#include <windows.h>

namespace platform::win32 {

// The application-wide hourglass for as long as an object lives. The
// program's windows ask active() in WM_SETCURSOR, so every one of them shows
// it, whatever lies under the mouse.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    static bool active();

private:
    HCURSOR m_previous;
};

} // namespace platform::win32
