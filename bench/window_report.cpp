#include "window_report.h"

#include <cstdio>

namespace bench {

void printWindowScan(const WindowScanFigures &figures)
{
    const double ratio = figures.scanMs / figures.baselineMs;
    std::printf("%zu cookie files, best of %d runs\n", figures.fileCount, figures.runs);
    std::printf("%-40s %10s %7s %-22s %9s %9s %7s\n", "phase", "ms", "ratio", "", "user ms", "sys ms", "ratio");
    std::printf("%-40s %10.1f %7.2f %-22s %9.1f %9.1f %7.2f\n", "baseline read", figures.baselineMs, 1.0, "",
                figures.baselineCpu.userMs, figures.baselineCpu.systemMs, 1.0);
    char mark[32];
    std::snprintf(mark, sizeof mark, "%s (target <= %.1f)", ratio <= figures.scanRatioTarget ? "ok" : "MISS",
                  figures.scanRatioTarget);
    std::printf("%-40s %10.1f %7.2f %-22s %9.1f %9.1f %7.2f\n", "scan through the window until painted", figures.scanMs,
                ratio, mark, figures.scanCpu.userMs, figures.scanCpu.systemMs,
                figures.scanCpu.totalMs() / figures.baselineCpu.totalMs());
    std::printf("%-40s %10.1f %7s %s (target < %.0f ms)%s\n", figures.scrollLabel, figures.scrollMs, "-",
                figures.scrollMs < figures.scrollTargetMs ? "ok" : "MISS", figures.scrollTargetMs,
                figures.scrollMissed);
}

} // namespace bench
