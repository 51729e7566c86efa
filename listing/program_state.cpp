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

namespace {

bool isThere(const std::string &folder)
{
    // A folder that is there but may not be read is still the one the user
    // keeps cookies in: it is listed, and the status says why it shows
    // nothing.
    const platform::FolderProblem problem = platform::Folder::open(folder).problem();
    return problem != platform::FolderProblem::Missing && problem != platform::FolderProblem::NotAFolder;
}

bool holdsCookieFiles(const std::string &folder)
{
    const platform::DirectoryListing files = platform::Folder::open(folder).find("*.txt");
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i].kind == platform::EntryKind::File || files[i].kind == platform::EntryKind::Link)
            return true;
    return false;
}

} // namespace

platform::NamedPath defaultCookieFolder()
{
    const std::string windowsCookies = platform::windowsDirectory() + platform::kPathSeparator + "Cookies";
    if (isThere(windowsCookies))
        return platform::namedPath(windowsCookies);
    const std::string named = platform::systemCookieFolder();
    if (named.empty() || !isThere(named))
        return platform::namedPath(windowsCookies);
    // The Low folder lies inside the named one, so it is looked at only when
    // the named one has no cookie file of its own.
    const std::string low = named + platform::kPathSeparator + "Low";
    if (!holdsCookieFiles(named) && isThere(low))
        return platform::namedPath(low);
    return platform::namedPath(named);
}

void initState(ProgramState &state)
{
    state.systemInfo.searchMode = SearchMode::None;
    state.systemInfo.searchText.clear();
    state.setCookiesPath(defaultCookieFolder());
}

} // namespace listing
