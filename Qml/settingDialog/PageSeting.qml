import QtQuick 2.9
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../common"

// The settings popup: three tabs on the left choose the general, about or help page on the
// right. Modal; closes by a click outside or Escape.
Popup {
    id: dialog

    // The page on screen, for whoever drives the scene from outside.
    readonly property alias page: loader.item

    // Opens the popup, sized by the scene's scale and centred on the main view.
    function show() {
        open()
        autoResize.resize()
    }

    function showPage(name) {
        // "qrc:/Qml/settingDialog/" + name + ".qml"
        loader.source = Qt.resolvedUrl(name + ".qml")
    }

    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? (parent.height - height) / 2 : 0
    width: 430 * MainLogic.scalingRate
    height: 288 * MainLogic.scalingRate
    // The style's padding, scaled with the rest.
    padding: 12 * autoResize.horizontalRatio
    modal: true
    // Takes the keyboard while open: Tab walks the tabs and the page, Escape closes.
    focus: true
    clip: true

    background: Rectangle {
        color: CusConfig.mainBackgroundColor
        border.color: "gray"
    }

    AutoResize {
        id: autoResize

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
    }

    AutoResize {
        id: autoResizePage

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
    }

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        y: -5
        width: 150
        horizontalAlignment: Text.AlignHCenter
        font.family: CusConfig.fontFamily
        font.pixelSize: 14
        font.bold: true
        color: CusConfig.controlTextColor
        text: qsTr("设置")
    }

    ButtonGroup {
        id: tabGroup

        exclusive: true
    }

    Column {
        x: 1
        y: 46
        width: 100
        height: 242
        spacing: 21
        Accessible.role: Accessible.PageTabList

        SettingTab {
            id: generalTab

            objectName: "generalTab"
            text: qsTr("通用设置")
            checked: true
            ButtonGroup.group: tabGroup
            onClicked: dialog.showPage("generalPage")
        }

        SettingTab {
            objectName: "aboutTab"
            text: qsTr("关于我们")
            ButtonGroup.group: tabGroup
            onClicked: dialog.showPage("aboutPage")
        }

        SettingTab {
            objectName: "helpTab"
            text: qsTr("帮助中心")
            ButtonGroup.group: tabGroup
            onClicked: dialog.showPage("helpPage")
        }
    }

    Rectangle {
        x: 80
        y: 40
        width: 1
        height: 224
        color: "#707070"
    }

    Loader {
        id: loader

        objectName: "settingLoader"
        x: 80
        width: 320
        height: 288
        onLoaded: {
            autoResizePage.targetItem = item
            autoResizePage.begin()
            autoResizePage.resize()
        }
    }

    Connections {
        target: MainLogic

        // The ratios follow by their bindings; the items take them over here.
        function onScreenChanged() {
            autoResize.resize()
            autoResizePage.resize()
        }

        // A device that connects brings the general page with its model to the front.
        function onIsConnect(isConnect, devType) {
            if (!isConnect)
                return
            dialog.showPage("generalPage")
            generalTab.checked = true
        }
    }
}
