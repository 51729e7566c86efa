#pragma once

#include "ui/form_layout.h"

#include <QFont>
#include <QString>

class QWidget;

namespace ui::qt {

// The font the window was designed with. Debian has no such font: it is
// mapped to IPA P Gothic, the usual stand-in, by substituteWindowsFonts().
inline const QString kWindowFontFamily = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kStandInFontFamily = QStringLiteral("IPAPGothic");

void substituteWindowsFonts();

// "ＭＳ Ｐゴシック" of `designPixels` pixels (at 96 dots per inch) scaled.
QFont windowFont(const LayoutScale &scale, int designPixels = kDesignTextHeight);

// A font's size in points on `widget`'s screen: its pixel height x 72 /
// dots per inch, rounded (9 for 12 pixels at 96 dots per inch).
int pointSizeOn(const QWidget &widget);

} // namespace ui::qt
