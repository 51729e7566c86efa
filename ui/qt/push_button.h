#pragma once

#include <QPushButton>

namespace ui {

// A push button as on Windows: never a default button, yet Enter presses it
// while it has the focus, like Space.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    explicit PushButton(const QString &text, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace ui
