#include "application.h"

#include "listing/program_state.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

namespace {

// The folder named on the command line (vellumin.exe FOLDER), taken from
// the wide command line, where no character has been lost to a code page
// yet, into the form the file calls take.
std::optional<platform::NamedPath> folderArgument()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count),
                                                                  &LocalFree);
    if (!arguments || count < 2 || arguments.get()[1][0] == L'\0')
        return std::nullopt;
    const wchar_t *wide = arguments.get()[1];
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::nullopt;
    std::string native(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, native.data(), length, nullptr, nullptr);
    native.pop_back(); // the terminating NUL
    return listing::cookieFolderNamed(native);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    return ui::win32::runApplication(showCommand, folderArgument());
}
