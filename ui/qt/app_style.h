#pragma once

#include <QPalette>
#include <QProxyStyle>

namespace ui::qt {

// The window's look: the classic Windows style of Qt, with hints that show
// 500 ms after the mouse comes to rest.
class AppStyle : public QProxyStyle {
    Q_OBJECT
public:
    AppStyle();

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};

// The system colours of Windows (button face, window, highlight, tooltip...).
QPalette windowsPalette();

} // namespace ui::qt
