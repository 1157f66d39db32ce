import QtQuick 2.9
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../component"

// Sound-effect page of the vx01: music, singing or chat mode; while singing, the size of the
// reverberation and its two levels.
DevicePage {
    id: root

    // The device's sound mode as last read ("model"); -1 after a click without a device.
    property int modeType: 0
    // Size sent with a click on SING (1 large, 2 medium, 3 small): the device's last one.
    property int modeDetailed: 1
    property bool isSingMode: false

    // Shows `modeType`: 1 music, 7 chat, 2 to 4 singing with a large, medium or small room.
    // After a click without a device (-1) no mode is shown and the singing controls are off.
    function showMode() {
        if (modeType === -1) {
            isSingMode = false
            modeGroup.checkedButton = null
            sizeGroup.checkedButton = null
        } else if (modeType === 1 || modeType === 7) {
            isSingMode = false
            modeGroup.checkedButton = modeRow.button(modeType === 1 ? 0 : 2)
        } else {
            isSingMode = true
            modeGroup.checkedButton = modeRow.button(1)
            var size = sizeRow.button(modeType - 2)
            if (size) {
                sizeGroup.checkedButton = size
                modeDetailed = modeType - 1
            }
        }
    }

    function noDevice() {
        if (modeType === -1)
            showMode()
        else
            modeType = -1
    }

    // index 0 music, 1 singing (with the current size), 2 chat.
    function chooseMode(index) {
        isSingMode = index === 1
        if (!SoundCard)
            noDevice()
        else
            SoundCard.setSoundMode(codes[["music", "singing", "chat"][index]], index === 1 ? modeDetailed : 0)
    }

    function chooseSize(index) {
        if (!SoundCard)
            noDevice()
        else
            SoundCard.setSoundMode(codes.singing, index + 1)
    }

    onModeTypeChanged: showMode()

    Binding on modeType {
        when: root.reported
        value: Number(root.parameters.model)
    }

    ButtonGroup {
        id: modeGroup
    }

    ButtonGroup {
        id: sizeGroup
    }

    // The mode, then the singing controls below it: a title and rows.
    Column {
        x: PageTheme.titleLeft
        y: PageTheme.top
        spacing: PageTheme.rowSpacing

        TitleText {
            text: qsTr("模式选择")
        }

        ButtonRow {
            id: modeRow
            x: PageTheme.left - PageTheme.titleLeft
            labels: [qsTr("音乐"), qsTr("唱歌"), qsTr("聊天")]
            group: modeGroup
            namePrefix: "mode"
            Accessible.name: qsTr("模式选择")
            onChosen: function (index) { root.chooseMode(index); }
        }

        // Each label centred on the control it names.
        Row {
            x: PageTheme.left - PageTheme.titleLeft
            spacing: PageTheme.columnSpacing

            BasicTextF2 {
                width: PageTheme.labelWidth
                anchors.verticalCenter: sizeRow.verticalCenter
                text: qsTr("混响模式")
            }

            ButtonRow {
                id: sizeRow
                enabled: root.isSingMode
                labels: [qsTr("大"), qsTr("中"), qsTr("小")]
                group: sizeGroup
                namePrefix: "size"
                Accessible.name: qsTr("混响模式")
                onChosen: function (index) { root.chooseSize(index); }
            }
        }

        // The two levels of the reverberation while singing, each sent with its key's code.
        Repeater {
            id: levels

            readonly property var entries: [
                { "name": "reverbDepth", "key": "reverbDepth", "label": qsTr("混响音量") },
                { "name": "reverbVolume", "key": "reverbVolume", "label": qsTr("混响强度") }
            ]

            // A count: a language change must not rebuild the rows.
            model: entries.length

            Row {
                x: PageTheme.left - PageTheme.titleLeft
                spacing: PageTheme.columnSpacing

                BasicTextF2 {
                    width: PageTheme.labelWidth
                    anchors.verticalCenter: slider.verticalCenter
                    text: levels.entries[index].label
                }

                Slider_input {
                    id: slider

                    objectName: levels.entries[index].name
                    text: levels.entries[index].label
                    enabled: root.isSingMode
                    onValueChange: function (value) { if (SoundCard) SoundCard.setMicReverberation(value, root.codes[levels.entries[index].key]); }

                    Binding on sliderValue {
                        when: root.reported
                        value: Number(root.parameters[levels.entries[index].key])
                    }
                }
            }
        }
    }
}
