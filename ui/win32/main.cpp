#include "application.h"

#include "listing/program_state.h"
#include "platform/command_line.h"

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

// The folder named on the command line (vellumin.exe FOLDER), from the
// wide command line, where no character has been lost to a code page.
std::optional<platform::NamedPath> folderArgument()
{
    const std::vector<std::string> arguments = platform::commandLineArguments(__argc, __argv);
    if (arguments.size() < 2 || arguments[1].empty())
        return std::nullopt;
    return listing::cookieFolderNamed(arguments[1]);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    return ui::win32::runApplication(showCommand, folderArgument());
}
