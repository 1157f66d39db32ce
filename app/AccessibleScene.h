#pragma once

#include <QAccessibleObject>
#include <QList>
#include <QPointer>

class QQuickWidget;
class QQuickWindow;
class QWindow;

// The QML scene of a QQuickWidget as one node of the widget tree on the accessibility bus. Qt 5
// renders such a scene in a window of its own that no widget leads to: this node stands for that
// window under the widget that shows it, so a screen reader that follows the main window reaches
// every control, and the controls' way up leads back through the widget to the main window.
// Its children are the scene's accessible items in the order of the keyboard walk.
class AccessibleScene : public QAccessibleObject
{
public:
    AccessibleScene(QQuickWindow *window, QQuickWidget *host);

    // The widget that shows `window`, or null when the window is a window of its own.
    static QQuickWidget *hostOf(const QWindow *window);

    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text type) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QRect rect() const override;

private:
    QList<QAccessibleInterface *> items() const;

    QPointer<QQuickWidget> m_host;
};
