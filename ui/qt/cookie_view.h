#pragma once

#include <QTableView>

#include <vector>

namespace ui::qt {

// The decoded cookies of the chosen file: a read-only table whose rows are
// selected whole. Ctrl+C, Ctrl+A and Ctrl+Tab are the window's here: the
// view lets them through to it instead of copying one cell, selecting by
// itself or moving between cells.
class CookieView : public QTableView {
    Q_OBJECT
public:
    explicit CookieView(QWidget *parent = nullptr);

    // The selected rows (from 0), in the table's order.
    std::vector<int> selectedRows() const;
    // Selects exactly rows `first` to `last`; the current row becomes
    // `first` unless it lies among them.
    void selectRows(int first, int last);

signals:
    // The view got the focus other than by a click.
    void focusedByKeyboard();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // Home and End go to the first and the last row, as in the Windows
    // list: the rows are selected whole, so a move along one is no move.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

} // namespace ui::qt
