#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "temp_folder_win32.h"

#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace listing;
using platform::cp932::fromUtf8;

namespace {

// "表" is 95 5C and "ソ" is 83 5C in CP932: their trail byte is "\". Native
// names and paths are UTF-8.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kHyoNative = "表";
const std::string kSoNative = "ソ";

std::string record(const std::string &value, const std::string &host)
{
    return "name\n" + value + "\n" + host + "\n1536\n1\n2\n3\n4\n*\n";
}

using Names = std::vector<std::string>;

class Win32FolderScan : public ::testing::Test {
protected:
    void scan(const std::string &folder)
    {
        cookies.state().setCookiesPath(platform::namedPath(folder));
        list();
    }

    // The listed names, sorted: the order is the file system's.
    Names listedNames() const
    {
        Names names;
        for (int row = 1; row < cookies.table().rowCount(); ++row)
            names.emplace_back(cookies.table().cell(1, row));
        std::sort(names.begin(), names.end());
        return names;
    }

    int rowOf(const std::string &name) const
    {
        for (int row = 1; row < cookies.table().rowCount(); ++row)
            if (cookies.table().cell(1, row) == name)
                return row;
        return 0;
    }

    void search(SearchMode mode, const std::string &text)
    {
        cookies.state().systemInfo.searchMode = mode;
        cookies.state().systemInfo.searchText = text;
    }

    // Lists the folder into `outcome`, and throws what ended the scan.
    void list()
    {
        outcome = cookies.listCookieFiles(9);
        if (outcome.failure)
            std::rethrow_exception(outcome.failure);
    }

    TempFolder temp;
    CookieListing cookies;
    ListingOutcome outcome;
};

} // namespace

TEST_F(Win32FolderScan, ListsOddNamesInAFolderWithABackslashTrailByteAndPassesFoldersOver)
{
    const std::string sub = "c" + kHyoNative;
    const std::string folder = temp.makeFolder(sub);
    temp.write(sub + "\\" + kSoNative + "@x.txt", record("1", "so/"));
    temp.write(sub + "\\u@a b.txt", record("2", "blank/"));
    temp.write(sub + "\\u@c,d.txt", record("3", "comma/"));
    temp.write(sub + "\\u@\xF0\x9F\x8D\xAA.txt", record("4", "emoji/"));
    temp.makeFolder(sub + "\\x@y.txt");
    scan(folder);
    EXPECT_EQ(listedNames(), (Names{"u@?", "u@a", "u@c", kSo + "@x"}));
    const std::string shown = temp.str() + "\\c" + kHyo; // the temporary folder's path is ASCII
    EXPECT_EQ(outcome.caption, "Vellumin ver 1.30   < CookiesPath:[" + shown + "\\] >");
    EXPECT_EQ(outcome.folderText, shown + "\\");

    // Each row reads and deletes its own file, though the name spreads over
    // several cells.
    const int blank = rowOf("u@a");
    ASSERT_NE(blank, 0);
    cookies.readRowFile(blank);
    EXPECT_EQ(cookies.contentPane().line(3), "blank/");
    EXPECT_TRUE(cookies.deleteCookieFile(blank));
    EXPECT_FALSE(temp.exists(sub + "\\u@a b.txt"));
    EXPECT_TRUE(cookies.deleteCookieFile(rowOf(kSo + "@x")));
    EXPECT_FALSE(temp.exists(sub + "\\" + kSoNative + "@x.txt"));
    const int emoji = rowOf("u@?");
    cookies.readRowFile(emoji);
    EXPECT_EQ(cookies.contentPane().line(3), "emoji/");
    EXPECT_TRUE(cookies.deleteCookieFile(emoji));
    EXPECT_FALSE(temp.exists(sub + "\\u@\xF0\x9F\x8D\xAA.txt"));
    EXPECT_TRUE(temp.exists(sub + "\\u@c,d.txt"));
}

TEST_F(Win32FolderScan, AReadOnlyFileIsNotDeletedAndStaysListed)
{
    temp.write("u@ro.txt", record("1", "ro/"));
    ASSERT_TRUE(SetFileAttributesW(TempFolder::longPath(temp / "u@ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    scan(temp.str());
    ASSERT_EQ(listedNames(), Names{"u@ro"});
    EXPECT_FALSE(cookies.deleteCookieFile(1));
    list();
    EXPECT_EQ(listedNames(), Names{"u@ro"});
}

TEST_F(Win32FolderScan, AFileHeldOpenForWritingEndsTheScanWithTheOpenError)
{
    temp.write("u@busy.txt", record("1", "busy/"));
    const HANDLE writer = CreateFileW(TempFolder::longPath(temp / "u@busy.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    cookies.state().setCookiesPath(platform::namedPath(temp.str()));
    try {
        list();
        ADD_FAILURE() << "the scan read a file held open for writing";
    } catch (const FileOpenError &error) {
        EXPECT_EQ(std::string(error.what()), messages::cannotOpenFile(temp / "u@busy.txt"));
    }
    CloseHandle(writer);
    list();
    EXPECT_EQ(listedNames(), Names{"u@busy"});
}

TEST_F(Win32FolderScan, SearchTextsWithBackslashesOrWildcards)
{
    temp.write("u@abc.txt", record("1", "a/"));
    temp.write("u@aXc.txt", record("2", "b/"));
    temp.makeFolder("sub");
    temp.write("sub\\u@abc.txt", record("3", "sub/"));
    cookies.state().setCookiesPath(platform::namedPath(temp.str()));
    search(SearchMode::FileName, "A?C");
    list();
    EXPECT_EQ(listedNames(), (Names{"u@aXc", "u@abc"}));
    for (const char *text : {"\\", "sub\\u@a", "..\\", "b*\\..\\..\\"}) {
        search(SearchMode::FileName, text);
        list();
        EXPECT_EQ(cookies.table().dataRowCount(), 0) << text;
    }
    search(SearchMode::Content, "\\");
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
}

TEST_F(Win32FolderScan, MissingAndEmptyFoldersListNothing)
{
    scan(temp / "missing");
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_FALSE((outcome.count > 0));
    EXPECT_EQ(outcome.statusText,
              fromUtf8("クッキーフォルダ ") + platform::shownName(temp / "missing") + fromUtf8(" が見付かりません"));
    scan(temp.str());
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_EQ(outcome.statusText, fromUtf8("クッキーファイルが見付かりません"));
}

TEST_F(Win32FolderScan, TheDefaultFolderIsTheFirstCookieFolderThatIsThere)
{
    // The system names the user's own cookie folder, without a trailing
    // backslash.
    const std::string named = platform::systemCookieFolder();
    ASSERT_FALSE(named.empty());
    EXPECT_NE(named.back(), '\\');
    wchar_t windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(windows, MAX_PATH + 1);
    const std::string windowsCookies = platform::win32::nativeFromWide(windows) + "\\Cookies";
    EXPECT_NE(named, windowsCookies);

    cookies.initState();
    const std::string chosen = cookies.state().nativeCookiesPath;
    const auto there = [](const std::string &path) { return platform::Folder::open(path).isOpen(); };
    if (there(windowsCookies))
        EXPECT_EQ(chosen, windowsCookies);
    else if (there(named))
        EXPECT_TRUE(chosen == named || chosen == named + "\\Low") << chosen;
    else
        EXPECT_EQ(chosen, windowsCookies);
    EXPECT_EQ(cookies.state().cookiesPath, platform::shownName(chosen));
}

TEST(Win32ChosenFile, GivesItsFolderWithoutTheTrailingBackslash)
{
    const auto folderOf = [](std::string path) { return cookieFolderOfChosenFile(platform::namedPath(path)); };
    EXPECT_EQ(folderOf("C:\\TEMP\\x.txt").native, "C:\\TEMP");
    EXPECT_EQ(folderOf("C:\\x.txt").native, "C:");
    // Japanese names, native and shown.
    EXPECT_EQ(folderOf("C:\\" + kHyoNative + "\\" + kSoNative + ".txt").native, "C:\\" + kHyoNative);
    EXPECT_EQ(folderOf("C:\\" + kHyoNative).native, "C:");
    EXPECT_EQ(folderOf("C:\\a\\" + kHyoNative + "\\x.txt").shown, "C:\\a\\" + kHyo);

    // A drive's root: the scan lists "C:\*.txt", the caption shows "C:\".
    ProgramState state;
    state.setCookiesPath(folderOf("C:\\x.txt"));
    EXPECT_EQ(state.caption(), "Vellumin ver 1.30   < CookiesPath:[C:\\] >");
}
