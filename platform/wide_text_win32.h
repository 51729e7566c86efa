#pragma once

#include <string>
#include <string_view>

// The two ways text meets the wide ("W") calls of Windows.
//
// Native names and paths are kept as UTF-8 (the generalised form that also
// carries a lone surrogate, which a Windows file name may hold), so that they
// travel through the program as byte strings like Linux names and survive
// the way there and back unchanged.
//
// The program's own texts are CP932 and reach the screen converted with code
// page 932 named explicitly: never through the system's ANSI code page,
// which is 1252 on a Western Windows and 65001 on a Windows set to UTF-8.
namespace platform::win32 {

// A native name or path for the wide calls.
std::wstring wideFromNative(std::string_view native);
// What a wide call gave, as a native name or path.
std::string nativeFromWide(std::wstring_view wide);

// CP932 text for the screen, as the "A" calls showed it under code page 932.
std::wstring wideFromCp932(std::string_view text);
// Text from the screen (an edit box, a window's caption) as CP932, as the
// "A" calls gave it under code page 932.
std::string cp932FromWide(std::wstring_view text);

// The CP932 form of a name or path from the system: a character that CP932
// lacks shows as one "?" (a character beyond the Basic Multilingual Plane
// too, though it takes two UTF-16 units), never as a look-alike.
std::string shownFromWide(std::wstring_view wide);
// The same into `shown`, whose room is kept: for a listing that converts
// every name of a folder.
void shownFromWide(std::wstring_view wide, std::string &shown);

} // namespace platform::win32
