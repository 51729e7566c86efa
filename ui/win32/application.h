#pragma once

#include "window.h"

#include "platform/filesystem.h"

#include <optional>

namespace ui::win32 {

// The application's own window: of no size, it carries the title
// "Vellumin" and the program's icon on the taskbar, and owns the main
// window, which therefore has no taskbar button of its own. Minimising the
// main window minimises the application (which hides the window it owns);
// restoring or activating it from the taskbar brings the main window back.
class ApplicationWindow : public Window {
public:
    HWND create();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The program: the application window, the main window shown with
// `showCommand` (maximised for SW_SHOWMAXIMIZED, minimised for
// SW_SHOWMINNOACTIVE), and the message loop until the main window closes.
// The main window lists `startFolder` first when there is one.
// With `readOnly` nothing may be deleted (MainWindow::setReadOnly()).
int runApplication(int showCommand, const std::optional<platform::NamedPath> &startFolder = std::nullopt,
                   bool readOnly = false);

} // namespace ui::win32
