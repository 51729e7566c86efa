#pragma once

#include "ui/text_layout.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace listing {
class ContentPane;
}

namespace ui::qt {

// The content pane: a read-only view of a CP932 text that converts and draws
// only the rows in view, so that a file of 100 MB shows as quickly as one of
// a few lines and is never held twice (a QPlainTextEdit kept it again as
// UTF-16 with its layout, three to four times the file). Lines wrap at the
// view's width; the layout, the caret and the selection are the toolkit-free
// text::TextLayout that the Windows view uses too.
//
// Keys: the arrows, Ctrl+Left and Ctrl+Right by words, Home and End of a
// row, Ctrl+Home and Ctrl+End, Page Up and Page Down, each with Shift to
// select; Ctrl+A; Ctrl+C and Ctrl+Insert copy with "\n" line ends; Ctrl+Up
// and Ctrl+Down scroll a row. Tab and Esc are the window's. A right click or
// the menu key opens Copy and Select All. The vertical scroll bar counts
// lines, as wrapped rows are known only where the view has been.
class TextView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget *parent = nullptr);

    // Shows the pane's text, read where the pane holds it: the view keeps no
    // copy, and shows nothing once the pane's text has changed without being
    // shown here again.
    void showPane(const listing::ContentPane &pane);
    // Shows nothing.
    void clear();

    // The text's bytes as shown; empty once the pane's text changed.
    std::string_view text() const;
    // The whole text and the selected part as a QPlainTextEdit gives them:
    // "\n" line ends, a character that does not decode as U+FFFD.
    QString toPlainText() const;
    QString selectedText() const;
    // The part from byte `from` to `to` of the text, in the same form.
    QString textBetween(std::size_t from, std::size_t to) const;

    const text::TextLayout &layout() const { return m_layout; }
    int rowHeight() const { return m_rowHeight; }
    // Where the caret is drawn, in the viewport; empty when out of view.
    QRect caretRect() const;
    // The characters of line `line` of the view (from its top), converted:
    // what paintEvent draws there.
    QString rowText(int rowFromTop) const;

    // The bytes a screen reader is given as the view's text: the whole text
    // up to kWholeTextBytes, else the rows in view (from the first's start
    // to the last's end), so that no call converts a file of 100 MB.
    std::pair<std::size_t, std::size_t> accessibleSpan() const;
    static constexpr std::size_t kWholeTextBytes = std::size_t(1) << 16;

    // Puts the caret at byte `caret` with the selection from `anchor`,
    // both moved onto a character boundary, and scrolls it into view.
    void select(std::size_t anchor, std::size_t caret);
    void selectAll();
    void copy() const;

    // Characters measured since the view was made: what showing a text has
    // cost, which for a big one must stay with the rows in view.
    std::size_t measuredCharacters() const { return m_measure.measured(); }

signals:
    // The caret or the selection moved.
    void selectionChanged();
    // A new text is shown.
    void textChanged();

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Measures with the view's font, without kerning so that a run draws
    // where its characters were measured: one UTF-16 unit per character.
    class FontMeasure final : public text::LineMeasure {
    public:
        void setFont(const QFont &font);
        void measure(std::string_view line, std::size_t start, std::vector<text::CharacterPlace> &places) override;
        std::size_t measured() const { return m_measured; }

    private:
        qreal advance(QChar unit);
        QFont m_font;
        std::vector<float> m_advances; // by UTF-16 unit, -1 until measured
        QString m_units;
        std::size_t m_measured = 0;
    };

    // Forgets a text whose pane has moved on, before anything reads it.
    void dropStaleText();
    void fontChanged();
    void sizeChanged();
    // After the caret, the selection or the scroll changed.
    void changed(bool selectionMoved);
    void updateScrollBar();
    bool onKey(const QKeyEvent &event);
    bool isOwnKey(const QKeyEvent &event) const;
    void press(QPoint at, bool extend);
    int rowAtY(int y) const;

    FontMeasure m_measure;
    text::TextLayout m_layout{m_measure};
    QFont m_font;
    int m_rowHeight = 16;
    int m_ascent = 12;
    const listing::ContentPane *m_pane = nullptr;
    std::uint64_t m_revision = 0;
    bool m_dragging = false;
    QPoint m_dragAt; // where the mouse was last while dragging
    QTimer m_dragScroll;
    int m_wheelRest = 0;
    bool m_updatingBar = false;
};

// `line` (CP932, no line end) as drawn: one UTF-16 unit per character as
// text::characterLength() steps, a character that does not decode as U+FFFD.
QString rowUnits(std::string_view line);

} // namespace ui::qt
