#include "document_window.h"

#include "platform/cp932.h"
#include "qt_text.h"

#include <QAction>
#include <QFont>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <string>

namespace platform::qt {

DocumentWindow::DocumentWindow(QWidget *parent) : QWidget(parent, Qt::Window), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("documentWindow"));
    m_text->setObjectName(QStringLiteral("documentText"));
    m_text->setReadOnly(true);
    // Read-only, yet with a caret the keys move, so that the keyboard
    // scrolls the text and a screen reader follows it line by line.
    m_text->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setFocusPolicy(Qt::StrongFocus);
    // The help's text is laid out in columns: a font of fixed width where
    // the system has one, with Japanese characters of double width.
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    m_text->setFont(font);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);

    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    resize(640, 560);
}

void DocumentWindow::showDocument(const QString &fileName, std::string_view text)
{
    // Line ends of every kind become one; a lone CR would otherwise show as
    // a box.
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            joined += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            joined += text[i];
        }
    }
    setWindowTitle(fileName + QStringLiteral(" - Vellumin"));
    m_text->setAccessibleName(fileName);
    // The help is installed on Linux in UTF-8, and shipped for Windows in
    // UTF-8 after a byte-order mark (which fromUtf8 leaves out); any other
    // text is taken as CP932. Japanese in CP932 is never valid UTF-8, so the
    // bytes tell which.
    m_text->setPlainText(cp932::isValidUtf8(joined) ? QString::fromUtf8(joined.data(), qsizetype(joined.size()))
                                                    : toQString(joined));
    m_text->moveCursor(QTextCursor::Start);
    show();
    raise();
    activateWindow();
    m_text->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace platform::qt
