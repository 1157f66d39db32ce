import QtQuick 2.12
import OrbitQuick 1.0

// A navigation button of the left panel: icon and text on a bar that takes the accent colour
// while the button is pressed or checked, and a lighter grey under the mouse. The panel clips
// at its edges, so the focus ring is drawn inside the button.
CusButton_Image {
    id: cusButton

    property int textFontSize: 12
    property color backgroundColorNormal: CusConfig.subBackgroundColor
    property color backgroundColorHovered: CusConfig.navigationColor_hovered
    property color backgroundColorPressed: CusConfig.elementColor
    property color backgroundColorDisable: CusConfig.controlColor_disabled
    property string btnImg: !enabled ? btnImgNormal
                                     : pressed || checked || selected || hovered ? btnImgHovered
                                     : btnImgNormal
    property color borderColor: !enabled ? CusConfig.controlBorderColor_disabled
                                         : pressed || checked || selected ? CusConfig.controlBorderColor_pressed
                                         : hovered ? CusConfig.controlBorderColor_hovered
                                         : CusConfig.controlBorderColor
    property int borderWidth: 0
    property int radius: 2
    property color textColor: !enabled ? CusConfig.controlTextColor_disabled
                                       : pressed || checked || selected ? CusConfig.controlTextColor_pressed
                                       : hovered ? CusConfig.controlTextColor_hovered
                                       : CusConfig.controlTextColor
    property color backgroundColor: !enabled ? backgroundColorDisable
                                             : pressed || checked ? backgroundColorPressed
                                             : hovered ? backgroundColorHovered
                                             : backgroundColorNormal

    checkable: true
    focusInset: true
    height: 36
    width: parent ? parent.width : implicitWidth
    // The label's font: scaled with the scene like every control's.
    font.family: CusConfig.fontFamily
    font.pixelSize: 16
    Accessible.name: text
    accessibleRole: Accessible.PageTab

    background: Rectangle {
        border.color: cusButton.borderColor
        border.width: cusButton.borderWidth
        color: cusButton.backgroundColor
        height: 32 * cusButton.sizeRatio
        radius: cusButton.radius * cusButton.sizeRatio
        width: cusButton.width

        Row {
            anchors.centerIn: parent
            spacing: 5 * cusButton.sizeRatio

            CusImage {
                anchors.verticalCenter: parent.verticalCenter
                height: sourceSize.height / 2 * cusButton.sizeRatio
                source: cusButton.btnImg
                width: sourceSize.width / 2 * cusButton.sizeRatio
            }
            BasicText {
                anchors.verticalCenter: parent.verticalCenter
                color: cusButton.textColor
                font: cusButton.font
                horizontalAlignment: Text.AlignLeft
                text: cusButton.text
                width: 120 * cusButton.sizeRatio
            }
        }
    }
}
