// Measures the Windows window: the scan of N cookie files through TForm1
// until the grid is painted, against the plain loop of FindFirstFileA,
// CreateFileA, ReadFile and CloseHandle over the same files in the same
// process; and moving from the first row to the last with the paint of that
// page. The folder and the plain loop are the listing benchmark's own.
//
//   vellumin-window-bench.exe [N] [--folder FOLDER]
//
// N cookie files, 100000 when not given. "--folder FOLDER" keeps the folder:
// filled when empty, taken as it is when an earlier run (of this benchmark or
// the listing's, on either system) filled it with N files, since Wine would
// take most of an hour to make 100,000 files.
//
// Run under Wine it needs a display (Xvfb will do). Figures are printed,
// never judged: the exit status is 1 only when the window lists a different
// number of files than the folder holds.

#include "cookie_folder.h"
#include "plain_read.h"

#include "listing/cookie_listing.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "ui/commands.h"
#include "ui/win32/tform1.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

using bench::Clock;
using bench::millisecondsSince;

constexpr std::size_t kDefaultFileCount = 100000;
constexpr int kRuns = 3;
constexpr double kScanRatioTarget = 2.0;
constexpr double kScrollTargetMs = 50.0;

// Errors go to standard error; no box may wait for an answer here.
class PrintingDialogs : public platform::Dialogs {
public:
    int messageBox(const std::string &text, const std::string &, unsigned) override
    {
        std::fprintf(stderr, "error box: %s\n", text.c_str());
        return platform::msgbox::kIdOk;
    }
    std::string inputBox(const std::string &, const std::string &, const std::string &defaultText) override
    {
        return defaultText;
    }
    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &) override { return std::nullopt; }
};

class NoDesktop : public platform::Desktop {
public:
    platform::DocumentOpening openDocument(const std::string &, const std::string &) override { return {true, {}}; }
};

// Handles what is pending, and paints what is invalid, now.
void settle(HWND window)
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int usage()
{
    std::fputs("usage: vellumin-window-bench [N] [--folder FOLDER]   (N cookie files, default 100000)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const char *keptFolder = nullptr;
    if (argc >= 3 && std::string_view(argv[argc - 2]) == "--folder") {
        keptFolder = argv[argc - 1];
        argc -= 2;
    }
    const std::optional<std::size_t> fileCountArg = bench::fileCountArgument(argc, argv, kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;

    try {
        std::optional<bench::TempFolder> temporary;
        const std::string path =
            keptFolder ? std::string(keptFolder) : temporary.emplace("vellumin-window-bench").path();
        const bool filled = keptFolder && bench::readPlainly(path).listed > 0;
        bench::makeCookieFolder(path, fileCount, !filled);
        bench::readPlainly(path); // warms the caches
        std::size_t baselineFiles = 0;
        double baselineMs = 0;
        for (int run = 0; run < kRuns; ++run) {
            const bench::Run baseline = bench::readPlainly(path);
            baselineFiles = baseline.listed;
            baselineMs = run == 0 ? baseline.ms : std::min(baselineMs, baseline.ms);
        }

        PrintingDialogs dialogs;
        NoDesktop desktop;
        ui::win32::TForm1 form(dialogs, desktop);
        const HWND window = form.create();
        form.show(SW_SHOWNORMAL);
        settle(window);
        form.cookies().state().setCookiesPath(platform::namedPath(path));

        // A rescan as the ReLoad command runs it, until the grid is painted.
        double scanMs = 0;
        for (int run = 0; run < kRuns; ++run) {
            const Clock::time_point start = Clock::now();
            form.run(&ui::Commands::stReLoadClick);
            settle(window);
            const double ms = millisecondsSince(start);
            scanMs = run == 0 ? ms : std::min(scanMs, ms);
        }
        const int rows = form.cookies().table().dataRowCount();

        // From the first row to the last (the End key), and the paint of the
        // last page.
        const HWND grid = form.grid().hwnd();
        double scrollMs = 0;
        for (int run = 0; run < kRuns; ++run) {
            SendMessageA(grid, WM_KEYDOWN, VK_HOME, 0);
            settle(window);
            const Clock::time_point start = Clock::now();
            SendMessageA(grid, WM_KEYDOWN, VK_END, 0);
            RedrawWindow(grid, nullptr, nullptr, RDW_UPDATENOW);
            const double ms = millisecondsSince(start);
            scrollMs = run == 0 ? ms : std::min(scrollMs, ms);
        }
        const bool atBottom = form.grid().currentRow() == rows;

        const double ratio = scanMs / baselineMs;
        std::printf("vellumin-window-bench (Win32)\n");
        std::printf("%zu cookie files, best of %d runs\n", fileCount, kRuns);
        std::printf("%-40s %10s %7s\n", "phase", "ms", "ratio");
        std::printf("%-40s %10.1f %7.2f\n", "baseline read", baselineMs, 1.0);
        std::printf("%-40s %10.1f %7.2f %s (target <= %.1f)\n", "scan through the window until painted", scanMs, ratio,
                    ratio <= kScanRatioTarget ? "ok" : "MISS", kScanRatioTarget);
        std::printf("%-40s %10.1f %7s %s (target < %.0f ms)%s\n", "first -> last row and paint", scrollMs, "-",
                    scrollMs < kScrollTargetMs ? "ok" : "MISS", kScrollTargetMs,
                    atBottom ? "" : "  [did not reach the last row]");
        std::fflush(stdout);

        if (static_cast<std::size_t>(rows) != fileCount || baselineFiles != fileCount) {
            std::fprintf(stderr, "vellumin-window-bench: the window listed %d files, the folder holds %zu\n", rows,
                         fileCount);
            return 1;
        }
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-window-bench: %s\n", error.what());
    }
    return 1;
}
