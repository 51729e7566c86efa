#include "cookie_view.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
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

void CookieView::selectRows(int first, int last)
{
    if (!model() || !selectionModel() || first < 0 || last < first || last >= model()->rowCount())
        return;
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    if (current < first || current > last)
        selectionModel()->setCurrentIndex(model()->index(first, 0), QItemSelectionModel::NoUpdate);
    const QItemSelection rows(model()->index(first, 0), model()->index(last, model()->columnCount() - 1));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CookieView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    // A click selects the row it lands on by itself.
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason)
        emit focusedByKeyboard();
}

void CookieView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) ||
        (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab))) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

QModelIndex CookieView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

} // namespace ui::qt
