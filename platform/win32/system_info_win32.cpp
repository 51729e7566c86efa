#include "platform/system_info.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace platform {
namespace {

// The text of a NUL-terminated buffer, cut at its first NUL whatever the call
// said it wrote; a buffer that the call left alone is empty.
template <std::size_t N> std::string textOf(const std::array<char, N> &buffer)
{
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

} // namespace

std::string windowsDirectory()
{
    // A path of up to 260 bytes, and its terminator.
    std::array<char, 261> buffer{};
    GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    return textOf(buffer);
}

std::string userName()
{
    std::array<char, kIdentityBufferSize> buffer{};
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!GetUserNameA(buffer.data(), &size))
        return {};
    return textOf(buffer);
}

std::string computerName()
{
    std::array<char, kIdentityBufferSize> buffer{};
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!GetComputerNameA(buffer.data(), &size))
        return {};
    return textOf(buffer);
}

} // namespace platform
