#pragma once

#include "platform/desktop.h"

#include <windows.h>

namespace platform::win32 {

// Opens files with the shell's handler for their kind, through ShellExecuteW
// with the verb "Open", owned by the main window.
class Win32Desktop final : public Desktop {
public:
    void setOwner(HWND owner) { m_owner = owner; }

    // `nativeFolder` (with its trailing "\\") is also the working folder.
    DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override;

private:
    HWND m_owner = nullptr;
};

} // namespace platform::win32
