#include "busy_cursor.h"

namespace platform::win32 {
namespace {

// The program's windows all run on one thread.
int g_depth = 0;

} // namespace

BusyCursor::BusyCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT)))
{
    ++g_depth;
}

BusyCursor::~BusyCursor()
{
    if (--g_depth > 0)
        return;
    SetCursor(m_previous);
    // Let the window under the mouse choose its cursor again.
    POINT at{};
    if (GetCursorPos(&at))
        SetCursorPos(at.x, at.y);
}

bool BusyCursor::active()
{
    return g_depth > 0;
}

} // namespace platform::win32
