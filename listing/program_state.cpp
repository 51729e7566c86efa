#include "program_state.h"

#include "messages.h"
#include "platform/filesystem.h"
#include "platform/system_info.h"

namespace listing {

std::string ProgramState::fileMask() const
{
    std::string mask = CookiesPath + platform::kPathSeparator;
    if (SysInfo.SearchMode == smFileName)
        return mask + "*" + "@*" + SysInfo.SearchText + "*.txt";
    return mask + "*" + ".txt";
}

std::string ProgramState::caption() const
{
    return "Vellumin ver 1.30   < CookiesPath:[" + folderText() + "] >";
}

std::string ProgramState::folderText() const
{
    return CookiesPath + platform::kPathSeparator;
}

std::string ProgramState::searchModeLabel() const
{
    switch (SysInfo.SearchMode) {
    case smFileName:
        return messages::fileNameSearchMode();
    case smContent:
        return messages::contentSearchMode();
    default:
        return {};
    }
}

std::string cookieFolderOfChosenFile(std::string_view path)
{
    std::string folder(platform::folderPart(path));
    if (!folder.empty() && folder.back() == platform::kPathSeparator)
        folder.pop_back();
    return folder;
}

void InitState(ProgramState &state)
{
    state.SysInfo.UserName = platform::userName();
    state.SysInfo.ComputerName = platform::computerName();
    state.SysInfo.SearchMode = smNone;
    state.SysInfo.SearchText.clear();
    state.CookiesPath = platform::windowsDirectory() + platform::kPathSeparator + "Cookies";
}

} // namespace listing
