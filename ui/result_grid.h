#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

namespace listing {
class ResultTable;
}

namespace ui {

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
class ResultGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kDefaultColumnWidth = 32;
    static constexpr int kDefaultRowHeight = 20;

    explicit ResultGrid(QWidget *parent = nullptr);

    void setResultModel(ResultTableModel *model);

    // Sets every column's width from the table (column 0 is the number
    // column) and the row height; run after each rebuild of the model.
    void applyLayout(const listing::ResultTable &table, int rowHeight);

    // The corner cell, which shows the number column's header text.
    QWidget *corner() const { return m_corner; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ResultTableModel *m_model = nullptr;
    QWidget *m_corner = nullptr;
};

// Draws one fixed cell: the button face with raised edges and the text at
// 2 pixels from the left and top.
void drawFixedCell(QPainter &painter, const QRect &rect, const QPalette &palette, const QString &text);

} // namespace ui
