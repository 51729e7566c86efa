#pragma once

#include "platform/filesystem.h"

#include <functional>
#include <optional>
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
    bool readOnly = false; // --read-only: nothing may be deleted
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

// Answers what the options ask for before any window: the help, the version,
// or a usage error with the synopsis, each handed to `tell` (the text, true
// for an error, the exit status it calls for), whose result is the exit
// status. Nothing when the window is to run.
using Tell = std::function<int(const std::string &text, bool isError, int status)>;
std::optional<int> answerWithoutWindow(const WindowOptions &options, const Tell &tell);

// The folder the window lists first: the one named, as the system names it,
// taken as a folder chosen through the browse button; none when none was.
std::optional<platform::NamedPath> startFolderOf(const WindowOptions &options);

} // namespace ui
