import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A text button. Every colour follows the first matching state: disabled, pressed (or checked;
// for text and border also selected), hovered, normal.
Button {
    id: control

    // The scale of the scene around it: corners, border and focus frame grow with it.
    property real sizeRatio: 1
    property bool selected: false
    property int textFontSize: 12
    property color backgroundColorNormal: CusConfig.controlColor
    property color backgroundColorHovered: CusConfig.controlColor_hovered
    property color backgroundColorPressed: CusConfig.controlColor_pressed
    property color backgroundColorDisable: CusConfig.controlColor_disabled
    property color borderColor: !enabled ? CusConfig.controlBorderColor_disabled
                                         : pressed || checked || selected ? CusConfig.controlBorderColor_pressed
                                         : hovered ? CusConfig.controlBorderColor_hovered
                                         : CusConfig.controlBorderColor
    // In high contrast a chosen button keeps its edge.
    property int borderWidth: (pressed || checked || selected) && !CusConfig.highContrast ? 0 : 1
    property real radius: CusConfig.controlBorderRadius * sizeRatio
    property color textColor: !enabled ? CusConfig.controlTextColor_disabled
                                       : pressed || checked || selected ? CusConfig.controlTextColor_pressed
                                       : hovered ? CusConfig.controlTextColor_hovered
                                       : CusConfig.controlTextColor
    property color backgroundColor: !enabled ? backgroundColorDisable
                                             : pressed || checked ? backgroundColorPressed
                                             : hovered ? backgroundColorHovered
                                             : backgroundColorNormal
    property string tipText: ""
    // What the control is to a screen reader. Qt Quick Controls write a role of their own over
    // Accessible.role when accessibility comes on and when a control is completed: it is put back.
    property int accessibleRole: checkable ? Accessible.CheckBox : Accessible.Button
    property alias tipItem: tip
    property alias tipVisible: tip.visible
    property alias tipDelay: tip.delay
    property alias tipTimeout: tip.timeout

    // Pressed or toggled through the accessibility bus the button does what a click does: Qt would
    // only report the click, or only turn the state over. A chosen radio button or page tab stays
    // chosen.
    function accessibleClick() {
        if (checkable && !(checked && (accessibleRole === Accessible.RadioButton || accessibleRole === Accessible.PageTab))) {
            toggle();
            toggled();
        }
        clicked();
    }

    Accessible.name: text
    Accessible.role: accessibleRole
    Accessible.onRoleChanged: Accessible.role = accessibleRole
    Accessible.onPressAction: accessibleClick()
    Accessible.onToggleAction: accessibleClick()
    activeFocusOnTab: true
    font.family: CusConfig.fontFamily
    font.pixelSize: textFontSize
    hoverEnabled: true
    implicitHeight: 23
    implicitWidth: 68
    padding: 0
    horizontalPadding: 2 * sizeRatio

    background: Rectangle {
        border.color: control.borderColor
        border.width: Math.round(control.borderWidth * control.sizeRatio)
        color: control.backgroundColor
        radius: control.radius
    }
    contentItem: BasicText {
        color: control.textColor
        font: control.font
        text: control.text
    }

    BasicTooltip {
        id: tip

        text: control.tipText
        visible: control.hovered && control.tipText !== ""
    }
    // Shown only when the keyboard moved the focus here. Drawn at the scene's scale around the
    // button as it shows, also when the button is drawn enlarged (a chosen dot): a ring scaled
    // with it would blur and cover what lies beside it.
    FocusFrame {
        anchors.centerIn: parent
        height: control.height * control.scale + 4 * ringWidth
        radius: control.radius > 0 ? control.radius * control.scale + 2 * ringWidth : 0
        scale: 1 / control.scale
        width: control.width * control.scale + 4 * ringWidth
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
