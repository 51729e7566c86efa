#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The Windows directory, as a native path (shownName() gives its CP932
// form). On Linux it is the Windows directory of the user's Wine prefix: $WINEPREFIX/drive_c/windows, or
// $HOME/.wine/drive_c/windows when WINEPREFIX is not set. Whether it exists
// is not checked.
std::string windowsDirectory();

// The login name of the user running the program and the computer's name, in
// CP932, each cut to fit a buffer of `kIdentityBufferSize` bytes with its
// terminating NUL.
inline constexpr std::size_t kIdentityBufferSize = 128;
std::string userName();
std::string computerName();

} // namespace platform
