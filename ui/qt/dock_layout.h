#pragma once

#include <QLayout>

#include <vector>

namespace ui {

// Lays out its widgets the way docked controls are laid out: strips docked
// to the top, then those docked to the bottom, then those docked to the
// left, each in the order added (the first of a side lies nearest its edge),
// and last the one widget that fills the rest. A strip keeps its own extent
// (height or width) whatever the room; the filling widget gets what remains,
// or nothing. The layout asks no minimum size of its parent, so that a strip
// made wider never makes the window grow or keeps the user from shrinking it.
class DockLayout : public QLayout {
    Q_OBJECT
public:
    enum class Dock { Top, Bottom, Left, Client };

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

} // namespace ui
