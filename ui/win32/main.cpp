#include "application.h"

#include "listing/program_state.h"
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
int showAndExit(const std::string &text, UINT icon, int status)
{
    MessageBoxW(nullptr, platform::win32::wideFromNative(text).c_str(), L"Vellumin", MB_OK | icon | MB_SETFOREGROUND);
    return status;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    // From the wide command line, where no character has been lost to a
    // code page.
    const ui::WindowOptions options = ui::parseWindowOptions(platform::commandLineArguments(__argc, __argv));
    switch (options.action) {
    case ui::WindowOptions::Action::Help:
        return showAndExit(ui::windowHelpText(), MB_ICONINFORMATION, 0);
    case ui::WindowOptions::Action::Version:
        return showAndExit(ui::windowVersionText(), MB_ICONINFORMATION, 0);
    case ui::WindowOptions::Action::UsageError:
        return showAndExit("vellumin: " + options.error + "\n" + ui::windowUsageText(), MB_ICONERROR, 2);
    case ui::WindowOptions::Action::Run:
        break;
    }
    std::optional<platform::NamedPath> startFolder;
    if (options.hasFolder)
        startFolder = listing::cookieFolderNamed(options.folder);
    return ui::win32::runApplication(showCommand, startFolder);
}
