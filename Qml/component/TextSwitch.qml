import QtQuick 2.12
import OrbitQuick 1.0

// A labelled on/off switch. checkedState uses the device's values: 1 = on, 2 = off.
Item {
    id: root

    property string text
    property int checkedState: 2
    property alias labelColor: label.color

    signal switchChecked(bool isChecked)

    implicitHeight: label.height + toggle.height
    implicitWidth: 200

    BasicTextF2 {
        id: label

        font.pixelSize: 14
        text: root.text
        width: 200
    }
    CusSwitch {
        id: toggle

        objectName: "toggle"
        Accessible.name: root.text
        anchors.left: label.left
        anchors.leftMargin: -5
        anchors.top: label.bottom
        checked: root.checkedState === 1

        onToggled: {
            root.switchChecked(checked);
            root.checkedState = checked ? 1 : 2;
        }
    }
}
