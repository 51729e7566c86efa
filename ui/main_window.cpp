#include "main_window.h"

#include "kept_row.h"
#include "listing/content_pane.h"
#include "listing/messages.h"
#include "platform/cp932.h"
#include "platform/local_time.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace ui {

MainWindow::MainWindow(WindowHost &host, platform::Dialogs &dialogs, platform::Desktop &desktop)
    : m_host(host), m_dialogs(dialogs), m_desktop(desktop)
{
    for (const form::Control &control : form::controls()) {
        m_texts[slot(control.id)] = form::captionCp932(control);
        m_enabled[slot(control.id)] = control.enabled != form::Enabled::Never;
        m_visible[slot(control.id)] = true;
    }
    // The text view first, at every start.
    m_visible[slot(form::Id::CookieView)] = false;
    m_visible[slot(form::Id::CookieProblem)] = false;
    m_visible[slot(form::Id::CookieStray)] = false;
}

void MainWindow::start(int tableFontPointSize)
{
    m_tableFontPointSize = tableFontPointSize;
    m_host.setVisible(form::Id::CookieView, false);
    m_host.setVisible(form::Id::CookieProblem, false);
    m_host.setVisible(form::Id::CookieStray, false);
    m_host.setContentView(m_view);
    run([this] {
        for (const form::Control &control : form::controls())
            if (control.placeholder)
                setText(control.id, std::string());
        setEnabledWhere(form::Enabled::WhileSearching, false);
        m_cookies.table().startListing();
        m_host.tableChanged();
        m_cookies.initState();
        if (m_startFolder)
            m_cookies.state().setCookiesPath(*m_startFolder);
        setText(form::Id::Window, captionText(m_cookies.state().caption()));
        listFolder();
    });
}

void MainWindow::focusFirstControl()
{
    m_host.setFocus(form::tabOrder().front()->id);
}

void MainWindow::perform(form::Command command)
{
    if (command == form::Command::None || !isEnabled(form::controlOf(command)))
        return;
    // Whatever reaches here: nothing is deleted from a read-only window.
    if (m_readOnly && (command == form::Command::Delete || command == form::Command::DeleteAll))
        return;
    switch (command) {
    case form::Command::Close:
        return m_host.close();
    case form::Command::Browse:
        return run([this] { chooseFolder(); });
    case form::Command::Delete:
        return run([this] { deleteChosenFile(); });
    case form::Command::DeleteAll:
        return run([this] { deleteAllFiles(); });
    case form::Command::Reload:
        return run([this] { reload(); });
    case form::Command::SearchByFileName:
        return run([this] { searchByFileName(); });
    case form::Command::SearchByContent:
        return run([this] { searchByContent(); });
    case form::Command::ClearSearch:
        return run([this] { clearSearch(); });
    case form::Command::Help:
        return run([this] { showHelp(); });
    case form::Command::Version:
        return run([this] { showVersion(); });
    case form::Command::RowClicked:
        return run([this] { rowClicked(); });
    case form::Command::None:
        break;
    }
}

void MainWindow::rowMadeCurrent()
{
    perform(form::Command::RowClicked);
}

void MainWindow::contentViewChosen(form::ContentView view)
{
    if (view == m_view)
        return;
    m_view = view;
    run([this] { syncContentViews(); });
}

void MainWindow::cookieViewFocused()
{
    const int rows = m_cookieTable.rowCount();
    if (rows == 0 || !m_host.selectedCookieRows().empty())
        return;
    const int current = m_host.currentCookieRow();
    const int row = current >= 0 && current < rows ? current : 0;
    m_host.selectCookieRows(row, row);
}

bool MainWindow::keyPressed(const keyboard::KeyStroke &stroke, bool repeated)
{
    if (const int step = keyboard::contentViewStep(stroke)) {
        const int next = (static_cast<int>(m_view) + step + form::kContentViewCount) % form::kContentViewCount;
        contentViewChosen(static_cast<form::ContentView>(next));
        m_host.setContentView(m_view);
        return true;
    }
    if (keyboard::copies(stroke) && m_host.focusedControl() == form::Id::CookieView) {
        copySelectedCookies();
        return true;
    }
    const std::optional<form::Id> focus = m_host.focusedControl();
    if (keyboard::selectsAll(stroke) && focus == form::Id::CookieView) {
        if (m_cookieTable.rowCount() > 0)
            m_host.selectCookieRows(0, m_cookieTable.rowCount() - 1);
        return true;
    }
    const form::Kind focusKind = focus ? form::control(*focus).kind : form::Kind::Window;
    form::Command command = keyboard::commandForKey(stroke, focus == form::Id::Table);
    if (command == form::Command::None)
        command = keyboard::commandForAccessKey(stroke);
    // Enter presses the focused button; there is no default button.
    if (command == form::Command::None && keyboard::pressesButton(stroke) && focusKind == form::Kind::Button)
        command = form::control(*focus).command;
    if (command == form::Command::None)
        // Esc closes nothing, but ends the drag of a splitter.
        return stroke.key == keyboard::Key::Escape && focusKind != form::Kind::Splitter;
    if (!repeated)
        perform(command);
    return true;
}

void MainWindow::setText(form::Id id, const std::string &text)
{
    m_texts[slot(id)] = text;
    m_host.setText(id, text);
}

void MainWindow::setEnabled(form::Id id, bool enabled)
{
    if (!enabled)
        keepFocusFrom(id);
    m_enabled[slot(id)] = enabled;
    m_host.setEnabled(id, enabled);
}

void MainWindow::setVisible(form::Id id, bool visible)
{
    if (!visible)
        keepFocusFrom(id);
    m_visible[slot(id)] = visible;
    m_host.setVisible(id, visible);
}

void MainWindow::setEnabledWhere(form::Enabled rule, bool enabled)
{
    for (const form::Control &control : form::controls())
        if (control.enabled == rule)
            setEnabled(control.id, enabled);
}

void MainWindow::keepFocusFrom(form::Id id)
{
    if (m_host.focusedControl() != id)
        return;
    // The next control Tab would go to, past the ones that take no input.
    const std::vector<const form::Control *> order = form::tabOrder();
    const auto at = std::find_if(order.begin(), order.end(), [id](const form::Control *c) { return c->id == id; });
    const std::size_t start = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 1; step < order.size(); ++step) {
        const form::Id next = order[(start + step) % order.size()]->id;
        if (isEnabled(next) && isVisible(next)) {
            m_host.setFocus(next);
            return;
        }
    }
    m_host.setFocus(order.front()->id);
}

void MainWindow::syncContentPane()
{
    if (!isVisible(form::Id::ContentPane))
        return;
    const listing::ContentPane &pane = m_cookies.contentPane();
    if (pane.revision() == m_shownRevision)
        return;
    m_shownRevision = pane.revision();
    m_host.showPaneText(pane);
}

void MainWindow::syncContentViews()
{
    using form::Id;
    const bool cookies = m_paneShown && m_view == form::ContentView::Cookies;
    if (cookies) {
        const listing::ContentPane &pane = m_cookies.contentPane();
        if (!m_decoded || pane.revision() != m_decodedRevision) {
            // No file shown yet (a scan empties the pane) holds no cookie
            // and nothing that strays: an empty table, not a complaint.
            if (pane.rawText().empty())
                m_cookieTable.clear();
            else
                m_cookieTable.load(pane, platform::currentFileTime(), m_tableFontPointSize);
            m_decoded = true;
            m_decodedRevision = pane.revision();
            // A file that strays shows its whole cookies with the line
            // under them; with none, the line alone in the table's place.
            const bool rows = m_cookieTable.rowCount() > 0;
            setText(Id::CookieProblem, rows ? std::string() : m_cookieTable.problemText());
            setText(Id::CookieStray, rows ? m_cookieTable.problemText() : std::string());
            m_host.cookieTableChanged();
        }
    }
    const bool problem = !m_cookieTable.problemText().empty();
    const bool rows = m_cookieTable.rowCount() > 0;
    const bool shown[] = {m_paneShown && !cookies, cookies && (rows || !problem), cookies && problem && !rows,
                          cookies && problem && rows};
    const Id views[] = {Id::ContentPane, Id::CookieView, Id::CookieProblem, Id::CookieStray};
    constexpr int kViews = static_cast<int>(std::size(views));
    // The focus goes from the view that leaves to the one that comes.
    const std::optional<Id> focus = m_host.focusedControl();
    bool focusLeaves = false;
    for (int i = 0; i < kViews; ++i)
        if (!shown[i] && isVisible(views[i]) && focus == views[i])
            focusLeaves = true;
    for (int i = 0; i < kViews; ++i)
        if (shown[i] && !isVisible(views[i])) {
            setVisible(views[i], true);
            if (focusLeaves && views[i] != Id::CookieStray)
                m_host.setFocus(views[i]);
        }
    for (int i = 0; i < kViews; ++i)
        if (!shown[i] && isVisible(views[i]))
            setVisible(views[i], false);
    if (isVisible(Id::ContentTabs) != m_paneShown)
        setVisible(Id::ContentTabs, m_paneShown);
    syncContentPane();
}

void MainWindow::copySelectedCookies()
{
    const std::vector<int> rows = m_host.selectedCookieRows();
    if (!rows.empty())
        m_host.copyText(m_cookieTable.copyText(rows));
}

void MainWindow::setBusyCursor(bool busy)
{
    // Held once however often it is asked for.
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_host.setBusyCursor(busy);
}

void MainWindow::setContentPaneShown(bool shown)
{
    m_paneShown = shown;
    syncContentViews();
}

void MainWindow::listFolder(const KeptRow *kept)
{
    using form::Id;
    setText(Id::StatusBar, listing::messages::searching());
    // Nothing shows the table or a file's text while they are rebuilt.
    setContentPaneShown(false);
    setVisible(Id::Table, false);
    setBusyCursor(true);
    listing::ListingOutcome outcome;
    try {
        outcome = m_cookies.listCookieFiles(m_tableFontPointSize);
    } catch (...) {
        setBusyCursor(false);
        throw;
    }
    const int current = kept ? kept->rowIn(m_cookies.table()) : (outcome.count > 0 ? 1 : 0);
    showListing(outcome, current);
    if (kept && isVisible(Id::Table))
        m_host.setFocus(Id::Table);
    if (outcome.failure)
        std::rethrow_exception(outcome.failure);
}

void MainWindow::showListing(const listing::ListingOutcome &outcome, int current)
{
    using form::Id;
    setVisible(Id::Table, true);
    m_host.tableChanged();
    if (current > 0)
        m_host.makeRowCurrent(current);
    setContentPaneShown(true);
    setBusyCursor(false);
    setEnabledWhere(form::Enabled::WhileFilesListed, outcome.count > 0 && !m_readOnly);
    setText(Id::StatusBar, outcome.statusText);
    setText(Id::Window, captionText(outcome.caption));
    setText(Id::FolderBox, outcome.folderText);
    setText(Id::SearchModeLabel, outcome.searchModeLabel);
    setEnabledWhere(form::Enabled::WhileSearching, outcome.searching);
}

std::string MainWindow::captionText(const std::string &caption) const
{
    static const std::string readOnlyMark = platform::cp932::fromUtf8("  [読み取り専用]");
    return m_readOnly ? caption + readOnlyMark : caption;
}

int MainWindow::rescanKeepingRow(int row)
{
    const KeptRow kept(m_cookies.table(), row);
    listFolder(&kept);
    return kept.rowIn(m_cookies.table());
}

} // namespace ui
