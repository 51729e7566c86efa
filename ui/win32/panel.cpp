#include "panel.h"

#include <iterator>
#include <string>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminPanel";
constexpr int kCaptionLeft = 8;

} // namespace

Panel::Panel(Look look, COLORREF background, COLORREF captionColour)
    : m_look(look), m_background(background), m_captionColour(captionColour), m_brush(CreateSolidBrush(background))
{}

HWND Panel::create(HWND parent, const char *caption, int x, int y, int width, int height, HFONT font)
{
    registerClass(kClassName, CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    m_font = font;
    return Window::create(WS_EX_CONTROLPARENT, kClassName, caption,
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width, height, parent, 0);
}

RECT Panel::innerRect() const
{
    RECT r{};
    GetClientRect(hwnd(), &r);
    if (m_look == Look::Raised)
        InflateRect(&r, -1, -1);
    return r;
}

LRESULT Panel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = defaultProcedure(message, wParam, lParam);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Children that take their background from us get our colour; the
        // top-level window may still choose another (it asks us first).
        if (const LRESULT chosen = SendMessageW(GetAncestor(hwnd(), GA_ROOT), message, wParam, lParam))
            return chosen;
        SetBkColor(reinterpret_cast<HDC>(wParam), m_background);
        return reinterpret_cast<LRESULT>(m_brush.get());
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        return SendMessageW(GetAncestor(hwnd(), GA_ROOT), message, wParam, lParam);
    default:
        return defaultProcedure(message, wParam, lParam);
    }
}

void Panel::paint()
{
    PaintScope paint(hwnd());
    const HDC dc = paint.dc();
    RECT r{};
    GetClientRect(hwnd(), &r);
    FillRect(dc, &r, m_brush.get());

    wchar_t caption[256] = {};
    GetWindowTextW(hwnd(), caption, static_cast<int>(std::size(caption)));
    const SelectObjectScope font(dc, m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));

    if (m_look == Look::Raised) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        if (caption[0]) {
            // A panel's caption, centred; ours are cleared at start.
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        return;
    }

    // A group: the etched frame runs through the middle of the caption line.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = r;
    frame.top = metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption[0])
        return;
    SIZE extent{};
    const int length = static_cast<int>(std::char_traits<wchar_t>::length(caption));
    GetTextExtentPoint32W(dc, caption, length, &extent);
    RECT text{kCaptionLeft, 0, kCaptionLeft + extent.cx, extent.cy};
    FillRect(dc, &text, m_brush.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_captionColour);
    TextOutW(dc, kCaptionLeft, 0, caption, length);
}

} // namespace ui::win32
