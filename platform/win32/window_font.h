#pragma once

namespace platform::win32 {

// The font the window and its boxes are designed with, as the wide calls
// and dialog templates take its name.
inline constexpr const wchar_t *kWindowFontFaceWide = L"ＭＳ Ｐゴシック";
// Its size in points in dialog templates: 12 pixels at 96 dots per inch.
inline constexpr int kWindowFontPoints = 9;

} // namespace platform::win32
