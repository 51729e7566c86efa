#include "qt_desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace platform::qt {

std::string QtDesktop::documentPath(const std::string &nativeFolder, const std::string &fileName)
{
    const std::string path = nativeFolder + fileName;
    // Installed after the file-system hierarchy, the program lives in bin/
    // and its documents in share/doc/vellumin/.
    const std::string installed = nativeFolder + "../share/doc/vellumin/" + fileName;
    if (!QFile::exists(QFile::decodeName(QByteArray::fromStdString(path))) &&
        QFile::exists(QFile::decodeName(QByteArray::fromStdString(installed))))
        return installed;
    return path;
}

void QtDesktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    const std::string path = documentPath(nativeFolder, fileName);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

} // namespace platform::qt
