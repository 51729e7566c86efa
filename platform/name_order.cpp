#include "name_order.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// One character of a name: its key (the code point, letters in upper case)
// and its length in bytes.
struct SortChar {
    std::uint32_t key;
    std::size_t length;
};

SortChar sortCharAt(std::string_view s, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return {static_cast<std::uint32_t>(lead >= 'a' && lead <= 'z' ? lead - ('a' - 'A') : lead), 1};
    const SortChar invalid{0x110000u + lead, 1};
    const std::size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || pos + length > s.size())
        return invalid;
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return invalid;
        code = code << 6 | (byte(pos + i) & 0x3F);
    }
    if (code > 0x10FFFF)
        return invalid;
    if (code >= 0xFF41 && code <= 0xFF5A) // full-width a-z
        code -= 0x20;
    return {code, length};
}

} // namespace

bool nameSortsBefore(std::string_view a, std::string_view b)
{
    // Names share long prefixes ("user@www.example..."), so the equal bytes
    // are passed over and decoding starts just after the last ASCII byte
    // before the first difference. An ASCII byte is a whole character
    // however the bytes before it decode, so both names have a character
    // boundary there, and the characters before it are the same in both.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t differ = 0;
    while (differ < common && a[differ] == b[differ])
        ++differ;
    std::size_t pos = differ;
    while (pos > 0 && static_cast<unsigned char>(a[pos - 1]) >= 0x80)
        --pos;

    while (pos < a.size() && pos < b.size()) {
        const SortChar x = sortCharAt(a, pos), y = sortCharAt(b, pos);
        if (x.key != y.key)
            return x.key < y.key;
        // An overlong form has the key of a shorter character: the length
        // decides, so that the comparison stays a total order.
        if (x.length != y.length)
            return x.length < y.length;
        pos += x.length;
    }
    if (pos < b.size())
        return true; // a ran out first: a prefix sorts first
    if (pos < a.size())
        return false;
    return a < b; // the same characters but for letter case
}

} // namespace platform
