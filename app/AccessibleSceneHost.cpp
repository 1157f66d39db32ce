#include "app/AccessibleSceneHost.h"

#include <QQuickWidget>

AccessibleSceneHost::AccessibleSceneHost(QQuickWidget *view)
    : QAccessibleWidget(view, QAccessible::Client)
{
}

QAccessibleInterface *AccessibleSceneHost::child(int index) const
{
    return index == 0 ? scene() : nullptr;
}

int AccessibleSceneHost::childCount() const
{
    return scene() ? 1 : 0;
}

int AccessibleSceneHost::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child == scene() ? 0 : -1;
}

QAccessibleInterface *AccessibleSceneHost::childAt(int x, int y) const
{
    QAccessibleInterface *content = scene();
    return content && content->rect().contains(x, y) ? content : nullptr;
}

QAccessibleInterface *AccessibleSceneHost::scene() const
{
    return QAccessible::queryAccessibleInterface(static_cast<QQuickWidget *>(widget())->quickWindow());
}
