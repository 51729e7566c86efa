#include "win32_desktop.h"

#include "platform/filesystem.h"

#include <shellapi.h>

namespace platform::win32 {

void Win32Desktop::openDocument(const std::string &path)
{
    const std::string_view folder = folderPart(path);
    openInFolder(std::string(folder), path.substr(folder.size()));
}

void Win32Desktop::openInFolder(const std::string &folder, const std::string &fileName)
{
    ShellExecuteA(m_owner, "Open", fileName.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), SW_SHOW);
}

} // namespace platform::win32
