import QtQuick 2.9
import OrbitQuick 1.0

// About: program and firmware versions and how to reach the maker.
Item {
    id: root

    property string firmwareVer: ""
    // The system the program runs on, as its users call it.
    readonly property string platformName: ({ "linux": "Linux", "windows": "Windows", "osx": "macOS" })[Qt.platform.os]
                                           || Qt.platform.os

    // Shows the last version known; the device's answer follows with firmwareVerChanged.
    function readFirmware() {
        firmwareVer = SoundCard === null ? "" : SoundCard.getFirmwareVer()
    }

    Component.onCompleted: {
        console.log("-----------------222")
        readFirmware()
    }

    MakerSite {
        id: site
    }

    Column {
        x: 17
        y: 47
        spacing: -2

        BasicTextF2 {
            objectName: "clientText"
            width: 320
            color: CusConfig.controlTextColor
            text: qsTr("Vorlet PC控制面板 %1客户端").arg(root.platformName)
        }

        BasicTextF2 {
            objectName: "versionText"
            width: 320
            color: CusConfig.controlTextColor
            text: qsTr("版本号:") + MainLogic.getSoftVersion()
        }

        BasicTextF2 {
            objectName: "firmwareText"
            width: 320
            color: CusConfig.controlTextColor
            text: qsTr("固件版本号:") + root.firmwareVer
        }
    }

    BasicTextF2 {
        x: 17
        y: 110
        width: 150
        font.bold: true
        color: CusConfig.textColor
        text: qsTr("联系我们")
    }

    Column {
        x: 17
        y: 130
        spacing: -2

        LinkText {
            objectName: "webSiteLink"
            width: 320
            url: site.webSite
            text: qsTr("官方网站：") + site.webSite
        }

        BasicTextF2 {
            width: 320
            color: CusConfig.controlTextColor
            text: qsTr("邮箱：") + site.eMail
        }

        BasicTextF2 {
            width: 320
            color: CusConfig.controlTextColor
            text: qsTr("微信公众号：vorlet")
        }

        LinkText {
            objectName: "videoLink"
            width: 320
            url: site.videoChannel
            text: qsTr("哔哩哔哩：https://video.example/vorlet")
        }

        LinkText {
            objectName: "microblogLink"
            width: 320
            url: site.microblog
            text: qsTr("官方微博: https://microblog.example/vorlet")
        }
    }

    Connections {
        target: MainLogic

        function onIsConnect(isConnect, devType) {
            console.log("-----------------111")
            root.readFirmware()
        }
    }

    Connections {
        target: SoundCard

        function onFirmwareVerChanged(firmwareVer) {
            root.firmwareVer = firmwareVer
        }
    }
}
