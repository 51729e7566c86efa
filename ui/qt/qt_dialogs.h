#pragma once

#include "platform/dialogs.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>
#include <vector>

namespace ui::qt {

// The dialogs drawn by Qt Widgets. The open-file dialog is placed on the
// screen that holds `owner` (the primary screen without one); message and
// input boxes belong to the application and are centred on the screen.
class QtDialogs final : public platform::Dialogs {
public:
    explicit QtDialogs(QWidget *owner = nullptr) : m_owner(owner) {}

    void setOwner(QWidget *owner) { m_owner = owner; }

    int messageBox(const std::string &text, const std::string &caption, unsigned flags) override;
    std::string inputBox(const std::string &caption, const std::string &prompt,
                         const std::string &defaultText) override;
    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &request) override;

private:
    QPointer<QWidget> m_owner;
};

// The pieces of a message box that its flags choose, in the order that the
// box shows its buttons. Each button carries the answer that it returns.
struct MessageBoxButton {
    QString text;
    QMessageBox::ButtonRole role;
    int answer;
};
struct MessageBoxLayout {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<MessageBoxButton> buttons;
    int defaultButton = 0; // index into buttons
    int escapeAnswer = -1; // the answer for Esc or the close box; -1: neither works
};
MessageBoxLayout messageBoxLayout(unsigned flags);

// A message text with each line break (CR LF, LF CR, a lone CR or LF) made
// into one "\n".
QString messageBoxText(std::string_view cp932);

} // namespace ui::qt
