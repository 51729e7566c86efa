// Measures the Windows window: the start-up to the painted table, as a
// process of its own; the scan of N cookie files through the window until the
// grid is painted, against the plain loop of FindFirstFileW, CreateFileW,
// one ReadFile and CloseHandle over the same files in the same process; and
// moving from the first row to the last with the paint of that page. The
// folder and the plain loop are the listing benchmark's own.
//
//   vellumin-window-bench.exe [N] [--folder FOLDER]
//   vellumin-window-bench.exe --startup [M]
//                         only the start-up: the window as the program makes
//                         it, with its first scan of the default cookie
//                         folder, until the table is painted; with M, the
//                         number of rows the table must have
//   vellumin-window-bench.exe --startup-files M [N] [--folder FOLDER]
//                         first fills the default cookie folder (the Windows
//                         folder's Cookies) with M cookie files when it is
//                         empty: for a Wine prefix made for the benchmark only
//
//   vellumin-window-bench.exe --big [MB...]
//                         only big files, one at a time (1, 5, 20 and 100 MB
//                         when none is given): each selected until its text
//                         is painted, with the heap peak meanwhile; its
//                         cookie tab until the table is painted; Shift+End,
//                         Home, Ctrl+A and Ctrl+C in the table, each until
//                         painted; then a bare rich edit streamed the same
//                         text and a bare virtual list of the same rows (up
//                         to 20 MB)
//
// N cookie files, 100000 when not given. "--folder FOLDER" keeps the folder:
// filled when empty, taken as it is when an earlier run (of this benchmark or
// the listing's, on either system) filled it with N files, since Wine would
// take most of an hour to make 100,000 files. The start-up is measured in a
// process started for it (this program with --startup), on whatever the
// default cookie folder holds: scripts/run-windows.sh --bench has it filled
// with 20,000 files (--startup-files) in a prefix of its own.
//
// Run under Wine it needs a display (Xvfb will do). Figures are printed,
// never judged: the exit status is 1 only when the window cannot be made, or
// lists a different number of files than the folder holds (at the start-up,
// the M files made there by this run).

#include "cookie_folder.h"
#include "heap_count.h"
#include "plain_read.h"
#include "quiet_services.h"
#include "window_baselines_win32.h"
#include "window_report.h"

#include "listing/content_pane.h"
#include "listing/cookie_listing.h"
#include "listing/cookie_table.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "ui/win32/main_window_host.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using bench::Clock;
using bench::millisecondsSince;

constexpr std::size_t kDefaultFileCount = 100000;
constexpr int kRuns = 3;
constexpr double kScanRatioTarget = 1.5;
constexpr double kStartupTargetMs = 1000.0;
constexpr double kScrollTargetMs = 50.0;
constexpr std::size_t kBareUpToBytes = std::size_t(20) << 20;

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
    std::fputs("usage: vellumin-window-bench [--startup-files M] [N] [--folder FOLDER]   (N cookie files, default "
               "100000)\n"
               "       vellumin-window-bench --startup [M]   (M rows expected)\n"
               "       vellumin-window-bench --big [MB...]   (default 1 5 20 100)\n",
               stderr);
    return 2;
}

// The window made, or an error that says why not. Under Wine, a window
// fails to appear when this prefix's wineserver was started without the
// display this process has (by wineboot or reg run with no DISPLAY): then
// nothing of the window's would be measured, its first scan included.
HWND makeWindow(ui::win32::MainWindowHost &form)
{
    const HWND window = form.create();
    if (!window)
        throw std::runtime_error("cannot make the window; under Wine, end a wineserver started without this "
                                 "display first (wineserver -k)");
    return window;
}

// Now and a FILETIME as ms on one clock.
double filetimeMs(const FILETIME &time)
{
    return static_cast<double>(static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e4;
}

double nowMs()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return filetimeMs(now);
}

// The start-up as the program does it: the window made (its first scan of
// the default cookie folder inside), shown and painted. Timed from the
// process's creation, and in parts. 1 when the window cannot be made, or
// when `expectedRows` is given and the table has another number of rows.
int measureStartup(std::optional<std::size_t> expectedRows)
try {
    const double mainMs = nowMs();
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    bench::PrintingDialogs dialogs;
    bench::NoDesktop desktop;
    ui::win32::MainWindowHost form(dialogs, desktop);
    const double createStart = nowMs();
    const HWND window = makeWindow(form);
    const double createdMs = nowMs();
    form.show(SW_SHOWNORMAL);
    settle(window);
    const double paintedMs = nowMs();
    const bench::CpuTime cpu = bench::processCpuTime();
    const double fromCreation = paintedMs - filetimeMs(created);
    // The same scan again, as ReLoad runs it: what the first one cost
    // beyond the scan itself was the start-up's own.
    const double reloadStart = nowMs();
    form.window().perform(ui::form::Command::Reload);
    settle(window);
    const double reloadMs = nowMs() - reloadStart;
    // And the plain loop over the same folder: the least that reading its
    // files costs here.
    double plainMs = 0;
    try {
        plainMs = bench::readPlainly(form.cookies().listedFolder()).ms;
    } catch (const std::exception &) {
        // no folder: nothing to read
    }
    const int rows = form.cookies().table().dataRowCount();
    std::printf("start-up to the painted table, %d rows: %.1f ms from the process's creation %s (target < %.0f ms)\n"
                "  of which: until main %.1f, the window made (its first scan inside) %.1f, shown and painted %.1f;\n"
                "  user %.1f ms, system %.1f ms; the same scan again through ReLoad until painted: %.1f ms,\n"
                "  the plain loop over the same files: %.1f ms\n",
                rows, fromCreation, fromCreation < kStartupTargetMs ? "ok" : "MISS", kStartupTargetMs,
                mainMs - filetimeMs(created), createdMs - createStart, paintedMs - createdMs, cpu.userMs, cpu.systemMs,
                reloadMs, plainMs);
    std::fflush(stdout);
    if (expectedRows && static_cast<std::size_t>(rows) != *expectedRows) {
        std::fprintf(stderr,
                     "vellumin-window-bench: at the start-up the window listed %d files, the folder holds %zu\n", rows,
                     *expectedRows);
        return 1;
    }
    return 0;
} catch (const std::exception &error) {
    std::fprintf(stderr, "vellumin-window-bench: %s\n", error.what());
    return 1;
}

// This program again with --startup, for a start-up of its own, which is to
// list `expectedRows` files when that is known; whether it did.
bool runStartup(std::optional<std::size_t> expectedRows)
{
    wchar_t program[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return false;
    std::wstring commandLine = L"\"" + std::wstring(program, length) + L"\" --startup";
    if (expectedRows)
        commandLine += L" " + std::to_wstring(*expectedRows);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

// Characters of Unicode text on the clipboard, or -1.
long long clipboardCharacters(HWND owner)
{
    if (!OpenClipboard(owner))
        return -1;
    long long characters = -1;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *text = static_cast<const wchar_t *>(GlobalLock(data))) {
            characters = static_cast<long long>(wcslen(text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return characters;
}

// One cookie file of `bytes` through the window, then the bare controls.
void measureBigFile(ui::win32::MainWindowHost &form, HWND window, std::size_t bytes)
{
    const bench::TempFolder folder("vellumin-window-bench-big");
    const std::string file = folder.path() + "\\big@www.example.com[1].txt";
    const std::size_t records = bench::writeBigCookieFile(file, bytes);
    form.cookies().state().setCookiesPath(platform::namedPath(folder.path()));
    ui::MainWindow &main = form.window();
    const HWND list = form.controlOf(ui::form::Id::CookieView);
    const auto deliver = [&form](MSG &key) {
        if (!form.translate(key)) {
            TranslateMessage(&key);
            DispatchMessageW(&key);
        }
    };

    std::vector<bench::WindowStep> steps = bench::bigFileSteps();
    steps.emplace_back().label = "another listing, the text let go";
    std::size_t heapPeak = 0;
    for (int run = 0; run < kRuns; ++run) {
        main.contentViewChosen(ui::form::ContentView::Text);
        settle(window);
        // A rescan empties the pane, so that the text is shown anew:
        // after the first run, it lets go of the big text.
        const auto relist = [&] { main.perform(ui::form::Command::Reload); };
        if (run == 0) {
            relist();
            settle(window);
        } else {
            bench::timeStep(steps[6], window, relist);
        }
        const std::size_t live = bench::resetHeapPeak();
        bench::timeStep(steps[0], window, [&] { main.run([&form] { form.cookies().readRowFile(1); }); });
        heapPeak = std::max(heapPeak, bench::heapPeakBytes() - live);
        steps[0].outcome = static_cast<long long>(form.contentPane().layout().lines().lineCount());
        steps[0].outcomeLabel = "lines shown";

        bench::timeStep(steps[1], window, [&] { main.contentViewChosen(ui::form::ContentView::Cookies); });
        steps[1].outcome = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        steps[1].outcomeLabel = "rows";
        SetFocus(list);
        bench::pressKey(list, VK_HOME, false, false, deliver);
        settle(window);
        bench::timeStep(steps[2], window, [&] { bench::pressKey(list, VK_END, true, false, deliver); });
        steps[2].outcome = bench::selectedCount(list);
        bench::timeStep(steps[3], window, [&] { bench::pressKey(list, VK_HOME, false, false, deliver); });
        steps[3].outcome = bench::selectedCount(list);
        bench::timeStep(steps[4], window, [&] { bench::pressKey(list, 'A', false, true, deliver); });
        steps[4].outcome = bench::selectedCount(list);
        if (steps[4].outcome != steps[1].outcome) {
            // Ctrl+A did not select them all: select them, so that Ctrl+C
            // copies every row all the same.
            LVITEMW all{};
            all.state = LVIS_SELECTED;
            all.stateMask = LVIS_SELECTED;
            SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
            settle(window);
        }
        bench::timeStep(steps[5], window, [&] { bench::pressKey(list, 'C', false, true, deliver); });
        steps[5].outcome = clipboardCharacters(window);
        steps[5].outcomeLabel = "characters copied";
    }
    for (int i = 2; i < 5; ++i)
        steps[i].outcomeLabel = "rows selected";
    std::printf("\n%zu cookies; load average %s", records, bench::loadAverage().c_str());
    bench::printBigFileSteps("through the window", bytes, heapPeak, steps.data(), steps.size());
    std::fflush(stdout);

    // The bare controls: the same text (widened as the pane shows it) and
    // the same number of rows. Above kBareUpToBytes Wine's own controls take
    // many minutes a step (their cost grows faster than the file): they are
    // left out, and the smaller files' figures stand for them.
    if (bytes > kBareUpToBytes) {
        main.perform(ui::form::Command::Reload);
        settle(window);
        std::printf("\nbare controls: not measured above %zu MB (minutes a step under Wine)\n",
                    kBareUpToBytes >> 20);
        std::fflush(stdout);
        return;
    }
    std::string text = std::string(form.cookies().contentPane().rawText());
    main.perform(ui::form::Command::Reload);
    settle(window);
    listing::widenLineEnds(text);
    // One run each above 4 MB: the bare rich edit takes seconds a megabyte.
    std::vector<bench::WindowStep> bare = bench::measureBareRichEdit(text, bytes > (4u << 20) ? 1 : kRuns);
    text.clear();
    text.shrink_to_fit();
    const std::vector<bench::WindowStep> bareList = bench::measureBareList(
        static_cast<int>(steps[1].outcome), listing::CookieTable::kColumnCount, bytes > (4u << 20) ? 1 : kRuns);
    bare.insert(bare.end(), bareList.begin(), bareList.end());
    bench::printBigFileSteps("bare controls", bytes, 0, bare.data(), bare.size());
    std::fflush(stdout);
}

// The big files of --big, one window for all.
int measureBigFiles(int argc, char **argv)
try {
    std::vector<std::size_t> megabytes;
    for (int i = 0; i < argc; ++i) {
        char *end = nullptr;
        const unsigned long value = std::strtoul(argv[i], &end, 10);
        if (!end || *end || value == 0 || value > 2000)
            return usage();
        megabytes.push_back(value);
    }
    if (megabytes.empty())
        megabytes = {1, 5, 20, 100};
    bench::PrintingDialogs dialogs;
    bench::NoDesktop desktop;
    ui::win32::MainWindowHost form(dialogs, desktop);
    const HWND window = makeWindow(form);
    form.show(SW_SHOWNORMAL);
    settle(window);
    std::printf("vellumin-window-bench --big (Win32), best of %d runs each\n", kRuns);
    for (const std::size_t size : megabytes)
        measureBigFile(form, window, size << 20);
    return 0;
} catch (const std::exception &error) {
    std::fprintf(stderr, "vellumin-window-bench: %s\n", error.what());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && std::string_view(argv[1]) == "--big")
        return measureBigFiles(argc - 2, argv + 2);
    if (argc >= 2 && std::string_view(argv[1]) == "--startup") {
        if (argc == 2)
            return measureStartup(std::nullopt);
        const std::optional<std::size_t> expectedRows = bench::fileCountArgument(argc - 1, argv + 1, 0);
        return expectedRows ? measureStartup(expectedRows) : usage();
    }
    std::size_t startupFiles = 0;
    if (argc >= 3 && std::string_view(argv[1]) == "--startup-files") {
        const std::optional<std::size_t> count = bench::fileCountArgument(2, argv + 1, 0);
        if (!count)
            return usage();
        startupFiles = *count;
        argv[2] = argv[0];
        argc -= 2;
        argv += 2;
    }
    const char *keptFolder = bench::takeFolderArgument(argc, argv);
    const std::optional<std::size_t> fileCountArg = bench::fileCountArgument(argc, argv, kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;

    try {
        // The rows the start-up must list: known when this run made them.
        std::optional<std::size_t> startupRows;
        if (startupFiles > 0) {
            char windows[MAX_PATH + 1] = {};
            const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
            if (length == 0 || length > MAX_PATH)
                throw std::runtime_error("cannot find the Windows folder");
            const std::string cookies = std::string(windows, length) + "\\Cookies";
            CreateDirectoryA(cookies.c_str(), nullptr);
            if (bench::readPlainly(cookies).listed == 0) {
                bench::makeCookieFolder(cookies, startupFiles);
                startupRows = startupFiles;
            }
        }
        const bool startupMeasured = runStartup(startupRows);
        std::optional<bench::TempFolder> temporary;
        const std::string path =
            keptFolder ? std::string(keptFolder) : temporary.emplace("vellumin-window-bench").path();
        const bool filled = keptFolder && bench::readPlainly(path).listed > 0;
        bench::makeCookieFolder(path, fileCount, !filled);
        bench::readPlainly(path); // warms the caches
        std::size_t baselineFiles = 0;
        double baselineMs = 0;
        bench::CpuTime baselineCpu{}; // of the run that took the least processor time
        for (int run = 0; run < kRuns; ++run) {
            const bench::Run baseline = bench::readPlainly(path);
            baselineFiles = baseline.listed;
            baselineMs = run == 0 ? baseline.ms : std::min(baselineMs, baseline.ms);
            if (run == 0 || baseline.cpu.totalMs() < baselineCpu.totalMs())
                baselineCpu = baseline.cpu;
        }

        bench::PrintingDialogs dialogs;
        bench::NoDesktop desktop;
        ui::win32::MainWindowHost form(dialogs, desktop);
        const HWND window = makeWindow(form);
        form.show(SW_SHOWNORMAL);
        settle(window);
        form.cookies().state().setCookiesPath(platform::namedPath(path));

        // A rescan as the ReLoad command runs it, until the grid is painted.
        double scanMs = 0;
        bench::CpuTime scanCpu{};
        for (int run = 0; run < kRuns; ++run) {
            const bench::CpuTime cpuStart = bench::processCpuTime();
            const Clock::time_point start = Clock::now();
            form.window().perform(ui::form::Command::Reload);
            settle(window);
            const double ms = millisecondsSince(start);
            const bench::CpuTime cpu = bench::processCpuTime() - cpuStart;
            scanMs = run == 0 ? ms : std::min(scanMs, ms);
            if (run == 0 || cpu.totalMs() < scanCpu.totalMs())
                scanCpu = cpu;
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

        std::printf("vellumin-window-bench (Win32)\n");
        bench::printWindowScan({fileCount, kRuns, baselineMs, baselineCpu, scanMs, scanCpu, kScanRatioTarget,
                                "first -> last row and paint", scrollMs, kScrollTargetMs,
                                atBottom ? "" : "  [did not reach the last row]"});
        std::fflush(stdout);

        if (static_cast<std::size_t>(rows) != fileCount || baselineFiles != fileCount) {
            std::fprintf(stderr, "vellumin-window-bench: the window listed %d files, the folder holds %zu\n", rows,
                         fileCount);
            return 1;
        }
        return startupMeasured ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-window-bench: %s\n", error.what());
    }
    return 1;
}
