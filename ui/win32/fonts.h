#pragma once

#include "gdi.h"
#include "ui/form_layout.h"

namespace ui::win32 {

// The screen's dots per inch (the program is dpi-aware, so this is the real
// density), which scales the window and its fonts.
int screenDpi();

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// "ＭＳ Ｐゴシック" of `designPixels` character height (at 96 dots per inch)
// scaled to the screen, Shift-JIS character set, created by name as Windows
// does; a system without the font maps the name through its font
// substitutes.
FontHandle createWindowFont(const LayoutScale &scale, int designPixels = kDesignTextHeight, FontStyle style = {});

// A font's size in points on the screen: its real character height in
// pixels x 72 / the screen's dots per inch, rounded (9 for 12 pixels at 96).
int pointSizeOf(HFONT font, int dpi);

} // namespace ui::win32
