// Finding the cookie folders of every profile of a Windows volume copied or
// mounted on Linux, where letter case is the file system's business.

#include "listing/profile_folders.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using listing::findProfileFolders;
using listing::ProfileFolders;

namespace {

void makeFolder(const TempFolder &root, const std::string &relative)
{
    std::filesystem::create_directories(root / relative);
}

std::vector<std::string> relativeFolders(const ProfileFolders &found)
{
    std::vector<std::string> out;
    for (const listing::ProfileFolder &folder : found.folders)
        out.push_back(folder.relative);
    return out;
}

} // namespace

TEST(ProfileFolders, EverySystemsPlacesInTheirOrderWhateverTheLetterCase)
{
    TempFolder root;
    // Listed last to first, in letter cases no Windows would have written:
    // the order must come from the places, not from the disk.
    makeFolder(root, "USERS/zoe/appdata/LOCAL/microsoft/windows/inetcookies/low");
    makeFolder(root, "users/Amy/AppData/Roaming/Microsoft/Windows/Cookies/Low");
    makeFolder(root, "Documents and Settings/bob/Cookies");
    makeFolder(root, "Documents and Settings/Al/cookies");
    makeFolder(root, "winnt/profiles/Administrator/Cookies");
    makeFolder(root, "WINDOWS/Profiles/kim/COOKIES");
    makeFolder(root, "Windows/Cookies");
    // Not cookie folders: a file by the name, a profile without one, and a
    // cookie folder one level too deep.
    root.write("Documents and Settings/carl/Cookies", "not a folder");
    makeFolder(root, "Documents and Settings/dan/Desktop");
    makeFolder(root, "Documents and Settings/eve/x/Cookies");

    const ProfileFolders found = findProfileFolders(root.str());
    EXPECT_TRUE(found.unreadable.empty());
    const std::vector<std::string> expected = {
        "Windows/Cookies",
        "WINDOWS/Profiles/kim/COOKIES",
        "winnt/profiles/Administrator/Cookies",
        "Documents and Settings/Al/cookies",
        "Documents and Settings/bob/Cookies",
        "users/Amy/AppData/Roaming/Microsoft/Windows/Cookies",
        "users/Amy/AppData/Roaming/Microsoft/Windows/Cookies/Low",
        "USERS/zoe/appdata/LOCAL/microsoft/windows/inetcookies",
        "USERS/zoe/appdata/LOCAL/microsoft/windows/inetcookies/low",
    };
    // On a file system that tells letter cases apart, "Windows" and
    // "WINDOWS" are two folders, and both are looked into.
    const std::vector<std::string> got = relativeFolders(found);
    EXPECT_EQ(got.size(), expected.size()) << ::testing::PrintToString(got);
    for (const std::string &folder : expected)
        EXPECT_NE(std::find(got.begin(), got.end(), folder), got.end()) << folder;
    // Windows 9x before WINNT before Documents and Settings before Users.
    const auto at = [&](const std::string &folder) { return std::find(got.begin(), got.end(), folder) - got.begin(); };
    EXPECT_LT(at("WINDOWS/Profiles/kim/COOKIES"), at("winnt/profiles/Administrator/Cookies"));
    EXPECT_LT(at("winnt/profiles/Administrator/Cookies"), at("Documents and Settings/Al/cookies"));
    EXPECT_LT(at("Documents and Settings/Al/cookies"), at("Documents and Settings/bob/Cookies"));
    EXPECT_EQ(at("users/Amy/AppData/Roaming/Microsoft/Windows/Cookies") + 1,
              at("users/Amy/AppData/Roaming/Microsoft/Windows/Cookies/Low"));
    EXPECT_LT(at("users/Amy/AppData/Roaming/Microsoft/Windows/Cookies/Low"),
              at("USERS/zoe/appdata/LOCAL/microsoft/windows/inetcookies"));

    for (const listing::ProfileFolder &folder : found.folders) {
        EXPECT_EQ(folder.native, root.str() + "/" + folder.relative);
        if (folder.relative == "Windows/Cookies") {
            EXPECT_EQ(folder.profile, ""); // Windows 9x without user profiles
        }
        if (folder.relative.find("zoe") != std::string::npos) {
            EXPECT_EQ(folder.profile, "zoe");
        }
        if (folder.relative.find("Administrator") != std::string::npos) {
            EXPECT_EQ(folder.profile, "Administrator");
        }
    }
}

TEST(ProfileFolders, TheRootMayEndInSeparatorsAndNothingThereIsNothingFound)
{
    TempFolder root;
    makeFolder(root, "Documents and Settings/bob/Cookies");
    const ProfileFolders found = findProfileFolders(root.str() + "//");
    ASSERT_EQ(found.folders.size(), 1u);
    EXPECT_EQ(found.folders[0].relative, "Documents and Settings/bob/Cookies");
    EXPECT_EQ(found.folders[0].native, root.str() + "/Documents and Settings/bob/Cookies");

    TempFolder empty;
    EXPECT_TRUE(findProfileFolders(empty.str()).folders.empty());
    EXPECT_TRUE(findProfileFolders(empty / "missing").folders.empty());
    EXPECT_TRUE(findProfileFolders(empty / "missing").unreadable.empty());
    // The places named for a run that found none, with this system's separators.
    const std::vector<std::string> places = listing::cookieFolderPlaces();
    ASSERT_EQ(places.size(), 6u);
    EXPECT_EQ(places[3], "Documents and Settings/*/Cookies");
    EXPECT_EQ(places[5], "Users/*/AppData/Local/Microsoft/Windows/INetCookies");
}

TEST(ProfileFolders, LinksAndJunctionsAreNotFollowed)
{
    // A Vista volume's "Documents and Settings" is a junction to "Users",
    // and each profile's "Cookies" one to the real cookie folder: followed,
    // they would list each folder twice, and a link may lead off the volume.
    TempFolder root, elsewhere;
    makeFolder(root, "Users/amy/AppData/Roaming/Microsoft/Windows/Cookies");
    makeFolder(elsewhere, "amy/Cookies");
    makeFolder(elsewhere, "Cookies");
    std::filesystem::create_directory_symlink(root / "Users", root / "Documents and Settings");
    std::filesystem::create_directory_symlink(elsewhere.path(), root / "WINNT");
    makeFolder(root, "Users/bob/AppData/Roaming/Microsoft");
    std::filesystem::create_directory_symlink(elsewhere.path(), root / "Users/bob/AppData/Roaming/Microsoft/Windows");
    std::filesystem::create_directory_symlink(elsewhere / "Cookies",
                                              root / "Users/amy/AppData/Roaming/Microsoft/Windows/Cookies/Low");

    const ProfileFolders found = findProfileFolders(root.str());
    EXPECT_EQ(relativeFolders(found), std::vector<std::string>{"Users/amy/AppData/Roaming/Microsoft/Windows/Cookies"});
}

TEST(ProfileFolders, AProfileWithoutPermissionIsNamedAndTheOthersStillFound)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root looks into folders whatever their permissions";
    TempFolder root;
    makeFolder(root, "Users/amy/AppData/Roaming/Microsoft/Windows/Cookies");
    makeFolder(root, "Users/bob/AppData/Roaming/Microsoft/Windows/Cookies");
    makeFolder(root, "Users/cat/AppData/Roaming/Microsoft/Windows/Cookies");
    std::filesystem::permissions(root / "Users/bob", std::filesystem::perms::none);
    // A cookie folder that cannot be read is found all the same: its scan
    // says what is wrong with it.
    std::filesystem::permissions(root / "Users/cat/AppData/Roaming/Microsoft/Windows/Cookies",
                                 std::filesystem::perms::none);

    const ProfileFolders found = findProfileFolders(root.str());
    std::filesystem::permissions(root / "Users/bob", std::filesystem::perms::owner_all);
    std::filesystem::permissions(root / "Users/cat/AppData/Roaming/Microsoft/Windows/Cookies",
                                 std::filesystem::perms::owner_all);
    const std::vector<std::string> expected = {"Users/amy/AppData/Roaming/Microsoft/Windows/Cookies",
                                               "Users/cat/AppData/Roaming/Microsoft/Windows/Cookies"};
    EXPECT_EQ(relativeFolders(found), expected);
    // Looked into by two places (Roaming and Local), named once.
    ASSERT_EQ(found.unreadable.size(), 1u);
    EXPECT_EQ(found.unreadable[0].relative, "Users/bob");
    EXPECT_EQ(found.unreadable[0].problem, platform::FolderProblem::NoPermission);
}
