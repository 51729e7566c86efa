#pragma once

#include <QAccessibleWidget>

#include <cstddef>
#include <utility>

namespace ui::qt {

class TextView;

// What a screen reader sees of the content pane: read-only multi-line text
// named for what it shows, whose text, caret and selection it can read and
// set. Its text is the view's accessible span (the whole text of a cookie
// file; of a big one, the rows in view), in UTF-16 units with "\n" line
// ends, one unit per character, as a QPlainTextEdit gave it.
class TextViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextViewAccessible(TextView *view);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    TextView *view() const;
    // A byte of the text as a unit of the span (clamped to it), and back.
    int unitOf(std::size_t byte) const;
    std::size_t byteOf(int unit) const;
    std::pair<int, int> selectionUnits() const;
};

// Tells screen readers that the view's text, caret or selection changed;
// costs nothing while none listens.
void announceTextShown(TextView *view);
void announceSelection(TextView *view);

} // namespace ui::qt
