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

void printBigFileSteps(const char *title, std::size_t fileBytes, std::size_t heapPeakBytes, const WindowStep *steps,
                       std::size_t stepCount)
{
    std::printf("\n%s: file of %.1f MB (%zu bytes)", title, static_cast<double>(fileBytes) / (1 << 20), fileBytes);
    if (heapPeakBytes > 0)
        std::printf(", heap peak while its text was shown %.1f MB (%.2f times the file)",
                    static_cast<double>(heapPeakBytes) / (1 << 20),
                    static_cast<double>(heapPeakBytes) / static_cast<double>(fileBytes));
    std::printf("\n%-44s %10s %9s %9s  %s\n", "step, until painted", "ms", "user ms", "sys ms", "outcome");
    for (std::size_t i = 0; i < stepCount; ++i) {
        const WindowStep &step = steps[i];
        if (step.ms < 0) {
            std::printf("%-44s %10s\n", step.label, "-");
            continue;
        }
        std::printf("%-44s %10.1f %9.1f %9.1f  ", step.label, step.ms, step.cpu.userMs, step.cpu.systemMs);
        if (step.outcome >= 0)
            std::printf("%lld %s", step.outcome, step.outcomeLabel);
        std::printf("\n");
    }
}

void keepBest(WindowStep &step, double ms, const CpuTime &cpu)
{
    if (step.ms < 0 || ms < step.ms) {
        step.ms = ms;
        step.cpu = cpu;
    }
}

std::vector<WindowStep> bigFileSteps()
{
    std::vector<WindowStep> steps(6);
    steps[0].label = "row selected until the text is painted";
    steps[1].label = "cookie tab chosen until the table is painted";
    steps[2].label = "cookie table Shift+End";
    steps[3].label = "cookie table Home";
    steps[4].label = "cookie table Ctrl+A";
    steps[5].label = "cookie table Ctrl+C";
    return steps;
}

} // namespace bench
