#include "window_options.h"

#include "listing/program_state.h"

#include "vellumin_version.h"

namespace ui {
namespace {

WindowOptions usageError(std::string text)
{
    WindowOptions options;
    options.action = WindowOptions::Action::UsageError;
    options.error = std::move(text);
    return options;
}

// The toolkit option `arg` names, if any; `inlineValue` tells whether its
// value came with it ("-style=fusion").
const ToolkitOption *toolkitOption(std::string_view arg, std::span<const ToolkitOption> toolkitOptions,
                                   bool &inlineValue)
{
    if (arg.starts_with("--"))
        arg.remove_prefix(1);
    const std::size_t equals = arg.find('=');
    inlineValue = equals != std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    for (const ToolkitOption &option : toolkitOptions) {
        if (option.name == name && (option.takesValue || !inlineValue))
            return &option;
    }
    return nullptr;
}

} // namespace

std::string windowUsageText()
{
    return "usage: vellumin [-h | --help | --version] [--read-only] [--] [FOLDER]\n";
}

std::string windowHelpText()
{
    std::string text = windowUsageText();
#ifdef _WIN32
    // Shown in a box, in a proportional font that wraps by itself: one line
    // a paragraph, no columns.
    text += "\n"
            "Opens the Vellumin window, which lists the cookie files (*.txt) of a cookie folder, shows the "
            "selected file's text and deletes files after a question. FOLDER is listed instead of the cookie "
            "folder found at the start, as if chosen through the browse button.\n"
            "\n"
            "-h, --help: show this help and exit\n"
            "--version: show the version and exit\n"
            "--read-only: DELETE and ALL DELETE stay disabled, for a disk that must not change\n"
            "--: the end of the options; FOLDER may start with \"-\"\n"
            "\n"
            "See README.TXT beside the program.\n";
#else
    text += "\n"
            "Opens the Vellumin window, which lists the cookie files (*.txt) of a cookie folder,\n"
            "shows the selected file's text and deletes files after a question. FOLDER is listed\n"
            "instead of the cookie folder found at the start, as if chosen through the browse button.\n"
            "\n"
            "  -h, --help   show this help and exit\n"
            "  --version    show the version and exit\n"
            "  --read-only  DELETE and ALL DELETE stay disabled, for a disk that must not change\n"
            "  --           end of the options: FOLDER may start with \"-\"\n"
            "\n"
            "Qt's own options (-platform, -style and the like) are passed to Qt.\n"
            "See vellumin(1).\n";
#endif
    return text;
}

std::string windowVersionText()
{
    return "vellumin " VELLUMIN_VERSION "\n";
}

WindowOptions parseWindowOptions(const std::vector<std::string> &arguments,
                                 std::span<const ToolkitOption> toolkitOptions)
{
    WindowOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // An empty name would list the root folder ("" is the root to
            // the listing): an unset variable in a script, never meant.
            if (arg.empty())
                return usageError("the folder name is empty");
            if (options.hasFolder)
                return usageError("more than one folder: '" + arg + "'");
            options.folder = arg;
            options.hasFolder = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.action = WindowOptions::Action::Help;
            return options;
        }
        if (arg == "--version") {
            options.action = WindowOptions::Action::Version;
            return options;
        }
        if (arg == "--read-only") {
            options.readOnly = true;
            continue;
        }
        bool inlineValue = false;
        if (const ToolkitOption *option = toolkitOption(arg, toolkitOptions, inlineValue)) {
            if (option->takesValue && !inlineValue && ++i >= arguments.size())
                return usageError("option '" + arg + "' needs a value");
            continue;
        }
        return usageError("unknown option '" + arg + "'");
    }
    return options;
}

std::optional<int> answerWithoutWindow(const WindowOptions &options, const Tell &tell)
{
    switch (options.action) {
    case WindowOptions::Action::Help:
        return tell(windowHelpText(), false, 0);
    case WindowOptions::Action::Version:
        return tell(windowVersionText(), false, 0);
    case WindowOptions::Action::UsageError:
        return tell("vellumin: " + options.error + "\n" + windowUsageText(), true, 2);
    case WindowOptions::Action::Run:
        break;
    }
    return std::nullopt;
}

std::optional<platform::NamedPath> startFolderOf(const WindowOptions &options)
{
    if (!options.hasFolder)
        return std::nullopt;
    return listing::cookieFolderNamed(options.folder);
}

} // namespace ui
