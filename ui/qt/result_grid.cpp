#include "result_grid.h"

#include "listing/result_table.h"
#include "qt_keys.h"
#include "result_table_model.h"

#include <QAbstractButton>
#include <QEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace ui::qt {
namespace {

constexpr int kTextInset = grid::kCellTextInset;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

} // namespace

void drawFixedCell(QPainter &painter, const QRect &rect, const QPalette &palette, const QString &text)
{
    // The grid line lies along the right and bottom of the section, outside
    // the cell, so that the cell keeps its whole width for its raised face
    // and its text.
    const QRect cell = rect.adjusted(0, 0, -grid::kGridLineWidth, -grid::kGridLineWidth);
    painter.fillRect(cell, palette.color(QPalette::Button));
    painter.setPen(palette.color(QPalette::Shadow));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (cell.isEmpty())
        return;
    // Raised: light above and left, shadow below and right.
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(cell.topLeft(), cell.topRight());
    painter.drawLine(cell.topLeft(), cell.bottomLeft());
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    painter.drawLine(cell.topRight(), cell.bottomRight());

    if (text.isEmpty())
        return;
    painter.setPen(palette.color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(cell.adjusted(kTextInset, kTextInset, 0, 0), kTextFlags, text);
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget *parent) : QHeaderView(orientation, parent)
{
    setSectionsMovable(true);
    // A press on a fixed cell selects nothing; it starts a drag or a resize.
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(1);
}

void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    drawFixedCell(*painter, rect, palette(), text);
}

GridCellDelegate::GridCellDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QPalette &palette = option.palette;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(option.rect, palette.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(kTextInset, kTextInset, 0, 0), kTextFlags, index.data().toString());

    // The dotted focus frame goes round the whole current row.
    const auto *view = qobject_cast<const QTableView *>(option.widget);
    if (!view || !view->hasFocus() || view->currentIndex().row() != index.row())
        return;
    const QHeaderView *header = view->horizontalHeader();
    const int visual = header->visualIndex(index.column());
    const QRect &r = option.rect;
    painter->setPen(QPen(palette.color(QPalette::Active, QPalette::HighlightedText), 1, Qt::DotLine));
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (visual == 0)
        painter->drawLine(r.topLeft(), r.bottomLeft());
    if (visual == header->count() - 1)
        painter->drawLine(r.topRight(), r.bottomRight());
}

QSize GridCellDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return {grid::kDefaultColumnWidth, grid::kDefaultRowHeight};
}

ResultGrid::ResultGrid(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    setItemDelegate(new GridCellDelegate(this));

    // Fixed default heights: the view never measures 100,000 rows.
    setDefaultCellSize(grid::kDefaultColumnWidth, grid::kDefaultRowHeight);
    verticalHeader()->setFixedWidth(grid::kDefaultColumnWidth + grid::kGridLineWidth);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setShowGrid(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // The corner cell stands for the number column's header: it shows its
    // text and, like every fixed cell, selects nothing when pressed.
    setCornerButtonEnabled(false);
    m_corner = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (m_corner)
        m_corner->installEventFilter(this);
}

void ResultGrid::setResultModel(ResultTableModel *model)
{
    m_model = model;
    setModel(model);
    // Rows and columns both keep their default size until the user drags
    // one: nothing is measured.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void ResultGrid::setDefaultCellSize(int columnWidth, int rowHeight)
{
    horizontalHeader()->setDefaultSectionSize(columnWidth + grid::kGridLineWidth);
    verticalHeader()->setDefaultSectionSize(rowHeight + grid::kGridLineWidth);
    horizontalHeader()->setFixedHeight(rowHeight + grid::kGridLineWidth);
}

void ResultGrid::applyLayout(const listing::ResultTable &table, int rowHeight)
{
    // A section holds its cell and the grid line after it.
    QHeaderView *columns = horizontalHeader();
    for (int section = 0; section < columns->count(); ++section)
        columns->resizeSection(section, table.columnWidth(section + 1) + grid::kGridLineWidth);
    verticalHeader()->setFixedWidth(table.columnWidth(0) + grid::kGridLineWidth);
    m_selection.reset(m_model ? m_model->rowCount() : 0);
    verticalHeader()->setDefaultSectionSize(rowHeight + grid::kGridLineWidth);
    columns->setFixedHeight(rowHeight + grid::kGridLineWidth);
    if (m_corner)
        m_corner->update();
}

void ResultGrid::mousePressEvent(QMouseEvent *event)
{
    m_selection.cancelPress();
    event->accept();
    // The right and middle buttons, and presses outside the cells, do nothing.
    if (event->button() != Qt::LeftButton || !m_model)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setFocus(Qt::MouseFocusReason);
    m_selection.press(index.row() + 1, event->modifiers().testFlag(Qt::ShiftModifier));
    showSelection(false);
}

void ResultGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton) || !m_model || m_model->rowCount() == 0)
        return;
    // The row under the mouse; above or below the rows in view, the first or
    // the last.
    const int y = event->position().toPoint().y();
    int row = rowAt(std::clamp(y, 0, viewport()->height() - 1));
    if (row < 0)
        row = y < 0 ? 0 : m_model->rowCount() - 1;
    if (!m_selection.dragTo(row + 1))
        return;
    showSelection(false);
    scrollTo(m_model->index(row, std::max(currentIndex().column(), 0)));
}

void ResultGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && m_selection.release())
        emit rowMadeCurrent();
}

void ResultGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: its release makes nothing current.
    m_selection.cancelPress();
    event->accept();
}

void ResultGrid::keyPressEvent(QKeyEvent *event)
{
    using Outcome = grid::GridSelection::KeyOutcome;
    const Outcome outcome = m_model ? m_selection.key(keyStroke(*event), rowsInView()) : Outcome::Ignored;
    switch (outcome) {
    case Outcome::Ignored:
        // Keys that move no row do nothing here (no search by typing); Tab
        // and the window's own keys go on to the parent.
        QWidget::keyPressEvent(event);
        return;
    case Outcome::ScrollLeft:
    case Outcome::ScrollRight: {
        // The columns scroll by the width of a default column; there is
        // nothing to do where the view shows them all.
        QScrollBar *bar = horizontalScrollBar();
        const int step = horizontalHeader()->defaultSectionSize();
        bar->setValue(bar->value() + (outcome == Outcome::ScrollLeft ? -step : step));
        break;
    }
    case Outcome::Unchanged:
        break;
    case Outcome::Moved:
        showSelection(true);
        emit rowMadeCurrent();
        break;
    }
    event->accept();
}

void ResultGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (!m_model)
        return;
    m_selection.wheel(event->angleDelta().y(), [this] {
        showSelection(true);
        emit rowMadeCurrent();
    });
}

grid::GridSelection::View ResultGrid::rowsInView() const
{
    grid::GridSelection::View view;
    const int top = std::max(rowAt(0), 0);
    // The bottom row that is wholly in view.
    const int height = viewport()->height();
    int bottom = rowAt(height - 1);
    if (bottom < 0)
        bottom = m_model->rowCount() - 1;
    else if (rowViewportPosition(bottom) + rowHeight(bottom) > height && bottom > top)
        --bottom;
    view.topVisible = top + 1;
    view.bottomVisible = bottom + 1;
    view.page = grid::rowsPerPage(height, verticalHeader()->defaultSectionSize());
    return view;
}

void ResultGrid::makeRowCurrent(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    m_selection.makeCurrent(row + 1);
    showSelection(true);
}

void ResultGrid::showSelection(bool scroll)
{
    if (!m_model)
        return;
    const int current = m_selection.current();
    const QModelIndex index = m_model->index(current - 1, std::max(currentIndex().column(), 0));
    if (current > 0) {
        m_showingSelection = true;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_showingSelection = false;
    }
    const auto [first, last] = m_selection.selected();
    const int lastColumn = std::max(m_model->columnCount() - 1, 0);
    if (first > 0)
        selectionModel()->select(QItemSelection(m_model->index(first - 1, 0), m_model->index(last - 1, lastColumn)),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clearSelection();
    if (scroll && current > 0)
        scrollTo(index);
}

void ResultGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // Moved by the view itself (a rebuilt model, or a program that sets it):
    // the keys go on from there.
    if (!m_showingSelection)
        m_selection.followCurrent(current.isValid() ? current.row() + 1 : 0);
}

bool ResultGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_corner && event->type() == QEvent::Paint) {
        QPainter painter(m_corner);
        drawFixedCell(painter, m_corner->rect(), palette(), m_model ? m_model->cornerText() : QString());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace ui::qt
