#include "input_box.h"

#include "platform/qt/qt_text.h"

#include <QCursor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ui::qt {

// The platform's dialog interface and text conversions, drawn in Qt.
using namespace ::platform;
using namespace ::platform::qt;

Cp932LengthValidator::Cp932LengthValidator(std::size_t maxBytes, QObject *parent)
    : QValidator(parent), m_maxBytes(maxBytes)
{}

QValidator::State Cp932LengthValidator::validate(QString &input, int &) const
{
    return cp932Length(input) <= m_maxBytes ? Acceptable : Invalid;
}

int InputBox::dialogWidth(const QFont &font)
{
    // A Windows input box is 180 dialog units wide: 270 pixels in its font
    // of 12 pixels. The width goes by the text height, not by the letters:
    // the stand-in font's Latin letters are wider than the Windows font's.
    constexpr double kWidthPerTextPixel = 270.0 / 12.0;
    return static_cast<int>(std::lround(QFontInfo(font).pixelSize() * kWidthPerTextPixel));
}

InputBox::InputBox(const QString &caption, const QString &prompt, const QString &defaultText, QWidget *parent)
    : QDialog(parent), m_edit(new QLineEdit(this))
{
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *label = new QLabel(prompt, this);
    label->setTextFormat(Qt::PlainText);
    m_edit->setValidator(new Cp932LengthValidator(kMaxBytes, m_edit));
    m_edit->setText(defaultText);
    m_edit->selectAll();

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);

    // As wide as a Windows input box: 180 dialog units, 45 average
    // characters of its font (about 270 pixels at 96 dots per inch), and
    // wider when the prompt needs it. The box's size is fixed to what its
    // layout asks, so the width goes on the edit, which fills the box.
    const QMargins margins = layout->contentsMargins();
    const int width = std::max(dialogWidth(font()),
                               QFontMetrics(font()).horizontalAdvance(prompt) + margins.left() + margins.right());
    m_edit->setMinimumWidth(width - margins.left() - margins.right());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->setFocus();
}

QString InputBox::text() const
{
    return m_edit->text();
}

void InputBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

} // namespace ui::qt
