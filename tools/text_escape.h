#pragma once

#include <string>
#include <string_view>

// How texts that may hold any bytes (file names above all) go into each
// output format.
namespace scan {

// Length (1 to 4) of the well-formed UTF-8 character at `pos`, or 0 when
// the byte there does not start one.
std::size_t utf8CharLength(std::string_view text, std::size_t pos);

// `text` when it is well-formed UTF-8; otherwise each byte that is not part
// of a well-formed character replaced by U+FFFD. For display only: it loses
// the bytes it replaces.
std::string utf8ForDisplay(std::string_view text);

// A CP932 text as UTF-8: `cp932` itself when it is ASCII, as it mostly is,
// else its conversion, kept in `scratch`.
std::string_view cp932AsUtf8(std::string_view cp932, std::string &scratch);

// The bytes as lowercase hexadecimal digits, two per byte.
std::string hexBytes(std::string_view bytes);

// Appends `text` as one tab-separated field, reversibly: "\" becomes "\\",
// tab, LF and CR become "\t", "\n" and "\r", and every other control byte
// (below 0x20, and 0x7F) and every byte that is not part of well-formed
// UTF-8 becomes "\xNN" (two lowercase hex digits). What remains is printable
// UTF-8.
void appendTsvField(std::string &out, std::string_view text);

// Appends `text` as one CSV field: in double quotes, with each quote doubled,
// when it holds a comma, a quote, CR or LF; as it stands otherwise.
void appendCsvField(std::string &out, std::string_view text);

} // namespace scan
