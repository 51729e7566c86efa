// The main window: its controls, the first scan at start-up, the fitted
// columns, the error box of a failed start, hints, focus and closing.

#include "listing/cookie_table.h"
#include "listing/result_table.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"
#include "ui/main_form.h"
#include "ui/qt/application.h"
#include "ui/qt/cookie_view.h"
#include "ui/qt/fonts.h"
#include "ui/qt/main_window_host.h"
#include "ui/qt/panel.h"
#include "ui/qt/result_grid.h"
#include "ui/qt/result_table_model.h"
#include "ui/qt/splitter.h"
#include "ui/qt/static_text.h"
#include "ui/qt/text_view.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using ui::qt::Splitter;

using ui::form::Id;

template <typename T = QWidget> T *control(const ui::qt::MainWindowHost &window, Id id)
{
    return window.controlOf<T>(id);
}

QString expectedCaption(const std::string &folder)
{
    return QStringLiteral("Vellumin ver 1.30   < CookiesPath:[") + QString::fromStdString(folder) +
           QStringLiteral("/] >");
}

} // namespace

class MainWindowHostTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void controlTree_data();
    void controlTree();
    void texts();
    void fonts();
    void designedGeometry();
    void staticTextsFitTheirText();
    void hints();
    void firstScanFillsTableAndStatus();
    void fittedColumnWidths();
    void emptyFolderDisablesDeleteCommands();
    void readOnlyKeepsTheDeleteCommandsOffAndSaysSo();
    void startsInTheCookieFolderThatIsThereOrSaysItIsMissing();
    void goneFileAtTheFirstScanIsLeftOutWithoutABox();
    void handlerWrapperShowsAnyFailure();
    void busyCursorIsHeldOnce();
    void initialFocusAndTabOrder();
    void closeButtonAltCAndEsc();
    void destroyedWhileShown();
    void splitterSnapsShutAndEscCancels();
    void splitterDragsNeverResizeTheWindow();
    void gridLinesLieBetweenCells();
    void focusedButtonHasDarkFrame();
    void commandsReachScreenReaders();
    void cookieViewShowsTheChosenFilesCookies();
    void tabIntoTheCookieViewSelectsARowAndCtrlASelectsAll();
    void theTabStripReadsItsChosenTab();

private:
    std::unique_ptr<ui::qt::MainWindowHost> makeWindow(ScriptedDialogs &dialogs)
    {
        return std::make_unique<ui::qt::MainWindowHost>(dialogs, m_desktop);
    }

    RecordingDesktop m_desktop;
};

void MainWindowHostTest::initTestCase()
{
    ui::qt::setUpApplication();
}

void MainWindowHostTest::controlTree_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("className");

    // The widget class each kind of control is made of.
    const std::map<ui::form::Kind, const char *> classes = {
        {ui::form::Kind::Panel, "ui::qt::Panel"},
        {ui::form::Kind::GroupBox, "QGroupBox"},
        {ui::form::Kind::Label, "ui::qt::StaticText"},
        {ui::form::Kind::CommandText, "ui::qt::ClickableText"},
        {ui::form::Kind::FolderBox, "QLineEdit"},
        {ui::form::Kind::Button, "ui::qt::PushButton"},
        {ui::form::Kind::StatusBar, "QStatusBar"},
        {ui::form::Kind::Splitter, "ui::qt::Splitter"},
        {ui::form::Kind::Grid, "ui::qt::ResultGrid"},
        {ui::form::Kind::ContentPane, "ui::qt::TextView"},
        {ui::form::Kind::TabStrip, "QTabBar"},
        {ui::form::Kind::CookieGrid, "ui::qt::CookieView"},
        {ui::form::Kind::Notice, "QLabel"},
    };
    for (const ui::form::Control &control : ui::form::controls()) {
        if (control.id == ui::form::Id::Window)
            continue;
        QTest::newRow(control.name) << ui::form::indexOf(control.id) << QString::fromLatin1(classes.at(control.kind));
    }
}

void MainWindowHostTest::controlTree()
{
    QFETCH(int, id);
    QFETCH(QString, className);

    // Each control is made of its kind's class, under its parent, named as
    // the form names it.
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const ui::form::Control &expected = ui::form::controls()[static_cast<std::size_t>(id)];
    QCOMPARE(window->objectName(), QString::fromLatin1(ui::form::control(Id::Window).name));
    const QWidget *made = control(*window, expected.id);
    QVERIFY(made);
    QCOMPARE(made->objectName(), QString::fromLatin1(expected.name));
    QCOMPARE(QString::fromLatin1(made->metaObject()->className()), className);
    QCOMPARE(made->parentWidget(), control(*window, expected.parent));
}

void MainWindowHostTest::texts()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const ui::qt::MainWindowHost &w = *window;

    // Every caption as the form gives it.
    for (const ui::form::Control &control : ui::form::controls()) {
        const QString caption = QString::fromUtf8(control.caption);
        QWidget *widget = ::control(w, control.id);
        if (control.placeholder || !*control.caption)
            continue;
        if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(button->text(), caption);
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(group->title(), caption);
        else if (auto *text = qobject_cast<ui::qt::StaticText *>(widget))
            QCOMPARE(text->text(), caption);
        else if (auto *panel = qobject_cast<ui::qt::Panel *>(widget))
            QCOMPARE(panel->caption(), caption);
    }
    QVERIFY(!control<QPushButton>(w, ui::form::Id::CloseButton)->icon().isNull());

    // The placeholders are cleared at start; the search is off.
    for (const Id panel : {Id::FolderStrip, Id::CommandPanel, Id::SearchModeStrip, Id::ListArea})
        QVERIFY2(control<ui::qt::Panel>(w, panel)->caption().isEmpty(), ui::form::control(panel).name);
    QCOMPARE(control<ui::qt::StaticText>(w, ui::form::Id::SearchModeLabel)->text(), QString());
    QVERIFY(!control(w, ui::form::Id::ClearSearchButton)->isEnabled());
    QVERIFY(!control(w, ui::form::Id::FolderBox)->isEnabled());
    QVERIFY(control(w, ui::form::Id::SearchByFileNameButton)->isEnabled());
    QVERIFY(control(w, ui::form::Id::ReloadCommand)->isEnabled());
    // The pane is read-only: what is typed into it changes nothing.
    auto *pane = control<ui::qt::TextView>(w, ui::form::Id::ContentPane);
    const QString before = pane->toPlainText();
    QTest::keyClicks(pane, QStringLiteral("typed"));
    QTest::keyClick(pane, Qt::Key_Delete);
    QTest::keyClick(pane, Qt::Key_Backspace);
    QCOMPARE(pane->toPlainText(), before);
    QVERIFY(control<QStatusBar>(w, ui::form::Id::StatusBar)->isSizeGripEnabled());

    // No button is a default button.
    for (QPushButton *button : w.findChildren<QPushButton *>()) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
    }
}

void MainWindowHostTest::fonts()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const ui::qt::MainWindowHost &w = *window;
    const ui::LayoutScale &scale = window->layoutScale();

    QCOMPARE(w.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(w.font().pixelSize(), scale.px(12));
    // Rendered in the installed stand-in.
    const QString family = QFontInfo(w.font()).family();
    QVERIFY2(family == QStringLiteral("IPAPGothic") || family == QStringLiteral("IPA Pゴシック"), qPrintable(family));
    QCOMPARE(QFontInfo(control(w, ui::form::Id::Table)->font()).family(), family);

    for (const Id id : {Id::DeleteCommand, Id::DeleteAllCommand, Id::ReloadCommand}) {
        const QFont font = control(w, id)->font();
        QCOMPARE(font.pixelSize(), scale.px(16));
        QVERIFY(font.bold() && font.italic() && font.underline());
        QCOMPARE(control(w, id)->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    }
    QVERIFY(control(w, ui::form::Id::SearchModeLabel)->font().bold());
    QCOMPARE(control(w, ui::form::Id::CommandPanel)->palette().color(QPalette::Window), QColor(0x00, 0x80, 0x00));
    QCOMPARE(control(w, ui::form::Id::SearchGroup)->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QCOMPARE(control(w, ui::form::Id::SearchByFileNameButton)->palette().color(QPalette::ButtonText),
             QColor(Qt::black));

    // The point size that fits the columns comes from the real font and screen.
    const int dpi = control(w, ui::form::Id::Table)->logicalDpiY();
    QCOMPARE(window->window().tableFontPointSize(), qRound(QFontInfo(w.font()).pixelSize() * 72.0 / dpi));
    if (dpi == 96)
        QCOMPARE(window->window().tableFontPointSize(), 9);
}

void MainWindowHostTest::designedGeometry()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    if (window->layoutScale().textHeight() != 12)
        QSKIP("the layout is checked in pixels at 96 dots per inch");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const ui::qt::MainWindowHost &w = *window;

    QCOMPARE(w.size(), QSize(688, 446));
    QCOMPARE(w.pos(), QPoint(192, 107));
    // Every control where the form lays it out; a text sized by its text
    // where it was placed.
    const std::vector<ui::Box> boxes = ui::form::layOut(window->layoutScale(), w.width(), w.height());
    for (const ui::form::Control &control : ui::form::controls()) {
        if (control.id == ui::form::Id::Window)
            continue;
        const ui::Box &box = boxes[static_cast<std::size_t>(ui::form::indexOf(control.id))];
        const QRect geometry = ::control(w, control.id)->geometry();
        if (control.sizedByText)
            QCOMPARE(geometry.topLeft(), QPoint(box.x, box.y));
        else
            QVERIFY2(geometry == QRect(box.x, box.y, box.width, box.height), control.name);
    }
    QCOMPARE(control<QPushButton>(w, ui::form::Id::CloseButton)->iconSize(), QSize(18, 18));

    auto *grid = control<ui::qt::ResultGrid>(w, ui::form::Id::Table);
    // Rows of 20 pixels and the line between them.
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 21);
    QCOMPARE(grid->horizontalHeader()->height(), 21);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(grid->horizontalHeader()->sectionsMovable());
    QVERIFY(grid->verticalHeader()->sectionsMovable());
    QCOMPARE(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
}

void MainWindowHostTest::staticTextsFitTheirText()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    for (const Id id : {Id::FolderLabel, Id::DeleteCommand, Id::DeleteAllCommand, Id::ReloadCommand}) {
        auto *text = control<ui::qt::StaticText>(*window, id);
        const QFontMetrics metrics(text->font());
        // Trailing blanks count.
        QVERIFY(text->width() >= metrics.horizontalAdvance(text->text()) + 4);
        QVERIFY2(text->width() <= metrics.horizontalAdvance(text->text()) + 4 + metrics.height() * 2 / 3,
                 qPrintable(QStringLiteral("%1: %2 for an advance of %3")
                                .arg(QLatin1String(ui::form::control(id).name))
                                .arg(text->width())
                                .arg(metrics.horizontalAdvance(text->text()))));
        QCOMPARE(text->height(), metrics.height() + 4);
    }
    // The search-mode label keeps its designed size whatever it shows.
    auto *label = control<ui::qt::StaticText>(*window, ui::form::Id::SearchModeLabel);
    const QSize designed = label->size();
    label->setText(QStringLiteral("ファイル内容検索モード"));
    QCOMPARE(label->size(), designed);
}

void MainWindowHostTest::hints()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    // The hints the form gives, and no others.
    int hinted = 0;
    for (const ui::form::Control &control : ui::form::controls()) {
        const std::string hint = ui::form::hintText(control);
        if (hint.empty())
            continue;
        ++hinted;
        QCOMPARE(::control(*window, control.id)->toolTip(), platform::qt::toQString(hint));
        QCOMPARE(::control(*window, control.id)->toolTipDuration(), 2500);
    }
    int withHint = 0;
    for (const QWidget *widget : window->findChildren<QWidget *>())
        withHint += widget->toolTip().isEmpty() ? 0 : 1;
    QCOMPARE(withHint, hinted);
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);

    // A help event shows the hint; a disabled command shows none.
    QWidget *reload = control(*window, ui::form::Id::ReloadCommand);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), reload->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(reload, &help);
    QTRY_COMPARE(QToolTip::text(), reload->toolTip());
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());

    QWidget *remove = control(*window, ui::form::Id::DeleteCommand);
    remove->setEnabled(false);
    QHelpEvent disabledHelp(QEvent::ToolTip, QPoint(2, 2), remove->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(remove, &disabledHelp);
    QTest::qWait(50);
    QVERIFY(!QToolTip::isVisible());

    // Over the table's cells the table's own hint shows.
    auto *grid = control<ui::qt::ResultGrid>(*window, ui::form::Id::Table);
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    QHelpEvent gridHelp(QEvent::ToolTip, cell, grid->viewport()->mapToGlobal(cell));
    QApplication::sendEvent(grid->viewport(), &gridHelp);
    QTRY_COMPARE(QToolTip::text(), grid->toolTip());
    QToolTip::hideText();
}

void MainWindowHostTest::firstScanFillsTableAndStatus()
{
    TempPrefix prefix;
    prefix.writeCookie("taro@www.example.com[1].txt", "id\n値は１\nwww.example.com/\n1536\n");
    prefix.writeCookie("hanako@b.example.jp[1].txt", "theme\n表示\nb.example.jp/diary/\n");
    prefix.writeCookie("notes.md", "not a cookie\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const ui::qt::MainWindowHost &w = *window;

    QVERIFY(dialogs.messages.empty());
    const QAbstractItemModel *model = window->tableModel();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 8);
    const auto *grid = control<ui::qt::ResultGrid>(w, ui::form::Id::Table);
    QCOMPARE(grid->model(), model);

    // Row 0 of the table is the header, column 0 the number column.
    QCOMPARE(window->tableModel()->cornerText(), QStringLiteral("No"));
    const QString header[] = {QStringLiteral("FileName"), QStringLiteral("URL(?)"), QStringLiteral("Info(?)")};
    for (int column = 0; column < 3; ++column)
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), header[column]);
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QString());
    QCOMPARE(model->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
    QCOMPARE(model->headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));

    // Sorted by name; the file name without ".txt", line 3, line 2.
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("hanako@b.example.jp[1]"));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("b.example.jp/diary/"));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("表示"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("taro@www.example.com[1]"));
    QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("値は１"));

    QCOMPARE(window->statusText(), QStringLiteral(" 2 個のクッキーが見付かりました"));
    const QString folder = QString::fromStdString(prefix.cookieFolder());
    QCOMPARE(window->windowTitle(), expectedCaption(prefix.cookieFolder()));
    QCOMPARE(control<QLineEdit>(w, ui::form::Id::FolderBox)->text(), folder + QStringLiteral("/"));
    QVERIFY(control(w, ui::form::Id::DeleteCommand)->isEnabled());
    QVERIFY(control(w, ui::form::Id::DeleteAllCommand)->isEnabled());
    QVERIFY(!control(w, ui::form::Id::Table)->isHidden());
    QVERIFY(!control(w, ui::form::Id::ContentPane)->isHidden());
    QCOMPARE(control<ui::qt::TextView>(w, ui::form::Id::ContentPane)->toPlainText(), QString());
    QCOMPARE(grid->currentIndex().row(), 0);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void MainWindowHostTest::fittedColumnWidths()
{
    TempPrefix prefix;
    prefix.writeCookie("a@example.com[1].txt", "n\nshort\nexample.com/\n");
    prefix.writeCookie("b@a-much-longer-name.example.org[2].txt", "n\nv a,b\nx/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const auto *grid = control<ui::qt::ResultGrid>(*window, ui::form::Id::Table);
    const listing::ResultTable &table = window->cookies().table();

    // Each section is its column's width and the line after it.
    for (int column = 1; column < listing::kGridColumnCount; ++column)
        QCOMPARE(grid->horizontalHeader()->sectionSize(column - 1), table.columnWidth(column) + 1);
    QCOMPARE(grid->verticalHeader()->width(), table.columnWidth(0) + 1);

    const int points = window->window().tableFontPointSize();
    // Column 0's longest text is "No"; column 1 the longer name; column 4
    // holds "a" split off the Info text "v a,b".
    QCOMPARE(table.columnWidth(0), 2 * points);
    QCOMPARE(table.columnWidth(1), static_cast<int>(std::strlen("b@a-much-longer-name.example.org[2]")) * points);
    QCOMPARE(window->tableModel()->index(1, 3).data().toString(), QStringLiteral("a"));
    QCOMPARE(window->tableModel()->index(1, 4).data().toString(), QStringLiteral("b"));
}

void MainWindowHostTest::emptyFolderDisablesDeleteCommands()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(window->tableModel()->rowCount(), 0);
    QCOMPARE(window->tableModel()->cornerText(), QStringLiteral("No"));
    QCOMPARE(window->tableModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("FileName"));
    QCOMPARE(window->statusText(), QStringLiteral("クッキーファイルが見付かりません"));
    QVERIFY(!control(*window, ui::form::Id::DeleteCommand)->isEnabled());
    QVERIFY(!control(*window, ui::form::Id::DeleteAllCommand)->isEnabled());
    QVERIFY(control(*window, ui::form::Id::ReloadCommand)->isEnabled());
}

void MainWindowHostTest::readOnlyKeepsTheDeleteCommandsOffAndSaysSo()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    dialogs.messageAnswers = {6, 6}; // Yes, were anything asked
    ui::qt::MainWindowHost window(dialogs, m_desktop, std::nullopt, true);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.tableModel()->rowCount(), 1);
    QVERIFY(!control(window, ui::form::Id::DeleteCommand)->isEnabled());
    QVERIFY(!control(window, ui::form::Id::DeleteAllCommand)->isEnabled());
    QVERIFY(window.windowTitle().endsWith(QStringLiteral("  [読み取り専用]")));
    QWidget *table = control(window, ui::form::Id::Table);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Delete);
    QTest::keyClick(table, Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(dialogs.messages.empty());
    QVERIFY(std::filesystem::exists(prefix.cookieFolder() + "/a@x.txt"));
}

void MainWindowHostTest::startsInTheCookieFolderThatIsThereOrSaysItIsMissing()
{
    TempPrefix prefix;
    const std::string windowsCookies = prefix.cookieFolder();
    std::filesystem::remove(windowsCookies);
    {
        // No cookie folder anywhere: the Windows directory's, said missing,
        // without a box.
        ScriptedDialogs dialogs;
        const auto window = makeWindow(dialogs);
        QVERIFY(dialogs.messages.empty());
        QCOMPARE(window->tableModel()->rowCount(), 0);
        QCOMPARE(window->statusText(),
                 QStringLiteral("クッキーフォルダ %1 が見付かりません").arg(QString::fromStdString(windowsCookies)));
        QVERIFY(!control(*window, Id::DeleteCommand)->isEnabled());
        QVERIFY(!control(*window, Id::DeleteAllCommand)->isEnabled());
    }
    // A Wine prefix as Wine makes it: the folder its registry names.
    prefix.folder().write("user.reg", R"(WINE REGISTRY Version 2
[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1
"Cookies"="C:\\users\\taro\\AppData\\Local\\Microsoft\\Windows\\INetCookies"
)");
    std::filesystem::create_directories(prefix.folder() / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix.folder() / "dosdevices/c:");
    const std::string named = prefix.folder() / "drive_c/users/taro/AppData/Local/Microsoft/Windows/INetCookies";
    prefix.folder().write("drive_c/users/taro/AppData/Local/Microsoft/Windows/INetCookies/taro@a.example[1].txt",
                          "n\nv\na.example/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    QCOMPARE(window->tableModel()->rowCount(), 1);
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Vellumin ver 1.30   < CookiesPath:[%1/] >").arg(QString::fromStdString(named)));
    QVERIFY(control(*window, Id::DeleteCommand)->isEnabled());
}

void MainWindowHostTest::goneFileAtTheFirstScanIsLeftOutWithoutABox()
{
    TempPrefix prefix;
    prefix.writeCookie("a@first.example.com[1].txt", "n\nv\nfirst.example.com/\n");
    // A name the mask lists whose file is gone by the time it is read, as
    // one the browser deleted meanwhile. (A file there that cannot be read
    // still goes to the error box: the window's tests show that with a file
    // without permission, and the wrapper's below.)
    prefix.linkNowhere("x.txt");
    prefix.writeCookie("z@late.example.com[1].txt", "n\nv\nlate.example.com/\n");
    ScriptedDialogs dialogs;
    std::unique_ptr<ui::qt::MainWindowHost> window;
    window = makeWindow(dialogs);

    QCOMPARE(dialogs.messages.size(), std::size_t(0));
    QCOMPARE(window->tableModel()->rowCount(), 2);
    QCOMPARE(window->tableModel()->index(0, 0).data().toString(), QStringLiteral("a@first.example.com[1]"));
    QCOMPARE(window->tableModel()->index(1, 0).data().toString(), QStringLiteral("z@late.example.com[1]"));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->isVisible());
}

void MainWindowHostTest::handlerWrapperShowsAnyFailure()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);

    window->window().run([] { throw std::runtime_error("disk on fire"); });
    window->window().run([] { throw std::runtime_error("already ends."); });
    window->window().run([] { throw 42; });
    QCOMPARE(dialogs.messages.size(), std::size_t(3));
    QCOMPARE(dialogs.messages[0].text, std::string("disk on fire."));
    QCOMPARE(dialogs.messages[1].text, std::string("already ends."));
    for (const auto &box : dialogs.messages) {
        QCOMPARE(box.caption, std::string("Vellumin"));
        QCOMPARE(box.flags, 0x10u);
    }
}

void MainWindowHostTest::busyCursorIsHeldOnce()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    auto window = makeWindow(dialogs);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    window->setBusyCursor(true);
    window->setBusyCursor(true);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    window->setBusyCursor(false);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    // A window that goes while busy gives the cursor back.
    window->setBusyCursor(true);
    window.reset();
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void MainWindowHostTest::initialFocusAndTabOrder()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    QCOMPARE(QApplication::focusWidget(), control(*window, ui::form::Id::BrowseButton));
    // The command texts come right after the browse button; the
    // clear-search button is left out while it is disabled.
    const Id order[] = {Id::DeleteCommand,
                        Id::DeleteAllCommand,
                        Id::ReloadCommand,
                        Id::CloseButton,
                        Id::VersionButton,
                        Id::HelpButton,
                        Id::SearchByFileNameButton,
                        Id::SearchByContentButton,
                        Id::Table,
                        Id::ContentTabs,
                        Id::ContentPane,
                        Id::BrowseButton};
    for (const Id id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(*window, id));
    }
    control(*window, ui::form::Id::ClearSearchButton)->setEnabled(true);
    QApplication::focusWidget()->setFocus();
    control(*window, ui::form::Id::SearchByContentButton)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control(*window, Id::ClearSearchButton));
}

void MainWindowHostTest::closeButtonAltCAndEsc()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    QTest::keyClick(window.get(), Qt::Key_Escape);
    QVERIFY(window->isVisible());

    QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!window->isVisible());

    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(control(*window, ui::form::Id::CloseButton), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(dialogs.messages.empty());
}

void MainWindowHostTest::destroyedWhileShown()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Hiding on the way out must not read the listing that has already gone.
    window.reset();
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

namespace {

void drag(QWidget *widget, QPoint from, QPoint to, bool cancel = false)
{
    auto send = [widget](QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    if (cancel) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(widget, &escape);
    }
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace

void MainWindowHostTest::splitterSnapsShutAndEscCancels()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QWidget *lower = control(*window, ui::form::Id::ContentSplitter);
    QWidget *pane = control(*window, ui::form::Id::ContentPanel);
    const int before = pane->height();

    drag(lower, QPoint(5, 1), QPoint(5, -40), true);
    QCOMPARE(pane->height(), before);

    drag(lower, QPoint(5, 1), QPoint(5, -40));
    QCOMPARE(pane->height(), before + 41);

    QWidget *column = control(*window, ui::form::Id::CommandPanel);
    drag(control(*window, ui::form::Id::CommandSplitter), QPoint(1, 5), QPoint(1 - column->width() + 20, 5));
    QCOMPARE(column->width(), 0);
    QCOMPARE(control(*window, ui::form::Id::CommandSplitter)->x(), 0);
}

void MainWindowHostTest::splitterDragsNeverResizeTheWindow()
{
    TempPrefix prefix;
    for (int i = 0; i < 30; ++i)
        prefix.writeCookie("u@site" + std::to_string(i) + ".txt", "n\nv\nsite/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QSize size = window->size();
    const QSize minimum = window->minimumSize();
    QWidget *grid = control(*window, ui::form::Id::Table);
    QWidget *pane = control(*window, ui::form::Id::ContentPanel);
    QWidget *column = control(*window, ui::form::Id::CommandPanel);
    QWidget *list = control(*window, ui::form::Id::ListArea);
    QWidget *lower = control(*window, ui::form::Id::ContentSplitter);
    QWidget *upright = control(*window, ui::form::Id::CommandSplitter);

    // Each drag to the far limit leaves 30 pixels to the control that fills
    // the rest, and the window as it was, however often it is repeated.
    for (int i = 0; i < 6; ++i) {
        drag(lower, QPoint(5, 1), QPoint(5, -2000));
        QApplication::processEvents();
        QCOMPARE(grid->height(), ui::kSplitterMinimumSize);
        QCOMPARE(window->size(), size);
        drag(upright, QPoint(1, 5), QPoint(2000, 5));
        QApplication::processEvents();
        QCOMPARE(list->width(), ui::kSplitterMinimumSize);
        QCOMPARE(window->size(), size);
        QCOMPARE(window->minimumSize(), minimum);
    }
    QCOMPARE(lower->geometry().bottom() + 1, pane->y());
    QCOMPARE(upright->x(), column->width());

    // The user can still make the window smaller than its strips: the
    // filling controls give up their room first.
    window->resize(size.width() - 200, size.height() - 150);
    QTRY_COMPARE(window->size(), QSize(size.width() - 200, size.height() - 150));
    QCOMPARE(list->width(), 0);
    QCOMPARE(column->width(), size.width() - 3 - ui::kSplitterMinimumSize);
    QCOMPARE(grid->height(), 0);
}

void MainWindowHostTest::gridLinesLieBetweenCells()
{
    TempPrefix prefix;
    prefix.writeCookie("a@example.com[1].txt", "n\nshort\nexample.com/\n");
    prefix.writeCookie("b@example.org[2].txt", "n\nlonger value\nexample.org/\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *grid = control<ui::qt::ResultGrid>(*window, ui::form::Id::Table);
    const listing::ResultTable &table = window->cookies().table();
    const int rowHeight = window->layoutScale().px(ui::grid::kDefaultRowHeight);

    // A column of width w shows w pixels of cell; rows are their height plus
    // the line apart.
    for (int column = 0; column < 3; ++column) {
        const QRect cell = grid->visualRect(grid->model()->index(0, column));
        QCOMPARE(cell.width(), table.columnWidth(column + 1));
        QCOMPARE(cell.height(), rowHeight);
    }
    QCOMPARE(grid->rowViewportPosition(1) - grid->rowViewportPosition(0), rowHeight + 1);

    // The number column's header cell keeps its whole width: its raised
    // face ends in the shadow edge at the cell's last pixel, and the grid
    // line lies after it.
    QWidget *corner = grid->corner();
    QVERIFY(corner);
    const int width = table.columnWidth(0);
    QCOMPARE(corner->width(), width + 1);
    QCOMPARE(corner->height(), rowHeight + 1);
    const QImage image = corner->grab().toImage();
    const QPalette &palette = grid->palette();
    QCOMPARE(QColor(image.pixel(width - 1, rowHeight - 2)), palette.color(QPalette::Dark));
    QCOMPARE(QColor(image.pixel(width, rowHeight - 2)), palette.color(QPalette::Shadow));
    QCOMPARE(QColor(image.pixel(width / 2, rowHeight)), palette.color(QPalette::Shadow));
}

void MainWindowHostTest::focusedButtonHasDarkFrame()
{
    TempPrefix prefix;
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto *browse = control<QPushButton>(*window, ui::form::Id::BrowseButton);
    auto *version = control<QPushButton>(*window, ui::form::Id::VersionButton);
    QTRY_VERIFY(browse->hasFocus());

    const QColor frame = browse->palette().color(QPalette::Shadow);
    const auto leftEdge = [](QWidget *button) {
        const QImage image = button->grab().toImage();
        return QColor(image.pixel(0, image.height() / 2));
    };
    QCOMPARE(leftEdge(browse), frame);
    QVERIFY(leftEdge(version) != frame);

    // The frame follows the focus, and it marks no button as a default.
    version->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(version->hasFocus());
    QCOMPARE(leftEdge(version), frame);
    QVERIFY(leftEdge(browse) != frame);
    QVERIFY(!version->isDefault());
}

void MainWindowHostTest::commandsReachScreenReaders()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "n\nv\nx/\n");
    ScriptedDialogs dialogs;
    dialogs.messageAnswers = {platform::msgbox::kIdNo};
    const auto window = makeWindow(dialogs);

    const std::pair<Id, QString> commands[] = {
        {Id::DeleteCommand, QStringLiteral("DELETE")},
        {Id::DeleteAllCommand, QStringLiteral("ALL DELETE")},
        {Id::ReloadCommand, QStringLiteral("ReLoad")},
    };
    for (const auto &[id, accessibleName] : commands) {
        QAccessibleInterface *command = QAccessible::queryAccessibleInterface(control(*window, id));
        QVERIFY(command);
        QCOMPARE(command->role(), QAccessible::Button);
        QCOMPARE(command->text(QAccessible::Name), accessibleName);
        QVERIFY(!command->state().disabled);
        QVERIFY(command->state().focusable);
        QVERIFY(command->actionInterface());
        QVERIFY(command->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }

    // Pressing DELETE asks, once the call has returned.
    QAccessibleInterface *remove = QAccessible::queryAccessibleInterface(control(*window, ui::form::Id::DeleteCommand));
    remove->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(dialogs.messages.empty());
    QTRY_COMPARE(dialogs.messages.size(), std::size_t(1));
    QCOMPARE(dialogs.messages.front().flags, platform::msgbox::kYesNo | platform::msgbox::kIconQuestion);

    // A disabled command says so and does nothing when pressed.
    control(*window, ui::form::Id::DeleteCommand)->setEnabled(false);
    QVERIFY(remove->state().disabled);
    remove->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(50);
    QCOMPARE(dialogs.messages.size(), std::size_t(1));

    // The folder box is named by its label, which says what it labels; the
    // content pane is read-only text.
    QWidget *folderBox = control(*window, ui::form::Id::FolderBox);
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(folderBox);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("クッキーフォルダ"));
    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(control(*window, ui::form::Id::FolderLabel));
    QCOMPARE(label->role(), QAccessible::StaticText);
    QCOMPARE(label->text(QAccessible::Name), QStringLiteral("クッキーフォルダ"));
    const auto labelled = label->relations(QAccessible::Labelled);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.front().first->object(), folderBox);
    QAccessibleInterface *pane = QAccessible::queryAccessibleInterface(control(*window, ui::form::Id::ContentPane));
    QVERIFY(pane->state().readOnly);
    QVERIFY(!pane->state().editable);
}

void MainWindowHostTest::cookieViewShowsTheChosenFilesCookies()
{
    TempPrefix prefix;
    // An expired cookie (its expiry long past) and one that lasts.
    prefix.writeCookie("a@x.txt", "old\n1\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                  "名前\n値\nx.example/p/\n9728\n0\n32000000\n0\n30000000\n*\n");
    prefix.writeCookie("b@y.txt", "not a cookie file\n");
    // Cut short after its first cookie.
    prefix.writeCookie("c@z.txt", "kept\n1\nz.example/\n0\n0\n0\n0\n0\n*\ncut\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto *tabs = control<QTabBar>(*window, Id::ContentTabs);
    auto *view = control<ui::qt::CookieView>(*window, Id::CookieView);
    QVERIFY(tabs && view);

    // The strip: two tabs, the text first, at most 24 pixels at 96 dpi.
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("テキスト"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("クッキー"));
    QCOMPARE(tabs->currentIndex(), 0);
    if (window->layoutScale().dpi() == 96)
        QVERIFY(tabs->height() <= 24);
    QVERIFY(control(*window, Id::ContentPane)->isVisible());
    QVERIFY(!view->isVisible());

    // Ctrl+Tab from the table: the first file's cookies.
    window->makeRowCurrent(1);
    window->window().rowMadeCurrent();
    control(*window, Id::Table)->setFocus();
    QTest::keyClick(control(*window, Id::Table), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(view->isVisible());
    QVERIFY(!control(*window, Id::ContentPane)->isVisible());
    QAbstractItemModel *model = view->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 9);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("名前"));
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("名前"));
    QCOMPARE(model->index(1, 3).data().toString(), QStringLiteral("x.example"));
    QVERIFY(model->index(0, 5).data().toString().contains(QStringLiteral("期限切れ")));
    // The expired row greyed, the other drawn as any text; the hint is the raw lines.
    QVERIFY(model->index(0, 1).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model->index(1, 1).data(Qt::ForegroundRole).isValid());
    QVERIFY(model->index(1, 2)
                .data(Qt::ToolTipRole)
                .toString()
                .startsWith(QStringLiteral("名前\r\n値\r\nx.example/p/\r\n9728")));
    for (int column = 0; column < 9; ++column)
        QVERIFY(view->columnWidth(column) > window->window().cookieTable().columnWidth(column));
    QCOMPARE(view->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    // At the designed size the tabs take nothing from the pane: it keeps
    // its designed height, where the header, two whole cookies and the
    // scroll bar fit (one cookie when the tabs took their height from it).
    QCOMPARE(view->height(), window->layoutScale().px(86));
    QVERIFY(view->viewport()->height() >= 2 * view->verticalHeader()->defaultSectionSize());

    // Ctrl+C in the table copies name=value lines, not one cell.
    view->setFocus();
    view->selectAll();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("old=1\r\n名前=値"));

    // Ctrl+Shift+Tab from the cookie view: the text, the focus with it.
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), control(*window, Id::ContentPane));

    // A click on the tab; the next file is not cookies: the line says why.
    tabs->setCurrentIndex(1);
    window->makeRowCurrent(2);
    window->window().rowMadeCurrent();
    QCOMPARE(tabs->currentIndex(), 1);
    auto *problem = control<QLabel>(*window, Id::CookieProblem);
    QVERIFY(problem->isVisible());
    QVERIFY(!view->isVisible());
    QVERIFY(!problem->text().isEmpty());
    auto *stray = control<QLabel>(*window, Id::CookieStray);
    QVERIFY(!stray->isVisible());

    // A file cut short: its whole cookie in the table, the line under it,
    // which gives its room back when the next file needs none.
    const int fullHeight = problem->height();
    window->makeRowCurrent(3);
    window->window().rowMadeCurrent();
    QVERIFY(view->isVisible());
    QVERIFY(stray->isVisible());
    QVERIFY(!problem->isVisible());
    QCOMPARE(view->model()->rowCount(), 1);
    QVERIFY(stray->text().startsWith(QStringLiteral("この後はクッキーの形式ではありません（11 行目")));
    QCOMPARE(stray->geometry().top(), view->geometry().bottom() + 1);
    QCOMPARE(view->height() + stray->height(), fullHeight);
    window->makeRowCurrent(1);
    window->window().rowMadeCurrent();
    QVERIFY(!stray->isVisible());
    QCOMPARE(view->height(), fullHeight);

    // Screen readers: the strip as tabs, the table named as a table.
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(tabs);
    QCOMPARE(strip->role(), QAccessible::PageTabList);
    QStringList pageTabs;
    for (int i = 0; i < strip->childCount(); ++i)
        if (strip->child(i)->role() == QAccessible::PageTab)
            pageTabs << strip->child(i)->text(QAccessible::Name);
    QCOMPARE(pageTabs, (QStringList{QStringLiteral("テキスト"), QStringLiteral("クッキー")}));
    window->makeRowCurrent(1);
    window->window().rowMadeCurrent();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("クッキーの内容"));
    QVERIFY(table->tableInterface());
    QCOMPARE(table->tableInterface()->rowCount(), 2);
    QCOMPARE(table->tableInterface()->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("名前"));
}

void MainWindowHostTest::tabIntoTheCookieViewSelectsARowAndCtrlASelectsAll()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "one\n1\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                  "two\n2\nx.example/\n0\n0\n0\n0\n0\n*\n"
                                  "three\n3\nx.example/\n0\n0\n0\n0\n0\n*\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto *tabs = control<QTabBar>(*window, Id::ContentTabs);
    auto *view = control<ui::qt::CookieView>(*window, Id::CookieView);
    window->makeRowCurrent(1);
    window->window().rowMadeCurrent();
    control(*window, Id::Table)->setFocus();
    QTest::keyClick(control(*window, Id::Table), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(view->selectedRows().empty());

    // Table, tab strip, then the cookies: the first row selected, which
    // Ctrl+C copies at once.
    QTest::keyClick(control(*window, Id::Table), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), tabs);
    QTest::keyClick(tabs, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), view);
    QCOMPARE(view->selectedRows(), (std::vector<int>{0}));
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one=1"));

    // Ctrl+A: every cookie, the current row staying where it was.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(view->selectedRows(), (std::vector<int>{0, 1, 2}));
    QCOMPARE(view->currentIndex().row(), 1);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one=1\r\ntwo=2\r\nthree=3"));

    // Home and End go to the first and the last row; with Shift they
    // select every row between, as in the Windows list.
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->selectedRows(), (std::vector<int>{0}));
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view->selectedRows(), (std::vector<int>{0, 1, 2}));
    QCOMPARE(view->currentIndex().row(), 2);
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->selectedRows(), (std::vector<int>{0}));

    // Back in with a row of the user's own choosing: it stays the one.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->selectedRows(), (std::vector<int>{2}));
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), tabs);
    QTest::keyClick(tabs, Qt::Key_Tab);
    QCOMPARE(view->selectedRows(), (std::vector<int>{2}));
}

void MainWindowHostTest::theTabStripReadsItsChosenTab()
{
    TempPrefix prefix;
    prefix.writeCookie("a@x.txt", "one\n1\nx.example/\n0\n0\n0\n0\n0\n*\n");
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *tabs = control<QTabBar>(*window, Id::ContentTabs);
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(tabs);
    QVERIFY(strip);
    QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("テキスト"));
    // Chosen by a click (the user) or by Ctrl+Tab (the window): the strip's
    // own name changes with it, which tells a screen reader that keeps
    // names (AT-SPI's cache) to read it anew.
    tabs->setCurrentIndex(1);
    QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("クッキー"));
    QCOMPARE(tabs->accessibleName(), QStringLiteral("クッキー"));
    control(*window, Id::Table)->setFocus();
    QTest::keyClick(control(*window, Id::Table), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("テキスト"));
    QCOMPARE(tabs->accessibleName(), QStringLiteral("テキスト"));
}

QTEST_MAIN(MainWindowHostTest)
#include "main_window_host_test.moc"
