import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// An on/off switch: a thin track with a knob half again as high, filled in the "on" colour up to
// the knob's right edge.
Switch {
    id: control

    // The scale of the scene around it: track, knob and focus frame grow with it.
    property real sizeRatio: 1
    property color backgroundColor_on: CusConfig.switchTrackColor_on
    property color indicatorColor_on: "#E5E5E5"
    property color backgroundColor_on_disable: Qt.darker(backgroundColor_on, 1.2)
    property color indicatorColor_on_disable: "#b6bdc5"
    property color backgroundColor_off: CusConfig.switchTrackColor_off
    property color indicatorColor_off: "#E5E5E5"
    property color backgroundColor_off_disable: "#919191"
    property color indicatorColor_off_disable: "#b6bdc5"
    // What the control is to a screen reader. Qt Quick Controls write a role of their own over
    // Accessible.role when accessibility comes on and when a control is completed: it is put back.
    property int accessibleRole: Accessible.CheckBox

    function accessibleClick() {
        toggle();
        toggled();
        clicked();
    }

    Accessible.name: text
    Accessible.role: accessibleRole
    Accessible.onRoleChanged: Accessible.role = accessibleRole
    // Pressed or toggled through the accessibility bus the switch turns over as under a click; Qt
    // would only report the click, or turn it over unseen by the page.
    Accessible.onPressAction: accessibleClick()
    Accessible.onToggleAction: accessibleClick()
    activeFocusOnTab: true
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel3
    hoverEnabled: true
    padding: 0
    spacing: 0

    contentItem: BasicText {
        color: CusConfig.textColor
        font: control.font
        horizontalAlignment: Text.AlignLeft
        leftPadding: control.indicator.width + control.spacing
        text: control.text
    }
    indicator: Item {
        implicitHeight: track.height * 1.5
        implicitWidth: 24 * control.sizeRatio
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2

        Rectangle {
            id: track

            anchors.verticalCenter: parent.verticalCenter
            color: control.enabled ? control.backgroundColor_off : control.backgroundColor_off_disable
            height: 8 * control.sizeRatio
            radius: height / 2
            width: parent.width
        }
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            color: control.enabled ? control.backgroundColor_on : control.backgroundColor_on_disable
            height: track.height
            radius: height / 2
            visible: control.checked
            width: knob.x + knob.width
        }
        Rectangle {
            id: knob

            color: control.checked ? (control.enabled ? control.indicatorColor_on : control.indicatorColor_on_disable)
                                   : (control.enabled ? control.indicatorColor_off : control.indicatorColor_off_disable)
            height: parent.height
            radius: height / 2
            width: height
            x: control.checked ? parent.width - width : 0
        }
    }

    // Shown only when the keyboard moved the focus here.
    FocusFrame {
        anchors.fill: control.indicator
        radius: height / 2
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
