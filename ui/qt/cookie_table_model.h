#pragma once

#include <QAbstractTableModel>

namespace listing {
class CookieTable;
}

namespace ui::qt {

// Shows a listing::CookieTable to a QTableView without copying it: a cell is
// converted from CP932 when the view asks for it, an expired cookie's row is
// drawn greyed, and a row's hint is its raw lines.
//
// The row count is taken when reload() runs, after the table was loaded;
// until then the view keeps the rows it knows, and a stale table reads
// empty.
class CookieTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CookieTableModel(const listing::CookieTable &table, QObject *parent = nullptr);

    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const listing::CookieTable &m_table;
    int m_rows = 0;
};

} // namespace ui::qt
