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

namespace ui {
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
    m_anchorRow = 0;
    m_pressedRow = -1;
    verticalHeader()->setDefaultSectionSize(rowHeight + grid::kGridLineWidth);
    columns->setFixedHeight(rowHeight + grid::kGridLineWidth);
    if (m_corner)
        m_corner->update();
}

void ResultGrid::mousePressEvent(QMouseEvent *event)
{
    m_pressedRow = -1;
    event->accept();
    // The right and middle buttons, and presses outside the cells, do nothing.
    if (event->button() != Qt::LeftButton || !m_model)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Widens the selected range; the current row stays.
        const int current = currentIndex().isValid() ? currentIndex().row() : index.row();
        selectRows(current, index.row());
        return;
    }
    m_anchorRow = index.row();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pressedRow = index.row();
}

void ResultGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_pressedRow < 0 || !(event->buttons() & Qt::LeftButton) || !m_model || m_model->rowCount() == 0)
        return;
    // Dragging selects the rows from the pressed one to the one under the
    // mouse; the pressed row stays current.
    const int y = event->position().toPoint().y();
    int row = rowAt(std::clamp(y, 0, viewport()->height() - 1));
    if (row < 0)
        row = y < 0 ? 0 : m_model->rowCount() - 1;
    selectRows(m_pressedRow, row);
    scrollTo(m_model->index(row, std::max(currentIndex().column(), 0)));
}

void ResultGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || m_pressedRow < 0)
        return;
    m_pressedRow = -1;
    emit rowMadeCurrent();
}

void ResultGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: its release makes nothing current.
    m_pressedRow = -1;
    event->accept();
}

void ResultGrid::keyPressEvent(QKeyEvent *event)
{
    const keyboard::GridAction action = keyboard::gridAction(keyStroke(*event));
    if (action == keyboard::GridAction::ScrollLeft || action == keyboard::GridAction::ScrollRight) {
        // The columns scroll by the width of a default column; there is
        // nothing to do where the view shows them all.
        QScrollBar *bar = horizontalScrollBar();
        const int step = horizontalHeader()->defaultSectionSize();
        bar->setValue(bar->value() + (action == keyboard::GridAction::ScrollLeft ? -step : step));
        event->accept();
        return;
    }
    const int row = rowForAction(action);
    if (row < 0) {
        // Keys that move no row do nothing here (no search by typing); Tab
        // and the window's own keys go on to the parent.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (row == currentIndex().row())
        return;
    moveCurrentRow(row, event->modifiers().testFlag(Qt::ShiftModifier));
    emit rowMadeCurrent();
}

void ResultGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (!m_model || m_model->rowCount() == 0)
        return;
    const int rows = grid::wheelRows(m_wheelDelta, event->angleDelta().y());
    for (int step = 0; step < std::abs(rows); ++step) {
        const int current = currentIndex().isValid() ? currentIndex().row() : 0;
        const int row = std::clamp(current + (rows < 0 ? -1 : 1), 0, m_model->rowCount() - 1);
        if (row == current && currentIndex().isValid())
            continue;
        moveCurrentRow(row, false);
        emit rowMadeCurrent();
    }
}

int ResultGrid::rowForAction(keyboard::GridAction action) const
{
    if (!m_model)
        return -1;
    grid::RowView view;
    view.last = m_model->rowCount() - 1;
    view.current = currentIndex().isValid() ? currentIndex().row() : -1;
    view.topVisible = std::max(rowAt(0), 0);
    // The bottom row that is wholly in view.
    const int height = viewport()->height();
    view.bottomVisible = rowAt(height - 1);
    if (view.bottomVisible < 0)
        view.bottomVisible = view.last;
    else if (rowViewportPosition(view.bottomVisible) + rowHeight(view.bottomVisible) > height &&
             view.bottomVisible > view.topVisible)
        --view.bottomVisible;
    view.page = grid::rowsPerPage(height, verticalHeader()->defaultSectionSize());
    return grid::rowForAction(action, view);
}

void ResultGrid::makeRowCurrent(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    moveCurrentRow(row, false);
}

void ResultGrid::moveCurrentRow(int row, bool extend)
{
    const QModelIndex index = m_model->index(row, std::max(currentIndex().column(), 0));
    if (!extend)
        m_anchorRow = row;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectRows(m_anchorRow, row);
    scrollTo(index);
}

void ResultGrid::selectRows(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    const int lastColumn = std::max(m_model->columnCount() - 1, 0);
    selectionModel()->select(QItemSelection(m_model->index(first, 0), m_model->index(last, lastColumn)),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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

} // namespace ui
