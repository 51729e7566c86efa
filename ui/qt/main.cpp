// Vellumin: lists the cookie files of a browser's cookie folder.

#include "application.h"

#include "listing/program_state.h"
#include "platform/command_line.h"
#include "ui/window_options.h"

#include <array>
#include <cstdio>
#include <optional>

namespace {

// Qt's own options, which QApplication takes out of the command line.
constexpr std::array<ui::ToolkitOption, 20> kQtOptions{{
    {"-platform", true},        {"-platformpluginpath", true},
    {"-platformtheme", true},   {"-plugin", true},
    {"-qwindowgeometry", true}, {"-qwindowicon", true},
    {"-qwindowtitle", true},    {"-geometry", true},
    {"-title", true},           {"-icon", true},
    {"-display", true},         {"-name", true},
    {"-session", true},         {"-style", true},
    {"-stylesheet", true},      {"-reverse", false},
    {"-widgetcount", false},    {"-nograb", false},
    {"-dograb", false},         {"-sync", false},
}};

// Help and version go to standard output, with no window and no display.
int print(const std::string &text, std::FILE *stream, int status)
{
    std::fputs(text.c_str(), stream);
    if (std::fflush(stream) != 0)
        return status == 0 ? 1 : status;
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    const ui::WindowOptions options = ui::parseWindowOptions(platform::commandLineArguments(argc, argv), kQtOptions);
    switch (options.action) {
    case ui::WindowOptions::Action::Help:
        return print(ui::windowHelpText(), stdout, 0);
    case ui::WindowOptions::Action::Version:
        return print(ui::windowVersionText(), stdout, 0);
    case ui::WindowOptions::Action::UsageError:
        return print("vellumin: " + options.error + "\n" + ui::windowUsageText(), stderr, 2);
    case ui::WindowOptions::Action::Run:
        break;
    }
    std::optional<platform::NamedPath> startFolder;
    if (options.hasFolder)
        startFolder = listing::cookieFolderNamed(options.folder);
    return ui::qt::runApplication(argc, argv, startFolder);
}
