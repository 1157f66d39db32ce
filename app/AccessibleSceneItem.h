#pragma once

#include <QAccessibleInterface>

// An item of a QQuickWidget's scene on the accessibility bus as Qt describes it, with two
// corrections. Qt 5 answers every control with the role of its C++ class (a checkable Button is a
// check box, whatever the QML says), so that page tabs and radio buttons built on buttons would
// never be seen as such: the role is the one its Accessible.role says. And Qt takes the scene's
// window, which is never shown, for the screen: the item is showing while it is visible in a
// widget that is. A page tab is selected while it is checked.
class AccessibleSceneItem : public QAccessibleInterface
{
public:
    // Takes `inner` (Qt's interface for the same item) over.
    explicit AccessibleSceneItem(QAccessibleInterface *inner);
    ~AccessibleSceneItem() override;

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QVector<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override;
    QAccessibleInterface *focusChild() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

private:
    QAccessibleInterface *m_inner;
};
