import QtQuick 2.9
import "../component"

// Hardware page of the vx01: the four function switches and the dodge (ducking) settings.
DevicePage {
    id: root

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
        onSwitchChecked: root.sendSwitch("btnBluetooth", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnBluetooth)
        }
    }

    TextSwitch {
        id: switchPutInside
        objectName: "switchPutInside"
        x: 137
        y: 44
        text: qsTr("内放开关")
        onSwitchChecked: root.sendSwitch("btnInPower", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnInPower)
        }
    }

    TextSwitch {
        id: switchDenoise
        objectName: "switchDenoise"
        x: 242
        y: 44
        text: qsTr("降噪开关")
        onSwitchChecked: root.sendSwitch("btnDenoise", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnDenoise)
        }
    }

    TextSwitch {
        id: switchVocalCut
        objectName: "switchVocalCut"
        x: 347
        y: 44
        text: qsTr("消音开关")
        onSwitchChecked: root.sendSwitch("btnDisVoice", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnDisVoice)
        }
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
        onSwitchChecked: root.sendSwitch("btnDodge", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnDodge)
        }
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

        Binding on index {
            when: root.reported
            value: Number(root.parameters.dodgeSpeed) - 1
        }
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

        Binding on index {
            when: root.reported
            value: Number(root.parameters.dodgeThreshold) - 1
        }
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

        Binding on index {
            when: root.reported
            value: Number(root.parameters.dodgeLevel) - 1
        }
    }

    SplitLine {
        y: 215
    }
}
