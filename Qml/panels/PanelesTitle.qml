import QtQuick 2.0
import OrbitQuick 1.0

// The title bar: logo, program version (then the product name once a device connects), the
// presets control and the settings, minimise and close buttons.
Item {
    id: root

    // Empty until a device connects; the last product name stays after the device is removed.
    property string productName: ""
    readonly property var productNames: ({
        "vx01": "Vorlet Cantor 10 MK2 Control ",
        "vx02": "Vorlet Stage 20 MK2 Control "
    })

    signal settingClicked()
    signal presetsClicked()

    Rectangle {
        anchors.fill: parent
        color: CusConfig.mainBackgroundColor
    }

    Rectangle {
        y: parent.height - 1
        width: parent.width
        height: 1
        color: CusConfig.splitLineColor
    }

    CusImage {
        id: logo

        x: 8
        y: 4
        width: sourceSize.width / 2
        height: sourceSize.height / 2
        source: imgPath + "blackSkin/logo.png"
    }

    BasicTextF3 {
        id: titleText

        objectName: "titleText"
        x: 31
        y: 5
        // Room for the product name up to the presets control: the scaling keeps the width it
        // finds at start, when only the version shows.
        width: 560
        color: CusConfig.textColor
        text: root.productName === ""
              ? MainLogic.getSoftVersion() + "                                                             "
              : root.productName + MainLogic.getSoftVersion()
    }

    // Right-aligned on the gear, whatever the preset's name.
    PresetButton {
        objectName: "presetButton"
        x: 606
        y: 4
        width: 124
        height: 16
        enabled: SoundCard !== null
        current: MainLogic.presets.current
        onClicked: root.presetsClicked()
    }

    Row {
        x: 736
        y: 4
        spacing: 4

        CusButton_Image {
            objectName: "settingButton"
            width: 16
            height: 16
            btnImgNormal: imgPath + "blackSkin/icon_setting_default.png"
            btnImgHovered: imgPath + "blackSkin/icon_setting_click.png"
            // Held down, the icon stays (in its hovered look).
            btnImgPressed: btnImgHovered
            activeFocusOnTab: true
            Accessible.name: qsTr("设置")
            onClicked: root.settingClicked()
        }

        CusButton_Image {
            objectName: "minimizeButton"
            width: 16
            height: 16
            btnImgNormal: imgPath + "blackSkin/icon_minimize_default.png"
            btnImgHovered: imgPath + "blackSkin/icon_minimize_click.png"
            btnImgPressed: btnImgHovered
            activeFocusOnTab: true
            Accessible.name: qsTr("最小化")
            onClicked: MainLogic.showMinimized()
        }

        CusButton_Image {
            objectName: "closeButton"
            width: 16
            height: 16
            btnImgNormal: imgPath + "blackSkin/icon_close_default.png"
            btnImgHovered: imgPath + "blackSkin/icon_close_click.png"
            btnImgPressed: btnImgHovered
            activeFocusOnTab: true
            Accessible.name: qsTr("关闭")
            onClicked: MainLogic.close()
        }
    }

    Connections {
        target: MainLogic

        function onIsConnect(isConnect, devType) {
            // Another type or a removal leaves the title as it is.
            if (isConnect && root.productNames[devType] !== undefined)
                root.productName = root.productNames[devType]
        }
    }
}
