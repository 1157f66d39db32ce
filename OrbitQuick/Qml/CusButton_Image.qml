import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A button drawn by one of four pictures. The pictures are made at twice the size they are
// shown at in the 96-DPI design, so they stay sharp up to a scale of 2.
Button {
    id: control

    // The scale of the scene around it: the picture and the focus frame grow with it.
    property real sizeRatio: 1
    property bool selected: false
    // The focus ring inside the button's edge, for a button that fills a clipped strip.
    property bool focusInset: false
    property string btnImgNormal
    property string btnImgHovered
    property string btnImgPressed
    property string btnImgDisbaled
    property string btnImgUrl: !enabled ? btnImgNormal
                                        : pressed || selected || checked ? btnImgPressed
                                        : hovered ? btnImgHovered
                                        : btnImgNormal
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
    hoverEnabled: true
    implicitHeight: 24
    implicitWidth: 24
    padding: 0

    background: Item {
        CusImage {
            height: sourceSize.height / 2 * control.sizeRatio
            source: control.btnImgUrl
            width: sourceSize.width / 2 * control.sizeRatio
        }
    }
    contentItem: Item {
    }

    BasicTooltip {
        id: tip

        text: control.tipText
        visible: control.hovered && control.tipText !== ""
    }
    // Shown only when the keyboard moved the focus here.
    FocusFrame {
        anchors.fill: parent
        inset: control.focusInset
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
