#pragma once

class QQuickWidget;

// Joins the QML scenes of the program's QQuickWidgets to the widget tree on the accessibility bus
// (AccessibleApplication, AccessibleSceneHost, AccessibleScene, AccessibleSceneItem).
class SceneAccessibility
{
public:
    // Right after the application object is made: Qt keeps the first interface it made for an
    // object.
    static void install();
    // Once `view` is made and before its window is shown: the top-level window around it is a
    // window to a screen reader (Qt would call a plain QWidget a filler).
    static void adopt(QQuickWidget *view);
};
