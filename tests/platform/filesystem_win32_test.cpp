#include "platform/filesystem.h"

#include "temp_folder_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;

namespace {

// "表" is 95 5C and "ソ" is 83 5C: their trail byte is "\".
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

std::vector<std::string> namesOf(const DirectoryListing &listing)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listing.size(); ++i)
        names.emplace_back(listing[i].name);
    return names;
}

// What the system itself lists for `mask`, in its order.
std::vector<std::string> systemListing(const std::string &mask)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(mask.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// The identity that a read learns for `name`.
FileId idOf(const Folder &folder, const std::string &name)
{
    std::string contents;
    FileId id;
    EXPECT_EQ(folder.read(name, EntryKind::File, contents, id), ReadResult::Ok);
    return id;
}

// Replaces file `name` by a new file of the same name (another identity).
void swapIn(const TempFolder &folder, const std::string &name, const std::string &bytes)
{
    // The new file is made first, so that the file system cannot hand the
    // old one's index straight back.
    folder.write("new.tmp", bytes);
    ASSERT_TRUE(DeleteFileA((folder / name).c_str()));
    ASSERT_TRUE(MoveFileA((folder / "new.tmp").c_str(), (folder / name).c_str()));
}

} // namespace

TEST(NativeFolderPart, EndsAtTheLastBackslashCharacterByCharacterOrAtTheColon)
{
    EXPECT_EQ(nativeFolderPart("C:\\TEMP\\x.txt"), "C:\\TEMP\\");
    EXPECT_EQ(nativeFolderPart("C:\\x.txt"), "C:\\");
    EXPECT_EQ(nativeFolderPart("C:x.txt"), "C:");
    EXPECT_EQ(nativeFolderPart("x.txt"), "");
    // A trail byte 0x5C is no separator, in the folder or in the file name.
    EXPECT_EQ(nativeFolderPart("C:\\" + kHyo + "\\" + kSo + "@x.txt"), "C:\\" + kHyo + "\\");
    EXPECT_EQ(nativeFolderPart("C:\\a\\" + kHyo), "C:\\a\\");
    EXPECT_EQ(nativeFolderPart("C:" + kSo + ".txt"), "C:");
}

TEST(ShownName, IsTheNativeNameEvenWhereItLooksLikeUtf8)
{
    // E3 81 82 is "あ" in UTF-8 but two CP932 characters: nothing converts.
    EXPECT_EQ(shownName("\xE3\x81\x82.txt"), "\xE3\x81\x82.txt");
    EXPECT_EQ(shownName(kSo + "@" + kHyo + ".txt"), kSo + "@" + kHyo + ".txt");
}

TEST(Win32Folder, ListsInTheSystemsOrderWithFoldersAsFolders)
{
    TempFolder temp;
    temp.write("b@x.txt", "b");
    temp.write("A@y.TXT", "a");
    temp.write("c@z.txt.bak", "c");
    temp.write(kSo + "@" + kHyo + ".txt", "so");
    temp.write("u@a b,c.txt", "blank and comma");
    temp.makeFolder("x@y.txt");
    const Folder folder = Folder::open(temp.str());
    ASSERT_TRUE(folder.isOpen());
    const DirectoryListing listing = folder.find("*.txt");
    std::vector<std::string> expected;
    for (const std::string &name : systemListing(temp / "*.txt"))
        if (name != "c@z.txt.bak") // found through its short name only
            expected.push_back(name);
    EXPECT_EQ(namesOf(listing), expected);
    ASSERT_EQ(listing.size(), 5u);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        EXPECT_EQ(listing[i].nativeName, listing[i].name);
        EXPECT_EQ(listing[i].kind, listing[i].name == "x@y.txt" ? EntryKind::Directory : EntryKind::File)
            << listing[i].name;
    }
    // "." and ".." come as the system gives them; the scan passes them over.
    const std::vector<std::string> all = namesOf(folder.find("*"));
    EXPECT_NE(std::find(all.begin(), all.end(), "."), all.end());
}

TEST(Win32Folder, PatternsThatReachOutOfTheFolderListNothing)
{
    TempFolder temp;
    temp.write("u@a.txt", "a");
    temp.makeFolder("sub");
    temp.write("sub\\u@b.txt", "b");
    const Folder folder = Folder::open(temp.str());
    for (const char *pattern : {"*\\*.txt", "sub\\*", "..\\*", "*/*.txt", "C:*", "*:*", ""})
        EXPECT_TRUE(folder.find(pattern).empty()) << pattern;
    // Wildcards act, letters regardless of case.
    EXPECT_EQ(namesOf(folder.find("*@?.TXT")), std::vector<std::string>{"u@a.txt"});
}

TEST(Win32Folder, AMissingOrEmptyFolderListsNothing)
{
    TempFolder temp;
    const Folder missing = Folder::open(temp / "missing");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_TRUE(missing.find("*").empty());
    std::string contents;
    FileId id;
    EXPECT_EQ(missing.read("x.txt", EntryKind::File, contents, id), ReadResult::OpenFailed);

    const Folder file = Folder::open(temp.write("plain.txt", "x"));
    EXPECT_FALSE(file.isOpen());

    temp.makeFolder("empty");
    const Folder empty = Folder::open(temp / "empty");
    EXPECT_TRUE(empty.isOpen());
    EXPECT_TRUE(empty.find("*.txt").empty());
}

TEST(Win32Folder, ReadsNamesWithABackslashTrailByteInFolderAndName)
{
    TempFolder temp;
    temp.makeFolder(kHyo);
    temp.write(kHyo + "\\" + kSo + "@x.txt", "line\r\n");
    const Folder folder = Folder::open(temp / kHyo);
    const DirectoryListing listing = folder.find("*@*.txt");
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].name, kSo + "@x.txt");
    std::string contents;
    FileId id;
    EXPECT_EQ(folder.read(listing[0].nativeName, listing[0].kind, contents, id), ReadResult::Ok);
    EXPECT_EQ(contents, "line\r\n");
    EXPECT_TRUE(id.known());
}

TEST(Win32Folder, AFileHeldOpenForWritingFailsToOpen)
{
    TempFolder temp;
    const std::string path = temp.write("u@busy.txt", "old");
    const Folder folder = Folder::open(temp.str());
    const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string contents = "stale";
    FileId id;
    EXPECT_EQ(folder.read("u@busy.txt", EntryKind::File, contents, id), ReadResult::OpenFailed);
    EXPECT_EQ(contents, "");
    CloseHandle(writer);
    EXPECT_EQ(folder.read("u@busy.txt", EntryKind::File, contents, id), ReadResult::Ok);
    EXPECT_EQ(contents, "old");
}

TEST(Win32Folder, ReadsOnlyTheListedFileAndNoFolder)
{
    TempFolder temp;
    temp.write("u@a.txt", "first");
    temp.makeFolder("x@y.txt");
    const Folder folder = Folder::open(temp.str());
    const FileId listed = idOf(folder, "u@a.txt");
    ASSERT_TRUE(listed.known());

    swapIn(temp, "u@a.txt", "swapped in");
    std::string contents;
    FileId id = listed;
    EXPECT_EQ(folder.read("u@a.txt", EntryKind::File, contents, id), ReadResult::OpenFailed);
    EXPECT_EQ(id, listed);
    FileId fresh;
    EXPECT_EQ(folder.read("u@a.txt", EntryKind::File, contents, fresh), ReadResult::Ok);
    EXPECT_EQ(contents, "swapped in");
    EXPECT_NE(fresh, listed);

    for (EntryKind kind : {EntryKind::File, EntryKind::Directory, EntryKind::Other, EntryKind::OutsideLink}) {
        FileId none;
        EXPECT_EQ(folder.read("x@y.txt", kind, contents, none), ReadResult::OpenFailed);
    }
    EXPECT_EQ(folder.read("..\\u@a.txt", EntryKind::File, contents, fresh), ReadResult::OpenFailed);
}

TEST(Win32Folder, AFolderWhosePathNowLeadsElsewhereLosesNothing)
{
    TempFolder temp;
    temp.makeFolder("cookies");
    temp.write("cookies\\u@a.txt", "listed");
    const Folder folder = Folder::open(temp / "cookies");
    const FileId listed = idOf(folder, "u@a.txt");
    ASSERT_TRUE(MoveFileA((temp / "cookies").c_str(), (temp / "moved").c_str()));
    temp.makeFolder("cookies");
    temp.write("cookies\\u@a.txt", "someone else's");
    // A row read again after the scan knows its file.
    std::string contents;
    FileId id = listed;
    EXPECT_EQ(folder.read("u@a.txt", EntryKind::File, contents, id), ReadResult::OpenFailed);
    EXPECT_EQ(contents, "");
    EXPECT_FALSE(folder.remove("u@a.txt", listed));
    EXPECT_TRUE(temp.exists("moved\\u@a.txt"));
    // A scan running while the path was swapped reads the new folder's file;
    // nothing it learnt there deletes anything.
    FileId learnt;
    ASSERT_EQ(folder.read("u@a.txt", EntryKind::File, contents, learnt), ReadResult::Ok);
    EXPECT_FALSE(folder.remove("u@a.txt", learnt));
    EXPECT_TRUE(temp.exists("cookies\\u@a.txt"));
}

TEST(Win32Folder, DeletesOnlyTheListedFileAndNeverAReadOnlyOne)
{
    TempFolder temp;
    temp.write("u@a.txt", "a");
    temp.write("u@ro.txt", "read-only");
    const Folder folder = Folder::open(temp.str());
    const FileId a = idOf(folder, "u@a.txt");
    const FileId ro = idOf(folder, "u@ro.txt");

    EXPECT_FALSE(folder.remove("u@a.txt", FileId{})); // never an unknown file
    swapIn(temp, "u@a.txt", "swapped in");
    EXPECT_FALSE(folder.remove("u@a.txt", a));
    EXPECT_TRUE(temp.exists("u@a.txt"));
    const FileId swapped = idOf(folder, "u@a.txt");
    EXPECT_TRUE(folder.remove("u@a.txt", swapped));
    EXPECT_FALSE(temp.exists("u@a.txt"));
    EXPECT_FALSE(folder.remove("u@a.txt", swapped)); // gone already

    ASSERT_TRUE(SetFileAttributesA((temp / "u@ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(folder.remove("u@ro.txt", ro));
    EXPECT_TRUE(temp.exists("u@ro.txt"));
    EXPECT_EQ(namesOf(folder.find("*.txt")), std::vector<std::string>{"u@ro.txt"});
}

TEST(Win32Folder, APathOf259BytesIsReadAndDeleted)
{
    TempFolder temp;
    const std::size_t nameLength = 259 - temp.str().size() - 1;
    ASSERT_GT(nameLength, 10u);
    ASSERT_LE(nameLength, 255u);
    const std::string name = "u@" + std::string(nameLength - 6, 'x') + ".txt";
    ASSERT_EQ((temp / name).size(), 259u);
    temp.write(name, "long");
    const Folder folder = Folder::open(temp.str());
    ASSERT_EQ(namesOf(folder.find("*.txt")), std::vector<std::string>{name});
    std::string contents;
    FileId id;
    EXPECT_EQ(folder.read(name, EntryKind::File, contents, id), ReadResult::Ok);
    EXPECT_EQ(contents, "long");
    EXPECT_TRUE(folder.remove(name, id));
    EXPECT_FALSE(temp.exists(name));
}

TEST(Win32Folder, LinksOutOfTheFolderAreNotReadAndDeletingOneKeepsItsTarget)
{
    TempFolder temp;
    temp.makeFolder("cookies");
    const std::string secret = temp.write("secret.txt", "not yours");
    temp.write("cookies\\u@inside.txt", "inside");
    const std::string outLink = temp / "cookies\\s@out.txt";
    const std::string inLink = temp / "cookies\\l@in.txt";
    // Wine 8 answers TRUE and makes nothing; Windows needs developer mode or
    // the right to make links.
    CreateSymbolicLinkA(outLink.c_str(), secret.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    CreateSymbolicLinkA(inLink.c_str(), (temp / "cookies\\u@inside.txt").c_str(),
                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (!temp.exists("cookies\\s@out.txt") || !temp.exists("cookies\\l@in.txt"))
        GTEST_SKIP() << "this system makes no symbolic links here";

    const Folder folder = Folder::open(temp / "cookies");
    const DirectoryListing listing = folder.find("*.txt");
    ASSERT_EQ(listing.size(), 3u);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const DirEntry entry = listing[i];
        std::string contents;
        FileId id = entry.id;
        if (entry.name == "s@out.txt") {
            EXPECT_EQ(entry.kind, EntryKind::OutsideLink);
            EXPECT_EQ(folder.read(entry.nativeName, EntryKind::Link, contents, id), ReadResult::OpenFailed);
            EXPECT_EQ(folder.read(entry.nativeName, EntryKind::File, contents, id), ReadResult::OpenFailed);
            EXPECT_EQ(contents, "");
            EXPECT_TRUE(folder.remove(entry.nativeName, entry.id));
        } else if (entry.name == "l@in.txt") {
            EXPECT_EQ(entry.kind, EntryKind::Link);
            EXPECT_EQ(folder.read(entry.nativeName, entry.kind, contents, id), ReadResult::Ok);
            EXPECT_EQ(contents, "inside");
        }
    }
    EXPECT_FALSE(temp.exists("cookies\\s@out.txt"));
    EXPECT_TRUE(temp.exists("secret.txt"));
}
