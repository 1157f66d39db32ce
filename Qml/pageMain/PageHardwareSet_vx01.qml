import QtQuick 2.9
import "../component"

// Hardware page of the vx01: the four function switches and the dodge (ducking) settings.
Item {
    id: root

    enum SwitchBtn {
        Bluetooth = 1,
        Denoise = 2,
        PutInside = 3,
        VocalCut = 4,
        Dodge = 7
    }

    // Copies the device's parameters into the controls, touching only those that differ so
    // that an unchanged value never re-triggers a control.
    function syncData() {
        if (!SoundCard)
            return
        var para = SoundCard.getAllPara()
        syncSwitch(switchBluetooth, para.btnBluetooth)
        syncSwitch(switchDenoise, para.btnDenoise)
        syncSwitch(switchPutInside, para.btnInPower)
        syncSwitch(switchVocalCut, para.btnDisVoice)
        syncSwitch(switchDodge, para.btnDodge)
        syncCombox(dodgeLevel, para.dodgeLevel)
        syncCombox(dodgeSpeed, para.dodgeSpeed)
        syncCombox(dodgeThreshold, para.dodgeThreshold)
    }

    // A map without the key (no report taken over yet) leaves the control as it is.
    function syncSwitch(control, value) {
        if (value !== undefined && control.checkedState !== Number(value))
            control.checkedState = Number(value)
    }

    function syncCombox(control, value) {
        if (value !== undefined && control.index !== Number(value) - 1)
            control.index = Number(value) - 1
    }

    function sendSwitch(type, isChecked) {
        if (SoundCard)
            SoundCard.setSwitch(type, isChecked ? 1 : 2)
    }

    width: 560
    height: 456
    Component.onCompleted: syncData()

    Connections {
        target: SoundCard
        ignoreUnknownSignals: true
        function onAllParaChanged() { root.syncData() }
    }

    TitleText {
        x: 24
        y: 15
        text: qsTr("功能开关")
    }

    TextSwitch {
        id: switchBluetooth
        objectName: "switchBluetooth"
        x: 32
        y: 44
        text: qsTr("蓝牙开关")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx01.SwitchBtn.Bluetooth, isChecked)
    }

    TextSwitch {
        id: switchPutInside
        objectName: "switchPutInside"
        x: 137
        y: 44
        text: qsTr("内放开关")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx01.SwitchBtn.PutInside, isChecked)
    }

    TextSwitch {
        id: switchDenoise
        objectName: "switchDenoise"
        x: 242
        y: 44
        text: qsTr("降噪开关")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx01.SwitchBtn.Denoise, isChecked)
    }

    TextSwitch {
        id: switchVocalCut
        objectName: "switchVocalCut"
        x: 347
        y: 44
        text: qsTr("消音开关")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx01.SwitchBtn.VocalCut, isChecked)
    }

    SplitLine {
        y: 102
    }

    TitleText {
        x: 24
        y: 121
        text: qsTr("闪避设置")
    }

    TextSwitch {
        id: switchDodge
        objectName: "switchDodge"
        x: 32
        y: 157
        text: qsTr("闪避")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx01.SwitchBtn.Dodge, isChecked)
    }

    TextCombox {
        id: dodgeSpeed
        objectName: "dodgeSpeed"
        x: 137
        y: 157
        width: 47
        height: 12
        text: qsTr("闪避速度")
        onCurrentValue: if (SoundCard) SoundCard.setDodgeSpeed(value + 1)
    }

    TextCombox {
        id: dodgeThreshold
        objectName: "dodgeThreshold"
        x: 241
        y: 157
        width: 47
        height: 12
        text: qsTr("闪避门限")
        onCurrentValue: if (SoundCard) SoundCard.setDodgeThreshold(value + 1)
    }

    TextCombox {
        id: dodgeLevel
        objectName: "dodgeLevel"
        x: 345
        y: 157
        width: 47
        height: 12
        text: qsTr("闪避等级")
        onCurrentValue: if (SoundCard) SoundCard.setDodgeGrade(value + 1)
    }

    SplitLine {
        y: 215
    }
}
