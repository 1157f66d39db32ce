#pragma once

#include <QAccessibleWidget>

class QQuickWidget;

// A QQuickWidget on the accessibility bus: its one child is its scene (AccessibleScene), which Qt
// 5 would otherwise show as a separate top-level window that is never on screen.
class AccessibleSceneHost : public QAccessibleWidget
{
public:
    explicit AccessibleSceneHost(QQuickWidget *view);

    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    QAccessibleInterface *scene() const;
};
