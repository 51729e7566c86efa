#include "splitter.h"

#include "platform/win32/busy_cursor.h"

#include <algorithm>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"VelluminSplitter";

BrushHandle ditherBrush()
{
    // Every other pixel, in a checkerboard: inverted twice it leaves the
    // screen as it was.
    const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    const BitmapHandle bitmap(CreateBitmap(8, 8, 1, 1, pattern));
    return BrushHandle(CreatePatternBrush(bitmap.get()));
}

} // namespace

Splitter::Splitter(Side side) : m_side(side), m_dither(ditherBrush()), m_drag(side) {}

HWND Splitter::create(HWND parent, int x, int y, int width, int height)
{
    registerClass(kClassName, 0, nullptr, GetSysColorBrush(COLOR_BTNFACE));
    return Window::create(0, kClassName, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, 0);
}

void Splitter::attach(HWND neighbour, HWND rest, std::function<void(int)> resize)
{
    m_neighbour = neighbour;
    m_rest = rest;
    m_resize = std::move(resize);
}

int Splitter::sizeAcross(HWND control) const
{
    RECT r{};
    if (!control || !GetWindowRect(control, &r))
        return 0;
    return m_side == Side::Left ? r.right - r.left : r.bottom - r.top;
}

int Splitter::offsetOf(POINT screen) const
{
    return m_side == Side::Left ? screen.x : screen.y;
}

LRESULT Splitter::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            break;
        if (platform::win32::BusyCursor::active())
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        else
            SetCursor(LoadCursorW(nullptr, m_side == Side::Left ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN:
        beginDrag();
        return 0;
    case WM_MOUSEMOVE:
        if (m_drag.active())
            moveDrag();
        return 0;
    case WM_LBUTTONUP:
        if (m_drag.active())
            endDrag(true);
        return 0;
    case WM_KEYDOWN:
        if (m_drag.active() && wParam == VK_ESCAPE)
            endDrag(false);
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the drag ends without a change.
        if (m_drag.active() && reinterpret_cast<HWND>(lParam) != hwnd())
            endDrag(false);
        return 0;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

void Splitter::beginDrag()
{
    if (!m_neighbour || m_drag.active())
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    m_drag.begin(offsetOf(cursor), IsWindowVisible(m_neighbour) ? sizeAcross(m_neighbour) : 0, sizeAcross(m_rest));
    // The keyboard comes here for the drag, so that Esc can cancel it.
    m_previousFocus = SetFocus(hwnd());
    SetCapture(hwnd());
    toggleBar();
}

void Splitter::moveDrag()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    SplitterDrag moved = m_drag;
    if (!moved.moveTo(offsetOf(cursor)))
        return;
    toggleBar(); // off where it was
    m_drag = moved;
    toggleBar();
}

void Splitter::endDrag(bool apply)
{
    toggleBar();
    const bool resized = m_drag.end(apply);
    if (GetCapture() == hwnd())
        ReleaseCapture();
    if (m_previousFocus && IsWindow(m_previousFocus))
        SetFocus(m_previousFocus);
    m_previousFocus = nullptr;
    if (resized && m_resize)
        m_resize(m_drag.size());
}

void Splitter::toggleBar()
{
    // The bar stands where the splitter will be when the drag ends, drawn
    // over the top-level window's client area and its children.
    const HWND root = GetAncestor(hwnd(), GA_ROOT);
    RECT bar{};
    GetWindowRect(hwnd(), &bar);
    MapWindowPoints(nullptr, root, reinterpret_cast<POINT *>(&bar), 2);
    if (m_side == Side::Left)
        OffsetRect(&bar, m_drag.barShift(), 0);
    else
        OffsetRect(&bar, 0, m_drag.barShift());
    const WindowDc dc(root, nullptr, DCX_CACHE);
    const SelectObjectScope brush(dc.get(), m_dither.get());
    PatBlt(dc.get(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
}

} // namespace ui::win32
