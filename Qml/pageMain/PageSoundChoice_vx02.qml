import QtQuick 2.9
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../component"

// Sound-effect page of the vx02: reverberation, voice-changer and electronic-key effects (one
// effect of all three families at a time), the mix-dry switch and nine sound-effect buttons
// the user can rename.
DevicePage {
    id: root

    // Name of the sound-effect button being renamed, as it was before.
    property string text_old
    // Sound-effect button whose name is being edited; -1: none.
    property int editIndex: -1

    // `group`: the name of a sound-mode group; its code is the first argument of setSoundMode.
    function chooseEffect(group, index) {
        if (SoundCard)
            SoundCard.setSoundMode(codes[group], index + 1)
    }

    // A click plays the sound 200 ms later, unless a double click (renaming) follows.
    function clickSound(index) {
        clickTimer.index = index
        clickTimer.restart()
    }

    function beginRename(index) {
        clickTimer.stop()
        text_old = MainLogic.bgmNames.names[index]
        editIndex = index
    }

    // A name of blanks only keeps the old name (MainLogic.bgmNames.rename).
    function finishRename(index, text) {
        if (editIndex !== index)
            return
        MainLogic.bgmNames.rename(index, text)
        editIndex = -1
    }

    // The effect the device reports is checked, whichever was checked before; a sound mode
    // outside the three families checks nothing.
    onParametersChanged: {
        var row = [reverbRow, voiceRow, keyRow][Number(parameters.soundMode) - 1]
        var button = row ? row.button(Number(parameters.modelDetail) - 1) : null
        if (button)
            button.checked = true
    }

    Timer {
        id: clickTimer

        property int index: 0

        objectName: "clickTimer"
        interval: 200
        onTriggered: if (SoundCard) SoundCard.setSpecialEffectSound(index + 1)
    }

    ButtonGroup {
        id: effectGroup
    }

    ButtonGroup {
        id: bgmGroup
    }

    // Four sections, each a title above its rows.
    Column {
        x: PageTheme.titleLeft
        y: PageTheme.top
        spacing: PageTheme.sectionGap

        Column {
            spacing: PageTheme.titleGap

            TitleText {
                text: qsTr("混响效果")
            }

            Row {
                x: PageTheme.left - PageTheme.titleLeft
                spacing: PageTheme.columnSpacing

                // Centred on the slider it names, whatever the font's line height.
                BasicTextF2 {
                    id: reverText
                    width: PageTheme.labelWidth
                    anchors.verticalCenter: reverbSlider.verticalCenter
                    text: qsTr("混响强度")
                }

                Slider_input {
                    id: reverbSlider
                    objectName: "reverbVolume"
                    text: reverText.text
                    onValueChange: function (value) { if (SoundCard) SoundCard.setMicReverberation(value); }

                    Binding on sliderValue {
                        when: root.reported
                        value: Number(root.parameters.reverbVolume)
                    }
                }
            }

            // The mix-dry switch beside the reverberation effects, its top level with theirs: it
            // reads, and takes the keyboard, after them.
            Row {
                x: PageTheme.left - PageTheme.titleLeft
                spacing: PageTheme.columnWidth / 2

                ButtonRow {
                    id: reverbRow
                    labels: [qsTr("直播"), qsTr("喊麦"), qsTr("唱歌"), qsTr("聊天"), qsTr("主持")]
                    group: effectGroup
                    namePrefix: "reverb"
                    Accessible.name: qsTr("混响效果")
                    onChosen: function (index) { root.chooseEffect("reverberationEffect", index); }
                }

                TextSwitch {
                    id: switchDampness
                    objectName: "switchDampness"
                    text: qsTr("听湿录干")
                    onSwitchChecked: function (isChecked) { root.sendSwitch({ "key": "btnMixDry" }, isChecked); }

                    Binding on checkedState {
                        when: root.reported
                        value: Number(root.parameters.btnMixDry)
                    }
                }
            }
        }

        Column {
            spacing: PageTheme.titleGap

            TitleText {
                text: qsTr("变声效果")
            }

            // Wider buttons: "WARCRAFT" fits without eliding.
            ButtonRow {
                id: voiceRow
                x: PageTheme.left - PageTheme.titleLeft
                labels: [qsTr("男生"), qsTr("女生"), qsTr("童声"), qsTr("机器人"), qsTr("电话声"), qsTr("怪兽")]
                group: effectGroup
                namePrefix: "voice"
                Accessible.name: qsTr("变声效果")
                buttonWidth: 76
                onChosen: function (index) { root.chooseEffect("voiceChange", index); }
            }
        }

        Column {
            spacing: PageTheme.titleGap

            TitleText {
                text: qsTr("电音效果")
            }

            // Key names are the same in every language.
            ButtonRow {
                id: keyRow
                x: PageTheme.left - PageTheme.titleLeft
                labels: ["F", "E", "Eb", "D", "Db", "c", "Gb", "G", "Ab", "A", "Bb", "B"]
                group: effectGroup
                namePrefix: "key"
                Accessible.name: qsTr("电音效果")
                buttonWidth: 30
                buttonHeight: 30
                textFontSize: 10
                round: true
                onChosen: function (index) { root.chooseEffect("electronicKey", index); }
            }
        }

        Column {
            spacing: PageTheme.titleGap

            TitleText {
                text: qsTr("BGM音效")
            }

            Grid {
                x: PageTheme.left - PageTheme.titleLeft
                rows: 2
                columns: 6
                spacing: PageTheme.columnSpacing

                Repeater {
                    model: 9

                    RenameButton {
                        objectName: "bgm" + index
                        editorName: "bgmEditor" + index
                        // Kept in the program's settings; presets save and apply them.
                        name: MainLogic.bgmNames.names[index]
                        editing: root.editIndex === index
                        ButtonGroup.group: bgmGroup
                        Accessible.description: qsTr("按 F2 键重命名")
                        onClicked: root.clickSound(index)
                        onRenameRequested: root.beginRename(index)
                        onRenamed: function (text) { root.finishRename(index, text); }
                    }
                }
            }
        }
    }
}
