#pragma once

#include "platform/filesystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace listing {

enum TSearchMode : std::int32_t {
    smNone = 0,     // list all
    smFileName = 1, // file-name search
    smContent = 2,  // content search
};

struct TSysInfo {
    std::string UserName;     // kept, shown nowhere
    std::string ComputerName; // kept, shown nowhere
    std::int32_t SearchMode = smNone;
    std::string SearchText; // meaningful only while SearchMode is not smNone
};

// The program's state apart from its controls: the cookie folder (without
// a trailing separator) and the search setting. The folder is kept twice:
// CookiesPath, its CP932 form, is what the caption, the folder box and the
// messages show; nativeCookiesPath is what every listing, read and deletion
// uses. The two are set together (setCookiesPath), and the native path is
// never rebuilt from the CP932 one, whose way back is not the identity.
struct ProgramState {
    std::string CookiesPath;
    std::string nativeCookiesPath;
    TSysInfo SysInfo;

    void setCookiesPath(const platform::NamedPath &folder);

    bool searching() const { return SysInfo.SearchMode == smFileName || SysInfo.SearchMode == smContent; }

    // The pattern that the scan enumerates the folder with.
    std::string filePattern() const;
    // The whole mask: the folder, a separator and the pattern.
    std::string fileMask() const;
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

// The user and computer names, no search, and the default cookie folder:
// the Windows directory + "/Cookies".
void initState(ProgramState &state);

} // namespace listing
