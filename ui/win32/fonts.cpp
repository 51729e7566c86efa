#include "fonts.h"

#include "platform/win32/window_font.h"

#include <cmath>

namespace ui::win32 {

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

FontHandle createWindowFont(const LayoutScale &scale, int designPixels, FontStyle style)
{
    // A negative height asks for the character height, as the layout gives it.
    return FontHandle(CreateFontW(-scale.px(designPixels), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL,
                                  style.italic ? TRUE : FALSE, style.underline ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                  platform::win32::kWindowFontFaceWide));
}

int pointSizeOf(HFONT font, int dpi)
{
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const int pixels = metrics.tmHeight - metrics.tmInternalLeading;
    return static_cast<int>(std::lround(pixels * 72.0 / (dpi > 0 ? dpi : 96)));
}

} // namespace ui::win32
