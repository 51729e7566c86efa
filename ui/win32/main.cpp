#include "application.h"

#include "platform/command_line.h"
#include "platform/wide_text_win32.h"
#include "ui/window_options.h"

#include <windows.h>

#include <optional>
#include <string>

namespace {

// The window program has no console: what a console program prints, it
// shows in a box of its own. The texts are ASCII but for the arguments
// they echo, which are native (UTF-8).
int tell(const std::string &text, bool isError, int status)
{
    const UINT icon = isError ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxW(nullptr, platform::win32::wideFromNative(text).c_str(), L"Vellumin", MB_OK | icon | MB_SETFOREGROUND);
    return status;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    // From the wide command line, where no character has been lost to a
    // code page.
    const ui::WindowOptions options = ui::parseWindowOptions(platform::commandLineArguments(__argc, __argv));
    if (const std::optional<int> status = ui::answerWithoutWindow(options, tell))
        return *status;
    return ui::win32::runApplication(showCommand, ui::startFolderOf(options), options.readOnly);
}
