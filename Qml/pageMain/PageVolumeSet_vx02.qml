import QtQuick 2.9
import "../component"

// Volume page of the vx02: five slider rows with a mute toggle each, one per volume type.
DevicePage {
    id: root

    enum VolumeType {
        Monitor = 1,
        Record = 2,
        Music = 3,
        LiveBroadcast = 4,
        BGM = 5
    }

    // The volume type of each row.
    readonly property var types: [PageVolumeSet_vx02.VolumeType.Monitor,
        PageVolumeSet_vx02.VolumeType.Record, PageVolumeSet_vx02.VolumeType.Music,
        PageVolumeSet_vx02.VolumeType.LiveBroadcast, PageVolumeSet_vx02.VolumeType.BGM]

    function setVolume(index, value) {
        if (SoundCard && index >= 0 && index < types.length)
            SoundCard.setVolume(types[index], value)
    }

    VolumeList {
        x: 25
        y: 16
        spacing: 32
        labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"), qsTr("直播音量"), qsTr("BGM音量")]
        keys: ["volumeMonitor", "volumeRecording", "volumeBluetooth", "volumeBroadcast", "volumeBGM"]
        parameters: root.parameters
        onVolumeChanged: root.setVolume(index, value)
    }
}
