#include "clipboard.h"

#include "platform/wide_text_win32.h"

#include <cstring>
#include <string>

namespace ui::win32 {

bool copyToClipboard(HWND owner, std::string_view text)
{
    const std::wstring wide = platform::win32::wideFromCp932(text);
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    bool copied = false;
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void *target = GlobalLock(memory)) {
            std::memcpy(target, wide.c_str(), bytes);
            GlobalUnlock(memory);
            copied = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!copied)
            GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

} // namespace ui::win32
