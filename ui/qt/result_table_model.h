#pragma once

#include <QAbstractTableModel>

namespace listing {
class ResultTable;
}

namespace ui::qt {

// Shows a listing::ResultTable to a QTableView without copying it: row 0 of
// the table is the horizontal header, column 0 the vertical header, and the
// rest are the model's cells, converted from CP932 when the view asks.
//
// The shape is taken when reload() runs, after the table has been rebuilt;
// until then every question is answered from the shape the view knows, and
// cells that the table no longer has read as empty.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultTableModel(const listing::ResultTable &table, QObject *parent = nullptr);

    // Takes the table's new shape and contents; rows and columns that the
    // user moved in the views go back to their places.
    void reload();

    // The text of the table's top-left cell, "No".
    QString cornerText() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QString text(int column, int row) const;

    const listing::ResultTable &m_table;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace ui::qt
