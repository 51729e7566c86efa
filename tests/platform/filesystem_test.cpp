#include "platform/filesystem.h"
#include "platform/cp932.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> names(const DirectoryListing &listing)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < listing.size(); ++i)
        result.emplace_back(listing[i].name);
    return result;
}

} // namespace

TEST(FolderPart, UpToAndIncludingTheLastSeparator)
{
    EXPECT_EQ(folderPart("/tmp/x.txt"), "/tmp/");
    EXPECT_EQ(folderPart("/x.txt"), "/");
    EXPECT_EQ(folderPart("x.txt"), "");
    EXPECT_EQ(folderPart("/a/b/"), "/a/b/");
}

TEST(FindFiles, SortsByNameRegardlessOfCaseAndMatchesTheMask)
{
    TempFolder folder;
    for (const char *name : {"b@x.txt", "A@x.txt", "c@x.TXT", "a_b.txt", "ab.txt", "notes.doc", "z.txt.bak"})
        folder.write(name, "x");
    const DirectoryListing listing = findFiles(folder.str() + "/*.txt");
    // Upper-case order, as NTFS keeps it: "_" sorts after the letters.
    EXPECT_EQ(names(listing), (std::vector<std::string>{"A@x.txt", "ab.txt", "a_b.txt", "b@x.txt", "c@x.TXT"}));
}

TEST(FindFiles, FullWidthLettersSortLikeTheirCapitals)
{
    TempFolder folder;
    for (const char *name : {"\xEF\xBD\x82@x.txt", "\xEF\xBC\xA1@x.txt", "\xEF\xBD\x81@y.txt", "\xEF\xBC\xBB.txt"})
        folder.write(name, "x"); // ｂ@x, Ａ@x, ａ@y, ［
    const DirectoryListing listing = findFiles(folder.str() + "/*.txt");
    std::vector<std::string> native;
    for (std::size_t i = 0; i < listing.size(); ++i)
        native.emplace_back(listing[i].nativeName);
    EXPECT_EQ(native, (std::vector<std::string>{"\xEF\xBC\xA1@x.txt", "\xEF\xBD\x81@y.txt", "\xEF\xBD\x82@x.txt",
                                                "\xEF\xBC\xBB.txt"}));
}

TEST(FindFiles, KeepsEveryNameIntactAcrossManyBlocks)
{
    // More names than one block of the listing holds.
    TempFolder folder;
    constexpr int kFiles = 2500;
    for (int i = kFiles - 1; i >= 0; --i)
        folder.write("user@www.a-rather-long-host-name-" + std::to_string(10000 + i) + ".example.com.txt", "x");
    const DirectoryListing listing = findFiles(folder.str() + "/*.txt");
    ASSERT_EQ(listing.size(), std::size_t(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        const std::string expected = "user@www.a-rather-long-host-name-" + std::to_string(10000 + i) + ".example.com.txt";
        ASSERT_EQ(listing[i].name, expected);
        ASSERT_EQ(listing[i].nativeName, expected);
    }
}

TEST(FindFiles, PassesDotEntriesThroughWhenThePatternMatchesThem)
{
    TempFolder folder;
    folder.write("a", "x");
    EXPECT_EQ(names(findFiles(folder.str() + "/*")), (std::vector<std::string>{".", "..", "a"}));
    EXPECT_TRUE(findFiles(folder.str() + "/*.txt").empty());
}

TEST(FindFiles, WildcardsInTheFolderPartListNothing)
{
    TempFolder folder;
    folder.write("sub/a@b.txt", "x");
    folder.write("a@b.txt", "x");
    EXPECT_TRUE(findFiles(folder.str() + "/*@*/a*.txt").empty());
    EXPECT_TRUE(findFiles(folder.str() + "/s?b/*.txt").empty());
    EXPECT_TRUE(findFiles(folder.str() + "/*@*../../etc*.txt").empty());
    EXPECT_EQ(findFiles(folder.str() + "/sub/*.txt").size(), 1u);
}

TEST(FindFiles, MissingOrUnreadableFolderListsNothing)
{
    TempFolder folder;
    EXPECT_TRUE(findFiles(folder.str() + "/missing/*.txt").empty());
    folder.write("file", "x");
    EXPECT_TRUE(findFiles(folder.str() + "/file/*.txt").empty());
    EXPECT_TRUE(findFiles(folder.str() + "/").empty());
}

TEST(FindFiles, TellsFilesFromFoldersLinksAndPipes)
{
    TempFolder folder;
    folder.write("file.txt", "x");
    std::filesystem::create_directory(folder.path() / "dir.txt");
    std::filesystem::create_symlink(folder.path() / "file.txt", folder.path() / "link.txt");
    std::filesystem::create_symlink(folder.path() / "dir.txt", folder.path() / "linkdir.txt");
    std::filesystem::create_symlink(folder.path() / "gone", folder.path() / "dangling.txt");
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    TempFolder elsewhere;
    std::filesystem::create_symlink(elsewhere.write("target", "x"), folder.path() / "outside.txt");
    std::filesystem::create_symlink("../" + folder.path().filename().string() + "/file.txt",
                                    folder.path() / "roundabout.txt");

    const DirectoryListing listing = findFiles(folder.str() + "/*.txt");
    ASSERT_EQ(listing.size(), 8u);
    std::map<std::string, EntryKind> kinds;
    for (std::size_t i = 0; i < listing.size(); ++i)
        kinds[std::string(listing[i].name)] = listing[i].kind;
    EXPECT_EQ(kinds["file.txt"], EntryKind::File);
    EXPECT_EQ(kinds["dir.txt"], EntryKind::Directory);
    EXPECT_EQ(kinds["link.txt"], EntryKind::Link);
    EXPECT_EQ(kinds["linkdir.txt"], EntryKind::Directory);
    EXPECT_EQ(kinds["dangling.txt"], EntryKind::Link); // opening it fails like a missing file
    EXPECT_EQ(kinds["pipe.txt"], EntryKind::Other);
    EXPECT_EQ(kinds["outside.txt"], EntryKind::OutsideLink);
    EXPECT_EQ(kinds["roundabout.txt"], EntryKind::Link); // out and back in again
}

TEST(FindFiles, KeepsTheRealNameBesideTheCp932One)
{
    TempFolder folder;
    folder.write("u@\xE8\xA1\xA8.txt", "x");        // 表, valid UTF-8
    folder.write("v@\xF0\x9F\x8D\xAA.txt", "x");    // a biscuit: no CP932 form
    folder.write(std::string("w@\x83\x40.txt"), "x"); // not UTF-8: taken as CP932
    const DirectoryListing listing = findFiles(folder.str() + "/*.txt");
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(listing[0].name, "u@\x95\x5C.txt");
    EXPECT_EQ(listing[0].nativeName, "u@\xE8\xA1\xA8.txt");
    EXPECT_EQ(listing[1].name, "v@?.txt");
    EXPECT_EQ(listing[1].nativeName, "v@\xF0\x9F\x8D\xAA.txt");
    EXPECT_EQ(listing[2].name, "w@\x83\x40.txt");
    EXPECT_EQ(listing[2].nativeName, "w@\x83\x40.txt");
    // A "?" in the shown name is no wildcard for the real one.
    EXPECT_TRUE(findFiles(folder.str() + "/v@?.txt").size() == 1);
}

TEST(FindFiles, AnEmptyFolderPartMeansTheCurrentFolder)
{
    TempFolder folder;
    folder.write("here.txt", "x");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const DirectoryListing listing = findFiles("*.txt");
    std::filesystem::current_path(previous);
    EXPECT_EQ(names(listing), std::vector<std::string>{"here.txt"});
}

TEST(ReadWholeFile, ReadsEveryByteAndReusesTheBuffer)
{
    TempFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    std::string contents = "old contents";
    EXPECT_EQ(readWholeFile(folder.write("f.txt", bytes), contents), ReadResult::Ok);
    EXPECT_EQ(contents, bytes);
    EXPECT_EQ(readWholeFile(folder.write("empty.txt", ""), contents), ReadResult::Ok);
    EXPECT_EQ(contents, "");
}

TEST(ReadWholeFile, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    TempFolder folder;
    std::string contents;
    EXPECT_EQ(readWholeFile(folder / "missing.txt", contents), ReadResult::OpenFailed);
    std::filesystem::create_directory(folder.path() / "dir.txt");
    EXPECT_EQ(readWholeFile(folder / "dir.txt", contents), ReadResult::OpenFailed);
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(readWholeFile(folder / "pipe.txt", contents), ReadResult::OpenFailed);
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.txt");
    EXPECT_EQ(readWholeFile(folder / "zero.txt", contents), ReadResult::OpenFailed);
}

TEST(ReadWholeFile, ReadsFilesLargerThanOneRead)
{
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += static_cast<char>('a' + i % 26);
    std::string contents;
    EXPECT_EQ(readWholeFile(folder.write("f.txt", bytes), contents, FileCheck::ListedAsRegularFile), ReadResult::Ok);
    EXPECT_EQ(contents, bytes);
    EXPECT_EQ(readWholeFile(folder.write("g.txt", "short"), contents), ReadResult::Ok);
    EXPECT_EQ(contents, "short");
}

TEST(ReadWholeFile, WithoutReadPermissionFailsToOpen)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    TempFolder folder;
    const std::string file = folder.write("secret.txt", "x");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    std::string contents;
    EXPECT_EQ(readWholeFile(file, contents), ReadResult::OpenFailed);
}

TEST(DeleteFile, RemovesALinkNeverItsTarget)
{
    TempFolder folder;
    const std::string target = folder.write("target.txt", "keep me");
    std::filesystem::create_symlink(target, folder.path() / "link.txt");
    EXPECT_TRUE(deleteFile(folder / "link.txt"));
    EXPECT_FALSE(folder.exists("link.txt"));
    EXPECT_TRUE(folder.exists("target.txt"));
}

TEST(DeleteFile, ReportsWhatItCouldNotDelete)
{
    TempFolder folder;
    EXPECT_FALSE(deleteFile(folder / "missing.txt"));
    std::filesystem::create_directory(folder.path() / "dir.txt");
    EXPECT_FALSE(deleteFile(folder / "dir.txt"));
    EXPECT_TRUE(folder.exists("dir.txt"));
}
