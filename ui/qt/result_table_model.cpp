#include "result_table_model.h"

#include "listing/result_table.h"
#include "platform/qt/qt_text.h"

namespace ui::qt {

ResultTableModel::ResultTableModel(const listing::ResultTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    m_rows = std::max(m_table.dataRowCount(), 0);
    m_columns = std::max(m_table.columnCount() - 1, 0);
}

void ResultTableModel::reload()
{
    // Headers keep the sections the user dragged across a reset, but forget
    // them when the model is empty: passing through the empty shape lays out
    // every row and column of the new listing in its own place again.
    beginResetModel();
    m_rows = 0;
    m_columns = 0;
    endResetModel();

    beginResetModel();
    m_rows = std::max(m_table.dataRowCount(), 0);
    m_columns = std::max(m_table.columnCount() - 1, 0);
    endResetModel();
}

QString ResultTableModel::cornerText() const
{
    return text(0, 0);
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QString ResultTableModel::text(int column, int row) const
{
    // ResultTable::cell() is empty outside the table.
    return platform::qt::toQString(m_table.cell(column, row));
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.model() != this)
        return {};
    if (index.row() < 0 || index.row() >= m_rows || index.column() < 0 || index.column() >= m_columns)
        return {};
    return text(index.column() + 1, index.row() + 1);
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_columns ? QVariant(text(section + 1, 0)) : QVariant();
    return section < m_rows ? QVariant(text(0, section + 1)) : QVariant();
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace ui::qt
