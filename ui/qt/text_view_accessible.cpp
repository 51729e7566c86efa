#include "text_view_accessible.h"

#include "text_view.h"

#include <QAccessible>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace ui::qt {

TextViewAccessible::TextViewAccessible(TextView *view) : QAccessibleWidget(view, QAccessible::EditableText) {}

TextView *TextViewAccessible::view() const
{
    return static_cast<TextView *>(widget());
}

void *TextViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString TextViewAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value) {
        const auto [from, to] = view()->accessibleSpan();
        return view()->textBetween(from, to);
    }
    return QAccessibleWidget::text(kind);
}

int TextViewAccessible::unitOf(std::size_t byte) const
{
    const auto [from, to] = view()->accessibleSpan();
    const text::TextLines &lines = view()->layout().lines();
    byte = std::clamp(byte, from, to);
    int units = 0;
    for (std::size_t at = from; at < byte && units < INT_MAX; at = lines.nextCharacter(at))
        ++units;
    return units;
}

std::size_t TextViewAccessible::byteOf(int unit) const
{
    const auto [from, to] = view()->accessibleSpan();
    const text::TextLines &lines = view()->layout().lines();
    std::size_t at = from;
    for (int step = 0; step < unit && at < to; ++step)
        at = lines.nextCharacter(at);
    return std::min(at, to);
}

std::pair<int, int> TextViewAccessible::selectionUnits() const
{
    const auto [first, last] = view()->layout().selection();
    return {unitOf(first), unitOf(last)};
}

void TextViewAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0)
        return;
    const auto [first, last] = selectionUnits();
    if (first == last)
        return;
    *startOffset = first;
    *endOffset = last;
}

int TextViewAccessible::selectionCount() const
{
    const auto [first, last] = selectionUnits();
    return first == last ? 0 : 1;
}

void TextViewAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextViewAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    const std::size_t caret = view()->layout().caret();
    view()->select(caret, caret);
}

void TextViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    view()->select(byteOf(std::max(startOffset, 0)), byteOf(std::max(endOffset, 0)));
}

int TextViewAccessible::cursorPosition() const
{
    return unitOf(view()->layout().caret());
}

void TextViewAccessible::setCursorPosition(int position)
{
    const std::size_t caret = byteOf(std::max(position, 0));
    view()->select(caret, caret);
}

QString TextViewAccessible::text(int startOffset, int endOffset) const
{
    // -1 as the end is the text's end, as AT-SPI asks for the whole text.
    const int count = characterCount();
    if (endOffset < 0 || endOffset > count)
        endOffset = count;
    startOffset = std::clamp(startOffset, 0, endOffset);
    return view()->textBetween(byteOf(startOffset), byteOf(endOffset));
}

int TextViewAccessible::characterCount() const
{
    return unitOf(view()->accessibleSpan().second);
}

QRect TextViewAccessible::characterRect(int offset) const
{
    // Only the caret's place is known without laying out other rows: the
    // caret's rectangle when asked for its character, else none.
    if (offset != cursorPosition())
        return {};
    const QRect caret = view()->caretRect();
    if (caret.isEmpty())
        return {};
    return QRect(view()->viewport()->mapToGlobal(caret.topLeft()), caret.size());
}

int TextViewAccessible::offsetAtPoint(const QPoint &) const
{
    return -1;
}

void TextViewAccessible::scrollToSubstring(int startIndex, int)
{
    setCursorPosition(startIndex);
}

QString TextViewAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

void announceTextShown(TextView *view)
{
    if (!QAccessible::isActive())
        return;
    const auto [from, to] = view->accessibleSpan();
    QAccessibleTextUpdateEvent update(view, 0, QString(), view->textBetween(from, to));
    QAccessible::updateAccessibility(&update);
    announceSelection(view);
}

void announceSelection(TextView *view)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(view);
    QAccessibleTextInterface *textInterface = accessible ? accessible->textInterface() : nullptr;
    if (!textInterface)
        return;
    QAccessibleTextCursorEvent cursor(view, textInterface->cursorPosition());
    QAccessible::updateAccessibility(&cursor);
    int start = 0;
    int end = 0;
    textInterface->selection(0, &start, &end);
    QAccessibleTextSelectionEvent selected(view, start, end);
    selected.setCursorPosition(textInterface->cursorPosition());
    QAccessible::updateAccessibility(&selected);
}

} // namespace ui::qt
