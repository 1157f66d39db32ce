import QtQuick 2.9
import OrbitQuick 1.0
import "../component"

// General settings: the connected model and the interface language.
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
        Accessible.role: Accessible.ComboBox
        onActivated: {
            // Applied at once, then remembered for the next start.
            Tran.reTrans(textAt(index))
            Tran.setLanguage(textAt(index))
        }
    }

    // Off by default: when on, a device that comes back (replugged, or after sleep) gets the
    // settings it had when it left.
    TextSwitch {
        objectName: "restoreSwitch"
        x: 16
        y: 182
        text: qsTr("恢复上次设置")
        labelColor: CusConfig.controlTextColor
        checkedState: MainLogic.settingsRestorer.enabled ? 1 : 2
        onSwitchChecked: MainLogic.settingsRestorer.enabled = isChecked
    }

    Connections {
        target: MainLogic

        function onIsConnect(isConnect, devType) {
            if (isConnect)
                root.showModel(devType)
        }
    }
}
