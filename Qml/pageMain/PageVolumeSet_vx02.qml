import QtQuick 2.9
import "../component"

// Volume page of the vx02: five slider rows with a mute toggle each, one per volume type.
Item {
    id: root

    enum VolumeType {
        Monitor = 1,
        Record = 2,
        Music = 3,
        LiveBroadcast = 4,
        BGM = 5
    }

    // One row per label, in this order; `keys` names the parameter each row shows and `types`
    // the volume type it sets.
    readonly property var labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"),
        qsTr("直播音量"), qsTr("BGM音量")]
    readonly property var keys: ["volumeMonitor", "volumeRecording", "volumeBluetooth",
        "volumeBroadcast", "volumeBGM"]
    readonly property var types: [PageVolumeSet_vx02.VolumeType.Monitor,
        PageVolumeSet_vx02.VolumeType.Record, PageVolumeSet_vx02.VolumeType.Music,
        PageVolumeSet_vx02.VolumeType.LiveBroadcast, PageVolumeSet_vx02.VolumeType.BGM]

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
    // left it; any other value moves the slider (which clamps it to 16) and unmutes the row.
    function syncDataSub(index, value) {
        var row = rows.itemAt(index)
        if (row.muteIsClicked && value === 0)
            return
        if (row.sliderValue !== value)
            row.sliderValue = value
        if (row.muteIsClicked)
            row.muteIsClicked = false
    }

    function setVolume(index, value) {
        if (SoundCard && index >= 0 && index < types.length)
            SoundCard.setVolume(types[index], value)
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
        spacing: 32

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
