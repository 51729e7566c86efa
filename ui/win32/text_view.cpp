#include "text_view.h"

#include "clipboard.h"
#include "gdi.h"
#include "listing/content_pane.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminTextView";
constexpr UINT kCp932 = 932;
// Room between the border and the text, as an edit control keeps.
constexpr int kMarginX = 2;
constexpr int kMarginY = 1;
// While a drag holds outside the view, it scrolls a row this often.
constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT kDragScrollMs = 50;

bool held(int key)
{
    return GetKeyState(key) < 0;
}

} // namespace

TextView::GdiMeasure::GdiMeasure() : m_dc(CreateCompatibleDC(nullptr)) {}

TextView::GdiMeasure::~GdiMeasure()
{
    if (m_oldFont)
        SelectObject(m_dc, m_oldFont);
    DeleteDC(m_dc);
}

void TextView::GdiMeasure::setFont(HFONT font)
{
    const HGDIOBJ previous = SelectObject(m_dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    if (!m_oldFont)
        m_oldFont = previous;
}

const std::wstring &TextView::GdiMeasure::wide(std::string_view line)
{
    m_wide.resize(line.size());
    if (line.empty())
        return m_wide;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < line.size(); at += text::characterLength(line, at))
        ++characters;
    const int units = MultiByteToWideChar(kCp932, 0, line.data(), static_cast<int>(line.size()), m_wide.data(),
                                          static_cast<int>(m_wide.size()));
    if (units == static_cast<int>(characters)) {
        m_wide.resize(characters);
        return m_wide;
    }
    // Bytes that do not decode may come out as more or fewer units than
    // characters: then one character at a time, so that each is one unit.
    std::size_t unit = 0;
    for (std::size_t at = 0; at < line.size(); ++unit) {
        const std::size_t length = text::characterLength(line, at);
        wchar_t converted[4] = {};
        const int count = MultiByteToWideChar(kCp932, 0, line.data() + at, static_cast<int>(length), converted, 4);
        m_wide[unit] = count == 1 ? converted[0] : L'\xFFFD';
        at += length;
    }
    m_wide.resize(unit);
    return m_wide;
}

void TextView::GdiMeasure::measure(std::string_view line, std::size_t start,
                                   std::vector<text::CharacterPlace> &places)
{
    const std::wstring &units = wide(line);
    m_extents.resize(units.size());
    SIZE size{};
    if (!units.empty())
        GetTextExtentExPointW(m_dc, units.data(), static_cast<int>(units.size()), 0, nullptr, m_extents.data(), &size);
    std::size_t at = 0;
    for (const int right : m_extents) {
        places.push_back(text::CharacterPlace{start + at, right});
        at += text::characterLength(line, at);
    }
}

TextView::TextView(std::string accessibleName) : m_name(std::move(accessibleName)) {}

HWND TextView::create(HWND parent, int id, HFONT font)
{
    registerClass(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_IBEAM), nullptr);
    const HWND created = Window::create(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL,
                                        0, 0, 0, 0, parent, id);
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return created;
}

void TextView::show(const listing::ContentPane &pane)
{
    m_pane = &pane;
    m_revision = pane.revision();
    m_layout.setText(pane.rawText());
    m_dragging = false;
    updateScrollBar();
    InvalidateRect(hwnd(), nullptr, FALSE);
    placeCaret();
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd(), OBJID_CLIENT, CHILDID_SELF);
}

void TextView::dropStaleText()
{
    if (m_pane && m_pane->revision() != m_revision) {
        m_pane = nullptr;
        m_layout.setText({});
    }
}

std::string_view TextView::text() const
{
    return m_pane && m_pane->revision() == m_revision ? m_layout.lines().text() : std::string_view();
}

std::string TextView::shownText() const
{
    const std::string_view shown = text();
    return m_layout.lines().copiedText(0, shown.size());
}

std::string TextView::selectedText() const
{
    return text().empty() ? std::string() : m_layout.selectedText();
}

std::string TextView::accessibleValue() const
{
    const std::string_view shown = text();
    if (shown.size() <= kWholeValueBytes)
        return shownText();
    const std::vector<text::ShownRow> rows = m_layout.shownRows();
    return rows.empty() ? std::string() : m_layout.lines().copiedText(rows.front().row.begin, rows.back().row.end);
}

int TextView::rowAtY(int y) const
{
    const int offset = y - kMarginY;
    return offset < 0 ? -1 - (-offset - 1) / m_rowHeight : offset / m_rowHeight;
}

void TextView::sizeChanged()
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    m_layout.setViewSize(client.right - 2 * kMarginX, (client.bottom - kMarginY) / m_rowHeight);
    updateScrollBar();
    InvalidateRect(hwnd(), nullptr, FALSE);
    placeCaret();
}

void TextView::updateScrollBar()
{
    // In lines, as wrapped rows are known only where the view has been; the
    // bar stays (greyed when all fits), so that the width never changes with
    // the text.
    const int rows = m_layout.viewRows();
    SCROLLINFO bar{};
    bar.cbSize = sizeof(bar);
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    const auto last = static_cast<long long>(m_layout.lastTop().line);
    bar.nMin = 0;
    bar.nMax = static_cast<int>(std::min<long long>(last + rows - 1, INT_MAX - 1));
    bar.nPage = static_cast<UINT>(rows);
    bar.nPos = static_cast<int>(std::min<long long>(static_cast<long long>(m_layout.top().line), INT_MAX - 1));
    if (last == 0 && m_layout.lastTop().index == 0) {
        bar.nMax = 0; // nothing to scroll
        bar.nPage = 1;
    }
    SetScrollInfo(hwnd(), SB_VERT, &bar, TRUE);
}

void TextView::placeCaret()
{
    if (GetFocus() != hwnd())
        return;
    const long long row = m_layout.caretRowFromTop();
    if (row < 0 || row > m_layout.viewRows()) {
        SetCaretPos(-m_rowHeight, -m_rowHeight); // out of view
        return;
    }
    SetCaretPos(kMarginX + m_layout.caretRow().second, kMarginY + static_cast<int>(row) * m_rowHeight);
}

void TextView::changed(bool selectionMoved)
{
    updateScrollBar();
    InvalidateRect(hwnd(), nullptr, FALSE);
    placeCaret();
    if (selectionMoved)
        NotifyWinEvent(EVENT_OBJECT_TEXTSELECTIONCHANGED, hwnd(), OBJID_CLIENT, CHILDID_SELF);
}

void TextView::paint()
{
    const ClientPaint painting(hwnd(), m_font);
    const HDC dc = painting.dc();
    if (!dc || text().empty())
        return;

    // The selection in the system's colours while the view has the focus,
    // in the button face's while not, so that it stays in sight.
    const bool focused = GetFocus() == hwnd();
    const COLORREF selectedBack = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const COLORREF selectedText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const COLORREF plainBack = GetSysColor(COLOR_WINDOW);
    const COLORREF plainText = GetSysColor(COLOR_WINDOWTEXT);
    const auto [selectFrom, selectTo] = m_layout.selection();
    const std::string_view bytes = text();

    int y = kMarginY;
    for (const text::ShownRow &shown : m_layout.shownRows()) {
        const text::Row &row = shown.row;
        const std::wstring &units = m_measure.wide(bytes.substr(row.begin, row.end - row.begin));
        // Runs of the row in or out of the selection, each drawn at the x
        // its characters were measured at.
        std::size_t first = 0;
        int left = 0;
        while (first < shown.places.size()) {
            const bool selected = shown.places[first].offset >= selectFrom && shown.places[first].offset < selectTo;
            std::size_t end = first;
            while (end < shown.places.size() &&
                   (shown.places[end].offset >= selectFrom && shown.places[end].offset < selectTo) == selected)
                ++end;
            const int right = shown.places[end - 1].right;
            const RECT box{kMarginX + left, y, kMarginX + right, y + m_rowHeight};
            SetBkColor(dc, selected ? selectedBack : plainBack);
            SetTextColor(dc, selected ? selectedText : plainText);
            ExtTextOutW(dc, box.left, y, ETO_OPAQUE | ETO_CLIPPED, &box, units.data() + first,
                        static_cast<UINT>(end - first), nullptr);
            first = end;
            left = right;
        }
        // A selected line end shows as a blank's width of selection.
        if (row.lastOfLine && m_layout.lines().isLineEnd(row.end) && row.end >= selectFrom && row.end < selectTo) {
            const int blank = std::max(m_rowHeight / 3, 2);
            const RECT box{kMarginX + left, y, kMarginX + left + blank, y + m_rowHeight};
            SetBkColor(dc, selectedBack);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
        }
        y += m_rowHeight;
    }
}

bool TextView::onKey(WPARAM key)
{
    const bool shift = held(VK_SHIFT);
    const bool control = held(VK_CONTROL);
    using text::Move;
    Move move{};
    switch (key) {
    case VK_LEFT:
        move = control ? Move::WordLeft : Move::Left;
        break;
    case VK_RIGHT:
        move = control ? Move::WordRight : Move::Right;
        break;
    case VK_UP:
    case VK_DOWN:
        if (control) {
            m_layout.scrollRows(key == VK_UP ? -1 : 1);
            changed(false);
            return true;
        }
        move = key == VK_UP ? Move::Up : Move::Down;
        break;
    case VK_HOME:
        move = control ? Move::TextStart : Move::RowStart;
        break;
    case VK_END:
        move = control ? Move::TextEnd : Move::RowEnd;
        break;
    case VK_PRIOR:
        move = Move::PageUp;
        break;
    case VK_NEXT:
        move = Move::PageDown;
        break;
    case 'A':
        if (!control || shift)
            return false;
        m_layout.selectAll();
        changed(true);
        return true;
    case 'C':
    case VK_INSERT:
        if (!control || shift)
            return false;
        copySelection();
        return true;
    default:
        return false;
    }
    m_layout.move(move, shift);
    changed(true);
    return true;
}

void TextView::copySelection()
{
    const std::string selected = selectedText();
    if (!selected.empty() && !copyToClipboard(hwnd(), selected))
        MessageBeep(MB_ICONWARNING); // the clipboard is held by another program
}

void TextView::onVerticalScroll(int code)
{
    const int page = std::max(m_layout.viewRows() - 1, 1);
    switch (code) {
    case SB_LINEUP:
        m_layout.scrollRows(-1);
        break;
    case SB_LINEDOWN:
        m_layout.scrollRows(1);
        break;
    case SB_PAGEUP:
        m_layout.scrollRows(-page);
        break;
    case SB_PAGEDOWN:
        m_layout.scrollRows(page);
        break;
    case SB_TOP:
        m_layout.scrollToLine(0);
        break;
    case SB_BOTTOM:
        m_layout.scrollToLine(m_layout.lines().lineCount());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit place, not the message's 16 bits.
        SCROLLINFO bar{};
        bar.cbSize = sizeof(bar);
        bar.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd(), SB_VERT, &bar);
        m_layout.scrollToLine(static_cast<std::size_t>(std::max(bar.nTrackPos, 0)));
        break;
    }
    default:
        return;
    }
    changed(false);
}

void TextView::onWheel(int delta)
{
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    m_wheelRest += delta;
    const int notches = m_wheelRest / WHEEL_DELTA;
    m_wheelRest %= WHEEL_DELTA;
    if (notches == 0)
        return;
    if (perNotch == WHEEL_PAGESCROLL)
        m_layout.scrollRows(-static_cast<long long>(notches) * std::max(m_layout.viewRows() - 1, 1));
    else
        m_layout.scrollRows(-static_cast<long long>(notches) * perNotch);
    changed(false);
}

void TextView::press(LPARAM at, bool extend)
{
    m_layout.pressAt(GET_X_LPARAM(at) - kMarginX, rowAtY(GET_Y_LPARAM(at)), extend);
    changed(true);
}

LRESULT TextView::accessibleObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
        return defaultProcedure(WM_GETOBJECT, wParam, lParam);
    return m_accessible.answer(wParam, [this] { return new TextAccessible(*this); });
}

LRESULT TextView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    dropStaleText();
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        sizeChanged();
        return 0;
    case WM_SETFONT: {
        m_font = reinterpret_cast<HFONT>(wParam);
        m_measure.setFont(m_font);
        const WindowDc dc(hwnd());
        const SelectObjectScope font(dc.get(), m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        m_rowHeight = std::max(static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading), 1);
        sizeChanged();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_SETFOCUS:
        CreateCaret(hwnd(), nullptr, std::max(GetSystemMetrics(SM_CXBORDER), 1), m_rowHeight);
        placeCaret();
        ShowCaret(hwnd());
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE: {
        // The arrows are ours, and Enter, which would otherwise press a
        // button of the window; Tab goes on to the next control.
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const auto *pending = reinterpret_cast<const MSG *>(lParam);
        if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (onKey(wParam))
            return 0;
        break;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd());
        SetCapture(hwnd());
        m_dragging = true;
        press(lParam, (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragging && GetCapture() == hwnd()) {
            press(lParam, true);
            // Above or below the view the selection goes on growing while
            // the button is held, as the view scrolls.
            RECT client{};
            GetClientRect(hwnd(), &client);
            m_dragAt = lParam;
            if (GET_Y_LPARAM(lParam) < 0 || GET_Y_LPARAM(lParam) >= client.bottom)
                SetTimer(hwnd(), kDragScrollTimer, kDragScrollMs, nullptr);
            else
                KillTimer(hwnd(), kDragScrollTimer);
        }
        return 0;
    case WM_TIMER:
        if (wParam == kDragScrollTimer && m_dragging)
            press(m_dragAt, true);
        return 0;
    case WM_LBUTTONUP:
        if (m_dragging)
            ReleaseCapture();
        m_dragging = false;
        KillTimer(hwnd(), kDragScrollTimer);
        return 0;
    case WM_CAPTURECHANGED:
        m_dragging = false;
        KillTimer(hwnd(), kDragScrollTimer);
        return 0;
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd());
        m_layout.selectWordAt(GET_X_LPARAM(lParam) - kMarginX, rowAtY(GET_Y_LPARAM(lParam)));
        changed(true);
        return 0;
    case WM_MOUSEWHEEL:
        onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_VSCROLL:
        onVerticalScroll(LOWORD(wParam));
        return 0;
    case WM_GETOBJECT:
        return accessibleObject(wParam, lParam);
    case WM_NCDESTROY:
        m_accessible.release();
        break;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

} // namespace ui::win32
