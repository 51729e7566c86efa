#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "recording_view.h"
#include "temp_folder_win32.h"

#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
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

    TempFolder temp;
    CookieListing cookies;
    ListingOutcome outcome;
    RecordingView view;
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

namespace {

// The folder's entries in the order the file system lists them, which is
// the order the scan reads them in.
Names namesInListingOrder(const std::string &folder)
{
    Names names;
    WIN32_FIND_DATAW data;
    // Every entry, as the listing asks for them, then only the cookie files.
    const HANDLE find = FindFirstFileW(TempFolder::longPath(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = platform::win32::nativeFromWide(data.cFileName);
        if (name.size() > 4 && name.ends_with(".txt"))
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool runningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

TEST_F(Win32FolderScan, FilesGoneBetweenTheListingAndTheReadAreLeftOut)
{
    // The browser deletes and remakes its files while we scan. Here the
    // folder changes while the first row is being listed: the listing has
    // every name by then, and the files far enough behind the first (each
    // batch reads fewer than 40) have not been read yet.
    for (int i = 0; i < 60; ++i)
        temp.write("u" + std::to_string(i) + "@x.txt", record(std::to_string(i), "a/"));
    const Names order = namesInListingOrder(temp.str());
    ASSERT_EQ(order.size(), 60u);
    struct ChangingView : RecordingView {
        TempFolder *temp = nullptr;
        Names order;
        HANDLE pending = INVALID_HANDLE_VALUE;
        void fileListed(int row, const CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
        {
            if (row != 1)
                return;
            // Deleted; a folder in its place; deleted while another program
            // still holds it, which leaves it there but not to be opened.
            EXPECT_TRUE(DeleteFileW(TempFolder::longPath(*temp / order[40]).c_str()));
            EXPECT_TRUE(DeleteFileW(TempFolder::longPath(*temp / order[45]).c_str()));
            EXPECT_TRUE(CreateDirectoryW(TempFolder::longPath(*temp / order[45]).c_str(), nullptr));
            pending = CreateFileW(TempFolder::longPath(*temp / order[50]).c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_NE(pending, INVALID_HANDLE_VALUE);
            FILE_DISPOSITION_INFO disposition{};
            disposition.DeleteFile = TRUE;
            EXPECT_TRUE(SetFileInformationByHandle(pending, FileDispositionInfo, &disposition, sizeof disposition));
        }
    } changing;
    changing.temp = &temp;
    changing.order = order;
    cookies.state().setCookiesPath(platform::namedPath(temp.str()));
    EXPECT_NO_THROW(list(&changing));
    if (changing.pending != INVALID_HANDLE_VALUE)
        CloseHandle(changing.pending);
    // Windows refuses to open a file marked for deletion; Wine opens it
    // until its last handle goes, and it is read as it stands.
    Names gone = {order[40], order[45], order[50]};
    if (runningUnderWine())
        gone.pop_back();
    const int listed = 60 - static_cast<int>(gone.size());
    EXPECT_EQ(changing.gone, gone);
    EXPECT_EQ(cookies.goneCount(), static_cast<int>(gone.size()));
    EXPECT_EQ(cookies.table().dataRowCount(), listed);
    EXPECT_EQ(cookies.table().cell(0, listed), std::to_string(listed));
    EXPECT_EQ(outcome.statusText, messages::cookiesFound(listed));
    EXPECT_TRUE((outcome.count > 0));
}

TEST_F(Win32FolderScan, ScansWhileAnotherThreadDeletesAndRemakesFilesNeverFail)
{
    // Another thread deletes files, puts folders in their place and moves
    // fresh files in (made elsewhere, as a browser writes a file and then
    // renames it), as fast as it can, while this one scans. Not one scan
    // may fail. Bounded by a number of scans and a time, whichever comes
    // first.
    const std::string cookiesFolder = temp.makeFolder("cookies");
    const std::string spare = temp.makeFolder("spare");
    for (int i = 0; i < 100; ++i)
        temp.write("cookies\\u" + std::to_string(i) + "@x.txt", record(std::to_string(i), "a/"));
    struct Churn {
        std::string cookies, spare;
        volatile LONG stop = 0;
    } churn{cookiesFolder, spare};
    const auto work = [](void *argument) -> DWORD {
        Churn &churn = *static_cast<Churn *>(argument);
        for (unsigned round = 0; !churn.stop; ++round) {
            for (int i = 0; i < 100 && !churn.stop; i += 3) {
                const std::wstring name = TempFolder::longPath(churn.cookies + "\\u" + std::to_string(i) + "@x.txt");
                const std::wstring fresh = TempFolder::longPath(churn.spare + "\\fresh" + std::to_string(i));
                DeleteFileW(name.c_str());
                RemoveDirectoryW(name.c_str());
                if ((round + static_cast<unsigned>(i)) % 4 == 0) {
                    CreateDirectoryW(name.c_str(), nullptr);
                    continue;
                }
                const HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE)
                    continue;
                const std::string bytes = "n\nv\nh/\n0\n0\n0\n0\n0\n*\n";
                DWORD written = 0;
                WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                CloseHandle(file);
                MoveFileExW(fresh.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING);
            }
        }
        return 0;
    };
    const HANDLE thread = CreateThread(nullptr, 0, work, &churn, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    cookies.state().setCookiesPath(platform::namedPath(cookiesFolder));
    int scans = 0, gone = 0;
    const ULONGLONG until = GetTickCount64() + 3000;
    for (; scans < 150 && GetTickCount64() < until; ++scans) {
        try {
            list();
        } catch (const std::exception &error) {
            ADD_FAILURE() << "scan " << scans << " failed: " << error.what();
            break;
        }
        gone += cookies.goneCount();
        const int rows = cookies.table().dataRowCount();
        EXPECT_GE(rows, 100 - 34);
        EXPECT_LE(rows, 100);
    }
    churn.stop = 1;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    std::printf("%d scans, %d files left out as gone\n", scans, gone);
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
