import QtQuick 2.12
import OrbitQuick 1.0

// A setting of the general page: its name above an on/off switch. The switch shows `checked`;
// the user's toggle is handed on with toggled(), and the setting it changes decides what the
// switch shows from then on.
Item {
    id: root

    property alias text: label.text
    property bool checked: false

    signal toggled(bool on)

    width: 150
    height: label.height + toggle.height

    BasicTextF2 {
        id: label

        width: root.width
        font.pixelSize: 14
        color: CusConfig.controlTextColor
    }

    CusSwitch {
        id: toggle

        objectName: "toggle"
        anchors.left: label.left
        anchors.leftMargin: -5
        anchors.top: label.bottom
        checked: root.checked
        Accessible.name: root.text
        onToggled: root.toggled(checked)
    }
}
