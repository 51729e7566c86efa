#include "qt_text.h"

#include "platform/cp932.h"

namespace platform::qt {

QString toQString(std::string_view cp932)
{
    const std::string utf8 = cp932::toUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return cp932::fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::size_t cp932Length(const QString &text)
{
    return toCp932(text).size();
}

} // namespace platform::qt
