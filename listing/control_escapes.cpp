#include "control_escapes.h"

#include "platform/cp932.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace listing {

namespace cp932 = platform::cp932;
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexEscape(std::string &out, unsigned char byte)
{
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

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

// One single-byte character: a control character escaped, any other as it is.
void appendByte(std::string &out, unsigned char byte, bool escapeBackslash)
{
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
        if (byte < 0x20 || byte == 0x7F)
            appendHexEscape(out, byte);
        else
            out += static_cast<char>(byte);
    }
}

enum class Encoding { Utf8, Cp932 };

void appendEscaped(std::string &out, std::string_view text, Encoding encoding, bool escapeBackslash)
{
    for (std::size_t pos = 0; pos < text.size();) {
        // A run of printable ASCII other than the backslash (nearly every
        // text) stands as it is: appended at once. In CP932 too, since a run
        // starts on a character and an ASCII byte is a character of its own.
        const std::size_t run = printableRunEnd(text, pos);
        if (run > pos) {
            out.append(text, pos, run - pos);
            pos = run;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (encoding == Encoding::Cp932) {
            const std::size_t length = cp932::nameCharLength(text, pos);
            if (length == 2)
                out.append(text, pos, 2);
            else
                appendByte(out, byte, escapeBackslash);
            pos += length;
            continue;
        }
        const std::size_t length = cp932::utf8SequenceLength(text, pos);
        // U+0080 to U+009F: a terminal may take them for the 8-bit forms of
        // ESC sequences (U+009B is a CSI).
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0;
        if (length == 0 || c1) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i)
                appendHexEscape(out, static_cast<unsigned char>(text[pos + i]));
            pos += std::max<std::size_t>(length, 1);
        } else if (length == 1) {
            appendByte(out, byte, escapeBackslash);
            ++pos;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
}

} // namespace

void appendTsvField(std::string &out, std::string_view text)
{
    appendEscaped(out, text, Encoding::Utf8, true);
}

void appendForPeople(std::string &out, std::string_view text)
{
    appendEscaped(out, text, Encoding::Utf8, false);
}

std::string forPeople(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendForPeople(out, text);
    return out;
}

void appendCp932ForPeople(std::string &out, std::string_view text)
{
    appendEscaped(out, text, Encoding::Cp932, false);
}

std::string cp932ForPeople(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendCp932ForPeople(out, text);
    return out;
}

} // namespace listing
