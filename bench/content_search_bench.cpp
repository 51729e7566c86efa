// Measures the content search (findInText) against a plain byte search of
// the same text for the same bytes, in one process, on texts made to be hard
// for a search that must tell where characters start:
//
//   lead bytes  "n\n\x83" then "\x81\x82" (≠) over and over, searched for
//               "≠": a candidate at every other byte, each starting on a
//               trail byte, so none counts and the whole text is searched
//   Japanese    "クッキー" over and over, searched for the bytes 62 83, which
//               straddle two characters at every fourth byte
//   ASCII       cookie lines, the search text only at the very end
//   long, ends  "a" over and over, searched for 32,000 bytes: 31,999 "a"
//               and a "b" (the window moves on at the last byte)
//   long, starts  the same, searched for a "b" and 31,999 "a": every
//               position matches all but one byte of it, the case that
//               costs a search comparing the whole text at each candidate
//               the text's size times the search text's length
//
// The plain loop finds every candidate the search must look at: the same
// byte search from each candidate on, nothing asked about characters. For
// the long search texts, where that loop would itself cost the text's size
// times the search text's length, it is one pass of memchr() over the text
// for a byte it lacks: the least any search can cost. Each
// figure is the time of one search, the best of several runs taken in turns
// with the plain loop; every run is printed, with the processor time of all
// runs and the load average.
//
//   vellumin-search-bench [KB...]   text sizes in KB; 100 and 1000 when none
//                                   are given
//
// Figures are printed, never judged: the exit status is 1 only when the
// search finds another position than the one the text was made with.

#include "plain_read.h"

#include "listing/content_pane.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Shape {
    const char *name;
    std::string text;
    std::string needle;
    long long expected; // where findInText() must find the needle
    bool longNeedle = false;
};

std::string repeated(std::string_view unit, std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + unit.size());
    while (text.size() < bytes)
        text += unit;
    return text;
}

std::vector<Shape> shapes(std::size_t bytes)
{
    std::vector<Shape> out;
    out.push_back({"lead bytes", "n\n\x83" + repeated("\x81\x82", bytes), "\x81\x82", -1});
    out.push_back({"Japanese", repeated("\x83\x4E\x83\x62\x83\x4C\x81\x5B", bytes), "\x62\x83", -1});
    std::string ascii = repeated("name\nvalue=0123456789abcdef\nwww.example.com/\n1536\n", bytes) + "needle\n";
    const auto at = static_cast<long long>(ascii.size() - 7);
    out.push_back({"ASCII", std::move(ascii), "needle", at});
    constexpr std::size_t kLongNeedle = 32000;
    out.push_back({"long, ends", std::string(bytes, 'a'), std::string(kLongNeedle - 1, 'a') + "b", -1, true});
    out.push_back({"long, starts", std::string(bytes, 'a'), "b" + std::string(kLongNeedle - 1, 'a'), -1, true});
    return out;
}

// Every candidate position of `needle`, as a plain search finds them.
std::size_t plainCandidates(std::string_view text, std::string_view needle)
{
    std::size_t count = 0;
    for (std::size_t pos = text.find(needle); pos != std::string_view::npos; pos = text.find(needle, pos + 1))
        ++count;
    return count;
}

// One pass over `text` looking for a byte it lacks.
std::size_t plainPass(std::string_view text)
{
    return std::memchr(text.data(), '\xFF', text.size()) ? 1 : 0;
}

// Runs `search` often enough to take some 20 ms, and gives the time of one.
template <typename Search> double msPerSearch(Search &&search, int repeats)
{
    const bench::Clock::time_point start = bench::Clock::now();
    for (int i = 0; i < repeats; ++i)
        search();
    return bench::millisecondsSince(start) / repeats;
}

template <typename Search> int repeatsFor(Search &&search)
{
    int repeats = 1;
    while (repeats < (1 << 20)) {
        const bench::Clock::time_point start = bench::Clock::now();
        for (int i = 0; i < repeats; ++i)
            search();
        if (bench::millisecondsSince(start) >= 20)
            break;
        repeats *= 2;
    }
    return repeats;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        const long kb = std::strtol(argv[i], nullptr, 10);
        if (kb <= 0) {
            std::fprintf(stderr, "usage: vellumin-search-bench [KB...]\n");
            return 2;
        }
        sizes.push_back(static_cast<std::size_t>(kb) * 1000);
    }
    if (sizes.empty())
        sizes = {100 * 1000, 1000 * 1000};

    constexpr int kRuns = 5;
    const std::string loadBefore = bench::loadAverage();
    int status = 0;
    volatile long long sink = 0; // keeps every search from being optimised away
    for (const std::size_t size : sizes) {
        for (const Shape &shape : shapes(size)) {
            const long long found = listing::findInText(shape.text, shape.needle);
            if (found != shape.expected) {
                std::printf("%s, %zu KB: found at %lld, not at %lld\n", shape.name, size / 1000, found, shape.expected);
                status = 1;
            }
            const auto plain = [&] {
                sink = sink + static_cast<long long>(shape.longNeedle ? plainPass(shape.text)
                                                                      : plainCandidates(shape.text, shape.needle));
            };
            const auto search = [&] { sink = sink + listing::findInText(shape.text, shape.needle); };
            const int plainRepeats = repeatsFor(plain), searchRepeats = repeatsFor(search);
            std::vector<double> plainMs, searchMs;
            const bench::CpuTime cpuBefore = bench::processCpuTime();
            for (int run = 0; run < kRuns; ++run) {
                plainMs.push_back(msPerSearch(plain, plainRepeats));
                searchMs.push_back(msPerSearch(search, searchRepeats));
            }
            const bench::CpuTime cpu = bench::processCpuTime() - cpuBefore;
            const double bestPlain = *std::min_element(plainMs.begin(), plainMs.end());
            const double bestSearch = *std::min_element(searchMs.begin(), searchMs.end());
            if (shape.longNeedle)
                std::printf("%-12s %5zu KB, search text %zu bytes: search %.3f ms, plain %.3f ms, ratio %.2f\n",
                            shape.name, size / 1000, shape.needle.size(), bestSearch, bestPlain,
                            bestSearch / bestPlain);
            else
                std::printf("%-12s %5zu KB, %zu candidates: search %.3f ms, plain %.3f ms, ratio %.2f\n", shape.name,
                            size / 1000, plainCandidates(shape.text, shape.needle), bestSearch, bestPlain,
                            bestSearch / bestPlain);
            std::printf("  runs (ms)  search:");
            for (const double ms : searchMs)
                std::printf(" %.3f", ms);
            std::printf("  plain:");
            for (const double ms : plainMs)
                std::printf(" %.3f", ms);
            std::printf("\n  processor time of all runs: user %.0f ms, system %.0f ms\n", cpu.userMs, cpu.systemMs);
        }
    }
    std::printf("load average (1 min) before %s, after %s\n", loadBefore.c_str(), bench::loadAverage().c_str());
    return status;
}
