#pragma once

#include <QObject>

#include <optional>
#include <string>

namespace platform {
class Dialogs;
}

namespace ui {

// The window's open-file dialog, a component without a widget of its own:
// it keeps the options and the file chosen last, and runs the dialog of the
// dialog service.
class OpenDialog : public QObject {
    Q_OBJECT
public:
    explicit OpenDialog(QObject *parent = nullptr);

    // The full CP932 path chosen last; the file-name box starts with it.
    const std::string &fileName() const { return m_fileName; }
    const std::string &defaultExtension() const { return m_defaultExtension; }

    // Shows the dialog. True when the user chose a file, which fileName()
    // then holds.
    bool execute(platform::Dialogs &dialogs);

private:
    std::string m_fileName;
    std::string m_defaultExtension = "*.txt";
};

} // namespace ui
