#include "window.h"

#include "platform/wide_text_win32.h"

#include <string>
#include <vector>

namespace ui::win32 {

Window::~Window()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void Window::leaveToProcessEnd()
{
    if (m_hwnd && IsWindow(m_hwnd))
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    m_hwnd = nullptr;
}

void Window::registerClass(const wchar_t *className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = &Window::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.hIcon = icon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

namespace {

// The base procedure of each superclass registered, by class name: as many
// as there are classes of ours (a superclass without its base procedure
// would lose every message its base class handles). Classes are
// registered and windows made on the one window thread.
struct Superclass {
    std::wstring name;
    WNDPROC base;
};

std::vector<Superclass> &superclasses()
{
    static std::vector<Superclass> registered;
    return registered;
}

WNDPROC baseProcedureOf(const wchar_t *className)
{
    for (const Superclass &entry : superclasses())
        if (lstrcmpW(entry.name.c_str(), className) == 0)
            return entry.base;
    return nullptr;
}

} // namespace

void Window::registerSuperclass(const wchar_t *className, const wchar_t *baseClass, UINT extraStyle)
{
    if (baseProcedureOf(className))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(nullptr, baseClass, &windowClass))
        return;
    superclasses().push_back({className, windowClass.lpfnWndProc});
    windowClass.lpfnWndProc = &Window::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.style |= extraStyle;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

HWND Window::create(DWORD exStyle, const wchar_t *className, const char *text, DWORD style, int x, int y, int width,
                    int height, HWND parent, int id)
{
    m_baseProcedure = baseProcedureOf(className);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return CreateWindowExW(exStyle, className, platform::win32::wideFromCp932(text).c_str(), style, x, y, width, height,
                           parent, (style & WS_CHILD) ? menu : nullptr, GetModuleHandleW(nullptr), this);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProcedure(message, wParam, lParam);
}

LRESULT Window::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_baseProcedure)
        return CallWindowProcW(m_baseProcedure, m_hwnd, message, wParam, lParam);
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *created = static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        created->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto *window = reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = window->handleMessage(message, wParam, lParam);
        window->m_hwnd = nullptr;
        return result;
    }
    return window->handleMessage(message, wParam, lParam);
}

} // namespace ui::win32
