#include "platform/command_line.h"

#include "platform/wide_text_win32.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        arguments.push_back(win32::nativeFromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace platform
