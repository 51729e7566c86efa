#pragma once

#include <string_view>

namespace platform {

// The order in which the Windows file system keeps names, on native (UTF-8)
// names: character by character, letters compared in upper case (those that
// a file-name search takes regardless of case: ASCII and full-width Latin,
// Greek and Cyrillic, see letter_case.h), by code point. It is a strict total order on any byte
// strings: both names are decoded the same way from the same position, and a
// byte that starts no valid character compares as itself, above every
// character. Names that differ only in letter case follow in byte order.
bool nameSortsBefore(std::string_view a, std::string_view b);

} // namespace platform
