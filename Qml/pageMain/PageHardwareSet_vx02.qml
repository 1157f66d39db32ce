import QtQuick 2.9
import OrbitQuick 1.0
import "../component"

// Hardware page of the vx02: loopback, direct monitoring and dodge switches, and the
// four-step noise reduction.
Item {
    id: root

    enum SwitchBtn {
        PutInside = 1,
        Dodge = 2
    }

    // Copies the device's parameters into the controls, touching only those that differ.
    function syncData() {
        if (!SoundCard)
            return
        var para = SoundCard.getAllPara()
        syncSwitch(putInside, para.btnInPower)
        syncSwitch(vocalCut, para.disVoiceLevel)
        if (para.denoiseLevel !== undefined && denoise.checkedIndex !== Number(para.denoiseLevel))
            denoise.checkedIndex = Number(para.denoiseLevel)
        syncSwitch(switchDodge, para.btnDodge)
    }

    // A map without the key (no report taken over yet) leaves the control as it is.
    function syncSwitch(control, value) {
        if (value !== undefined && control.checkedState !== Number(value))
            control.checkedState = Number(value)
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
        y: 16
        text: qsTr("功能开关")
    }

    TextSwitch {
        id: putInside
        objectName: "putInside"
        x: 32
        y: 43
        text: qsTr("内放开关")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx02.SwitchBtn.PutInside, isChecked)
    }

    TextSwitch {
        id: vocalCut
        objectName: "vocalCut"
        x: 137
        y: 43
        text: qsTr("耳返")
        onSwitchChecked: if (SoundCard) SoundCard.setEliminateVoice(isChecked ? 1 : 2)
    }

    TextSwitch {
        id: switchDodge
        objectName: "switchDodge"
        x: 200
        y: 43
        text: qsTr("闪避")
        onSwitchChecked: root.sendSwitch(PageHardwareSet_vx02.SwitchBtn.Dodge, isChecked)
    }

    SplitLine {
        y: 95
    }

    BasicTextF2 {
        id: text3
        x: 32
        y: 113
        width: 200
        text: qsTr("降噪")
    }

    BtnNaviga {
        id: denoise
        objectName: "denoise"
        x: 137
        y: 111
        onCurrentValue: if (SoundCard) SoundCard.setDenoise(value)
    }

    SplitLine {
        y: 143
    }
}
