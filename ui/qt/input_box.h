#pragma once

#include <QDialog>
#include <QString>
#include <QValidator>

class QLineEdit;

namespace ui::qt {

// Refuses an edit that would make the text longer than `maxBytes` bytes in
// CP932, the way a Windows edit limits its text: a double-byte character
// counts 2.
class Cp932LengthValidator : public QValidator {
    Q_OBJECT
public:
    explicit Cp932LengthValidator(std::size_t maxBytes, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

private:
    std::size_t m_maxBytes;
};

// A small modal box asking for one line: the prompt, an edit of at most 255
// CP932 bytes starting with the default text selected, "OK" (Enter) and
// "キャンセル" (Esc). As wide as a Windows input box, or as its prompt needs;
// centred on the screen.
class InputBox : public QDialog {
    Q_OBJECT
public:
    static constexpr std::size_t kMaxBytes = 255;

    InputBox(const QString &caption, const QString &prompt, const QString &defaultText, QWidget *parent = nullptr);

    QString text() const;

    // The width of the box in `font` when its prompt is short: 270 pixels
    // for a text height of 12 pixels, scaled with the text height.
    static int dialogWidth(const QFont &font);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_edit;
};

} // namespace ui::qt
