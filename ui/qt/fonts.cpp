#include "fonts.h"

#include <QFontInfo>
#include <QWidget>

#include <cmath>

namespace ui {

void substituteWindowsFonts()
{
    QFont::insertSubstitution(kWindowFontFamily, kStandInFontFamily);
}

LayoutScale::LayoutScale(double logicalDpi)
    : m_textHeight(static_cast<int>(std::lround(kDesignTextHeight * (logicalDpi > 0 ? logicalDpi : 96.0) / 96.0)))
{
}

int LayoutScale::px(int designPixels) const
{
    if (m_textHeight == kDesignTextHeight)
        return designPixels;
    return static_cast<int>(std::lround(static_cast<double>(designPixels) * m_textHeight / kDesignTextHeight));
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

} // namespace ui
