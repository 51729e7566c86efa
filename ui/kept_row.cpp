#include "kept_row.h"

#include "listing/result_table.h"

#include <algorithm>

namespace ui {
namespace {

// The data row made from file `nativeName`, or 0.
int rowOfFile(const listing::ResultTable &table, const std::string &nativeName)
{
    if (nativeName.empty())
        return 0;
    for (int row = 1; row < table.rowCount(); ++row)
        if (table.rowFile(row).nativeName == nativeName)
            return row;
    return 0;
}

} // namespace

KeptRow::KeptRow(const listing::ResultTable &table, int row)
{
    if (!table.isDataRow(row))
        return;
    m_row = row;
    m_file = table.rowFile(row).nativeName;
    if (table.isDataRow(row + 1))
        m_nextFile = table.rowFile(row + 1).nativeName;
}

int KeptRow::rowIn(const listing::ResultTable &table) const
{
    const int rows = table.dataRowCount();
    if (rows <= 0)
        return 0;
    if (const int same = rowOfFile(table, m_file))
        return same;
    if (const int next = rowOfFile(table, m_nextFile))
        return next;
    return std::clamp(m_row, 1, rows);
}

} // namespace ui
