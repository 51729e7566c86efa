#include "tform1.h"

#include "control_name.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/win32/wide_text.h"
#include "resources/resource_ids.h"
#include "ui/keyboard_access.h"
#include "win32_keys.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"TForm1";
constexpr COLORREF kGreen = RGB(0x00, 0x80, 0x00);
constexpr COLORREF kYellow = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kTransparentKey = RGB(0xFF, 0x00, 0xFF);

// How long a hint waits and stays.
constexpr int kHintDelayMs = 500;
constexpr int kHintDurationMs = 2500;
// The gap between the door and the caption of the close button.
constexpr int kPictureGap = 4;
constexpr int kDoorSize = 18;

// Control identifiers; none is IDOK or IDCANCEL, so that Enter and Esc never
// reach a command through the dialog keys.
enum ControlId : int {
    idInPathSet = 1001,
    idDelete,
    idAllDelete,
    idReLoad,
    idSchFname,
    idSchMemo,
    idSchExit,
    idHelp,
    idVersion,
    idExit,
    idGrid,
    idContent,
    idStatus,
    idFolder,
    idCookieFolderLabel,
    idSearchMode,
};

using platform::win32::wideFromCp932;

std::wstring windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Every text of the window is CP932, and reaches the screen converted with
// code page 932 whatever the system's own.
void setText(HWND hwnd, const std::string &text)
{
    SetWindowTextW(hwnd, wideFromCp932(text).c_str());
}

HWND createControl(DWORD exStyle, const wchar_t *className, const char *text, DWORD style, int x, int y, int width,
                   int height, HWND parent, int id)
{
    return CreateWindowExW(exStyle, className, wideFromCp932(text).c_str(), style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

bool isPushButton(HWND hwnd)
{
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, static_cast<int>(std::size(className)));
    if (lstrcmpiW(className, L"Button") != 0)
        return false;
    const LONG_PTR type = GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

// The pane's text on its way into the rich edit: CP932 converted to UTF-16
// with code page 932 a piece at a time, never cutting a character in two.
// Streamed as plain text, so that a file that begins like RTF is still shown
// as the characters it holds; as UTF-16, since some rich edits (Wine's) take
// plain text in the system's code page whatever code page they are asked to.
struct PaneStream {
    static constexpr std::size_t kPieceBytes = 1 << 16;
    std::string_view rest;
    std::wstring piece;
    std::size_t given = 0; // bytes of `piece` already handed over
};

DWORD CALLBACK streamText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given)
{
    auto &stream = *reinterpret_cast<PaneStream *>(cookie);
    const std::size_t pieceBytes = stream.piece.size() * sizeof(wchar_t);
    if (stream.given == pieceBytes && !stream.rest.empty()) {
        const std::string_view next = platform::cp932::truncated(stream.rest, PaneStream::kPieceBytes);
        stream.piece = wideFromCp932(next.empty() ? stream.rest.substr(0, 1) : next);
        stream.rest.remove_prefix(next.empty() ? 1 : next.size());
        stream.given = 0;
    }
    const std::size_t left = stream.piece.size() * sizeof(wchar_t) - stream.given;
    const auto count = std::min(left, static_cast<std::size_t>(wanted));
    std::copy_n(reinterpret_cast<const BYTE *>(stream.piece.data()) + stream.given, count, buffer);
    stream.given += count;
    *given = static_cast<LONG>(count);
    return 0;
}

} // namespace

TForm1::TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop)
    : m_dialogs(dialogs), m_desktop(desktop), m_scale(screenDpi()), m_commands(m_cookies, dialogs, desktop, *this),
      m_pnlToolBtn(Panel::Look::Raised, GetSysColor(COLOR_BTNFACE)), m_pnlMenu(Panel::Look::Raised, kGreen),
      m_GroupBox1(Panel::Look::Group, kGreen, kYellow), m_Panel3(Panel::Look::Raised, GetSysColor(COLOR_BTNFACE)),
      m_pnlSelPcLoginName(Panel::Look::Raised, GetSysColor(COLOR_BTNFACE)),
      m_Panel4(Panel::Look::Raised, GetSysColor(COLOR_BTNFACE)), m_stDelete(kYellow, m_pnlMenu.backgroundBrush()),
      m_stAllDelete(kYellow, m_pnlMenu.backgroundBrush()), m_stReLoad(kYellow, m_pnlMenu.backgroundBrush()),
      m_Splitter1(Splitter::Side::Bottom), m_Splitter2(Splitter::Side::Left), m_grid(m_cookies.table())
{
    m_font = createWindowFont(m_scale);
    m_boldFont = createWindowFont(m_scale, kDesignTextHeight, FontStyle{true, false, false});
    m_commandFont = createWindowFont(m_scale, 16, FontStyle{true, true, true});
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_door.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_DOOR), IMAGE_BITMAP, 0, 0, 0)));
    m_doorDisabled.reset(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_DOOR_DISABLED), IMAGE_BITMAP, 0, 0, 0)));
    m_windowBrush.reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    m_menuWidth = m_scale.px(137);
    m_contentHeight = m_scale.px(88);
}

TForm1::~TForm1()
{
    if (m_hints)
        DestroyWindow(m_hints);
}

HWND TForm1::create(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE),
                  LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN)));

    // 688 x 446 inside its frame, at (192, 107) on the screen (not scaled).
    RECT frame{0, 0, m_scale.px(688), m_scale.px(446)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const HWND hwnd = Window::create(WS_EX_CONTROLPARENT, kClassName, "Form1", style, 192, 107,
                                     frame.right - frame.left, frame.bottom - frame.top, owner, 0);
    if (!hwnd)
        return nullptr;
    SendMessageW(hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN))));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    setControlName(hwnd, "TForm1");
    buildControls();
    applyTabOrder();
    setUpHints();
    layOut();
    run(&ui::Commands::FormCreate);
    return hwnd;
}

void TForm1::show(int showCommand)
{
    if (showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE)
        ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    else if (showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED)
        ShowWindow(hwnd(), SW_SHOWMINNOACTIVE);
    else
        ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    SetFocus(m_bbtnInPathSet);
    m_lastFocus = m_bbtnInPathSet;
}

HWND TForm1::pushButton(HWND parent, int id, const char *name, const char *text, int x, int y, int width, int height,
                        DWORD extraStyle)
{
    const LayoutScale &s = m_scale;
    const HWND button = createControl(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | extraStyle,
                                      s.px(x), s.px(y), s.px(width), s.px(height), parent, id);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    setControlName(button, name);
    return button;
}

void TForm1::buildControls()
{
    const LayoutScale &s = m_scale;
    const HFONT font = m_font.get();
    const auto setFont = [](HWND hwnd, HFONT f) { SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); };

    // Creation order is the Tab order: the browse button, the command
    // column's buttons from the bottom up, the table, the content pane.
    m_pnlToolBtn.create(hwnd(), "拡張用", 0, 0, 0, 0, font);
    setControlName(m_pnlToolBtn.hwnd(), "pnlToolBtn");
    const SIZE label = textExtent(hwnd(), font, "クッキーフォルダ");
    m_StaticText1 =
        createControl(WS_EX_STATICEDGE, L"STATIC", "クッキーフォルダ", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, s.px(72),
                      s.px(8), label.cx + 4, label.cy + 4, m_pnlToolBtn.hwnd(), idCookieFolderLabel);
    setFont(m_StaticText1, font);
    setControlName(m_StaticText1, "StaticText1");
    m_edInPath = createControl(0, L"EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL,
                               s.px(168), s.px(8), s.px(425), s.px(20), m_pnlToolBtn.hwnd(), idFolder);
    setFont(m_edInPath, font);
    setControlName(m_edInPath, "edInPath");
    m_bbtnInPathSet = pushButton(m_pnlToolBtn.hwnd(), idInPathSet, "bbtnInPathSet", "参照", 600, 8, 75, 25);

    m_StatusBar1 =
        createControl(0, STATUSCLASSNAMEW, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(), idStatus);
    SendMessageW(m_StatusBar1, SB_SIMPLE, TRUE, 0);
    setControlName(m_StatusBar1, "StatusBar1");

    m_pnlMenu.create(hwnd(), "Menu", 0, 0, 0, 0, font);
    setControlName(m_pnlMenu.hwnd(), "pnlMenu");
    m_bbtnExit = pushButton(m_pnlMenu.hwnd(), idExit, "bbtnExit", "閉じる(&C)", 32, 352, 73, 25, BS_OWNERDRAW);
    m_bbtnVersion = pushButton(m_pnlMenu.hwnd(), idVersion, "bbtnVersion", "Version", 32, 320, 73, 25);
    m_bbtnHelp = pushButton(m_pnlMenu.hwnd(), idHelp, "bbtnHelp", "HELP", 32, 288, 73, 25);
    m_GroupBox1.create(m_pnlMenu.hwnd(), "検索", s.px(16), s.px(152), s.px(105), s.px(121), font);
    setControlName(m_GroupBox1.hwnd(), "GroupBox1");
    m_bbtnSch_Fname = pushButton(m_GroupBox1.hwnd(), idSchFname, "bbtnSch_Fname", "ファイル名", 16, 16, 75, 25);
    m_bbtnSch_Memo = pushButton(m_GroupBox1.hwnd(), idSchMemo, "bbtnSch_Memo", "ファイル内容", 16, 48, 75, 25);
    m_bbtnSch_Exit = pushButton(m_GroupBox1.hwnd(), idSchExit, "bbtnSch_Exit", "解　除", 16, 88, 75, 25);
    const HFONT command = m_commandFont.get();
    using keyboard::PaintedCommand;
    m_stDelete.create(m_pnlMenu.hwnd(), idDelete, "DELETE      ", s.px(16), s.px(32), command,
                      keyboard::keyName(PaintedCommand::Delete));
    setControlName(m_stDelete.hwnd(), "stDelete");
    m_stAllDelete.create(m_pnlMenu.hwnd(), idAllDelete, "ALL DELETE", s.px(16), s.px(64), command,
                         keyboard::keyName(PaintedCommand::AllDelete));
    setControlName(m_stAllDelete.hwnd(), "stAllDelete");
    m_stReLoad.create(m_pnlMenu.hwnd(), idReLoad, "ReLoad       ", s.px(16), s.px(104), command,
                      keyboard::keyName(PaintedCommand::ReLoad));
    setControlName(m_stReLoad.hwnd(), "stReLoad");

    m_Splitter2.create(hwnd(), 0, 0, s.px(3), 0);
    setControlName(m_Splitter2.hwnd(), "Splitter2");

    m_Panel3.create(hwnd(), "Panel3", 0, 0, 0, 0, font);
    setControlName(m_Panel3.hwnd(), "Panel3");
    m_pnlSelPcLoginName.create(m_Panel3.hwnd(), "拡張用", 0, 0, 0, 0, font);
    setControlName(m_pnlSelPcLoginName.hwnd(), "pnlSelPcLoginName");
    m_stSchModeInfo =
        createControl(WS_EX_STATICEDGE, L"STATIC", "stSchModeInfo", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX,
                      s.px(24), s.px(8), s.px(161), s.px(16), m_pnlSelPcLoginName.hwnd(), idSearchMode);
    setFont(m_stSchModeInfo, m_boldFont.get());
    setControlName(m_stSchModeInfo, "stSchModeInfo");

    m_grdMain = m_grid.create(m_Panel3.hwnd(), idGrid, font);
    setControlName(m_grdMain, "grdMain");
    m_grid.setRowMadeCurrentHandler([this] { run(&ui::Commands::grdMainClick); });

    m_Splitter1.create(m_Panel3.hwnd(), 0, 0, 0, s.px(3));
    setControlName(m_Splitter1.hwnd(), "Splitter1");
    m_Panel4.create(m_Panel3.hwnd(), "", 0, 0, 0, 0, font);
    setControlName(m_Panel4.hwnd(), "Panel4");
    LoadLibraryW(L"riched20.dll");
    m_riedRead_OneCookies = createControl(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, "",
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                              ES_READONLY | ES_AUTOVSCROLL,
                                          0, 0, 0, 0, m_Panel4.hwnd(), idContent);
    setFont(m_riedRead_OneCookies, font);
    setControlName(m_riedRead_OneCookies, "riedRead_OneCookies");
    // Lines wrap at the pane's width; a cookie file may be long.
    SendMessageW(m_riedRead_OneCookies, EM_SETTARGETDEVICE, 0, 0);
    SendMessageW(m_riedRead_OneCookies, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);

    m_pnlToolBtn.setResizeHandler([] {});
    m_Panel3.setResizeHandler([this] { layOutPanel3(); });
    m_Panel4.setResizeHandler([this] {
        const RECT inner = m_Panel4.innerRect();
        applyDocking(inner, {{m_riedRead_OneCookies, Dock::Client, 0}});
    });
    m_Splitter2.attach(m_pnlMenu.hwnd(), m_Panel3.hwnd(), [this](int size) {
        m_menuWidth = size;
        layOut();
    });
    m_Splitter1.attach(m_Panel4.hwnd(), m_grdMain, [this](int size) {
        m_contentHeight = size;
        layOutPanel3();
    });
}

void TForm1::applyTabOrder()
{
    // Tab follows the order of siblings, and goes into a panel where the
    // panel stands among its own: each control in its turn goes last among
    // its siblings, and so does every panel that holds it. The status bar
    // and the splitters, which take no focus, stay in front, so that the
    // status bar, grip and all, lies over the folder strip in a window made
    // smaller than both.
    for (const char *name : keyboard::kTabOrder) {
        for (HWND at = findControl(hwnd(), name); at && at != hwnd(); at = GetParent(at))
            SetWindowPos(at, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm1::runPaintedCommand(keyboard::PaintedCommand command)
{
    const HWND text = findControl(hwnd(), keyboard::controlName(command));
    if (text && IsWindowEnabled(text))
        onCommand(GetDlgCtrlID(text), STN_CLICKED, text);
}

void TForm1::focusTableRow(int row)
{
    m_grid.makeRowCurrent(row);
    if (IsWindowVisible(m_grdMain))
        SetFocus(m_grdMain);
}

void TForm1::setUpHints()
{
    m_hints = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    setControlName(m_hints, "hints");
    // Hints only on these six; the others carry none.
    using keyboard::PaintedCommand;
    const std::pair<HWND, const char *> hints[] = {
        {m_stDelete.hwnd(), keyboard::commandHint(PaintedCommand::Delete).c_str()},
        {m_stAllDelete.hwnd(), keyboard::commandHint(PaintedCommand::AllDelete).c_str()},
        {m_stReLoad.hwnd(), keyboard::commandHint(PaintedCommand::ReLoad).c_str()},
        {m_bbtnVersion, "バージョン情報を表示します"},
        {m_bbtnExit, "終了します"},
        {m_grdMain, "クッキーファイルの情報"},
    };
    for (const auto &[control, text] : hints) {
        std::wstring wide = wideFromCp932(text); // the tip keeps a copy
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = wide.data();
        SendMessageW(m_hints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_INITIAL, kHintDelayMs);
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintDurationMs);
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_RESHOW, 1);
}

void TForm1::layOut()
{
    if (!hwnd() || !m_StatusBar1)
        return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The status bar takes its own height from its font.
    SendMessageW(m_StatusBar1, WM_SIZE, 0, 0);
    RECT status{};
    GetWindowRect(m_StatusBar1, &status);
    applyDocking(client, {
                             {m_pnlToolBtn.hwnd(), Dock::Top, m_scale.px(41)},
                             {m_StatusBar1, Dock::Bottom, status.bottom - status.top},
                             {m_pnlMenu.hwnd(), Dock::Left, m_menuWidth},
                             {m_Splitter2.hwnd(), Dock::Left, m_scale.px(3)},
                             {m_Panel3.hwnd(), Dock::Client, 0},
                         });
    // The size grip moves with the bar's corner: draw the bar afresh, or the
    // grip leaves copies of itself where it was.
    InvalidateRect(m_StatusBar1, nullptr, TRUE);
    layOutPanel3();
}

void TForm1::layOutPanel3()
{
    if (!m_Panel4.hwnd())
        return;
    applyDocking(m_Panel3.innerRect(), {
                                           {m_pnlSelPcLoginName.hwnd(), Dock::Top, m_scale.px(32)},
                                           {m_Panel4.hwnd(), Dock::Bottom, m_contentHeight},
                                           {m_Splitter1.hwnd(), Dock::Bottom, m_scale.px(3)},
                                           {m_grdMain, Dock::Client, 0},
                                       });
}

bool TForm1::translate(MSG &message)
{
    if (!hwnd() || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    const HWND focus = GetFocus();
    keyboard::PaintedCommand command{};
    if (message.message == WM_KEYDOWN &&
        keyboard::commandForKey(keyStroke(message.wParam), focus == m_grdMain, command)) {
        // Delete and Shift+Delete on the table, F5 anywhere; once per press.
        if (!(message.lParam & (1 << 30)))
            runPaintedCommand(command);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && focus && isPushButton(focus)) {
        // Enter presses the focused button; there is no default button.
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && focus == m_riedRead_OneCookies &&
        GetKeyState(VK_CONTROL) >= 0) {
        SetFocus(GetNextDlgTabItem(hwnd(), focus, GetKeyState(VK_SHIFT) < 0));
        return true;
    }
    if (message.message == WM_SYSCHAR && (message.wParam == 'c' || message.wParam == 'C')) {
        if (IsWindowEnabled(m_bbtnExit))
            SendMessageW(m_bbtnExit, BM_CLICK, 0, 0);
        return true;
    }
    if (focus && (focus == m_Splitter1.hwnd() || focus == m_Splitter2.hwnd()))
        return false; // Esc goes to the splitter that is being dragged
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
        return true; // Esc closes nothing
    return IsDialogMessageW(hwnd(), &message) != FALSE;
}

LRESULT TForm1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            layOut();
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (item->hwndItem == m_bbtnExit) {
            drawExitButton(*item);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == m_edInPath) {
            // The folder box keeps the window colour while disabled.
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            return reinterpret_cast<LRESULT>(m_windowBrush.get());
        }
        return 0;
    case WM_CTLCOLORBTN:
        return 0;
    case WM_SETCURSOR:
        if (platform::win32::BusyCursor::active()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // The focus comes back where it was when the window is activated.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                m_lastFocus = focus;
        } else if (m_lastFocus && IsWindow(m_lastFocus) && IsWindowEnabled(m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            // The application minimises, and the window with it.
            if (const HWND owner = GetWindow(hwnd(), GW_OWNER)) {
                ShowWindow(owner, SW_MINIMIZE);
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void TForm1::onCommand(int id, int code, HWND control)
{
    if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        // The focused button wears the dark frame of a default button.
        if (control && control != m_bbtnExit && isPushButton(control))
            SendMessageW(control, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        return;
    }
    const bool clicked = code == BN_CLICKED; // STN_CLICKED has the same value
    // A click posted by a screen reader may arrive after a rescan disabled
    // the command.
    if (!clicked || (control && !IsWindowEnabled(control)))
        return;
    switch (id) {
    case idInPathSet:
        run(&ui::Commands::bbtnInPathSetClick);
        break;
    case idDelete:
        run(&ui::Commands::stDeleteClick);
        break;
    case idAllDelete:
        run(&ui::Commands::stAllDeleteClick);
        break;
    case idReLoad:
        run(&ui::Commands::stReLoadClick);
        break;
    case idSchFname:
        run(&ui::Commands::bbtnSch_FnameClick);
        break;
    case idSchMemo:
        run(&ui::Commands::bbtnSch_MemoClick);
        break;
    case idSchExit:
        run(&ui::Commands::bbtnSch_ExitClick);
        break;
    case idHelp:
        run(&ui::Commands::bbtnHelpClick);
        break;
    case idVersion:
        run(&ui::Commands::bbtnVersionClick);
        break;
    case idExit:
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void TForm1::drawExitButton(const DRAWITEMSTRUCT &item)
{
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;

    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (focused) {
        // The dark outer frame of the focused button.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pressed)
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));

    const std::wstring caption = windowText(item.hwndItem);
    const SelectObjectScope font(dc, m_font.get());
    RECT measure{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
    const int picture = m_scale.px(kDoorSize);
    const int gap = m_scale.px(kPictureGap);
    const int width = picture + gap + (measure.right - measure.left);
    const int shift = pressed ? 1 : 0;
    const int left = (item.rcItem.left + item.rcItem.right - width) / 2 + shift;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;

    const HBITMAP door = disabled ? m_doorDisabled.get() : m_door.get();
    if (door) {
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, door);
        TransparentBlt(dc, left, middle - picture / 2, picture, picture, source, 0, 0, kDoorSize, kDoorSize,
                       kTransparentKey);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    RECT text{left + picture + gap, middle - (measure.bottom - measure.top) / 2, item.rcItem.right,
              middle + (measure.bottom - measure.top) / 2 + 1};
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        OffsetRect(&text, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
        OffsetRect(&text, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);

    if (focused) {
        RECT dotted = item.rcItem;
        InflateRect(&dotted, -4, -4);
        DrawFocusRect(dc, &dotted);
    }
}

void TForm1::run(void (ui::Commands::*handler)())
{
    m_commands.run([this, handler] { (m_commands.*handler)(); });
}

void TForm1::clearPlaceholders()
{
    SetWindowTextW(m_pnlMenu.hwnd(), L"");
    SetWindowTextW(m_pnlSelPcLoginName.hwnd(), L"");
    SetWindowTextW(m_pnlToolBtn.hwnd(), L"");
    SetWindowTextW(m_stSchModeInfo, L"");
    keepFocusFrom(m_bbtnSch_Exit);
    EnableWindow(m_bbtnSch_Exit, FALSE);
}

void TForm1::contentPaneChanged()
{
    syncContentPane();
}

int TForm1::currentTableRow() const
{
    return m_grid.currentTableRow();
}

std::string TForm1::programFolder() const
{
    // As long as the system may make it: a program in a folder beyond
    // MAX_PATH finds its README.TXT too.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size() || path.size() >= 32768) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::string native = platform::win32::nativeFromWide(path);
    return std::string(platform::nativeFolderPart(native));
}

void TForm1::syncContentPane()
{
    if (!m_riedRead_OneCookies || !IsWindowVisible(m_riedRead_OneCookies))
        return;
    const listing::ContentPane &pane = m_cookies.contentPane();
    if (pane.revision() == m_shownRevision)
        return;
    m_shownRevision = pane.revision();
    PaneStream text{pane.text(), {}, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
    stream.pfnCallback = &streamText;
    // CP932 whatever the system's code page.
    SendMessageW(m_riedRead_OneCookies, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

std::string TForm1::statusText() const
{
    return m_statusText;
}

std::string TForm1::contentPaneShownText() const
{
    // Asked in CP932 whatever the system's code page, with CR LF line ends.
    GETTEXTLENGTHEX length{GTL_NUMBYTES | GTL_PRECISE | GTL_USECRLF, 932};
    const auto bytes = SendMessageW(m_riedRead_OneCookies, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(bytes, 0)) + 2, '\0');
    GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, 932, nullptr, nullptr};
    const auto got = SendMessageW(m_riedRead_OneCookies, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

void TForm1::setStatusText(const std::string &text)
{
    m_statusText = text;
    SendMessageW(m_StatusBar1, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(wideFromCp932(text).c_str()));
    UpdateWindow(m_StatusBar1);
}

void TForm1::setBusyCursor(bool busy)
{
    if (busy && !m_busy)
        m_busy.emplace();
    else if (!busy)
        m_busy.reset();
}

void TForm1::setTableVisible(bool visible)
{
    if (!visible)
        keepFocusFrom(m_grdMain);
    ShowWindow(m_grdMain, visible ? SW_SHOWNA : SW_HIDE);
}

void TForm1::setContentPaneVisible(bool visible)
{
    if (!visible)
        keepFocusFrom(m_riedRead_OneCookies);
    ShowWindow(m_riedRead_OneCookies, visible ? SW_SHOWNA : SW_HIDE);
    if (visible)
        syncContentPane();
}

void TForm1::setDeleteCommandsEnabled(bool enabled)
{
    if (!enabled) {
        keepFocusFrom(m_stDelete.hwnd());
        keepFocusFrom(m_stAllDelete.hwnd());
    }
    EnableWindow(m_stDelete.hwnd(), enabled);
    EnableWindow(m_stAllDelete.hwnd(), enabled);
}

void TForm1::setCaption(const std::string &caption)
{
    setText(hwnd(), caption);
}

void TForm1::setFolderText(const std::string &text)
{
    setText(m_edInPath, text);
}

void TForm1::setSearchModeLabel(const std::string &text)
{
    setText(m_stSchModeInfo, text);
}

void TForm1::setClearSearchEnabled(bool enabled)
{
    if (!enabled)
        keepFocusFrom(m_bbtnSch_Exit);
    EnableWindow(m_bbtnSch_Exit, enabled);
}

void TForm1::keepFocusFrom(HWND control)
{
    if (GetFocus() != control)
        return;
    const HWND next = GetNextDlgTabItem(hwnd(), control, FALSE);
    SetFocus(next && next != control ? next : m_bbtnInPathSet);
}

void TForm1::tableChanged()
{
    m_grid.reload(m_scale.px(ResultGrid::kDefaultRowHeight));
}

int TForm1::tableFontPointSize() const
{
    return pointSizeOf(m_font.get(), m_scale.dpi());
}

} // namespace ui::win32
