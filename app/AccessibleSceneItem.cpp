#include "app/AccessibleSceneItem.h"

#include "app/AccessibleScene.h"

#include <QQuickItem>
#include <QQuickWidget>
#include <QVariant>

namespace {
// The item's Accessible attached object, null before QML or Qt made one.
const QObject *attachedTo(const QObject *item)
{
    if (!item)
        return nullptr;
    for (const QObject *child : item->children()) {
        if (qstrcmp(child->metaObject()->className(), "QQuickAccessibleAttached") == 0)
            return child;
    }
    return nullptr;
}
} // namespace

AccessibleSceneItem::AccessibleSceneItem(QAccessibleInterface *inner)
    : m_inner(inner)
{
}

AccessibleSceneItem::~AccessibleSceneItem()
{
    // Qt filed its interface for the item too; it goes with this one.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(m_inner));
}

bool AccessibleSceneItem::isValid() const
{
    return m_inner->isValid();
}

QObject *AccessibleSceneItem::object() const
{
    return m_inner->object();
}

QWindow *AccessibleSceneItem::window() const
{
    return m_inner->window();
}

QVector<QPair<QAccessibleInterface *, QAccessible::Relation>>
AccessibleSceneItem::relations(QAccessible::Relation match) const
{
    return m_inner->relations(match);
}

QAccessibleInterface *AccessibleSceneItem::focusChild() const
{
    return m_inner->focusChild();
}

QAccessibleInterface *AccessibleSceneItem::childAt(int x, int y) const
{
    return m_inner->childAt(x, y);
}

QAccessibleInterface *AccessibleSceneItem::parent() const
{
    return m_inner->parent();
}

QAccessibleInterface *AccessibleSceneItem::child(int index) const
{
    return m_inner->child(index);
}

int AccessibleSceneItem::childCount() const
{
    return m_inner->childCount();
}

int AccessibleSceneItem::indexOfChild(const QAccessibleInterface *child) const
{
    return m_inner->indexOfChild(child);
}

QString AccessibleSceneItem::text(QAccessible::Text type) const
{
    return m_inner->text(type);
}

void AccessibleSceneItem::setText(QAccessible::Text type, const QString &text)
{
    m_inner->setText(type, text);
}

QRect AccessibleSceneItem::rect() const
{
    return m_inner->rect();
}

QAccessible::Role AccessibleSceneItem::role() const
{
    bool known = false;
    const QObject *attached = attachedTo(object());
    const int role = attached ? attached->property("role").toInt(&known) : 0;
    return known && role != QAccessible::NoRole ? QAccessible::Role(role) : m_inner->role();
}

QAccessible::State AccessibleSceneItem::state() const
{
    QAccessible::State state = m_inner->state();
    const auto *item = qobject_cast<const QQuickItem *>(object());
    const QQuickWidget *host = item ? AccessibleScene::hostOf(item->window()) : nullptr;
    if (host)
        state.invisible = !item->isVisible() || qFuzzyIsNull(item->opacity()) || !host->isVisible();
    // Qt leaves a disabled item's state alone; a screen reader says it is dimmed.
    if (item && !item->isEnabled())
        state.disabled = true;
    // The page tab of the page on screen is the selected one.
    state.selectable = role() == QAccessible::PageTab;
    state.selected = state.selectable && state.checked;
    return state;
}

void *AccessibleSceneItem::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return innerValue() ? static_cast<QAccessibleValueInterface *>(this) : nullptr;
    if (type == QAccessible::ActionInterface)
        return innerAction() ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    return m_inner->interface_cast(type);
}

QAccessibleValueInterface *AccessibleSceneItem::innerValue() const
{
    return m_inner->valueInterface();
}

QAccessibleActionInterface *AccessibleSceneItem::innerAction() const
{
    return m_inner->actionInterface();
}

QVariant AccessibleSceneItem::currentValue() const
{
    return innerValue()->currentValue();
}

void AccessibleSceneItem::setCurrentValue(const QVariant &value)
{
    if (!state().disabled)
        innerValue()->setCurrentValue(value);
}

QVariant AccessibleSceneItem::maximumValue() const
{
    return innerValue()->maximumValue();
}

QVariant AccessibleSceneItem::minimumValue() const
{
    return innerValue()->minimumValue();
}

QVariant AccessibleSceneItem::minimumStepSize() const
{
    return innerValue()->minimumStepSize();
}

QStringList AccessibleSceneItem::actionNames() const
{
    // Qt lists a control's press once for the button and once for its Accessible handler.
    QStringList names = innerAction()->actionNames();
    names.removeDuplicates();
    return names;
}

void AccessibleSceneItem::doAction(const QString &actionName)
{
    if (!state().disabled)
        innerAction()->doAction(actionName);
}

QStringList AccessibleSceneItem::keyBindingsForAction(const QString &actionName) const
{
    return innerAction()->keyBindingsForAction(actionName);
}
