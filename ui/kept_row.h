#pragma once

#include <string>

namespace listing {
class ResultTable;
}

namespace ui {

// The table row a command keeps current across the rescan that ends it:
// the same file where it is still listed; else the file that followed it,
// which has taken its place; else the row at the same position, or the last
// row when fewer remain. Files are told apart by their real names, which the
// cells may not show in full.
class KeptRow {
public:
    // Remembers data row `row` of `table` (from 1); 0 or another row that
    // holds no data keeps nothing but the position of the first row.
    KeptRow(const listing::ResultTable &table, int row);

    // The row to make current in `table` after the rescan; 0 when it has no
    // data rows.
    int rowIn(const listing::ResultTable &table) const;

private:
    std::string m_file;
    std::string m_nextFile;
    int m_row = 1;
};

} // namespace ui
