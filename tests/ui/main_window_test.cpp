// The window's behaviour without a toolkit: every command, enable rule,
// key and focus decision, driven through a fake host that records what the
// window asked of it, on a scripted dialog service and real cookie folders.

#include "ui/main_window.h"

#include "listing/content_pane.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "temp_folder.h"
#include "ui/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using platform::msgbox::kIdNo;
using platform::msgbox::kIdYes;
using ui::form::Id;
using ui::keyboard::Key;
using ui::keyboard::KeyStroke;

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

std::string record(const std::string &value, const std::string &host)
{
    return "name\n" + value + "\n" + host + "\n1536\n1\n2\n3\n4\n*\n";
}

class RecordingDesktop : public platform::Desktop {
public:
    std::vector<std::string> opened;
    bool opens = true;
    platform::DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override
    {
        opened.push_back(nativeFolder + fileName);
        return {opens, nativeFolder + fileName};
    }
};

// A host with no controls: it keeps what it was told, and its grid is only
// the current row the window made current.
class FakeHost : public ui::WindowHost {
public:
    std::string texts[ui::form::kIdCount];
    bool enabled[ui::form::kIdCount] = {};
    bool visible[ui::form::kIdCount] = {};
    std::optional<Id> focus;
    int current = 0;
    int tableChanges = 0;
    std::vector<std::string> panesShown;
    std::vector<bool> busyCalls;
    std::vector<std::string> shown;       // "+Name" or "-Name" for each setVisible()
    std::vector<std::string> statusTexts; // every text of the status bar in turn
    int closes = 0;
    std::vector<int> madeCurrent; // every row the window made current, in turn
    ui::form::ContentView view = ui::form::ContentView::Text;
    int cookieTableChanges = 0;
    std::vector<int> selectedCookies;
    int currentCookie = -1;
    std::vector<std::string> copied;

    FakeHost()
    {
        for (const ui::form::Control &control : ui::form::controls()) {
            texts[ui::form::indexOf(control.id)] = ui::form::captionCp932(control);
            enabled[ui::form::indexOf(control.id)] = control.enabled != ui::form::Enabled::Never;
            visible[ui::form::indexOf(control.id)] = true;
        }
    }
    const std::string &text(Id id) const { return texts[ui::form::indexOf(id)]; }
    bool isEnabled(Id id) const { return enabled[ui::form::indexOf(id)]; }
    bool isVisible(Id id) const { return visible[ui::form::indexOf(id)]; }

    void setText(Id id, const std::string &text) override
    {
        texts[ui::form::indexOf(id)] = text;
        if (id == Id::StatusBar)
            statusTexts.push_back(text);
    }
    void setEnabled(Id id, bool on) override { enabled[ui::form::indexOf(id)] = on; }
    void setVisible(Id id, bool on) override
    {
        visible[ui::form::indexOf(id)] = on;
        shown.push_back((on ? "+" : "-") + std::string(ui::form::control(id).name));
    }
    void setFocus(Id id) override { focus = id; }
    std::optional<Id> focusedControl() const override { return focus; }
    void showPaneText(const listing::ContentPane &pane) override
    {
        // As the windows do: the text widened on its way, the pane untouched.
        std::string text(pane.rawText());
        listing::widenLineEnds(text);
        panesShown.push_back(text);
    }
    void setContentView(ui::form::ContentView chosen) override { view = chosen; }
    void cookieTableChanged() override
    {
        ++cookieTableChanges;
        selectedCookies.clear();
        currentCookie = -1;
    }
    std::vector<int> selectedCookieRows() const override { return selectedCookies; }
    int currentCookieRow() const override { return currentCookie; }
    void selectCookieRows(int first, int last) override
    {
        selectedCookies.clear();
        for (int row = first; row <= last; ++row)
            selectedCookies.push_back(row);
        if (currentCookie < first || currentCookie > last)
            currentCookie = first;
    }
    void copyText(const std::string &text) override { copied.push_back(text); }
    // A rebuilt grid has no current row until the window makes one current.
    void tableChanged() override
    {
        ++tableChanges;
        current = 0;
    }
    void makeRowCurrent(int row) override
    {
        current = row;
        madeCurrent.push_back(row);
    }
    int currentRow() const override { return current; }
    void setBusyCursor(bool busy) override { busyCalls.push_back(busy); }
    void close() override { ++closes; }
    std::string programFolder() const override { return "/opt/vellumin/bin/"; }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name :
             {"taro@alpha.example[1]", "taro@beta.example[1]", "hanako@gamma.example[1]", "hanako@alpha.example[2]"})
            write(std::string(name) + ".txt", record(std::string("v-") + name, "host/"));
    }

    void write(const std::string &name, const std::string &utf8) { folder.write(name, cp932(utf8.c_str())); }
    bool exists(const std::string &name) const
    {
        return std::filesystem::exists(std::filesystem::symlink_status(folder / name));
    }

    void start(const std::string &nativeFolder, bool readOnly = false)
    {
        window = std::make_unique<ui::MainWindow>(host, dialogs, desktop);
        window->setStartFolder(listing::cookieFolderNamed(nativeFolder));
        window->setReadOnly(readOnly);
        window->start(9);
    }
    void start() { start(folder.str()); }

    int rows() const { return window->cookies().table().dataRowCount(); }
    std::string cell(int column, int row) const { return std::string(window->cookies().table().cell(column, row)); }
    const listing::SystemInfo &search() const { return window->cookies().state().systemInfo; }
    // The user makes table row `row` current, as a click on it does.
    void chooseRow(int row)
    {
        host.current = row;
        window->rowMadeCurrent();
    }
    void click(Id id) { window->controlClicked(id); }
    bool press(Key key, bool shift = false) { return window->keyPressed(KeyStroke{key, shift, false, false}); }
    bool pressCtrl(Key key, bool shift = false) { return window->keyPressed(KeyStroke{key, shift, true, false}); }
    const listing::CookieTable &cookieTable() const { return window->cookieTable(); }

    TempFolder folder;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    FakeHost host;
    std::unique_ptr<ui::MainWindow> window;
};

TEST_F(MainWindowTest, StartClearsThePlaceholdersAndListsTheFolder)
{
    start();
    for (const ui::form::Control &control : ui::form::controls()) {
        if (control.placeholder) {
            EXPECT_EQ(host.text(control.id), "") << control.name;
        }
    }
    EXPECT_EQ(host.text(Id::FolderLabel), ui::form::captionCp932(ui::form::control(Id::FolderLabel)));
    EXPECT_FALSE(host.isEnabled(Id::ClearSearchButton));
    EXPECT_TRUE(host.isEnabled(Id::DeleteCommand));
    EXPECT_TRUE(host.isEnabled(Id::DeleteAllCommand));
    EXPECT_EQ(host.text(Id::StatusBar), cp932(" 4 個のクッキーが見付かりました"));
    EXPECT_EQ(host.text(Id::FolderBox), folder.str() + "/");
    EXPECT_EQ(host.text(Id::Window), "Vellumin ver 1.30   < CookiesPath:[" + folder.str() + "/] >");
    EXPECT_TRUE(host.isVisible(Id::Table));
    EXPECT_EQ(host.current, 1);
    EXPECT_EQ(host.busyCalls, (std::vector<bool>{true, false})); // held once, and let go
    EXPECT_EQ(window->text(Id::StatusBar), host.text(Id::StatusBar));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(rows(), 4);
    // The columns are sized by the font size the host measured.
    EXPECT_EQ(window->cookies().table().columnWidth(0), 2 * 9);
}

TEST_F(MainWindowTest, AnEmptyFolderDisablesTheDeleteCommandsAndTheirKeys)
{
    TempFolder empty;
    start(empty.str());
    EXPECT_EQ(host.text(Id::StatusBar), cp932("クッキーファイルが見付かりません"));
    EXPECT_FALSE(host.isEnabled(Id::DeleteCommand));
    EXPECT_FALSE(host.isEnabled(Id::DeleteAllCommand));
    EXPECT_TRUE(host.isEnabled(Id::ReloadCommand));
    host.focus = Id::Table;
    EXPECT_TRUE(press(Key::Delete)); // the window's key, but nothing to run
    EXPECT_TRUE(press(Key::Delete, true));
    click(Id::DeleteCommand); // a click that arrives late does nothing either
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, AMissingFolderIsSaidInTheStatusBarWithoutABox)
{
    start(folder / "gone");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(host.text(Id::StatusBar), listing::messages::cookieFolderMissing(folder.str() + "/gone"));
    EXPECT_FALSE(host.isEnabled(Id::DeleteCommand));
    EXPECT_TRUE(host.isVisible(Id::Table));
}

TEST_F(MainWindowTest, AFileGoneBeforeItIsReadIsLeftOutWithoutABox)
{
    // What a file deleted between the listing and its read looks like.
    std::filesystem::create_symlink(folder / "no-such-target", folder / "hanako@beta.txt");
    start();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(host.text(Id::StatusBar), listing::messages::cookiesFound(4));
    EXPECT_TRUE(host.isVisible(Id::Table));
    EXPECT_TRUE(host.isEnabled(Id::DeleteCommand));
}

TEST_F(MainWindowTest, AFileWithoutPermissionGoesToTheErrorBoxAndKeepsTheRowsBefore)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    write("hanako@beta.txt", record("v", "host/"));
    std::filesystem::permissions(folder / "hanako@beta.txt", std::filesystem::perms::none);
    start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, cp932("ファイル ") + folder.str() + cp932("/hanako@beta.txt は開けません."));
    EXPECT_EQ(dialogs.messages[0].caption, "Vellumin");
    EXPECT_EQ(dialogs.messages[0].flags, 0x10u);
    EXPECT_EQ(rows(), 1); // hanako@alpha, before it
    EXPECT_EQ(host.busyCalls.back(), false);

    window->run([] { throw std::runtime_error("disk on fire"); });
    window->run([] { throw 42; });
    EXPECT_EQ(dialogs.messages[1].text, "disk on fire.");
    EXPECT_EQ(dialogs.messages[2].caption, "Vellumin");
}

TEST_F(MainWindowTest, SearchesAskFilterAndClear)
{
    start();
    dialogs.inputAnswers = {"ALPHA"};
    click(Id::SearchByFileNameButton);
    EXPECT_EQ(dialogs.inputCaptions, std::vector<std::string>{"Input Search FileName"});
    EXPECT_EQ(dialogs.inputPrompts, std::vector<std::string>{cp932("検索ファイル名を入力してください")});
    EXPECT_EQ(dialogs.inputDefaults, std::vector<std::string>{""});
    EXPECT_EQ(search().searchMode, listing::SearchMode::FileName);
    EXPECT_EQ(search().searchText, "ALPHA");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(host.text(Id::SearchModeLabel), cp932("ファイル名検索モード"));
    EXPECT_TRUE(host.isEnabled(Id::ClearSearchButton));

    // Cancelled: the old search lists again.
    write("jiro@alpha.example[1].txt", record("j", "j/"));
    click(Id::SearchByContentButton);
    EXPECT_EQ(dialogs.inputCaptions.back(), "Search File List Name");
    EXPECT_EQ(dialogs.inputPrompts.back(), cp932("検索内容を入力してください"));
    EXPECT_EQ(search().searchMode, listing::SearchMode::FileName);
    EXPECT_EQ(rows(), 3);

    // A content search replaces the file-name search.
    dialogs.inputAnswers = {"v-taro"};
    click(Id::SearchByContentButton);
    EXPECT_EQ(search().searchMode, listing::SearchMode::Content);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(host.text(Id::SearchModeLabel), cp932("ファイル内容検索モード"));

    // Clearing it lists all again and keeps the current file; the focus,
    // on the clear button as it goes disabled, moves on to the table.
    host.current = 2; // taro@beta
    host.focus = Id::ClearSearchButton;
    click(Id::ClearSearchButton);
    EXPECT_EQ(search().searchMode, listing::SearchMode::None);
    EXPECT_EQ(search().searchText, "");
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(host.text(Id::SearchModeLabel), "");
    EXPECT_FALSE(host.isEnabled(Id::ClearSearchButton));
    EXPECT_EQ(cell(1, host.current), "taro@beta.example[1]");
    EXPECT_EQ(host.focus, Id::Table);
}

TEST_F(MainWindowTest, ChoosingAFolderListsItAndTheNextDialogStartsThere)
{
    start();
    TempFolder other;
    other.write("u@other.txt", record("o", "o/"));
    click(Id::BrowseButton); // cancelled: nothing changes, no rescan
    write("zed@new.txt", record("new", "n/"));
    EXPECT_EQ(rows(), 4);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder.native, folder.str() + "/");
    EXPECT_EQ(dialogs.openRequests[0].defaultExtension, "*.txt");
    EXPECT_EQ(dialogs.openRequests[0].fileName.native, "");
    ASSERT_EQ(dialogs.openRequests[0].filters.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[0].filters[0].description, cp932("クッキーファイル (*.txt)"));
    EXPECT_EQ(dialogs.openRequests[0].filters[0].pattern, "*.txt");
    EXPECT_EQ(dialogs.openRequests[0].filters[1].description, cp932("すべてのファイル (*.*)"));
    EXPECT_EQ(dialogs.openRequests[0].filters[1].pattern, "*.*");

    dialogs.openAnswers = {platform::namedPath(other / "anything.txt")};
    click(Id::BrowseButton);
    EXPECT_EQ(window->cookies().state().cookiesPath, other.str());
    EXPECT_EQ(host.text(Id::FolderBox), other.str() + "/");
    EXPECT_EQ(host.text(Id::Window), "Vellumin ver 1.30   < CookiesPath:[" + other.str() + "/] >");
    EXPECT_EQ(rows(), 1);
    click(Id::BrowseButton);
    EXPECT_EQ(dialogs.openRequests.back().fileName.native, other / "anything.txt");
    EXPECT_EQ(dialogs.openRequests.back().initialFolder.native, other.str() + "/");
}

TEST_F(MainWindowTest, AStartFolderIsListedByItsOwnNameAndAFileInTheRootListsTheRoot)
{
    // Named with a trailing separator and a character whose CP932 form
    // comes back as another ("〜" as "～"): the native path is kept exactly,
    // the CP932 form is what the window shows.
    const std::string named = folder / "wave\xE3\x80\x9C";
    folder.write("wave\xE3\x80\x9C/u@first.txt", record("f", "f/"));
    folder.write("wave\xEF\xBD\x9E/u@other.txt", record("o", "o/"));
    start(named + "//");
    EXPECT_EQ(window->cookies().state().nativeCookiesPath, named);
    EXPECT_EQ(window->cookies().state().cookiesPath, folder.str() + "/wave" + cp932("〜"));
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(cell(1, 1), "u@first");
    click(Id::ReloadCommand); // reloading stays there
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.openAnswers = {platform::namedPath("/x.txt")};
    click(Id::BrowseButton);
    EXPECT_EQ(window->cookies().state().cookiesPath, "");
    EXPECT_EQ(host.text(Id::FolderBox), "/");
    EXPECT_EQ(host.text(Id::Window), "Vellumin ver 1.30   < CookiesPath:[/] >");
}

TEST_F(MainWindowTest, VersionHelpAndClose)
{
    start();
    click(Id::VersionButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, cp932("バージョン情報"));
    EXPECT_EQ(dialogs.messages[0].flags, 0x40u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("Vellumin  Version 1.30\r\r   ", 0), 0u);
    EXPECT_NE(dialogs.messages[0].text.find("the Vellumin developers\r\r"), std::string::npos);

    click(Id::HelpButton);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"/opt/vellumin/bin/README.TXT"});
    EXPECT_EQ(dialogs.messages.size(), 1u);
    desktop.opens = false;
    click(Id::HelpButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, cp932("ファイル /opt/vellumin/bin/README.TXT は開けません."));
    EXPECT_EQ(dialogs.messages[1].flags, 0x10u);

    EXPECT_EQ(host.closes, 0);
    click(Id::CloseButton);
    EXPECT_EQ(host.closes, 1);
    click(Id::FolderBox); // no command: nothing
    click(Id::StatusBar);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(MainWindowTest, TheContentPaneShowsTheRowsOwnFileOnceAndOnlyWhileVisible)
{
    write("user@a.txt", "other\nwrong file\nw/");
    write("user@a b.txt", "right\nright file\nr/");
    start();
    EXPECT_EQ(host.panesShown, std::vector<std::string>{""}); // the scan emptied it
    ASSERT_EQ(cell(1, 5), "user@a");
    chooseRow(5); // user@a b: a blank sorts before "."
    ASSERT_EQ(host.panesShown.size(), 2u);
    EXPECT_EQ(host.panesShown.back(), "right\r\nright file\r\nr/");
    click(Id::VersionButton); // the pane's text did not change: not shown again
    EXPECT_EQ(host.panesShown.size(), 2u);

    // A rescan that empties the pane shows it empty.
    click(Id::ReloadCommand);
    EXPECT_EQ(host.panesShown.back(), "");
}

TEST_F(MainWindowTest, AScanHidesTheTableAndTheLowerPaneWhileItRunsAndSaysSo)
{
    start();
    chooseRow(1);
    window->contentViewChosen(ui::form::ContentView::Cookies);
    ASSERT_TRUE(host.isVisible(Id::CookieView));
    host.shown.clear();
    host.statusTexts.clear();
    host.busyCalls.clear();
    click(Id::ReloadCommand);
    EXPECT_EQ(host.shown, (std::vector<std::string>{"-cookieTable", "-contentTabs", "-resultGrid", "+resultGrid",
                                                    "+cookieTable", "+contentTabs"}));
    EXPECT_EQ(host.statusTexts,
              (std::vector<std::string>{listing::messages::searching(), listing::messages::cookiesFound(4)}));
    EXPECT_EQ(host.busyCalls, (std::vector<bool>{true, false}));
    // The chosen view comes back, on the emptied pane: an empty table.
    EXPECT_FALSE(host.isVisible(Id::ContentPane));
    EXPECT_EQ(cookieTable().rowCount(), 0);
    EXPECT_EQ(host.current, 1);
}

TEST_F(MainWindowTest, DeleteAsksForTheRowsOwnFileAndOnlyYesDeletes)
{
    write("user@a.txt", record("keep", "k/"));
    write("user@a b.txt", record("delete", "d/"));
    start();
    chooseRow(5); // user@a b; column 1 shows "user@a" for both
    dialogs.messageAnswers = {kIdNo, kIdYes};
    click(Id::DeleteCommand);
    EXPECT_EQ(rows(), 6);
    click(Id::DeleteCommand);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, cp932("No.5 の user@a b ファイルを削除します。\n\r宜しいですか？"));
    EXPECT_EQ(dialogs.messages[1].caption, cp932("削除確認"));
    EXPECT_EQ(dialogs.messages[1].flags, 0x24u);
    EXPECT_FALSE(exists("user@a b.txt"));
    EXPECT_TRUE(exists("user@a.txt"));
    EXPECT_EQ(rows(), 5);
    // The table has the focus, on the row that took the deleted one's place,
    // and the pane shows that row's file, as a click on it would.
    EXPECT_EQ(host.focus, Id::Table);
    EXPECT_EQ(cell(1, host.current), "user@a");
    EXPECT_EQ(host.panesShown.back(), "name\r\nkeep\r\nk/\r\n1536\r\n1\r\n2\r\n3\r\n4\r\n*\r\n");

    // A file that went meanwhile is left without a message.
    chooseRow(1);
    std::filesystem::remove(folder / "hanako@alpha.example[2].txt");
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteCommand);
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(rows(), 4);
}

TEST_F(MainWindowTest, DeleteAllDeletesOnlyWhatIsListed)
{
    write("u@a b.txt", record("1", "a/"));
    write("u@c,d.txt", record("2", "b/"));
    start();
    write("zed@new.txt", record("new", "n/")); // shows whether anything lists again
    dialogs.messageAnswers = {kIdNo};
    click(Id::DeleteAllCommand);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, cp932("全てのクッキーファイルを削除します。\n\r宜しいですか？"));
    EXPECT_EQ(dialogs.messages[0].flags, 0x124u);
    EXPECT_EQ(rows(), 6);

    dialogs.inputAnswers = {"alpha"};
    click(Id::SearchByFileNameButton);
    ASSERT_EQ(rows(), 2);
    host.focus = Id::DeleteAllCommand;
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteAllCommand);
    EXPECT_FALSE(exists("taro@alpha.example[1].txt"));
    EXPECT_FALSE(exists("hanako@alpha.example[2].txt"));
    EXPECT_TRUE(exists("taro@beta.example[1].txt"));
    EXPECT_TRUE(exists("u@a b.txt"));
    EXPECT_TRUE(exists("u@c,d.txt"));
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(host.isEnabled(Id::DeleteCommand));
    EXPECT_FALSE(host.isEnabled(Id::DeleteAllCommand));
    // The focus left the command as it went disabled, and ends in the table.
    EXPECT_EQ(host.focus, Id::Table);
}

// The folder may be read and searched but not changed, as an unprivileged
// user meets a folder of another's; undone when the test ends.
class LockedFolder {
public:
    explicit LockedFolder(const std::filesystem::path &path) : m_path(path)
    {
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    ~LockedFolder() { std::filesystem::permissions(m_path, std::filesystem::perms::owner_all); }
    LockedFolder(const LockedFolder &) = delete;
    LockedFolder &operator=(const LockedFolder &) = delete;

private:
    std::filesystem::path m_path;
};

TEST_F(MainWindowTest, ADeleteRefusedForWantOfPermissionIsSaidWithItsReasonAfterTheRescan)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root deletes files whatever the folder's permissions";
    start();
    ASSERT_EQ(rows(), 4);
    write("zed@late.txt", record("late", "l/")); // shows that the rescan ran
    const LockedFolder locked(folder.path());
    const std::string denied = platform::systemErrorText(EACCES);
    ASSERT_FALSE(denied.empty());

    chooseRow(2); // hanako@gamma.example[1]
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteCommand);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, cp932("ファイル ") + folder.str() + "/hanako@gamma.example[1].txt" +
                                            cp932(" は削除できません（") + denied + cp932("）."));
    EXPECT_EQ(dialogs.messages[1].caption, "Vellumin");
    EXPECT_EQ(dialogs.messages[1].flags, 0x10u);
    EXPECT_TRUE(exists("hanako@gamma.example[1].txt"));
    EXPECT_EQ(rows(), 5);
    // The refused file stays current and shown, as before the question.
    EXPECT_EQ(cell(1, host.current), "hanako@gamma.example[1]");
    EXPECT_EQ(host.focus, Id::Table);

    // ALL DELETE goes through every row; one that went meanwhile is no
    // refusal, and the first refused names the reason for all.
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    std::filesystem::remove(folder / "hanako@alpha.example[2].txt");
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteAllCommand);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[3].text, cp932("4 個のファイルは削除できません（最初は ") + folder.str() +
                                            "/hanako@gamma.example[1].txt: " + denied + cp932("）."));
    EXPECT_EQ(dialogs.messages[3].flags, 0x10u);
    EXPECT_EQ(rows(), 4);

    // Answering No deletes nothing and so says nothing more.
    dialogs.messageAnswers = {kIdNo};
    click(Id::DeleteCommand);
    EXPECT_EQ(dialogs.messages.size(), 5u);
}

TEST_F(MainWindowTest, ARefusedDeleteIsSaidBeforeAFailedRescanForWantOfPermission)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads and deletes files whatever their permissions";
    start();
    chooseRow(3); // taro@alpha.example[1]
    // The rescan then fails at a file nobody may read, listed before it.
    std::filesystem::permissions(folder / "hanako@gamma.example[1].txt", std::filesystem::perms::none);
    const LockedFolder locked(folder.path());
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteCommand);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[1].text, cp932("ファイル ") + folder.str() + "/taro@alpha.example[1].txt" +
                                            cp932(" は削除できません（") + platform::systemErrorText(EACCES) +
                                            cp932("）."));
    EXPECT_EQ(dialogs.messages[2].text,
              cp932("ファイル ") + folder.str() + cp932("/hanako@gamma.example[1].txt は開けません."));
    EXPECT_TRUE(exists("taro@alpha.example[1].txt"));
    EXPECT_EQ(rows(), 1); // the rows before the file that failed
}

TEST_F(MainWindowTest, KeysRunTheirCommandsWhereTheyBelong)
{
    start();
    // F5 anywhere; Delete and Shift+Delete only on the table.
    write("zed@new.txt", record("new", "n/"));
    host.focus = Id::BrowseButton;
    EXPECT_TRUE(press(Key::F5));
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(host.focus, Id::Table); // a reload ends in the table
    host.focus = Id::BrowseButton;
    EXPECT_FALSE(press(Key::Delete));
    EXPECT_FALSE(press(Key::Delete, true));
    EXPECT_TRUE(dialogs.messages.empty());
    // Held down, a key runs its command once.
    host.focus = Id::Table;
    EXPECT_TRUE(window->keyPressed(KeyStroke{Key::Delete, false, false, false}, true));
    EXPECT_TRUE(dialogs.messages.empty());
    // With Ctrl or Alt, and other keys, nothing.
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::Delete, false, true, false}));
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::F5, false, false, true}));
    EXPECT_FALSE(press(Key::Enter));
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.messageAnswers = {kIdNo, kIdNo};
    EXPECT_TRUE(press(Key::Delete));
    EXPECT_TRUE(press(Key::Delete, true));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].flags, 0x24u);
    EXPECT_EQ(dialogs.messages[1].flags, 0x124u);
}

TEST_F(MainWindowTest, EnterEscAndTheAccessKeysComeFromTheForm)
{
    start();
    // Enter presses the focused button, once per press; elsewhere it is the
    // focused control's.
    host.focus = Id::VersionButton;
    EXPECT_TRUE(press(Key::Enter));
    EXPECT_TRUE(window->keyPressed(KeyStroke{Key::Enter, false, false, false}, true));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, listing::messages::versionText());
    host.focus = Id::Table;
    EXPECT_FALSE(press(Key::Enter));
    host.focus = Id::SearchByFileNameButton;
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::Enter, false, true, false})); // Ctrl+Enter
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.inputCaptions.empty());

    // Esc closes nothing, but a splitter being dragged takes it.
    EXPECT_TRUE(press(Key::Escape));
    host.focus = Id::ContentSplitter;
    EXPECT_FALSE(press(Key::Escape));
    EXPECT_EQ(host.closes, 0);

    // Alt and the letter the caption marks ("閉じる(&C)"); not with Ctrl.
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::C, false, true, true}));
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::Delete, false, false, true}));
    EXPECT_EQ(host.closes, 0);
    EXPECT_TRUE(window->keyPressed(KeyStroke{Key::C, false, false, true}));
    EXPECT_EQ(host.closes, 1);
}

TEST_F(MainWindowTest, EveryScanMakesOneRowCurrentOnce)
{
    start();
    EXPECT_EQ(host.madeCurrent, std::vector<int>{1});
    host.current = 3;
    host.madeCurrent.clear();
    click(Id::ReloadCommand);
    EXPECT_EQ(host.madeCurrent, std::vector<int>{3}); // the kept row, and only it
    host.madeCurrent.clear();
    dialogs.inputAnswers = {"beta"};
    click(Id::SearchByFileNameButton);
    EXPECT_EQ(host.madeCurrent, std::vector<int>{1});
    // A folder with no file has no row to make current.
    TempFolder empty;
    host.madeCurrent.clear();
    dialogs.openAnswers = {platform::namedPath(empty / "x.txt")};
    click(Id::BrowseButton);
    EXPECT_TRUE(host.madeCurrent.empty());
    EXPECT_EQ(host.current, 0);
}

TEST_F(MainWindowTest, ReadOnlyNeverDeletesAndSaysSoInTheCaption)
{
    start(folder.str(), true);
    ASSERT_EQ(rows(), 4);
    EXPECT_FALSE(host.isEnabled(Id::DeleteCommand));
    EXPECT_FALSE(host.isEnabled(Id::DeleteAllCommand));
    EXPECT_EQ(host.text(Id::Window),
              "Vellumin ver 1.30   < CookiesPath:[" + folder.str() + "/] >" + cp932("  [読み取り専用]"));

    // Neither the keys, nor a click that arrives anyway, nor a rescan, nor
    // a search that lists files bring them back.
    dialogs.messageAnswers = {kIdYes, kIdYes, kIdYes, kIdYes};
    host.focus = Id::Table;
    EXPECT_TRUE(press(Key::Delete));
    EXPECT_TRUE(press(Key::Delete, true));
    click(Id::DeleteCommand);
    click(Id::DeleteAllCommand);
    EXPECT_TRUE(press(Key::F5));
    dialogs.inputAnswers = {"alpha"};
    click(Id::SearchByFileNameButton);
    EXPECT_EQ(rows(), 2);
    EXPECT_FALSE(host.isEnabled(Id::DeleteCommand));
    EXPECT_FALSE(host.isEnabled(Id::DeleteAllCommand));
    host.focus = Id::Table;
    EXPECT_TRUE(press(Key::Delete));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4);
    // The caption follows the folder and keeps its mark.
    EXPECT_NE(host.text(Id::Window).find(cp932("[読み取り専用]")), std::string::npos);

    // Everything else as ever: the content pane shows the chosen row's file.
    chooseRow(1);
    ASSERT_FALSE(host.panesShown.empty());
    EXPECT_NE(host.panesShown.back().find("host/"), std::string::npos);
}

#ifndef _WIN32
TEST_F(MainWindowTest, AFolderOnAReadOnlyFileSystemListsAndShowsItsFiles)
{
    // A read-only bind mount of the folder, in a mount namespace of this
    // test's own, as an image mounted read-only would be.
    if (!runningAsRoot())
        GTEST_SKIP() << "not root: no read-only mount";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(folder.str().c_str(), folder.str().c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, folder.str().c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            ::_exit(77);
        if (::access((folder / "x").c_str(), F_OK) == 0 || ::mkdir((folder / "x").c_str(), 0700) == 0 || errno != EROFS)
            status |= 1; // not read-only after all
        start();
        if (rows() != 4 || !host.isEnabled(Id::DeleteCommand) || !dialogs.messages.empty())
            status |= 2;
        chooseRow(2);
        if (host.panesShown.empty() || host.panesShown.back().find("host/") == std::string::npos)
            status |= 4;
        // Deleting there fails and loses nothing: the file stays listed.
        dialogs.messageAnswers = {kIdYes};
        click(Id::DeleteCommand);
        if (rows() != 4 || !exists("hanako@gamma.example[1].txt"))
            status |= 8;
        // And says why, with the system's reason.
        if (dialogs.messages.size() != 2 || dialogs.messages[1].text.find("Read-only file system") == std::string::npos)
            status |= 16;
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no read-only bind mount here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: writable, 2: not listed, 4: not shown, 8: deleted or dropped, 16: not said";
}
#endif

TEST_F(MainWindowTest, RescansKeepTheCurrentFileOrTheOneThatTookItsPlace)
{
    start();
    host.current = 4; // the last row: taro@beta
    dialogs.messageAnswers = {kIdYes};
    click(Id::DeleteCommand);
    EXPECT_FALSE(exists("taro@beta.example[1].txt"));
    EXPECT_EQ(host.current, 3); // the new last row

    write("hanako@a.txt", record("a", "a/"));
    host.current = 3; // taro@alpha
    click(Id::ReloadCommand);
    EXPECT_EQ(cell(1, host.current), "taro@alpha.example[1]");
    EXPECT_EQ(host.focus, Id::Table);

    // A file that went gives its place to the one after it.
    host.current = 2; // hanako@alpha
    std::filesystem::remove(folder / "hanako@alpha.example[2].txt");
    click(Id::ReloadCommand);
    EXPECT_EQ(cell(1, host.current), "hanako@gamma.example[1]");
    // No scan makes a row current for the window: no file was read.
    EXPECT_TRUE(host.panesShown.empty() || host.panesShown.back().empty());
}

TEST_F(MainWindowTest, AScanHandsTheFocusOnWhileTheTableIsHidden)
{
    start();
    // While a scan runs the table and the pane are hidden: the focus goes
    // on past them, round to the browse button, and a command that ends in
    // the table brings it back.
    host.focus = Id::Table;
    TempFolder other;
    dialogs.openAnswers = {platform::namedPath(other / "x.txt")};
    click(Id::BrowseButton);
    EXPECT_TRUE(host.isVisible(Id::Table));
    EXPECT_EQ(host.focus, Id::BrowseButton);
    click(Id::ReloadCommand);
    EXPECT_EQ(host.focus, Id::Table);
}

} // namespace

namespace {

using ui::form::ContentView;

TEST_F(MainWindowTest, AFileNamedByTheBrowserIsFoundByItsTextAndDecodedAsAny)
{
    // Since 2011 the browser names new files at random: its row shows the
    // random name, the site only in its URL column and its cookies.
    write("F6F3N6DQ.txt", record("sid-1", "maps.example.org/") + record("zoom-12", "maps.example.org/"));
    start();
    ASSERT_EQ(rows(), 5);
    ASSERT_EQ(cell(1, 1), "F6F3N6DQ");
    EXPECT_EQ(cell(2, 1), "maps.example.org/");

    dialogs.inputAnswers = {"maps"};
    click(Id::SearchByFileNameButton);
    EXPECT_EQ(rows(), 0); // the name holds nothing of the site
    dialogs.inputAnswers = {"maps.example.org"};
    click(Id::SearchByContentButton);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(1, 1), "F6F3N6DQ");

    chooseRow(1);
    window->contentViewChosen(ContentView::Cookies);
    ASSERT_EQ(cookieTable().rowCount(), 2);
    EXPECT_EQ(cookieTable().cell(listing::CookieTable::DomainColumn, 1), "maps.example.org");
    EXPECT_EQ(cookieTable().cell(listing::CookieTable::ValueColumn, 1), "zoom-12");
}

TEST_F(MainWindowTest, TheLowerPaneSwitchesViewsByKeyOrTabAndKeepsItsChoiceAcrossRows)
{
    write("user@a.txt", record("first", "a/") + record("second", "a/"));
    start();
    // The text at every start; the cookie view waits unseen and undecoded.
    EXPECT_EQ(host.view, ContentView::Text);
    EXPECT_TRUE(host.isVisible(Id::ContentTabs));
    EXPECT_TRUE(host.isVisible(Id::ContentPane));
    EXPECT_FALSE(host.isVisible(Id::CookieView));
    EXPECT_FALSE(host.isVisible(Id::CookieProblem));
    ASSERT_EQ(cell(1, 5), "user@a");
    chooseRow(5);
    EXPECT_EQ(host.cookieTableChanges, 0);
    EXPECT_EQ(cookieTable().rowCount(), 0);

    // Ctrl+Tab from anywhere: the cookies of the chosen file, decoded now.
    host.focus = Id::BrowseButton;
    EXPECT_TRUE(pressCtrl(Key::Tab));
    EXPECT_EQ(host.view, ContentView::Cookies);
    EXPECT_FALSE(host.isVisible(Id::ContentPane));
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_EQ(host.focus, Id::BrowseButton);
    EXPECT_EQ(host.cookieTableChanges, 1);
    ASSERT_EQ(cookieTable().rowCount(), 2);
    EXPECT_EQ(cookieTable().cell(listing::CookieTable::ValueColumn, 1), "second");

    // Another row: the choice stays and the new file is decoded once.
    chooseRow(1);
    EXPECT_EQ(host.view, ContentView::Cookies);
    EXPECT_EQ(host.cookieTableChanges, 2);
    ASSERT_EQ(cookieTable().rowCount(), 1);
    EXPECT_EQ(cookieTable().cell(listing::CookieTable::ValueColumn, 0), "v-hanako@alpha.example[2]");
    click(Id::VersionButton); // the pane's text did not change: not decoded again
    EXPECT_EQ(host.cookieTableChanges, 2);

    // Ctrl+Shift+Tab and Ctrl+Tab both wrap between the two; a click on a
    // tab chooses its view, and the host's strip is told only by keys.
    EXPECT_TRUE(pressCtrl(Key::Tab, true));
    EXPECT_EQ(host.view, ContentView::Text);
    EXPECT_TRUE(host.isVisible(Id::ContentPane));
    EXPECT_FALSE(host.isVisible(Id::CookieView));
    EXPECT_TRUE(pressCtrl(Key::Tab, true));
    EXPECT_EQ(host.view, ContentView::Cookies);
    window->contentViewChosen(ContentView::Text);
    EXPECT_EQ(window->contentView(), ContentView::Text);
    EXPECT_TRUE(host.isVisible(Id::ContentPane));
    // Tab alone is the focus's, not the window's.
    EXPECT_FALSE(press(Key::Tab));

    // While the cookie view is unseen, new files are not decoded.
    chooseRow(5);
    EXPECT_EQ(host.cookieTableChanges, 2);
    EXPECT_EQ(cookieTable().cell(listing::CookieTable::ValueColumn, 0), ""); // stale, never the other file's

    // After a rescan the lower pane comes back with the view that was chosen.
    window->contentViewChosen(ContentView::Cookies);
    click(Id::ReloadCommand);
    EXPECT_TRUE(host.isVisible(Id::ContentTabs));
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_FALSE(host.isVisible(Id::ContentPane));
}

TEST_F(MainWindowTest, TheFocusFollowsTheViewAndTheTabsComeAfterTheTable)
{
    start();
    chooseRow(1);
    host.focus = Id::ContentPane;
    pressCtrl(Key::Tab);
    EXPECT_EQ(host.focus, Id::CookieView);
    pressCtrl(Key::Tab);
    EXPECT_EQ(host.focus, Id::ContentPane);

    std::vector<Id> order;
    for (const ui::form::Control *control : ui::form::tabOrder())
        order.push_back(control->id);
    const auto at = [&order](Id id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
    EXPECT_EQ(at(Id::ContentTabs), at(Id::Table) + 1);
    EXPECT_LT(at(Id::ContentTabs), at(Id::ContentPane));
    EXPECT_LT(at(Id::ContentTabs), at(Id::CookieView));
}

TEST_F(MainWindowTest, AFileThatStraysShowsItsWholeCookiesWithTheLineUnderThem)
{
    write("user@a.txt", record("first", "a/") + record("second", "a/") + "stray\nline\n");
    start();
    chooseRow(5);
    pressCtrl(Key::Tab);
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_EQ(cookieTable().rowCount(), 2);
    ASSERT_TRUE(host.isVisible(Id::CookieStray));
    EXPECT_FALSE(host.isVisible(Id::CookieProblem));
    EXPECT_EQ(host.text(Id::CookieStray), cookieTable().problemText());
    EXPECT_EQ(host.text(Id::CookieStray),
              cp932("この後はクッキーの形式ではありません（21 行目: クッキーの途中でファイルが終わっています）"));
    // A file of cookies after it: the table alone.
    pressCtrl(Key::Tab);
    chooseRow(1);
    pressCtrl(Key::Tab);
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_FALSE(host.isVisible(Id::CookieStray));
    EXPECT_EQ(host.text(Id::CookieStray), "");
}

TEST_F(MainWindowTest, AFileOfOtherTextShowsWhyInPlaceOfTheTableAndTheTextAsItIs)
{
    write("user@a.txt", "stray\nline\n" + record("first", "a/"));
    start();
    // Before a file is chosen, and after a scan, the pane is empty: an empty
    // table, not a line saying that nothing is cookies.
    pressCtrl(Key::Tab);
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_FALSE(host.isVisible(Id::CookieProblem));
    EXPECT_EQ(cookieTable().rowCount(), 0);
    pressCtrl(Key::Tab);
    chooseRow(5);
    const std::string text = host.panesShown.back();
    pressCtrl(Key::Tab);
    EXPECT_FALSE(host.isVisible(Id::CookieView));
    ASSERT_TRUE(host.isVisible(Id::CookieProblem));
    EXPECT_FALSE(host.isVisible(Id::CookieStray));
    EXPECT_FALSE(host.text(Id::CookieProblem).empty());
    EXPECT_EQ(host.text(Id::CookieProblem), cookieTable().problemText());
    // The focus on the strip stays there; the text is unaffected.
    pressCtrl(Key::Tab);
    EXPECT_EQ(host.panesShown.back(), text);

    // A file of cookies after it shows the table again, without the line.
    pressCtrl(Key::Tab);
    chooseRow(1);
    EXPECT_TRUE(host.isVisible(Id::CookieView));
    EXPECT_FALSE(host.isVisible(Id::CookieProblem));
    EXPECT_EQ(host.text(Id::CookieProblem), "");
}

TEST_F(MainWindowTest, CtrlCInTheCookieViewCopiesTheSelectedCookiesOnly)
{
    write("user@a.txt", record("first", "a/") + record("second", "a/") + record("third", "a/"));
    start();
    chooseRow(5);
    pressCtrl(Key::Tab);
    host.focus = Id::CookieView;
    host.selectedCookies = {0, 2};
    EXPECT_TRUE(pressCtrl(Key::C));
    ASSERT_EQ(host.copied.size(), 1u);
    EXPECT_EQ(host.copied[0], "name=first\r\nname=third");
    // Nothing selected copies nothing; elsewhere Ctrl+C is the control's own.
    host.selectedCookies.clear();
    EXPECT_TRUE(pressCtrl(Key::C));
    host.selectedCookies = {1};
    host.focus = Id::ContentPane;
    EXPECT_FALSE(pressCtrl(Key::C));
    host.focus = Id::Table;
    EXPECT_FALSE(pressCtrl(Key::C));
    EXPECT_EQ(host.copied.size(), 1u);
}

TEST_F(MainWindowTest, TabIntoTheCookieViewSelectsItsCurrentRowAndCtrlASelectsEveryCookie)
{
    write("user@a.txt", record("first", "a/") + record("second", "a/") + record("third", "a/"));
    write("user@b.txt", "not cookies\n");
    start();
    chooseRow(5);
    pressCtrl(Key::Tab);
    ASSERT_EQ(cookieTable().rowCount(), 3);

    // Tabbing in with nothing selected selects the first row, which Ctrl+C
    // then copies.
    host.focus = Id::CookieView;
    window->cookieViewFocused();
    EXPECT_EQ(host.selectedCookies, (std::vector<int>{0}));
    EXPECT_TRUE(pressCtrl(Key::C));
    ASSERT_EQ(host.copied.size(), 1u);
    EXPECT_EQ(host.copied[0], "name=first");
    // The row the focus frame was left on, not the first.
    host.selectedCookies.clear();
    host.currentCookie = 2;
    window->cookieViewFocused();
    EXPECT_EQ(host.selectedCookies, (std::vector<int>{2}));
    // A selection the user made stays as it is.
    host.selectedCookies = {0, 1};
    window->cookieViewFocused();
    EXPECT_EQ(host.selectedCookies, (std::vector<int>{0, 1}));

    // Ctrl+A selects every cookie and keeps the current row; only Ctrl+A,
    // and only in the cookie view.
    host.currentCookie = 1;
    EXPECT_TRUE(pressCtrl(Key::A));
    EXPECT_EQ(host.selectedCookies, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(host.currentCookie, 1);
    host.selectedCookies = {1};
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::A, true, true, false}));
    EXPECT_FALSE(window->keyPressed(KeyStroke{Key::A, false, false, false}));
    host.focus = Id::Table;
    EXPECT_FALSE(pressCtrl(Key::A));
    EXPECT_EQ(host.selectedCookies, (std::vector<int>{1}));

    // A file of no cookies has no row to select.
    chooseRow(6);
    ASSERT_EQ(cookieTable().rowCount(), 0);
    host.focus = Id::CookieView;
    window->cookieViewFocused();
    EXPECT_TRUE(pressCtrl(Key::A));
    EXPECT_TRUE(host.selectedCookies.empty());
}

} // namespace
