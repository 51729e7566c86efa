#pragma once

#include <string_view>

namespace platform {

// Matches a CP932 file name against a CP932 wildcard pattern the way the
// Windows file system does: "*" matches any run of characters, "?" exactly
// one character, letters match regardless of case (full-width Latin, Greek
// and Cyrillic letters too, see letter_case.h), and every other byte, "[" included, stands for
// itself. Patterns and names are stepped character by character, so "?"
// takes a whole double-byte character.
bool matchesMask(std::string_view pattern, std::string_view name);

} // namespace platform
