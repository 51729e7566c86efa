#pragma once

#include "ui/keyboard_access.h"

#include <windows.h>

namespace ui::win32 {

// A virtual key, pressed now, in the window's own terms, with the state of
// Shift, Ctrl and Alt as the message queue knows it.
keyboard::KeyStroke keyStroke(WPARAM virtualKey);

} // namespace ui::win32
