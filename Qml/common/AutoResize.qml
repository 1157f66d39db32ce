import QtQuick 2.12

// Scales every item below targetItem by horizontalRatio and verticalRatio, from the geometry the
// items had when begin() ran: position, size, font, the spacing of rows and columns, the corner
// radius of rectangles and the margins of anchored items. Items named "ingnoreAll" keep their
// geometry with everything below them; items named "ingnoreChildren" are scaled but their
// children are not.
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

    // A control (slider, switch, button, combo box) lays out its background, handle and
    // indicator from its own size by bindings; writing their geometry would cut those bindings
    // and freeze the handle or knob where it was. So a control is scaled as a whole and told the
    // ratio (its sizeRatio), by which it draws its insides.
    function isControl(item) {
        return item.background !== undefined && item.contentItem !== undefined;
    }

    // The margins of an anchored item that are not 0, by name.
    function marginsOf(item) {
        var names = ["leftMargin", "rightMargin", "topMargin", "bottomMargin",
                     "horizontalCenterOffset", "verticalCenterOffset"];
        var margins = {};
        for (var i = 0; i < names.length; ++i) {
            if (item.anchors[names[i]] !== 0)
                margins[names[i]] = item.anchors[names[i]];
        }
        return margins;
    }

    function geometryOf(item) {
        var control = isControl(item);
        return {
            "item": item,
            "name": item.objectName,
            "x": item.x,
            "y": item.y,
            "centerX": item.x + item.width / 2,
            "centerY": item.y + item.height / 2,
            "width": item.width,
            "height": item.height,
            "fontSize": item.font !== undefined ? item.font.pixelSize : 0,
            "control": control,
            // Rows, columns and grids take the size of what they hold, and a text that wraps
            // the height of its lines: their own sizes are not written.
            "positioner": !control && typeof item.spacing === "number",
            "wraps": typeof item.wrapMode === "number" && item.wrapMode !== Text.NoWrap,
            // A control spaces its insides itself.
            "spacing": !control && typeof item.spacing === "number" ? item.spacing : 0,
            "radius": !control && typeof item.radius === "number" ? item.radius : 0,
            "margins": marginsOf(item)
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
            if (child.objectName !== childrenName && !isControl(child))
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
            if (!r.positioner)
                it.width = r.width * (fixedAspectRatio ? m : horizontalRatio);
            if (!r.positioner && !r.wraps)
                it.height = r.height * (fixedAspectRatio ? m : verticalRatio);
            it.x = accordingToX ? r.x * horizontalRatio : r.centerX * horizontalRatio - it.width / 2;
            it.y = accordingToX ? r.y * verticalRatio : r.centerY * verticalRatio - it.height / 2;
            // Fonts given in points (pixelSize -1) are left as they are.
            if (r.fontSize > 0)
                it.font.pixelSize = r.fontSize * fontRatio * fontSizeScaleFactor;
            if (r.spacing !== 0)
                it.spacing = r.spacing * m;
            if (r.radius !== 0)
                it.radius = r.radius * m;
            // Last: an anchored edge takes its place again from the scaled margin.
            for (var name in r.margins) {
                var horizontal = name.indexOf("left") === 0 || name.indexOf("right") === 0
                        || name === "horizontalCenterOffset";
                it.anchors[name] = r.margins[name] * (horizontal ? horizontalRatio : verticalRatio);
            }
            if (r.control && it.sizeRatio !== undefined)
                it.sizeRatio = m;
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
