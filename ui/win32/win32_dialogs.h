#pragma once

#include "platform/dialogs.h"

#include <windows.h>

#include <string>

namespace ui::win32 {

// The modal dialogs, through the system's own: MessageBoxW, an input box of
// ours built from an in-memory template, and GetOpenFileNameW. Texts are
// CP932, converted with code page 932 whatever the system's; file names are
// native. Each box is owned by the main window once setOwner() has named it.
class Win32Dialogs final : public platform::Dialogs {
public:
    void setOwner(HWND owner) { m_owner = owner; }
    HWND owner() const { return m_owner; }

    int messageBox(const std::string &text, const std::string &caption, unsigned flags) override;
    std::string inputBox(const std::string &caption, const std::string &prompt,
                         const std::string &defaultText) override;
    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &request) override;

private:
    HWND m_owner = nullptr;
};

// Where the open-file dialog goes: horizontally centred and a third of the
// way down `screen`, for a dialog of `size`.
POINT openDialogPosition(const RECT &screen, SIZE size);

} // namespace ui::win32
