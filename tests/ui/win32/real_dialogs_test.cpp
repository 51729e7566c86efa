// The system's own boxes, once each, answered by keys the way a user would:
// a thread timer finds the box the call put up and posts keys to the
// control that has the focus, then the call returns what was pressed.

#include "win32_test_support.h"

#include "platform/wide_text_win32.h"
#include "platform/win32/win32_desktop.h"
#include "ui/win32/win32_dialogs.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Runs `step` every 50 ms inside whatever modal loop is running, with the
// box's window once one of this thread's dialog boxes with `caption` (any,
// when it is empty) is up, until
// `step` returns true. Gives up after 15 s by closing the box, so that a
// broken test fails instead of hanging.
class BoxDriver {
public:
    using Step = std::function<bool(HWND box, int tick)>;

    BoxDriver(std::string caption, Step step) : m_caption(std::move(caption)), m_step(std::move(step))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 50, &BoxDriver::onTimer);
    }
    ~BoxDriver()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool gaveUp() const { return m_gaveUp; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_current)
            s_current->tick();
    }

    void tick()
    {
        if (m_done)
            return;
        const HWND box = findBox();
        if (++m_ticks > 300) {
            m_gaveUp = true;
            m_done = true;
            if (box)
                PostMessageW(box, WM_CLOSE, 0, 0);
            return;
        }
        if (box && m_step(box, m_seen++))
            m_done = true;
    }

    HWND findBox() const
    {
        struct Search {
            const std::string *caption;
            HWND found;
        } search{&m_caption, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto *s = reinterpret_cast<Search *>(data);
                wchar_t className[32] = {};
                GetClassNameW(hwnd, className, 32);
                // A box of the system's is a dialog; an empty caption stands
                // for the open dialog's own title. The caption is read
                // through the wide call, whatever the system's code page.
                const bool dialog = std::wstring(className) == L"#32770";
                if (IsWindowVisible(hwnd) && dialog && (s->caption->empty() || windowText(hwnd) == *s->caption)) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static inline BoxDriver *s_current = nullptr;
    std::string m_caption;
    Step m_step;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    int m_seen = 0;
    bool m_done = false;
    bool m_gaveUp = false;
};

void postKey(WPARAM key)
{
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 0);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000000);
}

// Types CP932 `text`, one character at a time, as a keyboard would.
void postChars(const std::string &text)
{
    for (const wchar_t c : platform::win32::wideFromCp932(text))
        PostMessageW(GetFocus(), WM_CHAR, c, 0);
}

RECT rectOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

class RealDialogsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        real.setOwner(window);
    }
    ui::win32::Win32Dialogs real;
};

// The visible top-level window of process `process`, once it shows one
// whose caption holds `text`; null after 20 s.
HWND waitForWindowOf(DWORD process, const std::wstring &text)
{
    struct Search {
        DWORD process;
        const std::wstring &text;
        HWND found = nullptr;
    } search{process, text};
    for (int tick = 0; tick < 400 && !search.found; ++tick) {
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto &search = *reinterpret_cast<Search *>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(hwnd, &owner);
                wchar_t caption[512] = {};
                GetWindowTextW(hwnd, caption, 512);
                if (owner == search.process && IsWindowVisible(hwnd) &&
                    std::wstring(caption).find(search.text) != std::wstring::npos) {
                    search.found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(50);
    }
    return search.found;
}

// The text Notepad's window `notepad` shows, once it shows some (Notepad
// may show its window before it has read the file); empty after 10 s.
std::wstring notepadText(HWND notepad)
{
    const HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    if (!edit)
        return {};
    for (int tick = 0; tick < 200; ++tick) {
        // WM_GETTEXT crosses processes: the system copies the text back.
        wchar_t text[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
        if (length > 0)
            return std::wstring(text, length);
        Sleep(50);
    }
    return {};
}

// Opens README.TXT of `folder` through the shell service and expects it in
// a Notepad of its own, showing `expected` when that is not empty, which it
// then closes.
void expectHelpInNotepad(HWND owner, const CookieFolder &folder, const std::wstring &expected = {})
{
    platform::win32::Win32Desktop shell;
    shell.setOwner(owner);
    EXPECT_TRUE(shell.openDocument(folder.path() + "\\", "README.TXT").opened);
    ASSERT_NE(shell.lastNotepad(), 0u) << "the shell opened the file: .txt has a working handler";
    const HANDLE notepad = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, shell.lastNotepad());
    ASSERT_TRUE(notepad);
    // Notepad shows the file itself, and closes again.
    const HWND shown = waitForWindowOf(shell.lastNotepad(), L"README");
    EXPECT_TRUE(shown) << "no Notepad window names README.TXT";
    if (shown && !expected.empty()) {
        EXPECT_EQ(notepadText(shown), expected) << "Notepad read the help file as another code page";
    }
    if (shown)
        PostMessageW(shown, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(notepad, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "Notepad did not close";
        TerminateProcess(notepad, 1);
    }
    CloseHandle(notepad);
}

TEST_F(RealDialogsTest, HelpOpensInNotepadWhereTxtHasNoHandler)
{
    // As in a fresh Wine prefix: nothing registered for .txt.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.txt");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.txt");
    CookieFolder folder;
    // The help file as the zip holds it: UTF-8 after a byte-order mark, by
    // which Notepad reads its Japanese under code page 1252 as under 932.
    // (Bytes spelled out: this file's narrow literals are CP932.)
    folder.write("README.TXT", "\xEF\xBB\xBF"
                               "\xE2\x96\xA0 \xE4\xBD\xBF\xE3\x81\x84\xE6\x96\xB9\r\n" // ■ 使い方
                               "  ReLoad \xE2\x80\xA6 OK\r\n");                         //   ReLoad … OK
    expectHelpInNotepad(window, folder, L"\u25A0 \u4F7F\u3044\u65B9\r\n  ReLoad \u2026 OK\r\n");

    // A handler whose program has gone: the shell says "not found" as for a
    // missing file, yet the file is there.
    const auto setDefault = [](const wchar_t *key, const wchar_t *value) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    };
    setDefault(L"Software\\Classes\\.txt", L"VelluminGoneViewer");
    setDefault(L"Software\\Classes\\VelluminGoneViewer\\shell\\open\\command",
               L"\"C:\\no-such-folder\\gone.exe\" \"%1\"");
    expectHelpInNotepad(window, folder);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.txt");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\VelluminGoneViewer");

    // A file that is not there is not handed to Notepad: HELP says so.
    platform::win32::Win32Desktop missing;
    EXPECT_FALSE(missing.openDocument(folder.path() + "\\", "NOTHERE.TXT").opened);
    EXPECT_EQ(missing.lastNotepad(), 0u);
}

TEST_F(RealDialogsTest, YesNoMessageBoxIgnoresEscAndAnswersNo)
{
    bool openAfterEsc = false;
    std::string question;
    BoxDriver driver("削除確認", [&](HWND box, int tick) {
        if (tick == 0) {
            question = windowText(GetDlgItem(box, 0xFFFF)); // the box's text
            postKey(VK_ESCAPE);
            return false;
        }
        if (tick == 1) {
            openAfterEsc = IsWindow(box) != FALSE;
            postKey(VK_TAB); // from Yes, the default, to No
            return false;
        }
        postKey(VK_RETURN);
        return true;
    });
    const int answer = real.messageBox("全てのクッキーファイルを削除します。\n\r宜しいですか？", "削除確認", 0x24);
    EXPECT_FALSE(driver.gaveUp());
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(answer, platform::msgbox::kIdNo);
    EXPECT_NE(question.find("全てのクッキーファイルを削除します。"), std::string::npos) << question;
}

TEST_F(RealDialogsTest, InputBoxReturnsWhatIsTypedOrTheDefaultOnEsc)
{
    int width = 0;
    std::string shown;
    BoxDriver typing("Input Search FileName", [&](HWND box, int tick) {
        if (tick == 0) {
            width = rectOf(box).right - rectOf(box).left;
            shown = windowText(GetFocus());
            postChars("abc"); // replaces the selected default text
            return false;
        }
        postKey(VK_RETURN);
        return true;
    });
    EXPECT_EQ(real.inputBox("Input Search FileName", "検索ファイル名を入力してください", "def"), "abc");
    EXPECT_FALSE(typing.gaveUp());
    EXPECT_EQ(shown, "def");
    // About 270 pixels at 96 dots per inch, as the box was designed.
    const int dpi = ui::win32::screenDpi();
    EXPECT_GE(width, 260 * dpi / 96);
    EXPECT_LE(width, 280 * dpi / 96);

    BoxDriver cancelling("Search File List Name", [&](HWND, int tick) {
        if (tick == 0) {
            postChars("xyz");
            return false;
        }
        postKey(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(real.inputBox("Search File List Name", "検索内容を入力してください", "keep"), "keep");
    EXPECT_FALSE(cancelling.gaveUp());
}

TEST_F(RealDialogsTest, InputBoxTakesAtMost255Bytes)
{
    BoxDriver driver("long", [&](HWND, int tick) {
        if (tick == 0) {
            // あ, two bytes each in CP932.
            for (int i = 0; i < 130; ++i)
                postChars("あ");
            postChars("zz");
            return false;
        }
        postKey(VK_RETURN);
        return true;
    });
    const std::string answer = real.inputBox("long", "prompt", "");
    EXPECT_FALSE(driver.gaveUp());
    EXPECT_LE(answer.size(), 255u);
    EXPECT_GE(answer.size(), 250u);
}

TEST_F(RealDialogsTest, OpenDialogAcceptsANameThatDoesNotExistAndIsPlaced)
{
    // A name with a character outside CP932 comes back as the system has
    // it, and shows with "?".
    CookieFolder folder;
    const std::string typed = folder / ("no-such-" + nativeName("表") + "\xF0\x9F\x8D\xAA.txt");
    const std::wstring wideTyped = platform::win32::wideFromNative(typed);
    RECT placed{};
    std::string openedIn;
    std::vector<std::string> types;
    BoxDriver driver("", [&](HWND box, int) {
        placed = rectOf(box);
        wchar_t path[MAX_PATH * 2] = {};
        SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(path));
        openedIn = platform::win32::nativeFromWide(path);
        const HWND typeBox = GetDlgItem(box, cmb1);
        const auto count = SendMessageW(typeBox, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(typeBox, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            types.push_back(platform::win32::cp932FromWide(text));
        }
        SendMessageW(box, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(wideTyped.c_str()));
        SendMessageW(box, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(wideTyped.c_str()));
        postKey(VK_RETURN);
        return true;
    });
    (void)driver;
    // It opens in the folder it is given, with the file types it is given.
    const std::optional<platform::NamedPath> chosen = real.openFileName(
        platform::OpenFileRequest{platform::NamedPath{},
                                  "*.txt",
                                  platform::namedPath(folder.path() + "\\"),
                                  {{"クッキーファイル (*.txt)", "*.txt"}, {"すべてのファイル (*.*)", "*.*"}}});
    EXPECT_EQ(openedIn, folder.path());
    EXPECT_EQ(types, (std::vector<std::string>{"クッキーファイル (*.txt)", "すべてのファイル (*.*)"}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->native, typed);
    EXPECT_EQ(chosen->shown, folder.path() + "\\no-such-表?.txt");
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &screen = monitor.rcMonitor;
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    EXPECT_NEAR(placed.left, screen.left + (screen.right - screen.left - width) / 2, 2);
    EXPECT_NEAR(placed.top, screen.top + (screen.bottom - screen.top - height) / 3, 2);
}

// Presses a key as the message loop hands it on: the window's own step first.
void pressKey(ui::win32::MainWindowHost &form, WPARAM key, bool shift = false)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_SHIFT];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!form.translate(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    message.message = WM_KEYUP;
    message.lParam = static_cast<LPARAM>(0xC0000000);
    if (!form.translate(message))
        DispatchMessageA(&message);
    keys[VK_SHIFT] = saved;
    SetKeyboardState(keys);
    pumpMessages();
}

// Presses Tab until control `id` has the focus; false when it never comes.
bool tabTo(ui::win32::MainWindowHost &form, ui::form::Id id)
{
    for (int i = 0; i < 16; ++i) {
        pressKey(form, VK_TAB);
        if (GetFocus() == form.controlOf(id))
            return true;
    }
    return false;
}

TEST(KeyboardWalk, DeleteReloadAndDeleteAllWithoutAMouse)
{
    CookieFolder folder;
    for (const char *name :
         {"taro@alpha.example[1]", "taro@beta.example[1]", "hanako@gamma.example[1]", "hanako@alpha.example[2]"})
        folder.write(std::string(name) + ".txt", "uid\r\nv\r\nhost/\r\n");
    ui::win32::Win32Dialogs real;
    RecordingDesktop desktop;
    ui::win32::MainWindowHost form(real, desktop);
    const HWND window = form.create();
    ASSERT_NE(window, nullptr);
    real.setOwner(window);
    form.show(SW_SHOWNORMAL);
    form.cookies().state().setCookiesPath(platform::namedPath(folder.path()));
    form.window().perform(ui::form::Command::Reload);
    pumpMessages();
    const listing::ResultTable &table = form.cookies().table();
    ASSERT_EQ(table.dataRowCount(), 4);
    const auto currentFile = [&] { return table.rowFile(form.grid().currentTableRow()).nativeName; };
    const HWND grid = form.controlOf(ui::form::Id::Table);

    // From the browse button, Tab to the table and Down to the second row.
    SetFocus(form.controlOf(ui::form::Id::BrowseButton));
    ASSERT_TRUE(tabTo(form, ui::form::Id::Table));
    pressKey(form, VK_DOWN);
    const std::string doomed = currentFile();
    const std::string next = table.rowFile(3).nativeName;

    // Tab on to DELETE; Enter asks, Enter answers Yes, the default.
    ASSERT_TRUE(tabTo(form, ui::form::Id::DeleteCommand));
    BoxDriver yes("削除確認", [](HWND, int) {
        postKey(VK_RETURN);
        return true;
    });
    pressKey(form, VK_RETURN);
    EXPECT_FALSE(yes.gaveUp());
    EXPECT_FALSE(folder.exists(doomed));
    ASSERT_EQ(table.dataRowCount(), 3);
    // The table has the focus, on the row that took the deleted one's place.
    EXPECT_EQ(GetFocus(), grid);
    EXPECT_EQ(currentFile(), next);

    // F5 lists a new file, and the same file stays current.
    folder.write("hanako@beta.example[1].txt", "uid\r\nv\r\nb/\r\n");
    pressKey(form, VK_F5);
    EXPECT_EQ(table.dataRowCount(), 4);
    EXPECT_EQ(GetFocus(), grid);
    EXPECT_EQ(currentFile(), next);

    // Under a search for "alpha", Shift+Delete asks to delete all (No is the
    // default: Tab to Yes, then Enter) and deletes only what is listed.
    ASSERT_TRUE(tabTo(form, ui::form::Id::SearchByFileNameButton));
    BoxDriver search("Input Search FileName", [](HWND, int tick) {
        if (tick == 0) {
            postChars("alpha");
            return false;
        }
        postKey(VK_RETURN);
        return true;
    });
    pressKey(form, VK_RETURN);
    EXPECT_FALSE(search.gaveUp());
    std::vector<std::string> listed;
    for (int row = 1; row <= table.dataRowCount(); ++row)
        listed.push_back(table.rowFile(row).nativeName);
    ASSERT_EQ(listed.size(), 2u);
    SetFocus(grid);
    BoxDriver all("削除確認", [](HWND, int tick) {
        postKey(tick == 0 ? VK_TAB : VK_RETURN);
        return tick > 0;
    });
    pressKey(form, VK_DELETE, true);
    EXPECT_FALSE(all.gaveUp());
    for (const std::string &name : listed)
        EXPECT_FALSE(folder.exists(name)) << name;
    EXPECT_TRUE(folder.exists("hanako@beta.example[1].txt"));
    const bool nextWasListed = std::find(listed.begin(), listed.end(), next) != listed.end();
    EXPECT_EQ(folder.exists(next), !nextWasListed);
    EXPECT_EQ(table.dataRowCount(), 0);
    EXPECT_EQ(GetFocus(), grid);
    pumpMessages();
}

TEST(OpenDialogPosition, CentredAcrossAndAThirdDown)
{
    const POINT at = ui::win32::openDialogPosition(RECT{0, 0, 1024, 768}, SIZE{424, 300});
    EXPECT_EQ(at.x, 300);
    EXPECT_EQ(at.y, 156);
}

} // namespace
