#include "platform/wine_prefix.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

using platform::wine::linuxPathOf;
using platform::wine::registryString;

namespace {

// As Wine writes it: keys with their backslashes doubled and a time after
// them, every character above 0x7F as "\x" and its UTF-16 unit in hex.
constexpr const char *kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Microsoft\\Internet Explorer\\Main] 1700000000
"Cookies"="C:\\wrong"

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1700000001
#time=1da1b2c3d4e5f60
"AppData"="C:\\users\\\x592a\x90ce\\AppData\\Roaming"
"COOKIES"="C:\\users\\\x592a\x90ce\\AppData\\Local\\Microsoft\\Windows\\INetCookies"
"Quoted \"name\""="say \"hi\"\tthere"
"Emoji"="\xd83c\xdf6a\x0041b"
"Expand"=str(2):"%USERPROFILE%\\Cookies"
"Number"=dword:00000001

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders] 1700000002
"Cookies"="C:\\elsewhere"
)";

constexpr const char *kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

TEST(WineRegistry, FindsAStringValueOfItsKeyOnly)
{
    // Key and value names regardless of case; the value's escapes decoded to
    // UTF-8, surrogate pairs joined, "\x" taking hex digits only as far as
    // four.
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Cookies"),
              "C:\\users\\太郎\\AppData\\Local\\Microsoft\\Windows\\INetCookies");
    EXPECT_EQ(
        registryString(kUserReg, "software\\microsoft\\windows\\currentversion\\explorer\\shell folders", "appdata"),
        "C:\\users\\太郎\\AppData\\Roaming");
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Quoted \"name\""), "say \"hi\"\tthere");
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Emoji"), "\xF0\x9F\x8D\xAA"
                                                                "Ab");
    EXPECT_EQ(registryString(kUserReg, "Software\\Microsoft\\Internet Explorer\\Main", "Cookies"), "C:\\wrong");
    // What is not a plain string, or not there, gives nothing.
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Expand"), std::nullopt);
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Number"), std::nullopt);
    EXPECT_EQ(registryString(kUserReg, kShellFolders, "Favorites"), std::nullopt);
    EXPECT_EQ(registryString(kUserReg, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "Cookies"),
              std::nullopt);
    EXPECT_EQ(registryString("", kShellFolders, "Cookies"), std::nullopt);
    // A file cut short in the middle of a value, or with CR LF line ends.
    EXPECT_EQ(registryString("[A\\\\B]\n\"Cookies\"=\"C:\\\\x", "A\\B", "Cookies"), std::nullopt);
    EXPECT_EQ(registryString("[A\\\\B] 1\r\n\"Cookies\"=\"C:\\\\x\"\r\n", "A\\B", "Cookies"), "C:\\x");
}

TEST(WineRegistry, MapsAWindowsPathThroughThePrefixsDrives)
{
    TempFolder prefix;
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directories(prefix / "drive_c/users");
    std::filesystem::create_directories(prefix / "d-drive");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    std::filesystem::create_directory_symlink("/", prefix / "dosdevices/z:");
    std::filesystem::create_directory_symlink(prefix / "d-drive", prefix / "dosdevices/d:");

    EXPECT_EQ(linuxPathOf(prefix.str(), "C:\\users\\太郎\\INetCookies"), prefix / "drive_c/users/太郎/INetCookies");
    EXPECT_EQ(linuxPathOf(prefix.str(), "c:/users//x\\"), prefix / "drive_c/users/x");
    EXPECT_EQ(linuxPathOf(prefix.str(), "Z:\\tmp\\cookies"), "/tmp/cookies");
    EXPECT_EQ(linuxPathOf(prefix.str(), "D:\\x"), prefix / "d-drive/x");
    EXPECT_EQ(linuxPathOf(prefix.str(), "C:\\"), prefix / "drive_c");
    // ".." never climbs above the drive, as on Windows.
    EXPECT_EQ(linuxPathOf(prefix.str(), "C:\\users\\..\\..\\..\\etc"), prefix / "drive_c/etc");
    // No such drive, or no drive at all: nothing, never a guess.
    EXPECT_EQ(linuxPathOf(prefix.str(), "E:\\x"), std::nullopt);
    EXPECT_EQ(linuxPathOf(prefix.str(), "\\\\server\\share\\x"), std::nullopt);
    EXPECT_EQ(linuxPathOf(prefix.str(), "users\\x"), std::nullopt);
    EXPECT_EQ(linuxPathOf(prefix.str(), ""), std::nullopt);
    EXPECT_EQ(linuxPathOf(prefix / "no-prefix", "C:\\x"), std::nullopt);
}
