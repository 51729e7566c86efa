#include "text_view.h"

#include "content_text.h"
#include "listing/content_pane.h"
#include "text_view_accessible.h"
#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace ui::qt {
namespace {

// Room between the border and the text.
constexpr int kMarginX = 2;
constexpr int kMarginY = 1;
// While a drag holds outside the view, it scrolls a row this often.
constexpr int kDragScrollMs = 50;
constexpr int kWheelNotch = 120;

} // namespace

QString rowUnits(std::string_view line)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < line.size(); at += text::characterLength(line, at))
        ++characters;
    QString units = contentPaneText(line);
    if (static_cast<std::size_t>(units.size()) == characters)
        return units;
    // A row has no line end, so this is never expected; should the
    // converter give other than one unit per character, one at a time, so
    // that each character is one unit and the places stay true.
    units.clear();
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t length = text::characterLength(line, at);
        const QString one = platform::qt::toQString(line.substr(at, length));
        units += one.size() == 1 ? one.front() : QChar(0xFFFD);
        at += length;
    }
    return units;
}

void TextView::FontMeasure::setFont(const QFont &font)
{
    m_font = font;
    m_advances.assign(0x10000, -1.0F);
}

qreal TextView::FontMeasure::advance(QChar unit)
{
    float &known = m_advances[unit.unicode()];
    if (known < 0)
        known = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(unit));
    return known;
}

void TextView::FontMeasure::measure(std::string_view line, std::size_t start,
                                    std::vector<text::CharacterPlace> &places)
{
    m_units = rowUnits(line);
    m_measured += static_cast<std::size_t>(m_units.size());
    qreal right = 0;
    std::size_t at = 0;
    for (const QChar unit : std::as_const(m_units)) {
        right += advance(unit);
        places.push_back(text::CharacterPlace{start + at, static_cast<int>(std::lround(right))});
        at += text::characterLength(line, at);
    }
}

TextView::TextView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn); // the width never changes with the text
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    m_dragScroll.setInterval(kDragScrollMs);
    connect(&m_dragScroll, &QTimer::timeout, this, [this] {
        if (m_dragging)
            press(m_dragAt, true);
    });
    fontChanged();
}

void TextView::showPane(const listing::ContentPane &pane)
{
    m_pane = &pane;
    m_revision = pane.revision();
    m_layout.setText(pane.rawText());
    m_dragging = false;
    m_dragScroll.stop();
    updateScrollBar();
    viewport()->update();
    announceTextShown(this);
    emit textChanged();
}

void TextView::clear()
{
    m_pane = nullptr;
    m_layout.setText({});
    m_dragging = false;
    m_dragScroll.stop();
    updateScrollBar();
    viewport()->update();
    announceTextShown(this);
    emit textChanged();
}

void TextView::dropStaleText()
{
    if (m_pane && m_pane->revision() != m_revision) {
        m_pane = nullptr;
        m_layout.setText({});
        updateScrollBar();
        viewport()->update();
    }
}

std::string_view TextView::text() const
{
    return m_pane && m_pane->revision() == m_revision ? m_layout.lines().text() : std::string_view();
}

QString TextView::textBetween(std::size_t from, std::size_t to) const
{
    const std::string_view shown = text();
    to = std::min(to, shown.size());
    return from < to ? contentPaneText(shown.substr(from, to - from)) : QString();
}

QString TextView::toPlainText() const
{
    return textBetween(0, text().size());
}

QString TextView::selectedText() const
{
    const auto [from, to] = m_layout.selection();
    return textBetween(from, to);
}

QString TextView::rowText(int rowFromTop) const
{
    const std::string_view bytes = text();
    const std::vector<text::ShownRow> rows = m_layout.shownRows();
    if (bytes.empty() || rowFromTop < 0 || rowFromTop >= static_cast<int>(rows.size()))
        return {};
    const text::Row &row = rows[static_cast<std::size_t>(rowFromTop)].row;
    return rowUnits(bytes.substr(row.begin, row.end - row.begin));
}

std::pair<std::size_t, std::size_t> TextView::accessibleSpan() const
{
    const std::string_view shown = text();
    if (shown.size() <= kWholeTextBytes)
        return {0, shown.size()};
    const std::vector<text::ShownRow> rows = m_layout.shownRows();
    if (rows.empty())
        return {0, 0};
    return {rows.front().row.begin, rows.back().row.end};
}

void TextView::select(std::size_t anchor, std::size_t caret)
{
    dropStaleText();
    m_layout.select(anchor, caret);
    changed(true);
}

void TextView::selectAll()
{
    dropStaleText();
    m_layout.selectAll();
    changed(true);
}

void TextView::contextMenuEvent(QContextMenuEvent *event)
{
    // Copy and Select All, in the words Qt's own text views use (Japanese
    // with the program's Qt translation).
    dropStaleText();
    QMenu menu(this);
    QAction *copying =
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"), this, &TextView::copy);
    const auto [first, last] = m_layout.selection();
    copying->setEnabled(first != last);
    menu.addSeparator();
    QAction *all =
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"), this, &TextView::selectAll);
    all->setEnabled(!text().empty());
    menu.exec(event->globalPos());
}

void TextView::copy() const
{
    // A QPlainTextEdit's copy: "\n" line ends. Nothing selected leaves the
    // clipboard as it was.
    const QString selected = selectedText();
    if (!selected.isEmpty())
        QApplication::clipboard()->setText(selected);
}

int TextView::rowAtY(int y) const
{
    const int offset = y - kMarginY;
    return offset < 0 ? -1 - (-offset - 1) / m_rowHeight : offset / m_rowHeight;
}

QRect TextView::caretRect() const
{
    const long long row = m_layout.caretRowFromTop();
    if (row < 0 || row > m_layout.viewRows())
        return {};
    return {kMarginX + m_layout.caretRow().second, kMarginY + static_cast<int>(row) * m_rowHeight, 1, m_rowHeight};
}

void TextView::fontChanged()
{
    m_font = font();
    m_font.setKerning(false);
    m_measure.setFont(m_font);
    const QFontMetrics metrics(m_font);
    m_rowHeight = std::max(metrics.lineSpacing(), 1);
    m_ascent = metrics.ascent();
    sizeChanged();
}

void TextView::sizeChanged()
{
    const QSize size = viewport()->size();
    m_layout.setViewSize(std::max(size.width() - 2 * kMarginX, 1), std::max((size.height() - kMarginY) / m_rowHeight, 1));
    updateScrollBar();
    viewport()->update();
}

void TextView::updateScrollBar()
{
    const int rows = m_layout.viewRows();
    const auto last = std::min<std::size_t>(m_layout.lastTop().line, INT_MAX - 1);
    m_updatingBar = true;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(last));
    bar->setPageStep(rows);
    bar->setSingleStep(1);
    bar->setValue(static_cast<int>(std::min<std::size_t>(m_layout.top().line, INT_MAX - 1)));
    bar->setEnabled(last > 0 || m_layout.lastTop().index > 0);
    m_updatingBar = false;
}

void TextView::scrollContentsBy(int, int)
{
    // The bar moved by the user: the top goes to the line it names.
    if (m_updatingBar)
        return;
    dropStaleText();
    const int value = verticalScrollBar()->value();
    if (value == verticalScrollBar()->maximum())
        m_layout.scrollToLine(m_layout.lines().lineCount()); // the very last row, past a wrapped line's first
    else
        m_layout.scrollToLine(static_cast<std::size_t>(std::max(value, 0)));
    changed(false);
}

void TextView::changed(bool selectionMoved)
{
    updateScrollBar();
    viewport()->update();
    if (selectionMoved) {
        announceSelection(this);
        emit selectionChanged();
    }
}

bool TextView::event(QEvent *event)
{
    dropStaleText();
    if (event->type() == QEvent::ShortcutOverride) {
        // The window's shortcuts (Ctrl+A of the file list, say) wait while
        // the view has the focus and the key is its own.
        auto *key = static_cast<QKeyEvent *>(event);
        if (isOwnKey(*key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TextView::viewportEvent(QEvent *event)
{
    dropStaleText();
    return QAbstractScrollArea::viewportEvent(event);
}

void TextView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette &colours = palette();
    const bool focused = hasFocus();
    const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(viewport()->rect(), colours.color(group, QPalette::Base));
    const std::string_view bytes = text();
    if (bytes.empty()) {
        if (focused)
            painter.fillRect(QRect(kMarginX, kMarginY, 1, m_rowHeight), colours.color(group, QPalette::Text));
        return;
    }
    painter.setFont(m_font);
    const QColor selectedBack = colours.color(group, QPalette::Highlight);
    const QColor selectedText = colours.color(group, QPalette::HighlightedText);
    const QColor plainText = colours.color(group, QPalette::Text);
    const auto [selectFrom, selectTo] = m_layout.selection();

    int y = kMarginY;
    for (const text::ShownRow &shown : m_layout.shownRows()) {
        const text::Row &row = shown.row;
        const QString units = rowUnits(bytes.substr(row.begin, row.end - row.begin));
        // Runs of the row in or out of the selection, each drawn at the x its
        // first character was measured at.
        std::size_t first = 0;
        int left = 0;
        while (first < shown.places.size() && first < static_cast<std::size_t>(units.size())) {
            const auto inSelection = [&](std::size_t at) {
                return shown.places[at].offset >= selectFrom && shown.places[at].offset < selectTo;
            };
            const bool selected = inSelection(first);
            std::size_t end = first;
            while (end < shown.places.size() && inSelection(end) == selected)
                ++end;
            const int right = shown.places[end - 1].right;
            if (selected)
                painter.fillRect(QRect(kMarginX + left, y, right - left, m_rowHeight), selectedBack);
            painter.setPen(selected ? selectedText : plainText);
            painter.drawText(QPointF(kMarginX + left, y + m_ascent),
                             units.mid(static_cast<qsizetype>(first), static_cast<qsizetype>(end - first)));
            first = end;
            left = right;
        }
        // A selected line end shows as a blank's width of selection.
        if (row.lastOfLine && m_layout.lines().isLineEnd(row.end) && row.end >= selectFrom && row.end < selectTo)
            painter.fillRect(QRect(kMarginX + left, y, std::max(m_rowHeight / 3, 2), m_rowHeight), selectedBack);
        y += m_rowHeight;
    }
    if (focused) {
        const QRect caret = caretRect();
        if (!caret.isEmpty())
            painter.fillRect(caret, plainText);
    }
}

void TextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    sizeChanged();
}

void TextView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fontChanged();
}

bool TextView::isOwnKey(const QKeyEvent &event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool control = (modifiers & Qt::ControlModifier) != 0;
    const bool shift = (modifiers & Qt::ShiftModifier) != 0;
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_Insert:
        return control && !shift;
    default:
        return false;
    }
}

bool TextView::onKey(const QKeyEvent &event)
{
    if (!isOwnKey(event))
        return false;
    const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
    const bool control = (event.modifiers() & Qt::ControlModifier) != 0;
    using text::Move;
    Move move{};
    switch (event.key()) {
    case Qt::Key_Left:
        move = control ? Move::WordLeft : Move::Left;
        break;
    case Qt::Key_Right:
        move = control ? Move::WordRight : Move::Right;
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (control) {
            m_layout.scrollRows(event.key() == Qt::Key_Up ? -1 : 1);
            changed(false);
            return true;
        }
        move = event.key() == Qt::Key_Up ? Move::Up : Move::Down;
        break;
    case Qt::Key_Home:
        move = control ? Move::TextStart : Move::RowStart;
        break;
    case Qt::Key_End:
        move = control ? Move::TextEnd : Move::RowEnd;
        break;
    case Qt::Key_PageUp:
        move = Move::PageUp;
        break;
    case Qt::Key_PageDown:
        move = Move::PageDown;
        break;
    case Qt::Key_A:
        selectAll();
        return true;
    default: // Ctrl+C and Ctrl+Insert
        copy();
        return true;
    }
    m_layout.move(move, shift);
    changed(true);
    return true;
}

void TextView::keyPressEvent(QKeyEvent *event)
{
    if (onKey(*event))
        event->accept();
    else
        event->ignore(); // Esc, Enter and the rest go on to the window
}

void TextView::press(QPoint at, bool extend)
{
    m_layout.pressAt(at.x() - kMarginX, rowAtY(at.y()), extend);
    changed(true);
}

void TextView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    m_dragAt = event->position().toPoint();
    press(m_dragAt, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void TextView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragAt = event->position().toPoint();
    press(m_dragAt, true);
    // Above or below the view the selection goes on growing while the button
    // is held, as the view scrolls.
    if (m_dragAt.y() < 0 || m_dragAt.y() >= viewport()->height()) {
        if (!m_dragScroll.isActive())
            m_dragScroll.start();
    } else {
        m_dragScroll.stop();
    }
}

void TextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_dragScroll.stop();
    }
}

void TextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    m_layout.selectWordAt(at.x() - kMarginX, rowAtY(at.y()));
    changed(true);
}

void TextView::wheelEvent(QWheelEvent *event)
{
    m_wheelRest += event->angleDelta().y();
    const int notches = m_wheelRest / kWheelNotch;
    m_wheelRest %= kWheelNotch;
    event->accept();
    if (notches == 0)
        return;
    const int perNotch = std::max(QApplication::wheelScrollLines(), 1);
    m_layout.scrollRows(-static_cast<long long>(notches) * perNotch);
    changed(false);
}

void TextView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_dragging = false;
    m_dragScroll.stop();
    viewport()->update();
}

} // namespace ui::qt
