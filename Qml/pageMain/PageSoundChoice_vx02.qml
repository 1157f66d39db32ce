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

    TitleText {
        x: 25
        y: 15
        text: qsTr("混响效果")
    }

    BasicTextF2 {
        id: reverText
        x: 32
        y: 47
        width: 72
        text: qsTr("混响强度")
    }

    Slider_input {
        id: reverbSlider
        objectName: "reverbVolume"
        x: reverText.x + reverText.width + 8
        y: 44
        text: reverText.text
        onValueChange: if (SoundCard) SoundCard.setMicReverberation(value)

        Binding on sliderValue {
            when: root.reported
            value: Number(root.parameters.reverbVolume)
        }
    }

    TextSwitch {
        id: switchDampness
        objectName: "switchDampness"
        x: 450
        y: 60
        text: qsTr("听湿录干")
        onSwitchChecked: root.sendSwitch("btnMixDry", isChecked)

        Binding on checkedState {
            when: root.reported
            value: Number(root.parameters.btnMixDry)
        }
    }

    ButtonRow {
        id: reverbRow
        x: 32
        y: 79
        labels: [qsTr("直播"), qsTr("喊麦"), qsTr("唱歌"), qsTr("聊天"), qsTr("主持")]
        group: effectGroup
        namePrefix: "reverb"
        Accessible.name: qsTr("混响效果")
        onChosen: root.chooseEffect("reverberationEffect", index)
    }

    TitleText {
        x: 25
        y: 135
        text: qsTr("变声效果")
    }

    // Wider buttons: "WARCRAFT" fits without eliding.
    ButtonRow {
        id: voiceRow
        x: 32
        y: 166
        labels: [qsTr("男生"), qsTr("女生"), qsTr("童声"), qsTr("机器人"), qsTr("电话声"), qsTr("怪兽")]
        group: effectGroup
        namePrefix: "voice"
        Accessible.name: qsTr("变声效果")
        buttonWidth: 76
        onChosen: root.chooseEffect("voiceChange", index)
    }

    TitleText {
        x: 25
        y: 233
        text: qsTr("电音效果")
    }

    // Key names are the same in every language.
    ButtonRow {
        id: keyRow
        x: 32
        y: 256
        labels: ["F", "E", "Eb", "D", "Db", "c", "Gb", "G", "Ab", "A", "Bb", "B"]
        group: effectGroup
        namePrefix: "key"
        Accessible.name: qsTr("电音效果")
        buttonWidth: 30
        buttonHeight: 30
        textFontSize: 10
        round: true
        onChosen: root.chooseEffect("electronicKey", index)
    }

    TitleText {
        x: 25
        y: 311
        text: qsTr("BGM音效")
    }

    Grid {
        x: 32
        y: 342
        rows: 2
        columns: 6
        spacing: 8

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
                onRenamed: root.finishRename(index, text)
            }
        }
    }
}
