#pragma once

#include "ui/form_layout.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui::qt {

// A bar docked beside `neighbour` that resizes it. Dragging with the left
// button shows a dithered bar where the splitter will land; the neighbour
// takes its new size on release, Esc cancels. The neighbour keeps at least
// kSplitterMinimumSize pixels, and so does `rest`, the control that fills the rest;
// a neighbour dragged to kSplitterMinimumSize or less snaps shut to 0; the
// resize handler gives the neighbour its new size.
class Splitter : public QWidget {
    Q_OBJECT
public:
    // Where the neighbour lies, seen from the splitter.
    using Side = SplitterSide;

    Splitter(Side side, QWidget *neighbour, QWidget *rest, QWidget *parent = nullptr);

    void setResizeHandler(std::function<void(int)> resize) { m_resize = std::move(resize); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int sizeAcross(const QWidget *widget) const;
    int offsetOf(const QPointF &globalPosition) const;
    void moveBar();
    void endDrag(bool apply);

    Side m_side;
    QPointer<QWidget> m_neighbour;
    QPointer<QWidget> m_rest;
    QWidget *m_bar = nullptr;
    SplitterDrag m_drag;
    std::function<void(int)> m_resize;
};

} // namespace ui::qt
