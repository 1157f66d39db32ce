import QtQuick 2.12
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../common"

// Offered when "Restore last settings" is switched on while the program does not run in the
// background: only a program that runs can restore. Modal, centred on its parent, sized by the
// scene's scale.
Popup {
    id: offer

    signal accepted()

    function show() {
        // The scale may have changed since the page was made (another screen).
        autoResize.horizontalRatio = MainLogic.getScalingRate()
        autoResize.verticalRatio = MainLogic.getScalingRate()
        width = 300 * MainLogic.getScalingRate()
        height = 124 * MainLogic.getScalingRate()
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
        open()
        autoResize.resize()
    }

    width: 300
    height: 124
    padding: 12 * autoResize.horizontalRatio
    modal: true
    focus: true

    background: Rectangle {
        color: CusConfig.mainBackgroundColor
        border.color: "gray"
    }

    AutoResize {
        id: autoResize

        horizontalRatio: MainLogic.getScalingRate()
        verticalRatio: MainLogic.getScalingRate()
    }

    // The question takes two lines in Chinese and three in English; the buttons follow it.
    Column {
        spacing: 12

        BasicTextF2 {
            objectName: "offerText"
            width: 276
            font.pixelSize: 14
            wrapMode: Text.WordWrap
            color: CusConfig.controlTextColor
            text: qsTr("程序运行时才能恢复设置。是否同时开启后台运行？")
        }

        Row {
            x: 64
            spacing: 12

            CusButton {
                objectName: "offerAccept"
                width: 100
                height: 24
                textFontSize: 14
                text: qsTr("开启")
                Accessible.name: text
                onClicked: {
                    offer.accepted()
                    offer.close()
                }
            }

            CusButton {
                objectName: "offerDecline"
                width: 100
                height: 24
                textFontSize: 14
                text: qsTr("暂不")
                Accessible.name: text
                onClicked: offer.close()
            }
        }
    }
}
