#include "qt_desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace platform::qt {

void QtDesktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    std::string path = nativeFolder + fileName;
    // Installed after the file-system hierarchy, the program lives in bin/
    // and its help in share/doc/vellumin/.
    if (!QFile::exists(QFile::decodeName(QByteArray::fromStdString(path))))
        path = nativeFolder + "../share/doc/vellumin/" + fileName;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

} // namespace platform::qt
