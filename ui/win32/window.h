#pragma once

#include <windows.h>

namespace ui::win32 {

// A window of one of our own classes: the class's procedure finds the C++
// object (stored at WM_NCCREATE) and hands it each message. The object must
// outlive its window; the window is destroyed with its parent or by the
// object's destructor.
class Window {
public:
    Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;
    virtual ~Window();

    HWND hwnd() const { return m_hwnd; }

    // Lets go of the window without destroying it: the system destroys it
    // when the process ends.
    void leaveToProcessEnd();

protected:
    // Registers `className` once per process, with our procedure: a class
    // of the wide calls, whose texts are UTF-16 whatever the system's code
    // page.
    static void registerClass(const wchar_t *className, UINT style, HCURSOR cursor, HBRUSH background,
                              HICON icon = nullptr);

    // Registers `className` once per process as a superclass of the system
    // class `baseClass`: a window of it is one of that class to the system
    // and to screen readers, and what handleMessage() leaves goes on to the
    // base class's own procedure.
    static void registerSuperclass(const wchar_t *className, const wchar_t *baseClass, UINT extraStyle);

    // Creates the window, whose messages then come to handleMessage().
    // `text` is CP932.
    HWND create(DWORD exStyle, const wchar_t *className, const char *text, DWORD style, int x, int y, int width,
                int height, HWND parent, int id);

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    WNDPROC m_baseProcedure = nullptr;
};

} // namespace ui::win32
