#include "program_state.h"

#include "messages.h"
#include "platform/filesystem.h"
#include "platform/system_info.h"
#include "vellumin_version.h"

namespace listing {

void ProgramState::setCookiesPath(const platform::NamedPath &folder)
{
    cookiesPath = folder.shown;
    nativeCookiesPath = folder.native;
}

std::string ProgramState::filePattern() const
{
    if (systemInfo.searchMode == SearchMode::FileName)
        return "*" + std::string("@*") + systemInfo.searchText + "*.txt";
    return "*" + std::string(".txt");
}

std::string ProgramState::caption() const
{
    return "Vellumin ver " VELLUMIN_VERSION "   < CookiesPath:[" + folderText() + "] >";
}

std::string ProgramState::folderText() const
{
    return cookiesPath + platform::kPathSeparator;
}

std::string ProgramState::searchModeLabel() const
{
    switch (systemInfo.searchMode) {
    case SearchMode::FileName:
        return messages::fileNameSearchMode();
    case SearchMode::Content:
        return messages::contentSearchMode();
    default:
        return {};
    }
}

platform::NamedPath cookieFolderOfChosenFile(const platform::NamedPath &file)
{
    std::string_view folder = platform::nativeFolderPart(file.native);
    if (!folder.empty() && folder.back() == platform::kPathSeparator)
        folder.remove_suffix(1);
    // The shown form is the native folder's own, not a cut of the file's
    // shown form: on Linux that could be cut elsewhere when the native name
    // is no UTF-8.
    return platform::namedPath(std::string(folder));
}

platform::NamedPath cookieFolderNamed(std::string_view nativeFolder)
{
    // A separator ends the path only when it is a character of its own.
    while (!nativeFolder.empty() && nativeFolder.back() == platform::kPathSeparator &&
           platform::nativeFolderPart(nativeFolder).size() == nativeFolder.size())
        nativeFolder.remove_suffix(1);
    return platform::namedPath(std::string(nativeFolder));
}

void initState(ProgramState &state)
{
    state.systemInfo.userName = platform::userName();
    state.systemInfo.computerName = platform::computerName();
    state.systemInfo.searchMode = SearchMode::None;
    state.systemInfo.searchText.clear();
    state.setCookiesPath(platform::namedPath(platform::windowsDirectory() + platform::kPathSeparator + "Cookies"));
}

} // namespace listing
