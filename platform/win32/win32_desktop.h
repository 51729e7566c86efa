#pragma once

#include "platform/desktop.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

// Opens files with the shell's handler for their kind, through ShellExecuteW
// with the verb "Open", owned by the main window; where that fails for any
// reason but a missing file, with Notepad from the system folder.
class Win32Desktop final : public Desktop {
public:
    void setOwner(HWND owner) { m_owner = owner; }

    // `nativeFolder` (with its trailing "\\") is also the working folder.
    DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override;

    // The process of the Notepad last started in a handler's place; 0 when
    // none was.
    DWORD lastNotepad() const { return m_lastNotepad; }

private:
    bool openWithNotepad(const std::wstring &path, const std::wstring &folder);

    HWND m_owner = nullptr;
    DWORD m_lastNotepad = 0;
};

} // namespace platform::win32
