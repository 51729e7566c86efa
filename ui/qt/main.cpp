// Vellumin: lists the cookie files of a browser's cookie folder.

#include "application.h"

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

// Help and version go to standard output, a mistake to standard error, with
// no window and no display.
int tell(const std::string &text, bool isError, int status)
{
    std::FILE *stream = isError ? stderr : stdout;
    std::fputs(text.c_str(), stream);
    if (std::fflush(stream) != 0)
        return status == 0 ? 1 : status;
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    const ui::WindowOptions options = ui::parseWindowOptions(platform::commandLineArguments(argc, argv), kQtOptions);
    if (const std::optional<int> status = ui::answerWithoutWindow(options, tell))
        return *status;
    return ui::qt::runApplication(argc, argv, ui::startFolderOf(options), options.readOnly);
}
