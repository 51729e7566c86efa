#pragma once

#include <string>
#include <string_view>

// Control characters made visible, for texts that may hold any bytes (file
// names, cookie values): a tab, LF and CR become "\t", "\n" and "\r", every
// other control character "\xNN" (two lowercase hex digits), so that none can
// move a terminal's cursor or break a line in a table. One notation for the
// scanner's output (UTF-8) and the window's cells (CP932).
namespace listing {

// Appends UTF-8 `text` as one tab-separated field, reversibly: "\" becomes
// "\\", tab, LF and CR become "\t", "\n" and "\r", and every other control
// character (below 0x20, 0x7F, and U+0080 to U+009F byte by byte) and every
// byte that is not part of well-formed UTF-8 becomes "\xNN". What remains is
// printable UTF-8 without a tab or line break.
void appendTsvField(std::string &out, std::string_view text);

// Appends UTF-8 `text` for a person to read on a terminal: control
// characters and bytes that are not UTF-8 escaped as appendTsvField()
// escapes them, so that none can move the cursor, retitle the window or
// clear the screen; a backslash stays as it is (a Windows path reads as one).
void appendForPeople(std::string &out, std::string_view text);
std::string forPeople(std::string_view text);

// The same for a CP932 text that a window shows: each single-byte control
// character (below 0x20, and 0x7F) escaped as appendForPeople() escapes it;
// double-byte characters, a backslash and bytes that do not decode stay as
// they are (the display shows the last as U+FFFD). A lead byte takes the byte
// after it only when that can be a trail byte, so "\x81\t" still shows its
// tab as "\t".
void appendCp932ForPeople(std::string &out, std::string_view text);
std::string cp932ForPeople(std::string_view text);

} // namespace listing
