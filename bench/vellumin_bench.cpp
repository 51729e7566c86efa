// Measures the folder scan against a plain loop that reads the same files, in
// one process: the best time of a few runs and the heap peak of each phase.
// It makes its own cookie folder in the temporary folder and removes it at
// the end.
//
//   vellumin-bench [N] [--folder FOLDER]
//                           N cookie files, 10000 when not given; in FOLDER,
//                           kept, when given
//   vellumin-bench --cold [N]   as root: one pass of the plain loop and one
//                               scan, each after emptying the system's caches
//
// Figures are printed, never judged: the exit status is 1 only when a phase
// lists a different number of files than the folder holds for it.

#include "cookie_folder.h"
#include "heap_count.h"
#include "plain_read.h"

#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "platform/cp932.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using bench::Clock;
using bench::kContentSearch;
using bench::kNameSearch;
using bench::millisecondsSince;
using bench::readPlainly;
using bench::Run;

constexpr std::size_t kDefaultFileCount = 10000;
constexpr int kRuns = 3;
constexpr int kTableFontPointSize = 9; // the window's, which sizes the columns
#ifdef _WIN32
constexpr double kRatioTarget = 1.5; // where every call goes through Wine or the Windows kernel
#else
constexpr double kRatioTarget = 1.25;
#endif
constexpr std::size_t kRatioTargetFileCount = 100000;
constexpr double kBytesPerFileTarget = 250;

// One scan by the listing core, timed without building and destroying the
// listing around it.
Run listCookieFiles(const std::string &folder, listing::SearchMode mode, std::string_view searchText)
{
    listing::CookieListing cookies;
    listing::ProgramState &state = cookies.state();
    state.setCookiesPath(platform::namedPath(folder));
    state.systemInfo.searchMode = mode;
    state.systemInfo.searchText = searchText;
    const bench::CpuTime cpuStart = bench::processCpuTime();
    const Clock::time_point start = Clock::now();
    cookies.listCookieFiles(kTableFontPointSize);
    Run run;
    run.ms = millisecondsSince(start);
    run.cpu = bench::processCpuTime() - cpuStart;
    run.listed = static_cast<std::size_t>(cookies.table().dataRowCount());
    return run;
}

struct Phase {
    std::string name;
    std::size_t expected = 0;
    std::size_t listed = 0;
    double ms = 0;
    bench::CpuTime cpu{}; // of the run that took the least processor time
    std::size_t peak = 0; // heap bytes above those live at the start
};

// A phase with the scan that measures it once.
struct Measured {
    Phase phase;
    std::function<Run()> scan;
};

// Runs every phase kRuns times, in turns (one run of each phase, then the
// next round), so that whatever else the machine does at one moment falls on
// all phases alike: the best time and the highest peak of each.
void measureInTurns(std::vector<Measured> &phases)
{
    for (int i = 0; i < kRuns; ++i) {
        for (Measured &measured : phases) {
            Phase &phase = measured.phase;
            const std::size_t before = bench::resetHeapPeak();
            const Run run = measured.scan();
            phase.peak = std::max(phase.peak, bench::heapPeakBytes() - before);
            phase.ms = i == 0 ? run.ms : std::min(phase.ms, run.ms);
            if (i == 0 || run.cpu.totalMs() < phase.cpu.totalMs())
                phase.cpu = run.cpu;
            phase.listed = run.listed;
        }
    }
}

void printTable(const std::vector<Phase> &phases, std::size_t fileCount)
{
    const Phase &base = phases.front();
    std::printf("targets: time ratio <= %.2f at N = %zu; heap <= %.0f bytes per listed file above the baseline\n"
                "(ratios to the baseline's own time; beside the clock's, the processor time in user mode and\n"
                "in the system and its ratio: the clock also counts what other programs on a busy machine take)\n\n",
                kRatioTarget, kRatioTargetFileCount, kBytesPerFileTarget);
    std::printf("%-22s %8s %10s %7s %-5s %9s %9s %7s %12s %11s %-5s\n", "phase", "files", "ms", "ratio", "", "user ms",
                "sys ms", "ratio", "peak bytes", "B/file>base", "");
    for (const Phase &phase : phases) {
        const double ratio = phase.ms / base.ms;
        const char *ratioMark = "";
        if (&phase != &base && fileCount == kRatioTargetFileCount)
            ratioMark = ratio <= kRatioTarget ? "ok" : "MISS";
        std::printf("%-22s %8zu %10.1f %7.2f %-5s %9.1f %9.1f %7.2f %12zu", phase.name.c_str(), phase.listed, phase.ms,
                    ratio, ratioMark, phase.cpu.userMs, phase.cpu.systemMs, phase.cpu.totalMs() / base.cpu.totalMs(),
                    phase.peak);
        if (&phase == &base || phase.listed == 0) {
            std::printf(" %11s\n", "-");
            continue;
        }
        const double above = (static_cast<double>(phase.peak) - static_cast<double>(base.peak)) / phase.listed;
        std::printf(" %11.1f %-5s\n", above, above <= kBytesPerFileTarget ? "ok" : "MISS");
    }
    if (fileCount != kRatioTargetFileCount)
        std::printf("\n(the time target applies at N = %zu; ratios at other sizes are shown unjudged)\n",
                    kRatioTargetFileCount);
}

int usage()
{
    std::fputs("usage: vellumin-bench [--cold] [N] [--folder FOLDER]   (N cookie files, default 10000)\n", stderr);
    return 2;
}

} // namespace

#ifndef _WIN32
// Empties the page cache and the inode and directory caches, so that the
// next pass reads from the disk. Needs root.
void dropCaches()
{
    ::sync();
    std::FILE *control = std::fopen("/proc/sys/vm/drop_caches", "w");
    const bool dropped = control && std::fputs("3\n", control) >= 0;
    if (control && std::fclose(control) != 0)
        throw std::runtime_error("cannot empty the caches (run as root)");
    if (!dropped)
        throw std::runtime_error("cannot empty the caches (run as root)");
}

// One pass of each from a cold cache: the disk's latency, file after file,
// unless the scan gets several files on their way at once.
int measureCold(std::size_t fileCount)
{
    const bench::TempFolder folder("vellumin-bench");
    const bench::Corpus corpus = bench::makeCookieFolder(folder.path(), fileCount);
    std::printf("vellumin-bench --cold: %zu cookie files in %s, one pass each after emptying the caches\n",
                corpus.files, folder.path().c_str());
    dropCaches();
    const Run plain = readPlainly(folder.path());
    dropCaches();
    const Run scan = listCookieFiles(folder.path(), listing::SearchMode::None, {});
    std::printf("%-22s %8s %10s %7s %9s %9s\n", "phase", "files", "ms", "ratio", "user ms", "sys ms");
    std::printf("%-22s %8zu %10.1f %7.2f %9.1f %9.1f\n", "baseline read", plain.listed, plain.ms, 1.0, plain.cpu.userMs,
                plain.cpu.systemMs);
    std::printf("%-22s %8zu %10.1f %7.2f %9.1f %9.1f\n", "list all", scan.listed, scan.ms, scan.ms / plain.ms,
                scan.cpu.userMs, scan.cpu.systemMs);
    return plain.listed == corpus.files && scan.listed == corpus.files ? 0 : 1;
}

#endif

int main(int argc, char **argv)
{
#ifndef _WIN32
    if (argc >= 2 && std::string_view(argv[1]) == "--cold") {
        const std::optional<std::size_t> count = bench::fileCountArgument(argc - 1, argv + 1, kDefaultFileCount);
        if (!count)
            return usage();
        try {
            return measureCold(*count);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "vellumin-bench: %s\n", error.what());
            return 1;
        }
    }
#endif
    // "--folder FOLDER" keeps the cookie folder in FOLDER: filled when it is
    // empty, taken as it is when an earlier run with the same N filled it.
    // So one folder serves both systems: Wine makes each new file slower the
    // more the folder holds, and would take hours to fill 100,000.
    const char *keptFolder = bench::takeFolderArgument(argc, argv);
    const std::optional<std::size_t> fileCountArg = bench::fileCountArgument(argc, argv, kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;

    try {
        std::optional<bench::TempFolder> temporary;
        std::string path;
        bool filled = false;
        if (keptFolder) {
            path = keptFolder;
            filled = readPlainly(path).listed > 0;
        } else {
            path = temporary.emplace("vellumin-bench").path();
        }
        const bench::Corpus corpus = bench::makeCookieFolder(path, fileCount, !filled);
        std::printf(
            "vellumin-bench: %zu cookie files (%zu bytes, %zu with CP932 text) in %s, best of %d runs taken in turns\n",
            corpus.files, corpus.bytes, corpus.japanese, path.c_str(), kRuns);
        std::fflush(stdout);

        // Warms the page cache and the dentry cache; a kept folder must hold
        // what this N puts there.
        if (readPlainly(path).listed != corpus.files) {
            std::fprintf(stderr, "vellumin-bench: %s holds other files than %zu cookie files\n", path.c_str(),
                         fileCount);
            return 1;
        }

        const std::string nameLabel = "name \"" + std::string(kNameSearch) + "\"";
        const std::string contentLabel = "content \"" + std::string(kContentSearch) + "\"";
        std::vector<Measured> measured;
        measured.push_back({{"baseline read", corpus.files}, [&] { return readPlainly(path); }});
        measured.push_back(
            {{"list all", corpus.files}, [&] { return listCookieFiles(path, listing::SearchMode::None, {}); }});
        measured.push_back({{nameLabel, corpus.nameMatches},
                            [&] { return listCookieFiles(path, listing::SearchMode::FileName, kNameSearch); }});
        measured.push_back({{contentLabel, corpus.contentMatches},
                            [&] { return listCookieFiles(path, listing::SearchMode::Content, kContentSearch); }});
        const std::string loadBefore = bench::loadAverage();
        measureInTurns(measured);
        std::vector<Phase> phases;
        for (const Measured &each : measured)
            phases.push_back(each.phase);
        printTable(phases, fileCount);
        std::printf("\nload average (1 min) before %s, after %s\n", loadBefore.c_str(), bench::loadAverage().c_str());

        bool countsRight = true;
        for (const Phase &phase : phases) {
            if (phase.listed != phase.expected) {
                std::fprintf(stderr, "vellumin-bench: %s listed %zu files, the folder holds %zu for it\n",
                             phase.name.c_str(), phase.listed, phase.expected);
                countsRight = false;
            }
        }
        return countsRight ? 0 : 1;
    } catch (const listing::ListingError &error) {
        std::fprintf(stderr, "vellumin-bench: the scan failed: %s\n", platform::cp932::toUtf8(error.what()).c_str());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-bench: %s\n", error.what());
    }
    return 1;
}
