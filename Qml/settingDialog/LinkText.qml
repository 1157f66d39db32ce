import QtQuick 2.9
import OrbitQuick 1.0

// A line of the about page that opens its address in the system's browser, by mouse or by
// Enter or Space; the pointing hand shows while the mouse is over it.
BasicTextF2 {
    id: root

    property string url: ""

    color: CusConfig.controlTextColor
    activeFocusOnTab: true
    Accessible.name: text.trim() === "" ? url : text
    Accessible.role: Accessible.Link
    Keys.onReturnPressed: Qt.openUrlExternally(url)
    Keys.onEnterPressed: Qt.openUrlExternally(url)
    Keys.onSpacePressed: Qt.openUrlExternally(url)

    // The page's scaling leaves it alone: it grows with the text's font.
    FocusFrame {
        objectName: "ingnoreAll"
        anchors.fill: parent
        sizeRatio: root.font.pixelSize / 14
        visible: root.activeFocus
    }

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: containsMouse ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: Qt.openUrlExternally(root.url)
    }
}
