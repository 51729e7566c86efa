// A screen reader's view of the events a process raises, from outside it:
// hooks the focus events of process PID out of context, as a screen reader
// does, prints "ready" once it has heard the event kHello from it (a hook
// may take a moment to reach the process), and when the process raises the
// event kDone prints every focus event it heard after kHello, in the order
// heard, one a line: "HWND OBJECT CHILD" in decimal. Gives up after 30
// seconds without kDone (exit status 2).
//
//   win_event_recorder PID

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Event ids of the range left to applications, raised by the test: until
// the listener answers, and when everything it wants heard is raised.
constexpr DWORD kHello = 0x0101; // EVENT_OEM_DEFINED_START
constexpr DWORD kDone = 0x0102;

struct Heard {
    HWND hwnd;
    LONG object;
    LONG child;
};
std::vector<Heard> g_heard;
bool g_heardHello = false;
bool g_done = false;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (event == kHello && !g_heardHello) {
        g_heardHello = true;
        std::printf("ready\n");
        std::fflush(stdout);
    } else if (event == kDone) {
        g_done = true;
        PostQuitMessage(0);
    } else if (event == EVENT_OBJECT_FOCUS && g_heardHello) {
        g_heard.push_back({hwnd, object, child});
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: win_event_recorder PID\n");
        return 2;
    }
    // Lines end in LF alone: the test reads them as they are.
    _setmode(_fileno(stdout), _O_BINARY);
    const auto process = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    const HWINEVENTHOOK focus =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &onEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    const HWINEVENTHOOK ours = SetWinEventHook(kHello, kDone, nullptr, &onEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!focus || !ours) {
        std::fprintf(stderr, "win_event_recorder: cannot hook the events (error %lu)\n", GetLastError());
        return 2;
    }

    const UINT_PTR timer = SetTimer(nullptr, 0, 30000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == timer)
            break;
        DispatchMessageW(&message);
    }
    UnhookWinEvent(focus);
    UnhookWinEvent(ours);
    for (const Heard &heard : g_heard)
        std::printf("%llu %ld %ld\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(heard.hwnd)),
                    heard.object, heard.child);
    std::fflush(stdout);
    return g_done ? 0 : 2;
}
