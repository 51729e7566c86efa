#include "accessibility.h"

#include "static_text.h"
#include "text_view.h"
#include "text_view_accessible.h"

#include <QAccessible>
#include <QMetaObject>
#include <QPointer>

namespace ui::qt {
namespace {

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    // Asked for each class of the object in turn, its own first: answer for
    // the object's own class only, by type rather than by the class's name.
    if (!object || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *command = qobject_cast<ClickableText *>(object))
        return new ClickableTextAccessible(command);
    if (auto *text = qobject_cast<StaticText *>(object))
        return new StaticTextAccessible(text);
    if (auto *view = qobject_cast<TextView *>(object))
        return new TextViewAccessible(view);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

StaticTextAccessible::StaticTextAccessible(StaticText *text, QAccessible::Role role) : QAccessibleWidget(text, role) {}

StaticText *StaticTextAccessible::staticText() const
{
    return static_cast<StaticText *>(widget());
}

QString StaticTextAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        // The command texts end in blanks that only widen their boxes.
        QString name = staticText()->text();
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
        return name;
    }
    return QAccessibleWidget::text(kind);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
StaticTextAccessible::relations(QAccessible::Relation match) const
{
    auto result = QAccessibleWidget::relations(match);
    // The control this text names is labelled by it.
    if (match & QAccessible::Labelled) {
        if (QWidget *buddy = staticText()->buddy())
            if (QAccessibleInterface *labelled = QAccessible::queryAccessibleInterface(buddy))
                result.append({labelled, QAccessible::Labelled});
    }
    return result;
}

ClickableTextAccessible::ClickableTextAccessible(ClickableText *text) : StaticTextAccessible(text, QAccessible::Button)
{}

QStringList ClickableTextAccessible::actionNames() const
{
    return {QAccessibleActionInterface::pressAction()};
}

void ClickableTextAccessible::doAction(const QString &actionName)
{
    if (actionName != QAccessibleActionInterface::pressAction() || !widget()->isEnabled())
        return;
    QPointer<ClickableText> text = static_cast<ClickableText *>(widget());
    QMetaObject::invokeMethod(
        text,
        [text] {
            // Still enabled when the click arrives: a rescan may have come first.
            if (text && text->isEnabled())
                emit text->clicked();
        },
        Qt::QueuedConnection);
}

} // namespace ui::qt
