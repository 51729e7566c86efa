#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "recording_view.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

using namespace listing;
using platform::cp932::fromUtf8;

namespace {

std::string record(const std::string &value, const std::string &host)
{
    return "name\n" + value + "\n" + host + "\n1536\n1\n2\n3\n4\n*\n";
}

class FolderScan : public ::testing::Test {
protected:
    FolderScan() { cookies.state().setCookiesPath(platform::namedPath(folder.str())); }

    std::vector<std::string> listedNames() const
    {
        std::vector<std::string> names;
        for (int row = 1; row < cookies.table().rowCount(); ++row)
            names.emplace_back(cookies.table().cell(1, row));
        return names;
    }
    void search(SearchMode mode, const std::string &text)
    {
        cookies.state().systemInfo.searchMode = mode;
        cookies.state().systemInfo.searchText = text;
    }

    TempFolder folder;
    CookieListing cookies;
    RecordingView view;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(FolderScan, ReportsToTheWindowInOrder)
{
    folder.write("u@a.txt", record("1", "a/"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(view.calls, (Names{"status", "busy", "hidePane", "hideTable", "label", "disableClear", "showTable",
                                 "tableChanged", "showPane", "idle", "enableDelete", "status", "caption", "folder"}));
    EXPECT_EQ(view.statusText, " 1" + fromUtf8(" 個のクッキーが見付かりました"));
    EXPECT_EQ(view.caption, "Vellumin ver 1.30   < CookiesPath:[" + folder.str() + "/] >");
    EXPECT_EQ(view.folderText, folder.str() + "/");
    EXPECT_TRUE(view.deleteCommandsEnabled);
    EXPECT_EQ(cookies.contentPane().text(), ""); // the pane is empty after every scan
}

TEST_F(FolderScan, ListsEveryTxtFileNumberedFromOne)
{
    folder.write("b@y.txt", record("2", "y/"));
    folder.write("A@x.TXT", record("1", "x/"));
    folder.write("c@z.txt.bak", record("3", "z/"));
    folder.write("readme", "x");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"A@x", "b@y"}));
    EXPECT_EQ(cookies.table().cell(0, 2), "2");
    EXPECT_EQ(cookies.table().cell(2, 1), "x/");
    EXPECT_EQ(cookies.table().cell(3, 1), "1");
    EXPECT_EQ(cookies.table().columnWidth(0), 18);
}

TEST_F(FolderScan, EmptyOrMissingFolderShowsTheHeaderOnly)
{
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_EQ(cookies.table().cell(0, 0), "No");
    EXPECT_FALSE(view.deleteCommandsEnabled);
    EXPECT_EQ(view.statusText, fromUtf8("クッキーファイルが見付かりません"));
}

TEST_F(FolderScan, AFolderThatIsNotThereOrNoFolderIsSaidSo)
{
    // Rows of an earlier scan go, and the delete commands with them.
    folder.write("u@a.txt", record("1", "a/"));
    cookies.listCookieFiles(view);
    ASSERT_TRUE(view.deleteCommandsEnabled);
    cookies.state().setCookiesPath(platform::namedPath(folder / "見当たらない"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_FALSE(view.deleteCommandsEnabled);
    EXPECT_EQ(view.statusText, fromUtf8("クッキーフォルダ " + folder.str() + "/見当たらない が見付かりません"));
    EXPECT_EQ(view.caption, "Vellumin ver 1.30   < CookiesPath:[" + fromUtf8(folder / "見当たらない") + "/] >");

    cookies.state().setCookiesPath(platform::namedPath(folder / "u@a.txt"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_EQ(view.statusText, fromUtf8("クッキーフォルダ " + folder.str() + "/u@a.txt を開けません"));
    // The root is kept as the empty path and named by its separator.
    EXPECT_EQ(messages::cookieFolderMissing("/"), fromUtf8("クッキーフォルダ / が見付かりません"));
}

TEST_F(FolderScan, AFolderWithoutPermissionSaysItCannotBeOpened)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root lists folders whatever their permissions";
    folder.write("locked/u@a.txt", record("1", "a/"));
    cookies.state().setCookiesPath(platform::namedPath(folder / "locked"));
    const std::string cannotOpen = fromUtf8("クッキーフォルダ " + folder.str() + "/locked を開けません");
    // Neither read nor searched; then read but not searched, where every
    // name is there and not one file opens: no error box either way.
    for (const auto perms : {std::filesystem::perms::none, std::filesystem::perms::owner_read}) {
        std::filesystem::permissions(folder / "locked", perms);
        EXPECT_NO_THROW(cookies.listCookieFiles(view));
        EXPECT_EQ(cookies.table().rowCount(), 1);
        EXPECT_FALSE(view.deleteCommandsEnabled);
        EXPECT_EQ(view.statusText, cannotOpen);
    }
    std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_all);
}

TEST_F(FolderScan, AShorterScanDropsTheRowsOfALongerOne)
{
    for (int i = 0; i < 20; ++i)
        folder.write("u@site" + std::to_string(100 + i) + ".txt", record("v", "h/"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 20);
    for (int i = 12; i < 20; ++i)
        std::filesystem::remove(folder.path() / ("u@site" + std::to_string(100 + i) + ".txt"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 12);
    EXPECT_EQ(view.tableChanges, 2);
}

TEST_F(FolderScan, FileNameSearchMatchesAfterTheAtOnly)
{
    folder.write("abc@www.example.com.txt", record("1", "a/"));
    folder.write("u@www.ABC.com.txt", record("2", "b/"));
    folder.write("u@abc.txt", record("3", "c/"));
    folder.write("u@other.txt", record("4", "d/"));
    search(SearchMode::FileName, "abc");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@abc", "u@www.ABC.com"}));
    EXPECT_EQ(view.searchModeLabel, fromUtf8("ファイル名検索モード"));
    EXPECT_TRUE(view.clearSearchEnabled);
    EXPECT_EQ(cookies.state().filePattern(), "*@*abc*.txt");
}

TEST_F(FolderScan, FileNameSearchTextsWithWildcardsAndOddBytes)
{
    folder.write("u@a1b.txt", record("1", "a/"));
    folder.write("u@a22b.txt", record("2", "b/"));
    folder.write("u@[x].txt", record("3", "c/"));
    folder.write("sub/u@a1b.txt", record("4", "d/"));

    search(SearchMode::FileName, "a?b");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@a1b"}));
    search(SearchMode::FileName, "a*b");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@a1b", "u@a22b"}));
    search(SearchMode::FileName, "[x]");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@[x]"}));
    // A separator in the search text never reaches into another folder.
    for (const char *text : {"/", "sub/u@a", "../", "a1b/../../"}) {
        search(SearchMode::FileName, text);
        cookies.listCookieFiles(view);
        EXPECT_EQ(cookies.table().dataRowCount(), 0) << text;
    }
    search(SearchMode::FileName, std::string(255, 'z'));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    search(SearchMode::FileName, fromUtf8("表"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
}

TEST_F(FolderScan, ContentSearchNumbersOnlyTheMatches)
{
    folder.write("a@x.txt", record("needle", "a/"));
    folder.write("b@x.txt", record("hay", "b/"));
    folder.write("c@x.txt", record("more needle", "c/"));
    folder.write("d@x.txt", record("NEEDLE", "d/"));
    search(SearchMode::Content, "needle");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"a@x", "c@x"}));
    EXPECT_EQ(cookies.table().cell(0, 2), "2");
    EXPECT_EQ(view.searchModeLabel, fromUtf8("ファイル内容検索モード"));
    EXPECT_EQ(cookies.state().filePattern(), "*.txt");
    // "*" is no wildcard in a content search.
    search(SearchMode::Content, "n*e");
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
}

TEST_F(FolderScan, ClearingTheSearchListsAllAgain)
{
    folder.write("a@x.txt", record("1", "a/"));
    folder.write("b@y.txt", record("2", "b/"));
    search(SearchMode::FileName, "y");
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 1);
    search(SearchMode::None, "");
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 2);
    EXPECT_EQ(view.searchModeLabel, "");
    EXPECT_FALSE(view.clearSearchEnabled);
}

TEST_F(FolderScan, FoldersPipesAndDotFilesAreNoCookieFiles)
{
    folder.write("a@x.txt", record("1", "a/"));
    std::filesystem::create_directory(folder.path() / "x.txt");
    std::filesystem::create_directory(folder.path() / "z@folder.txt");
    ASSERT_EQ(::mkfifo((folder / "p@pipe.txt").c_str(), 0600), 0);
    folder.write(".txt", "a name that is all extension has no file name");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
    EXPECT_EQ(view.statusText, messages::cookiesFound(1));
}

TEST_F(FolderScan, LinksToFilesAreListedAndReadThroughTheLink)
{
    folder.write("real/target.dat", record("through the link", "t/"));
    std::filesystem::create_symlink(folder.path() / "real/target.dat", folder.path() / "l@link.txt");
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"l@link"}));
    EXPECT_EQ(cookies.table().cell(3, 1), "through");
}

TEST_F(FolderScan, LinksLeadingOutOfTheFolderAreNotFollowed)
{
    TempFolder elsewhere;
    const std::string secret = elsewhere.write("secret", record("do not read", "secret/"));
    std::filesystem::create_symlink(secret, folder.path() / "s@secret.txt");
    folder.write("a@x.txt", record("1", "a/"));
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
    EXPECT_EQ(cookies.contentPane().text(), "");
    // Searching its content finds nothing either.
    search(SearchMode::Content, "do not read");
    cookies.listCookieFiles(view);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(secret));
}

TEST_F(FolderScan, AReadFailureEndsTheScanAfterShowingWhatWasFound)
{
    folder.write("a@x.txt", record("1", "a/"));
    folder.write("b@x.txt", record("2", "b/"));
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "c@dangling.txt");
    folder.write("d@x.txt", record("4", "d/"));
    try {
        cookies.listCookieFiles(view);
        FAIL() << "no error";
    } catch (const FileOpenError &error) {
        EXPECT_EQ(std::string(error.what()), messages::cannotOpenFile(folder.str() + "/c@dangling.txt"));
    }
    EXPECT_EQ(listedNames(), (Names{"a@x", "b@x"}));
    EXPECT_TRUE(view.tableVisible);
    EXPECT_TRUE(view.contentPaneVisible);
    EXPECT_FALSE(view.busy);
    EXPECT_TRUE(view.deleteCommandsEnabled);
    EXPECT_EQ(view.statusText, messages::cookiesFound(2));
    EXPECT_EQ(view.folderText, folder.str() + "/");
    EXPECT_EQ(cookies.table().columnWidth(0), 18);
}

TEST_F(FolderScan, ManyFilesKeepTheirOrderAndAFailureStillEndsTheScanInItsTurn)
{
    // Files are read many at a time; rows, numbers and the failure must come
    // out as if each had been read in its turn, a big one among them.
    Names expected;
    for (int i = 0; i < 80; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%02d@x", i);
        const std::string value = i == 37 ? std::string(3u << 20, 'v') : std::to_string(i);
        folder.write(std::string(name) + ".txt", record(value, std::to_string(i) + "/"));
        expected.emplace_back(name);
    }
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(cookies.table().cell(2, 38), "37/");
    EXPECT_EQ(cookies.table().cell(2, 80), "79/");

    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "u50@dangling.txt");
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    expected.resize(50); // "u50@dangling" comes before "u50@x"
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(view.statusText, messages::cookiesFound(50));
}

TEST_F(FolderScan, AFailureOnTheFirstFileLeavesNoRowsAndNoDeleteCommands)
{
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "a@dangling.txt");
    folder.write("b@x.txt", record("2", "b/"));
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_FALSE(view.deleteCommandsEnabled);
    EXPECT_EQ(view.statusText, messages::noCookiesFound());
    EXPECT_FALSE(view.busy);
}

TEST_F(FolderScan, AFileWithoutReadPermissionEndsTheScan)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    folder.write("a@x.txt", record("1", "a/"));
    const std::string locked = folder.write("b@locked.txt", record("2", "b/"));
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
}

TEST_F(FolderScan, NamesWithBlanksCommasQuotesAndJapanese)
{
    folder.write("u@a b.txt", record("1", "a/"));
    folder.write("u@c,d.txt", record("2", "b/"));
    folder.write("\"q\"@e.txt", record("3", "c/"));
    folder.write("u@\xE8\xA1\xA8.txt", record(fromUtf8("値"), "d/"));
    folder.write("u@\xF0\x9F\x8D\xAA.txt", record("5", "e/"));
    cookies.listCookieFiles(view);
    ASSERT_EQ(cookies.table().dataRowCount(), 5);
    EXPECT_EQ(listedNames(), (Names{"q", "u@a", "u@c", "u@\x95\x5C", "u@?"}));
    EXPECT_EQ(cookies.table().cell(2, 2), "b"); // the rest of "a b" spills over
    EXPECT_EQ(cookies.table().cell(3, 4), fromUtf8("値"));
    // Each row still knows its real file.
    EXPECT_EQ(cookies.table().rowFile(2).nativeName, "u@a b.txt");
    EXPECT_EQ(cookies.table().rowFile(5).nativeName, "u@\xF0\x9F\x8D\xAA.txt");
    cookies.readRowFile(5);
    EXPECT_EQ(cookies.contentPane().line(3), "e/");
}

TEST_F(FolderScan, AFileThatVanishesBeforeItIsReadIsAnOpenError)
{
    // Deleting it from inside the scan is not possible here; a dangling link
    // is what a file removed after enumeration looks like to the reader.
    folder.write("a@x.txt", record("1", "a/"));
    std::filesystem::create_symlink(folder.path() / "removed.txt", folder.path() / "b@gone.txt");
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
}

TEST_F(FolderScan, CaptionAndFolderBoxForTheRootFolder)
{
    cookies.state().setCookiesPath({"", ""});
    EXPECT_EQ(cookies.state().caption(), "Vellumin ver 1.30   < CookiesPath:[/] >");
    EXPECT_EQ(cookies.state().folderText(), "/");
}

TEST_F(FolderScan, DeletionRemovesOnlyTheRowsOwnFile)
{
    folder.write("u@a.txt", "x");
    folder.write("u@a b.txt", "x");
    cookies.listCookieFiles(view);
    ASSERT_EQ(cookies.table().dataRowCount(), 2);
    ASSERT_EQ(cookies.table().cell(1, 1), "u@a");
    EXPECT_TRUE(cookies.deleteCookieFile(1)); // "u@a b", listed first
    EXPECT_FALSE(folder.exists("u@a b.txt"));
    EXPECT_TRUE(folder.exists("u@a.txt"));
    EXPECT_FALSE(cookies.deleteCookieFile(1)); // already gone
    EXPECT_FALSE(cookies.deleteCookieFile(0));
    EXPECT_FALSE(cookies.deleteCookieFile(3));

    // A file put in a listed one's place after the scan is not deleted.
    std::filesystem::remove(folder.path() / "u@a.txt");
    folder.write("u@a.txt", "swapped in");
    EXPECT_FALSE(cookies.deleteCookieFile(2));
    EXPECT_TRUE(folder.exists("u@a.txt"));
}

TEST_F(FolderScan, DeletesInTheFolderThatWasListedNotItsTwin)
{
    // "〜" (U+301C) and "～" (U+FF5E) are one character in CP932: the
    // folder's CP932 form leads back to the twin, so every call must use
    // the path that was chosen.
    TempFolder parent;
    const std::string chosen = parent / "\xE3\x82\xAF\xE3\x80\x9C"; // ク〜
    const std::string twin = parent / "\xE3\x82\xAF\xEF\xBD\x9E";   // ク～
    parent.write("\xE3\x82\xAF\xE3\x80\x9C/u@mine.txt", record("1", "mine/"));
    parent.write("\xE3\x82\xAF\xEF\xBD\x9E/u@mine.txt", record("2", "twin/"));
    parent.write("\xE3\x82\xAF\xEF\xBD\x9E/u@other.txt", record("3", "twin/"));
    cookies.state().setCookiesPath(platform::namedPath(chosen));
    EXPECT_EQ(cookies.state().cookiesPath, platform::namedPath(twin).shown);
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@mine"}));
    EXPECT_EQ(cookies.table().cell(2, 1), "mine/");
    EXPECT_TRUE(cookies.deleteCookieFile(1));
    EXPECT_FALSE(parent.exists("\xE3\x82\xAF\xE3\x80\x9C/u@mine.txt"));
    EXPECT_TRUE(parent.exists("\xE3\x82\xAF\xEF\xBD\x9E/u@mine.txt"));

    // A folder that CP932 cannot name at all is listed all the same.
    const std::string biscuit = parent / "\xF0\x9F\x8D\xAA";
    parent.write("\xF0\x9F\x8D\xAA/u@b.txt", record("4", "b/"));
    cookies.state().setCookiesPath(platform::namedPath(biscuit));
    cookies.listCookieFiles(view);
    EXPECT_EQ(listedNames(), (Names{"u@b"}));
    EXPECT_NE(view.caption.find(parent.str() + "/?/"), std::string::npos);
}

TEST_F(FolderScan, AFailedScanLeavesNoRowsOfAnotherFolder)
{
    // The first folder lists three rows; the scan of the second fails on its
    // second file. The rows of the first folder must not stay beside the
    // second, where ALL DELETE would reach same-named files never listed.
    for (const char *name : {"a@x.txt", "b@x.txt", "c@x.txt"})
        folder.write(name, record("1", "first/"));
    cookies.listCookieFiles(view);
    ASSERT_EQ(cookies.table().dataRowCount(), 3);

    TempFolder second;
    second.write("a@x.txt", record("2", "second/"));
    std::filesystem::create_symlink(second.path() / "gone", second.path() / "b@x.txt");
    second.write("c@x.txt", record("2", "second/"));
    cookies.state().setCookiesPath(platform::namedPath(second.str()));
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
    EXPECT_EQ(cookies.listedFolder(), second.str());
    EXPECT_TRUE(view.deleteCommandsEnabled);
    EXPECT_FALSE(cookies.deleteCookieFile(2));
    EXPECT_TRUE(folder.exists("c@x.txt"));

    // Any other failure too (running out of memory, say): here the view
    // fails as the scan begins, before a single file of the folder is read.
    struct FailingView : ViewState {
        bool failed = false;
        void setSearchModeLabel(const std::string &) override
        {
            if (!failed) {
                failed = true;
                throw std::runtime_error("out of something");
            }
        }
    } failing;
    cookies.state().setCookiesPath(platform::namedPath(folder.str()));
    cookies.listCookieFiles(view);
    ASSERT_EQ(cookies.table().dataRowCount(), 3);
    cookies.state().setCookiesPath(platform::namedPath(second.str()));
    EXPECT_THROW(cookies.listCookieFiles(failing), std::runtime_error);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    EXPECT_EQ(cookies.listedFolder(), second.str());
    EXPECT_FALSE(failing.deleteCommandsEnabled);
    EXPECT_FALSE(cookies.deleteCookieFile(1));

    // Failing on its first file, it leaves no rows and no delete commands.
    std::filesystem::remove(second.path() / "a@x.txt");
    EXPECT_THROW(cookies.listCookieFiles(view), FileOpenError);
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    EXPECT_FALSE(view.deleteCommandsEnabled);
    EXPECT_FALSE(view.busy);
}

TEST_F(FolderScan, ARowIsReadOnlyWhileItIsARegularFileInTheFolder)
{
    TempFolder outside;
    folder.write("a@x.txt", record("1", "a/"));
    cookies.listCookieFiles(view);
    std::filesystem::remove(folder.path() / "a@x.txt");
    std::filesystem::create_symlink(outside.write("secret", "not yours"), folder.path() / "a@x.txt");
    EXPECT_THROW(cookies.readRowFile(1), FileOpenError);
    EXPECT_EQ(cookies.contentPane().text(), "");
}

TEST_F(FolderScan, ABigFileIsHeldOnceAndLetGoAfterTheScan)
{
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "a line of a log " + std::to_string(i) + "\n";
    folder.write("big@x.txt", big);
    cookies.listCookieFiles(view);
    ASSERT_EQ(cookies.table().dataRowCount(), 1);
    EXPECT_LT(cookies.contentPane().text().capacity(), ContentPane::kLargeBuffer);
    cookies.readRowFile(1);
    // Held once, as read, in room for its size: no second copy, no doubled
    // room, however short its lines.
    EXPECT_EQ(cookies.contentPane().rawText(), big);
    EXPECT_LT(cookies.contentPane().heldBytes(), big.size() + big.size() / 10);
    cookies.readRowFile(1);
    EXPECT_EQ(cookies.contentPane().rawText(), big);
    EXPECT_EQ(cookies.contentPane().text().size(), big.size() + 100000);
}

TEST_F(FolderScan, InitStateStartsInTheFirstCookieFolderThatIsThere)
{
    const char *saved = std::getenv("WINEPREFIX");
    const std::string previous = saved ? saved : "";
    ::setenv("WINEPREFIX", folder.str().c_str(), 1);
    const auto startFolder = [this] {
        cookies.initState();
        return cookies.state().nativeCookiesPath;
    };
    const std::string windowsCookies = folder / "drive_c/windows/Cookies";

    // A prefix whose registry names no cookie folder: the Windows
    // directory's, there or not.
    EXPECT_EQ(startFolder(), windowsCookies);
    EXPECT_EQ(cookies.state().cookiesPath, windowsCookies);
    // A pipe in the registry's place is not read: it would never end.
    ASSERT_EQ(::mkfifo((folder / "user.reg").c_str(), 0600), 0);
    EXPECT_EQ(startFolder(), windowsCookies);
    std::filesystem::remove(folder / "user.reg");

    // The folder the prefix's registry names, mapped through its drive C:,
    // once it is there; the Windows directory's first.
    folder.write("user.reg", R"(WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1
"Cookies"="C:\\users\\\x592a\x90ce\\INetCookies"
)");
    std::filesystem::create_directories(folder / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", folder / "dosdevices/c:");
    const std::string named = folder / "drive_c/users/太郎/INetCookies";
    EXPECT_EQ(startFolder(), windowsCookies);
    std::filesystem::create_directories(named);
    EXPECT_EQ(startFolder(), named);
    // Its Low folder, where a browser with low rights keeps them, when only
    // that one holds cookie files.
    std::filesystem::create_directories(named + "/Low");
    EXPECT_EQ(startFolder(), named + "/Low");
    EXPECT_EQ(cookies.state().cookiesPath, fromUtf8(named + "/Low"));
    folder.write("drive_c/users/太郎/INetCookies/u@a.txt", record("1", "a/"));
    EXPECT_EQ(startFolder(), named);
    // A file in a folder's place is no folder.
    folder.write("drive_c/windows/Cookies", "not a folder");
    EXPECT_EQ(startFolder(), named);
    std::filesystem::remove(windowsCookies);
    std::filesystem::create_directories(windowsCookies);
    EXPECT_EQ(startFolder(), windowsCookies);

    if (saved)
        ::setenv("WINEPREFIX", previous.c_str(), 1);
    else
        ::unsetenv("WINEPREFIX");
    EXPECT_EQ(cookies.state().systemInfo.searchMode, SearchMode::None);
    EXPECT_EQ(cookies.state().systemInfo.searchText, "");
    EXPECT_FALSE(cookies.state().systemInfo.userName.empty());
}

TEST(ChosenFile, GivesItsFolderWithoutTheTrailingSeparator)
{
    const auto folderOf = [](const std::string &native) {
        return cookieFolderOfChosenFile(platform::namedPath(native));
    };
    EXPECT_EQ(folderOf("/tmp/x.txt").native, "/tmp");
    EXPECT_EQ(folderOf("/x.txt").native, "");
    EXPECT_EQ(folderOf("/a/b/").native, "/a/b");
    EXPECT_EQ(folderOf("x.txt").native, "");
    // A trail byte 0x5C is no separator, and neither is a backslash.
    EXPECT_EQ(folderOf("/home/\x83\x5C/a\\b.txt").native, "/home/\x83\x5C");
    // Both forms, each cut in its own naming: 表 is E8 A1 A8 natively.
    const platform::NamedPath folder = folderOf("/home/\xE8\xA1\xA8/x.txt");
    EXPECT_EQ(folder.native, "/home/\xE8\xA1\xA8");
    EXPECT_EQ(folder.shown, "/home/\x95\x5C");
}
