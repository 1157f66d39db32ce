#pragma once

#include <QAccessibleInterface>

// An item of a QQuickWidget's scene on the accessibility bus as Qt describes it, with two
// corrections. Qt 5 answers every control with the role of its C++ class (a checkable Button is a
// check box, whatever the QML says), so that page tabs and radio buttons built on buttons would
// never be seen as such: the role is the one its Accessible.role says. And Qt takes the scene's
// window, which is never shown, for the screen: the item is showing while it is visible in a
// widget that is. A page tab is selected while it is checked. A disabled control takes no value
// and no action from the bus, as it takes no click.
class AccessibleSceneItem : public QAccessibleInterface,
                            public QAccessibleValueInterface,
                            public QAccessibleActionInterface
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

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QAccessibleValueInterface *innerValue() const;
    QAccessibleActionInterface *innerAction() const;

    QAccessibleInterface *m_inner;
};
