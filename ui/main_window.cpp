#include "main_window.h"

#include "listing/content_pane.h"
#include "platform/cp932.h"
#include "platform/local_time.h"

#include <algorithm>
#include <vector>

namespace ui {

MainWindow::MainWindow(WindowHost &host, platform::Dialogs &dialogs, platform::Desktop &desktop)
    : m_host(host), m_commands(m_cookies, dialogs, desktop, *this)
{
    for (const form::Control &control : form::controls()) {
        m_texts[slot(control.id)] = form::captionCp932(control);
        m_enabled[slot(control.id)] = control.enabled != form::Enabled::Never;
        m_visible[slot(control.id)] = true;
    }
    // The text view first, at every start.
    m_visible[slot(form::Id::CookieView)] = false;
    m_visible[slot(form::Id::CookieProblem)] = false;
}

void MainWindow::start(int tableFontPointSize)
{
    m_tableFontPointSize = tableFontPointSize;
    m_host.setVisible(form::Id::CookieView, false);
    m_host.setVisible(form::Id::CookieProblem, false);
    m_host.setContentView(m_view);
    run([this] { m_commands.start(); });
}

void MainWindow::controlClicked(form::Id id)
{
    if (!isEnabled(id))
        return;
    runCommandOf(id);
}

void MainWindow::runCommandOf(form::Id id)
{
    const form::Command command = form::control(id).command;
    // Whatever reaches here: nothing is deleted from a read-only window.
    if (m_readOnly && (command == form::Command::Delete || command == form::Command::DeleteAll))
        return;
    if (command == form::Command::Close)
        m_host.close();
    else if (command != form::Command::None)
        run([this, command] { m_commands.perform(command); });
}

void MainWindow::rowMadeCurrent()
{
    run([this] { m_commands.rowClicked(); });
}

void MainWindow::contentViewChosen(form::ContentView view)
{
    if (view == m_view)
        return;
    m_view = view;
    run([this] { syncContentViews(); });
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
    const form::Command command = keyboard::commandForKey(stroke, m_host.focusedControl() == form::Id::Table);
    if (command == form::Command::None)
        return false;
    if (!repeated)
        controlClicked(form::controlOf(command));
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
            setText(Id::CookieProblem, m_cookieTable.problemText());
            m_host.cookieTableChanged();
        }
    }
    const bool problem = !m_cookieTable.problemText().empty();
    const bool shown[] = {m_paneShown && !cookies, cookies && !problem, cookies && problem};
    const Id views[] = {Id::ContentPane, Id::CookieView, Id::CookieProblem};
    // The focus goes from the view that leaves to the one that comes.
    const std::optional<Id> focus = m_host.focusedControl();
    bool focusLeaves = false;
    for (int i = 0; i < 3; ++i)
        if (!shown[i] && isVisible(views[i]) && focus == views[i])
            focusLeaves = true;
    for (int i = 0; i < 3; ++i)
        if (shown[i] && !isVisible(views[i])) {
            setVisible(views[i], true);
            if (focusLeaves)
                m_host.setFocus(views[i]);
        }
    for (int i = 0; i < 3; ++i)
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

void MainWindow::setStatusText(const std::string &text)
{
    setText(form::Id::StatusBar, text);
}

void MainWindow::setBusyCursor(bool busy)
{
    // Held once however often a scan asks.
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_host.setBusyCursor(busy);
}

void MainWindow::setTableVisible(bool visible)
{
    setVisible(form::Id::Table, visible);
}

void MainWindow::setContentPaneVisible(bool visible)
{
    m_paneShown = visible;
    syncContentViews();
}

void MainWindow::setDeleteCommandsEnabled(bool enabled)
{
    setEnabledWhere(form::Enabled::WhileFilesListed, enabled && !m_readOnly);
}

void MainWindow::setCaption(const std::string &caption)
{
    static const std::string readOnlyMark = platform::cp932::fromUtf8("  [読み取り専用]");
    setText(form::Id::Window, m_readOnly ? caption + readOnlyMark : caption);
}

void MainWindow::setFolderText(const std::string &text)
{
    setText(form::Id::FolderBox, text);
}

void MainWindow::setSearchModeLabel(const std::string &text)
{
    setText(form::Id::SearchModeLabel, text);
}

void MainWindow::setClearSearchEnabled(bool enabled)
{
    setEnabledWhere(form::Enabled::WhileSearching, enabled);
}

void MainWindow::tableChanged()
{
    m_host.tableChanged();
}

int MainWindow::currentTableRow() const
{
    return m_host.currentRow();
}

void MainWindow::focusTableRow(int row)
{
    if (m_cookies.table().dataRowCount() > 0 && row >= 1)
        m_host.makeRowCurrent(row);
    if (isVisible(form::Id::Table))
        m_host.setFocus(form::Id::Table);
}

std::string MainWindow::programFolder() const
{
    return m_host.programFolder();
}

void MainWindow::contentPaneChanged()
{
    syncContentViews();
}

void MainWindow::clearPlaceholders()
{
    for (const form::Control &control : form::controls())
        if (control.placeholder)
            setText(control.id, std::string());
    setEnabledWhere(form::Enabled::WhileSearching, false);
}

} // namespace ui
