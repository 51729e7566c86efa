// The window program's command line: help and version before anything else,
// the folder as given, and the mistakes a script makes refused.

#include "ui/window_options.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Action = ui::WindowOptions::Action;

constexpr std::array<ui::ToolkitOption, 2> kToolkit{{{"-platform", true}, {"-reverse", false}}};

ui::WindowOptions parsed(std::vector<std::string> args)
{
    args.insert(args.begin(), "vellumin");
    return ui::parseWindowOptions(args, kToolkit);
}

TEST(WindowOptions, FolderHelpAndVersion)
{
    EXPECT_EQ(parsed({}).action, Action::Run);
    EXPECT_FALSE(parsed({}).hasFolder);

    const ui::WindowOptions folder = parsed({"/home/taro/cookies"});
    EXPECT_EQ(folder.action, Action::Run);
    EXPECT_TRUE(folder.hasFolder);
    EXPECT_EQ(folder.folder, "/home/taro/cookies");

    // Help wins wherever it stands, even after a mistake's neighbour.
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"/tmp", "--help"}, {"-platform", "offscreen", "-h"}})
        EXPECT_EQ(parsed(args).action, Action::Help) << ::testing::PrintToString(args);
    EXPECT_EQ(parsed({"--version"}).action, Action::Version);
    EXPECT_EQ(ui::windowVersionText(), "vellumin " VELLUMIN_TEST_VERSION "\n");

    const std::string help = ui::windowHelpText();
    EXPECT_EQ(help.rfind(ui::windowUsageText(), 0), 0u);
    EXPECT_NE(help.find("-h, --help"), std::string::npos) << help;
}

TEST(WindowOptions, ReadOnlyGoesWithAFolderInAnyOrderAndOnlyAsAnOption)
{
    EXPECT_FALSE(parsed({"/mnt/c"}).readOnly);
    for (const std::vector<std::string> &args :
         std::vector<std::vector<std::string>>{{"--read-only", "/mnt/c"}, {"/mnt/c", "--read-only"}}) {
        const ui::WindowOptions options = parsed(args);
        EXPECT_EQ(options.action, Action::Run) << options.error;
        EXPECT_TRUE(options.readOnly);
        EXPECT_EQ(options.folder, "/mnt/c");
    }
    // After "--" it is a folder's name; it takes no value.
    const ui::WindowOptions named = parsed({"--", "--read-only"});
    EXPECT_FALSE(named.readOnly);
    EXPECT_EQ(named.folder, "--read-only");
    EXPECT_EQ(parsed({"--read-only=yes"}).action, Action::UsageError);
    EXPECT_NE(ui::windowHelpText().find("--read-only"), std::string::npos);
}

TEST(WindowOptions, DoubleDashEndsTheOptions)
{
    // A folder named like an option, and a lone "-", are folders after "--".
    for (const std::string name : {"--help", "-x", "-", "--"}) {
        const ui::WindowOptions options = parsed({"--", name});
        EXPECT_EQ(options.action, Action::Run) << name;
        EXPECT_EQ(options.folder, name);
    }
    EXPECT_EQ(parsed({"-"}).folder, "-");
}

TEST(WindowOptions, ToolkitOptionsArePassedOverWithTheirValues)
{
    const ui::WindowOptions options = parsed({"-platform", "offscreen", "--reverse", "/tmp/c", "-platform=xcb"});
    EXPECT_EQ(options.action, Action::Run) << options.error;
    EXPECT_EQ(options.folder, "/tmp/c");
    // Without the toolkit's list they are unknown, as on Windows.
    EXPECT_EQ(ui::parseWindowOptions({"vellumin", "-platform", "offscreen"}).action, Action::UsageError);
}

TEST(WindowOptions, MistakesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> wrong = {
        {""}, // an unset variable: never the root folder
        {"--", ""},
        {"--bogus"},
        {"-x", "/tmp"},
        {"--help=yes"},
        {"/tmp", "/var"}, // one folder only
        {"-platform"},    // its value missing
        {"-reverse=yes"}, // takes no value
    };
    for (const std::vector<std::string> &args : wrong) {
        const ui::WindowOptions options = parsed(args);
        EXPECT_EQ(options.action, Action::UsageError) << ::testing::PrintToString(args);
        EXPECT_FALSE(options.error.empty());
        EXPECT_EQ(options.error.find('\n'), std::string::npos);
    }
}

TEST(WindowOptions, HelpVersionAndMistakesAreAnsweredWithoutAWindow)
{
    std::vector<std::string> told;
    const ui::Tell tell = [&told](const std::string &text, bool isError, int status) {
        told.push_back((isError ? "error: " : "") + text);
        return status + 10; // what the program exits with is what telling gives
    };
    EXPECT_EQ(ui::answerWithoutWindow(parsed({"--help"}), tell), 10);
    EXPECT_EQ(ui::answerWithoutWindow(parsed({"--version"}), tell), 10);
    EXPECT_EQ(ui::answerWithoutWindow(parsed({"--bogus"}), tell), 12);
    EXPECT_EQ(ui::answerWithoutWindow(parsed({"/tmp"}), tell), std::nullopt);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0], ui::windowHelpText());
    EXPECT_EQ(told[1], ui::windowVersionText());
    EXPECT_EQ(told[2].rfind("error: vellumin: ", 0), 0u);
    EXPECT_NE(told[2].find(ui::windowUsageText()), std::string::npos);
}

} // namespace
