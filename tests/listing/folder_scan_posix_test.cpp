#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/listing_view.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "recording_view.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // Lists the folder into `outcome`, telling `rows` (`view` when none) of
    // each file, and throws what ended the scan.
    void list(RecordingView *rows = nullptr)
    {
        if (!rows)
            rows = &view;
        rows->gone.clear();
        outcome = cookies.listCookieFiles(9, rows);
        if (outcome.failure)
            std::rethrow_exception(outcome.failure);
    }

    TempFolder folder;
    CookieListing cookies;
    ListingOutcome outcome;
    RecordingView view;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(FolderScan, SaysWhatItFoundInOneOutcome)
{
    folder.write("u@a.txt", record("1", "a/"));
    list();
    EXPECT_EQ(outcome.count, 1);
    EXPECT_TRUE(outcome.completed());
    EXPECT_EQ(outcome.folderProblem, platform::FolderProblem::None);
    EXPECT_EQ(outcome.searchModeLabel, "");
    EXPECT_FALSE(outcome.searching);
    EXPECT_EQ(outcome.statusText, " 1" + fromUtf8(" 個のクッキーが見付かりました"));
    EXPECT_EQ(outcome.caption, "Vellumin ver 1.30   < CookiesPath:[" + folder.str() + "/] >");
    EXPECT_EQ(outcome.folderText, folder.str() + "/");
    EXPECT_TRUE((outcome.count > 0));
    EXPECT_EQ(cookies.contentPane().text(), ""); // the pane is empty after every scan
}

TEST_F(FolderScan, ListsEveryTxtFileNumberedFromOne)
{
    folder.write("b@y.txt", record("2", "y/"));
    folder.write("A@x.TXT", record("1", "x/"));
    folder.write("c@z.txt.bak", record("3", "z/"));
    folder.write("readme", "x");
    list();
    EXPECT_EQ(listedNames(), (Names{"A@x", "b@y"}));
    EXPECT_EQ(cookies.table().cell(0, 2), "2");
    EXPECT_EQ(cookies.table().cell(2, 1), "x/");
    EXPECT_EQ(cookies.table().cell(3, 1), "1");
    EXPECT_EQ(cookies.table().columnWidth(0), 18);
}

TEST_F(FolderScan, EmptyOrMissingFolderShowsTheHeaderOnly)
{
    list();
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_EQ(cookies.table().cell(0, 0), "No");
    EXPECT_FALSE((outcome.count > 0));
    EXPECT_EQ(outcome.statusText, fromUtf8("クッキーファイルが見付かりません"));
}

TEST_F(FolderScan, AFolderThatIsNotThereOrNoFolderIsSaidSo)
{
    // Rows of an earlier scan go, and the delete commands with them.
    folder.write("u@a.txt", record("1", "a/"));
    list();
    ASSERT_TRUE((outcome.count > 0));
    cookies.state().setCookiesPath(platform::namedPath(folder / "見当たらない"));
    list();
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_FALSE((outcome.count > 0));
    EXPECT_EQ(outcome.statusText, fromUtf8("クッキーフォルダ " + folder.str() + "/見当たらない が見付かりません"));
    EXPECT_EQ(outcome.caption, "Vellumin ver 1.30   < CookiesPath:[" + fromUtf8(folder / "見当たらない") + "/] >");
    EXPECT_EQ(outcome.folderProblem, platform::FolderProblem::Missing);
    EXPECT_FALSE(outcome.completed());
    EXPECT_FALSE(outcome.failure); // said in the status bar, not as a failure

    cookies.state().setCookiesPath(platform::namedPath(folder / "u@a.txt"));
    list();
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_EQ(outcome.statusText, fromUtf8("クッキーフォルダ " + folder.str() + "/u@a.txt を開けません"));
    EXPECT_EQ(outcome.folderProblem, platform::FolderProblem::NotAFolder);
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
        EXPECT_NO_THROW(list());
        EXPECT_EQ(cookies.table().rowCount(), 1);
        EXPECT_FALSE((outcome.count > 0));
        EXPECT_EQ(outcome.statusText, cannotOpen);
    }
    std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_all);
}

TEST_F(FolderScan, AShorterScanDropsTheRowsOfALongerOne)
{
    for (int i = 0; i < 20; ++i)
        folder.write("u@site" + std::to_string(100 + i) + ".txt", record("v", "h/"));
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 20);
    for (int i = 12; i < 20; ++i)
        std::filesystem::remove(folder.path() / ("u@site" + std::to_string(100 + i) + ".txt"));
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 12);
}

TEST_F(FolderScan, FileNameSearchMatchesAfterTheAtOnly)
{
    folder.write("abc@www.example.com.txt", record("1", "a/"));
    folder.write("u@www.ABC.com.txt", record("2", "b/"));
    folder.write("u@abc.txt", record("3", "c/"));
    folder.write("u@other.txt", record("4", "d/"));
    search(SearchMode::FileName, "abc");
    list();
    EXPECT_EQ(listedNames(), (Names{"u@abc", "u@www.ABC.com"}));
    EXPECT_EQ(outcome.searchModeLabel, fromUtf8("ファイル名検索モード"));
    EXPECT_TRUE(outcome.searching);
    EXPECT_EQ(cookies.state().filePattern(), "*@*abc*.txt");
}

TEST_F(FolderScan, FileNameSearchTextsWithWildcardsAndOddBytes)
{
    folder.write("u@a1b.txt", record("1", "a/"));
    folder.write("u@a22b.txt", record("2", "b/"));
    folder.write("u@[x].txt", record("3", "c/"));
    folder.write("sub/u@a1b.txt", record("4", "d/"));

    search(SearchMode::FileName, "a?b");
    list();
    EXPECT_EQ(listedNames(), (Names{"u@a1b"}));
    search(SearchMode::FileName, "a*b");
    list();
    EXPECT_EQ(listedNames(), (Names{"u@a1b", "u@a22b"}));
    search(SearchMode::FileName, "[x]");
    list();
    EXPECT_EQ(listedNames(), (Names{"u@[x]"}));
    // A separator in the search text never reaches into another folder.
    for (const char *text : {"/", "sub/u@a", "../", "a1b/../../"}) {
        search(SearchMode::FileName, text);
        list();
        EXPECT_EQ(cookies.table().dataRowCount(), 0) << text;
    }
    search(SearchMode::FileName, std::string(255, 'z'));
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    search(SearchMode::FileName, fromUtf8("表"));
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
}

TEST_F(FolderScan, ContentSearchNumbersOnlyTheMatches)
{
    folder.write("a@x.txt", record("needle", "a/"));
    folder.write("b@x.txt", record("hay", "b/"));
    folder.write("c@x.txt", record("more needle", "c/"));
    folder.write("d@x.txt", record("NEEDLE", "d/"));
    search(SearchMode::Content, "needle");
    list();
    EXPECT_EQ(listedNames(), (Names{"a@x", "c@x"}));
    EXPECT_EQ(cookies.table().cell(0, 2), "2");
    EXPECT_EQ(outcome.searchModeLabel, fromUtf8("ファイル内容検索モード"));
    EXPECT_EQ(cookies.state().filePattern(), "*.txt");
    // "*" is no wildcard in a content search.
    search(SearchMode::Content, "n*e");
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
}

TEST_F(FolderScan, AContentSearchForALongTextFindsItInEachFileOfTheScan)
{
    // Long enough for the two-way search, prepared once for the scan; a
    // change of the text between scans is taken.
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "abcab" + std::to_string(i);
    folder.write("a@x.txt", record(longText, "a/"));
    folder.write("b@x.txt", record(longText.substr(1), "b/"));
    folder.write("c@x.txt", record("x" + longText + "y", "c/"));
    search(SearchMode::Content, longText);
    list();
    EXPECT_EQ(listedNames(), (Names{"a@x", "c@x"}));
    search(SearchMode::Content, longText.substr(1));
    list();
    EXPECT_EQ(listedNames(), (Names{"a@x", "b@x", "c@x"}));
    search(SearchMode::Content, longText + "y");
    list();
    EXPECT_EQ(listedNames(), (Names{"c@x"}));
}

TEST_F(FolderScan, ClearingTheSearchListsAllAgain)
{
    folder.write("a@x.txt", record("1", "a/"));
    folder.write("b@y.txt", record("2", "b/"));
    search(SearchMode::FileName, "y");
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 1);
    search(SearchMode::None, "");
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 2);
    EXPECT_EQ(outcome.searchModeLabel, "");
    EXPECT_FALSE(outcome.searching);
}

TEST_F(FolderScan, FoldersPipesAndDotFilesAreNoCookieFiles)
{
    folder.write("a@x.txt", record("1", "a/"));
    std::filesystem::create_directory(folder.path() / "x.txt");
    std::filesystem::create_directory(folder.path() / "z@folder.txt");
    ASSERT_EQ(::mkfifo((folder / "p@pipe.txt").c_str(), 0600), 0);
    folder.write(".txt", "a name that is all extension has no file name");
    list();
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(1));
}

TEST_F(FolderScan, LinksToFilesAreListedAndReadThroughTheLink)
{
    folder.write("real/target.dat", record("through the link", "t/"));
    std::filesystem::create_symlink(folder.path() / "real/target.dat", folder.path() / "l@link.txt");
    list();
    EXPECT_EQ(listedNames(), (Names{"l@link"}));
    EXPECT_EQ(cookies.table().cell(3, 1), "through");
}

TEST_F(FolderScan, LinksLeadingOutOfTheFolderAreNotFollowed)
{
    TempFolder elsewhere;
    const std::string secret = elsewhere.write("secret", record("do not read", "secret/"));
    std::filesystem::create_symlink(secret, folder.path() / "s@secret.txt");
    folder.write("a@x.txt", record("1", "a/"));
    list();
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
    EXPECT_EQ(cookies.contentPane().text(), "");
    // Searching its content finds nothing either.
    search(SearchMode::Content, "do not read");
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(secret));
}

TEST_F(FolderScan, AFileWithoutPermissionEndsTheScanAfterShowingWhatWasFound)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    folder.write("a@x.txt", record("1", "a/"));
    folder.write("b@x.txt", record("2", "b/"));
    std::filesystem::permissions(folder.write("c@locked.txt", record("3", "c/")), std::filesystem::perms::none);
    folder.write("d@x.txt", record("4", "d/"));
    try {
        list();
        FAIL() << "no error";
    } catch (const FileOpenError &error) {
        EXPECT_EQ(std::string(error.what()), messages::cannotOpenFile(folder.str() + "/c@locked.txt"));
    }
    EXPECT_EQ(listedNames(), (Names{"a@x", "b@x"}));
    EXPECT_TRUE((outcome.count > 0));
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(2));
    EXPECT_EQ(outcome.folderText, folder.str() + "/");
    EXPECT_EQ(cookies.table().columnWidth(0), 18);
}

TEST_F(FolderScan, ManyFilesKeepTheirOrderAndAGoneFileIsLeftOutInItsTurn)
{
    // Files are read many at a time; rows, numbers and the files left out
    // must come out as if each had been read in its turn, a big one among
    // them.
    Names expected;
    for (int i = 0; i < 80; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%02d@x", i);
        const std::string value = i == 37 ? std::string(3u << 20, 'v') : std::to_string(i);
        folder.write(std::string(name) + ".txt", record(value, std::to_string(i) + "/"));
        expected.emplace_back(name);
    }
    list();
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(cookies.table().cell(2, 38), "37/");
    EXPECT_EQ(cookies.table().cell(2, 80), "79/");

    // A link that leads nowhere is what a file deleted after the listing
    // looks like to the reader.
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "u50@dangling.txt");
    EXPECT_NO_THROW(list());
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(view.gone, Names{"u50@dangling.txt"});
    EXPECT_EQ(cookies.goneCount(), 1);
    EXPECT_EQ(cookies.table().cell(0, 51), "51");
    EXPECT_EQ(cookies.table().cell(1, 51), "u50@x");
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(80));
}

TEST_F(FolderScan, AFileWithoutPermissionAmongManyEndsTheScanInItsTurn)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    Names expected;
    for (int i = 0; i < 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%02d@x", i);
        const std::string path = folder.write(std::string(name) + ".txt", record(std::to_string(i), "a/"));
        if (i == 45)
            std::filesystem::permissions(path, std::filesystem::perms::none);
        else if (i < 45)
            expected.emplace_back(name);
    }
    // One gone before it changes nothing of that.
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "u20@dangling.txt");
    EXPECT_THROW(list(), FileOpenError);
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(45));
    EXPECT_EQ(cookies.goneCount(), 1);
}

TEST_F(FolderScan, AFileWithoutPermissionFirstLeavesNoRowsAndNoDeleteCommands)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    std::filesystem::permissions(folder.write("a@locked.txt", record("1", "a/")), std::filesystem::perms::none);
    folder.write("b@x.txt", record("2", "b/"));
    EXPECT_THROW(list(), FileOpenError);
    EXPECT_EQ(cookies.table().rowCount(), 1);
    EXPECT_FALSE((outcome.count > 0));
    EXPECT_EQ(outcome.statusText, messages::noCookiesFound());
}

TEST_F(FolderScan, AFileWithoutReadPermissionEndsTheScan)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    folder.write("a@x.txt", record("1", "a/"));
    const std::string locked = folder.write("b@locked.txt", record("2", "b/"));
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    EXPECT_THROW(list(), FileOpenError);
    EXPECT_EQ(listedNames(), (Names{"a@x"}));
}

TEST_F(FolderScan, NamesWithBlanksCommasQuotesAndJapanese)
{
    folder.write("u@a b.txt", record("1", "a/"));
    folder.write("u@c,d.txt", record("2", "b/"));
    folder.write("\"q\"@e.txt", record("3", "c/"));
    folder.write("u@\xE8\xA1\xA8.txt", record(fromUtf8("値"), "d/"));
    folder.write("u@\xF0\x9F\x8D\xAA.txt", record("5", "e/"));
    list();
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

TEST_F(FolderScan, FilesGoneBetweenTheListingAndTheReadAreLeftOut)
{
    // The browser deletes and remakes its files while we scan. Here the
    // folder changes while the first row is being listed: by then the
    // listing has every name, and the files far enough behind the first
    // (each batch reads only kReadTogether files, fewer than 40) have not
    // been read yet.
    TempFolder outside;
    const std::string secret = outside.write("secret", record("not yours", "secret/"));
    Names expected;
    for (int i = 0; i < 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "u%02d@x", i);
        folder.write(std::string(name) + ".txt", record(std::to_string(i), "a/"));
        if (i != 50 && i != 60 && i != 70 && i != 80 && i != 90)
            expected.emplace_back(name);
    }
    struct ChangingView : RecordingView {
        TempFolder *folder = nullptr;
        std::string secret;
        void fileListed(int row, const CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
        {
            if (row != 1)
                return;
            const std::filesystem::path path = folder->path();
            std::filesystem::remove(path / "u50@x.txt");
            std::filesystem::remove(path / "u60@x.txt");
            std::filesystem::create_directory(path / "u60@x.txt");
            std::filesystem::remove(path / "u70@x.txt");
            ASSERT_EQ(::mkfifo((path / "u70@x.txt").c_str(), 0600), 0);
            std::filesystem::remove(path / "u80@x.txt");
            std::filesystem::create_symlink(path / "nowhere", path / "u80@x.txt");
            std::filesystem::remove(path / "u90@x.txt");
            std::filesystem::create_symlink(secret, path / "u90@x.txt");
        }
    } changing;
    changing.folder = &folder;
    changing.secret = secret;
    EXPECT_NO_THROW(list(&changing));
    EXPECT_EQ(listedNames(), expected);
    EXPECT_EQ(changing.gone, (Names{"u50@x.txt", "u60@x.txt", "u70@x.txt", "u80@x.txt", "u90@x.txt"}));
    EXPECT_EQ(cookies.goneCount(), 5);
    // Numbered without gaps, and the window says nothing but the count.
    EXPECT_EQ(cookies.table().cell(0, 95), "95");
    EXPECT_EQ(cookies.table().cell(1, 95), "u99@x");
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(95));
    EXPECT_TRUE((outcome.count > 0));

    // The next scan lists what is there now, and reads no link that leads
    // out of the folder.
    list();
    EXPECT_EQ(cookies.table().dataRowCount(), 95);
    EXPECT_EQ(view.gone, Names{"u80@x.txt"}); // a link that leads nowhere, still
    EXPECT_EQ(cookies.goneCount(), 1);
}

TEST_F(FolderScan, AFileGoneWhenItsRowIsChosenIsSaidSo)
{
    // The user asked to see this very file: that it is not there is said.
    folder.write("a@x.txt", record("1", "a/"));
    list();
    std::filesystem::remove(folder.path() / "a@x.txt");
    try {
        cookies.readRowFile(1);
        FAIL() << "no error";
    } catch (const FileOpenError &error) {
        EXPECT_EQ(std::string(error.what()), messages::cannotOpenFile(folder.str() + "/a@x.txt"));
    }
}

TEST_F(FolderScan, ScansWhileAnotherProcessDeletesAndRemakesFilesNeverFail)
{
    // A second process deletes files and makes them again, now as files,
    // now as folders, as fast as it can, while this one scans. Not one scan
    // may fail, and every row must be a file of the folder. Bounded by a
    // number of scans and a time, whichever comes first.
    for (int i = 0; i < 200; ++i)
        folder.write("u" + std::to_string(i) + "@x.txt", record(std::to_string(i), "a/"));
    const pid_t churner = ::fork();
    ASSERT_GE(churner, 0);
    if (churner == 0) {
        for (unsigned round = 0;; ++round) {
            for (int i = 0; i < 200; i += 3) {
                const std::string path = folder.str() + "/u" + std::to_string(i) + "@x.txt";
                ::unlink(path.c_str());
                ::rmdir(path.c_str());
                if ((round + i) % 4 == 0) {
                    ::mkdir(path.c_str(), 0700);
                } else {
                    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                    if (fd >= 0) {
                        const std::string bytes = record(std::to_string(round), "b/");
                        [[maybe_unused]] const ssize_t written = ::write(fd, bytes.data(), bytes.size());
                        ::close(fd);
                    }
                }
            }
        }
    }
    int scans = 0, gone = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (; scans < 300 && std::chrono::steady_clock::now() < until; ++scans) {
        try {
            list();
        } catch (const std::exception &error) {
            ADD_FAILURE() << "scan " << scans << " failed: " << error.what();
            break;
        }
        gone += cookies.goneCount();
        const int rows = cookies.table().dataRowCount();
        EXPECT_GE(rows, 200 - 67);
        EXPECT_LE(rows, 200);
        EXPECT_EQ(outcome.statusText, messages::cookiesFound(rows));
    }
    ::kill(churner, SIGKILL);
    ::waitpid(churner, nullptr, 0);
    std::printf("%d scans, %d files left out as gone\n", scans, gone);
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
    list();
    ASSERT_EQ(cookies.table().dataRowCount(), 2);
    ASSERT_EQ(cookies.table().cell(1, 1), "u@a");
    // Messages name the row's own file, whatever its cells show.
    EXPECT_EQ(cookies.rowFilePath(1), folder.str() + "/u@a b.txt");
    EXPECT_EQ(cookies.rowFilePath(0), "");
    EXPECT_TRUE(cookies.deleteCookieFile(1)); // "u@a b", listed first
    EXPECT_FALSE(folder.exists("u@a b.txt"));
    EXPECT_TRUE(folder.exists("u@a.txt"));
    EXPECT_EQ(cookies.deleteCookieFile(1).outcome, platform::RemoveOutcome::NotListed); // already gone
    EXPECT_EQ(cookies.deleteCookieFile(0).outcome, platform::RemoveOutcome::NotListed);
    EXPECT_EQ(cookies.deleteCookieFile(3).outcome, platform::RemoveOutcome::NotListed);

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
    list();
    EXPECT_EQ(listedNames(), (Names{"u@mine"}));
    EXPECT_EQ(cookies.table().cell(2, 1), "mine/");
    EXPECT_TRUE(cookies.deleteCookieFile(1));
    EXPECT_FALSE(parent.exists("\xE3\x82\xAF\xE3\x80\x9C/u@mine.txt"));
    EXPECT_TRUE(parent.exists("\xE3\x82\xAF\xEF\xBD\x9E/u@mine.txt"));

    // A folder that CP932 cannot name at all is listed all the same.
    const std::string biscuit = parent / "\xF0\x9F\x8D\xAA";
    parent.write("\xF0\x9F\x8D\xAA/u@b.txt", record("4", "b/"));
    cookies.state().setCookiesPath(platform::namedPath(biscuit));
    list();
    EXPECT_EQ(listedNames(), (Names{"u@b"}));
    EXPECT_NE(outcome.caption.find(parent.str() + "/?/"), std::string::npos);
}

TEST_F(FolderScan, AFailedScanLeavesNoRowsOfAnotherFolder)
{
    // The first folder lists three rows; the scan of the second fails on its
    // second file. The rows of the first folder must not stay beside the
    // second, where ALL DELETE would reach same-named files never listed.
    for (const char *name : {"a@x.txt", "b@x.txt", "c@x.txt"})
        folder.write(name, record("1", "first/"));
    list();
    ASSERT_EQ(cookies.table().dataRowCount(), 3);

    TempFolder second;
    second.write("a@x.txt", record("2", "second/"));
    second.write("b@x.txt", record("2", "second/"));
    second.write("c@x.txt", record("2", "second/"));
    cookies.state().setCookiesPath(platform::namedPath(second.str()));
    // The scan fails once the second file is listed (as a file that cannot
    // be read would end it, which root cannot be shown).
    struct FailingOnSecond : RecordingView {
        void fileListed(int row, const CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
        {
            if (row == 2)
                throw FileOpenError("cannot");
        }
    } failingOnSecond;
    EXPECT_THROW(list(&failingOnSecond), FileOpenError);
    EXPECT_EQ(listedNames(), (Names{"a@x", "b@x"}));
    EXPECT_EQ(cookies.listedFolder(), second.str());
    EXPECT_TRUE((outcome.count > 0));
    EXPECT_FALSE(cookies.deleteCookieFile(3));
    EXPECT_TRUE(folder.exists("c@x.txt"));

    // Any other failure too (running out of memory, say): here the reader of
    // the rows fails at the first, before another file of the folder is read.
    struct FailingRows : ListingView {
        void fileListed(int, const CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
        {
            throw std::runtime_error("out of something");
        }
    } failing;
    cookies.state().setCookiesPath(platform::namedPath(folder.str()));
    list();
    ASSERT_EQ(cookies.table().dataRowCount(), 3);
    cookies.state().setCookiesPath(platform::namedPath(second.str()));
    outcome = cookies.listCookieFiles(9, &failing);
    EXPECT_THROW(std::rethrow_exception(outcome.failure), std::runtime_error);
    EXPECT_FALSE(outcome.completed());
    // Only the row listed before it stays, of the folder now held.
    EXPECT_EQ(cookies.table().dataRowCount(), 1);
    EXPECT_EQ(outcome.count, 1);
    EXPECT_EQ(cookies.table().cell(1, 1), "a@x");
    EXPECT_EQ(cookies.listedFolder(), second.str());
    EXPECT_FALSE(cookies.deleteCookieFile(2));

    // Failing on its first file, it leaves no rows and no delete commands.
    struct FailingOnFirst : RecordingView {
        void fileListed(int, const CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
        {
            throw FileOpenError("cannot");
        }
    } failingOnFirst;
    EXPECT_THROW(list(&failingOnFirst), FileOpenError);
    EXPECT_EQ(cookies.table().dataRowCount(), 1); // the row of the file whose view failed
}

TEST_F(FolderScan, ARowIsReadOnlyWhileItIsARegularFileInTheFolder)
{
    TempFolder outside;
    folder.write("a@x.txt", record("1", "a/"));
    list();
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
    list();
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
