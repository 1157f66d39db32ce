import QtQuick 2.9
import OrbitQuick 1.0
import "../component"

// Hardware page of the vx02: loopback, direct monitoring and dodge switches, and the
// four-step noise reduction.
DevicePage {
    id: root

    Column {
        x: PageTheme.titleLeft
        y: PageTheme.top
        spacing: PageTheme.sectionSpacing

        TitleText {
            text: qsTr("功能开关")
        }

        // Direct monitoring is the voice-elimination setting, with a setter of its own.
        SwitchRow {
            x: PageTheme.left - PageTheme.titleLeft
            entries: [
                { "name": "putInside", "key": "btnInPower", "label": qsTr("内放开关") },
                { "name": "vocalCut", "key": "disVoiceLevel", "setter": "setEliminateVoice", "label": qsTr("耳返") },
                { "name": "switchDodge", "key": "btnDodge", "label": qsTr("闪避") }
            ]
            parameters: root.parameters
            reported: root.reported
            onToggled: function (entry, on) { root.sendSwitch(entry, on); }
        }

        SplitLine {
            x: 1
        }

        Row {
            x: PageTheme.left - PageTheme.titleLeft
            spacing: PageTheme.columnSpacing

            // Level with the selector's dots, which run along its top.
            BasicTextF2 {
                id: denoiseLabel

                y: denoise.dotCentre - height / 2
                // A column of the switches' grid: the selector lines up with the second switch.
                width: PageTheme.columnWidth
                text: qsTr("降噪")
            }

            BtnNaviga {
                id: denoise

                objectName: "denoise"
                Accessible.name: denoiseLabel.text
                onCurrentValue: function (value) { if (SoundCard) SoundCard.setDenoise(value); }

                Binding on checkedIndex {
                    when: root.reported
                    value: Number(root.parameters.denoiseLevel)
                }
            }
        }

        SplitLine {
            x: 1
        }
    }
}
