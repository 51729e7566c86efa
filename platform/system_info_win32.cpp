#include "platform/system_info.h"

#include "platform/cp932.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace platform {
namespace {

// The text of a NUL-terminated buffer, cut at its first NUL whatever the call
// said it wrote; a buffer that the call left alone is empty.
template <std::size_t N> std::wstring_view textOf(const std::array<wchar_t, N> &buffer)
{
    const auto end = std::find(buffer.begin(), buffer.end(), L'\0');
    return std::wstring_view(buffer.data(), static_cast<std::size_t>(end - buffer.begin()));
}

} // namespace

std::string windowsDirectory()
{
    // A path of up to 260 characters, and its terminator.
    std::array<wchar_t, MAX_PATH + 1> buffer{};
    GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    return win32::nativeFromWide(textOf(buffer));
}

std::string systemCookieFolder()
{
    // Not verified: the caller tells whether it exists, and a folder the
    // system names but has not made is no error.
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Cookies, KF_FLAG_DONT_VERIFY, nullptr, &path);
    std::string folder;
    if (SUCCEEDED(result) && path)
        folder = win32::nativeFromWide(path);
    CoTaskMemFree(path);
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

} // namespace platform
