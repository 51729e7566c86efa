// The window's commands: what reaches the dialog service, the state and the
// files afterwards, and which mouse, key and wheel events make a row current.

#include "listing/cookie_listing.h"
#include "platform/dialogs.h"
#include "platform/qt/document_window.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/main_window_host.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/result_grid.h"
#include "ui/qt/result_table_model.h"
#include "ui/qt/static_text.h"
#include "ui/qt/text_view.h"
#include "ui_test_support.h"
#include "when_modal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QWheelEvent>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace {

using namespace platform::msgbox;

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

std::string record(const std::string &value, const std::string &host)
{
    return "name\n" + value + "\n" + host + "\n1536\n1\n2\n3\n4\n*\n";
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachButtonAndCommandTextRunsItsCommand();
    void helpOpensTheReadmeBesideTheProgram();
    void helpWithoutADesktopHandlerShowsItsOwnWindow();

    void selectingARowShowsItsOwnFile();
    void selectingABigFileShowsAllOfIt();
    void leftReleaseOnACellMakesItsRowCurrent();
    void otherButtonsHeadersAndEmptySpaceDoNothing();
    void doubleClickCountsOnce();
    void shiftPressOnlyWidensTheSelection();
    void movingKeys_data();
    void movingKeys();
    void keysThatMoveNothingDoNothing();
    void wheelStepsMoveOneRowEach();
    void scansMakeNoRowCurrent();
    void draggedColumnsAndRowsLastUntilTheNextScan();

    void deleteAfterDraggingAColumnDeletesTheRowsFile();

    void keyboardWalk();

private:
    ui::qt::MainWindowHost &window() { return *m_window; }
    ui::qt::ResultGrid *grid() { return m_window->controlOf<ui::qt::ResultGrid>(ui::form::Id::Table); }
    // The text of the cell that stands at `column` of table row `row`, where
    // the user may have dragged the columns (the number column stays put).
    std::string cellAtPosition(int column, int row)
    {
        const int cell = column == 0 ? 0 : grid()->horizontalHeader()->logicalIndex(column - 1) + 1;
        return std::string(window().cookies().table().cell(cell, row));
    }
    template <typename T = QWidget> T *control(ui::form::Id id) { return m_window->controlOf<T>(id); }
    void start()
    {
        m_window = std::make_unique<ui::qt::MainWindowHost>(m_dialogs, m_desktop);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void clickText(ui::form::Id id) { QTest::mouseClick(control<ui::qt::ClickableText>(id), Qt::LeftButton); }
    void clickButton(ui::form::Id id) { control<QPushButton>(id)->click(); }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        ui::qt::ResultGrid *g = grid();
        const QRect cell = g->visualRect(g->model()->index(row, 0));
        QTest::mouseClick(g->viewport(), button, modifiers, cell.center());
    }
    int rows() const { return m_window->cookies().table().dataRowCount(); }
    std::string cell(int column, int row) const { return std::string(m_window->cookies().table().cell(column, row)); }
    bool exists(const std::string &name) const
    {
        return std::filesystem::exists(std::filesystem::symlink_status(m_prefix->cookieFolder() + "/" + name));
    }
    std::string paneText() const { return m_window->cookies().contentPane().text(); }

    std::unique_ptr<TempPrefix> m_prefix;
    ScriptedDialogs m_dialogs;
    RecordingDesktop m_desktop;
    std::unique_ptr<ui::qt::MainWindowHost> m_window;
};

void CommandsTest::init()
{
    m_dialogs = ScriptedDialogs();
    m_desktop = RecordingDesktop();
    m_prefix = std::make_unique<TempPrefix>();
    for (const char *name :
         {"taro@alpha.example[1]", "taro@beta.example[1]", "hanako@gamma.example[1]", "hanako@alpha.example[2]"})
        m_prefix->writeCookie(std::string(name) + ".txt", record(std::string("v-") + name, "host/"));
}

void CommandsTest::cleanup()
{
    m_window.reset();
    m_prefix.reset();
}

void CommandsTest::eachButtonAndCommandTextRunsItsCommand()
{
    // Clicked as the user clicks them; what each command does is the
    // window's own, tested without a window.
    using ui::form::Id;
    start();
    m_dialogs.inputAnswers = {"alpha", "v-taro"};
    clickButton(Id::SearchByFileNameButton);
    QCOMPARE(m_dialogs.inputCaptions.back(), std::string("Input Search FileName"));
    QCOMPARE(rows(), 2);
    QCOMPARE(control<ui::qt::StaticText>(Id::SearchModeLabel)->text(), QStringLiteral("ファイル名検索モード"));
    clickButton(Id::SearchByContentButton);
    QCOMPARE(m_dialogs.inputCaptions.back(), std::string("Search File List Name"));
    QCOMPARE(control<ui::qt::StaticText>(Id::SearchModeLabel)->text(), QStringLiteral("ファイル内容検索モード"));
    clickButton(Id::ClearSearchButton);
    QCOMPARE(rows(), 4);
    QVERIFY(!control(Id::ClearSearchButton)->isEnabled());

    m_prefix->writeCookie("zed@new.txt", record("new", "n/"));
    clickText(Id::ReloadCommand);
    QCOMPARE(rows(), 5);
    QCOMPARE(window().statusText(), QStringLiteral(" 5 個のクッキーが見付かりました"));

    m_dialogs.messageAnswers = {kIdNo, kIdNo};
    clickText(Id::DeleteCommand);
    clickText(Id::DeleteAllCommand);
    QCOMPARE(m_dialogs.messages.size(), std::size_t(2));
    QCOMPARE(m_dialogs.messages[0].flags, 0x24u);
    QCOMPARE(m_dialogs.messages[1].flags, 0x124u);
    QCOMPARE(rows(), 5);

    clickButton(Id::VersionButton);
    QCOMPARE(m_dialogs.messages.back().caption, cp932("バージョン情報"));

    TempFolder other;
    other.write("u@other.txt", record("o", "o/"));
    m_dialogs.openAnswers = {platform::namedPath(other / "anything.txt")};
    clickButton(Id::BrowseButton);
    QCOMPARE(control<QLineEdit>(Id::FolderBox)->text(), QString::fromStdString(other.str() + "/"));
    QCOMPARE(window().windowTitle(), QStringLiteral("Vellumin ver 1.30   < CookiesPath:[") +
                                         QString::fromStdString(other.str()) + QStringLiteral("/] >"));
    QCOMPARE(rows(), 1);

    clickButton(Id::CloseButton);
    QVERIFY(!window().isVisible());
}

void CommandsTest::helpOpensTheReadmeBesideTheProgram()
{
    start();
    clickButton(ui::form::Id::HelpButton);
    QCOMPARE(m_desktop.opened.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(m_desktop.opened.front()),
             QCoreApplication::applicationDirPath() + QStringLiteral("/README.TXT"));
    QVERIFY(m_dialogs.messages.empty());

    // Installed, the program in bin/ finds it under share/doc/vellumin/,
    // but one beside the program comes first.
    TempFolder prefix;
    const std::string bin = prefix / "bin/";
    prefix.write("share/doc/vellumin/README.TXT", "help");
    std::filesystem::create_directories(bin);
    using platform::qt::QtDesktop;
    // Shown resolved, as the user would type it.
    QCOMPARE(QtDesktop::documentPath(bin, "README.TXT"), prefix / "share/doc/vellumin/README.TXT");
    prefix.write("bin/README.TXT", "help");
    QCOMPARE(QtDesktop::documentPath(bin, "README.TXT"), bin + "README.TXT");
    QCOMPARE(QtDesktop::documentPath(prefix / "nowhere/", "README.TXT"), prefix / "nowhere/README.TXT");
    QCOMPARE(QtDesktop::documentPath(prefix / "nowhere/../bin/", "README.TXT"), bin + "README.TXT");

    // A file that is not there is not handed on, and the path it was looked
    // for at is told.
    QtDesktop desktop;
    const platform::DocumentOpening missing = desktop.openDocument(prefix / "nowhere/", "README.TXT");
    QVERIFY(!missing.opened);
    QCOMPARE(missing.path, prefix / "nowhere/README.TXT");
}

void CommandsTest::helpWithoutADesktopHandlerShowsItsOwnWindow()
{
    TempFolder folder;
    // The help as it is shipped: CP932 with CR LF line ends.
    folder.write("README.TXT", cp932("■ 使い方\r\n  ReLoad … 読み直します。\r\n") + std::string(200, '\n') + "end\r\n");
    const QByteArray savedPath = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });
    using platform::qt::QtDesktop;

    // No xdg-open on PATH: the file opens in the program's own window.
    qputenv("PATH", QByteArray::fromStdString(folder / "empty"));
    QWidget owner;
    QtDesktop desktop;
    desktop.setOwner(&owner);
    const platform::DocumentOpening opening = desktop.openDocument(folder.str() + "/", "README.TXT");
    QVERIFY(opening.opened);
    QCOMPARE(opening.path, folder / "README.TXT");
    platform::qt::DocumentWindow *own = desktop.documentWindow();
    QVERIFY(own);
    QVERIFY(own->isVisible());
    QVERIFY(own->isWindow());
    QVERIFY(own->windowTitle().startsWith(QStringLiteral("README.TXT")));
    QPlainTextEdit *text = own->textView();
    QVERIFY(text->isReadOnly());
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("■ 使い方\n  ReLoad … 読み直します。\n\n")));
    QVERIFY(!text->toPlainText().contains(QLatin1Char('\r')));
    // Reached and moved through by keys, and named to screen readers.
    QVERIFY(QTest::qWaitForWindowExposed(own));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(text));
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(text->accessibleName(), QStringLiteral("README.TXT"));
    QTest::keyClick(text, Qt::Key_PageDown);
    QTRY_VERIFY(text->verticalScrollBar()->value() > 0);
    QTest::keyClick(text, Qt::Key_Escape);
    QTRY_VERIFY(!own->isVisible());
    // As installed on Linux, in UTF-8: shown as it is.
    folder.write("doc/README.TXT", "■ 使い方\n");
    QVERIFY(desktop.openDocument(folder / "doc/", "README.TXT").opened);
    QCOMPARE(text->toPlainText(), QStringLiteral("■ 使い方\n"));
    own->close();
    // As the Windows zip holds it: UTF-8 after a byte-order mark, CR LF. The
    // mark is no character of the text; its first line is the heading.
    folder.write("zip/README.TXT", "\xEF\xBB\xBF■ 使い方\r\n  ReLoad … 読み直します。\r\n");
    QVERIFY(desktop.openDocument(folder / "zip/", "README.TXT").opened);
    QCOMPARE(text->toPlainText(), QStringLiteral("■ 使い方\n  ReLoad … 読み直します。\n"));
    QCOMPARE(text->document()->firstBlock().text(), QStringLiteral("■ 使い方"));
    own->close();

    // A handler that fails (xdg-open finds nothing to open it with): the
    // program's own window once it has said so. One that succeeds got the
    // resolved path, and the window stays closed.
    const std::string bin = folder / "bin";
    qputenv("PATH", QByteArray::fromStdString(bin));
    for (const int status : {3, 0}) {
        folder.write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + (folder / "opened") + "'\nexit " +
                                         std::to_string(status) + "\n");
        std::filesystem::permissions(folder / "bin/xdg-open", std::filesystem::perms::owner_all);
        std::filesystem::remove(folder / "opened");
        QVERIFY(desktop.openDocument(bin + "/../", "README.TXT").opened);
        QTRY_VERIFY(folder.exists("opened"));
        if (status != 0) {
            QTRY_VERIFY(own->isVisible());
            own->close();
        } else {
            QTest::qWait(300);
            QVERIFY(!own->isVisible());
        }
        std::ifstream opened(folder / "opened");
        QCOMPARE(std::string(std::istreambuf_iterator<char>(opened), {}), folder / "README.TXT");
    }

    // A file that is not there is not handed on at all.
    std::filesystem::remove(folder / "README.TXT");
    std::filesystem::remove(folder / "opened");
    QVERIFY(!desktop.openDocument(folder.str() + "/", "README.TXT").opened);
    QTest::qWait(100);
    QVERIFY(!folder.exists("opened"));
    QVERIFY(!own->isVisible());
}

void CommandsTest::selectingARowShowsItsOwnFile()
{
    m_prefix->writeCookie("user@a.txt", "other\nwrong file\nw/");
    m_prefix->writeCookie("user@a b.txt", "right\nright file\nr/");
    start();
    QCOMPARE(cell(1, 5), std::string("user@a"));
    QCOMPARE(cell(1, 6), std::string("user@a"));
    clickRow(4); // user@a b (a blank sorts before ".")
    QCOMPARE(control<ui::qt::TextView>(ui::form::Id::ContentPane)->toPlainText(),
             QStringLiteral("right\nright file\nr/"));
    QCOMPARE(paneText(), std::string("right\r\nright file\r\nr/"));
    clickRow(0); // the first data row shows its file like every other
    QCOMPARE(paneText().substr(0, 4), std::string("name"));
}

void CommandsTest::selectingABigFileShowsAllOfIt()
{
    // Over a megabyte, the view reads the bytes as read where the pane
    // holds them: every line must still be there once, in order, whatever
    // its line end, and the pane's own text keeps its CR LF form.
    std::string bytes = "SID\r\n" + cp932("表示設定") + "\nhost/\r";
    QString shown = QStringLiteral("SID\n表示設定\nhost/\n");
    std::string crLf = "SID\r\n" + cp932("表示設定") + "\r\nhost/\r\n";
    for (int i = 0; bytes.size() < (std::size_t(1) << 20) + 1000; ++i) {
        const std::string line = std::to_string(i) + (i % 5 == 0 ? cp932(" ソフト能力") : std::string(20, 'x'));
        const char *end = i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r\n" : "\r";
        bytes += line + end;
        crLf += line + "\r\n";
        shown += platform::qt::toQString(line) + QLatin1Char('\n');
    }
    m_prefix->writeCookie("zz@big.txt", bytes);
    start();
    clickRow(4);
    auto *pane = control<ui::qt::TextView>(ui::form::Id::ContentPane);
    QCOMPARE(pane->toPlainText(), shown);
    // No copy: the view's text is the pane's own bytes.
    QVERIFY(pane->text().data() == window().cookies().contentPane().rawText().data());
    QCOMPARE(pane->layout().caret(), std::size_t(0));
    QCOMPARE(paneText(), crLf);
    // A text with a lone CR is widened beside its bytes as read, which stay
    // where they lay: the view goes on showing them.
    QCOMPARE(pane->toPlainText(), shown);
    QCOMPARE(window().cookies().contentPane().line(2), cp932("表示設定"));
}

void CommandsTest::leftReleaseOnACellMakesItsRowCurrent()
{
    start();
    QSignalSpy made(grid(), &ui::qt::ResultGrid::rowMadeCurrent);
    clickRow(2);
    QCOMPARE(made.count(), 1);
    QCOMPARE(window().currentRow(), 3);
    clickRow(2); // the current row again counts too
    QCOMPARE(made.count(), 2);
    QVERIFY(paneText().find("v-taro@alpha") != std::string::npos);
}

void CommandsTest::otherButtonsHeadersAndEmptySpaceDoNothing()
{
    start();
    QSignalSpy made(grid(), &ui::qt::ResultGrid::rowMadeCurrent);
    clickRow(2, Qt::RightButton);
    clickRow(2, Qt::MiddleButton);
    QTest::mouseClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
    QTest::mouseClick(grid()->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 50));
    const QRect last = grid()->visualRect(grid()->model()->index(3, 0));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 30));
    QCOMPARE(made.count(), 0);
    QCOMPARE(window().currentRow(), 1);
    QCOMPARE(paneText(), std::string());
}

void CommandsTest::doubleClickCountsOnce()
{
    start();
    QSignalSpy made(grid(), &ui::qt::ResultGrid::rowMadeCurrent);
    const QPoint at = grid()->visualRect(grid()->model()->index(1, 0)).center();
    // What a real double click delivers: press, release, the second press as a
    // double-click event, release.
    QWidget *viewport = grid()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &second);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QCOMPARE(made.count(), 1);
}

void CommandsTest::shiftPressOnlyWidensTheSelection()
{
    start();
    QSignalSpy made(grid(), &ui::qt::ResultGrid::rowMadeCurrent);
    clickRow(1);
    clickRow(3, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(made.count(), 1);
    QCOMPARE(window().currentRow(), 2);
    QCOMPARE(grid()->selectionModel()->selectedRows().size(), 3);
}

void CommandsTest::movingKeys_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << 0 << 1;
    QTest::newRow("Up") << 2 << int(Qt::Key_Up) << 0 << 1;
    QTest::newRow("End") << 0 << int(Qt::Key_End) << 0 << 39;
    QTest::newRow("Ctrl+End") << 0 << int(Qt::Key_End) << int(Qt::ControlModifier) << 39;
    QTest::newRow("Home") << 20 << int(Qt::Key_Home) << 0 << 0;
    QTest::newRow("Ctrl+Home") << 20 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0;
    QTest::newRow("Ctrl+PgUp") << 3 << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << 0;
}

void CommandsTest::movingKeys()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedRow);
    for (int i = 0; i < 36; ++i)
        m_prefix->writeCookie("z@" + std::to_string(100 + i) + ".txt", record("z", "z/"));
    start();
    ui::qt::ResultGrid *g = grid();
    g->setCurrentIndex(g->model()->index(startRow, 0));
    g->setFocus();
    QSignalSpy made(g, &ui::qt::ResultGrid::rowMadeCurrent);
    QTest::keyClick(g, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g->currentIndex().row(), expectedRow);
    QCOMPARE(made.count(), 1);
    QVERIFY(!paneText().empty());
}

void CommandsTest::keysThatMoveNothingDoNothing()
{
    for (int i = 0; i < 36; ++i)
        m_prefix->writeCookie("z@" + std::to_string(100 + i) + ".txt", record("z", "z/"));
    start();
    ui::qt::ResultGrid *g = grid();
    g->setFocus();
    QSignalSpy made(g, &ui::qt::ResultGrid::rowMadeCurrent);
    QTest::keyClick(g, Qt::Key_Up);   // already at the first row
    QTest::keyClick(g, Qt::Key_Home); // likewise
    QTest::keyClick(g, Qt::Key_A);    // no search by typing
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(made.count(), 0);
    QCOMPARE(g->currentIndex().row(), 0);

    // Page keys move by the rows that fit in the view; Ctrl+PgDn goes to the
    // bottom visible row.
    const int page = g->viewport()->height() / g->verticalHeader()->defaultSectionSize();
    QTest::keyClick(g, Qt::Key_PageDown);
    QCOMPARE(g->currentIndex().row(), page);
    QTest::keyClick(g, Qt::Key_PageUp);
    QCOMPARE(g->currentIndex().row(), 0);
    QTest::keyClick(g, Qt::Key_PageDown, Qt::ControlModifier);
    const int bottom = g->currentIndex().row();
    const int viewHeight = g->viewport()->height();
    QVERIFY(g->visualRect(g->model()->index(bottom, 0)).bottom() < viewHeight);      // fully in view
    QVERIFY(g->visualRect(g->model()->index(bottom + 1, 0)).bottom() >= viewHeight); // the next one is not
    QCOMPARE(made.count(), 3);
}

void CommandsTest::wheelStepsMoveOneRowEach()
{
    start();
    ui::qt::ResultGrid *g = grid();
    QSignalSpy made(g, &ui::qt::ResultGrid::rowMadeCurrent);
    const QPointF at = g->visualRect(g->model()->index(0, 0)).center();
    const auto turn = [&](int delta) {
        QWheelEvent wheel(at, g->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(g->viewport(), &wheel);
    };
    turn(-240); // two steps towards you: two rows down
    QCOMPARE(made.count(), 2);
    QCOMPARE(g->currentIndex().row(), 2);
    turn(120);
    QCOMPARE(made.count(), 3);
    QCOMPARE(g->currentIndex().row(), 1);
    turn(60); // half a step moves nothing yet
    QCOMPARE(made.count(), 3);
}

void CommandsTest::scansMakeNoRowCurrent()
{
    start();
    QSignalSpy made(grid(), &ui::qt::ResultGrid::rowMadeCurrent);
    clickText(ui::form::Id::ReloadCommand);
    std::filesystem::remove(m_prefix->cookieFolder() + "/taro@beta.example[1].txt");
    clickText(ui::form::Id::ReloadCommand);
    grid()->horizontalHeader()->moveSection(0, 2);
    grid()->horizontalHeader()->resizeSection(1, 80);
    QCOMPARE(made.count(), 0);
    QCOMPARE(paneText(), std::string());
}

void CommandsTest::draggedColumnsAndRowsLastUntilTheNextScan()
{
    start();
    QHeaderView *columns = grid()->horizontalHeader();
    QHeaderView *rowsHeader = grid()->verticalHeader();
    columns->moveSection(0, 2);
    rowsHeader->moveSection(0, 3);
    QCOMPARE(columns->logicalIndex(0), 1);
    QCOMPARE(rowsHeader->logicalIndex(3), 0);
    // The state is untouched, and the moved column stands in position 1 for
    // the delete question.
    clickRow(0);
    QCOMPARE(cellAtPosition(1, 1), std::string("host/"));
    clickText(ui::form::Id::ReloadCommand);
    QCOMPARE(columns->logicalIndex(0), 0);
    QCOMPARE(rowsHeader->logicalIndex(3), 3);
    QCOMPARE(cellAtPosition(1, 1), std::string("hanako@alpha.example[2]"));
}

void CommandsTest::deleteAfterDraggingAColumnDeletesTheRowsFile()
{
    // Dragged into position 1, the URL column names a file that is no cookie
    // of this row at all: the question names the row's own file, which is
    // the one deleted.
    m_prefix->writeCookie("victim.txt", record("innocent", "i/"));
    m_prefix->writeCookie("zz@site.txt", record("info", "victim"));
    start();
    QHeaderView *header = grid()->horizontalHeader();
    header->moveSection(header->visualIndex(1), 0); // URL(?) before FileName
    clickRow(5);                                    // zz@site
    m_dialogs.messageAnswers = {kIdYes};
    clickText(ui::form::Id::DeleteCommand);
    QCOMPARE(m_dialogs.messages.front().text, cp932("No.6 の zz@site ファイルを削除します。\n\r宜しいですか？"));
    QVERIFY(!exists("zz@site.txt"));
    QVERIFY(exists("victim.txt"));
    // The rescan writes every column back in its place.
    QCOMPARE(cell(1, 5), std::string("victim"));
}

namespace {

// The real boxes, which the user answers by keys, and a record of the
// questions they asked.
class RealDialogs : public platform::Dialogs {
public:
    std::vector<ScriptedDialogs::Message> messages;
    int messageBox(const std::string &text, const std::string &caption, unsigned flags) override
    {
        messages.push_back({text, caption, flags});
        return m_real.messageBox(text, caption, flags);
    }
    std::string inputBox(const std::string &caption, const std::string &prompt, const std::string &text) override
    {
        return m_real.inputBox(caption, prompt, text);
    }
    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &request) override
    {
        return m_real.openFileName(request);
    }

private:
    ui::qt::QtDialogs m_real;
};

// Presses Tab until `control` has the focus; false when it never comes.
bool tabTo(const QWidget *control)
{
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == control)
            return true;
    }
    return false;
}

} // namespace

void CommandsTest::keyboardWalk()
{
    RealDialogs dialogs;
    m_window = std::make_unique<ui::qt::MainWindowHost>(dialogs, m_desktop);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    ui::qt::ResultGrid *g = grid();
    QVERIFY(control(ui::form::Id::BrowseButton)->hasFocus());
    // 1 hanako@alpha.example[2], 2 hanako@gamma.example[1], 3 taro@alpha..., 4 taro@beta...
    QVERIFY(tabTo(control(ui::form::Id::Table)));
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(window().currentRow(), 2);

    // Tab on to DELETE, which shows it has the focus; Enter asks, Enter
    // answers Yes, the default.
    QVERIFY(tabTo(control(ui::form::Id::DeleteCommand)));
    QCOMPARE(QApplication::focusWidget(), control(ui::form::Id::DeleteCommand));
    whenModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialogs.messages.size(), std::size_t(1));
    QCOMPARE(dialogs.messages[0].text,
             cp932("No.2 の hanako@gamma.example[1] ファイルを削除します。\n\r宜しいですか？"));
    QVERIFY(!exists("hanako@gamma.example[1].txt"));
    QCOMPARE(rows(), 3);
    // The table has the focus, on the row that took the deleted one's place.
    // (Without a window manager nothing activates the window again once
    // the box has gone: do as one would.)
    m_window->activateWindow();
    QTRY_VERIFY(g->hasFocus());
    QCOMPARE(cell(1, window().currentRow()), std::string("taro@alpha.example[1]"));
    QCOMPARE(g->selectionModel()->selectedRows().size(), 1);

    // F5 lists a new file, and the same file stays current.
    m_prefix->writeCookie("hanako@beta.example[1].txt", record("b", "b/"));
    QTest::keyClick(g, Qt::Key_F5);
    QCOMPARE(rows(), 4);
    QVERIFY(g->hasFocus());
    QCOMPARE(window().currentRow(), 3);
    QCOMPARE(cell(1, 3), std::string("taro@alpha.example[1]"));

    // Under a search for "alpha", Shift+Delete asks to delete all (No is the
    // default: Y answers Yes) and deletes only what is listed.
    QVERIFY(tabTo(control(ui::form::Id::SearchByFileNameButton)));
    whenModal([](QWidget *box) {
        QTest::keyClicks(box->focusWidget(), QStringLiteral("alpha"));
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(rows(), 2);
    m_window->activateWindow();
    QTRY_VERIFY(control(ui::form::Id::SearchByFileNameButton)->hasFocus());
    QVERIFY(tabTo(control(ui::form::Id::Table)));
    whenModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Y); });
    QTest::keyClick(g, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(dialogs.messages.size(), std::size_t(2));
    QCOMPARE(dialogs.messages[1].flags, kYesNo | kIconQuestion | kDefButton2);
    QVERIFY(!exists("hanako@alpha.example[2].txt"));
    QVERIFY(!exists("taro@alpha.example[1].txt"));
    QVERIFY(exists("hanako@beta.example[1].txt"));
    QVERIFY(exists("taro@beta.example[1].txt"));
    QCOMPARE(rows(), 0);
    m_window->activateWindow();
    QTRY_VERIFY(g->hasFocus());
    // With nothing listed, Delete and Shift+Delete ask nothing.
    QTest::keyClick(g, Qt::Key_Delete);
    QTest::keyClick(g, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(dialogs.messages.size(), std::size_t(2));
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
