// The baseline of both benchmarks: the least a scan of a folder could cost.

#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One timed pass over a folder.
struct Run {
    std::size_t listed = 0;
    double ms = 0;
};

// Enumerates the folder and reads every file whole into one buffer, grown
// only for a file larger than any before: with readdir/open/read/close on
// Linux, FindFirstFileA/CreateFileA/ReadFile/CloseHandle on Windows.
Run readPlainly(const std::string &folder);

} // namespace bench
