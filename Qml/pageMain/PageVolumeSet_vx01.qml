import QtQuick 2.9
import "../component"

// Volume page of the vx01: five slider rows with a mute toggle each; the last row is the
// microphone's tone colour, which has a setter of its own. Values above the 16 steps of this
// model are not shown.
DevicePage {
    id: root

    enum VolumeType {
        Monitor = 1,
        Record = 2,
        Music = 3,
        Mic = 4,
        MicToneColor = 5
    }

    // The volume types of rows 0 to 3; row 4 is the tone colour.
    readonly property var types: [PageVolumeSet_vx01.VolumeType.Monitor,
        PageVolumeSet_vx01.VolumeType.Record, PageVolumeSet_vx01.VolumeType.Music,
        PageVolumeSet_vx01.VolumeType.Mic]

    function setVolume(index, value) {
        if (!SoundCard)
            return
        if (index >= 0 && index < types.length)
            SoundCard.setVolume(types[index], value)
        else if (index === types.length)
            SoundCard.setMicToneColour(value)
    }

    VolumeList {
        x: 25
        y: 16
        spacing: 28
        labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"), qsTr("话筒音量"), qsTr("话筒音色")]
        keys: ["volumeMonitor", "volumeRecording", "volumeMusicVolume", "volumeMic", "toneColour"]
        parameters: root.parameters
        largest: 16
        onVolumeChanged: root.setVolume(index, value)
    }
}
