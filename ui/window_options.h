#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// An option of the window toolkit's own (Qt's -platform, -style...), which
// the toolkit takes out of the command line itself: passed over here, with
// its value when it takes one.
struct ToolkitOption {
    std::string_view name; // with one dash; "--name" is taken as well
    bool takesValue = false;
};

// What the window program's command line asks for: vellumin [FOLDER],
// vellumin --help, vellumin --version.
struct WindowOptions {
    enum class Action { Run, Help, Version, UsageError };

    Action action = Action::Run;
    std::string error;  // one line, for Action::UsageError
    std::string folder; // native, as given; empty: the folder found at the start
    bool hasFolder = false;
};

// Reads the arguments (the program's own name first, as native strings).
// "--" ends the options, so that a folder whose name starts with "-" can be
// named; an unknown option, a second folder and an empty folder name (an
// unset variable in a script) are usage errors.
WindowOptions parseWindowOptions(const std::vector<std::string> &arguments,
                                 std::span<const ToolkitOption> toolkitOptions = {});

// The one-line synopsis, ending in a line break.
std::string windowUsageText();

// The synopsis with every option explained, ending in a line break, and
// where the manual is: vellumin(1) on Linux, README.TXT on Windows.
std::string windowHelpText();

// "vellumin 1.30", ending in a line break.
std::string windowVersionText();

} // namespace ui
