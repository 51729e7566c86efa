#include "win32_desktop.h"

#include <shellapi.h>

#include <climits>

namespace platform::win32 {
namespace {

// The UTF-16 form of a CP932 path, whatever the system's code page.
std::wstring wide(const std::string &cp932)
{
    if (cp932.empty() || cp932.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(cp932.size());
    const int length = MultiByteToWideChar(932, 0, cp932.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(932, 0, cp932.data(), size, text.data(), length);
    return text;
}

} // namespace

DocumentOpening Win32Desktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    DocumentOpening result{false, nativeFolder + fileName};
    const std::wstring file = wide(result.path);
    const std::wstring folder = wide(nativeFolder);
    // The folder is the working folder too. Anything at most 32 is a
    // failure (no such file, nothing to open it with).
    const auto code = reinterpret_cast<INT_PTR>(ShellExecuteW(
        m_owner, L"open", file.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL));
    result.opened = code > 32;
    return result;
}

} // namespace platform::win32
