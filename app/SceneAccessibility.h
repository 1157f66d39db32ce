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
    // Once `view` is made and before its scene is loaded: the top-level window around it is a
    // window to a screen reader, and Qt's own interface for the scene's window, which the view
    // may have asked for already, is dropped.
    static void adopt(QQuickWidget *view);
};
