#include "app/AccessibleApplication.h"

#include "app/AccessibleScene.h"

#include <QGuiApplication>
#include <QWindow>

QAccessibleInterface *AccessibleApplication::child(int index) const
{
    const QObjectList windows = topLevels();
    return index >= 0 && index < windows.size() ? QAccessible::queryAccessibleInterface(windows.at(index)) : nullptr;
}

int AccessibleApplication::childCount() const
{
    return topLevels().size();
}

int AccessibleApplication::indexOfChild(const QAccessibleInterface *child) const
{
    return child ? topLevels().indexOf(child->object()) : -1;
}

QObjectList AccessibleApplication::topLevels()
{
    QObjectList found;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        // Popups and the desktop are not windows of their own to a screen reader.
        if (window->type() == Qt::Popup || window->type() == Qt::Desktop || AccessibleScene::hostOf(window))
            continue;
        QAccessibleInterface *root = window->accessibleRoot();
        if (root && root->object())
            found.append(root->object());
    }
    return found;
}
