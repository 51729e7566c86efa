#pragma once

#include "listing/listing_view.h"
#include "listing/program_state.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "ui/main_form.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace listing {
class CookieListing;
}

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui {

// The application's title: the caption of its error box.
inline constexpr const char *kApplicationTitle = "Vellumin";

// The window's open-file dialog, a component without a window of its own:
// its options and the file chosen last, which the next showing starts with.
class OpenFileDialog {
public:
    OpenFileDialog();

    const platform::NamedPath &fileName() const { return m_fileName; }
    const std::string &defaultExtension() const { return m_defaultExtension; }
    const std::vector<platform::FileFilter> &filters() const { return m_filters; }

    // Shows the dialog, opening in `folder` (with its trailing separator)
    // unless the file chosen last names another. True when the user chose a
    // file, which fileName() then holds.
    bool execute(platform::Dialogs &dialogs, const platform::NamedPath &folder);

private:
    platform::NamedPath m_fileName;
    std::string m_defaultExtension = "*.txt";
    std::vector<platform::FileFilter> m_filters;
};

// What the handlers need of a window beyond what the scan reports to it.
class CommandWindow : public listing::ListingView {
public:
    // The result table's row (from 1) that is current in the grid; 0 when
    // there is none.
    virtual int currentTableRow() const = 0;

    // Makes table row `row` (from 1) the current and only selected row, in
    // view, without reading its file, and gives the table the keyboard
    // focus; 0 leaves the rows as they are and only focuses the table.
    virtual void focusTableRow(int row) = 0;

    // The window's open-file dialog.
    virtual OpenFileDialog &openDialog() = 0;

    // The program's own folder, a native path with its trailing separator.
    virtual std::string programFolder() const = 0;

    // The content pane's model changed outside a scan (a row was read, or a
    // read failed and cleared it): show it.
    virtual void contentPaneChanged() = 0;

    // Clears the placeholder captions of the panels and the search-mode
    // label, and disables the clear-search command: the first steps of
    // the window's creation handler.
    virtual void clearPlaceholders() = 0;
};

// The handlers behind the window's buttons, texts and table, written once
// for every front end. Each works on the cookie listing and asks through
// the dialog service; run() shows whatever a handler throws in the
// application's error box, so that no failure reaches the toolkit.
class Commands {
public:
    Commands(listing::CookieListing &cookies, platform::Dialogs &dialogs, platform::Desktop &desktop,
             CommandWindow &window);

    // Runs a handler. The content pane shows what the handler left in its
    // model; a failure then goes to the error box.
    template <typename Handler> void run(Handler &&handler) noexcept
    {
        try {
            handler();
        } catch (const std::exception &error) {
            notifyContentPane();
            showError(error.what());
            return;
        } catch (...) {
            notifyContentPane();
            showError("unknown error");
            return;
        }
        notifyContentPane();
    }

    // The folder that the creation handler lists instead of the default
    // one: a folder named on the command line, taken as a folder chosen
    // through the browse button is.
    void setStartFolder(platform::NamedPath folder) { m_startFolder = std::move(folder); }

    // The creation handler: clears the placeholders, resets the table and
    // the program state and lists the default cookie folder (or the start
    // folder).
    void start();

    void reload();
    void searchByFileName();
    void searchByContent();
    void clearSearch();
    void chooseFolder();
    void rowClicked();
    void showVersion();
    void showHelp();
    void deleteChosenFile();
    void deleteAllFiles();

    // The handler of a control's command (not run through run()). Close is
    // the window's own and does nothing here.
    void perform(form::Command command);

private:
    // Asks for a search text; a non-empty answer starts a search of `mode`.
    // The folder is listed again whatever the answer.
    void askForSearch(listing::SearchMode mode, const std::string &caption, const std::string &prompt);

    // Lists the folder again, then makes current the row that takes the
    // place of table row `row` (see KeptRow) and focuses the table, also
    // when the listing fails. Gives the row made current (0: none).
    int rescanKeepingRow(int row);

    // Runs `rescan` (which lists the folder again after a deletion), then
    // shows `failure`, the deletion's, in the error box unless it is empty;
    // also when the rescan throws, before its own failure.
    void rescanThenSay(const std::string &failure, const std::function<void()> &rescan);

    // The error box: the message with its final ".", caption "Vellumin",
    // the stop icon and OK. Never throws.
    void showError(const std::string &message) noexcept;
    void notifyContentPane() noexcept;

    listing::CookieListing &m_cookies;
    platform::Dialogs &m_dialogs;
    platform::Desktop &m_desktop;
    CommandWindow &m_window;
    std::optional<platform::NamedPath> m_startFolder;
};

} // namespace ui
