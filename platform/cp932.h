#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Code page 932 (Windows Shift-JIS): character stepping and conversion to and
// from Unicode (UTF-8). Every other part of the program keeps text as CP932
// bytes; Unicode appears only at file names and on screen.
namespace platform::cp932 {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that can follow a lead byte (0x40-0x7E, 0x80-0xFC).
constexpr bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Length in bytes (1 or 2) of the character that starts at `pos`. A lead byte
// with nothing after it is a character of its own; otherwise it takes the
// next byte with it, whatever that byte is, as Windows steps through text.
constexpr std::size_t charLength(std::string_view text, std::size_t pos)
{
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// As charLength(), but a lead byte that no trail byte follows is a byte of
// its own. For names that need not be CP932 at all (a Latin-1 file name on
// Linux, "caf\xE9.txt"), so that such a byte never swallows the "." of the
// extension or a separator.
constexpr std::size_t nameCharLength(std::string_view text, std::size_t pos)
{
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
                   isTrailByte(static_cast<unsigned char>(text[pos + 1]))
               ? 2
               : 1;
}

// Position of the first character equal to the single-byte `ch`, stepping
// character by character so that a trail byte is never taken for it;
// npos when there is none.
std::size_t findChar(std::string_view text, char ch, std::size_t from = 0);

// The longest prefix of at most `maxBytes` bytes that does not cut a
// double-byte character in half.
std::string_view truncated(std::string_view text, std::size_t maxBytes);

// CP932 to UTF-8. Bytes that do not decode (a lone lead byte, a code the
// table lacks) become U+FFFD; nothing else is dropped.
std::string toUtf8(std::string_view text);

// UTF-8 to CP932. A character with no CP932 form becomes "?", as the
// Windows "A" calls show it. Input that is not valid UTF-8 is kept byte
// for byte.
std::string fromUtf8(std::string_view text);

// True when `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

// Length of the well-formed UTF-8 sequence that starts at `pos` (1 to 4), or
// 0 when it is malformed (overlong, a surrogate, cut short).
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos);

// True when every byte is below 0x80: the same text in CP932 and UTF-8.
bool isAscii(std::string_view text);

} // namespace platform::cp932
