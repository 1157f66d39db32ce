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
    // The page tab of the page on screen is the selected one.
    state.selectable = role() == QAccessible::PageTab;
    state.selected = state.selectable && state.checked;
    return state;
}

void *AccessibleSceneItem::interface_cast(QAccessible::InterfaceType type)
{
    return m_inner->interface_cast(type);
}
