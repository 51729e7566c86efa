#pragma once

#include <QAccessibleWidget>

namespace ui::qt {

class ClickableText;
class StaticText;

// Makes the window's own controls known to screen readers; run once after
// the QApplication exists. A static text reads as a label with its text; a
// clickable text as a push button named by its text without the trailing
// blanks, with its enabled state and a press action; the content pane's text
// view as read-only text (TextViewAccessible).
void installAccessibility();

// What a screen reader sees of a static text.
class StaticTextAccessible : public QAccessibleWidget {
public:
    explicit StaticTextAccessible(StaticText *text, QAccessible::Role role = QAccessible::StaticText);

    QString text(QAccessible::Text kind) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;

protected:
    StaticText *staticText() const;
};

// What a screen reader sees of a clickable text: a push button that takes no
// focus, disabled while the text is. Its press action clicks it after the
// call has returned, as a button's does, so that the question a command asks
// never holds the screen reader's call open.
class ClickableTextAccessible : public StaticTextAccessible {
public:
    explicit ClickableTextAccessible(ClickableText *text);

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};

} // namespace ui::qt
