import QtQuick 2.12

// Scales every item below targetItem by horizontalRatio and verticalRatio, from the geometry the
// items had when begin() ran. Items named "ingnoreAll" keep their geometry with everything below
// them; items named "ingnoreChildren" are scaled but their children are not.
Item {
    id: globalResize

    property var targetItem: parent
    property bool fixedAspectRatio: false
    property bool accordingToX: true
    property bool fontAccordingToMax: false
    property bool ifAutoResize: true
    property string ingnoreAll: "ingnoreAll"
    property string ingnoreChildren: "ingnoreChildren"
    property real horizontalRatio: 1
    property real verticalRatio: 1
    property real fontRatio: 1
    property var childrenItemGeometry
    property real fontSizeScaleFactor: 1
    property bool isBegin: false

    signal resized()

    function geometryOf(item) {
        return {
            "item": item,
            "name": item.objectName,
            "x": item.x,
            "y": item.y,
            "centerX": item.x + item.width / 2,
            "centerY": item.y + item.height / 2,
            "width": item.width,
            "height": item.height,
            "fontSize": item.font !== undefined ? item.font.pixelSize : 0
        };
    }

    // Below the first level the names are the fixed ones: a user's own names only mark the
    // direct children of the target.
    function collect(item, list, allName, childrenName) {
        for (var i = 0; i < item.children.length; ++i) {
            var child = item.children[i];
            if (child.objectName === allName)
                continue;
            list.push(geometryOf(child));
            if (child.objectName !== childrenName)
                collect(child, list, "ingnoreAll", "ingnoreChildren");
        }
    }

    function begin() {
        var list = [];
        if (targetItem)
            collect(targetItem, list, ingnoreAll, ingnoreChildren);
        childrenItemGeometry = list;
        isBegin = true;
    }

    function resize() {
        if (!isBegin || !ifAutoResize)
            return;
        fontRatio = fontAccordingToMax ? Math.max(horizontalRatio, verticalRatio)
                                       : Math.min(horizontalRatio, verticalRatio);
        var m = Math.min(horizontalRatio, verticalRatio);
        for (var i = 0; i < childrenItemGeometry.length; ++i) {
            var r = childrenItemGeometry[i];
            var it = r.item;
            it.width = r.width * (fixedAspectRatio ? m : horizontalRatio);
            it.height = r.height * (fixedAspectRatio ? m : verticalRatio);
            it.x = accordingToX ? r.x * horizontalRatio : r.centerX * horizontalRatio - it.width / 2;
            it.y = accordingToX ? r.y * verticalRatio : r.centerY * verticalRatio - it.height / 2;
            // Fonts given in points (pixelSize -1) are left as they are.
            if (r.fontSize > 0)
                it.font.pixelSize = r.fontSize * fontRatio * fontSizeScaleFactor;
        }
        resized();
    }

    Component.onCompleted: begin()

    // Follows the target's size once the geometry is recorded.
    Loader {
        active: globalResize.isBegin
        sourceComponent: Connections {
            function onWidthChanged() {
                globalResize.resize();
            }
            function onHeightChanged() {
                globalResize.resize();
            }

            target: globalResize.targetItem
        }
    }
}
