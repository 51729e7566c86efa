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
//   vellumin-scan-bench --profiles [P] [N]
//                   a Windows volume of P user profiles (20 when not given)
//                   of N cookie files each (1000), their folders spread over
//                   the layouts of Windows XP, 7 and 8: vellumin-scan
//                   --profiles on its root against the plain loop over the
//                   same folders, one after another
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
#include <cstdlib>
#include <filesystem>
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
    std::fputs("usage: vellumin-scan-bench [N] [--folder FOLDER]   (N cookie files, default 10000)\n"
               "       vellumin-scan-bench --profiles [P] [N]      (P profiles of N files, default 20 and 1000)\n",
               stderr);
    return 2;
}

// Runs every phase once per round, `kRuns` rounds, keeping each one's best;
// phase 0 is the plain loop over `plainFolders`, the others the scanner
// with their options and then `scanned`.
void runRounds(std::vector<Phase> &phases, const std::vector<std::string> &plainFolders,
               const std::vector<std::string> &scanned)
{
    for (int round = 0; round < kRuns; ++round) {
        for (std::size_t i = 0; i < phases.size(); ++i) {
            std::vector<std::string> args;
            if (i == 0) {
                args = {"/proc/self/exe", std::string(kPlainLoop)};
                args.insert(args.end(), plainFolders.begin(), plainFolders.end());
            } else {
                args = {VELLUMIN_SCAN_PATH};
                args.insert(args.end(), phases[i].options.begin(), phases[i].options.end());
                args.insert(args.end(), scanned.begin(), scanned.end());
            }
            const Timing run = runProcess(args);
            if (round == 0 || run.ms < phases[i].best.ms)
                phases[i].best.ms = run.ms;
            if (round == 0 || run.cpu.totalMs() < phases[i].best.cpu.totalMs())
                phases[i].best.cpu = run.cpu;
        }
    }
}

// The whole of one profile's cookie folder, by the layout of the system
// that profile `i` was made under: XP, 7, 8, in turn.
std::string profileFolder(const std::string &root, std::size_t i)
{
    const std::string name = "user" + std::to_string(i);
    switch (i % 3) {
    case 0:
        return root + "/Documents and Settings/" + name + "/Cookies";
    case 1:
        return root + "/Users/" + name + "/AppData/Roaming/Microsoft/Windows/Cookies";
    default:
        return root + "/Users/" + name + "/AppData/Local/Microsoft/Windows/INetCookies";
    }
}

int profilesBenchmark(int argc, char **argv)
{
    std::size_t counts[2] = {20, 1000};
    for (int i = 2; i < argc; ++i) {
        char *end = nullptr;
        const unsigned long value = std::strtoul(argv[i], &end, 10);
        if (i > 3 || *end != '\0' || value == 0 || value > 100000)
            return usage();
        counts[i - 2] = value;
    }
    const std::size_t profiles = counts[0], perProfile = counts[1];
    bench::TempFolder volume("vellumin-profiles-bench");
    std::vector<std::string> folders;
    std::size_t files = 0, bytes = 0;
    for (std::size_t i = 0; i < profiles; ++i) {
        const std::string folder = profileFolder(volume.path(), i);
        std::filesystem::create_directories(folder);
        const bench::Corpus corpus = bench::makeCookieFolder(folder, perProfile);
        files += corpus.files;
        bytes += corpus.bytes;
        folders.push_back(folder);
    }
    std::printf("vellumin-scan-bench --profiles: %zu profiles of %zu cookie files (%zu files, %zu bytes) in %s,\n"
                "best of %d runs taken in turns, output to /dev/null; every ratio is to the plain loop over the\n"
                "same folders, run as a process of its own\n\n",
                profiles, perProfile, files, bytes, volume.path().c_str(), kRuns);
    std::fflush(stdout);
    std::size_t warmed = 0;
    for (const std::string &folder : folders)
        warmed += bench::readPlainly(folder).listed;
    if (warmed != files)
        throw std::runtime_error("the generated volume holds other files than it should");

    std::vector<Phase> phases = {
        {{}, 0},
        {{"--profiles"}, 0},
        {{"--profiles", "--format", "csv"}, 0},
        {{"--profiles", "--cookies"}, 0},
        {{"--profiles", "--cookies", "--format", "json"}, 0},
    };
    const std::string loadBefore = bench::loadAverage();
    runRounds(phases, folders, {volume.path()});
    const Timing &base = phases.front().best;
    std::printf("%-50s %9s %7s %9s %9s %7s\n", "phase", "ms", "ratio", "user ms", "sys ms", "ratio");
    for (std::size_t i = 0; i < phases.size(); ++i) {
        std::string name = i == 0 ? "plain loop over the folders (a process)" : "vellumin-scan";
        for (const std::string &option : phases[i].options)
            name += " " + option;
        std::printf("%-50s %9.1f %7.2f %9.1f %9.1f %7.2f\n", name.c_str(), phases[i].best.ms,
                    phases[i].best.ms / base.ms, phases[i].best.cpu.userMs, phases[i].best.cpu.systemMs,
                    phases[i].best.cpu.totalMs() / base.cpu.totalMs());
    }
    std::printf("\nload average (1 min) before %s, after %s, on %ld processors\n", loadBefore.c_str(),
                bench::loadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // The plain loop as a process of its own, started by this program, over
    // one folder or several.
    if (argc >= 3 && std::string_view(argv[1]) == kPlainLoop) {
        try {
            std::size_t listed = 0;
            for (int i = 2; i < argc; ++i)
                listed += bench::readPlainly(argv[i]).listed;
            return listed > 0 ? 0 : 1;
        } catch (const std::exception &error) {
            std::fprintf(stderr, "vellumin-scan-bench: %s\n", error.what());
            return 1;
        }
    }
    if (argc >= 2 && std::string_view(argv[1]) == "--profiles") {
        try {
            return profilesBenchmark(argc, argv);
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
        runRounds(phases, {folder}, {folder});

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
