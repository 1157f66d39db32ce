import QtQuick 2.12
import OrbitQuick 1.0

// The heading of a section of a page: a short bar in the accent colour before a bold title.
Item {
    id: root

    property string text

    implicitHeight: 16
    implicitWidth: 400

    Rectangle {
        color: CusConfig.elementColor
        height: 16
        width: 4
    }
    BasicTextF2 {
        font.bold: true
        font.pixelSize: 14
        text: root.text
        width: 400
        x: 8
        y: -1
    }
}
