#include "command_text.h"

#include "gdi.h"
#include "platform/win32/wide_text.h"

#include <windowsx.h>

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

CommandText::CommandText(COLORREF textColour, HBRUSH background) : m_textColour(textColour), m_background(background) {}

HWND CommandText::create(HWND parent, int id, const char *text, int x, int y, HFONT font)
{
    // A static text to the system and to screen readers, which name it by
    // its text. Double clicks come as their own message, so that the second
    // press is not taken for another click.
    registerSuperclass(kClassName, L"STATIC", CS_DBLCLKS);
    m_font = font;
    const SIZE extent = textExtent(parent, font, text);
    // SS_NOTIFY: the mouse comes to it rather than through it.
    return Window::create(WS_EX_STATICEDGE, kClassName, text, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX, x, y,
                          extent.cx + 2 * kFrame, extent.cy + 2 * kFrame, parent, id);
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
            SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), STN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd()));
        return 0;
    }
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
}

} // namespace ui::win32
