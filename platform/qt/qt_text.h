#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one crossing between the program's CP932 texts and Qt's Unicode.
namespace platform::qt {

// CP932 to QString; bytes that do not decode show as U+FFFD.
QString toQString(std::string_view cp932);

// QString to CP932; a character without a CP932 form becomes "?".
std::string toCp932(const QString &text);

// The number of bytes that `text` takes in CP932.
std::size_t cp932Length(const QString &text);

} // namespace platform::qt
