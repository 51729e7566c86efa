#include "cookie_view.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace ui::qt {

CookieView::CookieView(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
}

std::vector<int> CookieView::selectedRows() const
{
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CookieView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (event->matches(QKeySequence::Copy) ||
        (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab))) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace ui::qt
