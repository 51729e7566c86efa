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
using Dock = DockLayout::Dock;

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
    const form::Control &window = form::control(form::Id::Window);
    setObjectName(QString::fromLatin1(window.name));
    setWindowTitle(QString::fromUtf8(window.caption));
    setFont(windowFont(m_scale));
    buildControls();
    dockControls();
    setUpHints();
    setUpFocus();
    connectCommands();

    // The window opens at its designed place and size (inside a frame);
    // the position is the screen's, not scaled.
    resize(m_scale.px(form::kClientWidth), m_scale.px(form::kClientHeight));
    move(form::kScreenX, form::kScreenY);

    if (startFolder)
        m_commands.setStartFolder(*startFolder);
    runHandler([this] { m_commands.start(); });
}

TForm1::~TForm1()
{
    // The controls outlive the listing they show (QWidget deletes them after
    // the members have gone) and a visible window still asks its table for
    // text while it hides: the table view lets go of the model first.
    table()->setModel(nullptr);
}

ResultGrid *TForm1::table() const
{
    return controlOf<ResultGrid>(form::Id::Table);
}

QPlainTextEdit *TForm1::contentPane() const
{
    return controlOf<QPlainTextEdit>(form::Id::ContentPane);
}

void TForm1::buildControls()
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

    m_openDialog = new OpenDialog(this);
    m_openDialog->setObjectName(QStringLiteral("OpenDialog1"));
}

QWidget *TForm1::createControl(const form::Control &control, QWidget *parent)
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
        m_model = new ResultTableModel(m_cookies.table(), grid);
        grid->setResultModel(m_model);
        grid->setDefaultCellSize(m_scale.px(grid::kDefaultColumnWidth), m_scale.px(grid::kDefaultRowHeight));
        return grid;
    }
    case Kind::ContentPane: {
        auto *pane = new QPlainTextEdit(parent);
        pane->setReadOnly(true);
        pane->setUndoRedoEnabled(false);
        pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        pane->setTabChangesFocus(true);
        // The selection disappears while the pane has no focus.
        QPalette colours = pane->palette();
        colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Base));
        colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         colours.color(QPalette::Active, QPalette::Text));
        pane->setPalette(colours);
        return pane;
    }
    case Kind::Splitter: {
        // Between the docked strip before it on its side and the control
        // that fills the rest.
        QWidget *neighbour = nullptr;
        QWidget *rest = nullptr;
        for (const form::Control *sibling : form::dockedChildren(control.parent)) {
            if (sibling->dock == Dock::Client)
                rest = controlOf(sibling->id);
            else if (sibling->dock == control.dock && sibling != &control && !neighbour)
                neighbour = controlOf(sibling->id);
        }
        const auto side = control.dock == Dock::Left ? Splitter::Side::Left : Splitter::Side::Bottom;
        return new Splitter(side, neighbour, rest, parent);
    }
    case Kind::Window:
        break;
    }
    return new QWidget(parent);
}

void TForm1::dockControls()
{
    // Docking: the panels' children sit inside their one-pixel bevel, which
    // QFrame already keeps clear. The splitters set the extents of their
    // neighbours; the filling control takes what is left, down to nothing,
    // and the window's size never depends on them.
    for (const form::Control &parent : form::controls()) {
        const std::vector<const form::Control *> children = form::dockedChildren(parent.id);
        if (children.empty())
            continue;
        auto *layout = new DockLayout(controlOf(parent.id));
        for (const form::Control *child : children)
            layout->addDocked(controlOf(child->id), child->dock, m_scale.px(child->extent));
    }
}

void TForm1::setUpHints()
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

void TForm1::setUpFocus()
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
    controlOf(order.front()->id)->setFocus();
}

void TForm1::connectCommands()
{
    using form::Command;
    for (const form::Control &control : form::controls()) {
        QWidget *widget = controlOf(control.id);
        const Command command = control.command;
        const auto run = [this, command] { runHandler([this, command] { m_commands.perform(command); }); };
        switch (control.command) {
        case Command::None:
            break;
        case Command::Close:
            connect(static_cast<QPushButton *>(widget), &QPushButton::clicked, this, &QWidget::close);
            break;
        case Command::RowClicked:
            connect(static_cast<ResultGrid *>(widget), &ResultGrid::rowMadeCurrent, this, run);
            break;
        default:
            if (control.kind == form::Kind::CommandText)
                connect(static_cast<ClickableText *>(widget), &ClickableText::clicked, this, run);
            else
                connect(static_cast<QPushButton *>(widget), &QPushButton::clicked, this, run);
            break;
        }
    }
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    // The keys of the painted commands, which the focused control has let
    // through: Delete and Shift+Delete on the table, F5 anywhere.
    keyboard::PaintedCommand command{};
    if (!event->isAutoRepeat() && keyboard::commandForKey(keyStroke(*event), focusWidget() == table(), command)) {
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
        table()->makeRowCurrent(row - 1);
    if (table()->isVisible())
        table()->setFocus(Qt::OtherFocusReason);
}

int TForm1::currentTableRow() const
{
    const QModelIndex current = table()->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TForm1::clearPlaceholders()
{
    for (const form::Control &control : form::controls()) {
        if (!control.placeholder)
            continue;
        if (control.kind == form::Kind::Panel)
            controlOf<Panel>(control.id)->setCaption(QString());
        else
            controlOf<StaticText>(control.id)->setText(QString());
    }
    setEnabledWhere(form::Enabled::WhileSearching, false);
}

void TForm1::setEnabledWhere(form::Enabled rule, bool enabled)
{
    for (const form::Control &control : form::controls())
        if (control.enabled == rule)
            controlOf(control.id)->setEnabled(enabled);
}

OpenFileDialog &TForm1::openDialog()
{
    return m_openDialog->dialog();
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
    if (contentPane()->isHidden())
        return;
    const listing::ContentPane &pane = m_cookies.contentPane();
    if (pane.revision() == m_shownRevision)
        return;
    m_shownRevision = pane.revision();
    // The bytes as read: the view turns every kind of line end into its own,
    // so the pane's line ends need not be widened to CR LF first.
    const std::string_view bytes = pane.rawText();
    if (bytes.size() <= kBigPaneText) {
        contentPane()->setPlainText(contentPaneText(bytes));
        return;
    }
    // The text view makes an object of every paragraph, some microseconds
    // each: a file of 100 MB has millions of lines and took tens of seconds.
    // A big text goes in as paragraphs of many lines each, the lines within
    // one separated by LINE SEPARATOR, which the view shows as a line break
    // and gives back as "\n" from toPlainText() and in a copy; and a
    // paragraph at a time, so that its text is not held twice over.
    showContentText(*contentPane(), bytes, kLinesPerParagraph);
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
    table()->setVisible(visible);
}

void TForm1::setContentPaneVisible(bool visible)
{
    contentPane()->setVisible(visible);
    if (visible)
        syncContentPane();
}

void TForm1::setDeleteCommandsEnabled(bool enabled)
{
    setEnabledWhere(form::Enabled::WhileFilesListed, enabled);
}

void TForm1::setCaption(const std::string &caption)
{
    setWindowTitle(toQString(caption));
}

void TForm1::setFolderText(const std::string &text)
{
    controlOf<QLineEdit>(form::Id::FolderBox)->setText(toQString(text));
}

void TForm1::setSearchModeLabel(const std::string &text)
{
    controlOf<StaticText>(form::Id::SearchModeLabel)->setText(toQString(text));
}

void TForm1::setClearSearchEnabled(bool enabled)
{
    setEnabledWhere(form::Enabled::WhileSearching, enabled);
}

void TForm1::tableChanged()
{
    m_model->reload();
    table()->applyLayout(m_cookies.table(), m_scale.px(grid::kDefaultRowHeight));
    // The first data row is the current one after every rebuild.
    if (m_model->rowCount() > 0)
        table()->setCurrentIndex(m_model->index(0, 0));
}

int TForm1::tableFontPointSize() const
{
    return pointSizeOn(*table());
}

} // namespace ui
