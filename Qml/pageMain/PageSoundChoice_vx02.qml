import QtQuick 2.9
import QtQuick.Controls 2.4
import Qt.labs.settings 1.0
import OrbitQuick 1.0
import "../component"

// Sound-effect page of the vx02: reverberation, voice-changer and electronic-key effects (one
// effect of all three families at a time), the mix-dry switch and nine sound-effect buttons
// the user can rename.
Item {
    id: root

    // Sound-mode groups, the first argument of setSoundMode.
    property int modeTypeReverberationEffect: 1
    property int modeTypeChangeVoice: 2
    property int modeTypeElectronicMusic: 3
    // Name of the sound-effect button being renamed, as it was before.
    property string text_old
    // Sound-effect button whose name is being edited; -1: none.
    property int editIndex: -1

    readonly property var reverbLabels: [qsTr("直播"), qsTr("喊麦"), qsTr("唱歌"), qsTr("聊天"),
        qsTr("主持")]
    readonly property var voiceLabels: [qsTr("男生"), qsTr("女生"), qsTr("童声"), qsTr("机器人"),
        qsTr("电话声"), qsTr("怪兽")]
    // Key names are the same in every language.
    readonly property var keyLabels: ["F", "E", "Eb", "D", "Db", "c", "Gb", "G", "Ab", "A", "Bb", "B"]

    function syncData() {
        if (!SoundCard)
            return
        var para = SoundCard.getAllPara()
        if (para.reverbVolume !== undefined && reverbSlider.sliderValue !== Number(para.reverbVolume))
            reverbSlider.sliderValue = Number(para.reverbVolume)
        if (para.btnMixDry !== undefined && switchDampness.checkedState !== Number(para.btnMixDry))
            switchDampness.checkedState = Number(para.btnMixDry)
        // Checking a button that is checked already changes nothing, so no comparison here.
        var row = [reverbButtons, voiceButtons, keyButtons][Number(para.soundMode) - 1]
        var button = row ? row.itemAt(Number(para.modelDetail) - 1) : null
        if (button)
            button.checked = true
    }

    function chooseEffect(modeType, index) {
        if (SoundCard)
            SoundCard.setSoundMode(modeType, index + 1)
    }

    // A click plays the sound 200 ms later, unless a double click (renaming) follows.
    function clickSound(index) {
        clickTimer.index = index
        clickTimer.restart()
    }

    function beginRename(index) {
        clickTimer.stop()
        text_old = bgmNames["cusKey" + index]
        editIndex = index
    }

    // A name of blanks only keeps the old name.
    function finishRename(index, text) {
        if (editIndex !== index)
            return
        if (text.trim() !== "")
            bgmNames["cusKey" + index] = text
        editIndex = -1
    }

    width: 560
    height: 456
    Component.onCompleted: syncData()

    Connections {
        target: SoundCard
        ignoreUnknownSignals: true
        function onAllParaChanged() { root.syncData() }
    }

    // Names of the sound-effect buttons, kept in the application's settings. The defaults are
    // plain texts: a translated default would be re-evaluated on a language change and
    // overwrite the user's name.
    Settings {
        id: bgmNames

        property string cusKey0: "1"
        property string cusKey1: "2"
        property string cusKey2: "3"
        property string cusKey3: "4"
        property string cusKey4: "5"
        property string cusKey5: "6"
        property string cusKey6: "7"
        property string cusKey7: "8"
        property string cusKey8: "9"
    }

    Timer {
        id: clickTimer

        property int index: 0

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
    }

    TextSwitch {
        id: switchDampness
        objectName: "switchDampness"
        x: 450
        y: 60
        text: qsTr("听湿录干")
        onSwitchChecked: if (SoundCard) SoundCard.setSwitch(3, isChecked ? 1 : 2)
    }

    Row {
        x: 32
        y: 79
        spacing: 8

        Repeater {
            id: reverbButtons

            model: root.reverbLabels.length

            CusButton {
                objectName: "reverb" + index
                text: root.reverbLabels[index]
                checkable: true
                activeFocusOnTab: true
                ButtonGroup.group: effectGroup
                Accessible.name: text
                Accessible.role: Accessible.RadioButton
                onClicked: root.chooseEffect(root.modeTypeReverberationEffect, index)
            }
        }
    }

    TitleText {
        x: 25
        y: 135
        text: qsTr("变声效果")
    }

    Row {
        x: 32
        y: 166
        spacing: 8

        Repeater {
            id: voiceButtons

            model: root.voiceLabels.length

            // Wider than the other buttons: "WARCRAFT" fits without eliding.
            CusButton {
                objectName: "voice" + index
                width: 76
                text: root.voiceLabels[index]
                checkable: true
                activeFocusOnTab: true
                ButtonGroup.group: effectGroup
                Accessible.name: text
                Accessible.role: Accessible.RadioButton
                onClicked: root.chooseEffect(root.modeTypeChangeVoice, index)
            }
        }
    }

    TitleText {
        x: 25
        y: 233
        text: qsTr("电音效果")
    }

    Row {
        x: 32
        y: 256
        spacing: 8

        Repeater {
            id: keyButtons

            model: root.keyLabels.length

            CusButton_Circle {
                objectName: "key" + index
                width: 30
                height: 30
                text: root.keyLabels[index]
                textFontSize: 10
                checkable: true
                activeFocusOnTab: true
                ButtonGroup.group: effectGroup
                Accessible.name: text
                Accessible.role: Accessible.RadioButton
                onClicked: root.chooseEffect(root.modeTypeElectronicMusic, index)
            }
        }
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

            CusButton {
                id: bgmButton

                objectName: "bgm" + index
                text: root.editIndex === index ? "" : bgmNames["cusKey" + index]
                checkable: true
                activeFocusOnTab: true
                ButtonGroup.group: bgmGroup
                Accessible.name: bgmNames["cusKey" + index]
                Accessible.role: Accessible.Button
                Accessible.description: qsTr("按 F2 键重命名")
                onClicked: root.clickSound(index)
                onDoubleClicked: root.beginRename(index)
                Keys.onPressed: {
                    if (event.key === Qt.Key_F2) {
                        root.beginRename(index)
                        event.accepted = true
                    }
                }

                CusTextInput {
                    id: editor
                    objectName: "bgmEditor" + index
                    anchors.fill: parent
                    visible: root.editIndex === index
                    // The button's own 12-pixel font, scaled with it.
                    font.pixelSize: bgmButton.font.pixelSize
                    maximumLength: 64
                    Accessible.name: bgmButton.Accessible.name
                    Accessible.role: Accessible.EditableText
                    onVisibleChanged: {
                        if (!visible)
                            return
                        text = root.text_old
                        selectAll()
                        forceActiveFocus()
                    }
                    onEditingFinished: {
                        root.finishRename(index, text)
                        bgmButton.forceActiveFocus()
                    }
                    // Escape keeps the old name.
                    Keys.onEscapePressed: {
                        text = ""
                        root.finishRename(index, text)
                        bgmButton.forceActiveFocus()
                    }
                }
            }
        }
    }
}
