import QtQuick 2.9
import QtQuick.Window 2.2
import OrbitQuick 1.0
import "panels"
import "pageMain"
import "common"
import "presets"
import "./settingDialog"

// The whole scene: title bar, navigation with the device picture, the page of the connected
// model, the settings and presets popups, drawn at 800 × 480 and scaled by the screen's DPI.
Item {
    id: mainView

    width: 800
    height: 480
    visible: true

    Component.onCompleted: Tran.reTrans(Tran.getLanguage())

    AutoResize {
        id: autoResize

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
    }

    // The look the user chose on the general page, for every control of the library.
    Binding {
        target: CusConfig
        property: "highContrast"
        value: MainLogic.appearance.highContrast
    }

    PanelesTitle {
        id: title

        objectName: "title"
        x: 0
        y: 0
        width: parent.width
        height: 24
        onSettingClicked: dialogSeting.show()
        onPresetsClicked: presetsPopup.show()
    }

    PanelsLeft {
        id: leftPanels

        objectName: "leftPanels"
        y: 24
        width: 240
        height: parent.height
        onBtnclicked: function (btnIndex) { rightPane.switchPageShow(btnIndex); }
    }

    PanelesRight {
        id: rightPane

        objectName: "rightPane"
        width: parent.width - leftPanels.width
        height: parent.height - title.height
        anchors.top: title.bottom
        anchors.left: leftPanels.right
        anchors.right: parent.right
        anchors.bottom: parent.bottom
    }

    PageSeting {
        id: dialogSeting

        objectName: "dialogSeting"
    }

    PresetsPopup {
        id: presetsPopup

        objectName: "presetsPopup"
    }

    Connections {
        target: MainLogic

        // The ratios follow by their bindings; the items take them over here.
        function onScreenChanged() {
            autoResize.resize()
        }
    }
}
