import QtQuick 2.12
import OrbitQuick 1.0

CusButton {
    id: control

    implicitHeight: 30
    implicitWidth: 30
    radius: Math.min(width, height) / 2
    textFontSize: 10
    Accessible.name: text
}
