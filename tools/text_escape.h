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
// tab, LF and CR become "\t", "\n" and "\r", and every other control
// character (below 0x20, 0x7F, and U+0080 to U+009F byte by byte) and every
// byte that is not part of well-formed UTF-8 becomes "\xNN" (two lowercase
// hex digits). What remains is printable UTF-8 without a tab or line break.
void appendTsvField(std::string &out, std::string_view text);

// Appends `text` for a person to read on a terminal: control characters and
// bytes that are not UTF-8 escaped as appendTsvField() escapes them, so that
// none can move the cursor, retitle the window or clear the screen; a
// backslash stays as it is (a Windows path reads as one).
void appendForPeople(std::string &out, std::string_view text);
std::string forPeople(std::string_view text);

// Appends `text` as one CSV field for a spreadsheet: control characters
// escaped as appendForPeople() escapes them; a leading "'" when the text
// starts with "=", "+", "-", "@", tab or CR (or the full-width "＝", "＋",
// "－", "＠"), which a spreadsheet would take for the start of a formula;
// then in double quotes, with each quote doubled, when it holds a comma or a
// quote. `scratch` is working room.
void appendCsvField(std::string &out, std::string_view text, std::string &scratch);

} // namespace scan
