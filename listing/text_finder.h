#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace listing {

// A case-sensitive search for one text (CP932) in many, whose matches must
// start and end on character boundaries. Its cost is that of a plain byte
// search whatever the search text's length: the two-way algorithm looks at
// each byte of the text a bounded number of times, and a last-byte check
// lets it skip ahead by up to the search text's length. Made once per search
// text, so that a scan of many files prepares it once.
class TextFinder {
public:
    explicit TextFinder(std::string_view needle = {});

    const std::string &needle() const { return m_needle; }

    // A search text shorter than this is searched for as the standard
    // library searches (memchr() for its first byte, then the rest
    // compared): at most this many times a plain pass, and on ordinary text
    // the fastest there is. From this length on, the two-way search.
    static constexpr std::size_t kTwoWayFrom = 32;

    // Position of the first match in `text` that starts and ends on
    // character boundaries, or -1 when there is none. An empty search text
    // is found at 0.
    long long find(std::string_view text) const;

private:
    // The next byte match at or after `from`, given what the last call
    // learnt (`memory`: how many bytes at the start of the window are known
    // to match); npos when there is none.
    std::size_t nextMatch(std::string_view text, std::size_t from, std::size_t &memory) const;
    // Where the search goes on after a match at `at`, and what it then knows.
    std::size_t afterMatch(std::size_t at, std::size_t &memory) const
    {
        memory = m_memoryAfterShift;
        return at + m_period;
    }

    std::string m_needle;
    std::size_t m_split = 0;            // the critical position: the right half starts here
    std::size_t m_period = 1;           // how far the window moves after a match, or a miss on the left
    std::size_t m_memoryAfterShift = 0; // what is then known to match (a periodic search text only)
    // For each byte, 1 + its last position in the search text; 0 when absent.
    std::array<std::size_t, 256> m_shift{};
    // The search text's rarest byte and where it stands: any match holds it
    // there, so the window can jump to the next one that memchr() finds.
    std::size_t m_rareAt = 0;
    bool m_endsInHalf = false; // its last byte is a lead byte without its trail byte
};

} // namespace listing
