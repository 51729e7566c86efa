#pragma once

namespace ui::qt {

// Prepares the running QApplication for the window: its title "Vellumin",
// its icon, the Windows look and colours, the hint delay, and the mapping
// of the window's font to the installed stand-in.
void setUpApplication();

// The program: sets up the application, creates and shows the window and
// runs the event loop until the window closes. A folder given as the one
// argument (vellumin FOLDER) is listed instead of the default one.
int runApplication(int &argc, char **argv);

} // namespace ui::qt
