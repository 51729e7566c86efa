#include "qt_desktop.h"

#include "document_window.h"

#include <QFile>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform::qt {
namespace {

bool exists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The whole of regular file `path`, up to `mostBytes`; false when it cannot
// be read. Opened without blocking, so that a pipe put in its place cannot
// hang the window.
bool readDocument(const std::string &path, std::size_t mostBytes, std::string &text)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    text.clear();
    while (ok && text.size() < mostBytes) {
        char buffer[65536];
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, mostBytes - text.size()));
        if (got < 0)
            ok = false;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok;
}

} // namespace

QtDesktop::~QtDesktop()
{
    // A handler still running when the program ends is left to run: its
    // process object is let go rather than destroyed, which would kill it.
    for (const QPointer<QProcess> &opener : m_openers)
        if (opener) {
            opener->disconnect();
            opener->setParent(nullptr);
        }
    // Without an owner to take it along, the window goes with the service.
    if (m_window && !m_window->parent())
        delete m_window;
}

std::string QtDesktop::documentPath(const std::string &nativeFolder, const std::string &fileName)
{
    std::string path = nativeFolder + fileName;
    // Installed after the file-system hierarchy, the program lives in bin/
    // and its documents in share/doc/vellumin/.
    const std::string installed = nativeFolder + "../share/doc/vellumin/" + fileName;
    if (!exists(path) && exists(installed))
        path = installed;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path).lexically_normal().string() : resolved.string();
}

DocumentOpening QtDesktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    DocumentOpening result{false, documentPath(nativeFolder, fileName)};
    // Read now: a file that is not there, or cannot be read, is said so at
    // once, and the text is at hand when the handler fails later.
    std::string text;
    if (!readDocument(result.path, kMostDocumentBytes, text))
        return result;
    result.opened = true;
    const QString title = QFile::decodeName(QByteArray::fromStdString(fileName));
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        showOwnWindow(title, text);
        return result;
    }
    // xdg-open tells by its exit status whether the desktop had a handler
    // that took the file; it is watched without waiting for it.
    std::erase_if(m_openers, [](const QPointer<QProcess> &gone) { return gone.isNull(); });
    auto *process = new QProcess;
    m_openers.emplace_back(process);
    const auto failed = [this, process, title, text] {
        process->disconnect();
        process->deleteLater();
        showOwnWindow(title, text);
    };
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if (code != 0 || status != QProcess::NormalExit)
            return failed();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            failed();
    });
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(opener, {QFile::decodeName(QByteArray::fromStdString(result.path))});
    return result;
}

DocumentWindow *QtDesktop::documentWindow() const
{
    return m_window;
}

void QtDesktop::showOwnWindow(const QString &fileName, std::string_view text)
{
    if (!m_window) {
        m_window = new DocumentWindow(m_owner);
        // Over the window it belongs to, where the user is looking.
        if (m_owner && m_owner->isVisible()) {
            QRect frame = m_window->frameGeometry();
            frame.moveCenter(m_owner->frameGeometry().center());
            m_window->move(frame.topLeft());
        }
    }
    m_window->showDocument(fileName, text);
}

} // namespace platform::qt
