// Measures the headless scanner, run as its own process as a script would
// run it, against the plain loop that reads the same files: the best time of
// a few runs of each. Output goes to /dev/null, so what is measured is the
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
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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

// Runs the scanner with `options` and the folder, its output to /dev/null.
double runScanner(const std::vector<std::string> &options, const std::string &folder)
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
    while (::waitpid(pid, &status, 0) < 0) {
    }
    const double ms = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("vellumin-scan failed on the generated folder");
    return ms;
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
        double baseline = 0;
        std::vector<double> ms(phases.size(), 0);
        for (int round = 0; round < kRuns; ++round) {
            const double base = bench::readPlainly(folder.path()).ms;
            baseline = round == 0 ? base : std::min(baseline, base);
            for (std::size_t i = 0; i < phases.size(); ++i) {
                const double run = runScanner(phases[i], folder.path());
                ms[i] = round == 0 ? run : std::min(ms[i], run);
            }
        }

        std::printf("%-44s %10s %7s\n", "phase", "ms", "ratio");
        std::printf("%-44s %10.1f %7.2f\n", "baseline read (in process)", baseline, 1.0);
        for (std::size_t i = 0; i < phases.size(); ++i) {
            std::string name = "vellumin-scan";
            for (const std::string &option : phases[i])
                name += " " + option;
            const double ratio = ms[i] / baseline;
            const bool judged = i + 1 == phases.size() && fileCount == kRatioTargetFileCount;
            std::printf("%-44s %10.1f %7.2f %s\n", name.c_str(), ms[i], ratio,
                        judged ? (ratio <= kRatioTarget ? "ok" : "MISS") : "");
        }
        if (fileCount != kRatioTargetFileCount)
            std::printf("\n(the target applies at N = %zu; ratios at other sizes are shown unjudged)\n",
                        kRatioTargetFileCount);
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-scan-bench: %s\n", error.what());
    }
    return 1;
}
