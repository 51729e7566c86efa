#include "name_order.h"

#include "letter_case.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace platform {
namespace {

// One character of a name: its key (the code point, the letters of
// letter_case.h in upper case) and its length in bytes.
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
    return {static_cast<std::uint32_t>(letter_case::capitalOf(code)), length};
}

// Position of the first byte in which a and b differ, or `size`: eight
// bytes at a time, since names share long prefixes and the sort of a big
// folder compares them some two million times.
std::size_t firstDifference(const char *a, const char *b, std::size_t size)
{
    std::size_t pos = 0;
    for (; pos + sizeof(std::uint64_t) <= size; pos += sizeof(std::uint64_t)) {
        std::uint64_t x, y;
        std::memcpy(&x, a + pos, sizeof x);
        std::memcpy(&y, b + pos, sizeof y);
        if (x != y) {
            const std::uint64_t bits = x ^ y;
            if constexpr (std::endian::native == std::endian::little)
                return pos + static_cast<std::size_t>(std::countr_zero(bits)) / 8;
            else
                return pos + static_cast<std::size_t>(std::countl_zero(bits)) / 8;
        }
    }
    while (pos < size && a[pos] == b[pos])
        ++pos;
    return pos;
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
    const std::size_t differ = firstDifference(a.data(), b.data(), common);
    if (differ < common) {
        // Two ASCII bytes where the names first differ are whole characters
        // in both (such a byte is never part of a longer one), after the
        // same characters: unless they differ only in letter case, they
        // decide. This is nearly every comparison of a sort.
        const auto x = static_cast<unsigned char>(a[differ]), y = static_cast<unsigned char>(b[differ]);
        if (x < 0x80 && y < 0x80) {
            const unsigned foldedX = x >= 'a' && x <= 'z' ? x - ('a' - 'A') : x;
            const unsigned foldedY = y >= 'a' && y <= 'z' ? y - ('a' - 'A') : y;
            if (foldedX != foldedY)
                return foldedX < foldedY;
        }
    }
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
