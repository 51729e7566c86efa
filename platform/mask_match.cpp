#include "mask_match.h"

#include "cp932.h"
#include "letter_case.h"

#include <cstdint>

namespace platform {
namespace {

// One character of a pattern or name: its code (one byte, or lead byte << 8
// | trail byte) folded to upper case, and where the next one starts.
struct Char {
    std::uint16_t code;
    std::size_t next;
};

Char charAt(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (cp932::nameCharLength(text, pos) == 2) {
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        return {letter_case::cp932CapitalOf(static_cast<std::uint16_t>(lead << 8 | trail)), pos + 2};
    }
    return {letter_case::cp932CapitalOf(lead), pos + 1};
}

// True when `tail` holds ASCII bytes only and no wildcard.
bool isPlainAscii(std::string_view tail)
{
    for (const char c : tail)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '*' || c == '?')
            return false;
    return true;
}

// What "*" followed by `tail` (plain ASCII, see isPlainAscii()) matches:
// the names that end in `tail`, regardless of case, where it starts a
// character. Its characters are single bytes, so only single-byte
// characters of the name can match them, and the matching bytes are the
// name's last ones.
bool endsWithTail(std::string_view name, std::string_view tail)
{
    if (name.size() < tail.size())
        return false;
    const std::size_t start = name.size() - tail.size();
    // Single bytes fold only from a-z.
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; };
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (fold(name[start + i]) != fold(tail[i]))
            return false;
    if (start == 0 || tail.empty())
        return true;
    // The tail must start a character: not be the trail byte of a lead
    // byte before it. After the last byte that is no lead byte a character
    // starts, and lead bytes pair off from there (a lead byte is also a
    // trail byte), so the byte before the tail is a lead byte of its own
    // exactly when an odd number of lead bytes precede the tail.
    std::size_t leads = 0;
    while (leads < start && cp932::isLeadByte(static_cast<unsigned char>(name[start - leads - 1])))
        ++leads;
    return leads % 2 == 0 || !cp932::isTrailByte(static_cast<unsigned char>(name[start]));
}

} // namespace

bool matchesMask(std::string_view pattern, std::string_view name)
{
    // Every listing asks for "*.txt": its answer needs only the name's end.
    if (pattern.size() > 1 && pattern[0] == '*' && isPlainAscii(pattern.substr(1)))
        return endsWithTail(name, pattern.substr(1));

    // Greedy matching with one backtrack point, the last "*" seen: linear in
    // practice and never exponential.
    std::size_t p = 0, n = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            const Char pc = charAt(pattern, p);
            if (pc.code == '*') {
                starPattern = pc.next;
                starName = n;
                p = pc.next;
                continue;
            }
            const Char nc = charAt(name, n);
            if (pc.code == '?' || pc.code == nc.code) {
                p = pc.next;
                n = nc.next;
                continue;
            }
        }
        if (starPattern == std::string_view::npos)
            return false;
        // Let the last "*" take one more character of the name and retry.
        starName = charAt(name, starName).next;
        n = starName;
        p = starPattern;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace platform
