#pragma once

#include "listing/cookie_listing.h"
#include "listing/cookie_table.h"
#include "ui/keyboard_access.h"
#include "ui/main_form.h"
#include "ui/open_file_dialog.h"
#include "ui/window_host.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui {

class KeptRow;

// The application's title: the caption of its error box.
inline constexpr const char *kApplicationTitle = "Vellumin";

// The program's one window, free of any toolkit: it owns the cookie listing
// and holds every rule of the window (what is enabled, what the placeholders
// say, which key runs what, where the focus goes, which row is current, when
// the content pane is shown anew) and the commands' handlers. A toolkit's
// host makes the controls and forwards its events here; this class reaches
// the controls only through the host's primitives, by their form ids. A
// folder scan reports what it found as one outcome, which the window shows
// in one place (showListing).
class MainWindow final {
public:
    MainWindow(WindowHost &host, platform::Dialogs &dialogs, platform::Desktop &desktop);

    listing::CookieListing &cookies() { return m_cookies; }
    const listing::CookieListing &cookies() const { return m_cookies; }

    // The folder listed at the start instead of the default one: a folder
    // named on the command line, taken as one chosen through the browse
    // button is.
    void setStartFolder(platform::NamedPath folder) { m_startFolder = std::move(folder); }

    // Read-only: for a disk that must not change (another system's volume,
    // a copy kept as evidence). DELETE and ALL DELETE stay disabled, with
    // their keys, whatever is listed, and the caption says so. Set before
    // start().
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }

    // The creation handler, once the host has made its controls: clears the
    // placeholders, resets the table and the program state and lists the
    // default cookie folder (or the start folder). `tableFontPointSize` is
    // the table font's size in points, which sizes the columns after every
    // scan.
    void start(int tableFontPointSize);
    // Gives the focus to where it starts, the first control of the Tab
    // order; the host calls it once its controls can take the focus.
    void focusFirstControl();

    // Runs a handler as every event's is run: the content pane shows what
    // the handler left in its model, and a failure goes to the error box,
    // so that none reaches the toolkit.
    template <typename Handler> void run(Handler &&handler) noexcept
    {
        try {
            handler();
        } catch (const std::exception &error) {
            showContentPane();
            showError(error.what());
            return;
        } catch (...) {
            showContentPane();
            showError("unknown error");
            return;
        }
        showContentPane();
    }

    // Runs `command` as its button, its command text or its key does,
    // unless its control is disabled (a click posted by a screen reader may
    // arrive after a rescan disabled it).
    void perform(form::Command command);
    // The user pressed the button or the command text `id`.
    void controlClicked(form::Id id) { perform(form::control(id).command); }
    // The user made a row of the grid current.
    void rowMadeCurrent();
    // The user chose `view`'s tab.
    void contentViewChosen(form::ContentView view);
    // The cookie view got the keyboard focus other than by a click (Tab
    // into it, or the focus following the view): as in the file table, its
    // current row (else its first) is selected, unless rows are already.
    void cookieViewFocused();
    // A key the focused control left to the window. True when it is one of
    // the window's: Delete and Shift+Delete on the table, F5 anywhere, Ctrl+Tab
    // and Ctrl+Shift+Tab anywhere (the lower pane's next or previous view),
    // Ctrl+C in the cookie view (its selected cookies as name=value lines),
    // Ctrl+A in the cookie view (every cookie selected).
    // A command runs once per press (not for `repeated` presses) and only
    // while the command is enabled.
    bool keyPressed(const keyboard::KeyStroke &stroke, bool repeated = false);

    // What the lower pane shows: the file's text (at every start) or its
    // cookies, decoded while they are shown.
    form::ContentView contentView() const { return m_view; }
    const listing::CookieTable &cookieTable() const { return m_cookieTable; }
    int tableFontPointSize() const { return m_tableFontPointSize; }
    OpenFileDialog &openDialog() { return m_openDialog; }

    // What the window shows now, as it was last set (CP932).
    const std::string &text(form::Id id) const { return m_texts[slot(id)]; }
    bool isEnabled(form::Id id) const { return m_enabled[slot(id)]; }
    bool isVisible(form::Id id) const { return m_visible[slot(id)]; }

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
    void setBusyCursor(bool busy);
    // Shows the content pane's text when the pane is visible and the text
    // changed since it was last shown.
    void syncContentPane();
    // Shows the tabs and the view chosen while the pane is shown, decoding
    // the pane's text for the cookie view when it changed since.
    void syncContentViews();
    void setContentPaneShown(bool shown);
    void copySelectedCookies();

    // Lists the folder again and shows what the scan found; `kept`, when
    // given, names the row to make current afterwards (else the first), and
    // the table then gets the focus. A scan that failed shows what it listed
    // and then throws the failure.
    void listFolder(const KeptRow *kept = nullptr);
    // Shows what a scan found, `current` made the current row.
    void showListing(const listing::ListingOutcome &outcome, int current);
    // Lists the folder again, then makes current the row that takes the
    // place of table row `row` (see KeptRow) and focuses the table, also
    // when the listing fails. Gives the row made current (0: none).
    int rescanKeepingRow(int row);
    // The table row (from 1) that is current in the grid; 0 for none.
    int currentRow() const { return m_host.currentRow(); }

    // The handlers (commands.cpp).
    void reload();
    void searchByFileName();
    void searchByContent();
    // Asks for a search text; a non-empty answer starts a search of `mode`.
    // The folder is listed again whatever the answer.
    void askForSearch(listing::SearchMode mode, const std::string &caption, const std::string &prompt);
    void clearSearch();
    void chooseFolder();
    void rowClicked();
    void showVersion();
    void showHelp();
    void deleteChosenFile();
    void deleteAllFiles();
    // Runs `rescan` (which lists the folder again after a deletion), then
    // shows `failure`, the deletion's, in the error box unless it is empty;
    // also when the rescan throws, before its own failure.
    void rescanThenSay(const std::string &failure, const std::function<void()> &rescan);
    // The error box: the message with its final ".", caption "Vellumin",
    // the stop icon and OK. Never throws.
    void showError(const std::string &message) noexcept;
    // The window's caption for the listing's `caption`: marked in a
    // read-only window.
    std::string captionText(const std::string &caption) const;
    // Shows what the last handler left in the content pane's model. Never
    // throws.
    void showContentPane() noexcept;

    WindowHost &m_host;
    platform::Dialogs &m_dialogs;
    platform::Desktop &m_desktop;
    listing::CookieListing m_cookies;
    OpenFileDialog m_openDialog;
    std::optional<platform::NamedPath> m_startFolder;
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
