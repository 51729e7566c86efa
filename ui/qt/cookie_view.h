#pragma once

#include <QTableView>

#include <vector>

namespace ui::qt {

// The decoded cookies of the chosen file: a read-only table whose rows are
// selected whole. Ctrl+C and Ctrl+Tab are the window's here: the view lets
// them through to it instead of copying one cell or moving between cells.
class CookieView : public QTableView {
    Q_OBJECT
public:
    explicit CookieView(QWidget *parent = nullptr);

    // The selected rows (from 0), in the table's order.
    std::vector<int> selectedRows() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace ui::qt
