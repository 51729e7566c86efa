#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

// Shows CP932 `text` in the rich edit `edit`, converted with code page 932
// whatever the system's, as plain text; its LF, CR and CR LF each a line end.
void showContentText(HWND edit, std::string_view text);

// The text the rich edit `edit` shows, in CP932 whatever the system's code
// page, with CR LF line ends.
std::string shownContentText(HWND edit);

} // namespace ui::win32
