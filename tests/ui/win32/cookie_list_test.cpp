#include "ui/win32/cookie_list.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <vector>

namespace {

// A virtual report list of `rows` rows in a window of its own, as the cookie
// view is made; both go with this.
class VirtualList {
public:
    explicit VirtualList(int rows)
    {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        m_owner = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 400,
                                 300, m_owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    }
    ~VirtualList() { DestroyWindow(m_owner); }
    VirtualList(const VirtualList &) = delete;
    VirtualList &operator=(const VirtualList &) = delete;

    HWND hwnd() const { return m_list; }

    // Selects exactly `rows` (-1: all of them).
    void select(std::initializer_list<int> rows) const
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED;
        for (const int row : rows)
            SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

private:
    HWND m_owner = nullptr;
    HWND m_list = nullptr;
};

} // namespace

TEST(CookieListSelection, ASelectionWithoutGapsIsOneRangeAndOneWithGapsIsWalked)
{
    using ui::win32::selectedRange;
    using ui::win32::selectedRowsOf;
    const VirtualList list(10);
    ASSERT_TRUE(list.hwnd());

    list.select({});
    EXPECT_EQ(selectedRange(list.hwnd()).first, -1);
    EXPECT_TRUE(selectedRowsOf(list.hwnd()).empty());

    // One row, at either end and inside.
    for (const int row : {0, 4, 9}) {
        list.select({row});
        const auto range = selectedRange(list.hwnd());
        EXPECT_EQ(range.first, row);
        EXPECT_EQ(range.last, row);
        EXPECT_TRUE(range.whole);
        EXPECT_EQ(selectedRowsOf(list.hwnd()), std::vector<int>{row});
    }

    // A span, to the last row or not: counted out, not walked.
    list.select({3, 4, 5, 6, 7, 8, 9});
    EXPECT_TRUE(selectedRange(list.hwnd()).whole);
    EXPECT_EQ(selectedRowsOf(list.hwnd()), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
    list.select({0, 1, 2});
    EXPECT_EQ(selectedRowsOf(list.hwnd()), (std::vector<int>{0, 1, 2}));

    // Gaps of every kind: as many rows as the span is long less one, the
    // gap at the start of the span, and a lone row far after a span. None
    // may be taken for a span, nor lose a row.
    list.select({1, 3, 4});
    auto range = selectedRange(list.hwnd());
    EXPECT_FALSE(range.whole);
    EXPECT_EQ(range.first, 1);
    EXPECT_EQ(range.last, 4);
    EXPECT_EQ(selectedRowsOf(list.hwnd()), (std::vector<int>{1, 3, 4}));
    list.select({2, 3, 9});
    range = selectedRange(list.hwnd());
    EXPECT_FALSE(range.whole);
    EXPECT_EQ(range.last, 9);
    EXPECT_EQ(selectedRowsOf(list.hwnd()), (std::vector<int>{2, 3, 9}));
    list.select({0, 2});
    EXPECT_EQ(selectedRowsOf(list.hwnd()), (std::vector<int>{0, 2}));

    // All of them, as Ctrl+A selects them.
    LVITEMW all{};
    all.stateMask = all.state = LVIS_SELECTED;
    SendMessageW(list.hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
    range = selectedRange(list.hwnd());
    EXPECT_TRUE(range.whole);
    EXPECT_EQ(range.first, 0);
    EXPECT_EQ(range.last, 9);
    EXPECT_EQ(selectedRowsOf(list.hwnd()).size(), 10u);
}
