import QtQuick 2.9
import "../component"

// Hardware page of the vx01: the four function switches and the dodge (ducking) settings, rows
// built from the tables below.
DevicePage {
    id: root

    Column {
        x: PageTheme.titleLeft
        y: PageTheme.top
        spacing: PageTheme.sectionSpacing

        TitleText {
            text: qsTr("功能开关")
        }

        SwitchRow {
            x: PageTheme.left - PageTheme.titleLeft
            entries: [
                { "name": "switchBluetooth", "key": "btnBluetooth", "label": qsTr("蓝牙开关") },
                { "name": "switchPutInside", "key": "btnInPower", "label": qsTr("内放开关") },
                { "name": "switchDenoise", "key": "btnDenoise", "label": qsTr("降噪开关") },
                { "name": "switchVocalCut", "key": "btnDisVoice", "label": qsTr("消音开关") }
            ]
            parameters: root.parameters
            reported: root.reported
            onToggled: function (entry, on) { root.sendSwitch(entry, on); }
        }

        SplitLine {
            x: 1
        }

        TitleText {
            text: qsTr("闪避设置")
        }

        // The dodge switch, then one list per dodge setting with a setter of its own; the lists
        // show 1 to 16 as entries 0 to 15.
        Row {
            x: PageTheme.left - PageTheme.titleLeft
            spacing: PageTheme.columnSpacing

            SwitchRow {
                entries: [{ "name": "switchDodge", "key": "btnDodge", "label": qsTr("闪避") }]
                parameters: root.parameters
                reported: root.reported
                onToggled: function (entry, on) { root.sendSwitch(entry, on); }
            }

            // The keys as the model (a list's own "index" hides the delegate's), which name the
            // lists too; labels and setters by key, so that a language change keeps the lists.
            Repeater {
                id: dodgeLists

                readonly property var labels: ({
                    "dodgeSpeed": qsTr("闪避速度"),
                    "dodgeThreshold": qsTr("闪避门限"),
                    "dodgeLevel": qsTr("闪避等级")
                })
                readonly property var setters: ({
                    "dodgeSpeed": "setDodgeSpeed",
                    "dodgeThreshold": "setDodgeThreshold",
                    "dodgeLevel": "setDodgeGrade"
                })

                model: ["dodgeSpeed", "dodgeThreshold", "dodgeLevel"]

                TextCombox {
                    objectName: modelData
                    width: PageTheme.columnWidth
                    text: dodgeLists.labels[modelData]
                    onCurrentValue: function (value) { if (SoundCard) SoundCard[dodgeLists.setters[modelData]](value + 1); }

                    Binding on index {
                        when: root.reported
                        value: Number(root.parameters[modelData]) - 1
                    }
                }
            }
        }

        SplitLine {
            x: 1
        }
    }
}
