// The program itself, started as a user starts it, on a Windows set to
// UTF-8: vellumin_utf8.exe is vellumin.exe built with UTF-8 added to its own
// manifest, beside this test program. It is given a Japanese folder on its
// command line, and read from outside, as the user sees it.

#include "win32_test_support.h"

#include "listing/messages.h"
#include "platform/wide_text_win32.h"

#include <commctrl.h>

#include <string>

namespace {

using platform::win32::cp932FromWide;
using platform::win32::wideFromNative;

struct FoundWindows {
    DWORD process = 0;
    HWND main = nullptr;
    HWND statusBar = nullptr;
};

BOOL CALLBACK findStatusBar(HWND hwnd, LPARAM found)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (std::wstring(name) == STATUSCLASSNAMEW)
        reinterpret_cast<FoundWindows *>(found)->statusBar = hwnd;
    return TRUE;
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM found)
{
    auto &windows = *reinterpret_cast<FoundWindows *>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (process != windows.process || std::wstring(name) != L"VelluminWindow")
        return TRUE;
    windows.main = hwnd;
    EnumChildWindows(hwnd, &findStatusBar, found);
    return FALSE;
}

// A window's text as CP932, through WM_GETTEXT, which reaches other processes.
std::string textOf(HWND hwnd)
{
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return cp932FromWide(text);
}

// The status bar's text: its own message, answered into memory of the
// program's process and read from there.
std::string statusText(HANDLE process, HWND bar)
{
    constexpr SIZE_T kBytes = 4096;
    void *remote = VirtualAllocEx(process, nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return "(no memory in the program's process)";
    wchar_t text[kBytes / sizeof(wchar_t)] = {};
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) &&
        LOWORD(length) < kBytes / sizeof(wchar_t) &&
        SendMessageTimeoutW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, nullptr))
        ReadProcessMemory(process, remote, text, kBytes - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return cp932FromWide(text);
}

std::wstring besideThisProgram(const wchar_t *name)
{
    wchar_t self[MAX_PATH] = {};
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.erase(path.find_last_of(L'\\') + 1) + name;
}

TEST(RealProgram, UnderUtf8ListsTheJapaneseFolderOfItsCommandLine)
{
    CookieFolder folder;
    const std::string japanese = nativeName("c表");
    folder.makeFolder(japanese);
    folder.write(japanese + "\\" + nativeName("ソ@表.txt"), "uid\r\n表示\r\nso.example/\r\n");
    folder.write(japanese + "\\" + nativeName("u@b.txt"), "uid\r\nv\r\nb.example/\r\n");

    std::wstring command =
        L"\"" + besideThisProgram(L"vellumin_utf8.exe") + L"\" \"" + wideFromNative(folder / japanese) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << GetLastError();
    CloseHandle(process.hThread);

    // Its window, once the listing it starts with is over.
    const std::string shownFolder = folder.path() + "\\c表";
    const std::string expectedCaption = "< CookiesPath:[" + shownFolder + "\\] >";
    const std::string expectedStatus = listing::messages::cookiesFound(2);
    FoundWindows windows;
    windows.process = process.dwProcessId;
    std::string caption;
    std::string status;
    for (int attempt = 0; attempt < 600 && WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT; ++attempt) {
        windows.main = windows.statusBar = nullptr;
        EnumWindows(&findMainWindow, reinterpret_cast<LPARAM>(&windows));
        if (!windows.main || !windows.statusBar)
            continue;
        caption = textOf(windows.main);
        status = statusText(process.hProcess, windows.statusBar);
        if (status == expectedStatus)
            break;
    }
    ASSERT_NE(windows.main, nullptr) << "vellumin_utf8.exe showed no window";
    EXPECT_TRUE(caption.ends_with(expectedCaption)) << caption;
    EXPECT_EQ(status, expectedStatus);

    // Closed as the user closes it, it ends well.
    PostMessageW(windows.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (exitCode == STILL_ACTIVE)
        TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hProcess);
}

} // namespace
