#pragma once

#include "command_text.h"
#include "fonts.h"
#include "layout.h"
#include "listing/cookie_listing.h"
#include "panel.h"
#include "platform/win32/busy_cursor.h"
#include "result_grid.h"
#include "splitter.h"
#include "ui/commands.h"
#include "ui/keyboard_access.h"
#include "window.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui::win32 {

// The program's one window. create() builds the controls and runs
// FormCreate, which lists the default cookie folder; a failure there goes to
// the error box and the window still opens. The handlers are the shared
// ones of ui::Commands, each run through Commands::run(), which shows a
// failure in the error box, so that no exception crosses the message loop.
class TForm1 final : public Window, public ui::CommandWindow {
public:
    TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop);
    ~TForm1() override;

    // Creates the window (hidden) owned by `owner`, at its designed place
    // and size, and runs FormCreate.
    HWND create(HWND owner = nullptr);

    // Shows the window with a show command (SW_SHOWMAXIMIZED,
    // SW_SHOWMINNOACTIVE, or anything else for its designed place), with the
    // focus on the browse button.
    void show(int showCommand);

    // The window's share of the message loop: Enter on the focused button,
    // Tab out of the content pane, Alt+C, and the dialog keys. True when the
    // message was handled.
    bool translate(MSG &message);

    listing::CookieListing &cookies() { return m_cookies; }
    ResultGrid &grid() { return m_grid; }
    const LayoutScale &layoutScale() const { return m_scale; }

    // The status bar's text.
    std::string statusText() const;
    // The content pane's text as the control shows it.
    std::string contentPaneShownText() const;

    ui::Commands &commands() { return m_commands; }
    // Runs one of the shared handlers as its control does.
    void run(void (ui::Commands::*handler)());

    // listing::ListingView
    void setStatusText(const std::string &text) override;
    void setBusyCursor(bool busy) override;
    void setTableVisible(bool visible) override;
    void setContentPaneVisible(bool visible) override;
    void setDeleteCommandsEnabled(bool enabled) override;
    void setCaption(const std::string &caption) override;
    void setFolderText(const std::string &text) override;
    void setSearchModeLabel(const std::string &text) override;
    void setClearSearchEnabled(bool enabled) override;
    void tableChanged() override;
    int tableFontPointSize() const override;

    // ui::CommandWindow
    int currentTableRow() const override;
    void focusTableRow(int row) override;
    ui::OpenFileDialog &openDialog() override { return m_OpenDialog1; }

    // Runs a painted command as a click on it would: not while it is
    // disabled.
    void runPaintedCommand(keyboard::PaintedCommand command);
    std::string programFolder() const override;
    void contentPaneChanged() override;
    void clearPlaceholders() override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildControls();
    void applyTabOrder();
    HWND pushButton(HWND parent, int id, const char *name, const char *text, int x, int y, int width, int height,
                    DWORD extraStyle = 0);
    void setUpHints();
    void layOut();
    void layOutPanel3();
    void onCommand(int id, int code, HWND control);
    void drawExitButton(const DRAWITEMSTRUCT &item);
    // Shows the content pane's text when the pane is visible and its text
    // changed since it was last shown.
    void syncContentPane();
    // Moves the focus on when the focused control is about to be disabled.
    void keepFocusFrom(HWND control);

    platform::Dialogs &m_dialogs;
    platform::Desktop &m_desktop;
    LayoutScale m_scale;
    listing::CookieListing m_cookies;
    ui::Commands m_commands;
    ui::OpenFileDialog m_OpenDialog1;
    std::optional<platform::win32::BusyCursor> m_busy;
    std::uint64_t m_shownRevision = 0;
    std::string m_statusText;
    HWND m_lastFocus = nullptr;

    FontHandle m_font;
    FontHandle m_boldFont;
    FontHandle m_commandFont;
    BitmapHandle m_door;
    BitmapHandle m_doorDisabled;
    BrushHandle m_windowBrush;

    // Sizes the user may change with the splitters.
    int m_menuWidth = 0;
    int m_contentHeight = 0;

    Panel m_pnlToolBtn;
    Panel m_pnlMenu;
    Panel m_GroupBox1;
    Panel m_Panel3;
    Panel m_pnlSelPcLoginName;
    Panel m_Panel4;
    CommandText m_stDelete;
    CommandText m_stAllDelete;
    CommandText m_stReLoad;
    Splitter m_Splitter1;
    Splitter m_Splitter2;
    ResultGrid m_grid;

    HWND m_StaticText1 = nullptr;
    HWND m_edInPath = nullptr;
    HWND m_bbtnInPathSet = nullptr;
    HWND m_StatusBar1 = nullptr;
    HWND m_bbtnSch_Fname = nullptr;
    HWND m_bbtnSch_Memo = nullptr;
    HWND m_bbtnSch_Exit = nullptr;
    HWND m_bbtnHelp = nullptr;
    HWND m_bbtnVersion = nullptr;
    HWND m_bbtnExit = nullptr;
    HWND m_stSchModeInfo = nullptr;
    HWND m_grdMain = nullptr;
    HWND m_riedRead_OneCookies = nullptr;
    HWND m_hints = nullptr;
};

} // namespace ui::win32
