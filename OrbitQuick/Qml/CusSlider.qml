import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A level slider from 0 to 16 in whole steps; the track is filled up to the handle.
Slider {
    id: control

    property bool showNumber: false
    // The range under the names the accessibility bus reads it by.
    readonly property real minimumValue: from
    readonly property real maximumValue: to
    // What the control is to a screen reader. Qt Quick Controls write a role of their own over
    // Accessible.role when accessibility comes on and when a control is completed: it is put back.
    property int accessibleRole: Accessible.Slider
    // The scale of the scene around it: track, handle and focus frame grow with it.
    property real sizeRatio: 1

    Accessible.name: "slider"
    Accessible.role: accessibleRole
    Accessible.onRoleChanged: Accessible.role = accessibleRole
    activeFocusOnTab: true
    from: 0
    hoverEnabled: true
    implicitHeight: CusConfig.fixedHeight
    implicitWidth: 192
    padding: 0
    snapMode: Slider.SnapAlways
    stepSize: 1
    to: 16

    background: Rectangle {
        color: CusConfig.trackColor
        height: 4 * control.sizeRatio
        radius: 2 * control.sizeRatio
        width: control.availableWidth
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2

        Rectangle {
            color: control.enabled ? CusConfig.elementColor : CusConfig.controlBorderColor_disabled
            height: parent.height
            radius: parent.radius
            width: control.handle.x + control.handle.width / 2 - parent.x
        }
    }
    handle: Rectangle {
        color: !control.enabled ? CusConfig.sliderColor_disabled
                               : control.pressed ? CusConfig.sliderColor_pressed
                               : control.hovered ? CusConfig.sliderColor_hovered
                               : CusConfig.sliderColor
        height: width
        radius: width / 2
        width: (control.showNumber ? 24 : 16) * control.sizeRatio
        x: control.leftPadding + control.visualPosition * (control.availableWidth - width)
        y: control.topPadding + (control.availableHeight - height) / 2

        BasicText {
            anchors.fill: parent
            color: CusConfig.mainBackgroundColor
            font.pixelSize: CusConfig.fontSizeLevel3 * control.sizeRatio
            text: Math.round(control.value)
            visible: control.showNumber
        }
    }

    // Shown only when the keyboard moved the focus here.
    FocusFrame {
        anchors.fill: control.handle
        radius: width / 2
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
