// The window as a screen reader on Windows sees it, through MSAA, asked as
// one asks: AccessibleObjectFromWindow on the grid and the command texts.

#include "win32_test_support.h"

#include "listing/cookie_table.h"

#include <commctrl.h>
#include <oleacc.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring wide(const std::string &cp932)
{
    std::wstring text(cp932.size() + 1, L'\0');
    const int length = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), text.data(),
                                           static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

VARIANT child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

const VARIANT kSelf = child(CHILDID_SELF);

// An IAccessible held for the length of a test.
class Accessible {
public:
    Accessible() = default;
    explicit Accessible(IAccessible *object) : m_object(object) {}
    Accessible(const Accessible &) = delete;
    Accessible &operator=(const Accessible &) = delete;
    Accessible(Accessible &&other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    ~Accessible()
    {
        if (m_object)
            m_object->Release();
    }

    static Accessible ofWindow(HWND hwnd)
    {
        IAccessible *object = nullptr;
        EXPECT_EQ(
            AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void **>(&object)),
            S_OK);
        return Accessible(object);
    }
    static Accessible ofDispatch(IDispatch *dispatch)
    {
        IAccessible *object = nullptr;
        if (dispatch) {
            dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void **>(&object));
            dispatch->Release();
        }
        return Accessible(object);
    }

    explicit operator bool() const { return m_object != nullptr; }
    IAccessible *operator->() const { return m_object; }

    Accessible childObject(long id) const
    {
        IDispatch *dispatch = nullptr;
        m_object->get_accChild(child(id), &dispatch);
        return ofDispatch(dispatch);
    }
    std::wstring name(const VARIANT &which = kSelf) const
    {
        BSTR text = nullptr;
        m_object->get_accName(which, &text);
        std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
        SysFreeString(text);
        return result;
    }
    long role(const VARIANT &which = kSelf) const
    {
        VARIANT v;
        VariantInit(&v);
        m_object->get_accRole(which, &v);
        return v.vt == VT_I4 ? v.lVal : -1;
    }
    long state(const VARIANT &which = kSelf) const
    {
        VARIANT v;
        VariantInit(&v);
        m_object->get_accState(which, &v);
        return v.vt == VT_I4 ? v.lVal : 0;
    }
    long childCount() const
    {
        long count = -1;
        m_object->get_accChildCount(&count);
        return count;
    }

private:
    IAccessible *m_object = nullptr;
};

// The rows whose focus events arrived, by their child ids.
std::vector<long> g_focusEvents;
HWND g_watched = nullptr;

void CALLBACK onFocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG childId, DWORD, DWORD)
{
    if (hwnd == g_watched && object == OBJID_CLIENT && childId != CHILDID_SELF)
        g_focusEvents.push_back(childId);
}

// A screen reader in a process of its own: win_event_recorder, beside this
// program, hooked to this process's focus events out of context.
class OutOfProcessListener {
public:
    using Event = std::array<long long, 3>; // window, object, child

    // Events to the listener itself are raised on `window`.
    explicit OutOfProcessListener(HWND window) : m_window(window)
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&m_output, &write, &inherit, 0))
            return;
        SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command(self, length);
        command.erase(command.find_last_of(L'\\') + 1);
        command = L"\"" + command + L"win_event_recorder.exe\" " + std::to_wstring(GetCurrentProcessId());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            m_process = process.hProcess;
            CloseHandle(process.hThread);
        }
        CloseHandle(write);
        m_ready = m_process && waitForReady();
    }
    ~OutOfProcessListener()
    {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_process, 1);
            CloseHandle(m_process);
        }
        if (m_output)
            CloseHandle(m_output);
    }
    OutOfProcessListener(const OutOfProcessListener &) = delete;
    OutOfProcessListener &operator=(const OutOfProcessListener &) = delete;

    bool ready() const { return m_ready; }

    // Tells the listener that all is raised; the focus events it heard, in
    // the order heard.
    std::vector<Event> heard()
    {
        NotifyWinEvent(kDone, m_window, OBJID_CLIENT, CHILDID_SELF);
        std::vector<Event> events;
        if (WaitForSingleObject(m_process, 60000) != WAIT_OBJECT_0)
            return events;
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(m_output, buffer, sizeof buffer, &read, nullptr) && read > 0)
            text.append(buffer, read);
        std::istringstream lines(text);
        Event event{};
        while (lines >> event[0] >> event[1] >> event[2])
            events.push_back(event);
        return events;
    }

private:
    // Event ids of the range left to applications, as the listener knows
    // them.
    static constexpr DWORD kHello = 0x0101;
    static constexpr DWORD kDone = 0x0102;

    static void CALLBACK ignore(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

    // Says hello until the listener says it hears. A new hook in another
    // process reaches this one late: Wine keeps in each thread which kinds
    // of hooks exist and renews that when the thread sets a hook itself
    // (asking for messages does not always), so each hello sets and
    // removes one first.
    bool waitForReady()
    {
        for (int attempt = 0; attempt < 500; ++attempt) {
            UnhookWinEvent(SetWinEventHook(kDone, kDone, nullptr, &ignore, 0, 0, WINEVENT_OUTOFCONTEXT));
            NotifyWinEvent(kHello, m_window, OBJID_CLIENT, CHILDID_SELF);
            pumpMessages();
            DWORD waiting = 0;
            if (!PeekNamedPipe(m_output, nullptr, 0, nullptr, &waiting, nullptr))
                return false;
            if (waiting >= 6) {
                char line[6];
                DWORD read = 0;
                return ReadFile(m_output, line, sizeof line, &read, nullptr) && read == 6 &&
                       std::string(line, 6) == "ready\n";
            }
            Sleep(20);
        }
        return false;
    }

    HWND m_window;
    HANDLE m_output = nullptr;
    HANDLE m_process = nullptr;
    bool m_ready = false;
};

class AccessibilityTest : public FormTest {
protected:
    void SetUp() override
    {
        m_com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        FormTest::SetUp();
        folder.write("taro@ads.example.com[1].txt", "uid\r\nX9Q2\r\nads.example.com/\r\n");
        folder.write("taro@mail.example.org[1].txt", "uid\r\nSESSION\r\nmail.example.org/\r\n");
        folder.write("hanako@shop.example.net[2].txt", "uid\r\n表示\r\nshop.example.net/\r\n");
        listFolder(folder.path());
    }
    void TearDown() override
    {
        FormTest::TearDown();
        if (SUCCEEDED(m_com))
            CoUninitialize();
    }

    CookieFolder folder;

private:
    HRESULT m_com = E_FAIL;
};

TEST_F(AccessibilityTest, TheGridIsANamedTableOfRowsAndCells)
{
    const HWND grid = control(ui::form::Id::Table);
    const Accessible table = Accessible::ofWindow(grid);
    ASSERT_TRUE(table);
    EXPECT_EQ(table.name(), L"クッキーファイル一覧");
    EXPECT_EQ(table.role(), ROLE_SYSTEM_TABLE);
    const listing::ResultTable &cells = form->cookies().table();
    ASSERT_EQ(table.childCount(), cells.dataRowCount() + 1);

    // Child 1 is the header row: column headers with the header texts.
    const Accessible header = table.childObject(1);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.role(), ROLE_SYSTEM_ROW);
    EXPECT_EQ(header.childCount(), form->grid().columnCount());
    EXPECT_EQ(header.role(child(2)), ROLE_SYSTEM_COLUMNHEADER);
    EXPECT_EQ(header.name(child(2)), L"FileName");

    // Every data row reads as the grid shows it, Japanese text included.
    for (int row = 1; row <= cells.dataRowCount(); ++row) {
        SCOPED_TRACE(row);
        const Accessible line = table.childObject(row + 1);
        ASSERT_TRUE(line);
        EXPECT_EQ(line.role(), ROLE_SYSTEM_ROW);
        EXPECT_EQ(line.name(child(1)), wide(std::string(cells.cell(0, row))));
        EXPECT_EQ(line.role(child(2)), ROLE_SYSTEM_CELL);
        EXPECT_EQ(line.name(child(2)), wide(std::string(cells.cell(1, row))));
        EXPECT_EQ(line.name(child(4)), wide(std::string(cells.cell(3, row))));
        EXPECT_NE(line.name().find(wide(std::string(cells.cell(1, row)))), std::wstring::npos);
    }
    EXPECT_FALSE(table.childObject(cells.dataRowCount() + 2));

    // The current row is the focus and the selection, and each move of it
    // is told.
    g_focusEvents.clear();
    g_watched = grid;
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &onFocusEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    SetFocus(grid);
    SendMessageA(grid, WM_KEYDOWN, VK_DOWN, 0);
    pumpMessages();
    UnhookWinEvent(hook);
    g_watched = nullptr;
    EXPECT_EQ(form->grid().currentRow(), 2);
    ASSERT_FALSE(g_focusEvents.empty());
    EXPECT_EQ(g_focusEvents.back(), 3); // row 2, after the header row

    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(table->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    const Accessible focused = Accessible::ofDispatch(focus.pdispVal);
    EXPECT_EQ(focused.name(child(2)), wide(std::string(cells.cell(1, 2))));
    EXPECT_TRUE(focused.state() & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(focused.state() & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(table.childObject(2).state() & STATE_SYSTEM_SELECTED);

    VARIANT selection;
    VariantInit(&selection);
    ASSERT_EQ(table->get_accSelection(&selection), S_OK);
    ASSERT_EQ(selection.vt, VT_DISPATCH);
    EXPECT_EQ(Accessible::ofDispatch(selection.pdispVal).name(child(2)), wide(std::string(cells.cell(1, 2))));
}

TEST_F(AccessibilityTest, TheViewTabsAreTabsAndTheCookieTableIsANamedTableOfRowsAndCells)
{
    folder.write("jiro@two.example[1].txt", "名前\n値\nx.example/p/\n9728\n0\n32000000\n0\n30000000\n*\n");
    listFolder(folder.path());
    int row = 1;
    while (row <= form->cookies().table().dataRowCount() &&
           form->cookies().table().rowFile(row).nativeName != "jiro@two.example[1].txt")
        ++row;
    form->makeRowCurrent(row);
    form->window().rowMadeCurrent();
    // The tabs as tabs, the cookies' one chosen by its default action.
    const Accessible strip = Accessible::ofWindow(control(ui::form::Id::ContentTabs));
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip.role(), ROLE_SYSTEM_PAGETABLIST);
    ASSERT_EQ(strip.childCount(), 2);
    EXPECT_EQ(strip.role(child(1)), ROLE_SYSTEM_PAGETAB);
    EXPECT_EQ(strip.name(child(1)), L"テキスト");
    EXPECT_EQ(strip.name(child(2)), L"クッキー");
    EXPECT_TRUE(strip.state(child(1)) & STATE_SYSTEM_SELECTED);
    EXPECT_EQ(strip.name(), L"テキスト"); // the strip reads as its chosen tab
    EXPECT_EQ(strip->accDoDefaultAction(child(2)), S_OK);
    EXPECT_EQ(form->window().contentView(), ui::form::ContentView::Cookies);
    EXPECT_TRUE(strip.state(child(2)) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(strip.state(child(1)) & STATE_SYSTEM_SELECTED);
    EXPECT_EQ(strip.name(), L"クッキー");
    VARIANT chosen;
    ASSERT_EQ(strip->get_accSelection(&chosen), S_OK);
    EXPECT_EQ(chosen.vt, VT_I4);
    EXPECT_EQ(chosen.lVal, 2);
    // With the focus on the strip, on its chosen tab.
    VARIANT focused;
    SetFocus(control(ui::form::Id::Table));
    EXPECT_EQ(strip->get_accFocus(&focused), S_FALSE);
    SetFocus(control(ui::form::Id::ContentTabs));
    ASSERT_EQ(strip->get_accFocus(&focused), S_OK);
    EXPECT_EQ(focused.vt, VT_I4);
    EXPECT_EQ(focused.lVal, 2);
    EXPECT_TRUE(strip.state(child(2)) & STATE_SYSTEM_FOCUSED);
    // Chosen by the window (Ctrl+Tab), it reads the same way.
    form->setContentView(ui::form::ContentView::Text);
    EXPECT_EQ(strip.name(), L"テキスト");
    form->setContentView(ui::form::ContentView::Cookies);

    const Accessible table = Accessible::ofWindow(control(ui::form::Id::CookieView));
    ASSERT_TRUE(table);
    EXPECT_EQ(table.name(), L"クッキーの内容");
    EXPECT_EQ(table.role(), ROLE_SYSTEM_TABLE);
    const listing::CookieTable &cookies = form->window().cookieTable();
    ASSERT_GE(cookies.rowCount(), 1);
    ASSERT_EQ(table.childCount(), cookies.rowCount() + 1); // the titles, then a row per cookie
    const Accessible header = table.childObject(1);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.name(child(2)), L"名前");
    const Accessible cookie = table.childObject(2);
    ASSERT_TRUE(cookie);
    EXPECT_EQ(cookie.role(), ROLE_SYSTEM_ROW);
    EXPECT_EQ(cookie.role(child(2)), ROLE_SYSTEM_CELL);
    EXPECT_EQ(cookie.name(child(2)), L"名前");
    EXPECT_EQ(cookie.name(child(3)), L"値");
    EXPECT_EQ(cookie.name(child(4)), wide(cookies.cell(listing::CookieTable::DomainColumn, 0)));
}

TEST_F(AccessibilityTest, TheCookieTablesCurrentRowIsToldAndItsSelectionReadWithItsGaps)
{
    std::string text;
    for (int cookie = 0; cookie < 6; ++cookie)
        text += "c" + std::to_string(cookie) + "\nv\nx.example/\n0\n0\n0\n0\n0\n*\n";
    folder.write("jiro@two.example[1].txt", text);
    listFolder(folder.path());
    int row = 1;
    while (row <= form->cookies().table().dataRowCount() &&
           form->cookies().table().rowFile(row).nativeName != "jiro@two.example[1].txt")
        ++row;
    form->makeRowCurrent(row);
    form->window().rowMadeCurrent();
    form->window().contentViewChosen(ui::form::ContentView::Cookies);
    const HWND view = control(ui::form::Id::CookieView);
    ASSERT_EQ(form->window().cookieTable().rowCount(), 6);
    SetFocus(view); // Tab in: the first cookie selected and current
    pumpMessages();

    g_focusEvents.clear();
    g_watched = view;
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &onFocusEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    pumpMessages();
    UnhookWinEvent(hook);
    g_watched = nullptr;
    ASSERT_FALSE(g_focusEvents.empty());
    EXPECT_EQ(g_focusEvents.back(), 4); // cookie 2: after the titles' row and cookies 0 and 1

    const Accessible table = Accessible::ofWindow(view);
    ASSERT_TRUE(table);
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(table->get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    const Accessible focused = Accessible::ofDispatch(focus.pdispVal);
    EXPECT_EQ(focused.name(child(2)), L"c2");
    EXPECT_TRUE(focused.state() & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(focused.state() & STATE_SYSTEM_SELECTED);

    // A gap made with Ctrl+click on cookie 1: that row reads as not selected.
    RECT r{};
    r.top = 1;
    r.left = LVIR_BOUNDS;
    SendMessageW(view, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
    SendMessageW(view, WM_LBUTTONUP, MK_CONTROL, at);
    pumpMessages();
    EXPECT_TRUE(table.childObject(2).state() & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(table.childObject(3).state() & STATE_SYSTEM_SELECTED);
    EXPECT_TRUE(table.childObject(3).state() & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(table.childObject(4).state() & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(table.childObject(5).state() & STATE_SYSTEM_SELECTED);
}

TEST_F(AccessibilityTest, TabIntoTheTableEndsOnTheRow)
{
    // What a screen reader says last on Tab into the table is what the last
    // focus event names: the current row, not the table around it.
    const HWND grid = control(ui::form::Id::Table);
    const HWND before = GetNextDlgTabItem(window, grid, TRUE);
    ASSERT_NE(before, grid);
    SetFocus(before);
    pumpMessages();
    OutOfProcessListener listener(window);
    ASSERT_TRUE(listener.ready()) << "win_event_recorder did not start";

    MSG tab{before, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    if (!form->translate(tab)) {
        TranslateMessage(&tab);
        DispatchMessageW(&tab);
    }
    pumpMessages();
    ASSERT_EQ(GetFocus(), grid);

    // The system's event for the table itself (child 0) may come before
    // or after the window hears of the focus; the row's must come last.
    std::vector<long long> onGrid;
    for (const auto &event : listener.heard())
        if (event[0] == static_cast<long long>(reinterpret_cast<UINT_PTR>(grid)) && event[1] == OBJID_CLIENT)
            onGrid.push_back(event[2]);
    ASSERT_FALSE(onGrid.empty()) << "no focus event on the table reached the listener";
    EXPECT_EQ(onGrid.back(), form->grid().currentRow() + 1) << "the last focus event names the table, not its row";
}

TEST_F(AccessibilityTest, ChoosingAViewWithTheFocusOnTheTabsTellsOfTheChosenTab)
{
    // Ctrl+Tab with the focus on the tab strip: a screen reader hears the
    // focus move to the tab now chosen.
    const HWND tabs = control(ui::form::Id::ContentTabs);
    SetFocus(tabs);
    pumpMessages();
    ASSERT_EQ(GetFocus(), tabs);
    OutOfProcessListener listener(window);
    ASSERT_TRUE(listener.ready()) << "win_event_recorder did not start";

    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG press{tabs, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    const bool handled = form->translate(press);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    pumpMessages();
    ASSERT_TRUE(handled);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);

    std::vector<long long> onTabs;
    for (const auto &event : listener.heard())
        if (event[0] == static_cast<long long>(reinterpret_cast<UINT_PTR>(tabs)) && event[1] == OBJID_CLIENT)
            onTabs.push_back(event[2]);
    ASSERT_FALSE(onTabs.empty()) << "no focus event on the tab strip reached the listener";
    EXPECT_EQ(onTabs.back(), 2) << "the last focus event does not name the chosen tab";
}

TEST_F(AccessibilityTest, CommandTextsAreButtonsWithADefaultAction)
{
    using ui::form::Id;
    const std::pair<Id, const wchar_t *> commands[] = {
        {Id::DeleteCommand, L"DELETE"}, {Id::DeleteAllCommand, L"ALL DELETE"}, {Id::ReloadCommand, L"ReLoad"}};
    for (const auto &[id, spoken] : commands) {
        SCOPED_TRACE(ui::form::control(id).name);
        const Accessible command = Accessible::ofWindow(control(id));
        ASSERT_TRUE(command);
        EXPECT_EQ(command.name(), spoken);
        EXPECT_EQ(command.role(), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_TRUE(command.state() & STATE_SYSTEM_FOCUSABLE);
        BSTR action = nullptr;
        EXPECT_EQ(command->get_accDefaultAction(kSelf, &action), S_OK);
        EXPECT_GT(SysStringLen(action), 0u);
        SysFreeString(action);
    }
    const Accessible remove = Accessible::ofWindow(control(ui::form::Id::DeleteCommand));
    BSTR key = nullptr;
    remove->get_accKeyboardShortcut(kSelf, &key);
    EXPECT_EQ(std::wstring(key ? key : L""), L"Delete");
    SysFreeString(key);

    // The default action asks, once the call has returned.
    dialogs.messageAnswers = {platform::msgbox::kIdNo};
    EXPECT_EQ(remove->accDoDefaultAction(kSelf), S_OK);
    EXPECT_TRUE(dialogs.messages.empty());
    pumpMessages();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "削除確認");

    // Disabled, as over a folder with no file, it says so and does nothing.
    listFolder(folder.path() + "\\empty");
    EXPECT_TRUE(remove.state() & STATE_SYSTEM_UNAVAILABLE);
    remove->accDoDefaultAction(kSelf);
    pumpMessages();
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

} // namespace
