#include "app_style.h"

#include <QColor>
#include <QStyleFactory>

namespace ui::qt {
namespace {

constexpr int kHintDelayMs = 500;

} // namespace

AppStyle::AppStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

int AppStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                        QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_ToolTip_WakeUpDelay:
        return kHintDelayMs;
    case SH_ItemView_ShowDecorationSelected:
        return 1;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QPalette windowsPalette()
{
    const QColor buttonFace(0xF0, 0xF0, 0xF0);
    const QColor windowText(Qt::black);
    const QColor window(Qt::white);
    const QColor highlight(0x00, 0x78, 0xD7);
    const QColor grayText(0x6D, 0x6D, 0x6D);

    QPalette palette(windowText, buttonFace, QColor(Qt::white), QColor(0xA0, 0xA0, 0xA0), QColor(0xA0, 0xA0, 0xA0),
                     windowText, window);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Midlight, QColor(0xE3, 0xE3, 0xE3));
    palette.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
    palette.setColor(QPalette::ButtonText, windowText);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, windowText);
    palette.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
    // The selection keeps its colours when the window loses the focus.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, highlight);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grayText);
    palette.setColor(QPalette::Disabled, QPalette::Base, buttonFace);
    return palette;
}

} // namespace ui::qt
