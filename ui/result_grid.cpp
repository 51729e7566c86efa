#include "result_grid.h"

#include "listing/result_table.h"
#include "result_table_model.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>

namespace ui {
namespace {

constexpr int kTextInset = 2;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

} // namespace

void drawFixedCell(QPainter &painter, const QRect &rect, const QPalette &palette, const QString &text)
{
    painter.fillRect(rect, palette.color(QPalette::Button));
    // Raised: light above and left, shadow below and right; the shadow is
    // also the line between fixed cells, so that a narrow cell such as the
    // number column keeps every pixel it can for its text.
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());

    if (text.isEmpty())
        return;
    painter.setPen(palette.color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(rect.adjusted(kTextInset, kTextInset, -1, -1), kTextFlags, text);
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

GridCellDelegate::GridCellDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

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
    return {ResultGrid::kDefaultColumnWidth, ResultGrid::kDefaultRowHeight};
}

ResultGrid::ResultGrid(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    setItemDelegate(new GridCellDelegate(this));

    horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
    horizontalHeader()->setFixedHeight(kDefaultRowHeight);
    // Fixed default heights: the view never measures 100,000 rows.
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    verticalHeader()->setFixedWidth(kDefaultColumnWidth);

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

void ResultGrid::applyLayout(const listing::ResultTable &table, int rowHeight)
{
    QHeaderView *columns = horizontalHeader();
    for (int section = 0; section < columns->count(); ++section)
        columns->resizeSection(section, table.columnWidth(section + 1));
    verticalHeader()->setFixedWidth(table.columnWidth(0));
    verticalHeader()->setDefaultSectionSize(rowHeight);
    columns->setFixedHeight(rowHeight);
    if (m_corner)
        m_corner->update();
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
