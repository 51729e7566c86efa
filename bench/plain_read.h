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

// Processor time of this process so far (user and system), in ms. On a
// machine that others share, it varies far less between runs than the
// time on the clock does.
double processCpuMs();

// One timed pass over a folder.
struct Run {
    std::size_t listed = 0;
    double ms = 0;
    double cpuMs = 0;
};

// Enumerates the folder and reads every file whole into one buffer, grown
// only for a file larger than any before: each file opened relative to the
// folder's descriptor and read by one call, nothing else asked of it, on
// Linux; FindFirstFileA/CreateFileA/ReadFile/CloseHandle on Windows. The
// fastest loop that reads the same bytes, so that a ratio against it shows
// all that the scan adds.
Run readPlainly(const std::string &folder);

} // namespace bench
