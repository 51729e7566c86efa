#pragma once

#include "ui/grid_selection.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

namespace listing {
class ResultTable;
}

namespace ui::qt {

class ResultTableModel;

// A header of the grid: its sections are the fixed row and the fixed number
// column, drawn as fixed cells.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

// Draws a data cell: its text 2 pixels in from the left and top, one line,
// cut off at the cell's edge without an ellipsis; selected rows in the
// highlight colours whether or not the grid has the focus.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridCellDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The string grid of the window: one fixed header row (the horizontal
// header) and one fixed number column (the vertical header, whose header
// cell is the corner), whole-row selection of one range, rows and columns
// that the user may resize and drag, no editing.
//
// rowMadeCurrent() tells when the user makes a row current: on releasing a
// left press on a data cell (also on the current row), on each key that
// moves the current row, and on each wheel step, which moves one row. Left
// and Right scroll the columns instead. A
// press with Shift only widens the selected range; the second press of a
// double click, the other buttons, the headers and a rebuilt model make no
// row current.
class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(QWidget *parent = nullptr);

    void setResultModel(ResultTableModel *model);

    // The width of a column that was never sized and the height of every
    // row, both without the grid line.
    void setDefaultCellSize(int columnWidth, int rowHeight);

    // Sets every column's width from the table (column 0 is the number
    // column) and the row height; run after each rebuild of the model.
    void applyLayout(const listing::ResultTable &table, int rowHeight);

    // Makes `row` (from 0) current and the only selected row, in view,
    // without telling it as made current by the user.
    void makeRowCurrent(int row);

    // The corner cell, which shows the number column's header text.
    QWidget *corner() const { return m_corner; }

signals:
    void rowMadeCurrent();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    // The rows the view shows, for the page keys.
    grid::GridSelection::View rowsInView() const;
    // Shows the selection's current row and selected range; `scroll` brings
    // the current row into view.
    void showSelection(bool scroll);

    ResultTableModel *m_model = nullptr;
    QWidget *m_corner = nullptr;
    // Its rows are the model's rows + 1.
    grid::GridSelection m_selection;
    bool m_showingSelection = false;
};

// Draws one fixed cell into the section `rect`: the cell (all of it but the
// grid line along its right and bottom) as the button face with raised edges
// and the text at 2 pixels from its left and top, cut off at its edge.
void drawFixedCell(QPainter &painter, const QRect &rect, const QPalette &palette, const QString &text);

} // namespace ui::qt
