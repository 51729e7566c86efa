#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

namespace ui::win32 {

// Owns a GDI object (font, brush, pen, bitmap) and deletes it.
struct GdiObjectDeleter {
    void operator()(void *object) const
    {
        if (object)
            DeleteObject(static_cast<HGDIOBJ>(object));
    }
};
template <typename Handle> using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;
using PenHandle = GdiObject<HPEN>;

// Selects an object into a device context for the scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(m_dc, m_previous); }
    SelectObjectScope(const SelectObjectScope &) = delete;
    SelectObjectScope &operator=(const SelectObjectScope &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A device context from GetDC or GetDCEx, released at the end of the scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, HRGN clip = nullptr, DWORD flags = 0)
        : m_hwnd(hwnd), m_dc(flags ? GetDCEx(hwnd, clip, flags) : GetDC(hwnd))
    {}
    ~WindowDc() { ReleaseDC(m_hwnd, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint and EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_paint); }
    ~PaintScope() { EndPaint(m_hwnd, &m_paint); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;
    HDC dc() const { return m_dc; }
    const RECT &area() const { return m_paint.rcPaint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// An off-screen bitmap of a window's size to draw into, copied to the
// window at the end of the scope: the grid repaints without flicker.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT &area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint &) = delete;
    BufferedPaint &operator=(const BufferedPaint &) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

inline BufferedPaint::BufferedPaint(HDC target, const RECT &area) : m_target(target), m_area(area)
{
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top);
    m_previous = SelectObject(m_dc, m_bitmap);
    SetWindowOrgEx(m_dc, area.left, area.top, nullptr);
}

inline BufferedPaint::~BufferedPaint()
{
    SetWindowOrgEx(m_dc, 0, 0, nullptr);
    BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top, m_dc, 0, 0,
           SRCCOPY);
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

// Paints a window's whole client area without flicker: BeginPaint, an
// off-screen buffer of the client area filled with the window colour, and
// `font` (the default GUI font when null) selected into it; copied to the
// window at the end of the scope. dc() is null when the area is empty.
class ClientPaint {
public:
    ClientPaint(HWND hwnd, HFONT font) : m_paint(hwnd)
    {
        GetClientRect(hwnd, &m_client);
        if (m_client.right <= 0 || m_client.bottom <= 0)
            return;
        m_buffer.emplace(m_paint.dc(), m_client);
        FillRect(m_buffer->dc(), &m_client, GetSysColorBrush(COLOR_WINDOW));
        m_font.emplace(m_buffer->dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    }
    HDC dc() const { return m_buffer ? m_buffer->dc() : nullptr; }
    const RECT &client() const { return m_client; }

private:
    PaintScope m_paint;
    RECT m_client{};
    std::optional<BufferedPaint> m_buffer;
    std::optional<SelectObjectScope> m_font;
};

} // namespace ui::win32
