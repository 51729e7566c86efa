#pragma once

#include "plain_read.h"

#include <cstddef>
#include <vector>

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

// One step with a big file, until the window (or a bare control) painted
// it: the best time of the runs, the processor time of that run, and what
// came of it (rows selected, characters copied), so that a step that did
// nothing shows. A time below 0 was not measured.
struct WindowStep {
    const char *label = "";
    double ms = -1;
    CpuTime cpu;
    long long outcome = -1; // below 0: nothing to say
    const char *outcomeLabel = "";
};

// Prints the steps of one big file: its size, the heap peak while its text
// was shown (and that peak as a multiple of the file's size), and each step
// with its user and system time.
void printBigFileSteps(const char *title, std::size_t fileBytes, std::size_t heapPeakBytes, const WindowStep *steps,
                       std::size_t stepCount);

// The steps both windows time on a big file, in this order and so named,
// so that their tables compare line by line: the text shown, the cookie
// tab shown, Shift+End, Home, Ctrl+A and Ctrl+C in it.
std::vector<WindowStep> bigFileSteps();

// Keeps the least time of the runs of a step, with the processor time of
// that run.
void keepBest(WindowStep &step, double ms, const CpuTime &cpu);

} // namespace bench
