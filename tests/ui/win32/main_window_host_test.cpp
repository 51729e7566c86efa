// The Windows window as a whole, on a scripted dialog service: its controls,
// its start, every command's effect on the program state, the table and the
// files, and the keys and splitters, driven through window messages.

#include "win32_test_support.h"

#include "listing/content_pane.h"
#include "listing/cookie_table.h"
#include "listing/messages.h"
#include "listing/program_state.h"
#include "platform/cp932.h"
#include "platform/filesystem.h"
#include "platform/wide_text_win32.h"
#include "platform/win32/busy_cursor.h"
#include "platform/win32/win32_desktop.h"
#include "ui/main_form.h"
#include "ui/win32/application.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using platform::msgbox::kIdNo;
using platform::msgbox::kIdYes;
using platform::win32::nativeFromWide;
using platform::win32::wideFromNative;

RECT windowRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

std::string cookieText(const std::string &site, const std::string &info)
{
    return "uid\r\n" + info + "\r\n" + site + "/\r\n0\r\n*\r\n";
}

class MainWindowHostTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        folder.write("taro@ads.example.com[1].txt", cookieText("ads.example.com", "X9Q2"));
        folder.write("taro@mail.example.org[1].txt", cookieText("mail.example.org", "SESSION 1"));
        folder.write("hanako@shop.example.net[2].txt", cookieText("shop.example.net", "表示"));
        folder.write("notes.dat", "not a cookie file");
    }

    std::string cell(int column, int row) const { return std::string(form->cookies().table().cell(column, row)); }
    int rows() const { return form->cookies().table().dataRowCount(); }

    // The grid row whose file is `name` (with ".txt"), or 0.
    int rowOf(const std::string &name) const
    {
        for (int row = 1; row <= rows(); ++row)
            if (form->cookies().table().rowFile(row).nativeName == name)
                return row;
        return 0;
    }

    void clickGridRow(int row)
    {
        click(control(ui::form::Id::Table), centre(form->grid().cellRect(1, row)));
        pumpMessages();
    }

    // Sends a key through the window's own message loop step.
    bool press(HWND target, UINT message, WPARAM key)
    {
        MSG msg{target, message, key, 0, 0, {}};
        const bool handled = form->translate(msg);
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        pumpMessages();
        return handled;
    }

    // A key with Ctrl (and Shift) held, through the window's message step.
    bool pressWithControl(HWND target, WPARAM key, bool shift = false)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        const bool handled = press(target, WM_KEYDOWN, key);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return handled;
    }

    CookieFolder folder;
};

TEST_F(MainWindowHostTest, ControlsTheirParentsAndTexts)
{
    // Every control of the form under its parent, with its caption (CP932
    // here) once the placeholders are cleared, where the form puts it. A
    // text sized by its text starts where it was placed; the status bar
    // takes its height from its own font, so the docked boxes are the
    // other test's.
    RECT client{};
    GetClientRect(window, &client);
    const std::vector<ui::Box> boxes = ui::form::layOut(form->layoutScale(), client.right, client.bottom);
    for (const ui::form::Control &expected : ui::form::controls()) {
        SCOPED_TRACE(expected.name);
        if (expected.id == ui::form::Id::Window)
            continue;
        const HWND hwnd = control(expected.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), control(expected.parent));
        // The folder box and the status bar show what the listing gives.
        const bool hasText = expected.kind != ui::form::Kind::StatusBar && expected.kind != ui::form::Kind::Grid &&
                             expected.kind != ui::form::Kind::Splitter && expected.kind != ui::form::Kind::FolderBox &&
                             expected.kind != ui::form::Kind::CookieGrid;
        if (hasText) {
            EXPECT_EQ(windowText(hwnd), expected.placeholder ? "" : ui::form::captionCp932(expected));
        }
        if (expected.docked)
            continue;
        RECT r = windowRect(hwnd);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&r), 2);
        const ui::Box &box = boxes[static_cast<std::size_t>(ui::form::indexOf(expected.id))];
        EXPECT_EQ(r.left, box.x);
        EXPECT_EQ(r.top, box.y);
        if (!expected.sizedByText) {
            EXPECT_EQ(r.right - r.left, box.width);
            EXPECT_EQ(r.bottom - r.top, box.height);
        }
    }
    // Every control in the window's font but the command texts (16 pixels,
    // bold italic underlined) and the bold search-mode label; the status bar
    // keeps the system's.
    const auto fontOf = [this](ui::form::Id id) {
        return reinterpret_cast<HFONT>(SendMessageA(control(id), WM_GETFONT, 0, 0));
    };
    const HFONT windowFont = fontOf(ui::form::Id::BrowseButton);
    for (const ui::form::Id id : {ui::form::Id::FolderLabel, ui::form::Id::FolderBox,
                                  ui::form::Id::SearchByFileNameButton, ui::form::Id::CloseButton, ui::form::Id::Table})
        EXPECT_EQ(fontOf(id), windowFont) << ui::form::control(id).name;
    LOGFONTA command{};
    GetObjectA(fontOf(ui::form::Id::ReloadCommand), sizeof command, &command);
    EXPECT_TRUE(command.lfItalic && command.lfUnderline && command.lfWeight >= FW_BOLD);
    EXPECT_EQ(command.lfCharSet, SHIFTJIS_CHARSET);
}

TEST_F(MainWindowHostTest, JapaneseFontIsFoundAndMeasuresNinePoints)
{
    // The face name maps to a font with the Shift-JIS character set: on a
    // system without it every Japanese text would show as boxes.
    const HWND grid = control(ui::form::Id::Table);
    const HDC dc = GetDC(grid);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(grid, WM_GETFONT, 0, 0)));
    EXPECT_EQ(GetTextCharset(dc), SHIFTJIS_CHARSET);
    SIZE kana{};
    GetTextExtentPoint32W(dc, L"あ", 1, &kana);
    SelectObject(dc, previous);
    ReleaseDC(grid, dc);
    EXPECT_GE(kana.cx, 10);
    if (form->layoutScale().dpi() == 96) {
        EXPECT_EQ(form->window().tableFontPointSize(), 9);
    }
}

TEST_F(MainWindowHostTest, StartsWithTheDefaultFolderListedAndTheFocusOnBrowse)
{
    // The first cookie folder that is there (a fresh test prefix has no
    // Cookies folder in its Windows directory), and no box for one that is
    // not.
    const std::string cookies = listing::defaultCookieFolder().shown;
    EXPECT_EQ(windowText(window), "Vellumin ver 1.30   < CookiesPath:[" + cookies + "\\] >");
    EXPECT_EQ(windowText(control(ui::form::Id::FolderBox)), cookies + "\\");
    const bool found = rows() > 0;
    const bool there = platform::Folder::open(form->cookies().state().nativeCookiesPath).isOpen();
    EXPECT_EQ(form->statusText(), found   ? listing::messages::cookiesFound(rows())
                                  : there ? listing::messages::noCookiesFound()
                                          : listing::messages::cookieFolderMissing(cookies));
    EXPECT_EQ(IsWindowEnabled(control(ui::form::Id::DeleteCommand)) != FALSE, found);
    EXPECT_EQ(IsWindowEnabled(control(ui::form::Id::DeleteAllCommand)) != FALSE, found);
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::ClearSearchButton)));
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::FolderBox)));
    EXPECT_EQ(GetFocus(), control(ui::form::Id::BrowseButton));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowHostTest, DockedControlsFillTheWindowAndFollowItsSize)
{
    const auto check = [this] {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&client), 2);
        const RECT tool = windowRect(control(ui::form::Id::FolderStrip));
        const RECT status = windowRect(control(ui::form::Id::StatusBar));
        const RECT menu = windowRect(control(ui::form::Id::CommandPanel));
        const RECT splitter = windowRect(control(ui::form::Id::CommandSplitter));
        const RECT list = windowRect(control(ui::form::Id::ListArea));
        EXPECT_EQ(tool.top, client.top);
        EXPECT_EQ(tool.right, client.right);
        EXPECT_EQ(status.bottom, client.bottom);
        EXPECT_EQ(menu.top, tool.bottom);
        EXPECT_EQ(menu.bottom, status.top);
        EXPECT_EQ(splitter.left, menu.right);
        EXPECT_EQ(list.left, splitter.right);
        EXPECT_EQ(list.right, client.right);
        EXPECT_EQ(list.bottom, status.top);
        // Inside the list area: the search-mode strip, the grid, the
        // splitter and the content pane, from top to bottom.
        const RECT strip = windowRect(control(ui::form::Id::SearchModeStrip));
        const RECT grid = windowRect(control(ui::form::Id::Table));
        const RECT bar = windowRect(control(ui::form::Id::ContentSplitter));
        const RECT pane = windowRect(control(ui::form::Id::ContentPanel));
        EXPECT_EQ(grid.top, strip.bottom);
        EXPECT_EQ(bar.top, grid.bottom);
        EXPECT_EQ(pane.top, bar.bottom);
        EXPECT_EQ(pane.bottom, list.bottom - 1); // inside the bevel
    };
    check();
    const RECT before = windowRect(control(ui::form::Id::Table));
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    check();
    const RECT after = windowRect(control(ui::form::Id::Table));
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);

    // Shrunk below the strips' heights, the status bar keeps the bottom
    // edge and its height, over the folder strip, so that its size grip is
    // still there to enlarge the window again.
    const RECT status = windowRect(control(ui::form::Id::StatusBar));
    SetWindowPos(window, nullptr, 0, 0, 120, 60, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    const RECT small = windowRect(control(ui::form::Id::StatusBar));
    EXPECT_EQ(small.bottom, client.bottom);
    EXPECT_EQ(small.bottom - small.top, status.bottom - status.top);
    const POINT corner{small.right - 2, small.bottom - 2};
    EXPECT_EQ(WindowFromPoint(corner), control(ui::form::Id::StatusBar));
    EXPECT_EQ(SendMessageA(control(ui::form::Id::StatusBar), WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)),
              HTBOTTOMRIGHT);
}

TEST_F(MainWindowHostTest, CommandTextsAreSizedToTheirTextWithTrailingBlanks)
{
    const HWND reload = control(ui::form::Id::ReloadCommand);
    const HWND all = control(ui::form::Id::DeleteAllCommand);
    RECT a = windowRect(reload);
    RECT b = windowRect(all);
    // "ReLoad       " with its seven blanks is wider than "ALL DELETE".
    EXPECT_GT(a.right - a.left, b.right - b.left - 40);
    const HDC dc = GetDC(reload);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(reload, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, "ReLoad       ", 13, &text);
    SelectObject(dc, previous);
    ReleaseDC(reload, dc);
    EXPECT_EQ(a.right - a.left, text.cx + 4);
    EXPECT_EQ(a.bottom - a.top, text.cy + 4);
}

TEST_F(MainWindowHostTest, TabOrderRunsThroughTheEnabledButtonsTheGridAndThePane)
{
    const auto order = [this] {
        std::vector<std::string> names;
        HWND at = control(ui::form::Id::BrowseButton);
        for (int i = 0; i < 16; ++i) {
            names.push_back(nameOf(at));
            at = GetNextDlgTabItem(window, at, FALSE);
            if (at == control(ui::form::Id::BrowseButton))
                break;
        }
        return names;
    };
    // Nothing listed: DELETE and ALL DELETE are disabled and passed over.
    EXPECT_EQ(order(), (std::vector<std::string>{"browseButton", "reloadCommand", "closeButton", "versionButton",
                                                 "helpButton", "searchByFileNameButton", "searchByContentButton",
                                                 "resultGrid", "contentTabs", "contentPane"}));
    listFolder(folder.path());
    dialogs.inputAnswers.push_back("ads");
    form->window().perform(ui::form::Command::SearchByFileName);
    EXPECT_EQ(order(), (std::vector<std::string>{"browseButton", "deleteCommand", "deleteAllCommand", "reloadCommand",
                                                 "closeButton", "versionButton", "helpButton", "searchByFileNameButton",
                                                 "searchByContentButton", "clearSearchButton", "resultGrid",
                                                 "contentTabs", "contentPane"}));
}

TEST_F(MainWindowHostTest, FirstScanFillsTheGridStatusCaptionAndFolderBox)
{
    listFolder(folder.path());
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(form->statusText(), listing::messages::cookiesFound(3));
    EXPECT_TRUE(IsWindowEnabled(control(ui::form::Id::DeleteCommand)));
    EXPECT_TRUE(IsWindowEnabled(control(ui::form::Id::DeleteAllCommand)));
    EXPECT_EQ(windowText(control(ui::form::Id::FolderBox)), folder.path() + "\\");
    EXPECT_EQ(windowText(window), "Vellumin ver 1.30   < CookiesPath:[" + folder.path() + "\\] >");
    EXPECT_TRUE(IsWindowVisible(control(ui::form::Id::Table)));
    EXPECT_EQ(form->grid().currentRow(), 1);
    const int shop = rowOf("hanako@shop.example.net[2].txt");
    ASSERT_GT(shop, 0);
    EXPECT_EQ(cell(3, shop), "表示");
    // After a scan the pane is empty.
    EXPECT_EQ(form->contentPaneShownText(), "");

    // The number column takes "No" and two digits with room to spare inside
    // its raised edge, which the count of their bytes does not give.
    for (int i = 0; i < 7; ++i)
        folder.write("z@" + std::to_string(i) + ".txt", cookieText("z", "z"));
    listFolder(folder.path());
    ASSERT_EQ(rows(), 10);
    const HWND grid = control(ui::form::Id::Table);
    const HDC dc = GetDC(grid);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(grid, WM_GETFONT, 0, 0)));
    for (const char *text : {"No", "10"}) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, 2, &extent);
        EXPECT_LE(extent.cx + 4, form->grid().columnWidthAt(0)) << text;
    }
    SelectObject(dc, previous);
    ReleaseDC(grid, dc);
}

TEST_F(MainWindowHostTest, FileThatCannotBeOpenedGoesToTheErrorBox)
{
    listFolder(folder.path());
    // Held open without sharing, as a program writing it would.
    const HANDLE held = CreateFileW(wideFromNative(folder / "taro@mail.example.org[1].txt").c_str(),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form->window().perform(ui::form::Command::Reload);
    CloseHandle(held);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ScriptedDialogs::Message &box = dialogs.messages[0];
    EXPECT_EQ(box.caption, "Vellumin");
    EXPECT_EQ(box.flags, platform::msgbox::kIconHand | platform::msgbox::kOk);
    EXPECT_NE(box.text.find("taro@mail.example.org[1].txt"), std::string::npos) << box.text;
    EXPECT_EQ(box.text.back(), '.');
    EXPECT_FALSE(platform::win32::BusyCursor::active());
}

TEST_F(MainWindowHostTest, ReadOnlyKeepsTheDeleteCommandsOffAndSaysSoInTheTitle)
{
    form->window().setReadOnly(true);
    listFolder(folder.path());
    ASSERT_EQ(rows(), 3);
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::DeleteCommand)));
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::DeleteAllCommand)));
    EXPECT_TRUE(IsWindowEnabled(control(ui::form::Id::ReloadCommand)));
    const std::string mark = platform::cp932::fromUtf8("  [読み取り専用]");
    const std::string title = windowText(window);
    ASSERT_GE(title.size(), mark.size());
    EXPECT_EQ(title.substr(title.size() - mark.size()), mark) << title;

    dialogs.messageAnswers = {IDYES, IDYES};
    const HWND grid = control(ui::form::Id::Table);
    SetFocus(grid);
    press(grid, WM_KEYDOWN, VK_DELETE);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(rows(), 3);
}

TEST_F(MainWindowHostTest, ClickingARowShowsItsFileInThePane)
{
    listFolder(folder.path());
    const int mail = rowOf("taro@mail.example.org[1].txt");
    clickGridRow(mail);
    EXPECT_EQ(form->contentPaneShownText().find("SESSION 1"), 5u) << form->contentPaneShownText();
    // The first row too.
    clickGridRow(1);
    const std::string first = cell(1, 1);
    const std::string site = first.substr(first.find('@') + 1, 6);
    EXPECT_NE(form->contentPaneShownText().find(site), std::string::npos)
        << first << " / " << form->contentPaneShownText();
    // A file that went since the scan: the error box, and the pane is cleared.
    DeleteFileW(wideFromNative(folder / "taro@mail.example.org[1].txt").c_str());
    clickGridRow(mail);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "Vellumin");
    EXPECT_EQ(form->contentPaneShownText(), "");
}

TEST_F(MainWindowHostTest, EachButtonAndCommandTextRunsItsCommand)
{
    // Clicked as the user clicks them; what each command does is the
    // window's own, tested without a window. The texts it leaves read the
    // same through the wide calls whatever the code page.
    using ui::form::Id;
    listFolder(folder.path());
    const auto clickButton = [this](Id id) {
        SendMessageW(control(id), BM_CLICK, 0, 0);
        pumpMessages();
    };
    dialogs.inputAnswers = {"ads", "表示"};
    clickButton(Id::SearchByFileNameButton);
    EXPECT_EQ(dialogs.inputCaptions.back(), "Input Search FileName");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(windowText(control(Id::SearchModeLabel)), "ファイル名検索モード");
    clickButton(Id::SearchByContentButton);
    EXPECT_EQ(dialogs.inputCaptions.back(), "Search File List Name");
    EXPECT_EQ(cell(1, 1), "hanako@shop.example.net[2]");
    EXPECT_EQ(windowText(control(Id::SearchModeLabel)), "ファイル内容検索モード");
    clickButton(Id::ClearSearchButton);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(windowText(control(Id::SearchModeLabel)), "");
    EXPECT_FALSE(IsWindowEnabled(control(Id::ClearSearchButton)));

    folder.write("new@one.example[1].txt", cookieText("one.example", "x"));
    click(control(Id::ReloadCommand), POINT{3, 3});
    EXPECT_EQ(rows(), 4);

    dialogs.messageAnswers = {kIdNo, kIdNo};
    click(control(Id::DeleteCommand), POINT{3, 3});
    click(control(Id::DeleteAllCommand), POINT{3, 3});
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].flags, 0x24u);
    EXPECT_EQ(dialogs.messages[1].text, "全てのクッキーファイルを削除します。\n\r宜しいですか？");
    EXPECT_EQ(rows(), 4);

    clickButton(Id::VersionButton);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].caption, "バージョン情報");

    // HELP opens README.TXT beside the program.
    clickButton(Id::HelpButton);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].second, "README.TXT");
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::string exe = nativeFromWide(program);
    EXPECT_EQ(desktop.opened[0].first, exe.substr(0, exe.rfind('\\') + 1));

    CookieFolder other;
    other.write("a@b.example[1].txt", cookieText("b.example", "x"));
    dialogs.openAnswers.push_back(platform::namedPath(other / "anything.txt"));
    clickButton(Id::BrowseButton);
    EXPECT_EQ(windowText(control(Id::FolderBox)), other.path() + "\\");
    EXPECT_EQ(rows(), 1);
}

TEST_F(MainWindowHostTest, TheShellOpensOnlyAHelpFileThatIsThere)
{
    CookieFolder empty;
    platform::win32::Win32Desktop shell;
    const platform::DocumentOpening missing = shell.openDocument(empty.path() + "\\", "README.TXT");
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.path, empty / "README.TXT");
}

TEST_F(MainWindowHostTest, DeleteAsksForTheRowsOwnFileAndOnlyYesDeletes)
{
    listFolder(folder.path());
    const int mail = rowOf("taro@mail.example.org[1].txt");
    clickGridRow(mail);
    // A column dragged into the name's place does not change what is named.
    const HWND grid = control(ui::form::Id::Table);
    const POINT from = centre(form->grid().cellRect(2, 0));
    const POINT to = centre(form->grid().cellRect(1, 0));
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ASSERT_EQ(form->grid().tableColumnAt(1), 2);

    dialogs.messageAnswers = {kIdNo};
    click(control(ui::form::Id::DeleteCommand), POINT{3, 3});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string number = std::to_string(mail);
    EXPECT_EQ(dialogs.messages[0].text,
              "No." + number + " の taro@mail.example.org[1] ファイルを削除します。\n\r宜しいですか？");
    EXPECT_EQ(dialogs.messages[0].caption, "削除確認");
    EXPECT_EQ(dialogs.messages[0].flags, 0x24u);
    EXPECT_TRUE(folder.exists("taro@mail.example.org[1].txt"));
    // No rescan after No: the moved column is still where the user put it.
    EXPECT_EQ(form->grid().tableColumnAt(1), 2);

    dialogs.messageAnswers = {kIdYes};
    click(control(ui::form::Id::DeleteCommand), POINT{3, 3});
    EXPECT_FALSE(folder.exists("taro@mail.example.org[1].txt"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 2), "2");
    // The pane shows the file of the row that took the deleted one's place.
    const std::string now = cell(1, form->currentRow());
    ASSERT_NE(now.find('@'), std::string::npos) << now;
    const std::string site = now.substr(now.find('@') + 1, now.find('[') - now.find('@') - 1);
    EXPECT_NE(form->contentPaneShownText().find("\r\n" + site + "/\r\n"), std::string::npos)
        << now << " / " << form->contentPaneShownText();
}

TEST_F(MainWindowHostTest, CommandTextClickCountsOnlyWhenReleasedInside)
{
    listFolder(folder.path());
    folder.write("new@one.example[1].txt", cookieText("one.example", "x"));
    const HWND reload = control(ui::form::Id::ReloadCommand);
    SendMessageA(reload, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(reload, WM_LBUTTONUP, 0, MAKELPARAM(-50, 3));
    EXPECT_EQ(rows(), 3);
    SendMessageA(reload, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(reload, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(rows(), 4);
    // The second press of a double click does not count again.
    folder.write("new@two.example[1].txt", cookieText("two.example", "x"));
    SendMessageA(reload, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(reload, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(rows(), 4);

    // With the focus, Space and Enter click it, as the message loop hands
    // them on.
    SetFocus(reload);
    press(reload, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(rows(), 5);
    folder.write("new@three.example[1].txt", cookieText("three.example", "x"));
    SetFocus(reload);
    press(reload, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(rows(), 6);
}

TEST_F(MainWindowHostTest, EnterPressesTheFocusedButtonAndEscClosesNothing)
{
    SetFocus(control(ui::form::Id::VersionButton));
    // The focused button wears the default button's dark frame; the others not.
    const auto type = [this](ui::form::Id id) { return GetWindowLongPtrA(control(id), GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_EQ(type(ui::form::Id::VersionButton), BS_DEFPUSHBUTTON);
    EXPECT_EQ(type(ui::form::Id::HelpButton), BS_PUSHBUTTON);
    EXPECT_EQ(type(ui::form::Id::BrowseButton), BS_PUSHBUTTON);
    press(control(ui::form::Id::VersionButton), WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].flags, 0x40u);

    press(control(ui::form::Id::VersionButton), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // Tab goes on from the content pane, which would keep it otherwise.
    SetFocus(control(ui::form::Id::ContentPane));
    press(control(ui::form::Id::ContentPane), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), control(ui::form::Id::BrowseButton));
}

TEST_F(MainWindowHostTest, TheCookieViewShowsTheChosenFilesCookiesAndCopiesThem)
{
    folder.write("jiro@two.example[1].txt", "old\n1\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                            "名前\n値\nx.example/p/\n9728\n0\n32000000\n0\n30000000\n*\n");
    listFolder(folder.path());
    const HWND tabs = control(ui::form::Id::ContentTabs);
    const HWND view = control(ui::form::Id::CookieView);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    RECT strip{};
    GetClientRect(tabs, &strip);
    if (form->layoutScale().dpi() == 96) {
        EXPECT_LE(strip.bottom, 24);
    }
    EXPECT_FALSE(IsWindowVisible(view));

    // Ctrl+Tab from the table: the chosen file's cookies, one row each.
    clickGridRow(rowOf("jiro@two.example[1].txt"));
    SetFocus(control(ui::form::Id::Table));
    EXPECT_TRUE(pressWithControl(control(ui::form::Id::Table), VK_TAB));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    ASSERT_TRUE(IsWindowVisible(view));
    EXPECT_FALSE(IsWindowVisible(control(ui::form::Id::ContentPane)));
    ASSERT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 2);
    const auto shown = [view](int row, int column) {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return platform::win32::cp932FromWide(text);
    };
    EXPECT_EQ(shown(1, 1), "名前");
    EXPECT_EQ(shown(1, 3), "x.example");
    EXPECT_NE(shown(0, 5).find("期限切れ"), std::string::npos);
    EXPECT_GT(SendMessageW(view, LVM_GETCOLUMNWIDTH, 1, 0), form->window().cookieTable().columnWidth(1));

    // Ctrl+C copies the selected cookies as name=value lines.
    SetFocus(view);
    EXPECT_TRUE(pressWithControl(view, 'A'));
    EXPECT_TRUE(pressWithControl(view, 'C'));
    ASSERT_TRUE(OpenClipboard(window));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto *copied = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr;
    const std::string text = copied ? platform::win32::cp932FromWide(copied) : std::string();
    if (copied)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, "old=1\r\n名前=値");

    // Ctrl+Shift+Tab: the text again, the focus with it; a file that is not
    // cookies shows its line in the table's place.
    EXPECT_TRUE(pressWithControl(view, VK_TAB, true));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetFocus(), control(ui::form::Id::ContentPane));
    pressWithControl(control(ui::form::Id::ContentPane), VK_TAB);
    folder.write("jiro@three.example[1].txt", "not a cookie file\n");
    listFolder(folder.path());
    clickGridRow(rowOf("jiro@three.example[1].txt"));
    EXPECT_FALSE(IsWindowVisible(view));
    EXPECT_TRUE(IsWindowVisible(control(ui::form::Id::CookieProblem)));
    EXPECT_EQ(windowText(control(ui::form::Id::CookieProblem)), form->window().cookieTable().problemText());
    EXPECT_FALSE(form->window().cookieTable().problemText().empty());
    const HWND stray = control(ui::form::Id::CookieStray);
    EXPECT_FALSE(IsWindowVisible(stray));

    // A file cut short: its whole cookie in the table, the line under it,
    // which gives its room back when the next file needs none.
    RECT full{};
    GetWindowRect(control(ui::form::Id::CookieProblem), &full);
    folder.write("jiro@four.example[1].txt", "kept\n1\nz.example/\n0\n0\n0\n0\n0\n*\ncut\n");
    listFolder(folder.path());
    clickGridRow(rowOf("jiro@four.example[1].txt"));
    EXPECT_TRUE(IsWindowVisible(view));
    EXPECT_TRUE(IsWindowVisible(stray));
    EXPECT_FALSE(IsWindowVisible(control(ui::form::Id::CookieProblem)));
    EXPECT_EQ(windowText(stray), form->window().cookieTable().problemText());
    EXPECT_EQ(form->window().cookieTable().rowCount(), 1);
    RECT table{}, line{};
    GetWindowRect(view, &table);
    GetWindowRect(stray, &line);
    EXPECT_EQ(line.top, table.bottom);
    EXPECT_EQ(line.bottom, full.bottom);
    EXPECT_EQ(table.top, full.top);
}

// The client area of `hwnd` as the screen shows it, children and all (red,
// green and blue).
std::vector<std::uint32_t> shownPixels(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    const HDC screen = GetDC(hwnd);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ was = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto *first = static_cast<const std::uint32_t *>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(client.right) * client.bottom);
    for (std::uint32_t &pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(dc, was);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(hwnd, screen);
    return pixels;
}

// Whether the screen shows `hwnd` as a paint of it all, frames and
// children included, draws it.
bool shownAsPaintedAfresh(HWND hwnd)
{
    const std::vector<std::uint32_t> shown = shownPixels(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return shownPixels(hwnd) == shown;
}

TEST_F(MainWindowHostTest, AChosenViewIsPaintedWholeInTheOthersPlace)
{
    // The views take each other's place without a paint at once: at the
    // window's next paint the one that comes shows all of itself and
    // nothing of the one that left.
    folder.write("jiro@two.example[1].txt", "one\n1\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                            "two\n2\nx.example/\n0\n0\n0\n0\n0\n*\n");
    listFolder(folder.path());
    clickGridRow(rowOf("jiro@two.example[1].txt"));
    const HWND table = control(ui::form::Id::Table);
    const HWND panel = control(ui::form::Id::ContentPanel);
    SetFocus(table); // no caret blinking in the pane
    pumpMessages();
    const std::vector<std::uint32_t> text = shownPixels(panel);

    EXPECT_TRUE(pressWithControl(table, VK_TAB));
    ASSERT_TRUE(IsWindowVisible(control(ui::form::Id::CookieView)));
    EXPECT_TRUE(shownAsPaintedAfresh(panel)) << "the cookie table";
    EXPECT_TRUE(shownPixels(panel) != text);

    EXPECT_TRUE(pressWithControl(table, VK_TAB, true));
    ASSERT_TRUE(IsWindowVisible(control(ui::form::Id::ContentPane)));
    EXPECT_TRUE(shownPixels(panel) == text) << "the text as before, nothing of the table";
}

TEST_F(MainWindowHostTest, WithNoFileChosenTheCookieHeaderShowsEveryTitleWhole)
{
    // A scan empties the pane: the cookie view shows an empty table whose
    // columns still fit their titles, never only their margins.
    listFolder(folder.path());
    SetFocus(control(ui::form::Id::Table));
    EXPECT_TRUE(pressWithControl(control(ui::form::Id::Table), VK_TAB));
    const HWND view = control(ui::form::Id::CookieView);
    ASSERT_TRUE(IsWindowVisible(view));
    ASSERT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 0);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(view, WM_GETFONT, 0, 0));
    const HDC dc = GetDC(header);
    const HGDIOBJ previous = SelectObject(dc, font);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column) {
        const std::wstring title = platform::win32::wideFromCp932(listing::CookieTable::columnTitle(column));
        SIZE extent{};
        GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent);
        EXPECT_GE(SendMessageW(view, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0), extent.cx + 12) << column;
    }
    SelectObject(dc, previous);
    ReleaseDC(header, dc);
}

TEST_F(MainWindowHostTest, TabIntoTheCookieViewSelectsARowAndCtrlASelectsEveryCookie)
{
    folder.write("jiro@two.example[1].txt", "one\n1\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                            "two\n2\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                            "three\n3\nx.example/\n0\n0\n0\n0\n0\n*\n");
    listFolder(folder.path());
    const HWND tabs = control(ui::form::Id::ContentTabs);
    const HWND view = control(ui::form::Id::CookieView);
    clickGridRow(rowOf("jiro@two.example[1].txt"));
    SetFocus(control(ui::form::Id::Table));
    EXPECT_TRUE(pressWithControl(control(ui::form::Id::Table), VK_TAB));
    ASSERT_TRUE(IsWindowVisible(view));
    ASSERT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_TRUE(form->selectedCookieRows().empty());

    // From the strip, Tab lands on the cookies with the first one selected.
    SetFocus(tabs);
    press(tabs, WM_KEYDOWN, VK_TAB);
    ASSERT_EQ(GetFocus(), view);
    EXPECT_EQ(form->selectedCookieRows(), (std::vector<int>{0}));
    EXPECT_EQ(form->currentCookieRow(), 0);

    // Ctrl+A: every cookie, the focus frame where it was.
    form->selectCookieRows(1, 1);
    EXPECT_TRUE(pressWithControl(view, 'A'));
    EXPECT_EQ(form->selectedCookieRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(form->currentCookieRow(), 1);

    // Back in with a row the user chose: that row stays the one.
    form->selectCookieRows(2, 2);
    EXPECT_EQ(form->currentCookieRow(), 2);
    SetFocus(tabs);
    press(tabs, WM_KEYDOWN, VK_TAB);
    ASSERT_EQ(GetFocus(), view);
    EXPECT_EQ(form->selectedCookieRows(), (std::vector<int>{2}));
}

TEST_F(MainWindowHostTest, CookiesSelectedByKeysAndClicksAreCopiedInTheTablesOrderGapsLeftOut)
{
    std::string text;
    for (int cookie = 0; cookie < 40; ++cookie)
        text += "c" + std::to_string(cookie) + "\n" + std::to_string(cookie) + "\nx.example/\n0\n0\n0\n0\n0\n*\n";
    folder.write("jiro@two.example[1].txt", text);
    listFolder(folder.path());
    clickGridRow(rowOf("jiro@two.example[1].txt"));
    SetFocus(control(ui::form::Id::Table));
    EXPECT_TRUE(pressWithControl(control(ui::form::Id::Table), VK_TAB));
    const HWND view = control(ui::form::Id::CookieView);
    ASSERT_TRUE(IsWindowVisible(view));
    ASSERT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 40);
    SetFocus(view);
    pumpMessages();
    const auto key = [&](WPARAM virtualKey, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        press(view, WM_KEYDOWN, virtualKey);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    const auto clickCookie = [&](int row, WPARAM modifiers) {
        SendMessageW(view, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT r{};
        r.top = 1;
        r.left = LVIR_BOUNDS;
        SendMessageW(view, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON | modifiers, at);
        SendMessageW(view, WM_LBUTTONUP, modifiers, at);
        pumpMessages();
    };
    const auto copied = [&] {
        EXPECT_TRUE(pressWithControl(view, 'C'));
        std::string got;
        if (!OpenClipboard(window))
            return got;
        const HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (const auto *wide = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr) {
            got = platform::win32::cp932FromWide(wide);
            GlobalUnlock(data);
        }
        CloseClipboard();
        return got;
    };

    // Ctrl+A, then Home: the first cookie alone.
    EXPECT_TRUE(pressWithControl(view, 'A'));
    EXPECT_EQ(form->selectedCookieRows().size(), 40u);
    key(VK_HOME, false);
    EXPECT_EQ(form->selectedCookieRows(), std::vector<int>{0});
    EXPECT_EQ(copied(), "c0=0");

    // Shift+End, Shift+Up: all but the last.
    key(VK_END, true);
    key(VK_UP, true);
    EXPECT_EQ(form->selectedCookieRows().size(), 39u);
    EXPECT_EQ(form->currentCookieRow(), 38);

    // A run by Shift+click, a gap by Ctrl+click, a lone row far off: copied
    // in the table's order, whatever the order of the clicks.
    clickCookie(30, 0);
    clickCookie(3, MK_CONTROL);
    clickCookie(5, MK_CONTROL | MK_SHIFT);
    clickCookie(4, MK_CONTROL);
    EXPECT_EQ(form->selectedCookieRows(), (std::vector<int>{3, 5, 30}));
    EXPECT_EQ(copied(), "c3=3\r\nc5=5\r\nc30=30");
}

TEST(ApplicationWindow, LeftToTheProcessEndItOutlivesItsObjectSafely)
{
    // What the program does at its end, so that the window is not withdrawn
    // on its own (see runApplication()).
    HWND left = nullptr;
    {
        ui::win32::ApplicationWindow application;
        left = application.create();
        ASSERT_NE(left, nullptr);
        application.leaveToProcessEnd();
        EXPECT_EQ(application.hwnd(), nullptr);
    }
    ASSERT_TRUE(IsWindow(left));
    // Its messages no longer reach the object, which is gone: its own
    // WM_CLOSE would only pass the close on, the system's destroys it.
    SendMessageW(left, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageW(left, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(left));
}

TEST_F(MainWindowHostTest, AltCClosesTheWindow)
{
    press(control(ui::form::Id::Table), WM_SYSCHAR, 'c');
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowHostTest, BusyCursorShowsOverEveryControl)
{
    form->setBusyCursor(true);
    EXPECT_TRUE(platform::win32::BusyCursor::active());
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    for (const ui::form::Id id :
         {ui::form::Id::ReloadCommand, ui::form::Id::Table, ui::form::Id::CommandSplitter, ui::form::Id::HelpButton}) {
        SetCursor(nullptr);
        const HWND hwnd = control(id);
        SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), wait) << ui::form::control(id).name;
    }
    form->setBusyCursor(false);
    EXPECT_FALSE(platform::win32::BusyCursor::active());
}

TEST_F(MainWindowHostTest, HintsOnlyOnTheirSixControlsWithTheirTimes)
{
    const HWND hints = form->hintWindow();
    HWND tips = hints;
    if (!tips) {
        // The tooltip window is a popup owned by the window, not a child.
        tips = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
        while (tips && GetWindow(tips, GW_OWNER) != window)
            tips = FindWindowExA(nullptr, tips, TOOLTIPS_CLASSA, nullptr);
    }
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2500);
    std::vector<std::string> named;
    for (int i = 0; i < 6; ++i) {
        wchar_t text[256] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        SendMessageW(tips, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool));
        named.push_back(nameOf(reinterpret_cast<HWND>(tool.uId)));
        if (named.back() == "deleteCommand") {
            EXPECT_EQ(platform::win32::cp932FromWide(text), "最後に選択したクッキーファイルを削除します (Delete)");
        }
    }
    EXPECT_EQ(named, (std::vector<std::string>{"deleteCommand", "deleteAllCommand", "reloadCommand", "versionButton",
                                               "closeButton", "resultGrid"}));
}

class SplitterTest : public MainWindowHostTest {
protected:
    int width(ui::form::Id id) const
    {
        const RECT r = windowRect(control(id));
        return r.right - r.left;
    }
    int height(ui::form::Id id) const
    {
        const RECT r = windowRect(control(id));
        return r.bottom - r.top;
    }

    // Presses on the splitter, moves the mouse by (dx, dy), and releases or
    // (with `escape`) presses Esc first.
    void drag(ui::form::Id id, int dx, int dy, bool escape = false)
    {
        const HWND splitter = control(id);
        const RECT r = windowRect(splitter);
        const POINT start = centre(r);
        SetCursorPos(start.x, start.y);
        SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        SetCursorPos(start.x + dx, start.y + dy);
        SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + dx, 1 + dy));
        if (escape)
            SendMessageA(splitter, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(1 + dx, 1 + dy));
        pumpMessages();
    }
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourAndNeverTheWindow)
{
    const RECT frame = windowRect(window);
    const int menu = width(ui::form::Id::CommandPanel);
    drag(ui::form::Id::CommandSplitter, 40, 0);
    POINT cursor{};
    GetCursorPos(&cursor);
    if (std::abs(cursor.x - centre(windowRect(control(ui::form::Id::CommandSplitter))).x) > 60)
        GTEST_SKIP() << "the display does not move the mouse";
    EXPECT_EQ(width(ui::form::Id::CommandPanel), menu + 40);
    const int pane = height(ui::form::Id::ContentPanel);
    drag(ui::form::Id::ContentSplitter, 0, -30);
    EXPECT_EQ(height(ui::form::Id::ContentPanel), pane + 30);
    const RECT after = windowRect(window);
    EXPECT_EQ(after.right - after.left, frame.right - frame.left);
    EXPECT_EQ(after.bottom - after.top, frame.bottom - frame.top);
}

TEST_F(SplitterTest, EscCancelsAndSmallSizesSnapShut)
{
    const int menu = width(ui::form::Id::CommandPanel);
    drag(ui::form::Id::CommandSplitter, 50, 0, true);
    EXPECT_EQ(width(ui::form::Id::CommandPanel), menu);
    EXPECT_FALSE(GetCapture());
    drag(ui::form::Id::CommandSplitter, 30 - menu, 0); // the neighbour at 30 pixels
    EXPECT_EQ(width(ui::form::Id::CommandPanel), 0);
}

} // namespace

namespace {

TEST(MainWindowHostStart, ShowCommandsForMaximisedAndMinimisedStarts)
{
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    {
        ui::win32::MainWindowHost form(dialogs, desktop);
        const HWND window = form.create();
        form.show(SW_SHOWMAXIMIZED);
        pumpMessages();
        EXPECT_TRUE(IsZoomed(window));
    }
    {
        ui::win32::MainWindowHost form(dialogs, desktop);
        const HWND window = form.create();
        form.show(SW_SHOWMINNOACTIVE);
        pumpMessages();
        EXPECT_TRUE(IsIconic(window));
    }
    {
        ui::win32::MainWindowHost form(dialogs, desktop);
        const HWND window = form.create();
        form.show(SW_SHOWDEFAULT);
        pumpMessages();
        EXPECT_FALSE(IsZoomed(window) || IsIconic(window));
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, 192);
        EXPECT_EQ(frame.top, 107);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, form.layoutScale().px(688));
        EXPECT_EQ(client.bottom, form.layoutScale().px(446));
    }
    pumpMessages();
}

TEST(MainWindowHostStart, ErrorInTheFirstScanGoesToTheBoxAndTheWindowStillOpens)
{
    // The default cookie folder with a file that cannot be opened.
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string cookies = std::string(windows) + "\\Cookies";
    const bool made = CreateDirectoryA(cookies.c_str(), nullptr) != FALSE;
    const std::string file = cookies + "\\held@open.example[1].txt";
    const HANDLE held = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        if (made)
            RemoveDirectoryA(cookies.c_str());
        GTEST_SKIP() << "the default cookie folder is not ours to change";
    }
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    {
        ui::win32::MainWindowHost form(dialogs, desktop);
        const HWND window = form.create();
        form.show(SW_SHOWNORMAL);
        pumpMessages();
        EXPECT_TRUE(IsWindowVisible(window));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].caption, "Vellumin");
        EXPECT_EQ(dialogs.messages[0].flags, 0x10u);
        EXPECT_EQ(windowText(window).rfind("Vellumin ver 1.30", 0), 0u);
    }
    CloseHandle(held);
    DeleteFileA(file.c_str());
    if (made)
        RemoveDirectoryA(cookies.c_str());
    pumpMessages();
}

} // namespace
