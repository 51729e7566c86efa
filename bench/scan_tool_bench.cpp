// Measures the headless scanner, run as its own process as a script would
// run it, against the plain loop run the same way: as a process of its own
// (this program started again with --plain-loop), so that both sides pay for
// starting a process alike. Each phase's best time of a few runs taken in
// turns, with the processor time of that run in user mode and in the system
// (all threads together), which a busy machine disturbs less than the time
// on the clock. Output goes to /dev/null, so what is measured is the scan
// and the making of the output, not the disk that would take it.
//
//   vellumin-scan-bench [N] [--folder FOLDER]
//                   N cookie files, 10000 when not given; made in a folder
//                   under /tmp and removed at the end, or kept in FOLDER
//                   (filled when empty, taken as it is when an earlier run
//                   of this or vellumin-bench with the same N filled it)
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
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char **environ;

namespace {

using bench::Clock;
using bench::CpuTime;
using bench::millisecondsSince;

constexpr std::size_t kDefaultFileCount = 10000;
constexpr int kRuns = 3;
constexpr std::size_t kRatioTargetFileCount = 100000;
constexpr std::string_view kPlainLoop = "--plain-loop";

// One run of a process: its wall time, and the processor time it used on
// all its threads.
struct Timing {
    double ms = 0;
    CpuTime cpu{};
};

CpuTime cpuTimeOf(const rusage &usage)
{
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {ms(usage.ru_utime), ms(usage.ru_stime)};
}

// Runs `args` (the program first) with its output to /dev/null.
Timing runProcess(std::vector<std::string> args)
{
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
        throw std::runtime_error(args[0] + " failed on the generated folder");
    return {ms, cpuTimeOf(usage)};
}

// One phase: the options of the scanner (none for the plain loop), and the
// ratio it should reach, if any.
struct Phase {
    std::vector<std::string> options;
    double target = 0;
    Timing best{};
};

int usage()
{
    std::fputs("usage: vellumin-scan-bench [N] [--folder FOLDER]   (N cookie files, default 10000)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // The plain loop as a process of its own, started by this program.
    if (argc == 3 && std::string_view(argv[1]) == kPlainLoop) {
        try {
            return bench::readPlainly(argv[2]).listed > 0 ? 0 : 1;
        } catch (const std::exception &error) {
            std::fprintf(stderr, "vellumin-scan-bench: %s\n", error.what());
            return 1;
        }
    }
    const char *keptFolder = bench::takeFolderArgument(argc, argv);
    const std::optional<std::size_t> fileCountArg = bench::fileCountArgument(argc, argv, kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;

    try {
        std::optional<bench::TempFolder> temporary;
        const std::string folder =
            keptFolder ? std::string(keptFolder) : temporary.emplace("vellumin-scan-bench").path();
        const bool filled = keptFolder && bench::readPlainly(folder).listed > 0;
        const bench::Corpus corpus = bench::makeCookieFolder(folder, fileCount, !filled);
        std::printf("vellumin-scan-bench: %zu cookie files (%zu bytes) in %s, best of %d runs taken in turns,\n"
                    "output to /dev/null; every ratio is to the plain loop run as a process of its own\n\n",
                    corpus.files, corpus.bytes, folder.c_str(), kRuns);
        std::fflush(stdout);
        // Warms the page cache and the dentry cache; a kept folder must hold
        // what this N puts there.
        if (bench::readPlainly(folder).listed != corpus.files) {
            std::fprintf(stderr, "vellumin-scan-bench: %s holds other files than %zu cookie files\n", folder.c_str(),
                         fileCount);
            return 1;
        }

        std::vector<Phase> phases = {
            {{}, 0},
            {{}, 1.25},
            {{"--content", std::string(bench::kContentSearch)}, 1.25},
            {{"--name", std::string(bench::kNameSearch)}, 0},
            {{"--format", "json"}, 0},
            {{"--format", "csv"}, 0},
            {{"--cookies"}, 0},
            {{"--cookies", "--format", "csv"}, 0},
            {{"--cookies", "--format", "json"}, 1.5},
        };
        // Round by round, every phase once per round, so that a machine that
        // gets busier or quieter meanwhile weighs on all phases alike.
        const std::string loadBefore = bench::loadAverage();
        for (int round = 0; round < kRuns; ++round) {
            for (std::size_t i = 0; i < phases.size(); ++i) {
                std::vector<std::string> args;
                if (i == 0) {
                    args = {"/proc/self/exe", std::string(kPlainLoop), folder};
                } else {
                    args = {VELLUMIN_SCAN_PATH};
                    args.insert(args.end(), phases[i].options.begin(), phases[i].options.end());
                    args.push_back(folder);
                }
                const Timing run = runProcess(args);
                if (round == 0 || run.ms < phases[i].best.ms)
                    phases[i].best.ms = run.ms;
                if (round == 0 || run.cpu.totalMs() < phases[i].best.cpu.totalMs())
                    phases[i].best.cpu = run.cpu;
            }
        }

        const Timing &base = phases.front().best;
        std::printf("%-44s %9s %7s %-12s %9s %9s %7s\n", "phase", "ms", "ratio", "", "user ms", "sys ms", "ratio");
        for (std::size_t i = 0; i < phases.size(); ++i) {
            const Phase &phase = phases[i];
            std::string name = i == 0 ? "baseline read (a process)" : "vellumin-scan";
            for (const std::string &option : phase.options)
                name += " " + option;
            const double ratio = phase.best.ms / base.ms;
            char mark[16] = "";
            if (phase.target > 0 && fileCount == kRatioTargetFileCount)
                std::snprintf(mark, sizeof mark, "%s <=%.2f", ratio <= phase.target ? "ok" : "MISS", phase.target);
            std::printf("%-44s %9.1f %7.2f %-12s %9.1f %9.1f %7.2f\n", name.c_str(), phase.best.ms, ratio, mark,
                        phase.best.cpu.userMs, phase.best.cpu.systemMs, phase.best.cpu.totalMs() / base.cpu.totalMs());
        }
        std::printf("\nload average (1 min) before %s, after %s, on %ld processors\n", loadBefore.c_str(),
                    bench::loadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN));
        if (fileCount != kRatioTargetFileCount)
            std::printf("\n(the targets apply at N = %zu; ratios at other sizes are shown unjudged)\n",
                        kRatioTargetFileCount);
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-scan-bench: %s\n", error.what());
    }
    return 1;
}
