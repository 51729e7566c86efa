#include "tform1.h"

#include "content_text.h"
#include "dock_layout.h"
#include "open_dialog.h"
#include "panel.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"
#include "push_button.h"
#include "qt_keys.h"
#include "result_grid.h"
#include "result_table_model.h"
#include "splitter.h"
#include "static_text.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>

#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string_view>

namespace ui {
namespace {

using platform::qt::toQString;

const QColor kGreen(0x00, 0x80, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);

// How long a hint stays up.
constexpr int kHintDurationMs = 2500;

// Above this many bytes the content pane's text goes to the view in
// paragraphs of kLinesPerParagraph lines: a cookie file is far smaller.
constexpr std::size_t kBigPaneText = std::size_t(1) << 20;
constexpr int kLinesPerParagraph = 256;

double primaryScreenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

TForm1::TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop,
               const std::optional<platform::NamedPath> &startFolder, QWidget *parent)
    : QWidget(parent), m_scale(primaryScreenDpi()), m_commands(m_cookies, dialogs, desktop, *this)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(windowFont(m_scale));
    buildLayout();
    setUpHints();
    setUpFocus();
    connectCommands();

    // The window opens at its designed place and size (688 x 446 inside a
    // frame of 696 x 480); the position is the screen's, not scaled.
    resize(m_scale.px(688), m_scale.px(446));
    move(192, 107);

    if (startFolder)
        m_commands.setStartFolder(*startFolder);
    runHandler([this] { m_commands.FormCreate(); });
}

TForm1::~TForm1()
{
    // The controls outlive the listing they show (QWidget deletes them after
    // the members have gone) and a visible window still asks its table for
    // text while it hides: the table view lets go of the model first.
    m_grdMain->setModel(nullptr);
}

void TForm1::buildLayout()
{
    const LayoutScale &s = m_scale;
    auto place = [&s](QWidget *widget, int x, int y, int width = -1, int height = -1) {
        widget->move(s.px(x), s.px(y));
        if (width >= 0)
            widget->setFixedSize(s.px(width), s.px(height));
    };
    auto button = [&](const QString &name, const QString &text, QWidget *parent) {
        auto *result = new PushButton(text, parent);
        result->setObjectName(name);
        return result;
    };

    // The folder strip along the top.
    m_pnlToolBtn = new Panel(this);
    m_pnlToolBtn->setObjectName(QStringLiteral("pnlToolBtn"));
    m_pnlToolBtn->setCaption(QStringLiteral("拡張用"));
    m_StaticText1 = new StaticText(m_pnlToolBtn);
    m_StaticText1->setObjectName(QStringLiteral("StaticText1"));
    m_StaticText1->setText(QStringLiteral("クッキーフォルダ"));
    place(m_StaticText1, 72, 8);
    m_edInPath = new QLineEdit(m_pnlToolBtn);
    m_edInPath->setObjectName(QStringLiteral("edInPath"));
    m_edInPath->setEnabled(false);
    place(m_edInPath, 168, 8, 425, 20);
    m_bbtnInPathSet = button(QStringLiteral("bbtnInPathSet"), QStringLiteral("参照"), m_pnlToolBtn);
    place(m_bbtnInPathSet, 600, 8, 75, 25);
    // A screen reader names the folder box by the text beside it.
    m_StaticText1->setBuddy(m_edInPath);
    m_edInPath->setAccessibleName(m_StaticText1->text());

    // The status bar along the bottom: one sunken text and a size grip.
    m_StatusBar1 = new QStatusBar(this);
    m_StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_StatusBar1->setSizeGripEnabled(true);
    m_statusLabel = new QLabel(m_StatusBar1);
    m_statusLabel->setObjectName(QStringLiteral("StatusBar1Text"));
    m_statusLabel->setTextFormat(Qt::PlainText);
    m_statusLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusLabel->setLineWidth(1);
    m_StatusBar1->addWidget(m_statusLabel, 1);

    // The green command column on the left.
    m_pnlMenu = new Panel(this);
    m_pnlMenu->setObjectName(QStringLiteral("pnlMenu"));
    m_pnlMenu->setCaption(QStringLiteral("Menu"));
    m_pnlMenu->setBackground(kGreen);

    QFont commandFont = windowFont(s, 16);
    commandFont.setBold(true);
    commandFont.setItalic(true);
    commandFont.setUnderline(true);
    auto command = [&](const QString &name, const QString &text, int y) {
        auto *result = new ClickableText(m_pnlMenu);
        result->setObjectName(name);
        result->setFont(commandFont);
        setTextColour(result, QPalette::WindowText, kYellow);
        result->setText(text);
        place(result, 16, y);
        return result;
    };
    m_stDelete = command(QStringLiteral("stDelete"), QStringLiteral("DELETE      "), 32);
    m_stAllDelete = command(QStringLiteral("stAllDelete"), QStringLiteral("ALL DELETE"), 64);
    m_stReLoad = command(QStringLiteral("stReLoad"), QStringLiteral("ReLoad       "), 104);

    m_GroupBox1 = new QGroupBox(QStringLiteral("検索"), m_pnlMenu);
    m_GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    setTextColour(m_GroupBox1, QPalette::WindowText, kYellow);
    place(m_GroupBox1, 16, 152, 105, 121);
    m_bbtnSch_Fname = button(QStringLiteral("bbtnSch_Fname"), QStringLiteral("ファイル名"), m_GroupBox1);
    place(m_bbtnSch_Fname, 16, 16, 75, 25);
    m_bbtnSch_Memo = button(QStringLiteral("bbtnSch_Memo"), QStringLiteral("ファイル内容"), m_GroupBox1);
    place(m_bbtnSch_Memo, 16, 48, 75, 25);
    m_bbtnSch_Exit = button(QStringLiteral("bbtnSch_Exit"), QStringLiteral("解\u3000除"), m_GroupBox1);
    place(m_bbtnSch_Exit, 16, 88, 75, 25);
    for (QWidget *inner : {m_bbtnSch_Fname, m_bbtnSch_Memo, m_bbtnSch_Exit})
        setTextColour(inner, QPalette::WindowText, Qt::black);

    m_bbtnHelp = button(QStringLiteral("bbtnHelp"), QStringLiteral("HELP"), m_pnlMenu);
    place(m_bbtnHelp, 32, 288, 73, 25);
    m_bbtnVersion = button(QStringLiteral("bbtnVersion"), QStringLiteral("Version"), m_pnlMenu);
    place(m_bbtnVersion, 32, 320, 73, 25);
    m_bbtnExit = button(QStringLiteral("bbtnExit"), QStringLiteral("閉じる(&C)"), m_pnlMenu);
    place(m_bbtnExit, 32, 352, 73, 25);
    QIcon door;
    door.addFile(QStringLiteral(":/pictures/door.png"), QSize(), QIcon::Normal);
    door.addFile(QStringLiteral(":/pictures/door_disabled.png"), QSize(), QIcon::Disabled);
    m_bbtnExit->setIcon(door);
    m_bbtnExit->setIconSize(QSize(s.px(18), s.px(18)));

    // The list area: search-mode strip, table, splitter and content pane.
    m_Panel3 = new Panel(this);
    m_Panel3->setObjectName(QStringLiteral("Panel3"));
    m_Panel3->setCaption(QStringLiteral("Panel3"));

    m_pnlSelPcLoginName = new Panel(m_Panel3);
    m_pnlSelPcLoginName->setObjectName(QStringLiteral("pnlSelPcLoginName"));
    m_pnlSelPcLoginName->setCaption(QStringLiteral("拡張用"));
    m_stSchModeInfo = new StaticText(m_pnlSelPcLoginName);
    m_stSchModeInfo->setObjectName(QStringLiteral("stSchModeInfo"));
    QFont bold = windowFont(s);
    bold.setBold(true);
    m_stSchModeInfo->setFont(bold);
    m_stSchModeInfo->setFixedCentred(QSize(s.px(161), s.px(16)));
    m_stSchModeInfo->setText(QStringLiteral("stSchModeInfo"));
    place(m_stSchModeInfo, 24, 8);

    m_grdMain = new ResultGrid(m_Panel3);
    m_grdMain->setObjectName(QStringLiteral("grdMain"));
    m_grdMain->setAccessibleName(toQString(keyboard::tableAccessibleName()));
    m_model = new ResultTableModel(m_cookies.table(), m_grdMain);
    m_grdMain->setResultModel(m_model);
    m_grdMain->setDefaultCellSize(s.px(ResultGrid::kDefaultColumnWidth), s.px(ResultGrid::kDefaultRowHeight));

    m_Panel4 = new Panel(m_Panel3);
    m_Panel4->setObjectName(QStringLiteral("Panel4"));
    m_riedRead_OneCookies = new QPlainTextEdit(m_Panel4);
    m_riedRead_OneCookies->setObjectName(QStringLiteral("riedRead_OneCookies"));
    m_riedRead_OneCookies->setReadOnly(true);
    m_riedRead_OneCookies->setUndoRedoEnabled(false);
    m_riedRead_OneCookies->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_riedRead_OneCookies->setTabChangesFocus(true);
    // The pane's hint is never shown; a screen reader names the pane by it.
    m_riedRead_OneCookies->setAccessibleName(QStringLiteral("最後に選択したクッキーファイルの内容"));
    // The selection disappears while the pane has no focus.
    QPalette pane = m_riedRead_OneCookies->palette();
    pane.setColor(QPalette::Inactive, QPalette::Highlight, pane.color(QPalette::Active, QPalette::Base));
    pane.setColor(QPalette::Inactive, QPalette::HighlightedText, pane.color(QPalette::Active, QPalette::Text));
    m_riedRead_OneCookies->setPalette(pane);

    m_Splitter1 = new Splitter(Splitter::Side::Bottom, m_Panel4, m_grdMain, m_Panel3);
    m_Splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_Splitter2 = new Splitter(Splitter::Side::Left, m_pnlMenu, m_Panel3, this);
    m_Splitter2->setObjectName(QStringLiteral("Splitter2"));

    m_OpenDialog1 = new OpenDialog(this);
    m_OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));

    // Docking: the panels' children sit inside their one-pixel bevel, which
    // QFrame already keeps clear. The splitters set the extents of their
    // neighbours; the filling control takes what is left, down to nothing,
    // and the window's size never depends on them.
    using Dock = DockLayout::Dock;
    auto *content = new DockLayout(m_Panel4);
    content->addDocked(m_riedRead_OneCookies, Dock::Client);

    auto *list = new DockLayout(m_Panel3);
    list->addDocked(m_pnlSelPcLoginName, Dock::Top, s.px(32));
    list->addDocked(m_Panel4, Dock::Bottom, s.px(88));
    list->addDocked(m_Splitter1, Dock::Bottom, s.px(3));
    list->addDocked(m_grdMain, Dock::Client);

    auto *window = new DockLayout(this);
    window->addDocked(m_pnlToolBtn, Dock::Top, s.px(41));
    window->addDocked(m_StatusBar1, Dock::Bottom, s.px(19));
    window->addDocked(m_pnlMenu, Dock::Left, s.px(137));
    window->addDocked(m_Splitter2, Dock::Left, s.px(3));
    window->addDocked(m_Panel3, Dock::Client);
}

void TForm1::setUpHints()
{
    // Hints only on these six; no other control carries one.
    using keyboard::PaintedCommand;
    const std::pair<QWidget *, QString> hints[] = {
        {m_stDelete, toQString(keyboard::commandHint(PaintedCommand::Delete))},
        {m_stAllDelete, toQString(keyboard::commandHint(PaintedCommand::AllDelete))},
        {m_stReLoad, toQString(keyboard::commandHint(PaintedCommand::ReLoad))},
        {m_bbtnVersion, QStringLiteral("バージョン情報を表示します")},
        {m_bbtnExit, QStringLiteral("終了します")},
        {m_grdMain, QStringLiteral("クッキーファイルの情報")},
    };
    for (const auto &[widget, hint] : hints) {
        widget->setToolTip(hint);
        widget->setToolTipDuration(kHintDurationMs);
    }
}

void TForm1::setUpFocus()
{
    // The Tab order runs round the controls in the shared order, from the
    // content pane back to the browse button; the disabled folder box is
    // skipped.
    QWidget *previous = nullptr;
    for (const char *name : keyboard::kTabOrder) {
        QWidget *widget = findChild<QWidget *>(QString::fromLatin1(name));
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
    setTabOrder(previous, findChild<QWidget *>(QString::fromLatin1(keyboard::kTabOrder.front())));
    m_bbtnInPathSet->setFocus();
}

void TForm1::connectCommands()
{
    connect(m_bbtnExit, &QPushButton::clicked, this, &QWidget::close);
    const auto command = [this](auto *sender, auto signal, void (Commands::*handler)()) {
        connect(sender, signal, this, [this, handler] { runHandler([this, handler] { (m_commands.*handler)(); }); });
    };
    command(m_stReLoad, &ClickableText::clicked, &Commands::stReLoadClick);
    command(m_stDelete, &ClickableText::clicked, &Commands::stDeleteClick);
    command(m_stAllDelete, &ClickableText::clicked, &Commands::stAllDeleteClick);
    command(m_bbtnSch_Fname, &QPushButton::clicked, &Commands::bbtnSch_FnameClick);
    command(m_bbtnSch_Memo, &QPushButton::clicked, &Commands::bbtnSch_MemoClick);
    command(m_bbtnSch_Exit, &QPushButton::clicked, &Commands::bbtnSch_ExitClick);
    command(m_bbtnInPathSet, &QPushButton::clicked, &Commands::bbtnInPathSetClick);
    command(m_bbtnVersion, &QPushButton::clicked, &Commands::bbtnVersionClick);
    command(m_bbtnHelp, &QPushButton::clicked, &Commands::bbtnHelpClick);
    command(m_grdMain, &ResultGrid::rowMadeCurrent, &Commands::grdMainClick);
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    // The keys of the painted commands, which the focused control has let
    // through: Delete and Shift+Delete on the table, F5 anywhere.
    keyboard::PaintedCommand command{};
    if (!event->isAutoRepeat() && keyboard::commandForKey(keyStroke(*event), focusWidget() == m_grdMain, command)) {
        event->accept();
        runPaintedCommand(command);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::runPaintedCommand(keyboard::PaintedCommand command)
{
    // As a click: nothing while the command's text is disabled.
    auto *text = findChild<ClickableText *>(QString::fromLatin1(keyboard::controlName(command)));
    if (text && text->isEnabled())
        emit text->clicked();
}

void TForm1::focusTableRow(int row)
{
    if (m_model->rowCount() > 0 && row >= 1)
        m_grdMain->makeRowCurrent(row - 1);
    if (m_grdMain->isVisible())
        m_grdMain->setFocus(Qt::OtherFocusReason);
}

int TForm1::currentTableRow() const
{
    const QModelIndex current = m_grdMain->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

std::string TForm1::cellAtPosition(int column, int row) const
{
    const listing::ResultTable &table = m_cookies.table();
    if (column < 0 || column > 4 || !table.isDataRow(row))
        return {};
    // Column 0 is the number column, which stays put; the others are the
    // grid's sections in the order the user left them.
    const int tableColumn = column == 0 ? 0 : m_grdMain->horizontalHeader()->logicalIndex(column - 1) + 1;
    return std::string(table.cell(tableColumn, row));
}

void TForm1::clearPlaceholders()
{
    m_pnlMenu->setCaption(QString());
    m_pnlSelPcLoginName->setCaption(QString());
    m_pnlToolBtn->setCaption(QString());
    m_stSchModeInfo->setText(QString());
    m_bbtnSch_Exit->setEnabled(false);
}

OpenFileDialog &TForm1::openDialog()
{
    return m_OpenDialog1->dialog();
}

std::string TForm1::programFolder() const
{
    return QFile::encodeName(QCoreApplication::applicationDirPath() + QLatin1Char('/')).toStdString();
}

void TForm1::contentPaneChanged()
{
    syncContentPane();
}

void TForm1::syncContentPane()
{
    if (m_riedRead_OneCookies->isHidden())
        return;
    const listing::ContentPane &pane = m_cookies.contentPane();
    if (pane.revision() == m_shownRevision)
        return;
    m_shownRevision = pane.revision();
    // The bytes as read: the view turns every kind of line end into its own,
    // so the pane's line ends need not be widened to CR LF first.
    const std::string_view bytes = pane.rawText();
    if (bytes.size() <= kBigPaneText) {
        m_riedRead_OneCookies->setPlainText(contentPaneText(bytes));
        return;
    }
    // The text view makes an object of every paragraph, some microseconds
    // each: a file of 100 MB has millions of lines and took tens of seconds.
    // A big text goes in as paragraphs of many lines each, the lines within
    // one separated by LINE SEPARATOR, which the view shows as a line break
    // and gives back as "\n" from toPlainText() and in a copy; and a
    // paragraph at a time, so that its text is not held twice over.
    showContentText(*m_riedRead_OneCookies, bytes, kLinesPerParagraph);
}

QString TForm1::statusText() const
{
    return m_statusLabel->text();
}

void TForm1::setStatusText(const std::string &text)
{
    m_statusLabel->setText(toQString(text));
}

void TForm1::setBusyCursor(bool busy)
{
    if (busy && !m_busy)
        m_busy.emplace();
    else if (!busy)
        m_busy.reset();
}

void TForm1::setTableVisible(bool visible)
{
    m_grdMain->setVisible(visible);
}

void TForm1::setContentPaneVisible(bool visible)
{
    m_riedRead_OneCookies->setVisible(visible);
    if (visible)
        syncContentPane();
}

void TForm1::setDeleteCommandsEnabled(bool enabled)
{
    m_stDelete->setEnabled(enabled);
    m_stAllDelete->setEnabled(enabled);
}

void TForm1::setCaption(const std::string &caption)
{
    setWindowTitle(toQString(caption));
}

void TForm1::setFolderText(const std::string &text)
{
    m_edInPath->setText(toQString(text));
}

void TForm1::setSearchModeLabel(const std::string &text)
{
    m_stSchModeInfo->setText(toQString(text));
}

void TForm1::setClearSearchEnabled(bool enabled)
{
    m_bbtnSch_Exit->setEnabled(enabled);
}

void TForm1::tableChanged()
{
    m_model->reload();
    m_grdMain->applyLayout(m_cookies.table(), m_scale.px(ResultGrid::kDefaultRowHeight));
    // The first data row is the current one after every rebuild.
    if (m_model->rowCount() > 0)
        m_grdMain->setCurrentIndex(m_model->index(0, 0));
}

int TForm1::tableFontPointSize() const
{
    return pointSizeOn(*m_grdMain);
}

} // namespace ui
