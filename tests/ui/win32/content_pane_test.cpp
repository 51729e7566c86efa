// The content pane of the Windows window: a file's text shown whole, by any
// size, read where the pane holds it; selected and copied by keys and mouse;
// read by a screen reader.

#include "win32_test_support.h"

#include "listing/content_pane.h"
#include "platform/cp932.h"
#include "platform/wide_text_win32.h"
#include "ui/main_form.h"

#include <oleacc.h>

#include <string>

namespace {

using ui::form::Id;

class ContentPaneTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        folder.write("taro@mail.example.org[1].txt", "uid\r\nSESSION 1\r\nmail.example.org/\r\n0\r\n*\r\n");
    }

    HWND pane() const { return control(Id::ContentPane); }

    // Lists the folder and shows file `name`'s text, the pane focused.
    void showFile(const std::string &name)
    {
        listFolder(folder.path());
        for (int row = 1; row <= form->cookies().table().dataRowCount(); ++row)
            if (form->cookies().table().rowFile(row).nativeName == name) {
                click(control(Id::Table), centre(form->grid().cellRect(1, row)));
                pumpMessages();
            }
        SetFocus(pane());
        pumpMessages();
    }

    // A key on the pane through the window's message step, with Ctrl and
    // Shift held as asked.
    void key(WPARAM which, bool control = false, bool shift = false)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{pane(), WM_KEYDOWN, which, 0, 0, {}};
        if (!form->translate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        pumpMessages();
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }

    // What the clipboard holds as text, in CP932.
    std::string clipboard() const
    {
        if (!OpenClipboard(window))
            return "(no clipboard)";
        const HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const auto *copied = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr;
        const std::string text = copied ? platform::win32::cp932FromWide(copied) : std::string("(empty)");
        if (copied)
            GlobalUnlock(data);
        CloseClipboard();
        return text;
    }

    // Where the caret's row of the pane is on its client area.
    POINT rowPoint(int rowFromTop, int x) const
    {
        TEXTMETRICW metrics{};
        const HDC dc = GetDC(pane());
        const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(pane(), WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(pane(), dc);
        const int height = static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
        return POINT{x, 1 + rowFromTop * height + height / 2};
    }

    CookieFolder folder;
};

TEST_F(ContentPaneTest, ABigTextOfEveryLineEndIsShownWholeAndTheNextFileInTheSameView)
{
    std::string big(70000, 'a'); // a line cut into pieces
    big += "\r\n\x82\xa0\n";       // a double-byte character
    for (int i = 0; big.size() < 400000; ++i)
        big += "line " + std::to_string(i) + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
    std::string widened = big;
    listing::widenLineEnds(widened);
    folder.write("big@big.example[1].txt", big);
    const HWND before = pane();
    showFile("big@big.example[1].txt");
    const std::string shown = form->contentPaneShownText();
    EXPECT_EQ(shown.size(), widened.size());
    EXPECT_TRUE(shown == widened) << "the big text differs from the file's";
    // Read where the pane holds it: no copy of the text in the view.
    EXPECT_EQ(form->contentPane().text().data(), form->cookies().contentPane().rawText().data());

    // Ctrl+End: the view scrolled so that the last line is in its last row.
    key(VK_END, true);
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(pane(), SB_VERT, &bar);
    EXPECT_EQ(static_cast<std::size_t>(bar.nPos), form->contentPane().layout().lastTop().line);
    EXPECT_GT(bar.nPos, 1000);
    EXPECT_EQ(form->contentPane().layout().caret(), big.size());
    UpdateWindow(pane());

    showFile("taro@mail.example.org[1].txt");
    EXPECT_EQ(pane(), before);
    EXPECT_EQ(form->contentPaneShownText().find("SESSION 1"), 5u) << form->contentPaneShownText();
    EXPECT_EQ(form->contentPane().layout().caret(), 0u);
}

TEST_F(ContentPaneTest, KeysSelectAndCopyAsInAnEditBoxAndEnterPressesNoButton)
{
    showFile("taro@mail.example.org[1].txt");
    ASSERT_EQ(GetFocus(), pane());
    key(VK_END, false, true);
    key('C', true);
    EXPECT_EQ(clipboard(), "uid");
    key(VK_HOME);
    key(VK_DOWN, false, true);
    key(VK_RIGHT, true, true); // on by a word
    key(VK_INSERT, true);
    EXPECT_EQ(clipboard(), "uid\r\nSESSION ");
    key(VK_LEFT, true, true); // back a word
    key('C', true);
    EXPECT_EQ(clipboard(), "uid\r\n");
    key('A', true);
    key('C', true);
    EXPECT_EQ(clipboard(), "uid\r\nSESSION 1\r\nmail.example.org/\r\n0\r\n*\r\n");
    key(VK_END, true);
    key(VK_UP, false, true);
    key(VK_UP, false, true);
    key('C', true);
    EXPECT_EQ(clipboard(), "0\r\n*\r\n");
    // Nothing selected, Ctrl+C leaves the clipboard as it was.
    key(VK_HOME, true);
    key('C', true);
    EXPECT_EQ(clipboard(), "0\r\n*\r\n");

    // Enter stays in the pane; Tab leaves it.
    key(VK_RETURN);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(GetFocus(), pane());
    key(VK_TAB);
    EXPECT_NE(GetFocus(), pane());
}

TEST_F(ContentPaneTest, APressPlacesTheCaretShiftPressSelectsAndADoubleClickTakesAWord)
{
    showFile("taro@mail.example.org[1].txt");
    click(pane(), rowPoint(1, 3));
    pumpMessages();
    EXPECT_EQ(form->contentPane().layout().caret(), 5u); // the start of "SESSION 1"
    click(pane(), rowPoint(2, 1000), MK_SHIFT);
    pumpMessages();
    EXPECT_EQ(form->contentPane().selectedText(), "SESSION 1\r\nmail.example.org/");
    SendMessageW(pane(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(rowPoint(1, 5).x, rowPoint(1, 5).y));
    EXPECT_EQ(form->contentPane().selectedText(), "SESSION");
}

TEST_F(ContentPaneTest, AScreenReaderReadsAReadOnlyTextNamedForWhatItShows)
{
    showFile("taro@mail.example.org[1].txt");
    IAccessible *object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(pane(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void **>(&object)),
              S_OK);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(self, &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
    VARIANT state;
    VariantInit(&state);
    object->get_accState(self, &state);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_READONLY);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSED);
    const auto read = [&](auto member) {
        BSTR text = nullptr;
        (object->*member)(self, &text);
        const std::wstring wide = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
        SysFreeString(text);
        return platform::win32::cp932FromWide(wide);
    };
    EXPECT_EQ(read(&IAccessible::get_accName),
              platform::cp932::fromUtf8(ui::form::control(Id::ContentPane).accessibleName));
    EXPECT_EQ(read(&IAccessible::get_accValue), "uid\r\nSESSION 1\r\nmail.example.org/\r\n0\r\n*\r\n");

    // A big text: the rows in view, from its first line.
    std::string big;
    for (int i = 0; big.size() < 200000; ++i)
        big += "line " + std::to_string(i) + "\n";
    folder.write("big@big.example[1].txt", big);
    showFile("big@big.example[1].txt");
    const std::string value = read(&IAccessible::get_accValue);
    EXPECT_EQ(value.rfind("line 0\r\nline 1\r\n", 0), 0u) << value;
    EXPECT_LT(value.size(), 10000u);
    object->Release();
}

TEST_F(ContentPaneTest, ATextReadWhileThePaneIsHiddenIsNeverReadFromWhereTheOldOneLay)
{
    folder.write("jiro@two.example[1].txt", "a\r\n1\r\nx.example/\r\n0\r\n0\r\n0\r\n0\r\n0\r\n*\r\n");
    showFile("taro@mail.example.org[1].txt");
    form->window().contentViewChosen(ui::form::ContentView::Cookies);
    pumpMessages();
    EXPECT_FALSE(IsWindowVisible(pane()));
    for (int row = 1; row <= form->cookies().table().dataRowCount(); ++row)
        if (form->cookies().table().rowFile(row).nativeName == "jiro@two.example[1].txt") {
            click(control(Id::Table), centre(form->grid().cellRect(1, row)));
            pumpMessages();
        }
    // The pane's text changed under the hidden view: it lets the old go.
    SendMessageW(pane(), WM_PAINT, 0, 0);
    EXPECT_TRUE(form->contentPane().layout().lines().text().empty());
    form->window().contentViewChosen(ui::form::ContentView::Text);
    pumpMessages();
    EXPECT_EQ(form->contentPaneShownText(), "a\r\n1\r\nx.example/\r\n0\r\n0\r\n0\r\n0\r\n0\r\n*\r\n");
}

} // namespace
