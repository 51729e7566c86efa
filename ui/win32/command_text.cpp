#include "command_text.h"

#include "gdi.h"
#include "platform/wide_text_win32.h"
#include "ui/keyboard_access.h"
#include "win32_keys.h"

#include <windowsx.h>

#include <cstring>
#include <iterator>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminCommandText";
// The sunken edge and one pixel of room on each side of the text.
constexpr int kFrame = 2;

} // namespace

SIZE textExtent(HWND hwnd, HFONT font, const char *text)
{
    const WindowDc dc(hwnd);
    const SelectObjectScope selected(dc.get(), font);
    SIZE extent{};
    const std::wstring wide = platform::win32::wideFromCp932(text);
    GetTextExtentPoint32W(dc.get(), wide.data(), static_cast<int>(wide.size()), &extent);
    return extent;
}

int overhang(HWND hwnd, HFONT font, const char *text)
{
    // A slanted last character reaches past its advance: its negative
    // right-side bearing. (A blank has none.)
    const std::size_t length = std::strlen(text);
    if (length == 0 || static_cast<unsigned char>(text[length - 1]) >= 0x80)
        return 0;
    const WindowDc dc(hwnd);
    const SelectObjectScope selected(dc.get(), font);
    ABC widths{};
    const auto last = static_cast<UINT>(static_cast<unsigned char>(text[length - 1]));
    if (!GetCharABCWidthsW(dc.get(), last, last, &widths) || widths.abcC >= 0)
        return 0;
    return -widths.abcC;
}

CommandText::CommandText(COLORREF textColour, HBRUSH background) : m_textColour(textColour), m_background(background) {}

void CommandText::click()
{
    SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), STN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd()));
}

HWND CommandText::create(HWND parent, int id, const char *text, int x, int y, HFONT font, const char *key)
{
    m_text = text;
    m_key = key;
    // A static text to the system and to screen readers, which name it by
    // its text. Double clicks come as their own message, so that the second
    // press is not taken for another click.
    registerSuperclass(kClassName, L"STATIC", CS_DBLCLKS);
    m_font = font;
    SIZE extent = textExtent(parent, font, text);
    extent.cx += overhang(parent, font, text);
    // SS_NOTIFY: the mouse comes to it rather than through it.
    return Window::create(WS_EX_STATICEDGE, kClassName, text,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_NOPREFIX, x, y, extent.cx + 2 * kFrame,
                          extent.cy + 2 * kFrame, parent, id);
}

LRESULT CommandText::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_SETTEXT: {
        const LRESULT result = defaultProcedure(message, wParam, lParam);
        InvalidateRect(hwnd(), nullptr, FALSE);
        return result;
    }
    case WM_LBUTTONDOWN:
        m_pressed = true;
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP: {
        if (!m_pressed)
            return 0;
        m_pressed = false;
        ReleaseCapture();
        RECT client{};
        GetClientRect(hwnd(), &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&client, at))
            click();
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        // Enter and Space are ours while we have the focus; Tab and the
        // arrows stay the window's.
        if (const auto *key = reinterpret_cast<const MSG *>(lParam);
            key && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
            return DLGC_WANTMESSAGE;
        return 0;
    case WM_KEYDOWN:
        // Once per press, not again while the key repeats.
        if (keyboard::pressesCommand(keyStroke(wParam)) && !(lParam & (1 << 30)) && IsWindowEnabled(hwnd()))
            click();
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
            return m_accessible.answer(wParam, [this] {
                return new CommandAccessible(hwnd(), std::string(keyboard::commandAccessibleName(m_text)), m_key);
            });
        }
        break;
    case WM_NCDESTROY:
        m_accessible.release();
        break;
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_CAPTURECHANGED:
        m_pressed = false;
        return 0;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void CommandText::paint()
{
    PaintScope paint(hwnd());
    const HDC dc = paint.dc();
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, m_background);
    wchar_t text[256] = {};
    const int length = GetWindowTextW(hwnd(), text, static_cast<int>(std::size(text)));
    const SelectObjectScope font(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd()) ? m_textColour : GetSysColor(COLOR_GRAYTEXT));
    // Inside the edge (which the non-client area holds), one pixel in.
    TextOutW(dc, kFrame - 1, kFrame - 1, text, length);
    if (GetFocus() == hwnd()) {
        // A dotted frame round the text, in the text's colour, which stands
        // out on the green column as the text does.
        const PenHandle dotted(CreatePen(PS_DOT, 1, m_textColour));
        const SelectObjectScope pen(dc, dotted.get());
        const SelectObjectScope brush(dc, GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
    }
}

} // namespace ui::win32
