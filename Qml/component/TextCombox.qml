import QtQuick 2.12
import OrbitQuick 1.0

// A labelled drop-down list; currentValue carries the 0-based index of the picked entry.
Item {
    id: root

    property string text
    property int index: 0
    property var comboxModel: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]

    signal currentValue(int value)

    implicitHeight: label.height + 8 + combo.height
    implicitWidth: 200

    BasicTextF2 {
        id: label

        font.pixelSize: 14
        text: root.text
        width: 200
    }
    CusComboBox {
        id: combo

        objectName: "combo"
        Accessible.name: root.text
        anchors.left: label.left
        anchors.top: label.bottom
        anchors.topMargin: 8
        currentIndex: root.index
        height: 16
        model: root.comboxModel
        width: 56

        onActivated: function (index) {
            root.index = index;
            root.currentValue(index);
        }
    }
}
