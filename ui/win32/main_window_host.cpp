#include "main_window_host.h"

#include "clipboard.h"
#include "listing/content_pane.h"
#include "listing/cookie_table.h"
#include "platform/cp932.h"
#include "platform/wide_text_win32.h"
#include "resources/resource_ids.h"
#include "win32_keys.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminWindow";

// A control's identifier is its place in the form after this; none is IDOK
// or IDCANCEL, so that Enter and Esc never reach a command through the
// dialog keys.
constexpr int kFirstControlId = 1001;

int controlId(form::Id id)
{
    return kFirstControlId + form::indexOf(id);
}

COLORREF colourOf(std::uint32_t rgb, int systemColour)
{
    if (rgb == form::kSystemColour)
        return GetSysColor(systemColour);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

using platform::win32::wideFromCp932;

// Every text of the window is CP932, and reaches the screen converted with
// code page 932 whatever the system's own.
void setText(HWND hwnd, const std::string &text)
{
    SetWindowTextW(hwnd, wideFromCp932(text).c_str());
}

HWND createChild(DWORD exStyle, const wchar_t *className, const char *text, DWORD style, int x, int y, int width,
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

} // namespace

MainWindowHost::MainWindowHost(platform::Dialogs &dialogs, platform::Desktop &desktop)
    : m_scale(screenDpi()), m_window(*this, dialogs, desktop), m_grid(m_window.cookies().table())
{
    m_font = createWindowFont(m_scale);
    m_boldFont = createWindowFont(m_scale, kDesignTextHeight, FontStyle{true, false, false});
    m_commandFont = createWindowFont(m_scale, form::kCommandTextHeight, FontStyle{true, true, true});
    m_windowBrush.reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    // A strip that collapses starts hidden, without room.
    for (const form::Control &control : form::controls())
        m_extents[static_cast<std::size_t>(form::indexOf(control.id))] =
            control.collapses ? 0 : m_scale.px(control.extent);
}

MainWindowHost::~MainWindowHost()
{
    if (m_hints)
        DestroyWindow(m_hints);
}

HWND MainWindowHost::create(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE),
                  LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN)));

    // At its designed size inside its frame, and its designed place on the
    // screen (not scaled).
    RECT frame{0, 0, m_scale.px(form::kClientWidth), m_scale.px(form::kClientHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const form::Control &window = form::control(form::Id::Window);
    const HWND hwnd =
        Window::create(WS_EX_CONTROLPARENT, kClassName, form::captionCp932(window).c_str(), style, form::kScreenX,
                       form::kScreenY, frame.right - frame.left, frame.bottom - frame.top, owner, 0);
    if (!hwnd)
        return nullptr;
    SendMessageW(hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN))));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    buildControls();
    applyTabOrder();
    setUpHints();
    layOut();
    m_window.start(pointSizeOf(m_font.get(), m_scale.dpi()));
    return hwnd;
}

void MainWindowHost::show(int showCommand)
{
    if (showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE)
        ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
    else if (showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED)
        ShowWindow(hwnd(), SW_SHOWMINNOACTIVE);
    else
        ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    m_window.focusFirstControl();
    m_lastFocus = GetFocus();
}

Panel &MainWindowHost::panel(form::Id id) const
{
    return static_cast<Panel &>(*m_ownWindows[static_cast<std::size_t>(form::indexOf(id))]);
}

HFONT MainWindowHost::fontFor(form::Font font) const
{
    switch (font) {
    case form::Font::Bold:
        return m_boldFont.get();
    case form::Font::Command:
        return m_commandFont.get();
    case form::Font::System:
        return nullptr;
    case form::Font::Window:
        break;
    }
    return m_font.get();
}

void MainWindowHost::buildControls()
{
    // In the form's order, parents first; applyTabOrder() sets the Tab
    // order afterwards.
    m_controls[static_cast<std::size_t>(form::indexOf(form::Id::Window))] = hwnd();
    for (const form::Control &control : form::controls()) {
        if (control.id == form::Id::Window)
            continue;
        const HWND created = createControl(control, controlOf(control.parent));
        m_controls[static_cast<std::size_t>(form::indexOf(control.id))] = created;
    }
}

HWND MainWindowHost::createControl(const form::Control &control, HWND parent)
{
    using form::Kind;
    const LayoutScale &s = m_scale;
    const Box &design = control.design;
    const std::string caption = form::captionCp932(control);
    const HFONT font = fontFor(control.font);
    const int id = controlId(control.id);
    const auto own = [this, &control](auto window) {
        auto &slot = m_ownWindows[static_cast<std::size_t>(form::indexOf(control.id))];
        slot = std::move(window);
        return static_cast<decltype(window.get())>(slot.get());
    };
    HWND created = nullptr;
    switch (control.kind) {
    case Kind::Panel:
    case Kind::GroupBox: {
        const bool group = control.kind == Kind::GroupBox;
        Panel *made = own(std::make_unique<Panel>(group ? Panel::Look::Group : Panel::Look::Raised,
                                                  colourOf(control.background, COLOR_BTNFACE),
                                                  colourOf(control.textColour, COLOR_BTNTEXT)));
        if (control.docked)
            return made->create(parent, caption.c_str(), 0, 0, 0, 0, font);
        return made->create(parent, caption.c_str(), s.px(design.x), s.px(design.y), s.px(design.width),
                            s.px(design.height), font);
    }
    case Kind::Label: {
        DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
        int width = s.px(design.width);
        int height = s.px(design.height);
        if (control.sizedByText) {
            // Its text and 2 pixels around it, trailing blanks included.
            const SIZE text = textExtent(hwnd(), font, caption.c_str());
            width = text.cx + 4;
            height = text.cy + 4;
        } else {
            style |= SS_CENTER;
        }
        created = createChild(WS_EX_STATICEDGE, L"STATIC", caption.c_str(), style, s.px(design.x), s.px(design.y),
                              width, height, parent, id);
        break;
    }
    case Kind::CommandText: {
        CommandText *made = own(std::make_unique<CommandText>(colourOf(control.textColour, COLOR_BTNTEXT),
                                                              panel(control.parent).backgroundBrush()));
        return made->create(parent, id, caption.c_str(), s.px(design.x), s.px(design.y), font, control.keyName);
    }
    case Kind::FolderBox:
        created = createChild(0, L"EDIT", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                              s.px(design.x), s.px(design.y), s.px(design.width), s.px(design.height), parent, id);
        break;
    case Kind::Button: {
        // The close button draws its door itself.
        const DWORD look = control.command == form::Command::Close ? BS_OWNERDRAW : 0;
        created = createChild(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | look,
                              s.px(design.x), s.px(design.y), s.px(design.width), s.px(design.height), parent, id);
        break;
    }
    case Kind::StatusBar:
        created = createChild(0, STATUSCLASSNAMEW, caption.c_str(), WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                              parent, id);
        SendMessageW(created, SB_SIMPLE, TRUE, 0);
        break;
    case Kind::Grid:
        created = m_grid.create(parent, id, font);
        m_grid.setRowMadeCurrentHandler([this] { m_window.rowMadeCurrent(); });
        return created;
    case Kind::ContentPane: {
        TextView *made = own(std::make_unique<TextView>(platform::cp932::fromUtf8(control.accessibleName)));
        m_contentPane = made;
        return made->create(parent, id, font);
    }
    case Kind::TabStrip: {
        created = createChild(0, WC_TABCONTROLW, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              parent, id);
        SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        for (int view = 0; view < form::kContentViewCount; ++view) {
            std::wstring text = wideFromCp932(form::contentTabCaption(static_cast<form::ContentView>(view)));
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(created, TCM_INSERTITEMW, static_cast<WPARAM>(view), reinterpret_cast<LPARAM>(&item));
        }
        m_accessibleTabs = std::make_unique<AccessibleControl<TabStripAccessible>>(created, [this, created] {
            return new TabStripAccessible(created, [this](int chosen) {
                announceChosenTab();
                m_window.contentViewChosen(static_cast<form::ContentView>(chosen));
            });
        });
        break;
    }
    case Kind::CookieGrid: {
        created = CookieList::createWindow(parent, id, font, m_scale.px(ui::grid::kDefaultColumnWidth));
        // What a screen reader calls it, and its rows and cells.
        ::ui::win32::setText(created, platform::cp932::fromUtf8(control.accessibleName));
        m_cookieList = std::make_unique<CookieList>(created, m_window.cookieTable(),
                                                    platform::cp932::fromUtf8(control.accessibleName));
        break;
    }
    case Kind::Notice:
        created = createChild(0, L"STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT, 0, 0, 0, 0, parent, id);
        break;
    case Kind::Splitter: {
        // Between the docked strip before it on its side, whose size it
        // sets, and the control that fills the rest.
        Splitter *made =
            own(std::make_unique<Splitter>(control.dock == Dock::Left ? Splitter::Side::Left : Splitter::Side::Bottom));
        created = made->create(parent, 0, 0, control.dock == Dock::Left ? m_scale.px(control.extent) : 0,
                               control.dock == Dock::Left ? 0 : m_scale.px(control.extent));
        const auto [neighbour, rest] = form::splitterNeighbours(control.id);
        made->attach(controlOf(neighbour), controlOf(rest), [this, neighbour](int size) {
            m_extents[static_cast<std::size_t>(form::indexOf(neighbour))] = size;
            layOut();
        });
        return created;
    }
    case Kind::Window:
        break;
    }
    if (created && font)
        SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (created && control.enabled == form::Enabled::Never)
        EnableWindow(created, FALSE);
    return created;
}

void MainWindowHost::applyTabOrder()
{
    // Tab follows the order of siblings, and goes into a panel where the
    // panel stands among its own: each control in its turn goes last among
    // its siblings, and so does every panel that holds it. The status bar
    // and the splitters, which take no focus, stay in front, so that the
    // status bar, grip and all, lies over the folder strip in a window made
    // smaller than both.
    for (const form::Control *control : form::tabOrder()) {
        for (HWND at = controlOf(control->id); at && at != hwnd(); at = GetParent(at))
            SetWindowPos(at, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void MainWindowHost::setUpHints()
{
    m_hints = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    // Hints only where the form gives one; the others carry none.
    for (const form::Control &control : form::controls()) {
        const std::string hint = form::hintText(control);
        if (hint.empty())
            continue;
        std::wstring wide = wideFromCp932(hint); // the tip keeps a copy
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(controlOf(control.id));
        tool.uId = reinterpret_cast<UINT_PTR>(controlOf(control.id));
        tool.lpszText = wide.data();
        SendMessageW(m_hints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_INITIAL, form::kHintDelayMs);
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_AUTOPOP, form::kHintDurationMs);
    SendMessageW(m_hints, TTM_SETDELAYTIME, TTDT_RESHOW, 1);
}

void MainWindowHost::layOut()
{
    if (!hwnd() || !controlOf(form::Id::ContentPane))
        return; // not yet made
    // The status bar takes its own height from its font.
    const HWND bar = controlOf(form::Id::StatusBar);
    SendMessageW(bar, WM_SIZE, 0, 0);
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    m_extents[static_cast<std::size_t>(form::indexOf(form::Id::StatusBar))] = barRect.bottom - barRect.top;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const std::vector<Box> boxes = form::layOut(m_scale, client.right, client.bottom, m_extents);
    // Moved together, each parent's docked children at once.
    for (const form::Control &parent : form::controls()) {
        const std::vector<const form::Control *> children = form::dockedChildren(parent.id);
        HDWP positions = children.empty() ? nullptr : BeginDeferWindowPos(static_cast<int>(children.size()));
        for (const form::Control *child : children) {
            const Box &box = boxes[static_cast<std::size_t>(form::indexOf(child->id))];
            if (positions)
                positions = DeferWindowPos(positions, controlOf(child->id), nullptr, box.x, box.y, box.width,
                                           box.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (positions)
            EndDeferWindowPos(positions);
    }
    // The size grip moves with the bar's corner: draw the bar afresh, or the
    // grip leaves copies of itself where it was.
    InvalidateRect(bar, nullptr, TRUE);
}

bool MainWindowHost::translate(MSG &message)
{
    if (!hwnd() || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    const HWND focus = GetFocus();
    // The window's own keys, as the window decides them: Delete and
    // Shift+Delete on the table, F5 and Ctrl+(Shift+)Tab anywhere, Ctrl+C and
    // Ctrl+A in the cookie view, Enter on a button, Esc; once per press.
    if (message.message == WM_KEYDOWN && m_window.keyPressed(keyStroke(message.wParam), message.lParam & (1 << 30)))
        return true;
    if (message.message == WM_SYSCHAR) {
        // Alt with a letter: the access key a caption marks with "&".
        const WPARAM letter =
            message.wParam >= 'a' && message.wParam <= 'z' ? message.wParam - 'a' + 'A' : message.wParam;
        keyboard::KeyStroke stroke = keyStroke(letter);
        stroke.alt = true;
        if (m_window.keyPressed(stroke, message.lParam & (1 << 30)))
            return true;
    }
    if (focus && (focus == controlOf(form::Id::ContentSplitter) || focus == controlOf(form::Id::CommandSplitter)))
        return false; // Esc goes to the splitter that is being dragged
    return IsDialogMessageW(hwnd(), &message) != FALSE;
}

LRESULT MainWindowHost::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            layOut();
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR *>(lParam));
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (item->hwndItem == controlOf(form::Id::CloseButton)) {
            m_closeButton.draw(*item, m_font.get(), m_scale);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == controlOf(form::Id::FolderBox)) {
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

void MainWindowHost::onCommand(int id, int code, HWND control)
{
    if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        // The focused button wears the dark frame of a default button.
        if (control && control != controlOf(form::Id::CloseButton) && isPushButton(control))
            SendMessageW(control, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        return;
    }
    // STN_CLICKED has the same value.
    const int place = id - kFirstControlId;
    if (code != BN_CLICKED || place < 0 || place >= form::kIdCount)
        return;
    const form::Control &clicked = form::controls()[static_cast<std::size_t>(place)];
    if (clicked.kind == form::Kind::Button || clicked.kind == form::Kind::CommandText)
        m_window.controlClicked(clicked.id);
}

int MainWindowHost::currentRow() const
{
    return m_grid.currentTableRow();
}

std::string MainWindowHost::programFolder() const
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

void MainWindowHost::showPaneText(const listing::ContentPane &pane)
{
    m_contentPane->show(pane);
}

std::string MainWindowHost::statusText() const
{
    return m_window.text(form::Id::StatusBar);
}

std::string MainWindowHost::contentPaneShownText() const
{
    return m_contentPane->shownText();
}

void MainWindowHost::setText(form::Id id, const std::string &text)
{
    const HWND control = controlOf(id);
    if (form::control(id).kind == form::Kind::StatusBar) {
        SendMessageW(control, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(wideFromCp932(text).c_str()));
        UpdateWindow(control);
        return;
    }
    ::ui::win32::setText(control, text);
}

void MainWindowHost::setEnabled(form::Id id, bool enabled)
{
    EnableWindow(controlOf(id), enabled);
}

void MainWindowHost::setVisible(form::Id id, bool visible)
{
    const form::Control &control = form::control(id);
    if (control.collapses) {
        // Its room goes to the control that fills the rest while hidden.
        m_extents[static_cast<std::size_t>(form::indexOf(id))] = visible ? m_scale.px(control.extent) : 0;
        layOut();
    }
    const HWND window = controlOf(id);
    const HWND focus = GetFocus();
    if (!visible && focus && (focus == window || IsChild(window, focus))) {
        // ShowWindow gives the focus to the parent.
        ShowWindow(window, SW_HIDE);
        return;
    }
    if (((GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0) == visible)
        return;
    // Shown or uncovered, a control is painted with the window's next paint,
    // not at once as ShowWindow has it: under Wine that paints then the
    // frame of every control waiting for a paint, and again at the paint
    // (the themed scroll bars of the cookie table take about 10 ms each
    // time).
    SendMessageW(window, WM_SHOWWINDOW, visible, 0);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE |
                     (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void MainWindowHost::setFocus(form::Id id)
{
    if (IsWindowVisible(controlOf(id)))
        SetFocus(controlOf(id));
}

std::optional<form::Id> MainWindowHost::focusedControl() const
{
    const HWND focus = GetFocus();
    for (const form::Control &control : form::controls())
        if (focus && control.id != form::Id::Window && controlOf(control.id) == focus)
            return control.id;
    return std::nullopt;
}

void MainWindowHost::setBusyCursor(bool busy)
{
    holdWhileBusy(m_busy, busy);
    // The work to come keeps the message loop waiting: what changed before
    // it (controls hidden, shown) is painted now.
    if (busy)
        UpdateWindow(hwnd());
}

void MainWindowHost::close()
{
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindowHost::makeRowCurrent(int row)
{
    m_grid.makeRowCurrent(row);
}

LRESULT MainWindowHost::onNotify(NMHDR &header)
{
    if (header.hwndFrom == controlOf(form::Id::ContentTabs) && header.code == TCN_SELCHANGE) {
        const auto chosen = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        announceChosenTab();
        if (chosen >= 0 && chosen < form::kContentViewCount)
            m_window.contentViewChosen(static_cast<form::ContentView>(chosen));
        return 0;
    }
    if (m_cookieList && header.hwndFrom == m_cookieList->gridWindow())
    {
        // A click selects the row it lands on by itself; Tab in selects one.
        if (header.code == NM_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0)
            m_window.cookieViewFocused();
        return m_cookieList->notify(header);
    }
    return 0;
}

void MainWindowHost::setContentView(form::ContentView view)
{
    // TCM_SETCURSEL tells no one: the window chose it.
    SendMessageW(controlOf(form::Id::ContentTabs), TCM_SETCURSEL, static_cast<WPARAM>(view), 0);
    announceChosenTab();
}

void MainWindowHost::announceChosenTab() const
{
    // The strip is named by its chosen tab: a screen reader that keeps
    // names hears that it changed, which tab is selected, and, where the
    // strip has the focus, that the focus is on that tab.
    const HWND tabs = controlOf(form::Id::ContentTabs);
    const auto chosen = static_cast<LONG>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    if (chosen < 0)
        return;
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, tabs, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, tabs, OBJID_CLIENT, chosen + 1);
    if (GetFocus() == tabs)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, tabs, OBJID_CLIENT, chosen + 1);
}

void MainWindowHost::cookieTableChanged()
{
    // The fitted text and the cell's margins either side.
    m_cookieList->reload(2 * m_scale.px(6));
}

std::vector<int> MainWindowHost::selectedCookieRows() const
{
    return m_cookieList->selectedRowNumbers();
}

int MainWindowHost::currentCookieRow() const
{
    return m_cookieList->currentRowNumber();
}

void MainWindowHost::selectCookieRows(int first, int last)
{
    m_cookieList->selectRowNumbers(first, last);
}

void MainWindowHost::copyText(const std::string &text)
{
    copyToClipboard(hwnd(), text);
}

void MainWindowHost::tableChanged()
{
    m_grid.reload(m_scale.px(ui::grid::kDefaultRowHeight));
}

} // namespace ui::win32
