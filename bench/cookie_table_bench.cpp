// Measures building the decoded cookie table of one file, as the window does
// when its cookie view is shown: the time of each run, the heap the table
// holds after it, and the time to read every cell of every row once (what
// scrolling through the whole table costs).
//
//   vellumin-cookie-table-bench [N]   a file of N cookies, 10000 when not given
//
// Figures are printed, never judged.

#include "cookie_folder.h"
#include "heap_count.h"

#include "listing/content_pane.h"
#include "listing/cookie_table.h"
#include "platform/local_time.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kDefaultCookieCount = 10000;
constexpr int kRuns = 5;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A file of `count` cookies as browsers write them: LF line ends, a third of
// them expired, some with CP932 values and long tracking values.
std::string cookieFile(std::size_t count, std::uint64_t now)
{
    constexpr std::uint64_t kDay = 864'000'000'000;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t expires = i % 3 == 0 ? now - (i % 400) * kDay : now + (i % 5000) * kDay;
        const std::uint64_t created = now - (i % 700) * kDay;
        text += "cookie" + std::to_string(i) + "\n";
        if (i % 10 == 0)
            text += "\x95\x5C\x8E\xA6\x90\xDD\x92\xE8=" + std::to_string(i) + "\n"; // 表示設定=
        else
            text += std::string(20 + i % 100, static_cast<char>('a' + i % 26)) + "\n";
        text += "site" + std::to_string(i % 97) + ".example.co.jp/path/" + std::to_string(i % 7) + "/\n";
        text += std::to_string(i % 2 ? 0x2001 : 0) + "\n";
        text += std::to_string(expires & 0xFFFFFFFF) + "\n" + std::to_string(expires >> 32) + "\n";
        text += std::to_string(created & 0xFFFFFFFF) + "\n" + std::to_string(created >> 32) + "\n*\n";
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<std::size_t> count = bench::fileCountArgument(argc, argv, kDefaultCookieCount);
    if (!count)
        return 2;
    const std::uint64_t now = platform::currentFileTime();
    const std::string file = cookieFile(*count, now);
    std::printf("cookie table of %zu cookies, %zu bytes, %d runs\n", *count, file.size(), kRuns);

    listing::ContentPane pane;
    listing::CookieTable table;
    for (int run = 1; run <= kRuns; ++run) {
        // A fresh pane each run, as when a file is selected. The table
        // reads the bytes as read; widening their line ends, which only a
        // content search with a line end in it asks for, is timed on a copy,
        // so that the heap figures are the table's alone.
        table.clear();
        pane.setText(file);
        std::string widened = file;
        const Clock::time_point widenStart = Clock::now();
        listing::widenLineEnds(widened);
        const double widenMs = millisecondsSince(widenStart);
        std::string().swap(widened);

        const std::size_t before = bench::resetHeapPeak();
        const Clock::time_point start = Clock::now();
        table.load(pane, now, 9);
        const double loadMs = millisecondsSince(start);
        const std::size_t peak = bench::heapPeakBytes() - before;
        const std::size_t held = bench::resetHeapPeak() - before;

        const Clock::time_point drawStart = Clock::now();
        std::size_t cellBytes = 0;
        for (int row = 0; row < table.rowCount(); ++row)
            for (int column = 0; column < listing::CookieTable::kColumnCount; ++column)
                cellBytes += table.cell(column, row).size();
        const double cellsMs = millisecondsSince(drawStart);
        std::printf("run %d: build %.2f ms, %d rows, table holds %zu bytes (peak %zu) | line ends widened "
                    "%.2f ms | every cell once %.2f ms (%zu bytes)\n",
                    run, loadMs, table.rowCount(), held, peak, widenMs, cellsMs, cellBytes);
    }
    return table.rowCount() == static_cast<int>(*count) ? 0 : 1;
}
