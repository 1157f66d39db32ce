#pragma once

#include <QAccessibleObject>
#include <QObjectList>

// The application on the accessibility bus: its top-level windows, without the windows that Qt 5
// makes for the scenes of QQuickWidgets (their content is reached through the widget that shows
// it, AccessibleScene).
class AccessibleApplication : public QAccessibleApplication
{
public:
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    static QObjectList topLevels();
};
