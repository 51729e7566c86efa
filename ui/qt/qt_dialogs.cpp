#include "qt_dialogs.h"

#include "input_box.h"
#include "platform/qt/qt_text.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>

namespace ui::qt {

// The platform's dialog interface and text conversions, drawn in Qt.
using namespace ::platform;
using namespace ::platform::qt;
namespace {

QScreen *screenOf(const QWidget *owner)
{
    if (owner && owner->screen())
        return owner->screen();
    return QGuiApplication::primaryScreen();
}

// A message box whose Esc key and close box can be turned off, as they are
// on Windows in a box with no Cancel button (a Yes/No question must be
// answered; QMessageBox would take Esc and the close box for No).
class MessageBox : public QMessageBox {
public:
    MessageBox(Icon icon, const QString &caption, const QString &text, bool escapable)
        : QMessageBox(icon, caption, text, QMessageBox::NoButton), m_escapable(escapable)
    {
        if (!escapable)
            setWindowFlag(Qt::WindowCloseButtonHint, false);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!m_escapable && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        if (!m_escapable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool m_escapable;
};

} // namespace

MessageBoxLayout messageBoxLayout(unsigned flags)
{
    using namespace msgbox;
    MessageBoxLayout layout;
    const MessageBoxButton ok{QStringLiteral("OK"), QMessageBox::AcceptRole, kIdOk};
    const MessageBoxButton cancel{QStringLiteral("キャンセル"), QMessageBox::RejectRole, kIdCancel};
    const MessageBoxButton yes{QStringLiteral("はい(&Y)"), QMessageBox::YesRole, kIdYes};
    const MessageBoxButton no{QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, kIdNo};
    const MessageBoxButton abort{QStringLiteral("中止(&A)"), QMessageBox::RejectRole, 3};
    const MessageBoxButton retry{QStringLiteral("再試行(&R)"), QMessageBox::AcceptRole, 4};
    const MessageBoxButton ignore{QStringLiteral("無視(&I)"), QMessageBox::AcceptRole, 5};

    // As on Windows: Esc answers Cancel where there is a Cancel button, OK in
    // a box with OK alone, and does nothing in the other boxes.
    switch (flags & 0xFu) {
    case 0x1:
        layout.buttons = {ok, cancel};
        layout.escapeAnswer = kIdCancel;
        break;
    case 0x2:
        layout.buttons = {abort, retry, ignore};
        break;
    case 0x3:
        layout.buttons = {yes, no, cancel};
        layout.escapeAnswer = kIdCancel;
        break;
    case kYesNo:
        layout.buttons = {yes, no};
        break;
    case 0x5:
        layout.buttons = {retry, cancel};
        layout.escapeAnswer = kIdCancel;
        break;
    default:
        layout.buttons = {ok};
        layout.escapeAnswer = kIdOk;
        break;
    }

    switch (flags & 0xF0u) {
    case kIconHand:
        layout.icon = QMessageBox::Critical;
        break;
    case kIconQuestion:
        layout.icon = QMessageBox::Question;
        break;
    case kIconExclamation:
        layout.icon = QMessageBox::Warning;
        break;
    case kIconInformation:
        layout.icon = QMessageBox::Information;
        break;
    default:
        break;
    }

    const int chosen = static_cast<int>((flags & 0xF00u) >> 8);
    layout.defaultButton = chosen < static_cast<int>(layout.buttons.size()) ? chosen : 0;
    return layout;
}

QString messageBoxText(std::string_view cp932)
{
    const QString text = toQString(cp932);
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            result += c;
            continue;
        }
        result += u'\n';
        // A pair of different line-end characters is one break.
        if (i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if ((next == u'\r' || next == u'\n') && next != c)
                ++i;
        }
    }
    return result;
}

int QtDialogs::messageBox(const std::string &text, const std::string &caption, unsigned flags)
{
    const MessageBoxLayout layout = messageBoxLayout(flags);
    MessageBox box(layout.icon, toQString(caption), messageBoxText(text), layout.escapeAnswer >= 0);
    box.setTextFormat(Qt::PlainText);
    std::vector<QAbstractButton *> buttons;
    for (const MessageBoxButton &button : layout.buttons)
        buttons.push_back(box.addButton(button.text, button.role));
    box.setDefaultButton(static_cast<QPushButton *>(buttons[static_cast<std::size_t>(layout.defaultButton)]));
    if (layout.escapeAnswer >= 0) {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (layout.buttons[i].answer == layout.escapeAnswer)
                box.setEscapeButton(buttons[i]);
    }
    box.exec();

    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return layout.buttons[i].answer;
    return layout.escapeAnswer >= 0 ? layout.escapeAnswer : layout.buttons.front().answer;
}

std::string QtDialogs::inputBox(const std::string &caption, const std::string &prompt, const std::string &defaultText)
{
    InputBox box(toQString(caption), toQString(prompt), toQString(defaultText));
    if (box.exec() != QDialog::Accepted)
        return defaultText;
    return toCp932(box.text());
}

std::optional<NamedPath> QtDialogs::openFileName(const OpenFileRequest &request)
{
    QFileDialog dialog(m_owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist is an answer too: only its folder counts.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
    QStringList filters;
    for (const FileFilter &filter : request.filters)
        filters.append(toQString(filter.description));
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.initialFolder.native.empty())
        dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(request.initialFolder.native)));
    if (!request.fileName.native.empty())
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(request.fileName.native)));

    // Horizontally centred, a third of the way down the owner's screen.
    dialog.resize(dialog.sizeHint());
    const QRect area = screenOf(m_owner)->availableGeometry();
    dialog.move(area.left() + (area.width() - dialog.width()) / 2, area.top() + (area.height() - dialog.height()) / 3);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return NamedPath{QFile::encodeName(files.front()).toStdString(), toCp932(files.front())};
}

} // namespace ui::qt
