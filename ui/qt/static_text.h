#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace ui::qt {

// A static text with a sunken border on its parent's background. By default
// its size follows its text: text width + 4 by text height + 4 pixels,
// trailing blanks included. Disabled, it draws its text greyed and embossed.
class StaticText : public QWidget {
    Q_OBJECT
public:
    explicit StaticText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    // A fixed size with the text centred, instead of a size that follows it.
    void setFixedCentred(const QSize &size);

    // The control that this text names, for screen readers.
    QWidget *buddy() const { return m_buddy; }
    void setBuddy(QWidget *buddy) { m_buddy = buddy; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitToText();

    QString m_text;
    bool m_autoSize = true;
    QPointer<QWidget> m_buddy;
};

// A static text that acts as a command: a click counts when the left button
// is pressed and released inside it; releasing outside cancels, and the
// second press of a double click does not count again. It takes the focus
// by Tab only (a click leaves it where it was), shows it with a dotted
// frame, and Space or Enter clicks it. While disabled it takes no clicks and
// shows no hint.
class ClickableText : public StaticText {
    Q_OBJECT
public:
    explicit ClickableText(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace ui::qt
