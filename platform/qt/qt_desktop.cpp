#include "qt_desktop.h"

#include "platform/filesystem.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace platform::qt {

void QtDesktop::openDocument(const std::string &path)
{
    const std::string native = toNativePath(path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(native))));
}

} // namespace platform::qt
