#pragma once

#include "listing/cookie_listing.h"
#include "listing/cookie_table.h"
#include "ui/commands.h"
#include "ui/keyboard_access.h"
#include "ui/main_form.h"
#include "ui/window_host.h"

#include <array>
#include <cstdint>
#include <string>

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui {

// The program's one window, free of any toolkit: it owns the cookie listing
// and the commands, and holds every rule of the window (what is enabled,
// what the placeholders say, which key runs what, where the focus goes, when
// the content pane is shown anew). A toolkit's host makes the controls and
// forwards its events here; this class reaches the controls only through
// the host's primitives, by their form ids.
class MainWindow final : public CommandWindow {
public:
    MainWindow(WindowHost &host, platform::Dialogs &dialogs, platform::Desktop &desktop);

    listing::CookieListing &cookies() { return m_cookies; }
    const listing::CookieListing &cookies() const { return m_cookies; }
    Commands &commands() { return m_commands; }

    // The folder listed at the start instead of the default one.
    void setStartFolder(platform::NamedPath folder) { m_commands.setStartFolder(std::move(folder)); }

    // Read-only: for a disk that must not change (another system's volume,
    // a copy kept as evidence). DELETE and ALL DELETE stay disabled, with
    // their keys, whatever is listed, and the caption says so. Set before
    // start().
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }

    // The creation handler, once the host has made its controls: clears the
    // placeholders and lists the folder. `tableFontPointSize` is the table
    // font's size in points, which sizes the columns after every scan.
    void start(int tableFontPointSize);

    // Runs a handler as every event's is run: a failure goes to the error
    // box, and the content pane shows what the handler left.
    template <typename Handler> void run(Handler &&handler) noexcept { m_commands.run(handler); }

    // The user pressed the button or the command text `id`: its command
    // runs, unless the control is disabled (a click posted by a screen
    // reader may arrive after a rescan disabled it).
    void controlClicked(form::Id id);
    // The user made a row of the grid current.
    void rowMadeCurrent();
    // The user chose `view`'s tab.
    void contentViewChosen(form::ContentView view);
    // A key the focused control left to the window. True when it is one of
    // the window's: Delete and Shift+Delete on the table, F5 anywhere, Ctrl+Tab
    // and Ctrl+Shift+Tab anywhere (the lower pane's next or previous view),
    // Ctrl+C in the cookie view (its selected cookies as name=value lines).
    // A command runs once per press (not for `repeated` presses) and only
    // while the command is enabled.
    bool keyPressed(const keyboard::KeyStroke &stroke, bool repeated = false);

    // What the lower pane shows: the file's text (at every start) or its
    // cookies, decoded while they are shown.
    form::ContentView contentView() const { return m_view; }
    const listing::CookieTable &cookieTable() const { return m_cookieTable; }

    // What the window shows now, as it was last set (CP932).
    const std::string &text(form::Id id) const { return m_texts[slot(id)]; }
    bool isEnabled(form::Id id) const { return m_enabled[slot(id)]; }
    bool isVisible(form::Id id) const { return m_visible[slot(id)]; }

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
    int tableFontPointSize() const override { return m_tableFontPointSize; }

    // CommandWindow
    int currentTableRow() const override;
    void focusTableRow(int row) override;
    OpenFileDialog &openDialog() override { return m_openDialog; }
    std::string programFolder() const override;
    void contentPaneChanged() override;
    void clearPlaceholders() override;

private:
    static std::size_t slot(form::Id id) { return static_cast<std::size_t>(form::indexOf(id)); }
    void setText(form::Id id, const std::string &text);
    void setEnabled(form::Id id, bool enabled);
    void setVisible(form::Id id, bool visible);
    // Enables or disables the controls that follow `rule`.
    void setEnabledWhere(form::Enabled rule, bool enabled);
    // Moves the focus on, in the Tab order, when `id` has it and is about to
    // be disabled or hidden.
    void keepFocusFrom(form::Id id);
    // Shows the content pane's text when the pane is visible and the text
    // changed since it was last shown.
    void syncContentPane();
    // Shows the tabs and the view chosen while the pane is shown, decoding
    // the pane's text for the cookie view when it changed since.
    void syncContentViews();
    void copySelectedCookies();
    // Runs the command of control `id` as a click on it does.
    void runCommandOf(form::Id id);

    WindowHost &m_host;
    listing::CookieListing m_cookies;
    Commands m_commands;
    OpenFileDialog m_openDialog;
    int m_tableFontPointSize = 9;
    bool m_busy = false;
    bool m_readOnly = false;
    std::uint64_t m_shownRevision = 0;
    bool m_paneShown = true;
    form::ContentView m_view = form::ContentView::Text;
    listing::CookieTable m_cookieTable;
    bool m_decoded = false;
    std::uint64_t m_decodedRevision = 0;
    std::array<std::string, form::kIdCount> m_texts;
    std::array<bool, form::kIdCount> m_enabled{};
    std::array<bool, form::kIdCount> m_visible{};
};

} // namespace ui
