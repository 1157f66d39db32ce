import QtQuick 2.9
import OrbitQuick 1.0
import "../component"

// Hardware page of the vx02: loopback, direct monitoring and dodge switches, and the
// four-step noise reduction.
DevicePage {
    id: root

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
        onSwitchChecked: root.sendSwitch("btnInPower", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnInPower)
        }
    }

    TextSwitch {
        id: vocalCut
        objectName: "vocalCut"
        x: 137
        y: 43
        text: qsTr("耳返")
        onSwitchChecked: if (SoundCard) SoundCard.setEliminateVoice(isChecked ? 1 : 2)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.disVoiceLevel)
        }
    }

    TextSwitch {
        id: switchDodge
        objectName: "switchDodge"
        x: 200
        y: 43
        text: qsTr("闪避")
        onSwitchChecked: root.sendSwitch("btnDodge", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnDodge)
        }
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
        Accessible.name: text3.text
        x: 137
        y: 111
        onCurrentValue: if (SoundCard) SoundCard.setDenoise(value)

        Binding on checkedIndex {
            when: root.reported
            value: Number(root.parameters.denoiseLevel)
        }
    }

    SplitLine {
        y: 143
    }
}
