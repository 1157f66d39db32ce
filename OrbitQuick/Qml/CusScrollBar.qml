import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

ScrollBar {
    id: control

    // The scale of the scene around it.
    property real sizeRatio: 1
    Accessible.name: "scroll bar"
    Accessible.role: Accessible.ScrollBar
    hoverEnabled: true
    minimumSize: size > 0 && height > 0 ? Math.min(1, CusConfig.scrollBarMinLen * sizeRatio / height) : 0
    padding: 0

    background: Rectangle {
        color: control.hovered ? CusConfig.scrollBarBackgroundColor_hovered : CusConfig.scrollBarBackgroundColor
        implicitWidth: CusConfig.scrollBarSize_Smaller * control.sizeRatio
        radius: CusConfig.scrollBarRadius * control.sizeRatio
    }
    contentItem: Rectangle {
        color: control.pressed ? CusConfig.controlBorderColor_pressed
                               : control.hovered ? CusConfig.controlBorderColor_hovered
                               : CusConfig.controlBorderColor
        implicitWidth: CusConfig.scrollBarSize_Smaller * control.sizeRatio
        radius: CusConfig.scrollBarRadius * control.sizeRatio
    }
}
