// The window's form as both front ends build it: its texts, its Tab order,
// its hints and commands, and boxes that never overlap at any density.

#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::Box;
using ui::form::Command;
using ui::form::Control;
using ui::form::Id;

std::string nameOf(Id id)
{
    return ui::form::control(id).name;
}

TEST(MainForm, ControlsTheirParentsAndCaptions)
{
    // name, parent, caption as the user sees it once the placeholders are
    // cleared.
    const std::vector<std::vector<std::string>> expected = {
        {"mainWindow", "mainWindow", "Form1"},
        {"folderStrip", "mainWindow", ""},
        {"folderLabel", "folderStrip", "クッキーフォルダ"},
        {"folderBox", "folderStrip", ""},
        {"browseButton", "folderStrip", "参照"},
        {"statusBar", "mainWindow", ""},
        {"commandPanel", "mainWindow", ""},
        {"deleteCommand", "commandPanel", "DELETE      "},
        {"deleteAllCommand", "commandPanel", "ALL DELETE"},
        {"reloadCommand", "commandPanel", "ReLoad       "},
        {"searchGroup", "commandPanel", "検索"},
        {"searchByFileNameButton", "searchGroup", "ファイル名"},
        {"searchByContentButton", "searchGroup", "ファイル内容"},
        {"clearSearchButton", "searchGroup", "解\u3000除"},
        {"helpButton", "commandPanel", "HELP"},
        {"versionButton", "commandPanel", "Version"},
        {"closeButton", "commandPanel", "閉じる(&C)"},
        {"listArea", "mainWindow", ""},
        {"searchModeStrip", "listArea", ""},
        {"searchModeLabel", "searchModeStrip", ""},
        {"resultGrid", "listArea", ""},
        {"contentPanel", "listArea", ""},
        {"contentPane", "contentPanel", ""},
        {"contentSplitter", "listArea", ""},
        {"commandSplitter", "mainWindow", ""},
        {"contentTabs", "contentPanel", ""},
        {"cookieTable", "contentPanel", ""},
        {"cookieProblem", "contentPanel", ""},
        {"cookieStray", "contentPanel", ""},
    };
    std::vector<std::vector<std::string>> actual;
    for (const Control &control : ui::form::controls())
        actual.push_back(
            {control.name, nameOf(control.parent), control.placeholder ? std::string() : std::string(control.caption)});
    EXPECT_EQ(actual, expected);
    // Each found by its id, and every name once.
    std::set<std::string> names;
    for (const Control &control : ui::form::controls()) {
        EXPECT_EQ(&ui::form::control(control.id), &control) << control.name;
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
    }
    // The captions a front end holds in CP932 convert whole.
    EXPECT_EQ(ui::form::captionCp932(ui::form::control(Id::ClearSearchButton)), "\x89\xf0\x81\x40\x8f\x9c");
}

TEST(MainForm, TabOrderCommandsAndEnabledRules)
{
    std::vector<std::string> order;
    for (const Control *control : ui::form::tabOrder())
        order.push_back(control->name);
    EXPECT_EQ(order, (std::vector<std::string>{"browseButton", "deleteCommand", "deleteAllCommand", "reloadCommand",
                                               "closeButton", "versionButton", "helpButton", "searchByFileNameButton",
                                               "searchByContentButton", "clearSearchButton", "resultGrid",
                                               "contentTabs", "contentPane", "cookieTable", "cookieProblem"}));

    // Every command has one control, and a control that runs one can be
    // reached with Tab.
    std::map<Command, int> commands;
    for (const Control &control : ui::form::controls()) {
        if (control.command == Command::None)
            continue;
        ++commands[control.command];
        EXPECT_GT(control.tabPosition, 0) << control.name;
    }
    EXPECT_EQ(commands.size(), 11U);
    for (const auto &[command, count] : commands)
        EXPECT_EQ(count, 1) << static_cast<int>(command);

    // Only the delete commands wait for files, only the clear-search button
    // for a search, and the folder box only shows.
    std::map<ui::form::Enabled, std::set<std::string>> rules;
    for (const Control &control : ui::form::controls())
        rules[control.enabled].insert(control.name);
    EXPECT_EQ(rules[ui::form::Enabled::WhileFilesListed], (std::set<std::string>{"deleteCommand", "deleteAllCommand"}));
    EXPECT_EQ(rules[ui::form::Enabled::WhileSearching], (std::set<std::string>{"clearSearchButton"}));
    EXPECT_EQ(rules[ui::form::Enabled::Never], (std::set<std::string>{"folderBox"}));
}

TEST(MainForm, HintsOnlyOnTheirSixControlsAndTheCommandsNameTheirKeys)
{
    std::map<std::string, std::string> hints;
    for (const Control &control : ui::form::controls())
        if (!ui::form::hintText(control).empty())
            hints[control.name] = ui::form::hintText(control);
    // CP932, as the windows show them.
    EXPECT_EQ(
        hints,
        (std::map<std::string, std::string>{
            {"deleteCommand", "\x8d\xc5\x8c\xe3\x82\xc9\x91\x49\x91\xf0\x82\xb5\x82\xbd\x83\x4e\x83\x62\x83\x4c"
                              "\x81\x5b\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xdc"
                              "\x82\xb7 (Delete)"},
            {"deleteAllCommand", "\x91\x53\x82\xc4\x82\xcc\x83\x4e\x83\x62\x83\x4c\x81\x5b\x83\x74\x83\x40"
                                 "\x83\x43\x83\x8b\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xdc\x82\xb7 (Shift+Delete)"},
            {"reloadCommand", "\x83\x4e\x83\x62\x83\x4c\x81\x5b\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8d\xc4"
                              "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd (F5)"},
            {"versionButton", "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x82\xf0\x95\x5c\x8e"
                              "\xa6\x82\xb5\x82\xdc\x82\xb7"},
            {"closeButton", "\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7"},
            {"resultGrid", "\x83\x4e\x83\x62\x83\x4c\x81\x5b\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8f\xee"
                           "\x95\xf1"},
        }));
}

// Whether two boxes share a pixel.
bool overlap(const Box &a, const Box &b)
{
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

TEST(MainForm, NoTwoControlsOverlapAndEachLiesInItsParentAtAnyDensity)
{
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const ui::LayoutScale scale(dpi);
        const std::vector<Box> boxes =
            ui::form::layOut(scale, scale.px(ui::form::kClientWidth), scale.px(ui::form::kClientHeight));
        const auto controls = ui::form::controls();
        for (const Control &control : controls) {
            if (control.id == Id::Window)
                continue;
            const Box &box = boxes[ui::form::indexOf(control.id)];
            const Box &parent = boxes[ui::form::indexOf(control.parent)];
            EXPECT_GT(box.width, 0) << control.name;
            EXPECT_GT(box.height, control.collapses ? -1 : 0) << control.name; // hidden until shown
            EXPECT_GE(box.x, 0) << control.name;
            EXPECT_GE(box.y, 0) << control.name;
            EXPECT_LE(box.right(), parent.width) << control.name;
            EXPECT_LE(box.bottom(), parent.height) << control.name;
            for (const Control &other : controls) {
                if (&other <= &control || other.parent != control.parent || other.id == Id::Window)
                    continue;
                // The views that fill the same place in turn.
                if (control.docked && other.docked && control.dock == ui::Dock::Client &&
                    other.dock == ui::Dock::Client)
                    continue;
                EXPECT_FALSE(overlap(box, boxes[ui::form::indexOf(other.id)])) << control.name << " and " << other.name;
            }
        }
    }
}

TEST(MainForm, DockedControlsFillTheDesignedWindow)
{
    const std::vector<Box> boxes = ui::form::layOut(ui::LayoutScale(96), 688, 446);
    const auto at = [&boxes](Id id) { return boxes[ui::form::indexOf(id)]; };
    EXPECT_EQ(at(Id::FolderStrip), (Box{0, 0, 688, 41}));
    EXPECT_EQ(at(Id::StatusBar), (Box{0, 427, 688, 19}));
    EXPECT_EQ(at(Id::CommandPanel), (Box{0, 41, 137, 386}));
    EXPECT_EQ(at(Id::CommandSplitter), (Box{137, 41, 3, 386}));
    EXPECT_EQ(at(Id::ListArea), (Box{140, 41, 548, 386}));
    // Inside the list area's bevel of one pixel.
    EXPECT_EQ(at(Id::SearchModeStrip), (Box{1, 1, 546, 32}));
    // The lower panel: the pane's designed 88 pixels and the tab strip's 21
    // above them, so that the text keeps its height inside the bevel.
    EXPECT_EQ(at(Id::ContentPanel), (Box{1, 385 - 109, 546, 109}));
    EXPECT_EQ(at(Id::ContentSplitter), (Box{1, 385 - 109 - 3, 546, 3}));
    EXPECT_EQ(at(Id::Table), (Box{1, 33, 546, 385 - 109 - 3 - 33}));
    // The tab strip along the pane's top, the views sharing the rest.
    EXPECT_EQ(at(Id::ContentTabs), (Box{1, 1, 544, 21}));
    EXPECT_EQ(at(Id::ContentPane), (Box{1, 22, 544, 86}));
    EXPECT_EQ(at(Id::CookieView), at(Id::ContentPane));
    EXPECT_EQ(at(Id::CookieProblem), at(Id::ContentPane));
    // The line under the cookies of a file that strays takes no room until
    // it is shown; then it takes its own along the bottom, under the table.
    EXPECT_EQ(at(Id::CookieStray).height, 0);
    std::vector<int> extents;
    for (const Control &control : ui::form::controls())
        extents.push_back(control.extent);
    const std::vector<Box> shown = ui::form::layOut(ui::LayoutScale(96), 688, 446, extents);
    EXPECT_EQ(shown[ui::form::indexOf(Id::CookieStray)], (Box{1, 22 + 86 - 20, 544, 20}));
    EXPECT_EQ(shown[ui::form::indexOf(Id::CookieView)], (Box{1, 22, 544, 86 - 20}));
}

TEST(MainForm, TheSplitterSizesTheLowerPanelTabsAndAll)
{
    // As the splitter and the toolkit give the extents: the panel at its
    // dragged size, the tabs keeping theirs and the view taking the rest,
    // down to nothing when the panel is dragged shut.
    std::vector<int> extents(ui::form::kIdCount);
    for (const ui::form::Control &control : ui::form::controls())
        extents[static_cast<std::size_t>(ui::form::indexOf(control.id))] = control.extent;
    // The line under the cookies of a file that strays is not shown.
    extents[static_cast<std::size_t>(ui::form::indexOf(Id::CookieStray))] = 0;
    const auto at = [](const std::vector<Box> &boxes, Id id) { return boxes[ui::form::indexOf(id)]; };
    const std::size_t panel = static_cast<std::size_t>(ui::form::indexOf(Id::ContentPanel));
    for (const int dragged : {200, 60, 0}) {
        extents[panel] = dragged;
        const std::vector<Box> boxes = ui::form::layOut(ui::LayoutScale(96), 688, 446, extents);
        EXPECT_EQ(at(boxes, Id::ContentPanel).height, dragged);
        EXPECT_EQ(at(boxes, Id::Table).bottom(), 385 - dragged - 3) << dragged;
        EXPECT_EQ(at(boxes, Id::ContentPane).height, std::max(dragged - 2 - 21, 0)) << dragged;
    }
    // At twice the density both grow alike.
    const std::vector<Box> doubled = ui::form::layOut(ui::LayoutScale(192), 1376, 892);
    EXPECT_EQ(at(doubled, Id::ContentTabs).height, 42);
    EXPECT_EQ(at(doubled, Id::ContentPane).height, 176 - 2);
}

} // namespace
