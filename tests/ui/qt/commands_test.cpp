// The window's commands: what reaches the dialog service, the state and the
// files afterwards, and which mouse, key and wheel events make a row current.

#include "listing/cookie_listing.h"
#include "platform/dialogs.h"
#include "platform/qt/document_window.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/result_grid.h"
#include "ui/qt/result_table_model.h"
#include "ui/qt/static_text.h"
#include "ui/qt/tform1.h"
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

    void reloadListsTheFolderAgain();
    void fileNameSearchAsksAndFilters();
    void cancelledSearchStillRescansWithTheOldSearch();
    void contentSearchReplacesTheFileNameSearch();
    void clearingTheSearch();
    void choosingAFolder();
    void cancellingTheFolderChoiceChangesNothing();
    void choosingAFileInTheRoot();
    void aFolderNamedAtTheStartIsListedFirst();
    void versionBox();
    void helpOpensTheReadmeBesideTheProgram();
    void helpThatFailsSaysSoWithThePath();
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

    void deleteAsksAndDeletesTheRowsFile();
    void answeringNoChangesNothing();
    void deleteActsOnTheRealFileNotOnColumnOne();
    void deleteAfterDraggingAColumnDeletesTheRowsFile();
    void fileThatCannotBeDeletedIsLeftWithoutAMessage();
    void allDeleteUnderASearchDeletesOnlyTheListedFiles();
    void allDeleteDeletesExactlyTheListedRowsFiles();

    void keyboardWalk();
    void rescansKeepTheRowsFile();

private:
    ui::TForm1 &window() { return *m_window; }
    ui::ResultGrid *grid() { return m_window->findChild<ui::ResultGrid *>(QStringLiteral("grdMain")); }
    // The text of the cell that stands at `column` of table row `row`, where
    // the user may have dragged the columns (the number column stays put).
    std::string cellAtPosition(int column, int row)
    {
        const int cell = column == 0 ? 0 : grid()->horizontalHeader()->logicalIndex(column - 1) + 1;
        return std::string(window().cookies().table().cell(cell, row));
    }
    template <typename T = QWidget> T *control(const char *name)
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    void start()
    {
        m_window = std::make_unique<ui::TForm1>(m_dialogs, m_desktop);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void clickText(const char *name) { QTest::mouseClick(control<ui::ClickableText>(name), Qt::LeftButton); }
    void clickButton(const char *name) { control<QPushButton>(name)->click(); }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        ui::ResultGrid *g = grid();
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
    std::unique_ptr<ui::TForm1> m_window;
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

void CommandsTest::reloadListsTheFolderAgain()
{
    start();
    QCOMPARE(rows(), 4);
    m_prefix->writeCookie("zed@new.txt", record("new", "n/"));
    clickText("stReLoad");
    QCOMPARE(rows(), 5);
    QCOMPARE(window().statusText(), QStringLiteral(" 5 個のクッキーが見付かりました"));
    QVERIFY(m_dialogs.messages.empty());
}

void CommandsTest::fileNameSearchAsksAndFilters()
{
    start();
    m_dialogs.inputAnswers = {"ALPHA"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(m_dialogs.inputCaptions, std::vector<std::string>{"Input Search FileName"});
    QCOMPARE(m_dialogs.inputPrompts, std::vector<std::string>{cp932("検索ファイル名を入力してください")});
    QCOMPARE(m_dialogs.inputDefaults, std::vector<std::string>{""});
    QCOMPARE(window().cookies().state().systemInfo.searchMode, listing::SearchMode::FileName);
    QCOMPARE(window().cookies().state().systemInfo.searchText, std::string("ALPHA"));
    QCOMPARE(rows(), 2);
    QCOMPARE(cell(1, 1), std::string("hanako@alpha.example[2]"));
    QCOMPARE(control<ui::StaticText>("stSchModeInfo")->text(), QStringLiteral("ファイル名検索モード"));
    QVERIFY(control<QPushButton>("bbtnSch_Exit")->isEnabled());
}

void CommandsTest::cancelledSearchStillRescansWithTheOldSearch()
{
    start();
    m_dialogs.inputAnswers = {"alpha"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(rows(), 2);
    m_prefix->writeCookie("jiro@alpha.example[1].txt", record("j", "j/"));
    clickButton("bbtnSch_Memo"); // cancelled: the default, empty text comes back
    QCOMPARE(m_dialogs.inputCaptions.back(), std::string("Search File List Name"));
    QCOMPARE(m_dialogs.inputPrompts.back(), cp932("検索内容を入力してください"));
    QCOMPARE(window().cookies().state().systemInfo.searchMode, listing::SearchMode::FileName);
    QCOMPARE(rows(), 3); // rescanned, still by file name
}

void CommandsTest::contentSearchReplacesTheFileNameSearch()
{
    start();
    m_dialogs.inputAnswers = {"alpha", "v-taro"};
    clickButton("bbtnSch_Fname");
    clickButton("bbtnSch_Memo");
    QCOMPARE(window().cookies().state().systemInfo.searchMode, listing::SearchMode::Content);
    QCOMPARE(rows(), 2); // both taro files, the beta one included: the name mask is gone
    QCOMPARE(cell(1, 2), std::string("taro@beta.example[1]"));
    QCOMPARE(control<ui::StaticText>("stSchModeInfo")->text(), QStringLiteral("ファイル内容検索モード"));
}

void CommandsTest::clearingTheSearch()
{
    start();
    m_dialogs.inputAnswers = {"gamma"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(rows(), 1);
    clickButton("bbtnSch_Exit");
    QCOMPARE(window().cookies().state().systemInfo.searchMode, listing::SearchMode::None);
    QCOMPARE(window().cookies().state().systemInfo.searchText, std::string());
    QCOMPARE(rows(), 4);
    QCOMPARE(control<ui::StaticText>("stSchModeInfo")->text(), QString());
    QVERIFY(!control<QPushButton>("bbtnSch_Exit")->isEnabled());
}

void CommandsTest::choosingAFolder()
{
    start();
    TempFolder other;
    other.write("u@other.txt", record("o", "o/"));
    m_dialogs.openAnswers = {platform::namedPath(other / "anything.txt"), platform::namedPath(other / "u@other.txt")};
    clickButton("bbtnInPathSet");
    QCOMPARE(window().cookies().state().cookiesPath, other.str());
    QCOMPARE(control<QLineEdit>("edInPath")->text(), QString::fromStdString(other.str() + "/"));
    QCOMPARE(window().windowTitle(), QStringLiteral("Vellumin ver 1.30   < CookiesPath:[") +
                                         QString::fromStdString(other.str()) + QStringLiteral("/] >"));
    QCOMPARE(rows(), 1);
    QCOMPARE(m_dialogs.openRequests.front().fileName.native, std::string());
    QCOMPARE(m_dialogs.openRequests.front().defaultExtension, std::string("*.txt"));
    // It opens in the cookie folder, listing cookie files or all files.
    QCOMPARE(m_dialogs.openRequests.front().initialFolder.native, m_prefix->cookieFolder() + "/");
    const auto &filters = m_dialogs.openRequests.front().filters;
    QCOMPARE(filters.size(), std::size_t(2));
    QCOMPARE(filters[0].description, cp932("クッキーファイル (*.txt)"));
    QCOMPARE(filters[0].pattern, std::string("*.txt"));
    QCOMPARE(filters[1].description, cp932("すべてのファイル (*.*)"));
    QCOMPARE(filters[1].pattern, std::string("*.*"));

    clickButton("bbtnInPathSet");
    // The file-name box starts with the path chosen the time before.
    QCOMPARE(m_dialogs.openRequests.back().fileName.native, other / "anything.txt");
    QCOMPARE(m_dialogs.openRequests.back().initialFolder.native, other.str() + "/");
}

void CommandsTest::cancellingTheFolderChoiceChangesNothing()
{
    start();
    const std::string folder = window().cookies().state().cookiesPath;
    m_prefix->writeCookie("zed@new.txt", record("new", "n/"));
    clickButton("bbtnInPathSet"); // no answer scripted: cancelled
    QCOMPARE(window().cookies().state().cookiesPath, folder);
    QCOMPARE(rows(), 4); // no rescan
}

void CommandsTest::choosingAFileInTheRoot()
{
    start();
    m_dialogs.openAnswers = {platform::namedPath("/x.txt")};
    clickButton("bbtnInPathSet");
    QCOMPARE(window().cookies().state().cookiesPath, std::string());
    QCOMPARE(control<QLineEdit>("edInPath")->text(), QStringLiteral("/"));
    QCOMPARE(window().windowTitle(), QStringLiteral("Vellumin ver 1.30   < CookiesPath:[/] >"));
}

void CommandsTest::aFolderNamedAtTheStartIsListedFirst()
{
    // Named with a trailing separator and a character whose CP932 form
    // comes back as another ("〜" as "～"): the native path is kept exactly,
    // the CP932 form is what the window shows.
    TempFolder parent;
    const std::string named = parent / "wave\xE3\x80\x9C";
    parent.write("wave\xE3\x80\x9C/u@first.txt", record("f", "f/"));
    parent.write("wave\xEF\xBD\x9E/u@other.txt", record("o", "o/")); // "～": another folder
    m_window = std::make_unique<ui::TForm1>(m_dialogs, m_desktop, listing::cookieFolderNamed(named + "//"));
    const listing::ProgramState &state = window().cookies().state();
    QCOMPARE(state.nativeCookiesPath, named);
    QCOMPARE(state.cookiesPath, parent.str() + "/wave" + cp932("〜"));
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(1, 1), std::string("u@first"));
    QCOMPARE(window().windowTitle(), QStringLiteral("Vellumin ver 1.30   < CookiesPath:[") +
                                         QString::fromStdString(parent.str()) + QStringLiteral("/wave～/] >"));
    QCOMPARE(control<QLineEdit>("edInPath")->text(), QString::fromStdString(parent.str()) + QStringLiteral("/wave～/"));
    // Reloading stays there.
    clickText("stReLoad");
    QCOMPARE(rows(), 1);
    QVERIFY(m_dialogs.messages.empty());
}

void CommandsTest::versionBox()
{
    start();
    clickButton("bbtnVersion");
    QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
    const auto &box = m_dialogs.messages.front();
    QCOMPARE(box.caption, cp932("バージョン情報"));
    QCOMPARE(box.flags, 0x40u);
    QVERIFY(box.text.rfind("Vellumin  Version 1.30\r\r   ", 0) == 0);
    QVERIFY(box.text.find("the Vellumin developers\r\r") != std::string::npos);
}

void CommandsTest::helpOpensTheReadmeBesideTheProgram()
{
    start();
    clickButton("bbtnHelp");
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

void CommandsTest::helpThatFailsSaysSoWithThePath()
{
    start();
    m_desktop.opens = false;
    clickButton("bbtnHelp");
    QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
    const auto &box = m_dialogs.messages.front();
    const std::string path = QCoreApplication::applicationDirPath().toStdString() + "/README.TXT";
    QCOMPARE(box.text, cp932("ファイル ") + path + cp932(" は開けません."));
    QCOMPARE(box.caption, std::string("Vellumin"));
    QCOMPARE(box.flags, kIconHand | kOk);
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
    QCOMPARE(paneText(), std::string("right\r\nright file\r\nr/"));
    QCOMPARE(control<QPlainTextEdit>("riedRead_OneCookies")->toPlainText(), QStringLiteral("right\nright file\nr/"));
    clickRow(0); // the first data row shows its file like every other
    QCOMPARE(paneText().substr(0, 4), std::string("name"));
}

void CommandsTest::selectingABigFileShowsAllOfIt()
{
    // Over a megabyte, the text goes into the view by paragraphs of many
    // lines, straight from the bytes as read: every line must still be
    // there once, in order, whatever its line end, and the pane's own text
    // keeps its CR LF form.
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
    auto *pane = control<QPlainTextEdit>("riedRead_OneCookies");
    QCOMPARE(pane->toPlainText(), shown);
    QVERIFY(pane->document()->blockCount() < shown.count(QLatin1Char('\n')) / 100);
    QCOMPARE(pane->textCursor().position(), 0);
    QCOMPARE(paneText(), crLf);
    QCOMPARE(window().cookies().contentPane().line(2), cp932("表示設定"));
}

void CommandsTest::leftReleaseOnACellMakesItsRowCurrent()
{
    start();
    QSignalSpy made(grid(), &ui::ResultGrid::rowMadeCurrent);
    clickRow(2);
    QCOMPARE(made.count(), 1);
    QCOMPARE(window().currentTableRow(), 3);
    clickRow(2); // the current row again counts too
    QCOMPARE(made.count(), 2);
    QVERIFY(paneText().find("v-taro@alpha") != std::string::npos);
}

void CommandsTest::otherButtonsHeadersAndEmptySpaceDoNothing()
{
    start();
    QSignalSpy made(grid(), &ui::ResultGrid::rowMadeCurrent);
    clickRow(2, Qt::RightButton);
    clickRow(2, Qt::MiddleButton);
    QTest::mouseClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
    QTest::mouseClick(grid()->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 50));
    const QRect last = grid()->visualRect(grid()->model()->index(3, 0));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 30));
    QCOMPARE(made.count(), 0);
    QCOMPARE(window().currentTableRow(), 1);
    QCOMPARE(paneText(), std::string());
}

void CommandsTest::doubleClickCountsOnce()
{
    start();
    QSignalSpy made(grid(), &ui::ResultGrid::rowMadeCurrent);
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
    QSignalSpy made(grid(), &ui::ResultGrid::rowMadeCurrent);
    clickRow(1);
    clickRow(3, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(made.count(), 1);
    QCOMPARE(window().currentTableRow(), 2);
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
    ui::ResultGrid *g = grid();
    g->setCurrentIndex(g->model()->index(startRow, 0));
    g->setFocus();
    QSignalSpy made(g, &ui::ResultGrid::rowMadeCurrent);
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
    ui::ResultGrid *g = grid();
    g->setFocus();
    QSignalSpy made(g, &ui::ResultGrid::rowMadeCurrent);
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
    ui::ResultGrid *g = grid();
    QSignalSpy made(g, &ui::ResultGrid::rowMadeCurrent);
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
    QSignalSpy made(grid(), &ui::ResultGrid::rowMadeCurrent);
    clickText("stReLoad");
    std::filesystem::remove(m_prefix->cookieFolder() + "/taro@beta.example[1].txt");
    clickText("stReLoad");
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
    clickText("stReLoad");
    QCOMPARE(columns->logicalIndex(0), 0);
    QCOMPARE(rowsHeader->logicalIndex(3), 3);
    QCOMPARE(cellAtPosition(1, 1), std::string("hanako@alpha.example[2]"));
}

void CommandsTest::deleteAsksAndDeletesTheRowsFile()
{
    start();
    clickRow(1); // No.2: hanako@gamma.example[1]
    m_dialogs.messageAnswers = {kIdYes};
    clickText("stDelete");
    QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
    const auto &box = m_dialogs.messages.front();
    QCOMPARE(box.text, cp932("No.2 の hanako@gamma.example[1] ファイルを削除します。\n\r宜しいですか？"));
    QCOMPARE(box.caption, cp932("削除確認"));
    QCOMPARE(box.flags, 0x24u);
    QVERIFY(!exists("hanako@gamma.example[1].txt"));
    QCOMPARE(rows(), 3);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(cell(0, row), std::to_string(row));
    QCOMPARE(cell(1, 2), std::string("taro@alpha.example[1]"));
}

void CommandsTest::answeringNoChangesNothing()
{
    start();
    clickRow(0);
    m_prefix->writeCookie("zed@new.txt", record("new", "n/"));
    m_dialogs.messageAnswers = {kIdNo, kIdNo};
    clickText("stDelete");
    clickText("stAllDelete");
    QCOMPARE(m_dialogs.messages.size(), std::size_t(2));
    QCOMPARE(m_dialogs.messages[1].text, cp932("全てのクッキーファイルを削除します。\n\r宜しいですか？"));
    QCOMPARE(m_dialogs.messages[1].flags, 0x124u);
    QCOMPARE(rows(), 4); // no rescan either
    QVERIFY(exists("hanako@alpha.example[2].txt"));
    QVERIFY(exists("zed@new.txt"));
}

void CommandsTest::deleteActsOnTheRealFileNotOnColumnOne()
{
    // Column 1 shows "user@a" for both; going by it would delete user@a.txt.
    // The question names the file that is deleted.
    m_prefix->writeCookie("user@a.txt", record("keep", "k/"));
    m_prefix->writeCookie("user@a b.txt", record("delete", "d/"));
    start();
    clickRow(4);
    m_dialogs.messageAnswers = {kIdYes};
    clickText("stDelete");
    QCOMPARE(m_dialogs.messages.front().text, cp932("No.5 の user@a b ファイルを削除します。\n\r宜しいですか？"));
    QVERIFY(!exists("user@a b.txt"));
    QVERIFY(exists("user@a.txt"));
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
    clickText("stDelete");
    QCOMPARE(m_dialogs.messages.front().text, cp932("No.6 の zz@site ファイルを削除します。\n\r宜しいですか？"));
    QVERIFY(!exists("zz@site.txt"));
    QVERIFY(exists("victim.txt"));
    // The rescan writes every column back in its place.
    QCOMPARE(cell(1, 5), std::string("victim"));
}

void CommandsTest::fileThatCannotBeDeletedIsLeftWithoutAMessage()
{
    start();
    clickRow(0);
    std::filesystem::remove(m_prefix->cookieFolder() + "/hanako@alpha.example[2].txt");
    m_dialogs.messageAnswers = {kIdYes};
    clickText("stDelete");
    QCOMPARE(m_dialogs.messages.size(), std::size_t(1)); // the question only
    QCOMPARE(rows(), 3);
}

void CommandsTest::allDeleteUnderASearchDeletesOnlyTheListedFiles()
{
    start();
    m_dialogs.inputAnswers = {"alpha"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(rows(), 2);
    m_dialogs.messageAnswers = {kIdYes};
    clickText("stAllDelete");
    QVERIFY(!exists("taro@alpha.example[1].txt"));
    QVERIFY(!exists("hanako@alpha.example[2].txt"));
    QVERIFY(exists("taro@beta.example[1].txt"));
    QVERIFY(exists("hanako@gamma.example[1].txt"));
    QCOMPARE(rows(), 0);
    QVERIFY(!control<ui::ClickableText>("stDelete")->isEnabled());
    QVERIFY(!control<ui::ClickableText>("stAllDelete")->isEnabled());
}

void CommandsTest::allDeleteDeletesExactlyTheListedRowsFiles()
{
    // Cells split at the blank and the comma; the files deleted are the rows'
    // own, and the unlisted look-alikes stay.
    m_prefix->writeCookie("u@a b.txt", record("1", "a/"));
    m_prefix->writeCookie("u@c,d.txt", record("2", "b/"));
    m_prefix->writeCookie("u@a.bak", record("3", "c/"));
    start();
    m_dialogs.inputAnswers = {"a b"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(rows(), 1);
    m_dialogs.messageAnswers = {kIdYes};
    clickText("stAllDelete");
    QVERIFY(!exists("u@a b.txt"));
    QVERIFY(exists("u@c,d.txt"));
    QVERIFY(exists("u@a.bak"));
    QVERIFY(exists("taro@alpha.example[1].txt"));
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
    platform::qt::QtDialogs m_real;
};

// Presses Tab until `name` has the focus; false when it never comes.
bool tabTo(const char *name)
{
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget()->objectName() == QLatin1String(name))
            return true;
    }
    return false;
}

} // namespace

void CommandsTest::keyboardWalk()
{
    RealDialogs dialogs;
    m_window = std::make_unique<ui::TForm1>(dialogs, m_desktop);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    ui::ResultGrid *g = grid();
    QVERIFY(control("bbtnInPathSet")->hasFocus());
    // 1 hanako@alpha.example[2], 2 hanako@gamma.example[1], 3 taro@alpha..., 4 taro@beta...
    QVERIFY(tabTo("grdMain"));
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(window().currentTableRow(), 2);

    // Tab on to DELETE, which shows it has the focus; Enter asks, Enter
    // answers Yes, the default.
    QVERIFY(tabTo("stDelete"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("stDelete"));
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
    QCOMPARE(cell(1, window().currentTableRow()), std::string("taro@alpha.example[1]"));
    QCOMPARE(g->selectionModel()->selectedRows().size(), 1);

    // F5 lists a new file, and the same file stays current.
    m_prefix->writeCookie("hanako@beta.example[1].txt", record("b", "b/"));
    QTest::keyClick(g, Qt::Key_F5);
    QCOMPARE(rows(), 4);
    QVERIFY(g->hasFocus());
    QCOMPARE(window().currentTableRow(), 3);
    QCOMPARE(cell(1, 3), std::string("taro@alpha.example[1]"));

    // Under a search for "alpha", Shift+Delete asks to delete all (No is the
    // default: Y answers Yes) and deletes only what is listed.
    QVERIFY(tabTo("bbtnSch_Fname"));
    whenModal([](QWidget *box) {
        QTest::keyClicks(box->focusWidget(), QStringLiteral("alpha"));
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(rows(), 2);
    m_window->activateWindow();
    QTRY_VERIFY(control("bbtnSch_Fname")->hasFocus());
    QVERIFY(tabTo("grdMain"));
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

void CommandsTest::rescansKeepTheRowsFile()
{
    start();
    ui::ResultGrid *g = grid();
    g->setFocus();
    QTest::keyClick(g, Qt::Key_End);
    // Deleting the last row leaves the new last row current, its file in
    // the pane as a click on it would show it.
    m_dialogs.messageAnswers = {kIdYes};
    QTest::keyClick(g, Qt::Key_Delete);
    QVERIFY(!exists("taro@beta.example[1].txt"));
    QCOMPARE(window().currentTableRow(), 3);
    QCOMPARE(m_window->focusWidget(), g);
    QCOMPARE(paneText(), std::string("name\r\nv-taro@alpha.example[1]\r\nhost/\r\n1536\r\n1\r\n2\r\n3\r\n4\r\n*\r\n"));
    QCOMPARE(control<QPlainTextEdit>("riedRead_OneCookies")->toPlainText().section(QLatin1Char('\n'), 1, 1),
             QStringLiteral("v-taro@alpha.example[1]"));
    // Deleting the first row shows the file that took its place.
    QTest::keyClick(g, Qt::Key_Home);
    m_dialogs.messageAnswers = {kIdYes};
    QTest::keyClick(g, Qt::Key_Delete);
    QVERIFY(!exists("hanako@alpha.example[2].txt"));
    QCOMPARE(window().currentTableRow(), 1);
    QCOMPARE(window().cookies().contentPane().line(2), std::string("v-hanako@gamma.example[1]"));
    m_prefix->writeCookie("hanako@alpha.example[2].txt", record("v-hanako@alpha.example[2]", "host/"));
    clickText("stReLoad");
    QCOMPARE(rows(), 3);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_End);

    // A file that could not be deleted stays current (the rescan lists it
    // again); a No asks and keeps everything.
    m_dialogs.messageAnswers = {kIdNo};
    QTest::keyClick(g, Qt::Key_Delete);
    QCOMPARE(rows(), 3);
    QCOMPARE(window().currentTableRow(), 3);

    // Clearing a search keeps the file that was current.
    m_dialogs.inputAnswers = {"alpha"};
    clickButton("bbtnSch_Fname");
    QCOMPARE(rows(), 2);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(cell(1, window().currentTableRow()), std::string("taro@alpha.example[1]"));
    control<QPushButton>("bbtnSch_Exit")->setFocus();
    QTest::keyClick(control("bbtnSch_Exit"), Qt::Key_Space);
    QCOMPARE(rows(), 3);
    QCOMPARE(m_window->focusWidget(), g);
    QCOMPARE(cell(1, window().currentTableRow()), std::string("taro@alpha.example[1]"));

    // A file that went meanwhile gives its place to the one after it.
    std::filesystem::remove(m_prefix->cookieFolder() + "/taro@alpha.example[1].txt");
    m_prefix->writeCookie("hanako@a.txt", record("a", "a/"));
    clickText("stReLoad");
    QCOMPARE(cell(1, window().currentTableRow()), std::string("hanako@gamma.example[1]"));
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
