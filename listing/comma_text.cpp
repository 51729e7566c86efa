#include "comma_text.h"

#include "platform/cp932.h"

#include <algorithm>
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

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x80 * kOnes;

// The high bit of each of the eight bytes (the first in memory the lowest)
// that is 0x80 or more, below 33, or a comma: the bytes that end an unquoted
// item or may start a character of two bytes. Exact for the lowest such
// byte (a borrow only runs upwards); those above it may be flagged wrongly.
std::uint64_t stopBytes(std::uint64_t bytes)
{
    const std::uint64_t below33 = (bytes - 33 * kOnes) & ~bytes;
    const std::uint64_t commaBytes = bytes ^ (',' * kOnes);
    const std::uint64_t comma = (commaBytes - kOnes) & ~commaBytes;
    return (bytes | below33 | comma) & kHighBits;
}

std::uint64_t load8(const char *at)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

// The end of the run of ASCII bytes from `pos` on that neither end an
// unquoted item nor start a character of two bytes: eight bytes a step,
// as most of a row is such bytes. Stops at the first byte that is not one
// of them (or near the end, where the caller's byte loop goes on).
std::size_t plainRunEnd(const char *text, std::size_t pos, std::size_t size)
{
    // stopBytes() relies on the first byte in memory being the lowest.
    if constexpr (std::endian::native != std::endian::little)
        return pos;
    for (; pos + 8 <= size; pos += 8) {
        if (const std::uint64_t stop = stopBytes(load8(text + pos)))
            return pos + static_cast<std::size_t>(std::countr_zero(stop)) / 8;
    }
    return pos;
}

// True when `field` holds only bytes from 0x21 to 0x7F other than the comma
// and does not start with a quote: nothing in it splits or quotes.
bool isPlainField(std::string_view field)
{
    if (!field.empty() && field.front() == '"')
        return false;
    const char *const text = field.data();
    const std::size_t size = field.size();
    if (std::endian::native == std::endian::little && size >= 8) {
        // Whether any byte stops, not which: a word that overlaps the one
        // before checks the last bytes.
        std::uint64_t stop = stopBytes(load8(text + size - 8));
        for (std::size_t pos = 0; pos + 8 <= size; pos += 8)
            stop |= stopBytes(load8(text + pos));
        return stop == 0;
    }
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte >= 0x80 || byte == ',')
            return false;
    }
    return true;
}

} // namespace

void splitCommaText(std::string_view text, RowCells &cells)
{
    cells.m_cells.fill({});
    if (const void *nul = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size()))
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

void splitCommaFields(std::initializer_list<std::string_view> fields, RowCells &cells)
{
    const bool plain =
        fields.size() <= cells.size() &&
        std::all_of(fields.begin(), fields.end(), [](std::string_view field) { return isPlainField(field); });
    if (!plain) {
        cells.m_joined.clear();
        for (const std::string_view &field : fields) {
            if (&field != fields.begin())
                cells.m_joined += ',';
            cells.m_joined += field;
        }
        splitCommaText(cells.m_joined, cells);
        return;
    }
    cells.m_cells.fill({});
    std::size_t column = 0;
    for (const std::string_view &field : fields) {
        const bool last = &field == fields.end() - 1;
        if (!field.empty())
            cells.m_cells[column++] = field;
        else if (!last)
            cells.m_cells[column++] = kEmptyItem;
    }
}

} // namespace listing
