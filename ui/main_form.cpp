#include "main_form.h"

#include "platform/cp932.h"

#include <algorithm>

namespace ui::form {
namespace {

// The lower pane's designed height, and its tab strip's, which the panel
// adds to it: the text or the table below the tabs keeps the height it was
// designed with.
constexpr int kContentPaneHeight = 88;
constexpr int kContentTabsHeight = 21;

// The texts are UTF-8 here whatever the front end's own character set.
constexpr Control kControls[] = {
    {.id = Id::Window, .kind = Kind::Window, .name = "mainWindow", .parent = Id::Window, .caption = "Form1"},

    // The folder strip along the top.
    {.id = Id::FolderStrip,
     .kind = Kind::Panel,
     .name = "folderStrip",
     .parent = Id::Window,
     .caption = "拡張用",
     .placeholder = true,
     .docked = true,
     .dock = Dock::Top,
     .extent = 41},
    {.id = Id::FolderLabel,
     .kind = Kind::Label,
     .name = "folderLabel",
     .parent = Id::FolderStrip,
     .caption = "クッキーフォルダ",
     .design = {72, 8, 90, 16},
     .sizedByText = true},
    {.id = Id::FolderBox,
     .kind = Kind::FolderBox,
     .name = "folderBox",
     .parent = Id::FolderStrip,
     .design = {168, 8, 425, 20},
     .enabled = Enabled::Never},
    {.id = Id::BrowseButton,
     .kind = Kind::Button,
     .name = "browseButton",
     .parent = Id::FolderStrip,
     .caption = "参照",
     .design = {600, 8, 75, 25},
     .tabPosition = 1,
     .command = Command::Browse},

    // The status bar along the bottom.
    {.id = Id::StatusBar,
     .kind = Kind::StatusBar,
     .name = "statusBar",
     .parent = Id::Window,
     .docked = true,
     .dock = Dock::Bottom,
     .extent = 19,
     .font = Font::System},

    // The green command column on the left.
    {.id = Id::CommandPanel,
     .kind = Kind::Panel,
     .name = "commandPanel",
     .parent = Id::Window,
     .caption = "Menu",
     .placeholder = true,
     .docked = true,
     .dock = Dock::Left,
     .extent = 137,
     .background = kGreen},
    {.id = Id::DeleteCommand,
     .kind = Kind::CommandText,
     .name = "deleteCommand",
     .parent = Id::CommandPanel,
     .caption = "DELETE      ",
     .design = {16, 32, 101, 20},
     .sizedByText = true,
     .hint = "最後に選択したクッキーファイルを削除します",
     .keyName = "Delete",
     .tabPosition = 2,
     .command = Command::Delete,
     .enabled = Enabled::WhileFilesListed,
     .font = Font::Command,
     .background = kGreen,
     .textColour = kYellow},
    {.id = Id::DeleteAllCommand,
     .kind = Kind::CommandText,
     .name = "deleteAllCommand",
     .parent = Id::CommandPanel,
     .caption = "ALL DELETE",
     .design = {16, 64, 102, 20},
     .sizedByText = true,
     .hint = "全てのクッキーファイルを削除します",
     .keyName = "Shift+Delete",
     .tabPosition = 3,
     .command = Command::DeleteAll,
     .enabled = Enabled::WhileFilesListed,
     .font = Font::Command,
     .background = kGreen,
     .textColour = kYellow},
    {.id = Id::ReloadCommand,
     .kind = Kind::CommandText,
     .name = "reloadCommand",
     .parent = Id::CommandPanel,
     .caption = "ReLoad       ",
     .design = {16, 104, 103, 20},
     .sizedByText = true,
     .hint = "クッキーファイルの再読み込み",
     .keyName = "F5",
     .tabPosition = 4,
     .command = Command::Reload,
     .font = Font::Command,
     .background = kGreen,
     .textColour = kYellow},
    {.id = Id::SearchGroup,
     .kind = Kind::GroupBox,
     .name = "searchGroup",
     .parent = Id::CommandPanel,
     .caption = "検索",
     .design = {16, 152, 105, 121},
     .background = kGreen,
     .textColour = kYellow},
    {.id = Id::SearchByFileNameButton,
     .kind = Kind::Button,
     .name = "searchByFileNameButton",
     .parent = Id::SearchGroup,
     .caption = "ファイル名",
     .design = {16, 16, 75, 25},
     .tabPosition = 8,
     .command = Command::SearchByFileName,
     .textColour = kBlack},
    {.id = Id::SearchByContentButton,
     .kind = Kind::Button,
     .name = "searchByContentButton",
     .parent = Id::SearchGroup,
     .caption = "ファイル内容",
     .design = {16, 48, 75, 25},
     .tabPosition = 9,
     .command = Command::SearchByContent,
     .textColour = kBlack},
    {.id = Id::ClearSearchButton,
     .kind = Kind::Button,
     .name = "clearSearchButton",
     .parent = Id::SearchGroup,
     .caption = "解\u3000除",
     .design = {16, 88, 75, 25},
     .tabPosition = 10,
     .command = Command::ClearSearch,
     .enabled = Enabled::WhileSearching,
     .textColour = kBlack},
    {.id = Id::HelpButton,
     .kind = Kind::Button,
     .name = "helpButton",
     .parent = Id::CommandPanel,
     .caption = "HELP",
     .design = {32, 288, 73, 25},
     .tabPosition = 7,
     .command = Command::Help},
    {.id = Id::VersionButton,
     .kind = Kind::Button,
     .name = "versionButton",
     .parent = Id::CommandPanel,
     .caption = "Version",
     .design = {32, 320, 73, 25},
     .hint = "バージョン情報を表示します",
     .tabPosition = 6,
     .command = Command::Version},
    {.id = Id::CloseButton,
     .kind = Kind::Button,
     .name = "closeButton",
     .parent = Id::CommandPanel,
     .caption = "閉じる(&C)",
     .design = {32, 352, 73, 25},
     .hint = "終了します",
     .tabPosition = 5,
     .command = Command::Close},

    // The list area that fills the rest: search-mode strip, table, content
    // pane and the splitter between them.
    {.id = Id::ListArea,
     .kind = Kind::Panel,
     .name = "listArea",
     .parent = Id::Window,
     .docked = true,
     .dock = Dock::Client},
    {.id = Id::SearchModeStrip,
     .kind = Kind::Panel,
     .name = "searchModeStrip",
     .parent = Id::ListArea,
     .caption = "拡張用",
     .placeholder = true,
     .docked = true,
     .dock = Dock::Top,
     .extent = 32},
    {.id = Id::SearchModeLabel,
     .kind = Kind::Label,
     .name = "searchModeLabel",
     .parent = Id::SearchModeStrip,
     .caption = "stSchModeInfo",
     .placeholder = true,
     .design = {24, 8, 161, 16},
     .font = Font::Bold},
    {.id = Id::Table,
     .kind = Kind::Grid,
     .name = "resultGrid",
     .parent = Id::ListArea,
     .docked = true,
     .dock = Dock::Client,
     .hint = "クッキーファイルの情報",
     .tabPosition = 11,
     .command = Command::RowClicked},
    {.id = Id::ContentPanel,
     .kind = Kind::Panel,
     .name = "contentPanel",
     .parent = Id::ListArea,
     .docked = true,
     .dock = Dock::Bottom,
     .extent = kContentPaneHeight + kContentTabsHeight},
    // The pane's hint is never shown; a screen reader names the pane by it.
    {.id = Id::ContentPane,
     .kind = Kind::ContentPane,
     .name = "contentPane",
     .parent = Id::ContentPanel,
     .docked = true,
     .dock = Dock::Client,
     .accessibleName = "最後に選択したクッキーファイルの内容",
     .tabPosition = 13},
    {.id = Id::ContentSplitter,
     .kind = Kind::Splitter,
     .name = "contentSplitter",
     .parent = Id::ListArea,
     .docked = true,
     .dock = Dock::Bottom,
     .extent = 3},
    {.id = Id::CommandSplitter,
     .kind = Kind::Splitter,
     .name = "commandSplitter",
     .parent = Id::Window,
     .docked = true,
     .dock = Dock::Left,
     .extent = 3},

    // The lower pane's tabs along its top, and the decoded view that the
    // second tab shows in the text's place.
    {.id = Id::ContentTabs,
     .kind = Kind::TabStrip,
     .name = "contentTabs",
     .parent = Id::ContentPanel,
     .docked = true,
     .dock = Dock::Top,
     .extent = kContentTabsHeight,
     .tabPosition = 12},
    {.id = Id::CookieView,
     .kind = Kind::CookieGrid,
     .name = "cookieTable",
     .parent = Id::ContentPanel,
     .docked = true,
     .dock = Dock::Client,
     .accessibleName = "クッキーの内容",
     .tabPosition = 14},
    // Why a file that is not cookie records shows no table.
    {.id = Id::CookieProblem,
     .kind = Kind::Notice,
     .name = "cookieProblem",
     .parent = Id::ContentPanel,
     .docked = true,
     .dock = Dock::Client,
     .tabPosition = 15},
    // Under the table of a file that strays after some whole cookies: where
    // and why. It takes no room while hidden, so the table keeps the pane.
    {.id = Id::CookieStray,
     .kind = Kind::Notice,
     .name = "cookieStray",
     .parent = Id::ContentPanel,
     .docked = true,
     .dock = Dock::Bottom,
     .extent = 20,
     .collapses = true},
};

static_assert(std::size(kControls) == kIdCount, "one entry for every control");

constexpr bool inIdOrder()
{
    for (int i = 0; i < kIdCount; ++i)
        if (indexOf(kControls[i].id) != i)
            return false;
    return true;
}
static_assert(inIdOrder(), "control(id) finds an entry by its place");

} // namespace

std::span<const Control> controls()
{
    return kControls;
}

const Control &control(Id id)
{
    return kControls[indexOf(id)];
}

std::vector<const Control *> tabOrder()
{
    std::vector<const Control *> order;
    for (const Control &entry : kControls)
        if (entry.tabPosition > 0)
            order.push_back(&entry);
    std::sort(order.begin(), order.end(),
              [](const Control *a, const Control *b) { return a->tabPosition < b->tabPosition; });
    return order;
}

std::vector<const Control *> dockedChildren(Id parent)
{
    std::vector<const Control *> children;
    for (const Control &entry : kControls)
        if (entry.docked && entry.parent == parent && entry.id != Id::Window)
            children.push_back(&entry);
    return children;
}

Id controlOf(Command command)
{
    for (const Control &entry : kControls)
        if (entry.command == command && command != Command::None)
            return entry.id;
    return Id::Window;
}

SplitterNeighbours splitterNeighbours(Id splitter)
{
    const Control &bar = control(splitter);
    SplitterNeighbours found{splitter, splitter};
    for (const Control *sibling : dockedChildren(bar.parent)) {
        if (sibling->dock == Dock::Client)
            found.rest = sibling->id;
        else if (sibling->dock == bar.dock && sibling->id != splitter && found.neighbour == splitter)
            found.neighbour = sibling->id;
    }
    return found;
}

std::string hintText(const Control &control)
{
    if (!*control.hint)
        return {};
    std::string hint = platform::cp932::fromUtf8(control.hint);
    // A command's hint names the key that runs it too.
    if (*control.keyName)
        hint += std::string(" (") + control.keyName + ")";
    return hint;
}

std::string contentTabCaption(ContentView view)
{
    return platform::cp932::fromUtf8(view == ContentView::Text ? "テキスト" : "クッキー");
}

std::string captionCp932(const Control &control)
{
    return platform::cp932::fromUtf8(control.caption);
}

std::vector<Box> layOut(const LayoutScale &scale, int clientWidth, int clientHeight, std::span<const int> extents)
{
    std::vector<Box> boxes(kIdCount);
    boxes[indexOf(Id::Window)] = {0, 0, clientWidth, clientHeight};
    for (const Control &entry : kControls) {
        if (entry.id == Id::Window)
            continue;
        if (!entry.docked) {
            boxes[indexOf(entry.id)] = {scale.px(entry.design.x), scale.px(entry.design.y),
                                        scale.px(entry.design.width), scale.px(entry.design.height)};
            continue;
        }
        // The first docked child of a parent lays out all of them.
        const std::vector<const Control *> siblings = dockedChildren(entry.parent);
        if (siblings.front() != &entry)
            continue;
        const Box &parent = boxes[indexOf(entry.parent)];
        // Inside a panel's bevel; the window has none.
        const int bevel = entry.parent == Id::Window ? 0 : 1;
        std::vector<DockedStrip> strips;
        // A strip that collapses is hidden, and without room, until shown.
        for (const Control *sibling : siblings)
            strips.push_back({sibling->dock, extents.empty()
                                                 ? (sibling->collapses ? 0 : scale.px(sibling->extent))
                                                 : extents[static_cast<std::size_t>(indexOf(sibling->id))]});
        const std::vector<Box> docked = dockBoxes(
            {bevel, bevel, std::max(parent.width - 2 * bevel, 0), std::max(parent.height - 2 * bevel, 0)}, strips);
        for (std::size_t i = 0; i < siblings.size(); ++i)
            boxes[indexOf(siblings[i]->id)] = docked[i];
    }
    return boxes;
}

} // namespace ui::form
