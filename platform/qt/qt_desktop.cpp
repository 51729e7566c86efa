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

DocumentOpening QtDesktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    DocumentOpening result{false, documentPath(nativeFolder, fileName)};
    const QString path = QFile::decodeName(QByteArray::fromStdString(result.path));
    // The desktop's opener takes a missing file too, and fails out of sight.
    if (QFile::exists(path))
        result.opened = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return result;
}

} // namespace platform::qt
