#include "text_finder.h"

#include "platform/cp932.h"
#include "platform/find_byte.h"

#include <algorithm>
#include <cstring>

namespace listing {
namespace {

// The maximal suffix of `needle` under the byte order (`reversed` false) or
// its reverse, and that suffix's period: the critical factorisation of the
// two-way algorithm is the later of the two.
void maximalSuffix(std::string_view needle, bool reversed, std::size_t &start, std::size_t &period)
{
    const auto *n = reinterpret_cast<const unsigned char *>(needle.data());
    const std::size_t size = needle.size();
    // Positions offset by one, so that "before the first byte" is 0.
    std::size_t candidate = 0, probe = 1, offset = 1;
    period = 1;
    while (probe + offset <= size) {
        const unsigned char a = n[probe + offset - 1], b = n[candidate + offset - 1];
        if (a == b) {
            if (offset == period) {
                probe += period;
                offset = 1;
            } else {
                ++offset;
            }
        } else if ((a < b) != reversed) {
            probe += offset;
            offset = 1;
            period = probe - candidate;
        } else {
            candidate = probe++;
            offset = 1;
            period = 1;
        }
    }
    start = candidate; // the suffix begins at byte `start` (offset by one: the split)
}

} // namespace

TextFinder::TextFinder(std::string_view needle) : m_needle(needle)
{
    const std::size_t size = needle.size();
    if (size == 0)
        return;
    std::size_t start, period, reverseStart, reversePeriod;
    maximalSuffix(needle, false, start, period);
    maximalSuffix(needle, true, reverseStart, reversePeriod);
    if (reverseStart > start) {
        start = reverseStart;
        period = reversePeriod;
    }
    m_split = start; // the right half is needle[m_split, size)
    if (period <= size && m_split <= size - period &&
        std::memcmp(needle.data(), needle.data() + period, m_split) == 0) {
        // Periodic: after a match the window moves by the period and the
        // part that overlaps is known.
        m_period = period;
        m_memoryAfterShift = size - period;
    } else {
        // Otherwise no two matches are nearer than this.
        m_period = std::max(m_split, size - m_split + 1);
        m_memoryAfterShift = 0;
    }
    std::array<std::size_t, 256> count{};
    for (std::size_t i = 0; i < size; ++i) {
        m_shift[static_cast<unsigned char>(needle[i])] = i + 1;
        ++count[static_cast<unsigned char>(needle[i])];
    }
    // The byte the search text holds least often is likely the rarest in
    // the text too; among equals the last, the furthest a jump can reach.
    for (std::size_t i = 0; i < size; ++i)
        if (count[static_cast<unsigned char>(needle[i])] <= count[static_cast<unsigned char>(needle[m_rareAt])])
            m_rareAt = i;

    // Whether a match that starts a character also ends on one is the
    // search text's own affair: from a character start the text's bytes
    // are the search text's, stepped the same way, but for a last byte that
    // is a lead byte of its own, which in the text takes the byte after it.
    std::size_t last = 0;
    while (last + 1 < size)
        last += platform::cp932::charLength(needle, last);
    m_endsInHalf = last + 1 == size && platform::cp932::isLeadByte(static_cast<unsigned char>(needle[last]));
}

std::size_t TextFinder::nextMatch(std::string_view text, std::size_t from, std::size_t &memory) const
{
    const std::size_t size = m_needle.size();
    const char *n = m_needle.data();
    const char *t = text.data();
    while (from <= text.size() && text.size() - from >= size) {
        const char *window = t + from;
        // The last byte first: a byte the search text lacks, or holds only
        // earlier, moves the window at once. Not while the window's start
        // is known to match, which the two-way steps below rely on to stay
        // linear.
        if (memory == 0) {
            // Not one match can start before the next place of the rare
            // byte, less its distance into the search text. The search goes
            // on from past every byte it looked at before, so each byte of
            // the text is looked at once this way.
            const char *rare =
                platform::findByte(window + m_rareAt, t + text.size() - (size - 1 - m_rareAt), n[m_rareAt]);
            if (!rare)
                return std::string_view::npos;
            from = static_cast<std::size_t>(rare - t) - m_rareAt;
            window = t + from;
            const std::size_t last = m_shift[static_cast<unsigned char>(window[size - 1])];
            if (last != size) {
                from += size - last;
                continue;
            }
        }
        // The right half, from where nothing is known yet.
        std::size_t i = std::max(m_split, memory);
        while (i < size && n[i] == window[i])
            ++i;
        if (i < size) {
            from += i - m_split + 1;
            memory = 0;
            continue;
        }
        // Then the left half, back to what is known.
        std::size_t j = m_split;
        while (j > memory && n[j - 1] == window[j - 1])
            --j;
        if (j <= memory)
            return from;
        from += m_period;
        memory = m_memoryAfterShift;
    }
    return std::string_view::npos;
}

long long TextFinder::find(std::string_view text) const
{
    using platform::cp932::isLeadByte;
    const std::size_t size = m_needle.size();
    if (size == 0)
        return 0;
    if (text.size() < size)
        return -1;
    const auto leadAt = [&](std::size_t pos) { return isLeadByte(static_cast<unsigned char>(text[pos])); };

    // The matches come in order, and character starts are found in the same
    // pass forward: `known` is a character start at or before every match
    // still to come. A byte that is no lead byte ends a character; after
    // the last one before a match (or from `known`, if that comes later)
    // lead bytes pair off, so the match starts a character exactly when an
    // even number of them precede it. Each byte is looked at once at most,
    // however many matches there are: a text of lead bytes full of matches
    // that start on trail bytes costs no more than a plain search of it.
    std::size_t known = 0;
    std::size_t memory = 0;
    const bool twoWay = size >= kTwoWayFrom;
    const auto first = [&] { return twoWay ? nextMatch(text, 0, memory) : text.find(m_needle); };
    const auto after = [&](std::size_t pos) {
        return twoWay ? nextMatch(text, afterMatch(pos, memory), memory) : text.find(m_needle, pos + 1);
    };
    for (std::size_t pos = first(); pos != std::string_view::npos; pos = after(pos)) {
        std::size_t start = pos;
        while (start > known && leadAt(start - 1))
            --start;
        if ((pos - start) % 2 != 0) {
            // The match starts on the trail byte of the character at pos - 1,
            // so the next character starts right after it.
            known = pos + 1;
            continue;
        }
        known = pos;
        if (!m_endsInHalf || pos + size == text.size())
            return static_cast<long long>(pos);
    }
    return -1;
}

} // namespace listing
