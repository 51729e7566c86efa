#include "text_escape.h"

#include "platform/cp932.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace scan {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexByte(std::string &out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::size_t utf8CharLength(std::string_view text, std::size_t pos)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const std::size_t left = text.size() - pos;
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    std::size_t length;
    // The second byte's range also rules out overlong forms, surrogates and
    // code points past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i)))
            return 0;
    }
    return length;
}

std::string utf8ForDisplay(std::string_view text)
{
    if (platform::cp932::isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8CharLength(text, pos);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++pos;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
    return out;
}

std::string_view cp932AsUtf8(std::string_view cp932, std::string &scratch)
{
    if (platform::cp932::isAscii(cp932))
        return cp932;
    scratch = platform::cp932::toUtf8(cp932);
    return scratch;
}

std::size_t pieceEnd(std::string_view text)
{
    if (text.size() <= kPieceBytes)
        return text.size();
    // Stepped as the conversion steps past a character it cannot decode
    // too, so that the pieces convert as the whole would.
    std::size_t end = 0;
    while (end < kPieceBytes)
        end += platform::cp932::nameCharLength(text, end);
    return end;
}

std::string hexBytes(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        appendHexByte(out, static_cast<unsigned char>(byte));
    return out;
}

namespace {

// The end of the run of bytes from `pos` on that are printable ASCII other
// than the backslash: eight bytes a step where the machine allows.
std::size_t printableRunEnd(std::string_view text, std::size_t pos)
{
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F && c != '\\';
    };
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101;
        for (; pos + 8 <= text.size(); pos += 8) {
            std::uint64_t bytes;
            std::memcpy(&bytes, text.data() + pos, sizeof bytes);
            // Each test is exact for its lowest byte (a borrow only runs
            // upwards), and only the lowest of all is taken.
            const std::uint64_t del = bytes ^ (0x7F * kOnes), backslash = bytes ^ ('\\' * kOnes);
            const std::uint64_t stop = (bytes | ((bytes - 0x20 * kOnes) & ~bytes) | ((del - kOnes) & ~del) |
                                        ((backslash - kOnes) & ~backslash)) &
                                       (0x80 * kOnes);
            if (stop != 0)
                return pos + static_cast<std::size_t>(std::countr_zero(stop)) / 8;
        }
    }
    while (pos < text.size() && plain(text[pos]))
        ++pos;
    return pos;
}

// The escapes of appendTsvField(), with or without the backslash's own.
void appendEscaped(std::string &out, std::string_view text, bool escapeBackslash)
{
    for (std::size_t pos = 0; pos < text.size();) {
        // A run of printable ASCII other than the backslash (nearly every
        // text) stands as it is: appended at once.
        const std::size_t run = printableRunEnd(text, pos);
        if (run > pos) {
            out.append(text, pos, run - pos);
            pos = run;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::size_t length = utf8CharLength(text, pos);
        // U+0080 to U+009F: a terminal may take them for the 8-bit forms of
        // ESC sequences (U+009B is a CSI).
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0;
        if (length == 0 || c1) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i) {
                out += "\\x";
                appendHexByte(out, static_cast<unsigned char>(text[pos + i]));
            }
            pos += std::max<std::size_t>(length, 1);
            continue;
        }
        switch (byte) {
        case '\\':
            out += escapeBackslash ? "\\\\" : "\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                appendHexByte(out, byte);
            } else {
                out.append(text, pos, length);
            }
        }
        pos += length;
    }
}

} // namespace

bool startsLikeAFormula(std::string_view text)
{
    if (text.empty())
        return false;
    if (std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        return true;
    // The full-width forms, which a spreadsheet in a Japanese setting takes
    // for the same signs.
    for (const std::string_view sign : {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"})
        if (text.starts_with(sign))
            return true;
    return false;
}

void appendTsvField(std::string &out, std::string_view text)
{
    appendEscaped(out, text, true);
}

void appendForPeople(std::string &out, std::string_view text)
{
    appendEscaped(out, text, false);
}

std::string forPeople(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendForPeople(out, text);
    return out;
}

void appendCsvField(std::string &out, std::string_view text, std::string &scratch)
{
    scratch.clear();
    if (startsLikeAFormula(text))
        scratch += '\'';
    appendForPeople(scratch, text);
    if (scratch.find_first_of(",\"") == std::string::npos) {
        out += scratch;
        return;
    }
    out += '"';
    for (const char byte : scratch) {
        if (byte == '"')
            out += '"';
        out += byte;
    }
    out += '"';
}

} // namespace scan
