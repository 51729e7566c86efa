#pragma once

#include <QPushButton>

namespace ui::qt {

// A push button as on Windows: never a default button, yet Enter presses it
// while it has the focus, like Space, and while it has the focus it is drawn
// with the dark outer frame that marks the button Enter presses.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    explicit PushButton(const QString &text, QWidget *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionButton *option) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace ui::qt
