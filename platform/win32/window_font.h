#pragma once

namespace platform::win32 {

// The font the window and its boxes are designed with. Source files of the
// Windows front end are compiled with CP932 as their execution character
// set, so this literal is the CP932 name that CreateFontA takes.
inline constexpr const char *kWindowFontFace = "ＭＳ Ｐゴシック";
// The same name for dialog templates, which hold UTF-16.
inline constexpr const wchar_t *kWindowFontFaceWide = L"ＭＳ Ｐゴシック";
// Its size in points in dialog templates: 12 pixels at 96 dots per inch.
inline constexpr int kWindowFontPoints = 9;

} // namespace platform::win32
