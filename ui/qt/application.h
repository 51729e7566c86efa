#pragma once

#include "platform/filesystem.h"

#include <optional>

namespace ui::qt {

// Prepares the running QApplication for the window: its title "Vellumin",
// its icon, the Windows look and colours, the hint delay, and the mapping
// of the window's font to the installed stand-in.
void setUpApplication();

// The program: sets up the application, creates and shows the window and
// runs the event loop until the window closes. `startFolder` (vellumin
// FOLDER) is listed instead of the default one when there is one; with
// `readOnly` (--read-only) nothing may be deleted. `argv`
// still holds Qt's own options, which QApplication takes.
int runApplication(int &argc, char **argv, const std::optional<platform::NamedPath> &startFolder,
                   bool readOnly = false);

} // namespace ui::qt
