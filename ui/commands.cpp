#include "commands.h"

#include "kept_row.h"
#include "listing/cookie_listing.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <cstdio>

namespace ui {

OpenFileDialog::OpenFileDialog()
    : m_filters{{platform::cp932::fromUtf8("クッキーファイル (*.txt)"), "*.txt"},
                {platform::cp932::fromUtf8("すべてのファイル (*.*)"), "*.*"}}
{}

bool OpenFileDialog::execute(platform::Dialogs &dialogs, const platform::NamedPath &folder)
{
    std::optional<platform::NamedPath> chosen =
        dialogs.openFileName({m_fileName, m_defaultExtension, folder, m_filters});
    if (!chosen)
        return false;
    m_fileName = std::move(*chosen);
    return true;
}

Commands::Commands(listing::CookieListing &cookies, platform::Dialogs &dialogs, platform::Desktop &desktop,
                   CommandWindow &window)
    : m_cookies(cookies), m_dialogs(dialogs), m_desktop(desktop), m_window(window)
{}

void Commands::start()
{
    m_window.clearPlaceholders();
    m_cookies.table().startListing();
    m_window.tableChanged();
    m_cookies.initState();
    if (m_startFolder)
        m_cookies.state().setCookiesPath(*m_startFolder);
    m_window.setCaption(m_cookies.state().caption());
    m_cookies.listCookieFiles(m_window);
}

void Commands::reload()
{
    rescanKeepingRow(m_window.currentTableRow());
}

int Commands::rescanKeepingRow(int row)
{
    const KeptRow kept(m_cookies.table(), row);
    try {
        m_cookies.listCookieFiles(m_window);
    } catch (...) {
        m_window.focusTableRow(kept.rowIn(m_cookies.table()));
        throw;
    }
    const int current = kept.rowIn(m_cookies.table());
    m_window.focusTableRow(current);
    return current;
}

void Commands::askForSearch(listing::SearchMode mode, const std::string &caption, const std::string &prompt)
{
    const std::string answer = m_dialogs.inputBox(caption, prompt, std::string());
    if (!answer.empty()) {
        listing::SystemInfo &info = m_cookies.state().systemInfo;
        info.searchMode = mode;
        info.searchText = answer;
    }
    m_cookies.listCookieFiles(m_window);
}

void Commands::searchByFileName()
{
    askForSearch(listing::SearchMode::FileName, listing::messages::fileNameSearchCaption(),
                 listing::messages::fileNameSearchPrompt());
}

void Commands::searchByContent()
{
    askForSearch(listing::SearchMode::Content, listing::messages::contentSearchCaption(),
                 listing::messages::contentSearchPrompt());
}

void Commands::clearSearch()
{
    listing::SystemInfo &info = m_cookies.state().systemInfo;
    info.searchMode = listing::SearchMode::None;
    info.searchText.clear();
    rescanKeepingRow(m_window.currentTableRow());
}

void Commands::chooseFolder()
{
    OpenFileDialog &dialog = m_window.openDialog();
    const listing::ProgramState &state = m_cookies.state();
    const platform::NamedPath cookieFolder{state.nativeCookiesPath + platform::kPathSeparator,
                                           state.cookiesPath + platform::kPathSeparator};
    if (!dialog.execute(m_dialogs, cookieFolder))
        return;
    // The folder as the dialog named it, not as rebuilt from its CP932 form.
    const platform::NamedPath folder = listing::cookieFolderOfChosenFile(dialog.fileName());
    m_cookies.state().setCookiesPath(folder);
    m_window.setFolderText(folder.shown);
    m_cookies.listCookieFiles(m_window);
}

void Commands::rowClicked()
{
    // The file the row was made from, whatever its cells show now.
    m_cookies.readRowFile(m_window.currentTableRow());
}

void Commands::showVersion()
{
    m_dialogs.messageBox(listing::messages::versionText(), listing::messages::versionCaption(),
                         platform::msgbox::kIconInformation | platform::msgbox::kOk);
}

void Commands::showHelp()
{
    const platform::DocumentOpening help = m_desktop.openDocument(m_window.programFolder(), "README.TXT");
    if (!help.opened)
        showError(listing::messages::cannotOpenFile(platform::shownName(help.path)));
}

void Commands::deleteChosenFile()
{
    const listing::ResultTable &table = m_cookies.table();
    const int row = m_window.currentTableRow();
    if (!table.isDataRow(row))
        return;
    // The question names the file that will be deleted: the row's own file
    // without its extension. For a row as the scan wrote it, that is its
    // name cell, unless the name holds a blank or a comma and so spread
    // over several cells; a column dragged into place never changes it.
    const std::string shown = platform::shownName(table.rowFile(row).nativeName);
    const std::string name = shown.substr(0, shown.rfind('.'));
    const std::string number(table.cell(0, row));
    const int answer =
        m_dialogs.messageBox(listing::messages::deleteQuestion(number, name), listing::messages::deleteCaption(),
                             platform::msgbox::kYesNo | platform::msgbox::kIconQuestion);
    if (answer != platform::msgbox::kIdYes)
        return;
    // The rescan shows what is left; a file the system refused to delete is
    // said after it. The pane then shows the file of the row that took the
    // deleted one's place, as a click on it would, rather than staying empty
    // until the row moves.
    const platform::RemoveResult removal = m_cookies.deleteCookieFile(row);
    std::string failure;
    if (removal.outcome == platform::RemoveOutcome::Failed)
        failure = listing::messages::cannotDeleteFile(m_cookies.rowFilePath(row), removal.reason);
    rescanThenSay(failure, [&] { m_cookies.readRowFile(rescanKeepingRow(row)); });
}

void Commands::deleteAllFiles()
{
    const int answer = m_dialogs.messageBox(listing::messages::deleteAllQuestion(), listing::messages::deleteCaption(),
                                            platform::msgbox::kYesNo | platform::msgbox::kIconQuestion |
                                                platform::msgbox::kDefButton2);
    if (answer != platform::msgbox::kIdYes)
        return;
    const listing::ResultTable &table = m_cookies.table();
    const int current = m_window.currentTableRow();
    // A refusal does not stop the others; the first says why for all.
    int refused = 0;
    std::string firstPath;
    std::string firstReason;
    for (int row = 1; row < table.rowCount(); ++row) {
        platform::RemoveResult removal = m_cookies.deleteCookieFile(row);
        if (removal.outcome != platform::RemoveOutcome::Failed)
            continue;
        if (refused++ == 0) {
            firstPath = m_cookies.rowFilePath(row);
            firstReason = std::move(removal.reason);
        }
    }
    std::string failure;
    if (refused > 0)
        failure = listing::messages::cannotDeleteFiles(refused, firstPath, firstReason);
    rescanThenSay(failure, [&] { rescanKeepingRow(current); });
}

void Commands::rescanThenSay(const std::string &failure, const std::function<void()> &rescan)
{
    try {
        rescan();
    } catch (...) {
        // The deletion's failure first, then (through run()) the rescan's.
        if (!failure.empty())
            showError(failure);
        throw;
    }
    if (!failure.empty())
        showError(failure);
}

void Commands::showError(const std::string &message) noexcept
{
    try {
        m_dialogs.messageBox(listing::messages::errorBoxText(message), kApplicationTitle,
                             platform::msgbox::kIconHand | platform::msgbox::kOk);
    } catch (...) {
        // Nothing is left to tell the user with; the event loop must go on.
        std::fputs("vellumin: the error box could not be shown\n", stderr);
    }
}

void Commands::notifyContentPane() noexcept
{
    try {
        m_window.contentPaneChanged();
    } catch (...) {
        std::fputs("vellumin: the content pane could not be shown\n", stderr);
    }
}

void Commands::perform(form::Command command)
{
    using form::Command;
    switch (command) {
    case Command::Browse:
        return chooseFolder();
    case Command::Delete:
        return deleteChosenFile();
    case Command::DeleteAll:
        return deleteAllFiles();
    case Command::Reload:
        return reload();
    case Command::SearchByFileName:
        return searchByFileName();
    case Command::SearchByContent:
        return searchByContent();
    case Command::ClearSearch:
        return clearSearch();
    case Command::Help:
        return showHelp();
    case Command::Version:
        return showVersion();
    case Command::RowClicked:
        return rowClicked();
    case Command::None:
    case Command::Close:
        break;
    }
}

} // namespace ui
