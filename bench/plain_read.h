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

// Processor time in ms, in user mode and in the system on the program's
// behalf. On a machine that others share it varies far less between runs
// than the time on the clock does, and the two parts tell where a gap lies:
// the scan's own work, or the calls it makes.
struct CpuTime {
    double userMs = 0;
    double systemMs = 0;

    double totalMs() const { return userMs + systemMs; }
    friend CpuTime operator-(const CpuTime &a, const CpuTime &b)
    {
        return {a.userMs - b.userMs, a.systemMs - b.systemMs};
    }
};

// This process's processor time so far, all its threads together.
CpuTime processCpuTime();

// The machine's load average over the last minute ("?" where the system
// does not tell): the clock's figures mean little when other work takes the
// processors.
std::string loadAverage();

// One timed pass over a folder.
struct Run {
    std::size_t listed = 0;
    double ms = 0;
    CpuTime cpu;
};

// Enumerates the folder and reads every file whole into one buffer, grown
// only for a file larger than any before: each file opened relative to the
// folder's descriptor and read by one call, nothing else asked of it, on
// Linux; FindFirstFileW/CreateFileW/one ReadFile/CloseHandle on Windows. The
// fastest loop that reads the same bytes, so that a ratio against it shows
// all that the scan adds.
Run readPlainly(const std::string &folder);

} // namespace bench
