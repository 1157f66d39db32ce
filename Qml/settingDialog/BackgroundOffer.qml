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
        open()
        // The scale may have changed since the page was made (another screen).
        autoResize.resize()
    }

    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? (parent.height - height) / 2 : 0
    width: 300 * MainLogic.scalingRate
    height: 124 * MainLogic.scalingRate
    padding: 12 * autoResize.horizontalRatio
    modal: true
    focus: true

    background: Rectangle {
        color: CusConfig.mainBackgroundColor
        border.color: "gray"
    }

    AutoResize {
        id: autoResize

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
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
            // Two sentences on two lines: a line of its own keeps 后台 whole.
            text: qsTr("程序运行时才能恢复设置。\n是否同时开启后台运行？")
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
