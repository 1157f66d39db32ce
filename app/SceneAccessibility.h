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
    // Once `view` is made and before its scene is loaded: the scene's window may already have
    // Qt's own interface, which is dropped.
    static void adopt(QQuickWidget *view);
};
