// The handlers of the window's commands, each run by MainWindow::perform().

#include "main_window.h"

#include "kept_row.h"
#include "listing/cookie_listing.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <cstdio>
#include <functional>

namespace ui {

void MainWindow::reload()
{
    rescanKeepingRow(currentRow());
}

void MainWindow::askForSearch(listing::SearchMode mode, const std::string &caption, const std::string &prompt)
{
    const std::string answer = m_dialogs.inputBox(caption, prompt, std::string());
    if (!answer.empty()) {
        listing::SystemInfo &info = m_cookies.state().systemInfo;
        info.searchMode = mode;
        info.searchText = answer;
    }
    listFolder();
}

void MainWindow::searchByFileName()
{
    askForSearch(listing::SearchMode::FileName, listing::messages::fileNameSearchCaption(),
                 listing::messages::fileNameSearchPrompt());
}

void MainWindow::searchByContent()
{
    askForSearch(listing::SearchMode::Content, listing::messages::contentSearchCaption(),
                 listing::messages::contentSearchPrompt());
}

void MainWindow::clearSearch()
{
    listing::SystemInfo &info = m_cookies.state().systemInfo;
    info.searchMode = listing::SearchMode::None;
    info.searchText.clear();
    rescanKeepingRow(currentRow());
}

void MainWindow::chooseFolder()
{
    OpenFileDialog &dialog = m_openDialog;
    const listing::ProgramState &state = m_cookies.state();
    const platform::NamedPath cookieFolder{state.nativeCookiesPath + platform::kPathSeparator,
                                           state.cookiesPath + platform::kPathSeparator};
    if (!dialog.execute(m_dialogs, cookieFolder))
        return;
    // The folder as the dialog named it, not as rebuilt from its CP932 form.
    const platform::NamedPath folder = listing::cookieFolderOfChosenFile(dialog.fileName());
    m_cookies.state().setCookiesPath(folder);
    setText(form::Id::FolderBox, folder.shown);
    listFolder();
}

void MainWindow::rowClicked()
{
    // The file the row was made from, whatever its cells show now.
    m_cookies.readRowFile(currentRow());
}

void MainWindow::showVersion()
{
    m_dialogs.messageBox(listing::messages::versionText(), listing::messages::versionCaption(),
                         platform::msgbox::kIconInformation | platform::msgbox::kOk);
}

void MainWindow::showHelp()
{
    const platform::DocumentOpening help = m_desktop.openDocument(m_host.programFolder(), "README.TXT");
    if (!help.opened)
        showError(listing::messages::cannotOpenFile(platform::shownName(help.path)));
}

void MainWindow::deleteChosenFile()
{
    const listing::ResultTable &table = m_cookies.table();
    const int row = currentRow();
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

void MainWindow::deleteAllFiles()
{
    const int answer = m_dialogs.messageBox(listing::messages::deleteAllQuestion(), listing::messages::deleteCaption(),
                                            platform::msgbox::kYesNo | platform::msgbox::kIconQuestion |
                                                platform::msgbox::kDefButton2);
    if (answer != platform::msgbox::kIdYes)
        return;
    const listing::ResultTable &table = m_cookies.table();
    const int current = currentRow();
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

void MainWindow::rescanThenSay(const std::string &failure, const std::function<void()> &rescan)
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

void MainWindow::showError(const std::string &message) noexcept
{
    try {
        m_dialogs.messageBox(listing::messages::errorBoxText(message), kApplicationTitle,
                             platform::msgbox::kIconHand | platform::msgbox::kOk);
    } catch (...) {
        // Nothing is left to tell the user with; the event loop must go on.
        std::fputs("vellumin: the error box could not be shown\n", stderr);
    }
}

void MainWindow::showContentPane() noexcept
{
    try {
        syncContentViews();
    } catch (...) {
        std::fputs("vellumin: the content pane could not be shown\n", stderr);
    }
}

} // namespace ui
