#include "window_baselines_win32.h"

#include "platform/wide_text_win32.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 600;
const wchar_t kCellText[] = L"SID";

LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto &header = *reinterpret_cast<NMHDR *>(lParam);
        if (header.code == LVN_GETDISPINFOW) {
            LVITEMW &item = reinterpret_cast<NMLVDISPINFOW &>(header).item;
            if (item.mask & LVIF_TEXT)
                item.pszText = const_cast<wchar_t *>(kCellText);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A shown top-level window that goes with this.
class BareWindow {
public:
    BareWindow()
    {
        static const ATOM registered = [] {
            WNDCLASSW type{};
            type.lpfnWndProc = &bareWindowProc;
            type.hInstance = GetModuleHandleW(nullptr);
            type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
            type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            type.lpszClassName = L"VelluminBenchBare";
            return RegisterClassW(&type);
        }();
        if (!registered)
            throw std::runtime_error("cannot register the bare window's class");
        m_window = CreateWindowExW(0, L"VelluminBenchBare", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   kWidth + 40, kHeight + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!m_window)
            throw std::runtime_error("cannot make the bare window");
        settleWindow(m_window);
    }
    ~BareWindow() { DestroyWindow(m_window); }
    BareWindow(const BareWindow &) = delete;
    BareWindow &operator=(const BareWindow &) = delete;

    HWND hwnd() const { return m_window; }

    HWND child(const wchar_t *type, DWORD style, DWORD extended = WS_EX_CLIENTEDGE) const
    {
        const HWND made = CreateWindowExW(extended, type, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, kWidth, kHeight,
                                          m_window, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!made)
            throw std::runtime_error("cannot make a bare control");
        return made;
    }

private:
    HWND m_window = nullptr;
};

struct WideStream {
    const std::wstring *text = nullptr;
    std::size_t givenBytes = 0;
};

DWORD CALLBACK streamWide(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given)
{
    auto &stream = *reinterpret_cast<WideStream *>(cookie);
    const std::size_t total = stream.text->size() * sizeof(wchar_t);
    const auto count = std::min(total - stream.givenBytes, static_cast<std::size_t>(wanted));
    std::memcpy(buffer, reinterpret_cast<const BYTE *>(stream.text->data()) + stream.givenBytes, count);
    stream.givenBytes += count;
    *given = static_cast<LONG>(count);
    return 0;
}

} // namespace

void timeStep(WindowStep &into, HWND window, const std::function<void()> &step)
{
    const CpuTime cpuStart = processCpuTime();
    const Clock::time_point start = Clock::now();
    step();
    settleWindow(window);
    keepBest(into, millisecondsSince(start), processCpuTime() - cpuStart);
}

int selectedCount(HWND list)
{
    return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void settleWindow(HWND window)
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void pressKey(HWND control, WPARAM virtualKey, bool shift, bool control_, const std::function<void(MSG &)> &deliver)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before[2] = {keys[VK_SHIFT], keys[VK_CONTROL]};
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control_ ? 0x80 : 0;
    SetKeyboardState(keys);
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG key{control, message, virtualKey, message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(1 | 3u << 30), 0, {}};
        if (deliver)
            deliver(key);
        else
            SendMessageW(control, key.message, key.wParam, key.lParam);
    }
    keys[VK_SHIFT] = before[0];
    keys[VK_CONTROL] = before[1];
    SetKeyboardState(keys);
}

std::vector<WindowStep> measureBareRichEdit(std::string_view crLfText, int runs)
{
    const std::wstring wide = platform::win32::wideFromCp932(crLfText);
    std::vector<WindowStep> steps(3);
    steps[0].label = "bare rich edit streamed, wrapped";
    steps[1].label = "bare rich edit streamed, not wrapped";
    steps[2].label = "bare rich edit streamed, wrapped, no undo";
    LoadLibraryW(L"riched20.dll");
    const BareWindow window;
    for (int variant = 0; variant < 3; ++variant) {
        const bool wrapped = variant != 1;
        WindowStep &step = steps[variant];
        for (int run = 0; run < runs; ++run) {
            // A fresh control each run: emptying one is a cost of its own.
            const HWND edit = window.child(RICHEDIT_CLASSW, WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                                                ES_AUTOVSCROLL | (wrapped ? 0 : ES_AUTOHSCROLL));
            if (wrapped)
                SendMessageW(edit, EM_SETTARGETDEVICE, 0, 0);
            SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
            if (variant == 2)
                SendMessageW(edit, EM_SETUNDOLIMIT, 0, 0);
            settleWindow(window.hwnd());
            WideStream source{&wide, 0};
            EDITSTREAM stream{};
            stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
            stream.pfnCallback = &streamWide;
            timeStep(step, window.hwnd(),
                     [&] { SendMessageW(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream)); });
            GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
            step.outcome = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
            step.outcomeLabel = "characters held";
            DestroyWindow(edit);
        }
    }
    return steps;
}

std::vector<WindowStep> measureBareList(int rows, int columns, int runs)
{
    std::vector<WindowStep> steps(5);
    steps[0].label = "bare list view shown";
    steps[1].label = "bare list view Shift+End";
    steps[2].label = "bare list view Home";
    steps[3].label = "bare list view every row selected";
    steps[4].label = "bare list view selection walked";
    const BareWindow window;
    const HWND list = window.child(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS);
    const DWORD extras = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extras, extras);
    for (int column = 0; column < columns; ++column) {
        wchar_t title[] = L"column";
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH;
        entry.cx = 90;
        entry.pszText = title;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
    }
    SetFocus(list);
    for (int run = 0; run < runs; ++run) {
        SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
        settleWindow(window.hwnd());
        timeStep(steps[0], window.hwnd(), [&] {
            SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
            InvalidateRect(list, nullptr, TRUE);
        });
        pressKey(list, VK_HOME, false, false);
        settleWindow(window.hwnd());
        timeStep(steps[1], window.hwnd(), [&] { pressKey(list, VK_END, true, false); });
        steps[1].outcome = selectedCount(list);
        timeStep(steps[2], window.hwnd(), [&] { pressKey(list, VK_HOME, false, false); });
        steps[2].outcome = selectedCount(list);
        timeStep(steps[3], window.hwnd(), [&] {
            LVITEMW all{};
            all.state = LVIS_SELECTED;
            all.stateMask = LVIS_SELECTED;
            SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
        });
        steps[3].outcome = selectedCount(list);
        long long walked = 0;
        timeStep(steps[4], window.hwnd(), [&] {
            walked = 0;
            for (int row = -1;;) {
                row = static_cast<int>(
                    SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
                if (row < 0)
                    break;
                ++walked;
            }
        });
        steps[4].outcome = walked;
    }
    for (int i = 1; i < 5; ++i)
        steps[i].outcomeLabel = "rows selected";
    return steps;
}

} // namespace bench
