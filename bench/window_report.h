#pragma once

#include "plain_read.h"

#include <cstddef>

namespace bench {

// What both window benchmarks (Qt and Win32) measured of one folder.
struct WindowScanFigures {
    std::size_t fileCount = 0;
    int runs = 0;
    double baselineMs = 0;
    CpuTime baselineCpu;
    double scanMs = 0;
    CpuTime scanCpu;
    double scanRatioTarget = 0;
    const char *scrollLabel = ""; // how the toolkit's window scrolls to the last row
    double scrollMs = 0;
    double scrollTargetMs = 0;
    const char *scrollMissed = ""; // said when the scroll did not get there, else ""
};

// Prints the table of the scan through the window and the scroll, beside
// the plain loop, each with its user and system time.
void printWindowScan(const WindowScanFigures &figures);

} // namespace bench
