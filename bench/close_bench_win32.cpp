// Measures how long a window program takes to close: starts PROGRAM, waits
// until its largest visible window has been shown and the program waits for
// input, then asks that window to close (WM_CLOSE, the message that Alt+C and
// the close button post) and times, from that moment, until the window is
// hidden and until the process has ended. Runs RUNS times (5 by default) and
// prints each run and the median of both.
//
//   vellumin-close-bench.exe [--runs RUNS] PROGRAM [ARGUMENT...]
//
// "Hidden" is the window's state as Windows tells it (IsWindowVisible);
// under Wine the display may go on showing the window until Wine has
// withdrawn it, which it does only after waiting for the window manager.
// vellumin-plain-window.exe is a plain list-view window to compare with:
// under Wine, how long any window takes to go depends on the display and
// the window manager as much as on the program.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    HWND largest = nullptr;
    long area = 0;
};

BOOL CALLBACK considerWindow(HWND hwnd, LPARAM found)
{
    auto &search = *reinterpret_cast<Search *>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    RECT r{};
    if (process != search.process || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r))
        return TRUE;
    const long area = (r.right - r.left) * (r.bottom - r.top);
    if (area > search.area) {
        search.area = area;
        search.largest = hwnd;
    }
    return TRUE;
}

double secondsSince(const LARGE_INTEGER &start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A command line argument as CreateProcess reads it back.
std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring result = L"\"";
    for (std::size_t i = 0; i < argument.size(); ++i) {
        std::size_t slashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++slashes;
            ++i;
        }
        if (i == argument.size()) {
            result.append(slashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            result.append(slashes * 2 + 1, L'\\');
        else
            result.append(slashes, L'\\');
        result += argument[i];
    }
    return result + L"\"";
}

struct Timing {
    double hidden;
    double ended;
};

// One run; false when the program shows no window.
bool timeOneClose(std::wstring commandLine, Timing &timing)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return false;
    }
    CloseHandle(started.hThread);
    WaitForInputIdle(started.hProcess, 30000);
    Search search{started.dwProcessId};
    for (int tries = 0; tries < 3000 && !search.largest; ++tries) {
        EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.largest)
            Sleep(10);
    }
    if (!search.largest) {
        std::fprintf(stderr, "the program showed no window\n");
        TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hProcess);
        return false;
    }
    // Let it finish its first paint and its first scan.
    WaitForInputIdle(started.hProcess, 30000);
    Sleep(500);

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageW(search.largest, WM_CLOSE, 0, 0);
    timing.hidden = -1;
    while (WaitForSingleObject(started.hProcess, 1) == WAIT_TIMEOUT)
        if (timing.hidden < 0 && (!IsWindow(search.largest) || !IsWindowVisible(search.largest)))
            timing.hidden = secondsSince(start);
    timing.ended = secondsSince(start);
    if (timing.hidden < 0)
        timing.hidden = timing.ended;
    CloseHandle(started.hProcess);
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    int runs = 5;
    int first = 1;
    if (argc > 2 && std::wcscmp(argv[1], L"--runs") == 0) {
        runs = std::max(1, _wtoi(argv[2]));
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: vellumin-close-bench.exe [--runs RUNS] PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    std::wstring commandLine;
    for (int i = first; i < argc; ++i)
        commandLine += (i > first ? L" " : L"") + quoted(argv[i]);

    std::vector<double> hidden, ended;
    for (int run = 1; run <= runs; ++run) {
        Timing timing{};
        if (!timeOneClose(commandLine, timing))
            return 1;
        std::printf("run %d: hidden after %.3f s, ended after %.3f s\n", run, timing.hidden, timing.ended);
        std::fflush(stdout);
        hidden.push_back(timing.hidden);
        ended.push_back(timing.ended);
    }
    std::printf("median of %d: hidden after %.3f s, ended after %.3f s\n", runs, median(hidden), median(ended));
    return 0;
}
