#include "platform/filesystem.h"

#include "platform/wide_text_win32.h"
#include "temp_folder_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;

namespace {

// "表" is 95 5C and "ソ" is 83 5C in CP932: their trail byte is "\". Native
// names are UTF-8.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kHyoNative = "表";
const std::string kSoNative = "ソ";
const std::string kEmojiNative = "\xF0\x9F\x8D\xAA"; // U+1F36A, beyond CP932

using platform::win32::nativeFromWide;
using platform::win32::wideFromNative;

std::vector<std::string> namesOf(const DirectoryListing &listing)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listing.size(); ++i)
        names.emplace_back(listing[i].name);
    return names;
}

std::vector<std::string> nativeNamesOf(const DirectoryListing &listing)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listing.size(); ++i)
        names.emplace_back(listing[i].nativeName);
    return names;
}

// What the system itself lists for `mask`, in its order: native names.
std::vector<std::string> systemListing(const std::string &mask)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wideFromNative(mask).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(nativeFromWide(data.cFileName));
    while (FindNextFileW(find, &data));
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
    ASSERT_TRUE(DeleteFileW(TempFolder::longPath(folder / name).c_str()));
    ASSERT_TRUE(
        MoveFileW(TempFolder::longPath(folder / "new.tmp").c_str(), TempFolder::longPath(folder / name).c_str()));
}

} // namespace

TEST(NativeFolderPart, EndsAtTheLastBackslashOrAtTheColon)
{
    EXPECT_EQ(nativeFolderPart("C:\\TEMP\\x.txt"), "C:\\TEMP\\");
    EXPECT_EQ(nativeFolderPart("C:\\x.txt"), "C:\\");
    EXPECT_EQ(nativeFolderPart("C:x.txt"), "C:");
    EXPECT_EQ(nativeFolderPart("x.txt"), "");
    // Native paths are UTF-8: "あ" (E3 81 82) would swallow the separator
    // after it if it were stepped through as CP932.
    EXPECT_EQ(nativeFolderPart("C:\\あ\\x.txt"), "C:\\あ\\");
    EXPECT_EQ(nativeFolderPart("C:\\" + kHyoNative + "\\" + kSoNative + "@x.txt"), "C:\\" + kHyoNative + "\\");
}

TEST(ShownName, IsTheCp932FormWithAQuestionMarkForWhatCp932Lacks)
{
    EXPECT_EQ(shownName(kSoNative + "@" + kHyoNative + ".txt"), kSo + "@" + kHyo + ".txt");
    // One "?" for a character beyond the Basic Multilingual Plane, never a
    // look-alike: "é" is not "e", and "¥" (which CP932 would "best fit" to
    // 0x5C) must never become a separator.
    EXPECT_EQ(shownName("u@" + kEmojiNative + ".txt"), "u@?.txt");
    EXPECT_EQ(shownName("caf\xC3\xA9\xC2\xA5.txt"), "caf??.txt");
    // Paths show without the prefix of long paths.
    EXPECT_EQ(shownName("\\\\?\\C:\\" + kHyoNative), "C:\\" + kHyo);
    EXPECT_EQ(shownName("\\\\?\\UNC\\server\\share"), "\\\\server\\share");
}

TEST(WideText, NativeNamesComeBackAsTheSystemGaveThem)
{
    // A surrogate pair is one character of four UTF-8 bytes; a lone
    // surrogate, which a Windows name may hold, survives the way there and
    // back.
    const std::wstring names[] = {L"u@\xD83C\xDF6A.txt", L"u@\xD800.txt", L"\xDC00", L"\x8868@x.txt"};
    for (const std::wstring &wide : names)
        EXPECT_EQ(wideFromNative(nativeFromWide(wide)), wide);
    EXPECT_EQ(nativeFromWide(names[0]), "u@" + kEmojiNative + ".txt");
    EXPECT_EQ(shownName(nativeFromWide(names[1])), "u@?.txt");
}

TEST(Win32Folder, ListsInTheSystemsOrderWithFoldersAsFolders)
{
    TempFolder temp;
    const std::string so = kSoNative + "@" + kHyoNative + ".txt";
    temp.write("b@x.txt", "b");
    temp.write("A@y.TXT", "a");
    temp.write("c@z.txt.bak", "c");
    temp.write(so, "so");
    temp.write("u@a b,c.txt", "blank and comma");
    temp.makeFolder("x@y.txt");
    const Folder folder = Folder::open(temp.str());
    ASSERT_TRUE(folder.isOpen());
    const DirectoryListing listing = folder.find("*.txt");
    std::vector<std::string> expected;
    for (const std::string &name : systemListing(temp / "*.txt"))
        if (name != "c@z.txt.bak") // found through its short name only
            expected.push_back(name);
    EXPECT_EQ(nativeNamesOf(listing), expected);
    ASSERT_EQ(listing.size(), 5u);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        EXPECT_EQ(listing[i].name, listing[i].nativeName == so ? kSo + "@" + kHyo + ".txt" : listing[i].nativeName);
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

TEST(Win32Folder, NamesOfAnyCharacterAreMatchedShownReadAndDeleted)
{
    // A folder and a name whose CP932 trail bytes are "\", a character CP932
    // lacks (one "?", though two UTF-16 units), and "あ" (whose UTF-8 would
    // hide a separator from CP932 stepping).
    TempFolder temp;
    temp.makeFolder(kHyoNative);
    const std::string so = kSoNative + "@x.txt", emoji = "u@" + kEmojiNative + ".txt", a = "u@あ.txt";
    for (const std::string &name : {so, emoji, a})
        temp.write(kHyoNative + "\\" + name, name);
    const Folder folder = Folder::open(temp / kHyoNative);
    EXPECT_EQ(namesOf(folder.find(kSo + "@*.txt")), std::vector<std::string>{kSo + "@x.txt"});
    const DirectoryListing found = folder.find("u@?.txt");
    ASSERT_EQ(found.size(), 2u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const DirEntry entry = found[i];
        EXPECT_EQ(entry.name, entry.nativeName == emoji ? "u@?.txt" : "u@\x82\xA0.txt");
        std::string contents;
        FileId id;
        EXPECT_EQ(folder.read(entry.nativeName, entry.kind, contents, id), ReadResult::Ok);
        EXPECT_EQ(contents, entry.nativeName);
        EXPECT_TRUE(folder.remove(entry.nativeName, id));
        EXPECT_FALSE(temp.exists(kHyoNative + "\\" + std::string(entry.nativeName)));
    }
    // The CP932 form is never a way in: it names no file, or one gone.
    std::string contents;
    FileId id;
    EXPECT_EQ(folder.read("u@?.txt", EntryKind::File, contents, id), ReadResult::Gone);
    EXPECT_NE(folder.read(kSo + "@x.txt", EntryKind::File, contents, id), ReadResult::Ok);
    EXPECT_EQ(folder.read(so, EntryKind::File, contents, id), ReadResult::Ok);
}

TEST(Win32Folder, AFileHeldOpenForWritingFailsToOpen)
{
    TempFolder temp;
    const std::string path = temp.write("u@busy.txt", "old");
    const Folder folder = Folder::open(temp.str());
    const HANDLE writer =
        CreateFileW(TempFolder::longPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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

namespace {

bool runningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

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

    // A folder where a file was listed: that file is gone. Entries listed
    // as anything but a file are never opened.
    FileId none;
    EXPECT_EQ(folder.read("x@y.txt", EntryKind::File, contents, none), ReadResult::Gone);
    for (EntryKind kind : {EntryKind::Directory, EntryKind::Other, EntryKind::OutsideLink})
        EXPECT_EQ(folder.read("x@y.txt", kind, contents, none), ReadResult::OpenFailed);
    // Deleted, and deleted while another program still holds it open.
    EXPECT_EQ(folder.read("u@never.txt", EntryKind::File, contents, none), ReadResult::Gone);
    const HANDLE holder = CreateFileW(TempFolder::longPath(temp / "u@a.txt").c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    ASSERT_TRUE(SetFileInformationByHandle(holder, FileDispositionInfo, &disposition, sizeof disposition));
    // Windows refuses to open a file marked for deletion ("delete pending"):
    // it is gone. Wine opens it until the last handle goes. Neither is a
    // failure.
    const ReadResult pending = folder.read("u@a.txt", EntryKind::File, contents, none);
    EXPECT_TRUE(pending == ReadResult::Gone || (pending == ReadResult::Ok && runningUnderWine()));
    CloseHandle(holder);
    EXPECT_EQ(folder.read("u@a.txt", EntryKind::File, contents, none), ReadResult::Gone);
    EXPECT_EQ(folder.read("..\\u@a.txt", EntryKind::File, contents, fresh), ReadResult::OpenFailed);
}

TEST(Win32Folder, AFolderWhosePathNowLeadsElsewhereLosesNothing)
{
    TempFolder temp;
    temp.makeFolder("cookies");
    temp.write("cookies\\u@a.txt", "listed");
    const Folder folder = Folder::open(temp / "cookies");
    const FileId listed = idOf(folder, "u@a.txt");
    ASSERT_TRUE(
        MoveFileW(TempFolder::longPath(temp / "cookies").c_str(), TempFolder::longPath(temp / "moved").c_str()));
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

TEST(Win32Folder, AFileHeldOpenWithoutDeleteSharingIsRefusedWithTheSystemsReason)
{
    TempFolder temp;
    temp.write("u@held.txt", "held");
    const Folder folder = Folder::open(temp.str());
    const FileId held = idOf(folder, "u@held.txt");
    const HANDLE other = CreateFileW(TempFolder::longPath(temp / "u@held.txt").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const RemoveResult refused = folder.remove("u@held.txt", held);
    CloseHandle(other);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.outcome, RemoveOutcome::Failed);
    EXPECT_EQ(refused.reason, systemErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(temp.exists("u@held.txt"));
    EXPECT_EQ(folder.remove("u@held.txt", held).outcome, RemoveOutcome::Removed);
    EXPECT_FALSE(temp.exists("u@held.txt"));
}

TEST(SystemErrorText, IsTheSystemsWordsWithoutTheFinalStopOrLineEnd)
{
    const std::string text = systemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text, systemErrorText(ERROR_SHARING_VIOLATION));
    // A code the system has no words for is still said, by its number.
    EXPECT_EQ(systemErrorText(0x2000FFFF), "error 536936447");
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
    EXPECT_EQ(folder.remove("u@a.txt", a).outcome, RemoveOutcome::NotListed);
    EXPECT_TRUE(temp.exists("u@a.txt"));
    const FileId swapped = idOf(folder, "u@a.txt");
    EXPECT_TRUE(folder.remove("u@a.txt", swapped));
    EXPECT_FALSE(temp.exists("u@a.txt"));
    EXPECT_EQ(folder.remove("u@a.txt", swapped).outcome, RemoveOutcome::NotListed); // gone already

    ASSERT_TRUE(SetFileAttributesW(TempFolder::longPath(temp / "u@ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    const RemoveResult refused = folder.remove("u@ro.txt", ro);
    EXPECT_EQ(refused.outcome, RemoveOutcome::Failed);
    EXPECT_EQ(refused.reason, systemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(temp.exists("u@ro.txt"));
    EXPECT_EQ(namesOf(folder.find("*.txt")), std::vector<std::string>{"u@ro.txt"});
}

TEST(Win32Folder, PathsAtAndBeyondMaxPathAreListedReadAndDeleted)
{
    TempFolder temp;
    // 259 characters: the longest path of the short form; then a folder
    // whose own path is beyond MAX_PATH, and a file 300 characters deep.
    const std::size_t nameLength = 259 - temp.str().size() - 1;
    ASSERT_GT(nameLength, 10u);
    ASSERT_LE(nameLength, 255u);
    const std::string atLimit = "u@" + std::string(nameLength - 6, 'x') + ".txt";
    ASSERT_EQ((temp / atLimit).size(), 259u);
    temp.write(atLimit, "259");
    const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e');
    temp.makeFolder(std::string(120, 'd'));
    temp.makeFolder(deep);
    ASSERT_GT((temp / deep).size(), 260u);
    const std::string deepName = "u@" + std::string(300 - (temp / deep).size() - 7, 'y') + ".txt";
    temp.write(deep + "\\" + deepName, "300");
    ASSERT_EQ((temp / deep).size() + 1 + deepName.size(), 300u);

    for (const auto &[path, name, bytes] :
         {std::tuple{temp.str(), atLimit, "259"}, std::tuple{temp / deep, deepName, "300"}}) {
        const Folder folder = Folder::open(path);
        ASSERT_EQ(namesOf(folder.find("*.txt")), std::vector<std::string>{name});
        std::string contents;
        FileId id;
        EXPECT_EQ(folder.read(name, EntryKind::File, contents, id), ReadResult::Ok);
        EXPECT_EQ(contents, bytes);
        EXPECT_TRUE(folder.remove(name, id));
        EXPECT_TRUE(folder.find("*.txt").empty());
    }
    // A relative path and "/" separators are resolved as the system does.
    wchar_t current[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, current);
    ASSERT_TRUE(SetCurrentDirectoryW(wideFromNative(temp.str()).c_str()));
    temp.write(deep + "\\u@near.txt", "relative");
    const Folder relative = Folder::open(std::string(120, 'd') + "/" + std::string(120, 'e'));
    SetCurrentDirectoryW(current);
    EXPECT_EQ(namesOf(relative.find("*.txt")), std::vector<std::string>{"u@near.txt"});
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
    CreateSymbolicLinkW(wideFromNative(outLink).c_str(), wideFromNative(secret).c_str(),
                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    CreateSymbolicLinkW(wideFromNative(inLink).c_str(), wideFromNative(temp / "cookies\\u@inside.txt").c_str(),
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
