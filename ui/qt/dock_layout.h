#pragma once

#include "ui/form_layout.h"

#include <QLayout>

#include <vector>

namespace ui::qt {

// Lays out its widgets by dockBoxes(), each side in the order added (the
// first of a side lies nearest its edge). The layout asks no minimum size of its parent, so that a strip
// made wider never makes the window grow or keeps the user from shrinking it.
class DockLayout : public QLayout {
    Q_OBJECT
public:
    using Dock = ui::Dock;

    explicit DockLayout(QWidget *parent = nullptr);
    ~DockLayout() override;

    // Docks `widget` to `side` with `extent` pixels (ignored for Client).
    void addDocked(QWidget *widget, Dock side, int extent = 0);

    // The extent of a docked widget; -1 for a widget not docked here.
    int extent(const QWidget *widget) const;
    void setExtent(const QWidget *widget, int extent);

    // The DockLayout of `widget`'s parent, or nullptr.
    static DockLayout *of(const QWidget *widget);

    // QLayout
    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry {
        QLayoutItem *item;
        Dock side;
        int extent;
    };
    std::vector<Entry> m_entries;
};

} // namespace ui::qt
