#pragma once

#include <QPointer>
#include <QWidget>

namespace ui {

// A bar docked beside `neighbour` that resizes it. Dragging with the left
// button shows a dithered bar where the splitter will land; the neighbour
// takes its new size on release, Esc cancels. The neighbour keeps at least
// kMinimumSize pixels, and so does `rest`, the control that fills the rest;
// a neighbour dragged to kMinimumSize or less snaps shut to 0. The
// neighbour is docked in a DockLayout, whose extent for it the drag sets.
class Splitter : public QWidget {
    Q_OBJECT
public:
    // Where the neighbour lies, seen from the splitter.
    enum class Side { Left, Bottom };

    static constexpr int kMinimumSize = 30;

    Splitter(Side side, QWidget *neighbour, QWidget *rest, QWidget *parent = nullptr);

    // The neighbour's size after a drag that moved the splitter by `delta`
    // pixels (right or down positive), from `start`, with `available` pixels
    // shared by the neighbour and the rest.
    static int draggedSize(int start, int delta, int available, Side side);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int neighbourSize() const;
    int restSize() const;
    int globalOffset(const QPointF &globalPosition) const;
    void moveBar(int size);
    void endDrag();

    Side m_side;
    QPointer<QWidget> m_neighbour;
    QPointer<QWidget> m_rest;
    QWidget *m_bar = nullptr;
    bool m_dragging = false;
    int m_startOffset = 0;
    int m_startSize = 0;
    int m_available = 0;
    int m_newSize = 0;
};

} // namespace ui
