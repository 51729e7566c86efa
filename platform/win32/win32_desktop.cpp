#include "win32_desktop.h"

#include "platform/wide_text_win32.h"

#include <shellapi.h>

#include <string>

namespace platform::win32 {
namespace {

// The system folder, where Windows keeps its own programs.
std::wstring systemFolder()
{
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0)
            return {};
        if (length < folder.size()) {
            folder.resize(length);
            return folder;
        }
        folder.resize(length);
    }
}

// A working folder the system takes: one it cannot (too long for it) is
// left out, and the program's own is used.
const wchar_t *workingFolder(const std::wstring &folder)
{
    return folder.empty() || folder.size() >= MAX_PATH ? nullptr : folder.c_str();
}

// Whether file `path` is there. The shell's "file not found" is no proof
// that it is not: a handler whose program has gone gives the same.
bool isThere(const std::wstring &path)
{
    const bool isLong = path.size() >= MAX_PATH && path.size() > 2 && path[1] == L':';
    const std::wstring asked = isLong ? L"\\\\?\\" + path : path;
    const DWORD attributes = GetFileAttributesW(asked.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool Win32Desktop::openWithNotepad(const std::wstring &path, const std::wstring &folder)
{
    // The system's own Notepad by its full path, never one found through
    // the search path (the program's folder or the working folder could
    // hold another).
    const std::wstring system = systemFolder();
    if (system.empty())
        return false;
    const std::wstring notepad = system + L"\\notepad.exe";
    std::wstring commandLine = L"\"" + notepad + L"\" \"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(notepad.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder(folder),
                        &startup, &process))
        return false;
    m_lastNotepad = process.dwProcessId;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

DocumentOpening Win32Desktop::openDocument(const std::string &nativeFolder, const std::string &fileName)
{
    DocumentOpening result{false, nativeFolder + fileName};
    const std::wstring folder = wideFromNative(nativeFolder);
    const std::wstring path = wideFromNative(result.path);
    // The folder is the working folder too. Anything at most 32 is a
    // failure.
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_owner, L"Open", path.c_str(), nullptr, workingFolder(folder), SW_SHOW));
    result.opened = code > 32;
    // Where nothing is registered for the file's kind (a fresh system, or
    // a Wine prefix, has no handler for .txt), or the handler failed, the
    // text still opens in Notepad; only a missing file stays unopened.
    if (!result.opened && isThere(path))
        result.opened = openWithNotepad(path, folder);
    return result;
}

} // namespace platform::win32
