#include "app/SceneAccessibility.h"

#include "app/AccessibleApplication.h"
#include "app/AccessibleScene.h"
#include "app/AccessibleSceneHost.h"
#include "app/AccessibleSceneItem.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>

namespace {
// The window that shows a scene: a plain QWidget, which Qt would call a filler.
QPointer<QWidget> g_frame;

QAccessibleInterface *sceneInterface(const QString &className, QObject *object);

// Qt's own interface for an item, wrapped. Asked with this factory left out, Qt files its
// interface for the item; the wrapper, filed after it, is the one handed out.
QAccessibleInterface *itemInterface(QObject *item)
{
    QAccessible::removeFactory(&sceneInterface);
    QAccessibleInterface *inner = QAccessible::queryAccessibleInterface(item);
    QAccessible::installFactory(&sceneInterface);
    return inner ? new AccessibleSceneItem(inner) : nullptr;
}

// Qt asks with each class name of the object, the most derived first, and each factory, the one
// installed last first. Answering for the most derived name comes before Qt Quick's factory,
// which answers for "QQuickItem" and "QQuickWindow" themselves.
QAccessibleInterface *sceneInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (object == QCoreApplication::instance())
        return new AccessibleApplication;
    if (object == g_frame)
        return new QAccessibleWidget(g_frame, QAccessible::Window);
    if (auto *view = qobject_cast<QQuickWidget *>(object))
        return new AccessibleSceneHost(view);
    if (auto *window = qobject_cast<QQuickWindow *>(object)) {
        QQuickWidget *host = AccessibleScene::hostOf(window);
        return host ? new AccessibleScene(window, host) : nullptr;
    }
    if (qobject_cast<QQuickItem *>(object))
        return itemInterface(object);
    return nullptr;
}
} // namespace

void SceneAccessibility::install()
{
    QAccessible::removeFactory(&sceneInterface);
    QAccessible::installFactory(&sceneInterface);
}

void SceneAccessibility::adopt(QQuickWidget *view)
{
    install();
    g_frame = view->window();
}
