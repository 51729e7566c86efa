#include "win32_desktop.h"

#include "wide_text.h"

#include <shellapi.h>

namespace platform::win32 {

void Win32Desktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    const std::wstring folder = wideFromNative(nativeFolder);
    ShellExecuteW(m_owner, L"Open", wideFromNative(fileName).c_str(), nullptr,
                  folder.empty() ? nullptr : folder.c_str(), SW_SHOW);
}

} // namespace platform::win32
