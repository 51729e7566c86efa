#include "fonts.h"

#include <QFontInfo>
#include <QWidget>

#include <cmath>

namespace ui::qt {

void substituteWindowsFonts()
{
    QFont::insertSubstitution(kWindowFontFamily, kStandInFontFamily);
}

QFont windowFont(const LayoutScale &scale, int designPixels)
{
    QFont font(kWindowFontFamily);
    font.setPixelSize(scale.px(designPixels));
    return font;
}

int pointSizeOn(const QWidget &widget)
{
    const int pixels = QFontInfo(widget.font()).pixelSize();
    const int dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96;
    return static_cast<int>(std::lround(pixels * 72.0 / dpi));
}

} // namespace ui::qt
