#pragma once

#include <windows.h>

#include <string_view>

namespace ui::win32 {

// Puts `text` (CP932) on the clipboard as Unicode text, converted with code
// page 932 whatever the system's; `owner` opens the clipboard. False when the
// clipboard could not be had or the memory not found.
bool copyToClipboard(HWND owner, std::string_view text);

} // namespace ui::win32
