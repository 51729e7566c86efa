#pragma once

#include "platform/filesystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace listing {

// What the table lists: every cookie file, or only those whose name or
// whose text holds the search text.
enum class SearchMode : std::int32_t {
    None = 0,
    FileName = 1,
    Content = 2,
};

struct SystemInfo {
    SearchMode searchMode = SearchMode::None;
    std::string searchText; // meaningful only while searchMode is not None
};

// The program's state apart from its controls: the cookie folder (without
// a trailing separator) and the search setting. The folder is kept twice:
// cookiesPath, its CP932 form, is what the caption, the folder box and the
// messages show; nativeCookiesPath is what every listing, read and deletion
// uses. The two are set together (setCookiesPath), and the native path is
// never rebuilt from the CP932 one, whose way back is not the identity.
struct ProgramState {
    std::string cookiesPath;
    std::string nativeCookiesPath;
    SystemInfo systemInfo;

    void setCookiesPath(const platform::NamedPath &folder);

    bool searching() const
    {
        return systemInfo.searchMode == SearchMode::FileName || systemInfo.searchMode == SearchMode::Content;
    }

    // The pattern that the scan enumerates the folder with.
    std::string filePattern() const;
    // "Vellumin ver <version>   < CookiesPath:[folder/] >"
    std::string caption() const;
    // The folder box's text: the folder with a trailing separator.
    std::string folderText() const;
    // The search-mode label: the mode's name, empty without a search.
    std::string searchModeLabel() const;
};

// The cookie folder for a file chosen in the open-file dialog: its folder
// part without the trailing separator ("/tmp/x.txt" gives "/tmp", "/x.txt"
// gives the empty text, which stands for the root), in both forms.
platform::NamedPath cookieFolderOfChosenFile(const platform::NamedPath &file);

// The cookie folder for a folder named as it stands (on the command line):
// `nativeFolder` without its trailing separators ("/" gives the empty text,
// which stands for the root), in both forms. The native form is kept
// exactly as given.
platform::NamedPath cookieFolderNamed(std::string_view nativeFolder);

// The cookie folder the program starts with: the Windows directory's
// "Cookies" folder when it is there; else the user's cookie folder as the
// system names it (platform::systemCookieFolder()) when that is there, or
// its "Low" folder, where a browser that runs with low rights keeps its
// cookies, when that is there and the named one holds no cookie file of its
// own; else the Windows
// directory's, which then shows as missing. A folder that is there but may
// not be read counts as there.
platform::NamedPath defaultCookieFolder();

// No search, and the default cookie folder.
void initState(ProgramState &state);

} // namespace listing
