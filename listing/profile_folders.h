#pragma once

#include "platform/filesystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace listing {

// One cookie folder of a Windows volume.
struct ProfileFolder {
    std::string profile;  // the user's profile folder, as named on the disk (native); empty for
                          // the one folder that Windows 95 and 98 keep without user profiles
    std::string relative; // the cookie folder relative to the volume's root (native, with this
                          // system's separators), as named on the disk
    std::string native;   // the whole path, for opening
};

// A folder on the way to cookie folders that could not be looked into.
struct UnreadableFolder {
    std::string relative; // relative to the root, as ProfileFolder::relative
    platform::FolderProblem problem;
};

struct ProfileFolders {
    std::vector<ProfileFolder> folders;
    std::vector<UnreadableFolder> unreadable;
};

// Finds the cookie folders that the Windows systems of the last 25 years
// kept on volume `nativeRoot` (a mounted partition or a copy of it; no
// trailing separator needed), for every user profile. Each folder is
// followed by its "Low" folder (Internet Explorer's protected mode) when it
// has one. Folders come in the order of cookieFolderPlaces(), then by
// profile in the order the file system lists them, Low after its folder.
// Names match regardless of letter case, as on Windows, on any file system.
// Links and junctions are not followed: a Vista volume's "Documents and
// Settings" is a junction to "Users", and a link may lead off the volume.
// A cookie folder is listed whether or not it can be read (its scan says
// so); a folder above one that cannot be searched is in `unreadable`.
ProfileFolders findProfileFolders(std::string_view nativeRoot);

// The places looked at, "*" standing for each profile, with this system's
// separators, in the order findProfileFolders() lists their folders.
std::vector<std::string> cookieFolderPlaces();

} // namespace listing
