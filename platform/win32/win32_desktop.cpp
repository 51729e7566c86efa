#include "win32_desktop.h"

#include <shellapi.h>

namespace platform::win32 {

void Win32Desktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    ShellExecuteA(m_owner, "Open", fileName.c_str(), nullptr, nativeFolder.empty() ? nullptr : nativeFolder.c_str(),
                  SW_SHOW);
}

} // namespace platform::win32
