import QtQuick 2.4
import OrbitQuick 1.0
import "../common"

// The content panel: the page of the connected model for the chosen index, the connection state
// with the serial number, and the toggle that folds the recording panel out.
Item {
    id: rightPart

    // Page index last asked for: 1 hardware, 2 volume, 3 sound effect.
    property int currentIndex: 1
    property string devType: "vx02"
    property bool devConnectState: false
    // False while the connected device does not answer.
    readonly property bool devResponding: SoundCard === null || SoundCard.responding
    property string snCode: ""
    // Pages are "qrc:/Qml/pageMain/" + prefix + devType + ".qml".
    readonly property var pagePrefixes: ["PageHardwareSet_", "PageVolumeSet_", "PageSoundChoice_"]
    // The page on screen, for whoever drives the scene from outside.
    readonly property alias page: loader.item

    function switchPageShow(index) {
        currentIndex = index
        // Loading the source that is already loaded keeps the page as it is.
        loader.source = Qt.resolvedUrl("../pageMain/" + pagePrefixes[index - 1] + devType + ".qml")
    }

    AutoResize {
        id: autoResizeDynamic

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
    }

    Rectangle {
        anchors.fill: parent
        color: CusConfig.mainBackgroundColor
    }

    Loader {
        id: loader

        objectName: "pageLoader"
        onLoaded: {
            // Every page is scaled from the geometry it was designed with.
            autoResizeDynamic.targetItem = item
            autoResizeDynamic.begin()
            autoResizeDynamic.resize()
        }
    }

    BasicText {
        id: snText

        objectName: "snText"
        width: 115
        height: 10
        anchors.right: parent.right
        anchors.rightMargin: 40
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        font.pixelSize: 10
        horizontalAlignment: Text.AlignLeft
        color: rightPart.devConnectState ? CusConfig.statusGoodColor : CusConfig.statusBadColor
        text: " | SN: " + rightPart.snCode
    }

    BasicText {
        id: devStateNoConnect

        objectName: "devStateNoConnect"
        width: 120
        height: 10
        anchors.right: snText.left
        anchors.rightMargin: 6
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        font.pixelSize: 10
        horizontalAlignment: Text.AlignRight
        color: CusConfig.statusBadColor
        text: qsTr("设备未连接")
        visible: !rightPart.devConnectState
    }

    // Without a device the pages are disabled: this says what to do about it.
    BasicText {
        id: connectHint

        objectName: "connectHint"
        width: 340
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.bottom: snText.top
        anchors.bottomMargin: 4
        font.pixelSize: 12
        horizontalAlignment: Text.AlignRight
        wrapMode: Text.WordWrap
        text: qsTr("请用 USB 线把调音台连接到电脑")
        visible: !rightPart.devConnectState
    }

    BasicText {
        id: devStateConnect

        objectName: "devStateConnect"
        width: 120
        height: 10
        anchors.right: snText.left
        anchors.rightMargin: 6
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        font.pixelSize: 10
        horizontalAlignment: Text.AlignRight
        color: rightPart.devResponding ? CusConfig.statusGoodColor : CusConfig.statusBadColor
        text: rightPart.devResponding ? qsTr("设备已连接") : qsTr("设备无响应")
        visible: rightPart.devConnectState
    }

    // The connection state as a screen reader has it: its name changes, and is announced, when
    // the device comes, goes or stops answering.
    Item {
        objectName: "statusLine"
        anchors.left: devStateConnect.left
        anchors.right: snText.right
        anchors.top: snText.top
        anchors.bottom: snText.bottom
        Accessible.role: Accessible.StatusBar
        Accessible.name: (rightPart.devConnectState ? devStateConnect.text : devStateNoConnect.text) + snText.text
    }

    CusButton_Image {
        id: button

        objectName: "recordToggle"
        // As large as its picture (dot and chevron), so that all of it takes the click.
        width: 21
        height: 12
        anchors.right: parent.right
        anchors.rightMargin: 11
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        checkable: true
        btnImgNormal: imgPath + "blackSkin/Recording_expand.png"
        btnImgHovered: imgPath + "blackSkin/Recording_expand.png"
        btnImgPressed: imgPath + "blackSkin/Recording_collapse.png"
        activeFocusOnTab: true
        Accessible.name: qsTr("录音")
        onClicked: MainLogic.openRecordWidget(checked)
    }

    Connections {
        target: MainLogic

        function onScreenChanged() {
            autoResizeDynamic.resize()
        }

        function onIsConnect(isConnect, devType) {
            rightPart.devConnectState = isConnect
            if (isConnect) {
                rightPart.devType = devType
                rightPart.switchPageShow(rightPart.currentIndex)
                // The last number known; the device's answer follows with snNumChanged.
                if (SoundCard !== null)
                    rightPart.snCode = SoundCard.getSNCode()
            } else {
                // The page stays on screen; its controls send nothing without a sound card.
                rightPart.snCode = ""
            }
        }
    }

    Connections {
        target: SoundCard

        function onSnNumChanged(snNum) {
            rightPart.snCode = snNum
        }
    }
}
