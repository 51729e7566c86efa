#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace ui {

// The font the window was designed with. Debian has no such font: it is
// mapped to IPA P Gothic, the usual stand-in, by substituteWindowsFonts().
inline const QString kWindowFontFamily = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kStandInFontFamily = QStringLiteral("IPAPGothic");

// The window's text height in pixels at 96 dots per inch; every position
// and size of the layout is given at that height.
inline constexpr int kDesignTextHeight = 12;

void substituteWindowsFonts();

// Converts the layout's pixels to this screen: the window font is scaled
// with the screen's density, and every position and size with the resulting
// text height.
class LayoutScale {
public:
    // The scale of a screen with `logicalDpi` dots per inch.
    explicit LayoutScale(double logicalDpi = 96.0);

    int textHeight() const { return m_textHeight; }
    int px(int designPixels) const;

private:
    int m_textHeight;
};

// "ＭＳ Ｐゴシック" of `designPixels` pixels (at 96 dots per inch) scaled.
QFont windowFont(const LayoutScale &scale, int designPixels = kDesignTextHeight);

// A font's size in points on `widget`'s screen: its pixel height x 72 /
// dots per inch, rounded (9 for 12 pixels at 96 dots per inch).
int pointSizeOn(const QWidget &widget);

} // namespace ui
