import QtQuick 2.9
import OrbitQuick 1.0

// General settings: the connected model, the interface language, what the program does around
// the device (restoring its settings, running in the background, starting at login) and the
// high-contrast look.
Item {
    id: root

    property string modelName: "Vorlet Cantor 10"
    readonly property var modelNames: ({
        "vx01": "Vorlet Cantor 10 MK2",
        "vx02": "Vorlet Stage 20 MK2"
    })

    // Another type leaves the name as it is.
    function showModel(devType) {
        if (modelNames[devType] !== undefined)
            modelName = modelNames[devType]
    }

    Component.onCompleted: showModel(SoundCard === null ? "" : SoundCard.getDevType())

    BasicTextF2 {
        x: 16
        y: 48
        width: 150
        color: CusConfig.controlTextColor
        text: qsTr("型号")
    }

    // Room for the longest product name.
    BasicTextF2 {
        objectName: "modelText"
        x: 16
        y: 72
        width: 290
        color: CusConfig.controlTextColor
        text: root.modelName
    }

    BasicTextF2 {
        x: 16
        y: 115
        width: 150
        color: CusConfig.controlTextColor
        text: qsTr("语言")
    }

    CusComboBox {
        id: languageBox

        objectName: "languageBox"
        x: 16
        y: 139
        width: 128
        height: 24
        model: Tran.languageList
        // The language in use, also when none is stored (the system's); no entry for an
        // unknown one.
        currentIndex: Tran.languageList.indexOf(Tran.currentLanguage)
        activeFocusOnTab: true
        Accessible.name: qsTr("语言")
        onActivated: function (index) {
            // Applied at once, then remembered for the next start.
            Tran.reTrans(textAt(index))
            Tran.setLanguage(textAt(index))
        }
    }

    // Off by default: when on, a device that comes back (replugged, or after sleep) gets the
    // settings it had when it left. Only a running program restores: switching it on offers to
    // run in the background too.
    SettingSwitch {
        objectName: "restoreSwitch"
        x: 16
        y: 182
        text: qsTr("恢复上次设置")
        checked: MainLogic.settingsRestorer.enabled
        onToggled: function (on) {
            MainLogic.settingsRestorer.enabled = on
            if (on && !MainLogic.background.runInBackground)
                backgroundOffer.show()
        }
    }

    // Closing the window hides it; detection, restoring and the D-Bus interface go on.
    SettingSwitch {
        objectName: "backgroundSwitch"
        x: 176
        y: 182
        text: qsTr("后台运行")
        checked: MainLogic.background.runInBackground
        onToggled: function (on) { MainLogic.background.runInBackground = on; }
    }

    // Starts the program hidden when the user logs in.
    SettingSwitch {
        objectName: "autostartSwitch"
        x: 16
        y: 226
        text: qsTr("登录时启动")
        checked: MainLogic.background.autostart
        onToggled: function (on) { MainLogic.background.autostart = on; }
    }

    // Lighter texts, borders and tracks for those who need them; off by default.
    SettingSwitch {
        objectName: "highContrastSwitch"
        x: 176
        y: 226
        text: qsTr("高对比度")
        checked: MainLogic.appearance.highContrast
        onToggled: function (on) { MainLogic.appearance.highContrast = on; }
    }

    BackgroundOffer {
        id: backgroundOffer

        objectName: "backgroundOffer"
        onAccepted: MainLogic.background.runInBackground = true
    }

    Connections {
        target: MainLogic

        function onIsConnect(isConnect, devType) {
            if (isConnect)
                root.showModel(devType)
        }
    }
}
