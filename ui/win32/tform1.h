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
#include "ui/main_form.h"
#include "window.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui::win32 {

// The program's one window, made from the form's description (main_form.h).
// create() builds the controls and runs start(), which lists the default
// cookie folder; a failure there goes to the error box and the window still
// opens. The handlers are the shared
// ones of ui::Commands, each run through Commands::run(), which shows a
// failure in the error box, so that no exception crosses the message loop.
class TForm1 final : public Window, public ui::CommandWindow {
public:
    TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop);
    ~TForm1() override;

    // Creates the window (hidden) owned by `owner`, at its designed place
    // and size, and runs start().
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
    ui::OpenFileDialog &openDialog() override { return m_openDialog; }

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
    HWND createControl(const form::Control &control, HWND parent);
    void applyTabOrder();
    void setUpHints();
    // Lays out the docked children of `parent`, and theirs in turn.
    void layOut(form::Id parent = form::Id::Window);
    void onCommand(int id, int code, HWND control);
    void drawExitButton(const DRAWITEMSTRUCT &item);
    // Shows the content pane's text when the pane is visible and its text
    // changed since it was last shown.
    void syncContentPane();
    // Moves the focus on when the focused control is about to be disabled.
    void keepFocusFrom(HWND control);
    // Enables or disables the controls that follow `rule`.
    void setEnabledWhere(form::Enabled rule, bool enabled);

    HWND controlOf(form::Id id) const { return m_controls[static_cast<std::size_t>(form::indexOf(id))]; }
    // The panel that `id` describes.
    Panel &panel(form::Id id) const;
    HFONT fontFor(form::Font font) const;

    platform::Dialogs &m_dialogs;
    platform::Desktop &m_desktop;
    LayoutScale m_scale;
    listing::CookieListing m_cookies;
    ui::Commands m_commands;
    ui::OpenFileDialog m_openDialog;
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

    // Every control by its place in the form; the window classes of our own
    // (panels, command texts, splitters) owned here, the grid a member.
    std::array<HWND, form::kIdCount> m_controls{};
    std::array<std::unique_ptr<Window>, form::kIdCount> m_ownWindows;
    ResultGrid m_grid;
    // The docked controls' extents, which the splitters change.
    std::array<int, form::kIdCount> m_extents{};
    HWND m_hints = nullptr;
};

} // namespace ui::win32
