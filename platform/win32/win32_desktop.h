#pragma once

#include "platform/desktop.h"

#include <windows.h>

namespace platform::win32 {

// Opens files with the shell's handler for their kind, through ShellExecuteA
// with the verb "Open", owned by the main window.
class Win32Desktop final : public Desktop {
public:
    void setOwner(HWND owner) { m_owner = owner; }

    void openDocument(const std::string &path) override;

    // Opens `fileName` in `folder` (with its trailing "\"), which is also the
    // working folder; the result is not read.
    void openInFolder(const std::string &folder, const std::string &fileName);

private:
    HWND m_owner = nullptr;
};

} // namespace platform::win32
