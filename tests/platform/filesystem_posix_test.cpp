#include "platform/cp932.h"
#include "platform/filesystem.h"
#include "platform/name_order.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <linux/magic.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace platform;

namespace {

DirectoryListing find(const TempFolder &folder, std::string_view pattern)
{
    return Folder::open(folder.str()).find(pattern);
}

std::vector<std::string> names(const DirectoryListing &listing)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < listing.size(); ++i)
        result.emplace_back(listing[i].name);
    return result;
}

// The entry `name` of a fresh listing of `folder`.
DirEntry entryNamed(const DirectoryListing &listing, std::string_view name)
{
    for (std::size_t i = 0; i < listing.size(); ++i)
        if (listing[i].nativeName == name)
            return listing[i];
    ADD_FAILURE() << "not listed: " << name;
    return {};
}

// Reads `name` alone, and again among other files in one batch: the two
// ways must give the same result and bytes, whatever the others give.
ReadResult read(const Folder &folder, std::string_view name, EntryKind kind, std::string &contents)
{
    FileId id;
    const ReadResult alone = folder.read(name, kind, contents, id);
    FileRead batch[3];
    batch[0].nativeName = "absent.txt";
    batch[1].nativeName = name;
    batch[1].kind = kind;
    batch[1].bytes = "old bytes";
    batch[2].nativeName = "..";
    folder.readFiles(batch);
    // Nothing is gone from a folder that never opened.
    const ReadResult gone = folder.isOpen() ? ReadResult::Gone : ReadResult::OpenFailed;
    EXPECT_EQ(batch[0].result, gone);
    EXPECT_EQ(batch[1].result, alone) << name;
    EXPECT_EQ(batch[1].bytes, contents) << name;
    if (alone == ReadResult::Ok && kind == EntryKind::File) {
        EXPECT_EQ(batch[1].id, id) << name;
    }
    EXPECT_EQ(batch[2].result, gone); // a folder
    return alone;
}

} // namespace

TEST(FolderPart, UpToAndIncludingTheLastSeparator)
{
    EXPECT_EQ(nativeFolderPart("/tmp/x.txt"), "/tmp/");
    EXPECT_EQ(nativeFolderPart("/x.txt"), "/");
    EXPECT_EQ(nativeFolderPart("/a/b/"), "/a/b/");
    // A native path is cut at its last "/" byte whatever the bytes before it
    // (here the UTF-8 of "〜", whose bytes look like CP932 lead bytes).
    EXPECT_EQ(nativeFolderPart("/tmp/\xE3\x80\x9C/x.txt"), "/tmp/\xE3\x80\x9C/");
    EXPECT_EQ(nativeFolderPart("x.txt"), "");
}

TEST(FindFiles, SortsByNameRegardlessOfCaseAndMatchesTheMask)
{
    TempFolder folder;
    for (const char *name : {"b@x.txt", "A@x.txt", "c@x.TXT", "a_b.txt", "ab.txt", "notes.doc", "z.txt.bak"})
        folder.write(name, "x");
    // Upper-case order, as NTFS keeps it: "_" sorts after the letters.
    EXPECT_EQ(names(find(folder, "*.txt")),
              (std::vector<std::string>{"A@x.txt", "ab.txt", "a_b.txt", "b@x.txt", "c@x.TXT"}));
}

TEST(FindFiles, FullWidthLettersSortLikeTheirCapitals)
{
    TempFolder folder;
    for (const char *name : {"\xEF\xBD\x82@x.txt", "\xEF\xBC\xA1@x.txt", "\xEF\xBD\x81@y.txt", "\xEF\xBC\xBB.txt"})
        folder.write(name, "x"); // ｂ@x, Ａ@x, ａ@y, ［
    const DirectoryListing listing = find(folder, "*.txt");
    std::vector<std::string> native;
    for (std::size_t i = 0; i < listing.size(); ++i)
        native.emplace_back(listing[i].nativeName);
    EXPECT_EQ(native, (std::vector<std::string>{"\xEF\xBC\xA1@x.txt", "\xEF\xBD\x81@y.txt", "\xEF\xBD\x82@x.txt",
                                                "\xEF\xBC\xBB.txt"}));
    // The last letter too: ｚ sorts as Ｚ, before ［ (which lies between
    // the capitals and the small letters).
    EXPECT_TRUE(nameSortsBefore("\xEF\xBD\x9A", "\xEF\xBC\xBB"));
    EXPECT_FALSE(nameSortsBefore("\xEF\xBC\xBB", "\xEF\xBD\x9A"));
}

TEST(NameOrder, IsAStrictTotalOrderOnAnyBytes)
{
    // Short names from a small alphabet of ASCII letters, UTF-8 lead and
    // continuation bytes and bytes that start nothing, so that names share
    // prefixes and break off in the middle of characters.
    const unsigned char alphabet[] = {'a', 'A', 'b', 0x80, 0xA1, 0xBF, 0xC3, 0xE3, 0xEF, 0xF0, 0xF8, 0xFF};
    std::mt19937 random(20261207);
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        std::string name(1 + random() % 5, '\0');
        for (char &c : name)
            c = static_cast<char>(alphabet[random() % std::size(alphabet)]);
        names.push_back(name);
    }
    for (const std::string &a : names) {
        ASSERT_FALSE(nameSortsBefore(a, a)) << "irreflexive";
        for (const std::string &b : names) {
            const bool ab = nameSortsBefore(a, b), ba = nameSortsBefore(b, a);
            ASSERT_FALSE(ab && ba) << "asymmetric";
            ASSERT_EQ(a == b, !ab && !ba) << "total";
        }
    }
    // An overlong form of a character sorts right after the character, the
    // longer form the later: "A", then its two- and three-byte forms, then "B".
    const std::vector<std::string> overlong = {"A", "\xC1\x81", "\xE0\x81\x81", "B"};
    for (std::size_t i = 0; i + 1 < overlong.size(); ++i) {
        EXPECT_TRUE(nameSortsBefore(overlong[i], overlong[i + 1])) << i;
        EXPECT_FALSE(nameSortsBefore(overlong[i + 1], overlong[i])) << i;
    }
    for (int i = 0; i < 200000; ++i) {
        const std::string &a = names[random() % names.size()], &b = names[random() % names.size()],
                          &c = names[random() % names.size()];
        if (nameSortsBefore(a, b) && nameSortsBefore(b, c)) {
            ASSERT_TRUE(nameSortsBefore(a, c)) << "transitive";
        }
    }
}

TEST(NameOrder, MatchesACharacterByCharacterReadingFromTheStart)
{
    // The order skips the bytes both names share and settles most
    // comparisons at the first differing byte; read plainly instead, each
    // name is a run of characters (code point with a-z and full-width a-z in
    // upper case, and length; a byte that starts no valid character stands
    // for itself above them all), compared one by one, then the shorter run
    // first, then the bytes.
    const auto characters = [](std::string_view s) {
        std::vector<std::pair<std::uint32_t, std::size_t>> out;
        for (std::size_t pos = 0; pos < s.size();) {
            const auto lead = static_cast<unsigned char>(s[pos]);
            std::size_t length = lead < 0x80    ? 1
                                 : lead >= 0xF8 ? 0
                                 : lead >= 0xF0 ? 4
                                 : lead >= 0xE0 ? 3
                                 : lead >= 0xC0 ? 2
                                                : 0;
            std::uint32_t code = lead < 0x80 ? lead : lead & (0x7F >> length);
            for (std::size_t i = 1; i < length && length > 0; ++i) {
                const auto next = pos + i < s.size() ? static_cast<unsigned char>(s[pos + i]) : 0;
                if (pos + i >= s.size() || (next & 0xC0) != 0x80)
                    length = 0;
                else
                    code = code << 6 | (next & 0x3F);
            }
            if (length == 0 || code > 0x10FFFF) {
                out.emplace_back(0x110000u + lead, 1);
                ++pos;
                continue;
            }
            if ((length == 1 && code >= 'a' && code <= 'z') || (code >= 0xFF41 && code <= 0xFF5A))
                code -= 0x20;
            out.emplace_back(code, length);
            pos += length;
        }
        return out;
    };
    const unsigned char alphabet[] = {'a', 'A', 'z', '_', 0x80, 0xBC, 0xBD, 0xC1, 0xC3, 0xEF, 0xF0, 0xFF, 0x81, 0x9A};
    std::mt19937 random(23);
    for (int i = 0; i < 200000; ++i) {
        std::string a(random() % 7, ' '), b;
        for (char &c : a)
            c = static_cast<char>(alphabet[random() % std::size(alphabet)]);
        b = a.substr(0, random() % (a.size() + 1));
        for (std::size_t n = random() % 4; n > 0; --n)
            b += static_cast<char>(alphabet[random() % std::size(alphabet)]);
        const auto x = characters(a), y = characters(b);
        const bool expected = x != y ? x < y : a < b;
        ASSERT_EQ(nameSortsBefore(a, b), expected) << testing::PrintToString(a) << " " << testing::PrintToString(b);
    }
}

TEST(NameOrder, AListingSortsExactlyAsTheOrderDoes)
{
    // The listing sorts ASCII names by their folded bytes 8 at a time and
    // merges the others in: names that share 8 or 16 bytes, end at a chunk's
    // edge, differ only in case (before or after the first real
    // difference), or hold bytes from 0x80, in any mix.
    const std::vector<std::string> parts = {
        "user@www.example", "USER@WWW.EXAMPLE", "taro@",        "a",    "A",       "z", "_", "[1]",
        "12345678",         "\xC3\xA9",         "\xEF\xBD\x81", "\xFF", "\xE3\x81"};
    std::mt19937 random(19);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> names;
        platform::DirectoryListing listing;
        for (int i = 0; i < 400; ++i) {
            std::string name;
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
                name += parts[random() % parts.size()];
            if (std::find(names.begin(), names.end(), name) != names.end())
                continue;
            names.push_back(name);
            listing.add(name, name, platform::EntryKind::File, {0, static_cast<std::uint64_t>(i + 1), 0});
        }
        listing.sortByName();
        std::sort(names.begin(), names.end(), nameSortsBefore);
        ASSERT_EQ(listing.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            ASSERT_EQ(listing[i].nativeName, names[i]) << "at " << i;
            ASSERT_EQ(listing[i].name, names[i]) << "at " << i; // each entry kept whole
        }
    }
}

TEST(DirectoryListingMemory, EntriesTakenFromTheFrontKeepTheirNamesWhileTheRoomBehindGoes)
{
    // In the platform's own order the names' room goes as the entries are
    // taken from the front (the Windows scan): every entry still held keeps
    // its names whole, across many blocks, with real names stored apart.
    platform::DirectoryListing listing;
    std::vector<std::pair<std::string, std::string>> names;
    for (int i = 0; i < 6000; ++i) {
        std::string shown = "user@www.example" + std::to_string(i) + ".com[1].txt";
        std::string native = i % 7 == 0 ? shown + "\xE3\x80\x9C" : shown;
        listing.add(shown, native, platform::EntryKind::File);
        names.emplace_back(std::move(shown), std::move(native));
    }
    for (std::size_t taken = 0; taken < names.size(); ++taken) {
        ASSERT_EQ(listing.size(), names.size() - taken);
        const platform::DirEntry front = listing[0];
        ASSERT_EQ(front.name, names[taken].first);
        ASSERT_EQ(front.nativeName, names[taken].second);
        if (taken % 500 == 0) {
            for (std::size_t i = 0; i < listing.size(); ++i)
                ASSERT_EQ(listing[i].nativeName, names[taken + i].second);
        }
        listing.popFront();
    }
    EXPECT_TRUE(listing.empty());
}

TEST(FindFiles, SortsAFolderOfNamesThatAreNotUtf8)
{
    // One- and two-byte names that break UTF-8 in every way: sorting them
    // once ran off the end of the listing.
    TempFolder folder;
    std::vector<std::string> written;
    for (const int first : {0x80, 0xA1, 0xC3, 0xE3, 0xF0, 0xFF, 0x61})
        for (const int second : {0x80, 0xA1, 0xBF, 0xC3, 0x62}) {
            written.push_back({static_cast<char>(first), static_cast<char>(second)});
            folder.write(written.back(), "x");
        }
    folder.write("\xC3", "x");
    folder.write("\xE3", "x");
    const DirectoryListing listing = find(folder, "*");
    std::vector<std::string> native;
    for (std::size_t i = 0; i < listing.size(); ++i)
        if (listing[i].nativeName != "." && listing[i].nativeName != "..")
            native.emplace_back(listing[i].nativeName);
    EXPECT_EQ(native.size(), written.size() + 2);
    EXPECT_TRUE(std::is_sorted(native.begin(), native.end(), nameSortsBefore));
}

TEST(FindFiles, KeepsEveryNameIntactAcrossManyBlocks)
{
    // More names than one block of the listing holds.
    TempFolder folder;
    constexpr int kFiles = 2500;
    for (int i = kFiles - 1; i >= 0; --i)
        folder.write("user@www.a-rather-long-host-name-" + std::to_string(10000 + i) + ".example.com.txt", "x");
    const DirectoryListing listing = find(folder, "*.txt");
    ASSERT_EQ(listing.size(), std::size_t(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        const std::string expected =
            "user@www.a-rather-long-host-name-" + std::to_string(10000 + i) + ".example.com.txt";
        ASSERT_EQ(listing[i].name, expected);
        ASSERT_EQ(listing[i].nativeName, expected);
    }
}

TEST(FindFiles, EntriesTakenFromTheFrontStayValid)
{
    TempFolder folder;
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        folder.write(name, "x");
    DirectoryListing listing = find(folder, "*.txt");
    const DirEntry first = listing[0];
    listing.popFront();
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0].name, "b.txt");
    listing.popFront();
    EXPECT_EQ(listing[0].nativeName, "c.txt");
    EXPECT_EQ(first.name, "a.txt"); // its name is kept as long as the listing
}

TEST(FindFiles, PassesDotEntriesThroughWhenThePatternMatchesThem)
{
    TempFolder folder;
    folder.write("a", "x");
    EXPECT_EQ(names(find(folder, "*")), (std::vector<std::string>{".", "..", "a"}));
    EXPECT_TRUE(find(folder, "*.txt").empty());
}

TEST(FindFiles, APatternWithASeparatorListsNothing)
{
    // Its folder part would hold a wildcard: no search text reaches a file
    // outside the folder.
    TempFolder folder;
    folder.write("sub/a@b.txt", "x");
    folder.write("a@b.txt", "x");
    EXPECT_TRUE(find(folder, "*@*/a*.txt").empty());
    EXPECT_TRUE(find(folder, "*@*../../etc*.txt").empty());
    EXPECT_EQ(Folder::open(folder / "sub").find("*.txt").size(), 1u);
}

TEST(FindFiles, MissingOrUnreadableFolderListsNothing)
{
    TempFolder folder;
    EXPECT_FALSE(Folder::open(folder / "missing").isOpen());
    EXPECT_TRUE(Folder::open(folder / "missing").find("*.txt").empty());
    folder.write("file", "x");
    EXPECT_TRUE(Folder::open(folder / "file").find("*.txt").empty());
    EXPECT_TRUE(Folder().find("*").empty());
}

TEST(FindFiles, TellsFilesFromFoldersLinksAndPipes)
{
    TempFolder parent;
    const std::filesystem::path folder = parent.path() / "Cookies";
    std::filesystem::create_directory(folder);
    parent.write("Cookies/file.txt", "x");
    std::filesystem::create_directory(folder / "dir.txt");
    std::filesystem::create_symlink(folder / "file.txt", folder / "link.txt");
    std::filesystem::create_symlink(folder / "dir.txt", folder / "linkdir.txt");
    std::filesystem::create_symlink(folder / "gone", folder / "dangling.txt");
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    TempFolder elsewhere;
    std::filesystem::create_symlink(elsewhere.write("target", "x"), folder / "outside.txt");
    std::filesystem::create_symlink("../Cookies/file.txt", folder / "roundabout.txt");
    // A sibling whose name begins with the folder's is still outside it.
    parent.write("Cookies-old/t.txt", "x");
    std::filesystem::create_symlink("../Cookies-old/t.txt", folder / "sibling.txt");

    const DirectoryListing listing = Folder::open(folder.string()).find("*.txt");
    ASSERT_EQ(listing.size(), 9u);
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
    EXPECT_EQ(kinds["sibling.txt"], EntryKind::OutsideLink);
}

TEST(FindFiles, KeepsTheRealNameBesideTheCp932One)
{
    TempFolder folder;
    folder.write("u@\xE8\xA1\xA8.txt", "x");          // 表, valid UTF-8
    folder.write("v@\xF0\x9F\x8D\xAA.txt", "x");      // a biscuit: no CP932 form
    folder.write(std::string("w@\x83\x40.txt"), "x"); // not UTF-8: taken as CP932
    const DirectoryListing listing = find(folder, "*.txt");
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(listing[0].name, "u@\x95\x5C.txt");
    EXPECT_EQ(listing[0].nativeName, "u@\xE8\xA1\xA8.txt");
    EXPECT_EQ(listing[1].name, "v@?.txt");
    EXPECT_EQ(listing[1].nativeName, "v@\xF0\x9F\x8D\xAA.txt");
    EXPECT_EQ(listing[2].name, "w@\x83\x40.txt");
    EXPECT_EQ(listing[2].nativeName, "w@\x83\x40.txt");
    // A "?" in the shown name is no wildcard for the real one.
    EXPECT_EQ(find(folder, "v@?.txt").size(), 1u);
}

TEST(FindFiles, ListsEveryTxtNameWhateverItsBytes)
{
    // Latin-1 names: their last byte before ".txt" is a CP932 lead byte, and
    // once took the "." with it, so the name never matched "*.txt".
    TempFolder folder;
    for (const char *name : {"caf\xE9.txt", "s\xFC\xDF.TXT", "\x81.txt", "x\x9F.Txt"})
        folder.write(name, "x");
    EXPECT_EQ(find(folder, "*.txt").size(), 4u);
    EXPECT_EQ(find(folder, "*@*.txt").size(), 0u);
}

TEST(ReadFile, ReadsEveryByteOfARegularFileOrALinkWithinTheFolder)
{
    TempFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    folder.write("f.txt", bytes);
    folder.write("sub/g.txt", "below");
    std::filesystem::create_symlink("sub/g.txt", folder.path() / "link.txt");
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += static_cast<char>('a' + i % 26);
    folder.write("big.txt", big);

    const Folder opened = Folder::open(folder.str());
    std::string contents = "old contents";
    FileId id;
    EXPECT_EQ(opened.read("f.txt", EntryKind::File, contents, id), ReadResult::Ok);
    EXPECT_EQ(contents, bytes);
    struct stat info;
    ASSERT_EQ(::stat((folder / "f.txt").c_str(), &info), 0);
    EXPECT_EQ(id.volume, static_cast<std::uint64_t>(info.st_dev));
    EXPECT_EQ(id.index, static_cast<std::uint64_t>(info.st_ino));
    EXPECT_EQ(read(opened, "big.txt", EntryKind::File, contents), ReadResult::Ok);
    EXPECT_EQ(contents, big);
    EXPECT_EQ(read(opened, "link.txt", EntryKind::Link, contents), ReadResult::Ok);
    EXPECT_EQ(contents, "below");
    EXPECT_EQ(read(opened, "empty.txt", EntryKind::File, contents), ReadResult::Gone);
    folder.write("empty.txt", "");
    EXPECT_EQ(read(opened, "empty.txt", EntryKind::File, contents), ReadResult::Ok);
    EXPECT_EQ(contents, "");
}

TEST(ReadFile, ABatchOfManyFilesGivesEachItsOwnBytesInOrder)
{
    // More files than the system reads at once, a failure among them, and
    // one too big to be held with others, which is left to be read alone.
    TempFolder folder;
    std::vector<std::string> expected;
    for (int i = 0; i < 70; ++i)
        expected.push_back(std::string(static_cast<std::size_t>(i * 7), static_cast<char>('a' + i % 26)));
    expected[40].assign(Folder::kMostBytesTogether + 1, 'b');
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (i != 33)
            folder.write("f" + std::to_string(i) + ".txt", expected[i]);
    const Folder opened = Folder::open(folder.str());
    std::vector<std::string> names(expected.size());
    std::vector<FileRead> files(expected.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        names[i] = "f" + std::to_string(i) + ".txt";
        files[i].nativeName = names[i];
    }
    opened.readFiles(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(names[i]);
        if (i == 33) {
            EXPECT_EQ(files[i].result, ReadResult::Gone);
        } else if (i == 40) {
            EXPECT_EQ(files[i].result, ReadResult::TooBig);
            EXPECT_EQ(files[i].bytes, "");
        } else {
            EXPECT_EQ(files[i].result, ReadResult::Ok);
            EXPECT_EQ(files[i].bytes, expected[i]);
            struct stat info;
            ASSERT_EQ(::stat((folder / names[i]).c_str(), &info), 0);
            EXPECT_EQ(files[i].id.index, static_cast<std::uint64_t>(info.st_ino));
        }
    }
}

TEST(ReadFile, ABatchLeavesNoDescriptorOpenWhateverEachFileGives)
{
    // Every way a file of a batch can end: read, too big, not a regular
    // file, absent, a link read alone, a link that leads out.
    TempFolder folder;
    folder.write("small.txt", "x");
    folder.write("big.txt", std::string(Folder::kMostBytesTogether + 1, 'b'));
    std::filesystem::create_directory(folder.path() / "dir.txt");
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    std::filesystem::create_symlink("small.txt", folder.path() / "link.txt");
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.txt");
    const auto openDescriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const Folder opened = Folder::open(folder.str());
    const char *names[] = {"small.txt", "big.txt", "dir.txt", "pipe.txt", "absent.txt", "link.txt", "zero.txt"};
    std::vector<FileRead> files(std::size(names));
    for (std::size_t i = 0; i < files.size(); ++i)
        files[i].nativeName = names[i];
    files[5].kind = files[6].kind = EntryKind::Link;
    opened.readFiles(files); // the first batch makes the ring, which keeps its own descriptor
    const auto before = openDescriptors();
    for (int round = 0; round < 3; ++round)
        opened.readFiles(files);
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(files[0].result, ReadResult::Ok);
    EXPECT_EQ(files[1].result, ReadResult::TooBig);
    EXPECT_EQ(files[5].bytes, "x");
    EXPECT_EQ(files[2].result, ReadResult::Gone);
    EXPECT_EQ(files[3].result, ReadResult::Gone);
    EXPECT_EQ(files[4].result, ReadResult::Gone);
    EXPECT_EQ(files[6].result, ReadResult::Gone);
}

TEST(ReadFile, RefusesWhatIsNotARegularFileInTheFolderWithoutBlocking)
{
    // What stands where a listed file was is no file to read: the file is
    // gone. Names that no entry can have, and entries never listed as files,
    // fail to open.
    TempFolder folder;
    const Folder opened = Folder::open(folder.str());
    std::string contents;
    std::filesystem::create_directory(folder.path() / "dir.txt");
    EXPECT_EQ(read(opened, "dir.txt", EntryKind::File, contents), ReadResult::Gone);
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(read(opened, "pipe.txt", EntryKind::File, contents), ReadResult::Gone);
    EXPECT_EQ(read(opened, "pipe.txt", EntryKind::Link, contents), ReadResult::Gone);
    EXPECT_EQ(read(opened, "pipe.txt", EntryKind::Other, contents), ReadResult::OpenFailed);
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.txt");
    EXPECT_EQ(read(opened, "zero.txt", EntryKind::Link, contents), ReadResult::Gone);
    std::filesystem::create_symlink("nowhere", folder.path() / "dangling.txt");
    EXPECT_EQ(read(opened, "dangling.txt", EntryKind::Link, contents), ReadResult::Gone);
    EXPECT_EQ(read(opened, "dangling.txt", EntryKind::File, contents), ReadResult::Gone);
    std::filesystem::create_symlink("circle2.txt", folder.path() / "circle1.txt");
    std::filesystem::create_symlink("circle1.txt", folder.path() / "circle2.txt");
    EXPECT_EQ(read(opened, "circle1.txt", EntryKind::Link, contents), ReadResult::Gone);
    folder.write("sub/f.txt", "x");
    EXPECT_EQ(read(opened, "sub/f.txt", EntryKind::File, contents), ReadResult::OpenFailed);
    // A NUL ends the name the system sees: "f.txt\0x" must not open "f.txt".
    folder.write("f.txt", "x");
    EXPECT_EQ(read(opened, std::string_view("f.txt\0x", 7), EntryKind::File, contents), ReadResult::OpenFailed);
    EXPECT_FALSE(opened.remove(std::string_view("f.txt\0x", 7), FileId{1, 1, 0}));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "f.txt"));
    EXPECT_EQ(read(opened, std::string(NAME_MAX + 1, 'a'), EntryKind::File, contents), ReadResult::OpenFailed);
    EXPECT_EQ(read(Folder(), "f.txt", EntryKind::File, contents), ReadResult::OpenFailed);
}

TEST(ReadFile, ChecksWhatWasOpenedNotWhatWasListed)
{
    // The listing saw a regular file and a link into the folder; by the time
    // they are read, both lead outside.
    TempFolder folder, outside;
    folder.write("swapped.txt", "mine");
    folder.write("inside.txt", "mine");
    std::filesystem::create_symlink("inside.txt", folder.path() / "link.txt");
    const Folder opened = Folder::open(folder.str());
    const DirectoryListing listing = opened.find("*.txt");
    const DirEntry swapped = entryNamed(listing, "swapped.txt"), link = entryNamed(listing, "link.txt");
    ASSERT_EQ(swapped.kind, EntryKind::File);
    ASSERT_EQ(link.kind, EntryKind::Link);

    const std::string secret = outside.write("secret", "not yours");
    std::filesystem::remove(folder.path() / "swapped.txt");
    std::filesystem::create_symlink(secret, folder.path() / "swapped.txt");
    std::filesystem::remove(folder.path() / "link.txt");
    std::filesystem::create_symlink(secret, folder.path() / "link.txt");

    // Neither is a file of the folder any more: both are gone.
    std::string contents;
    EXPECT_EQ(read(opened, swapped.nativeName, swapped.kind, contents), ReadResult::Gone);
    EXPECT_EQ(read(opened, link.nativeName, link.kind, contents), ReadResult::Gone);
    EXPECT_EQ(contents, "");
}

TEST(ReadFile, ReachesTheListedFolderAfterItsPathLeadsElsewhere)
{
    TempFolder parent;
    parent.write("Cookies/a.txt", "listed");
    parent.write("Other/a.txt", "never listed");
    const Folder opened = Folder::open(parent / "Cookies");
    std::filesystem::rename(parent.path() / "Cookies", parent.path() / "Moved");
    std::filesystem::create_directory_symlink(parent.path() / "Other", parent.path() / "Cookies");
    std::string contents;
    EXPECT_EQ(read(opened, "a.txt", EntryKind::File, contents), ReadResult::Ok);
    EXPECT_EQ(contents, "listed");
}

TEST(ReadFile, ALinkIsCheckedAgainstWhereTheFolderHeldOpenIsNow)
{
    // A link that names the folder's path: once the folder has moved and
    // another stands at that path, the link leads out of the folder held.
    TempFolder parent;
    parent.write("Cookies/sub/a.txt", "listed");
    std::filesystem::create_symlink(parent / "Cookies/sub/a.txt", parent.path() / "Cookies/link.txt");
    const Folder opened = Folder::open(parent / "Cookies");
    std::string contents;
    EXPECT_EQ(read(opened, "link.txt", EntryKind::Link, contents), ReadResult::Ok);
    EXPECT_EQ(contents, "listed");
    std::filesystem::rename(parent.path() / "Cookies", parent.path() / "Moved");
    parent.write("Cookies/sub/a.txt", "another folder's");
    EXPECT_EQ(read(opened, "link.txt", EntryKind::Link, contents), ReadResult::Gone);
    EXPECT_EQ(contents, "");
    EXPECT_EQ(entryNamed(opened.find("*.txt"), "link.txt").kind, EntryKind::OutsideLink);
}

TEST(ReadFile, AFileShorterThanItsSizeIsReadAsItIs)
{
    // A file that gives fewer bytes than its size said when it was opened
    // (it shrank meanwhile) is read as far as it goes, without the zeros of
    // the room made for it. A kernel attribute file is such a file for
    // good: it claims 4096 bytes and holds a line. Put into the folder by a
    // bind mount, in a mount namespace of this test's own.
    const char *attribute = "/sys/kernel/mm/transparent_hugepage/enabled";
    std::string expected;
    std::getline(std::ifstream(attribute), expected);
    struct stat info;
    if (!runningAsRoot() || expected.empty() || ::stat(attribute, &info) != 0 || info.st_size <= 4096 / 2)
        GTEST_SKIP() << "needs root and " << attribute;
    TempFolder folder;
    const std::string file = folder.write("f.txt", "");
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(attribute, file.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "no bind mount here";
    std::string contents;
    EXPECT_EQ(read(Folder::open(folder.str()), "f.txt", EntryKind::File, contents), ReadResult::Ok);
    EXPECT_EQ(contents, expected + "\n");
}

TEST(ReadFile, WithoutReadPermissionFailsToOpen)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    TempFolder folder;
    const std::string file = folder.write("secret.txt", "x");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    std::string contents;
    EXPECT_EQ(read(Folder::open(folder.str()), "secret.txt", EntryKind::File, contents), ReadResult::OpenFailed);
}

TEST(RemoveFile, RemovesOnlyTheFileThatWasListed)
{
    TempFolder folder;
    const std::string target = folder.write("target.txt", "keep me");
    std::filesystem::create_symlink(target, folder.path() / "link.txt");
    folder.write("a.txt", "listed");
    std::filesystem::create_directory(folder.path() / "dir.txt");
    const Folder opened = Folder::open(folder.str());
    const DirectoryListing listing = opened.find("*.txt");
    std::string contents;
    FileId a;
    ASSERT_EQ(opened.read("a.txt", EntryKind::File, contents, a), ReadResult::Ok);

    // A link goes, never its target.
    EXPECT_TRUE(opened.remove("link.txt", entryNamed(listing, "link.txt").id));
    EXPECT_FALSE(folder.exists("link.txt"));
    EXPECT_TRUE(folder.exists("target.txt"));

    // A file put in the listed one's place while the question was open stays.
    std::filesystem::remove(folder.path() / "a.txt");
    folder.write("a.txt", "swapped in");
    // Neither it nor a name that went is a failure to tell the user of.
    EXPECT_EQ(opened.remove("a.txt", a).outcome, RemoveOutcome::NotListed);
    EXPECT_TRUE(folder.exists("a.txt"));

    EXPECT_EQ(opened.remove("missing.txt", a).outcome, RemoveOutcome::NotListed);
    EXPECT_FALSE(opened.remove("target.txt", FileId{})); // never listed
    EXPECT_TRUE(folder.exists("target.txt"));
    struct stat info;
    ASSERT_EQ(::stat((folder / "dir.txt").c_str(), &info), 0);
    EXPECT_FALSE(
        opened.remove("dir.txt", {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}));
    EXPECT_TRUE(folder.exists("dir.txt"));
}

TEST(RemoveFile, WithoutPermissionToChangeTheFolderFailsWithTheSystemsReason)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root deletes files whatever the folder's permissions";
    TempFolder folder;
    folder.write("a.txt", "listed");
    folder.write("b.txt", "listed");
    const Folder opened = Folder::open(folder.str());
    std::string contents;
    FileId a, b;
    ASSERT_EQ(opened.read("a.txt", EntryKind::File, contents, a), ReadResult::Ok);
    ASSERT_EQ(opened.read("b.txt", EntryKind::File, contents, b), ReadResult::Ok);
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const RemoveResult refused = opened.remove("a.txt", a);
    // A file that went meanwhile is still only gone, not refused.
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    std::filesystem::remove(folder.path() / "b.txt");
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const RemoveResult gone = opened.remove("b.txt", b);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);

    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.outcome, RemoveOutcome::Failed);
    EXPECT_EQ(refused.reason, systemErrorText(EACCES));
    EXPECT_TRUE(folder.exists("a.txt"));
    EXPECT_EQ(gone.outcome, RemoveOutcome::NotListed);
    EXPECT_TRUE(gone.reason.empty());
    // Once the folder may be changed, the same file goes.
    EXPECT_EQ(opened.remove("a.txt", a).outcome, RemoveOutcome::Removed);
}

TEST(SystemErrorText, IsTheSystemsWordsWithoutTheFinalStop)
{
    const std::string text = systemErrorText(EACCES);
    EXPECT_EQ(text, platform::cp932::fromUtf8(std::strerror(EACCES)).substr(0, text.size()));
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(systemErrorText(ENOENT), text);
}

namespace {

// Lists `name` in `folder` as a scan does: a file's identity from reading
// it, a link's from the listing.
FileId listedId(const Folder &folder, std::string_view name)
{
    const DirEntry entry = entryNamed(folder.find("*"), name);
    FileId id = entry.id;
    std::string contents;
    if (entry.kind == EntryKind::File) {
        EXPECT_EQ(folder.read(name, entry.kind, contents, id), ReadResult::Ok) << name;
    }
    return id;
}

// Checks that a file deleted and made again under its name while the
// question was open is never deleted, even when the system gives it the
// inode number of the one listed; and that the file listed itself is, though
// written to meanwhile. Gives the witness the listing took.
IdWitness checkRemakeIsNeverDeleted(const std::string &path)
{
    const Folder folder = Folder::open(path);
    const std::string file = path + "/a.txt";
    std::ofstream(file) << "listed";
    const FileId listed = listedId(folder, "a.txt");
    EXPECT_NE(listed.witness, IdWitness::None);
    std::filesystem::remove(file);
    std::ofstream(file) << "made anew";
    const FileId remade = listedId(folder, "a.txt");
    if (remade.index != listed.index)
        std::cout << "(" << path << " gave the new file another inode number)\n";
    EXPECT_FALSE(folder.remove("a.txt", listed)) << path;
    EXPECT_TRUE(std::filesystem::exists(file)) << path;
    std::ofstream(file, std::ios::app) << ", then written to";
    EXPECT_TRUE(folder.remove("a.txt", remade)) << path;
    EXPECT_FALSE(std::filesystem::exists(file)) << path;
    // An identity without a witness proves nothing.
    std::ofstream(file) << "x";
    FileId bare = listedId(folder, "a.txt");
    bare.witness = IdWitness::None;
    bare.stamp = 0;
    EXPECT_FALSE(folder.remove("a.txt", bare)) << path;
    EXPECT_TRUE(std::filesystem::exists(file)) << path;
    return listed.witness;
}

bool isTmpfs(const char *path)
{
    struct statfs info;
    return ::statfs(path, &info) == 0 && info.f_type == TMPFS_MAGIC;
}

} // namespace

TEST(RemoveFile, NeverDeletesAFileMadeAnewUnderTheListedNumber)
{
    // On the temporary folder's file system, and on tmpfs.
    TempFolder folder;
    checkRemakeIsNeverDeleted(folder.str());
    if (isTmpfs("/dev/shm")) {
        std::string shm = "/dev/shm/vellumin-test-XXXXXX";
        ASSERT_TRUE(::mkdtemp(shm.data()));
        checkRemakeIsNeverDeleted(shm);
        std::filesystem::remove_all(shm);
    } else {
        std::cout << "no tmpfs at /dev/shm: not tried there\n";
    }

    // On ext4 with 128-byte inodes, which keep no birth time and hand a
    // freed inode number to the next file: a small image mounted in a mount
    // namespace of this test's own, gone with it.
    if (!runningAsRoot()) {
        std::cout << "not root: ext4 without birth times not tried (it needs a mount)\n";
        return;
    }
    const std::string image = folder / "ext4.img", mounted = folder / "mounted";
    std::filesystem::create_directory(mounted);
    std::filesystem::resize_file(folder.write("ext4.img", ""), 1 << 20);
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        std::system(
            ("PATH=$PATH:/sbin:/usr/sbin mkfs.ext4 -q -F -I 128 -N 32 " + image + " >/dev/null 2>&1").c_str()) != 0 ||
        std::system(("mount -o loop " + image + " " + mounted).c_str()) != 0) {
        std::cout << "no loop-mounted ext4 here: ext4 without birth times not tried\n";
        return;
    }
    EXPECT_EQ(checkRemakeIsNeverDeleted(mounted), IdWitness::Generation);

    // A link there has neither: its change time, in whole seconds, and its
    // size (its target's length) stand witness. Listed within a tick of that
    // time after it was made, it proves nothing: a link to a target of the
    // same length, or a regular file of the same size, put in its place
    // within the same second under the freed inode number looks the same.
    const auto at = [&](const char *name) { return mounted + "/" + name; };
    for (const char *name : {"old.txt", "relinked.txt", "filed.txt"})
        std::filesystem::create_symlink("a.txt", at(name));
    const auto madeAt = std::chrono::steady_clock::now();
    const Folder opened = Folder::open(mounted);
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::filesystem::create_symlink("a.txt", at("new.txt"));
        const FileId fresh = listedId(opened, "new.txt");
        EXPECT_EQ(fresh.witness, IdWitness::Unproven);
        EXPECT_EQ(fresh.stamp % 1000000000, 0u) << "not whole seconds";
        std::filesystem::remove(at("new.txt"));
        std::filesystem::create_symlink("b.txt", at("new.txt"));
        if (listedId(opened, "new.txt").index != fresh.index)
            std::cout << "(the new link got another inode number)\n";
        EXPECT_FALSE(opened.remove("new.txt", fresh));
        std::filesystem::remove(at("new.txt"));
        std::ofstream(at("new.txt")) << "c.txt";
        EXPECT_FALSE(opened.remove("new.txt", fresh));
        EXPECT_TRUE(std::filesystem::exists(at("new.txt")));
        std::filesystem::remove(at("new.txt"));
    }

    // Listed more than two seconds after they were made (a time in even
    // seconds may be FAT's two-second tick), they prove themselves: what is
    // put in their place since then has a later change time.
    std::this_thread::sleep_until(madeAt + std::chrono::milliseconds(2100));
    const FileId old = listedId(opened, "old.txt");
    const FileId relinked = listedId(opened, "relinked.txt");
    const FileId filed = listedId(opened, "filed.txt");
    for (const FileId &id : {old, relinked, filed})
        EXPECT_EQ(id.witness, IdWitness::ChangeAndSize);
    std::filesystem::remove(at("relinked.txt"));
    std::filesystem::create_symlink("b.txt", at("relinked.txt"));
    EXPECT_FALSE(opened.remove("relinked.txt", relinked));
    std::filesystem::remove(at("filed.txt"));
    std::ofstream(at("filed.txt")) << "b.txt";
    EXPECT_FALSE(opened.remove("filed.txt", filed));
    EXPECT_TRUE(std::filesystem::is_symlink(at("relinked.txt")));
    EXPECT_TRUE(std::filesystem::exists(at("filed.txt")));
    // Another kind of file under the same number with the same change time
    // and size is not the file listed either.
    EXPECT_EQ(old.type, S_IFLNK >> 12);
    FileId asFile = old;
    asFile.type = S_IFREG >> 12;
    EXPECT_FALSE(opened.remove("old.txt", asFile));
    EXPECT_TRUE(opened.remove("old.txt", old));
    EXPECT_FALSE(std::filesystem::is_symlink(at("old.txt")));
    EXPECT_TRUE(std::filesystem::exists(at("a.txt")));
}

TEST(RemoveFile, DeletesInTheListedFolderAfterItsPathLeadsElsewhere)
{
    TempFolder parent;
    parent.write("Cookies/a.txt", "listed");
    parent.write("Other/a.txt", "never listed");
    const Folder opened = Folder::open(parent / "Cookies");
    std::string contents;
    FileId id;
    ASSERT_EQ(opened.read("a.txt", EntryKind::File, contents, id), ReadResult::Ok);
    std::filesystem::rename(parent.path() / "Cookies", parent.path() / "Moved");
    std::filesystem::create_directory_symlink(parent.path() / "Other", parent.path() / "Cookies");
    EXPECT_TRUE(opened.remove("a.txt", id));
    EXPECT_FALSE(parent.exists("Moved/a.txt"));
    EXPECT_TRUE(parent.exists("Other/a.txt"));
}
