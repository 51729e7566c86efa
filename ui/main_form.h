#pragma once

#include "ui/form_layout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The window's controls, described once and free of any toolkit, the way a
// resource file describes a dialog: what each one is, where it sits, what it
// says and does. Each front end walks the description and makes its own
// widgets or windows from it, so that both show the same controls in the
// same places with the same texts.
namespace ui::form {

// What the controls are for.
enum class Id {
    Window,
    FolderStrip,
    FolderLabel,
    FolderBox,
    BrowseButton,
    StatusBar,
    CommandPanel,
    DeleteCommand,
    DeleteAllCommand,
    ReloadCommand,
    SearchGroup,
    SearchByFileNameButton,
    SearchByContentButton,
    ClearSearchButton,
    HelpButton,
    VersionButton,
    CloseButton,
    ListArea,
    SearchModeStrip,
    SearchModeLabel,
    Table,
    ContentPanel,
    ContentPane,
    ContentSplitter,
    CommandSplitter,
    ContentTabs,
    CookieView,
    CookieProblem,
    CookieStray,
};
inline constexpr int kIdCount = static_cast<int>(Id::CookieStray) + 1;
inline constexpr int indexOf(Id id)
{
    return static_cast<int>(id);
}

enum class Kind {
    Window,
    Panel,       // a plain area with a raised bevel
    GroupBox,    // an etched frame with a caption
    Label,       // a static text with a sunken border
    CommandText, // a static text that runs a command when clicked
    FolderBox,   // a single-line edit that only shows the folder
    Button,
    StatusBar,   // one simple text and a size grip
    Splitter,    // resizes the docked control beside it
    Grid,        // the result table
    ContentPane, // the read-only text of the last chosen file
    TabStrip,    // a row of tabs that choose what a pane shows, captioned by its tabs
    CookieGrid,  // the decoded cookies of the last chosen file, a read-only table
    Notice,      // one line of text that fills its place, in place of a view with nothing to show
};

// What the lower pane shows, in the order of the tab strip's tabs.
enum class ContentView { Text, Cookies };
inline constexpr int kContentViewCount = 2;

// What a control runs.
enum class Command {
    None,
    Browse,
    Delete,
    DeleteAll,
    Reload,
    SearchByFileName,
    SearchByContent,
    ClearSearch,
    Help,
    Version,
    Close,      // the window's own: closing it ends the program
    RowClicked, // the user made a table row current
};

// When a control takes input.
enum class Enabled {
    Always,
    Never,            // shows only
    WhileFilesListed, // the delete commands: only while files are listed
    WhileSearching,   // the clear-search button: only while a search shows
};

enum class Font {
    Window,  // the window font
    Bold,    // the window font in bold
    Command, // kCommandTextHeight design pixels, bold, italic and underlined
    System,  // the toolkit's own for this kind of control
};

// The height of the command texts' font, in design pixels.
inline constexpr int kCommandTextHeight = 16;

// Colours as 0xRRGGBB; kSystemColour leaves the toolkit's.
inline constexpr std::uint32_t kSystemColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kYellow = 0xFFFF00;
inline constexpr std::uint32_t kBlack = 0x000000;

struct Control {
    Id id;
    Kind kind;
    const char *name; // the object name, which tests and screen readers find it by
    Id parent;
    const char *caption = "";        // UTF-8
    bool placeholder = false;        // the caption is the designer's and is cleared at start
    bool docked = false;             // docked to `dock` with `extent`, or placed at `design`
    Dock dock = Dock::Client;        //
    int extent = 0;                  // its height (Top, Bottom) or width (Left), design pixels
    bool collapses = false;          // a docked strip that takes no room while hidden
    Box design{};                    // in its parent, design pixels
    bool sizedByText = false;        // a label whose size follows its text, not `design`
    const char *hint = "";           // UTF-8
    const char *accessibleName = ""; // UTF-8; what a screen reader calls it, where no text says
    const char *keyName = "";        // the key that runs its command anywhere, as its hint names it
    int tabPosition = 0;             // 1 for the first control Tab visits; 0 for one it never visits
    Command command = Command::None;
    Enabled enabled = Enabled::Always;
    Font font = Font::Window;
    std::uint32_t background = kSystemColour;
    std::uint32_t textColour = kSystemColour;
};

// Every control, parents before their children and the docked children of a
// parent in docking order (the one nearest its edge first), the window
// first.
std::span<const Control> controls();
const Control &control(Id id);

// The controls Tab visits, in its order; disabled ones are passed over.
std::vector<const Control *> tabOrder();

// The docked children of `parent`, in docking order.
std::vector<const Control *> dockedChildren(Id parent);

// The control that runs `command`; the window for one no control runs.
Id controlOf(Command command);

// What a splitter lies between: the docked control before it on its side,
// whose size it sets, and the control that fills the rest of its parent.
struct SplitterNeighbours {
    Id neighbour;
    Id rest;
};
SplitterNeighbours splitterNeighbours(Id splitter);

// A control's hint as the window shows it (CP932): for a command text, with
// the key that runs it. Empty for a control without one.
std::string hintText(const Control &control);

// The caption of `view`'s tab in the lower pane's tab strip (CP932).
std::string contentTabCaption(ContentView view);

// A control's caption in CP932, for the front ends that hold their texts so.
std::string captionCp932(const Control &control);

// The window's client area at its designed size, and its place on the
// screen (not scaled).
inline constexpr int kClientWidth = 688;
inline constexpr int kClientHeight = 446;
inline constexpr int kScreenX = 192;
inline constexpr int kScreenY = 107;

// The picture left of the close button's caption, and the gap between them.
inline constexpr int kDoorSize = 18;
inline constexpr int kPictureGap = 4;

// How long a hint waits and stays up, in milliseconds.
inline constexpr int kHintDelayMs = 500;
inline constexpr int kHintDurationMs = 2500;

// Every control's box in its parent at `scale`, indexed by indexOf(id), for
// a window whose client area is `clientWidth` x `clientHeight` pixels: the
// docked ones as docking lays them out (inside their parent's one-pixel
// bevel), the others at their scaled design boxes (a label sized by its
// text at the size it was designed with). `extents`, where given, holds
// each docked control's extent in pixels by indexOf(id), as the splitters
// and the toolkit have made them, in place of the scaled design's; without
// them, a strip that collapses (Control::collapses) has no room.
std::vector<Box> layOut(const LayoutScale &scale, int clientWidth, int clientHeight, std::span<const int> extents = {});

} // namespace ui::form
