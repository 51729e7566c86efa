#include "main_window_host.h"

#include "cookie_table_model.h"
#include "cookie_view.h"
#include "fonts.h"
#include "listing/content_pane.h"
#include "panel.h"
#include "platform/qt/qt_text.h"
#include "push_button.h"
#include "qt_keys.h"
#include "result_grid.h"
#include "result_table_model.h"
#include "splitter.h"
#include "static_text.h"
#include "text_view.h"
#include "ui/cookie_columns.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string_view>

namespace ui::qt {
namespace {

using platform::qt::toQString;
using ui::Dock;

double primaryScreenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

// A screen reader reads the tab strip by its name, and keeps it until told
// that it changed: the strip is named by its chosen tab, anew each time.
void nameByChosenTab(QTabBar *tabs)
{
    tabs->setAccessibleName(tabs->tabText(tabs->currentIndex()));
}

void setTextColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

MainWindowHost::MainWindowHost(platform::Dialogs &dialogs, platform::Desktop &desktop,
                               const std::optional<platform::NamedPath> &startFolder, bool readOnly, QWidget *parent)
    : QWidget(parent), m_scale(primaryScreenDpi()), m_window(*this, dialogs, desktop)
{
    const form::Control &window = form::control(form::Id::Window);
    setObjectName(QString::fromLatin1(window.name));
    setWindowTitle(QString::fromUtf8(window.caption));
    setFont(windowFont(m_scale));
    // A strip that collapses starts hidden, without room.
    for (const form::Control &control : form::controls())
        m_extents[static_cast<std::size_t>(form::indexOf(control.id))] =
            control.collapses ? 0 : m_scale.px(control.extent);
    buildControls();
    setUpHints();
    setUpFocus();
    connectEvents();
    connectContentTabs();

    // The window opens at its designed place and size (inside a frame);
    // the position is the screen's, not scaled.
    resize(m_scale.px(form::kClientWidth), m_scale.px(form::kClientHeight));
    layOutDocked();
    move(form::kScreenX, form::kScreenY);

    if (startFolder)
        m_window.setStartFolder(*startFolder);
    m_window.setReadOnly(readOnly);
    m_window.start(pointSizeOn(*table()));
}

MainWindowHost::~MainWindowHost()
{
    // The controls outlive the listing they show (QWidget deletes them after
    // the members have gone) and a visible window still asks its table for
    // text while it hides: the table view lets go of the model first, and
    // the text view of the pane's bytes.
    table()->setModel(nullptr);
    cookieView()->setModel(nullptr);
    contentPane()->clear();
}

QTabBar *MainWindowHost::contentTabs() const
{
    return controlOf<QTabBar>(form::Id::ContentTabs);
}

CookieView *MainWindowHost::cookieView() const
{
    return controlOf<CookieView>(form::Id::CookieView);
}

ResultGrid *MainWindowHost::table() const
{
    return controlOf<ResultGrid>(form::Id::Table);
}

TextView *MainWindowHost::contentPane() const
{
    return controlOf<TextView>(form::Id::ContentPane);
}

void MainWindowHost::buildControls()
{
    using form::Id;
    m_controls[form::indexOf(Id::Window)] = this;
    for (const form::Control &control : form::controls()) {
        if (control.id == Id::Window)
            continue;
        QWidget *widget = createControl(control, controlOf(control.parent));
        widget->setObjectName(QString::fromLatin1(control.name));
        m_controls[static_cast<std::size_t>(form::indexOf(control.id))] = widget;
        if (control.textColour != form::kSystemColour)
            setTextColour(widget, QPalette::WindowText, QColor::fromRgb(control.textColour));
        if (*control.accessibleName)
            widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
        if (control.enabled == form::Enabled::Never)
            widget->setEnabled(false);
        if (control.docked)
            continue;
        const Box &design = control.design;
        widget->move(m_scale.px(design.x), m_scale.px(design.y));
        if (control.kind != form::Kind::Label && control.kind != form::Kind::CommandText)
            widget->setFixedSize(m_scale.px(design.width), m_scale.px(design.height));
    }

    // A screen reader names the folder box by the text beside it.
    auto *label = controlOf<StaticText>(Id::FolderLabel);
    label->setBuddy(controlOf(Id::FolderBox));
    controlOf(Id::FolderBox)->setAccessibleName(label->text());
}

QWidget *MainWindowHost::createControl(const form::Control &control, QWidget *parent)
{
    using form::Kind;
    const QString caption = QString::fromUtf8(control.caption);
    QFont font =
        windowFont(m_scale, control.font == form::Font::Command ? form::kCommandTextHeight : kDesignTextHeight);
    font.setBold(control.font == form::Font::Command || control.font == form::Font::Bold);
    font.setItalic(control.font == form::Font::Command);
    font.setUnderline(control.font == form::Font::Command);
    switch (control.kind) {
    case Kind::Panel: {
        auto *panel = new Panel(parent);
        panel->setCaption(caption);
        if (control.background != form::kSystemColour)
            panel->setBackground(QColor::fromRgb(control.background));
        return panel;
    }
    case Kind::GroupBox:
        return new QGroupBox(caption, parent);
    case Kind::Label:
    case Kind::CommandText: {
        StaticText *text = control.kind == Kind::CommandText ? new ClickableText(parent) : new StaticText(parent);
        if (control.font != form::Font::Window)
            text->setFont(font);
        if (!control.sizedByText)
            text->setFixedCentred(QSize(m_scale.px(control.design.width), m_scale.px(control.design.height)));
        text->setText(caption);
        return text;
    }
    case Kind::FolderBox:
        return new QLineEdit(parent);
    case Kind::Button: {
        auto *button = new PushButton(caption, parent);
        if (control.command == form::Command::Close) {
            QIcon door;
            door.addFile(QStringLiteral(":/pictures/door.png"), QSize(), QIcon::Normal);
            door.addFile(QStringLiteral(":/pictures/door_disabled.png"), QSize(), QIcon::Disabled);
            button->setIcon(door);
            button->setIconSize(QSize(m_scale.px(form::kDoorSize), m_scale.px(form::kDoorSize)));
        }
        return button;
    }
    case Kind::StatusBar: {
        // One sunken text and a size grip.
        auto *bar = new QStatusBar(parent);
        bar->setSizeGripEnabled(true);
        m_statusLabel = new QLabel(bar);
        m_statusLabel->setObjectName(QString::fromLatin1(control.name) + QStringLiteral("Text"));
        m_statusLabel->setTextFormat(Qt::PlainText);
        m_statusLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_statusLabel->setLineWidth(1);
        bar->addWidget(m_statusLabel, 1);
        return bar;
    }
    case Kind::Grid: {
        auto *grid = new ResultGrid(parent);
        grid->setAccessibleName(toQString(keyboard::tableAccessibleName()));
        m_model = new ResultTableModel(m_window.cookies().table(), grid);
        grid->setResultModel(m_model);
        grid->setDefaultCellSize(m_scale.px(grid::kDefaultColumnWidth), m_scale.px(grid::kDefaultRowHeight));
        return grid;
    }
    case Kind::ContentPane: {
        auto *pane = new TextView(parent);
        // The selection disappears while the pane has no focus.
        QPalette colours = pane->palette();
        colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Base));
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         colours.color(QPalette::Active, QPalette::Text));
        pane->setPalette(colours);
        return pane;
    }
    case Kind::TabStrip: {
        auto *tabs = new QTabBar(parent);
        tabs->setDrawBase(false);
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(false);
        for (int view = 0; view < form::kContentViewCount; ++view)
            tabs->addTab(toQString(form::contentTabCaption(static_cast<form::ContentView>(view))));
        nameByChosenTab(tabs);
        return tabs;
    }
    case Kind::CookieGrid: {
        auto *view = new CookieView(parent);
        connect(view, &CookieView::focusedByKeyboard, this, [this] { m_window.cookieViewFocused(); });
        m_cookieModel = new CookieTableModel(m_window.cookieTable(), view);
        view->setModel(m_cookieModel);
        view->verticalHeader()->setDefaultSectionSize(m_scale.px(grid::kDefaultRowHeight));
        return view;
    }
    case Kind::Notice: {
        auto *line = new QLabel(parent);
        line->setTextFormat(Qt::PlainText);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        line->setWordWrap(true);
        line->setMargin(m_scale.px(4));
        line->setFocusPolicy(Qt::StrongFocus);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        line->setAutoFillBackground(true);
        line->setBackgroundRole(QPalette::Base);
        return line;
    }
    case Kind::Splitter: {
        // Between the docked strip before it on its side and the control
        // that fills the rest.
        const form::SplitterNeighbours between = form::splitterNeighbours(control.id);
        const auto side = control.dock == Dock::Left ? Splitter::Side::Left : Splitter::Side::Bottom;
        auto *splitter = new Splitter(side, controlOf(between.neighbour), controlOf(between.rest), parent);
        splitter->setResizeHandler([this, neighbour = between.neighbour](int size) {
            m_extents[static_cast<std::size_t>(form::indexOf(neighbour))] = size;
            layOutDocked();
        });
        return splitter;
    }
    case Kind::Window:
        break;
    }
    return new QWidget(parent);
}

void MainWindowHost::layOutDocked()
{
    // Docking by the form's rules: the panels' children inside their
    // one-pixel bevel, the strips at the extents the splitters have given
    // them, and the filling control takes what is left, down to nothing;
    // the window's size never depends on them.
    const std::vector<Box> boxes = form::layOut(m_scale, width(), height(), m_extents);
    for (const form::Control &control : form::controls()) {
        if (!control.docked)
            continue;
        const Box &box = boxes[static_cast<std::size_t>(form::indexOf(control.id))];
        controlOf(control.id)->setGeometry(box.x, box.y, box.width, box.height);
    }
}

void MainWindowHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutDocked();
}

void MainWindowHost::setUpHints()
{
    // Hints only where the form gives one; no other control carries one.
    for (const form::Control &control : form::controls()) {
        const std::string hint = form::hintText(control);
        if (hint.empty())
            continue;
        controlOf(control.id)->setToolTip(toQString(hint));
        controlOf(control.id)->setToolTipDuration(form::kHintDurationMs);
    }
}

void MainWindowHost::setUpFocus()
{
    // The Tab order runs round the controls in the form's order, from the
    // content pane back to the browse button; the disabled folder box is
    // skipped.
    const std::vector<const form::Control *> order = form::tabOrder();
    QWidget *previous = nullptr;
    for (const form::Control *control : order) {
        if (previous)
            setTabOrder(previous, controlOf(control->id));
        previous = controlOf(control->id);
    }
    setTabOrder(previous, controlOf(order.front()->id));
    m_window.focusFirstControl();
}

void MainWindowHost::connectEvents()
{
    for (const form::Control &control : form::controls()) {
        QWidget *widget = controlOf(control.id);
        const form::Id id = control.id;
        if (control.command == form::Command::None)
            continue;
        if (control.kind == form::Kind::Grid)
            connect(static_cast<ResultGrid *>(widget), &ResultGrid::rowMadeCurrent, this,
                    [this] { m_window.rowMadeCurrent(); });
        else if (control.kind == form::Kind::CommandText)
            connect(static_cast<ClickableText *>(widget), &ClickableText::clicked, this,
                    [this, id] { m_window.controlClicked(id); });
        else
            connect(static_cast<QPushButton *>(widget), &QPushButton::clicked, this,
                    [this, id] { m_window.controlClicked(id); });
    }
}

void MainWindowHost::connectContentTabs()
{
    connect(contentTabs(), &QTabBar::currentChanged, this, [this](int index) {
        nameByChosenTab(contentTabs());
        if (index >= 0 && index < form::kContentViewCount)
            m_window.contentViewChosen(static_cast<form::ContentView>(index));
    });
    // Ctrl+Tab and Ctrl+Shift+Tab from any control of the window, before the
    // focused one can take them as its own.
    for (const bool back : {false, true}) {
        const QKeySequence keys =
            back ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab) : QKeySequence(Qt::CTRL | Qt::Key_Tab);
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, back] {
            m_window.keyPressed(keyboard::KeyStroke{keyboard::Key::Tab, back, true, false});
        });
    }
}

void MainWindowHost::keyPressEvent(QKeyEvent *event)
{
    // The window's own keys, which the focused control has let through.
    if (m_window.keyPressed(keyStroke(*event), event->isAutoRepeat())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindowHost::setText(form::Id id, const std::string &text)
{
    const QString shown = toQString(text);
    QWidget *widget = controlOf(id);
    switch (form::control(id).kind) {
    case form::Kind::Window:
        setWindowTitle(shown);
        break;
    case form::Kind::StatusBar:
        m_statusLabel->setText(shown);
        break;
    case form::Kind::Panel:
        static_cast<Panel *>(widget)->setCaption(shown);
        break;
    case form::Kind::Label:
    case form::Kind::CommandText:
        static_cast<StaticText *>(widget)->setText(shown);
        break;
    case form::Kind::FolderBox:
        static_cast<QLineEdit *>(widget)->setText(shown);
        break;
    case form::Kind::GroupBox:
        static_cast<QGroupBox *>(widget)->setTitle(shown);
        break;
    case form::Kind::Button:
        static_cast<QPushButton *>(widget)->setText(shown);
        break;
    case form::Kind::Notice:
        static_cast<QLabel *>(widget)->setText(shown);
        break;
    case form::Kind::Splitter:
    case form::Kind::Grid:
    case form::Kind::ContentPane:
    case form::Kind::TabStrip:
    case form::Kind::CookieGrid:
        break;
    }
}

void MainWindowHost::setEnabled(form::Id id, bool enabled)
{
    controlOf(id)->setEnabled(enabled);
}

void MainWindowHost::setVisible(form::Id id, bool visible)
{
    const form::Control &control = form::control(id);
    if (control.collapses) {
        // Its room goes to the control that fills the rest while hidden.
        m_extents[static_cast<std::size_t>(form::indexOf(id))] = visible ? m_scale.px(control.extent) : 0;
        layOutDocked();
    }
    controlOf(id)->setVisible(visible);
}

void MainWindowHost::setFocus(form::Id id)
{
    // Visible once the window shows: the focus may be placed before that.
    if (controlOf(id)->isVisibleTo(this))
        controlOf(id)->setFocus(Qt::OtherFocusReason);
}

std::optional<form::Id> MainWindowHost::focusedControl() const
{
    const QWidget *focus = focusWidget();
    for (const form::Control &control : form::controls())
        if (focus && controlOf(control.id) == focus && control.id != form::Id::Window)
            return control.id;
    return std::nullopt;
}

void MainWindowHost::makeRowCurrent(int row)
{
    table()->makeRowCurrent(row - 1);
}

int MainWindowHost::currentRow() const
{
    const QModelIndex current = table()->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

std::string MainWindowHost::programFolder() const
{
    return QFile::encodeName(QCoreApplication::applicationDirPath() + QLatin1Char('/')).toStdString();
}

void MainWindowHost::close()
{
    QWidget::close();
}

void MainWindowHost::showPaneText(const listing::ContentPane &pane)
{
    // Read where the pane holds it, the rows in view converted as they are
    // drawn: the text is never held twice.
    contentPane()->showPane(pane);
}

QString MainWindowHost::statusText() const
{
    return m_statusLabel->text();
}

void MainWindowHost::setBusyCursor(bool busy)
{
    holdWhileBusy(m_busy, busy);
}

void MainWindowHost::setContentView(form::ContentView view)
{
    {
        const QSignalBlocker quiet(contentTabs());
        contentTabs()->setCurrentIndex(static_cast<int>(view));
    }
    nameByChosenTab(contentTabs());
}

void MainWindowHost::cookieTableChanged()
{
    m_cookieModel->reload();
    const int margins = 2 * cookieView()->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, cookieView());
    const QFontMetrics header = cookieView()->horizontalHeader()->fontMetrics();
    const auto widths = cookieColumnWidths(
        m_window.cookieTable(),
        [&header](const std::string &title) { return header.horizontalAdvance(toQString(title)); }, margins);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column)
        cookieView()->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    cookieView()->scrollToTop();
}

std::vector<int> MainWindowHost::selectedCookieRows() const
{
    return cookieView()->selectedRows();
}

int MainWindowHost::currentCookieRow() const
{
    const QModelIndex current = cookieView()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainWindowHost::selectCookieRows(int first, int last)
{
    cookieView()->selectRows(first, last);
}

void MainWindowHost::copyText(const std::string &text)
{
    QGuiApplication::clipboard()->setText(toQString(text));
}

void MainWindowHost::tableChanged()
{
    m_model->reload();
    table()->applyLayout(m_window.cookies().table(), m_scale.px(grid::kDefaultRowHeight));
}

} // namespace ui::qt
