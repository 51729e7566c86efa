#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a Wine prefix says about itself: the values of its registry files and
// where its Windows paths lie on Linux. Linux only.
namespace platform::wine {

// The prefix the user's Wine runs in: $WINEPREFIX, or ~/.wine when it is not
// set; without a trailing separator.
std::string prefixFolder();

// The string value `valueName` of key `key` in the text of a Wine registry
// file (user.reg, system.reg), decoded to UTF-8. Key and value names match
// regardless of the case of their ASCII letters, as the registry's do;
// "\\" separates the key's parts. Nothing when the key or the value is
// missing or the value is no string.
std::optional<std::string> registryString(std::string_view fileText, std::string_view key, std::string_view valueName);

// The Linux path of `windowsPath` (UTF-8, "C:\\folder\\..." with a drive
// letter) inside prefix `prefix`: its drive as the prefix's dosdevices
// link for it leads ("c:" to drive_c), then the rest of the path. Nothing
// when the path has no drive letter or the prefix no such drive. Whether
// the folder exists is not checked.
std::optional<std::string> linuxPathOf(const std::string &prefix, std::string_view windowsPath);

} // namespace platform::wine
