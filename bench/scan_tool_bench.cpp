// Measures the headless scanner, run as its own process as a script would
// run it, against the plain loop that reads the same files: the best time of
// a few runs of each, and the processor time of that run (both threads of
// the scanner together), which a busy machine disturbs less than the time
// on the clock. Output goes to /dev/null, so what is measured is the
// scan and the making of the output, not the disk that would take it.
// It makes its own cookie folder under /tmp and removes it at the end.
//
//   vellumin-scan-bench [N]      N cookie files, 10000 when not given
//
// Figures are printed, never judged: the exit status is 1 only when a run
// of the scanner fails.

#include "cookie_folder.h"
#include "plain_read.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char **environ;

namespace {

using bench::Clock;
using bench::millisecondsSince;

constexpr std::size_t kDefaultFileCount = 10000;
constexpr int kRuns = 3;
constexpr double kRatioTarget = 1.5;
constexpr std::size_t kRatioTargetFileCount = 100000;

// One run of the scanner: its wall time, and the processor time it used on
// all its threads.
struct Timing {
    double ms = 0;
    double cpuMs = 0;
};

double cpuMilliseconds(const rusage &usage)
{
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs the scanner with `options` and the folder, its output to /dev/null.
Timing runScanner(const std::vector<std::string> &options, const std::string &folder)
{
    std::vector<std::string> args = {VELLUMIN_SCAN_PATH};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(folder);
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
    }
    const double ms = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("vellumin-scan failed on the generated folder");
    return {ms, cpuMilliseconds(usage)};
}

// The machine's load average over the last minute: the figures mean little
// when other work takes the processors.
std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string oneMinute;
    in >> oneMinute;
    return oneMinute.empty() ? "?" : oneMinute;
}

int usage()
{
    std::fputs("usage: vellumin-scan-bench [N]   (N cookie files, default 10000)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<std::size_t> fileCountArg = bench::fileCountArgument(argc, argv, kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;

    try {
        const bench::TempFolder folder("vellumin-scan-bench");
        const bench::Corpus corpus = bench::makeCookieFolder(folder.path(), fileCount);
        std::printf("vellumin-scan-bench: %zu cookie files (%zu bytes) in %s, best of %d runs, output to /dev/null\n",
                    corpus.files, corpus.bytes, folder.path().c_str(), kRuns);
        std::printf("target: --cookies --format json at most %.1f x the baseline at N = %zu\n\n", kRatioTarget,
                    kRatioTargetFileCount);
        std::fflush(stdout);

        bench::readPlainly(folder.path()); // warms the page cache and the dentry cache

        const std::vector<std::vector<std::string>> phases = {
            {},
            {"--format", "json"},
            {"--format", "csv"},
            {"--cookies"},
            {"--cookies", "--format", "csv"},
            {"--cookies", "--format", "json"},
        };
        // Round by round, every phase once per round, so that a machine that
        // gets busier or quieter meanwhile weighs on all phases alike.
        Timing baseline;
        std::vector<Timing> best(phases.size());
        const std::string loadBefore = loadAverage();
        for (int round = 0; round < kRuns; ++round) {
            rusage before{}, after{};
            ::getrusage(RUSAGE_SELF, &before);
            const double ms = bench::readPlainly(folder.path()).ms;
            ::getrusage(RUSAGE_SELF, &after);
            if (round == 0 || ms < baseline.ms)
                baseline = {ms, cpuMilliseconds(after) - cpuMilliseconds(before)};
            for (std::size_t i = 0; i < phases.size(); ++i) {
                const Timing run = runScanner(phases[i], folder.path());
                if (round == 0 || run.ms < best[i].ms)
                    best[i] = run;
            }
        }

        std::printf("%-44s %10s %7s %-5s %10s %7s\n", "phase", "ms", "ratio", "", "cpu ms", "ratio");
        std::printf("%-44s %10.1f %7.2f %-5s %10.1f %7.2f\n", "baseline read (in process)", baseline.ms, 1.0, "",
                    baseline.cpuMs, 1.0);
        for (std::size_t i = 0; i < phases.size(); ++i) {
            std::string name = "vellumin-scan";
            for (const std::string &option : phases[i])
                name += " " + option;
            const double ratio = best[i].ms / baseline.ms;
            const bool judged = i + 1 == phases.size() && fileCount == kRatioTargetFileCount;
            std::printf("%-44s %10.1f %7.2f %-5s %10.1f %7.2f\n", name.c_str(), best[i].ms, ratio,
                        judged ? (ratio <= kRatioTarget ? "ok" : "MISS") : "", best[i].cpuMs,
                        best[i].cpuMs / baseline.cpuMs);
        }
        std::printf("\nload average (1 min) before %s, after %s, on %ld processors\n", loadBefore.c_str(),
                    loadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN));
        if (fileCount != kRatioTargetFileCount)
            std::printf("\n(the target applies at N = %zu; ratios at other sizes are shown unjudged)\n",
                        kRatioTargetFileCount);
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-scan-bench: %s\n", error.what());
    }
    return 1;
}
