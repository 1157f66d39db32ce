import QtQuick 2.9
import "../component"

// Volume page of the vx02: five slider rows with a mute toggle each, one per volume type.
DevicePage {
    id: root

    // The volume type of each row is its key's code.
    function setVolume(index, value) {
        if (SoundCard)
            SoundCard.setVolume(codes[volumes.keys[index]], value)
    }

    VolumeList {
        id: volumes

        x: PageTheme.titleLeft
        y: 16
        spacing: 32
        labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"), qsTr("直播音量"), qsTr("BGM音量")]
        keys: ["volumeMonitor", "volumeRecording", "volumeBluetooth", "volumeBroadcast", "volumeBGM"]
        parameters: root.parameters
        onVolumeChanged: function (index, value) { root.setVolume(index, value); }
    }
}
