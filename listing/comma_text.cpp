#include "comma_text.h"

#include "platform/cp932.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace listing {
namespace {

// What a byte is to the splitter. The table makes the inner loop one load
// and one compare a byte: this runs over every row of every scan.
enum ByteKind : unsigned char {
    Plain,     // part of an unquoted item
    Lead,      // a CP932 lead byte: part of an item, with the byte after it
    Separator, // a blank or control byte (1 to 32), or the comma: ends an unquoted item
};

constexpr std::array<ByteKind, 256> makeByteKinds()
{
    std::array<ByteKind, 256> kinds{};
    for (int byte = 0; byte < 256; ++byte) {
        if (byte <= 32 || byte == ',')
            kinds[byte] = Separator;
        else if (platform::cp932::isLeadByte(static_cast<unsigned char>(byte)))
            kinds[byte] = Lead;
        else
            kinds[byte] = Plain;
    }
    return kinds;
}

constexpr std::array<ByteKind, 256> kByteKinds = makeByteKinds();

ByteKind kindOf(char c)
{
    return kByteKinds[static_cast<unsigned char>(c)];
}

bool isBlankOrControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

constexpr std::string_view kEmptyItem = " ";

// The end of the run of ASCII bytes from `pos` on that neither end an
// unquoted item nor start a character of two bytes: eight bytes a step,
// as most of a row is such bytes. Stops at the first byte that is not one
// of them (or near the end, where the caller's byte loop goes on).
std::size_t plainRunEnd(const char *text, std::size_t pos, std::size_t size)
{
    // The tests below rely on the first byte in memory being the lowest.
    if constexpr (std::endian::native != std::endian::little)
        return pos;
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x80 * kOnes;
    for (; pos + 8 <= size; pos += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text + pos, sizeof bytes);
        // Each test flags its lowest matching byte exactly (a borrow only
        // runs upwards), and that is the only one looked at.
        const std::uint64_t below33 = (bytes - 33 * kOnes) & ~bytes;
        const std::uint64_t commaBytes = bytes ^ (',' * kOnes);
        const std::uint64_t comma = (commaBytes - kOnes) & ~commaBytes;
        const std::uint64_t stop = (bytes | below33 | comma) & kHighBits;
        if (stop != 0)
            return pos + static_cast<std::size_t>(std::countr_zero(stop)) / 8;
    }
    return pos;
}

} // namespace

void splitCommaText(std::string_view text, RowCells &cells)
{
    cells.m_cells.fill({});
    if (const void *nul = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char *>(nul) - text.data()));
    // Undoing doubled quotes never makes an item longer than the text: the
    // room is taken once, so views into it stay valid for the whole split.
    cells.m_unquoted.clear();
    cells.m_unquoted.reserve(text.size());

    const char *const begin = text.data();
    const std::size_t size = text.size();
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < size && isBlankOrControl(begin[pos]))
            ++pos;
    };
    // A lead byte takes the byte after it, whatever it is, unless it is the
    // last byte of the text.
    const auto step = [&](std::size_t at) { return kindOf(begin[at]) == Lead && at + 1 < size ? 2 : 1; };

    std::size_t column = 0;
    skipBlanks();
    while (pos < size) {
        std::string_view item;
        if (begin[pos] == '"') {
            ++pos;
            const std::size_t start = pos;
            bool doubled = false;
            std::size_t end = size; // unclosed: the rest of the text
            while (pos < size) {
                if (begin[pos] == '"') {
                    if (pos + 1 < size && begin[pos + 1] == '"') {
                        doubled = true;
                        pos += 2;
                        continue;
                    }
                    end = pos;
                    ++pos; // the closing quote
                    break;
                }
                pos += step(pos);
            }
            end = std::min(end, size);
            item = std::string_view(begin + start, end - start);
            if (doubled) {
                // Each "" stands for one quote. Stepping again by character,
                // so that a quote that is a trail byte stays as it is.
                const std::size_t from = cells.m_unquoted.size();
                for (std::size_t at = start; at < end;) {
                    if (begin[at] == '"') {
                        cells.m_unquoted += '"';
                        at += 2;
                        continue;
                    }
                    const std::size_t length = std::min<std::size_t>(step(at), end - at);
                    cells.m_unquoted.append(begin + at, length);
                    at += length;
                }
                item = std::string_view(cells.m_unquoted).substr(from);
            }
        } else {
            const std::size_t start = pos;
            while (pos < size) {
                pos = plainRunEnd(begin, pos, size);
                if (pos >= size)
                    break;
                const ByteKind kind = kindOf(begin[pos]);
                if (kind == Separator)
                    break;
                pos += kind == Lead && pos + 1 < size ? 2 : 1;
            }
            item = std::string_view(begin + start, std::min(pos, size) - start);
        }
        if (column < cells.m_cells.size())
            cells.m_cells[column++] = item.empty() ? kEmptyItem : item;
        skipBlanks();
        if (pos < size && begin[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
}

} // namespace listing
