#include "cp932.h"

#include <cstdint>
#include <cstring>

// Stepping and UTF-8 checks: the same on every platform. The conversion
// itself is the platform's (cp932_convert_posix.cpp, cp932_convert_win32.cpp).
namespace platform::cp932 {

bool isAscii(std::string_view text)
{
    // Eight bytes at a time: this runs over every name of a listing and
    // every cell of an output.
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t pos = 0;
    for (; pos + sizeof kHighBits <= text.size(); pos += sizeof kHighBits) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + pos, sizeof bytes);
        if (bytes & kHighBits)
            return false;
    }
    for (; pos < text.size(); ++pos)
        if (static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
    return true;
}

std::size_t utf8SequenceLength(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char minSecond = 0x80, maxSecond = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            minSecond = 0xA0;
        if (lead == 0xED)
            maxSecond = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            minSecond = 0x90;
        if (lead == 0xF4)
            maxSecond = 0x8F;
    } else
        return 0;
    if (pos + length > text.size())
        return 0;
    if (byte(pos + 1) < minSecond || byte(pos + 1) > maxSecond)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF)
            return 0;
    return length;
}

std::size_t findChar(std::string_view text, char ch, std::size_t from)
{
    for (std::size_t pos = from; pos < text.size(); pos += charLength(text, pos))
        if (text[pos] == ch)
            return pos;
    return std::string_view::npos;
}

std::string_view truncated(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + charLength(text, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return text.substr(0, end);
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

} // namespace platform::cp932
