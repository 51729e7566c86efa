#include "win32_dialogs.h"

#include "input_box.h"
#include "platform/wide_text_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace ui::win32 {

// The platform's dialog interface and text conversions, drawn in Win32.
using namespace ::platform;
using namespace ::platform::win32;
namespace {

// The open-file dialog's buffer, in UTF-16 units: room for the longest path
// the system takes, and its NUL.
constexpr std::size_t kFileNameBuffer = 32768;

UINT_PTR CALLBACK placeOpenDialog(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY || reinterpret_cast<const OFNOTIFYW *>(lParam)->hdr.code != CDN_INITDONE)
        return 0;
    // The hook is a child of the dialog; place the dialog itself on the
    // screen that holds the main window.
    const HWND dialog = GetParent(hook);
    const auto *request = reinterpret_cast<const OPENFILENAMEW *>(GetWindowLongPtrW(hook, DWLP_USER));
    const HWND owner = request ? request->hwndOwner : nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const POINT at = openDialogPosition(monitor.rcMonitor, SIZE{frame.right - frame.left, frame.bottom - frame.top});
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

UINT_PTR CALLBACK openDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // lParam is the OPENFILENAMEW the dialog was opened with.
        SetWindowLongPtrW(hook, DWLP_USER, lParam);
        return 0;
    }
    return placeOpenDialog(hook, message, wParam, lParam);
}

// A box with Yes and No but no Cancel answers neither Esc nor its close
// box, as Windows has it; some systems (Wine) answer Cancel. The hook is
// set on this thread for one box only and finds it when it is activated.
constexpr UINT_PTR kNoCancelSubclass = 1;
thread_local HHOOK t_boxHook = nullptr;

LRESULT CALLBACK refuseCancel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        return 0;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
        return 0;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &refuseCancel, kNoCancelSubclass);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK watchForYesNoBox(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = t_boxHook;
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(box, className, static_cast<int>(std::size(className)));
        if (lstrcmpW(className, L"#32770") == 0) {
            SetWindowSubclass(box, &refuseCancel, kNoCancelSubclass, 0);
            UnhookWindowsHookEx(hook);
            t_boxHook = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

POINT openDialogPosition(const RECT &screen, SIZE size)
{
    const LONG width = screen.right - screen.left;
    const LONG height = screen.bottom - screen.top;
    return POINT{screen.left + (width - size.cx) / 2, screen.top + (height - size.cy) / 3};
}

int Win32Dialogs::messageBox(const std::string &text, const std::string &caption, unsigned flags)
{
    if ((flags & MB_TYPEMASK) == MB_YESNO && !t_boxHook)
        t_boxHook = SetWindowsHookExW(WH_CBT, &watchForYesNoBox, nullptr, GetCurrentThreadId());
    // CP932 whatever the system's code page.
    const int answer = MessageBoxW(m_owner, wideFromCp932(text).c_str(), wideFromCp932(caption).c_str(), flags);
    if (t_boxHook) {
        UnhookWindowsHookEx(t_boxHook);
        t_boxHook = nullptr;
    }
    return answer;
}

std::string Win32Dialogs::inputBox(const std::string &caption, const std::string &prompt,
                                   const std::string &defaultText)
{
    InputBox box(caption, prompt, defaultText);
    return box.exec(m_owner);
}

std::optional<NamedPath> Win32Dialogs::openFileName(const OpenFileRequest &request)
{
    std::vector<wchar_t> fileName(kFileNameBuffer, L'\0');
    const std::wstring previous = wideFromNative(request.fileName.native);
    std::copy_n(previous.begin(), std::min(previous.size(), kFileNameBuffer - 1), fileName.begin());
    const std::wstring defaultExtension = wideFromCp932(request.defaultExtension);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    // Handed over as it is, asterisk included.
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    // The file types as pairs of NUL-ended texts, ended by one more NUL.
    std::wstring filter;
    for (const FileFilter &type : request.filters)
        filter.append(wideFromCp932(type.description))
            .append(1, L'\0')
            .append(wideFromCp932(type.pattern))
            .append(1, L'\0');
    if (!filter.empty()) {
        filter.append(1, L'\0');
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
    }
    const std::wstring initialFolder = wideFromNative(request.initialFolder.native);
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    // The default title; a name that does not exist is an answer too, since
    // only its folder counts.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    dialog.lpfnHook = &openDialogHook;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return namedPath(nativeFromWide(fileName.data()));
}

} // namespace ui::win32
