#pragma once

#include <QWidget>

#include <string_view>

class QPlainTextEdit;

namespace platform::qt {

// A read-only window of the program's own that shows a text file in UTF-8
// or CP932: the help, where the desktop has nothing to open it with. Its title
// names the file; the text scrolls, takes the keyboard focus (the arrow
// keys, Page Up and Page Down move through it) and reads as a read-only
// text to screen readers; Esc closes the window.
class DocumentWindow final : public QWidget {
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget *parent = nullptr);

    // Shows `text` (UTF-8 when it is valid UTF-8, else CP932; any line
    // ends) as file `fileName`, raises the window and gives the text the
    // focus.
    void showDocument(const QString &fileName, std::string_view text);

    QPlainTextEdit *textView() const { return m_text; }

private:
    QPlainTextEdit *m_text;
};

} // namespace platform::qt
