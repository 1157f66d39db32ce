import QtQuick 2.9
import "../component"

// Volume page of the vx01: five slider rows with a mute toggle each; the last row is the
// microphone's tone colour, which has a setter of its own.
Item {
    id: root

    enum VolumeType {
        Monitor = 1,
        Record = 2,
        Music = 3,
        Mic = 4,
        MicToneColor = 5
    }

    // One row per label, in this order; `keys` names the parameter each row shows and `types`
    // the volume type the first four set.
    readonly property var labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"),
        qsTr("话筒音量"), qsTr("话筒音色")]
    readonly property var keys: ["volumeMonitor", "volumeRecording", "volumeMusicVolume",
        "volumeMic", "toneColour"]
    readonly property var types: [PageVolumeSet_vx01.VolumeType.Monitor,
        PageVolumeSet_vx01.VolumeType.Record, PageVolumeSet_vx01.VolumeType.Music,
        PageVolumeSet_vx01.VolumeType.Mic]

    function syncData() {
        if (!SoundCard)
            return
        var para = SoundCard.getAllPara()
        for (var i = 0; i < keys.length; ++i) {
            if (para[keys[i]] !== undefined)
                syncDataSub(i, Number(para[keys[i]]))
        }
    }

    // A muted row whose device value reads 0 stays muted and keeps its slider where the user
    // left it; any other value moves the slider and unmutes the row. Values above the 16
    // steps of this model are not shown.
    function syncDataSub(index, value) {
        var row = rows.itemAt(index)
        if (row.muteIsClicked && value === 0)
            return
        if (value > 16)
            return
        if (row.sliderValue !== value)
            row.sliderValue = value
        if (row.muteIsClicked)
            row.muteIsClicked = false
    }

    // Rows 0 to 3 set a volume type; the tone-colour row has a setter of its own.
    function setVolume(index, value) {
        if (!SoundCard)
            return
        if (index >= 0 && index < types.length)
            SoundCard.setVolume(types[index], value)
        else if (index === types.length)
            SoundCard.setMicToneColour(value)
    }

    width: 560
    height: 456
    Component.onCompleted: syncData()

    Connections {
        target: SoundCard
        ignoreUnknownSignals: true
        function onAllParaChanged() { root.syncData() }
    }

    Column {
        x: 25
        y: 16
        spacing: 28

        Repeater {
            id: rows

            // A count, not the label list: a language change re-evaluates the labels and must
            // not rebuild the rows (and lose their mute state).
            model: root.labels.length

            TextSlider {
                objectName: "volumeRow" + index
                width: 200
                height: 50
                text: root.labels[index]
                onCurrentValue: root.setVolume(index, value)
                onMuteClicked: root.setVolume(index, isClicked ? 0 : sliderValue)
            }
        }
    }
}
