import QtQuick 2.12
import OrbitQuick 1.0

// The presets control of the title bar: its icon and the name of the preset in effect ("Presets"
// while none is); a click opens the presets popup. Usable while a device is connected.
CusButton {
    id: button

    // The preset in effect, empty while none is.
    property string current

    text: current !== "" ? current : qsTr("预设")
    textFontSize: 12
    borderWidth: 0
    backgroundColorNormal: CusConfig.mainBackgroundColor
    backgroundColorHovered: CusConfig.mainBackgroundColor
    backgroundColorPressed: CusConfig.mainBackgroundColor
    backgroundColorDisable: CusConfig.mainBackgroundColor
    Accessible.name: current !== "" ? qsTr("预设：%1").arg(current) : qsTr("预设")
    accessibleRole: Accessible.ButtonMenu

    contentItem: Item {
        Row {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4 * button.sizeRatio

            CusImage {
                objectName: "presetIcon"
                anchors.verticalCenter: parent.verticalCenter
                width: 16 * button.sizeRatio
                height: 16 * button.sizeRatio
                source: imgPath + (button.hovered || button.pressed ? "blackSkin/icon_preset_click.png"
                                                                    : "blackSkin/icon_preset_default.png")
            }

            BasicText {
                objectName: "presetCurrent"
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, button.availableWidth - 20 * button.sizeRatio)
                font: button.font
                color: button.textColor
                horizontalAlignment: Text.AlignLeft
                text: button.text
            }
        }
    }
}
