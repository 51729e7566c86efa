#include "window.h"

namespace ui::win32 {

Window::~Window()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void Window::registerClass(const char *className, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &existing))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = &Window::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.hIcon = icon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
}

namespace {

// The base procedures of the superclasses, by class name.
struct Superclass {
    const char *name;
    WNDPROC base;
};
Superclass g_superclasses[4];

WNDPROC baseProcedureOf(const char *className)
{
    for (const Superclass &entry : g_superclasses)
        if (entry.name && lstrcmpA(entry.name, className) == 0)
            return entry.base;
    return nullptr;
}

} // namespace

void Window::registerSuperclass(const char *className, const char *baseClass, UINT extraStyle)
{
    if (baseProcedureOf(className))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(nullptr, baseClass, &windowClass))
        return;
    for (Superclass &entry : g_superclasses) {
        if (!entry.name) {
            entry = {className, windowClass.lpfnWndProc};
            break;
        }
    }
    windowClass.lpfnWndProc = &Window::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.style |= extraStyle;
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
}

HWND Window::create(DWORD exStyle, const char *className, const char *text, DWORD style, int x, int y, int width,
                    int height, HWND parent, int id)
{
    m_baseProcedure = baseProcedureOf(className);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                           (style & WS_CHILD) ? menu : nullptr, GetModuleHandleA(nullptr), this);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultProcedure(message, wParam, lParam);
}

LRESULT Window::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_baseProcedure)
        return CallWindowProcA(m_baseProcedure, m_hwnd, message, wParam, lParam);
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *created = static_cast<Window *>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams);
        created->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto *window = reinterpret_cast<Window *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = window->handleMessage(message, wParam, lParam);
        window->m_hwnd = nullptr;
        return result;
    }
    return window->handleMessage(message, wParam, lParam);
}

} // namespace ui::win32
