#include "app/AccessibleScene.h"

#include <QApplication>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>

namespace {
// The accessible items below `item`: an item that has no interface of its own (a plain Item,
// Row or Loader) passes its children on, as Qt does inside the scene.
void collectItems(QQuickItem *item, QList<QAccessibleInterface *> *found)
{
    for (QQuickItem *child : item->childItems()) {
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(child))
            found->append(iface);
        else
            collectItems(child, found);
    }
}
} // namespace

AccessibleScene::AccessibleScene(QQuickWindow *window, QQuickWidget *host)
    : QAccessibleObject(window)
    , m_host(host)
{
}

QQuickWidget *AccessibleScene::hostOf(const QWindow *window)
{
    if (!window)
        return nullptr;
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *view = qobject_cast<QQuickWidget *>(widget);
        if (view && view->quickWindow() == window)
            return view;
    }
    return nullptr;
}

QWindow *AccessibleScene::window() const
{
    return m_host ? m_host->window()->windowHandle() : nullptr;
}

QAccessibleInterface *AccessibleScene::parent() const
{
    return QAccessible::queryAccessibleInterface(m_host.data());
}

QAccessibleInterface *AccessibleScene::child(int index) const
{
    return items().value(index);
}

int AccessibleScene::childCount() const
{
    return items().size();
}

int AccessibleScene::indexOfChild(const QAccessibleInterface *child) const
{
    return items().indexOf(const_cast<QAccessibleInterface *>(child));
}

QAccessibleInterface *AccessibleScene::childAt(int x, int y) const
{
    // The topmost first: later items are drawn over earlier ones.
    const QList<QAccessibleInterface *> found = items();
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        if (!(*it)->state().invisible && (*it)->rect().contains(x, y))
            return *it;
    }
    return nullptr;
}

QString AccessibleScene::text(QAccessible::Text) const
{
    return QString();
}

QAccessible::Role AccessibleScene::role() const
{
    return QAccessible::Client;
}

QAccessible::State AccessibleScene::state() const
{
    QAccessible::State state;
    state.invisible = !m_host || !m_host->isVisible();
    return state;
}

QRect AccessibleScene::rect() const
{
    if (!m_host)
        return QRect();
    return QRect(m_host->mapToGlobal(QPoint(0, 0)), m_host->size());
}

QList<QAccessibleInterface *> AccessibleScene::items() const
{
    QList<QAccessibleInterface *> found;
    auto *scene = static_cast<QQuickWindow *>(object());
    if (scene && scene->contentItem())
        collectItems(scene->contentItem(), &found);
    return found;
}
