#pragma once

#include <array>
#include <cstdint>

// The letters that the program takes regardless of case: a file-name search
// matches them so (on CP932 names) and the listing sorts them so (on native
// names, by code point). One table for both, so that a name that the search
// finds whatever its case also sorts whatever its case: the letters that
// CP932 has in both cases, ASCII and full-width Latin, Greek and Cyrillic.
// Other letters (accented Latin, which CP932 lacks) keep their case.
namespace platform::letter_case {

// `count` small letters from `small` on, each with its capital from
// `capital` on, in Unicode and in CP932 (lead byte << 8 | trail byte, or
// the byte itself): runs that are unbroken in both.
struct LetterRun {
    char32_t small;
    char32_t capital;
    std::uint16_t cp932Small;
    std::uint16_t cp932Capital;
    std::uint8_t count;
};

inline constexpr std::array<LetterRun, 8> kLetterRuns = {{
    {U'a', U'A', 0x61, 0x41, 26},
    {U'ａ', U'Ａ', 0x8281, 0x8260, 26},
    {U'α', U'Α', 0x83BF, 0x839F, 17}, // α to ρ: Unicode has the final ς next, CP932 σ
    {U'σ', U'Σ', 0x83D0, 0x83B0, 7},
    {U'а', U'А', 0x8470, 0x8440, 6}, // а to е: CP932 has ё next, Unicode ж
    {U'ё', U'Ё', 0x8476, 0x8446, 1},
    {U'ж', U'Ж', 0x8477, 0x8447, 8}, // ж to н: CP932 skips 847F
    {U'о', U'О', 0x8480, 0x844F, 18},
}};

// The capital of code point `code` when it is a small letter of the table,
// otherwise `code` itself.
constexpr char32_t capitalOf(char32_t code)
{
    if (code < U'a')
        return code;
    for (const LetterRun &run : kLetterRuns)
        if (code >= run.small && code < run.small + run.count)
            return code - run.small + run.capital;
    return code;
}

// The same for a CP932 character: one byte, or lead byte << 8 | trail byte.
constexpr std::uint16_t cp932CapitalOf(std::uint16_t code)
{
    if (code < 'a')
        return code;
    for (const LetterRun &run : kLetterRuns)
        if (code >= run.cp932Small && code < run.cp932Small + run.count)
            return static_cast<std::uint16_t>(code - run.cp932Small + run.cp932Capital);
    return code;
}

} // namespace platform::letter_case
