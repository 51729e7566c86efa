// vellumin.exe's command line as a user or a script runs it: the program has
// no console, so help, version and mistakes come in a box of its own, and
// the exit status tells which it was. The box is read and answered from
// here, as another program sees it.

#include "platform/wide_text_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The built program, as Wine names the build machine's path.
std::wstring programPath()
{
    std::wstring path = L"Z:" + platform::win32::wideFromNative(VELLUMIN_EXE);
    for (wchar_t &c : path)
        c = c == L'/' ? L'\\' : c;
    return path;
}

std::string sentText(HWND hwnd)
{
    wchar_t text[4096] = {};
    SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return platform::win32::nativeFromWide(text);
}

struct BoxSearch {
    DWORD process;
    HWND box;
};

BOOL CALLBACK findBox(HWND hwnd, LPARAM data)
{
    auto *search = reinterpret_cast<BoxSearch *>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    if (process == search->process && IsWindowVisible(hwnd) && std::wstring(className) == L"#32770") {
        search->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectStatics(HWND hwnd, LPARAM data)
{
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    if (_wcsicmp(className, L"Static") == 0)
        *reinterpret_cast<std::string *>(data) += sentText(hwnd);
    return TRUE;
}

struct Outcome {
    std::string caption; // of the box; empty when none came
    std::string text;
    DWORD status = 0xFFFFFFFF;
};

// Runs vellumin.exe with `arguments`, reads the box it shows and presses its
// OK button, then waits for the exit status. A box that never comes, or a
// program that never ends, fails the test instead of hanging it.
Outcome run(const std::wstring &arguments)
{
    Outcome outcome;
    std::wstring commandLine = L"\"" + programPath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start vellumin.exe: " << GetLastError();
        return outcome;
    }
    BoxSearch search{process.dwProcessId, nullptr};
    for (int tick = 0; tick < 600 && !search.box; ++tick) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    }
    if (search.box) {
        outcome.caption = sentText(search.box);
        EnumChildWindows(search.box, collectStatics, reinterpret_cast<LPARAM>(&outcome.text));
        PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "vellumin.exe did not end";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &outcome.status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

TEST(WindowCommandLine, HelpAndVersionInABoxThenExitZero)
{
    const Outcome help = run(L"--help");
    EXPECT_EQ(help.caption, "Vellumin");
    EXPECT_EQ(help.text.rfind("usage: vellumin ", 0), 0u) << help.text;
    EXPECT_NE(help.text.find("-h, --help"), std::string::npos) << help.text;
    // Windows users have the help file, not a manual page.
    EXPECT_NE(help.text.find("README.TXT"), std::string::npos) << help.text;
    EXPECT_EQ(help.status, 0u);

    const Outcome version = run(L"--version");
    EXPECT_EQ(version.text, "vellumin " VELLUMIN_TEST_VERSION "\n");
    EXPECT_EQ(version.status, 0u);
}

TEST(WindowCommandLine, MistakesInABoxThenExitTwo)
{
    // An empty folder name (an unset variable) would list the root folder.
    const Outcome empty = run(L"\"\"");
    EXPECT_EQ(empty.text.rfind("vellumin: the folder name is empty\nusage: vellumin ", 0), 0u) << empty.text;
    EXPECT_EQ(empty.status, 2u);

    // The option named as given (here in UTF-8: "--bé表"), whatever the
    // code page.
    const Outcome unknown = run(L"--b\u00e9\u8868");
    EXPECT_EQ(unknown.text.rfind("vellumin: unknown option '--b\xc3\xa9\xe8\xa1\xa8'\n", 0), 0u) << unknown.text;
    EXPECT_EQ(unknown.status, 2u);
}

} // namespace
