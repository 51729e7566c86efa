// The cookie list on a real list view: the selection it keeps as ranges,
// made by keys and clicks as a user makes it, drawn, told to screen readers
// and answered to whoever asks the list, without the list view ever
// selecting a row itself.

#include "ui/win32/cookie_list.h"

#include "listing/content_pane.h"
#include "listing/cookie_table.h"
#include "ui/win32/grid_accessible.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 300;

// A window that hands its list's notifications to the cookie list, as the
// main window does, and counts them by code.
struct Owner {
    ui::win32::CookieList *list = nullptr;
    std::map<UINT, int> notified;
};

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *owner = reinterpret_cast<Owner *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && owner && owner->list) {
        auto &header = *reinterpret_cast<NMHDR *>(lParam);
        ++owner->notified[header.code];
        return owner->list->notify(header);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class CookieListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW owner{};
        owner.lpfnWndProc = ownerProcedure;
        owner.hInstance = GetModuleHandleW(nullptr);
        owner.lpszClassName = L"VelluminCookieListTest";
        RegisterClassW(&owner); // fails harmlessly when a test before made it
        m_window = CreateWindowExW(0, owner.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 300,
                                   nullptr, nullptr, owner.hInstance, nullptr);
        ASSERT_TRUE(m_window);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_owner));
        m_view = ui::win32::CookieList::createWindow(m_window, 1, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                                     60);
        ASSERT_TRUE(m_view);
        MoveWindow(m_view, 0, 0, 480, 260, TRUE);

        // Every third cookie expired (no time), the rest far ahead.
        std::string text;
        for (int row = 0; row < kRows; ++row)
            text += "name" + std::to_string(row) + "\nvalue" + std::to_string(row) + "\nx.example/\n9728\n0\n" +
                    (row % 3 == 0 ? "0" : "4000000000") + "\n0\n30000000\n*\n";
        m_pane.setText(text);
        m_table.load(m_pane, 0, 9);
        ASSERT_EQ(m_table.rowCount(), kRows);
        m_list = std::make_unique<ui::win32::CookieList>(m_view, m_table, "cookies");
        m_owner.list = m_list.get();
        m_list->reload(12);
        SetFocus(m_view);
        pump();
        m_owner.notified.clear();
    }

    void TearDown() override
    {
        m_owner.list = nullptr;
        if (m_window)
            DestroyWindow(m_window);
        m_list.reset();
        pump();
    }

    // A key as the list gets it, with Shift and Ctrl held or not.
    void key(WPARAM virtualKey, bool shift = false, bool control = false)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(m_view, WM_KEYDOWN, virtualKey, 1);
        SendMessageW(m_view, WM_KEYUP, virtualKey, 1 | 3u << 30);
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        pump();
    }

    // A left click in the middle of `row`'s second column, or below the
    // rows for -1.
    void click(int row, WPARAM modifiers = 0)
    {
        RECT r{};
        if (row >= 0) {
            r.top = 1;
            r.left = LVIR_BOUNDS;
            SendMessageW(m_view, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        } else {
            GetClientRect(m_view, &r);
            r.top = r.bottom - 4;
            r.left = r.right / 2;
        }
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(m_view, WM_LBUTTONDOWN, MK_LBUTTON | modifiers, at);
        SendMessageW(m_view, WM_LBUTTONUP, modifiers, at);
        pump();
    }

    std::vector<int> selected() const { return m_list->selectedRowNumbers(); }

    int nextItem(int from, UINT flags) const
    {
        return static_cast<int>(SendMessageW(m_view, LVM_GETNEXTITEM, static_cast<WPARAM>(from), MAKELPARAM(flags, 0)));
    }

    // The pixel in the number column's empty left part of `row`, drawn
    // afresh into a bitmap of the list.
    COLORREF backgroundOf(int row) const
    {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(m_view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        RECT client{};
        GetClientRect(m_view, &client);
        const HDC screen = GetDC(m_view);
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        const HGDIOBJ was = SelectObject(dc, bitmap);
        SendMessageW(m_view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF colour = GetPixel(dc, r.left + 4, (r.top + r.bottom) / 2);
        SelectObject(dc, was);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(m_view, screen);
        return colour;
    }

    HWND m_window = nullptr;
    HWND m_view = nullptr;
    Owner m_owner;
    listing::ContentPane m_pane;
    listing::CookieTable m_table;
    std::unique_ptr<ui::win32::CookieList> m_list;
};

TEST_F(CookieListTest, ShiftEndThenShiftUpSelectsARunThatTheListReportsWithoutSelectingItself)
{
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(m_list->currentRowNumber(), -1);
    key(VK_HOME);
    EXPECT_EQ(selected(), std::vector<int>{0});
    key(VK_END, true);
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(m_list->currentRowNumber(), kRows - 1);
    key(VK_UP, true);
    std::vector<int> run = selected();
    ASSERT_EQ(run.size(), static_cast<std::size_t>(kRows - 1));
    EXPECT_EQ(run.front(), 0);
    EXPECT_EQ(run.back(), kRows - 2);

    // Whoever asks the list hears the same.
    EXPECT_EQ(SendMessageW(m_view, LVM_GETSELECTEDCOUNT, 0, 0), kRows - 1);
    EXPECT_EQ(nextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(nextItem(kRows - 3, LVNI_SELECTED), kRows - 2);
    EXPECT_EQ(nextItem(kRows - 2, LVNI_SELECTED), -1);
    EXPECT_EQ(nextItem(-1, LVNI_FOCUSED), kRows - 2);
    EXPECT_EQ(SendMessageW(m_view, LVM_GETITEMSTATE, kRows - 1, LVIS_SELECTED | LVIS_FOCUSED), 0);
    EXPECT_EQ(SendMessageW(m_view, LVM_GETITEMSTATE, kRows - 2, LVIS_SELECTED | LVIS_FOCUSED),
              LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageW(m_view, LVM_GETITEMSTATE, 5, LVIS_FOCUSED), 0);
    // And the screen reader's grid, rows counted from the titles' row 0.
    EXPECT_EQ(m_list->selectedRows(), std::make_pair(1, kRows - 1));
    EXPECT_EQ(m_list->currentRow(), kRows - 1);

    // The list view itself selected nothing: it would tell of each change.
    EXPECT_EQ(m_owner.notified[LVN_ITEMCHANGED], 0);
    EXPECT_EQ(m_owner.notified[LVN_ODSTATECHANGED], 0);
    EXPECT_EQ(m_owner.notified[LVN_ITEMCHANGING], 0);

    // The frame's row is in view.
    const int top = static_cast<int>(SendMessageW(m_view, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(m_view, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_LE(top, kRows - 2);
    EXPECT_GE(top + page, kRows - 1);

    // Home: the first row alone; Shift+Page Down a page from it.
    key(VK_HOME);
    EXPECT_EQ(selected(), std::vector<int>{0});
    key(VK_NEXT, true);
    run = selected();
    ASSERT_GE(run.size(), 2u);
    EXPECT_EQ(run.front(), 0);
    EXPECT_EQ(run.back(), m_list->currentRowNumber());
    EXPECT_EQ(static_cast<int>(run.size()), m_list->currentRowNumber() + 1);
}

TEST_F(CookieListTest, CtrlClickMakesAGapEveryReaderOfTheSelectionSees)
{
    click(2);
    EXPECT_EQ(selected(), std::vector<int>{2});
    EXPECT_EQ(GetFocus(), m_view);
    click(6, MK_SHIFT);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 4, 5, 6}));
    click(4, MK_CONTROL);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_EQ(m_list->currentRowNumber(), 4);

    EXPECT_EQ(SendMessageW(m_view, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    EXPECT_EQ(nextItem(3, LVNI_SELECTED), 5);
    EXPECT_EQ(nextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), -1); // the frame is on the gap
    // The screen reader's grid: the span, and the gap row by row.
    EXPECT_EQ(m_list->selectedRows(), std::make_pair(3, 7));
    EXPECT_TRUE(m_list->isRowSelected(4));
    EXPECT_FALSE(m_list->isRowSelected(5));

    auto *accessible = new ui::win32::GridAccessible(*m_list);
    VARIANT selection;
    VariantInit(&selection);
    ASSERT_EQ(accessible->get_accSelection(&selection), S_OK);
    ASSERT_EQ(selection.vt, VT_UNKNOWN);
    IEnumVARIANT *ids = nullptr;
    ASSERT_EQ(selection.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void **>(&ids)), S_OK);
    std::vector<long> children;
    VARIANT id;
    VariantInit(&id);
    ULONG fetched = 0;
    while (ids->Next(1, &id, &fetched) == S_OK && fetched == 1)
        children.push_back(id.lVal);
    ids->Release();
    VariantClear(&selection);
    accessible->forget();
    accessible->Release();
    EXPECT_EQ(children, (std::vector<long>{4, 5, 7, 8})); // list rows 2, 3, 5, 6

    // A plain click below the rows lets every row go; the copy of what is
    // selected is the table's rows in order, the gap left out.
    EXPECT_EQ(m_table.copyText(selected()), "name2=value2\r\nname3=value3\r\nname5=value5\r\nname6=value6");
    MoveWindow(m_view, 0, 0, 480, 8000, FALSE); // room below the last row
    click(-1);
    EXPECT_TRUE(selected().empty());
}

TEST_F(CookieListTest, OrdersSentToTheListGoToTheSelectionAndTypingSelectsNothing)
{
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageW(m_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(kRows));
    item.state = 0;
    SendMessageW(m_view, LVM_SETITEMSTATE, 10, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(kRows - 1));
    EXPECT_FALSE(m_list->isRowSelected(11));
    item.stateMask = item.state = LVIS_FOCUSED;
    SendMessageW(m_view, LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(m_list->currentRowNumber(), 7);
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageW(m_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(m_list->currentRowNumber(), 7);

    // A letter typed on the list looks for no row and selects none; Left
    // and Right scroll the columns and leave the rows alone.
    SendMessageW(m_view, WM_CHAR, 'n', 1);
    pump();
    key(VK_RIGHT);
    key(VK_LEFT, true);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(m_list->currentRowNumber(), 7);
    EXPECT_EQ(SendMessageW(m_view, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(m_owner.notified[LVN_ITEMCHANGED], 0);

    // A new table: nothing selected, no frame.
    key(VK_END, true);
    EXPECT_FALSE(selected().empty());
    m_list->reload(12);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(m_list->currentRowNumber(), -1);
    EXPECT_EQ(SendMessageW(m_view, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(CookieListTest, SelectedRowsAreDrawnSelectedThoughTheListHoldsNone)
{
    click(1);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    ASSERT_EQ(GetFocus(), m_view);
    EXPECT_EQ(backgroundOf(1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(backgroundOf(0), window);
    EXPECT_EQ(backgroundOf(2), window);
    key(VK_DOWN, true);
    EXPECT_EQ(backgroundOf(2), GetSysColor(COLOR_HIGHLIGHT));
    // Without the focus the selection stays, in the quieter colour.
    SetFocus(m_window);
    pump();
    EXPECT_EQ(backgroundOf(1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(backgroundOf(3), window);
}

} // namespace
