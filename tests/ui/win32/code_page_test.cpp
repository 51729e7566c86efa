// The window on any system code page: its texts read as written, and folders
// and files named with any character, or beyond MAX_PATH, are listed,
// searched, read and deleted. These tests run again with the system's code
// page set to 1252 and to 65001 (tests/ui/win32/CMakeLists.txt).

#include "win32_test_support.h"

#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/filesystem.h"
#include "platform/wide_text_win32.h"
#include "ui/text_layout.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using platform::msgbox::kIdYes;

std::string cookieText(const std::string &site, const std::string &info)
{
    return "uid\r\n" + info + "\r\n" + site + "/\r\n0\r\n*\r\n";
}

// The status bar's text, read back from the control itself (its simple
// part answers as part 0).
std::string statusBarText(HWND bar)
{
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return platform::win32::cp932FromWide(text);
}

class AnyCodePage : public FormTest {
protected:
    std::string cell(int column, int row) const { return std::string(form->cookies().table().cell(column, row)); }
    int rows() const { return form->cookies().table().dataRowCount(); }
    int rowNamed(const std::string &name) const
    {
        for (int row = 1; row <= rows(); ++row)
            if (cell(1, row) == name)
                return row;
        return 0;
    }
    void clickRow(int row)
    {
        click(control(ui::form::Id::Table), centre(form->grid().cellRect(1, row)));
        pumpMessages();
    }
    std::string caption(const std::string &shownFolder) const
    {
        return "Vellumin ver 1.30   < CookiesPath:[" + shownFolder + "\\] >";
    }

    CookieFolder folder;
};

TEST_F(AnyCodePage, RunsUnderTheCodePageItWasStartedFor)
{
    // Set by the runs under other code pages, so that none of them passes
    // under 932 by mistake.
    const char *expected = std::getenv("VELLUMIN_EXPECTED_ACP");
    if (!expected)
        GTEST_SKIP() << "no code page asked for";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    if (GetACP() == CP_UTF8) {
        // The UTF-8 build carries the program's own manifest, with what
        // else it asks for: the common controls of version 6, which come
        // from the side-by-side store, not from the system folder.
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
        EXPECT_NE(platform::win32::cp932FromWide(CharLowerW(path)).find("\\winsxs\\"), std::string::npos)
            << platform::win32::cp932FromWide(path);
    }
}

TEST_F(AnyCodePage, TheWindowsTextsReadAsWritten)
{
    EXPECT_EQ(windowText(control(ui::form::Id::FolderLabel)), "クッキーフォルダ");
    EXPECT_EQ(windowText(control(ui::form::Id::BrowseButton)), "参照");
    EXPECT_EQ(windowText(control(ui::form::Id::SearchGroup)), "検索");
    EXPECT_EQ(windowText(control(ui::form::Id::SearchByFileNameButton)), "ファイル名");
    EXPECT_EQ(windowText(control(ui::form::Id::SearchByContentButton)), "ファイル内容");
    EXPECT_EQ(windowText(control(ui::form::Id::ClearSearchButton)), "解　除");
    EXPECT_EQ(windowText(control(ui::form::Id::CloseButton)), "閉じる(&C)");
    // The lower pane's tabs and the cookie table's column titles.
    const auto tabText = [this](int index) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(control(ui::form::Id::ContentTabs), TCM_GETITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return platform::win32::cp932FromWide(text);
    };
    EXPECT_EQ(tabText(0), "テキスト");
    EXPECT_EQ(tabText(1), "クッキー");
    wchar_t title[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    SendMessageW(control(ui::form::Id::CookieView), LVM_GETCOLUMNW, 5, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(platform::win32::cp932FromWide(title), "有効期限");

    folder.write("u@a.txt", cookieText("a.example", "表示"));
    listFolder(folder.path());
    EXPECT_EQ(statusBarText(control(ui::form::Id::StatusBar)), listing::messages::cookiesFound(1));
    dialogs.inputAnswers.push_back("a");
    form->window().perform(ui::form::Command::SearchByFileName);
    EXPECT_EQ(windowText(control(ui::form::Id::SearchModeLabel)), "ファイル名検索モード");
    dialogs.inputAnswers.push_back("nothing holds this");
    form->window().perform(ui::form::Command::SearchByContent);
    EXPECT_EQ(windowText(control(ui::form::Id::SearchModeLabel)), "ファイル内容検索モード");
    EXPECT_EQ(statusBarText(control(ui::form::Id::StatusBar)), listing::messages::noCookiesFound());
}

TEST_F(AnyCodePage, ThePaneDrawsCopiesAndReadsOutJapaneseTextAsWritten)
{
    const std::string text = "uid\r\n表示テキスト\r\nａ.example/\r\n0\r\n*\r\n";
    folder.write("u@a.txt", text);
    listFolder(folder.path());
    clickRow(1);
    const HWND pane = control(ui::form::Id::ContentPane);
    // One place a character, each double-byte one too: the view converts
    // with code page 932 whatever the system's.
    const std::vector<ui::text::ShownRow> rows = form->contentPane().layout().shownRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].places.size(), 6u);
    EXPECT_GT(rows[1].places.back().right, rows[0].places.back().right);

    SetFocus(pane);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(pane, WM_KEYDOWN, 'A', 0);
    SendMessageW(pane, WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_TRUE(OpenClipboard(window));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto *copied = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr;
    const std::wstring wide = copied ? std::wstring(copied) : std::wstring();
    if (copied)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(wide, platform::win32::wideFromCp932(text));

    IAccessible *object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(pane, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void **>(&object)),
              S_OK);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR value = nullptr;
    object->get_accValue(self, &value);
    EXPECT_EQ(value ? std::wstring(value, SysStringLen(value)) : std::wstring(), platform::win32::wideFromCp932(text));
    SysFreeString(value);
    object->Release();
}

TEST_F(AnyCodePage, AFolderThatIsNotThereOrCannotBeOpenedIsSaidInTheStatusBar)
{
    folder.write("u@a.txt", cookieText("a.example", "表示"));
    listFolder(folder.path());
    ASSERT_EQ(rows(), 1);
    listFolder(folder.path() + "\\" + platform::cp932::toUtf8("見当たらない"));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(form->statusText(), "クッキーフォルダ " + folder.path() + "\\見当たらない が見付かりません");
    EXPECT_EQ(statusBarText(control(ui::form::Id::StatusBar)), form->statusText());
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::DeleteCommand)));
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::DeleteAllCommand)));
    listFolder(folder / "u@a.txt");
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(form->statusText(), "クッキーフォルダ " + folder.path() + "\\u@a.txt を開けません");
    EXPECT_FALSE(IsWindowEnabled(control(ui::form::Id::DeleteCommand)));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(AnyCodePage, NamesOfAnyCharacterAreListedSearchedReadAndDeleted)
{
    // A folder with a Japanese name whose last byte in CP932 is "\"; a name
    // whose two characters both end in that byte; and one with a character
    // CP932 lacks, shown as "?" and still read and deleted.
    const std::string japanese = nativeName("c表");
    const std::string so = japanese + "\\" + nativeName("ソ@表.txt");
    const std::string emoji = japanese + "\\u@\xF0\x9F\x8D\xAA.txt";
    const std::string cookies = folder.makeFolder(japanese);
    folder.write(so, cookieText("so.example", "表示"));
    folder.write(emoji, cookieText("emoji.example", "絵文字"));

    listFolder(cookies);
    ASSERT_EQ(rows(), 2);
    const std::string shownFolder = folder.path() + "\\c表";
    EXPECT_EQ(windowText(window), caption(shownFolder));
    EXPECT_EQ(windowText(control(ui::form::Id::FolderBox)), shownFolder + "\\");
    const int soRow = rowNamed("ソ@表");
    const int emojiRow = rowNamed("u@?");
    ASSERT_GT(soRow, 0);
    ASSERT_GT(emojiRow, 0);
    EXPECT_EQ(cell(3, soRow), "表示");

    clickRow(emojiRow);
    EXPECT_NE(form->contentPaneShownText().find("絵文字"), std::string::npos) << form->contentPaneShownText();

    dialogs.inputAnswers.push_back("表");
    form->window().perform(ui::form::Command::SearchByFileName);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(1, 1), "ソ@表");
    form->window().perform(ui::form::Command::ClearSearch);
    ASSERT_EQ(rows(), 2);

    clickRow(rowNamed("u@?"));
    dialogs.messageAnswers = {kIdYes};
    click(control(ui::form::Id::DeleteCommand), POINT{3, 3});
    EXPECT_FALSE(folder.exists(emoji));
    EXPECT_TRUE(folder.exists(so));
    ASSERT_EQ(rows(), 1);
    dialogs.messageAnswers = {kIdYes};
    click(control(ui::form::Id::DeleteAllCommand), POINT{3, 3});
    EXPECT_FALSE(folder.exists(so));
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(dialogs.messages.size() == 2 && dialogs.messages[1].caption == "削除確認");
}

// A file opened as another program holds it: shared for reading and
// writing, not for deleting.
class HeldOpen {
public:
    explicit HeldOpen(const std::string &path)
        : m_file(CreateFileW(platform::win32::wideFromNative(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr))
    {}
    ~HeldOpen()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
    }
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;
    bool held() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file;
};

TEST_F(AnyCodePage, AFileAnotherProgramHoldsIsNotDeletedAndTheErrorBoxSaysWhy)
{
    const std::string cookies = folder.makeFolder(nativeName("c表"));
    folder.write(nativeName("c表") + "\\a@held.txt", cookieText("held.example", "1"));
    folder.write(nativeName("c表") + "\\b@free.txt", cookieText("free.example", "2"));
    folder.write(nativeName("c表") + "\\c@held.txt", cookieText("held.example", "3"));
    listFolder(cookies);
    ASSERT_EQ(rows(), 3);
    const std::string shownFolder = folder.path() + "\\c表";
    const std::string sharing = platform::systemErrorText(ERROR_SHARING_VIOLATION);
    ASSERT_FALSE(sharing.empty());
    {
        const HeldOpen a(cookies + "\\a@held.txt");
        const HeldOpen c(cookies + "\\c@held.txt");
        ASSERT_TRUE(a.held() && c.held());

        clickRow(rowNamed("a@held"));
        dialogs.messageAnswers = {kIdYes};
        click(control(ui::form::Id::DeleteCommand), POINT{3, 3});
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_EQ(dialogs.messages[1].text,
                  "ファイル " + shownFolder + "\\a@held.txt は削除できません（" + sharing + "）.");
        EXPECT_EQ(dialogs.messages[1].caption, "Vellumin");
        EXPECT_EQ(dialogs.messages[1].flags, 0x10u);
        EXPECT_TRUE(folder.exists(nativeName("c表") + "\\a@held.txt"));
        EXPECT_EQ(rows(), 3);

        // ALL DELETE deletes what it may and counts what it may not; the
        // first refused in the table's order (the file system's) says why.
        const std::string first = rowNamed("a@held") < rowNamed("c@held") ? "a@held.txt" : "c@held.txt";
        dialogs.messageAnswers = {kIdYes};
        click(control(ui::form::Id::DeleteAllCommand), POINT{3, 3});
        ASSERT_EQ(dialogs.messages.size(), 4u);
        EXPECT_EQ(dialogs.messages[3].text,
                  "2 個のファイルは削除できません（最初は " + shownFolder + "\\" + first + ": " + sharing + "）.");
        EXPECT_FALSE(folder.exists(nativeName("c表") + "\\b@free.txt"));
        EXPECT_EQ(rows(), 2);
    }
    // Let go, they go; a read-only file is refused as DeleteFile refuses it.
    SetFileAttributesW(platform::win32::wideFromNative(cookies + "\\c@held.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs.messageAnswers = {kIdYes};
    click(control(ui::form::Id::DeleteAllCommand), POINT{3, 3});
    ASSERT_EQ(dialogs.messages.size(), 6u);
    EXPECT_EQ(dialogs.messages[5].text, "1 個のファイルは削除できません（最初は " + shownFolder +
                                            "\\c@held.txt: " + platform::systemErrorText(ERROR_ACCESS_DENIED) + "）.");
    EXPECT_EQ(rows(), 1);
    SetFileAttributesW(platform::win32::wideFromNative(cookies + "\\c@held.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AnyCodePage, AFolderBeyondMaxPathIsListedReadAndDeleted)
{
    const std::string outer = folder.makeFolder(std::string(120, 'o'));
    const std::string inner = folder.makeFolder(std::string(120, 'o') + "\\" + std::string(120, 'i'));
    ASSERT_GT(inner.size(), 260u);
    const std::string name = std::string(120, 'o') + "\\" + std::string(120, 'i') + "\\u@long.example[1].txt";
    folder.write(name, cookieText("long.example", "far"));
    ASSERT_GT((folder / name).size(), 300u);

    listFolder(inner);
    ASSERT_EQ(rows(), 1);
    // As the user knows the path, without the prefix of long paths.
    EXPECT_EQ(windowText(window), caption(inner));
    EXPECT_EQ(windowText(control(ui::form::Id::FolderBox)), inner + "\\");
    clickRow(1);
    EXPECT_NE(form->contentPaneShownText().find("long.example/"), std::string::npos);
    dialogs.messageAnswers = {kIdYes};
    click(control(ui::form::Id::DeleteCommand), POINT{3, 3});
    EXPECT_FALSE(folder.exists(name));
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(dialogs.messages.size() == 1) << dialogs.messages.back().text;
    (void)outer;
}

} // namespace
