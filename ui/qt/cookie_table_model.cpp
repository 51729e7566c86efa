#include "cookie_table_model.h"

#include "listing/cookie_table.h"
#include "platform/qt/qt_text.h"

#include <QGuiApplication>
#include <QPalette>

namespace ui::qt {

using listing::CookieTable;
using platform::qt::toQString;

CookieTableModel::CookieTableModel(const CookieTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table), m_rows(table.rowCount())
{}

void CookieTableModel::reload()
{
    beginResetModel();
    m_rows = m_table.rowCount();
    endResetModel();
}

int CookieTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CookieTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CookieTable::kColumnCount;
}

QVariant CookieTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return toQString(m_table.cell(index.column(), index.row()));
    case Qt::ToolTipRole:
        return toQString(m_table.hint(index.row()));
    case Qt::ForegroundRole:
        if (m_table.isExpired(index.row()))
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == CookieTable::NumberColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant CookieTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return toQString(CookieTable::columnTitle(section));
}

Qt::ItemFlags CookieTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace ui::qt
