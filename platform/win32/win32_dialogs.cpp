#include "win32_dialogs.h"

#include "input_box.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace platform::win32 {
namespace {

// The open-file dialog's buffer: room for a long path and its NUL.
constexpr std::size_t kFileNameBuffer = 1024;

UINT_PTR CALLBACK placeOpenDialog(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY || reinterpret_cast<const OFNOTIFYA *>(lParam)->hdr.code != CDN_INITDONE)
        return 0;
    // The hook is a child of the dialog; place the dialog itself on the
    // screen that holds the main window.
    const HWND dialog = GetParent(hook);
    const auto *request = reinterpret_cast<const OPENFILENAMEA *>(GetWindowLongPtrA(hook, DWLP_USER));
    const HWND owner = request ? request->hwndOwner : nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const POINT at = openDialogPosition(monitor.rcMonitor, SIZE{frame.right - frame.left, frame.bottom - frame.top});
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

UINT_PTR CALLBACK openDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // lParam is the OPENFILENAMEA the dialog was opened with.
        SetWindowLongPtrA(hook, DWLP_USER, lParam);
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
        char className[16] = {};
        GetClassNameA(box, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0) {
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
        t_boxHook = SetWindowsHookExA(WH_CBT, &watchForYesNoBox, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(m_owner, text.c_str(), caption.c_str(), flags);
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
    std::vector<char> fileName(kFileNameBuffer, '\0');
    const std::string &previous = request.fileName.native;
    std::copy_n(previous.begin(), std::min(previous.size(), kFileNameBuffer - 1), fileName.begin());

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    // Handed over as it is, asterisk included.
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    // The file types as pairs of NUL-ended texts, ended by one more NUL.
    std::string filter;
    for (const FileFilter &type : request.filters)
        filter.append(type.description).append(1, '\0').append(type.pattern).append(1, '\0');
    if (!filter.empty()) {
        filter.append(1, '\0');
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
    }
    dialog.lpstrInitialDir = request.initialFolder.native.empty() ? nullptr : request.initialFolder.native.c_str();
    // The default title; a name that does not exist is an answer too, since
    // only its folder counts.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    dialog.lpfnHook = &openDialogHook;
    if (!GetOpenFileNameA(&dialog))
        return std::nullopt;
    // On Windows the native path and the shown one are the same CP932 bytes.
    const std::string chosen(fileName.data());
    return NamedPath{chosen, chosen};
}

} // namespace platform::win32
