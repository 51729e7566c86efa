#include "win32_desktop.h"

#include "platform/wide_text_win32.h"

#include <shellapi.h>

namespace platform::win32 {

DocumentOpening Win32Desktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    DocumentOpening result{false, nativeFolder + fileName};
    const std::wstring folder = wideFromNative(nativeFolder);
    // The folder is the working folder too. Anything at most 32 is a
    // failure (no such file, nothing to open it with).
    const auto code =
        reinterpret_cast<INT_PTR>(ShellExecuteW(m_owner, L"Open", wideFromNative(result.path).c_str(), nullptr,
                                                folder.empty() ? nullptr : folder.c_str(), SW_SHOW));
    result.opened = code > 32;
    return result;
}

} // namespace platform::win32
