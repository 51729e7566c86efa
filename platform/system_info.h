#pragma once

#include <string>

namespace platform {

// The Windows directory, as a native path (shownName() gives its CP932
// form). On Linux it is the Windows directory of the user's Wine prefix: $WINEPREFIX/drive_c/windows, or
// $HOME/.wine/drive_c/windows when WINEPREFIX is not set. Whether it exists
// is not checked.
std::string windowsDirectory();

// The user's cookie folder as the system names it, as a native path; empty
// when the system names none. On Windows the known folder FOLDERID_Cookies;
// on Linux the same folder of the user's Wine prefix, as the prefix's
// user.reg names it under "Shell Folders", mapped to Linux through the
// prefix's drive links (dosdevices). Whether it exists is not checked.
std::string systemCookieFolder();

} // namespace platform
