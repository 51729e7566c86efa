#include "application.h"

#include "main_window_host.h"
#include "platform/win32/win32_desktop.h"
#include "resources/resource_ids.h"
#include "win32_dialogs.h"

#include <commctrl.h>
#include <objbase.h>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kClassName = L"TApplication";

} // namespace

HWND ApplicationWindow::create()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr,
                  LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELLUMIN)));
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    return Window::create(0, kClassName, ui::kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x,
                          y, 0, 0, nullptr, 0);
}

LRESULT ApplicationWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd())) {
            // The main window (or the box it shows) takes the activation.
            const HWND target = GetLastActivePopup(hwnd());
            if (target && target != hwnd() && IsWindowVisible(target) && IsWindowEnabled(target))
                SetActiveWindow(target);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            const LRESULT result = defaultProcedure(message, wParam, lParam);
            const HWND target = GetLastActivePopup(hwnd());
            if (target && target != hwnd())
                SetActiveWindow(target);
            return result;
        }
        break;
    case WM_CLOSE:
        // Closing from the taskbar closes the main window, like its close box.
        if (const HWND main = GetLastActivePopup(hwnd()); main && main != hwnd())
            PostMessageW(main, WM_CLOSE, 0, 0);
        return 0;
    default:
        break;
    }
    return defaultProcedure(message, wParam, lParam);
}

int runApplication(int showCommand, const std::optional<platform::NamedPath> &startFolder, bool readOnly)
{
    // Screen readers get the window's accessible objects through COM, which
    // this thread must have joined.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct ComScope {
        HRESULT joined;
        ~ComScope()
        {
            if (SUCCEEDED(joined))
                CoUninitialize();
        }
    } comScope{com};

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    ApplicationWindow application;
    const HWND applicationWindow = application.create();
    Win32Dialogs dialogs;
    platform::win32::Win32Desktop desktop;
    dialogs.setOwner(applicationWindow);
    MainWindowHost form(dialogs, desktop);
    if (startFolder)
        form.window().setStartFolder(*startFolder);
    form.window().setReadOnly(readOnly);
    const HWND main = form.create(applicationWindow);
    if (!main)
        return 1;
    dialogs.setOwner(main);
    desktop.setOwner(main);

    const bool minimised =
        showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED;
    ShowWindow(applicationWindow, SW_SHOWNOACTIVATE);
    form.show(minimised ? SW_SHOWNORMAL : showCommand);
    if (minimised)
        ShowWindow(applicationWindow, SW_SHOWMINNOACTIVE);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.translate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The main window is gone; the application window is left for the
    // process's end to take. Destroyed by hand it would be withdrawn from
    // the screen as a window of its own, and under Wine every managed window
    // withdrawn waits up to two seconds for the window manager's answer
    // (all two, under Xvfb or another display without one): closing then took
    // four seconds where a program of one window takes two.
    application.leaveToProcessEnd();
    return static_cast<int>(message.wParam);
}

} // namespace ui::win32
