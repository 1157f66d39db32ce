import QtQuick 2.9
import "../component"

// Volume page of the vx01: five slider rows with a mute toggle each; the last row is the
// microphone's tone colour, which has a setter of its own. Values above the 16 steps of this
// model are not shown.
DevicePage {
    id: root

    // The volume type of each row is its key's code; the tone colour has a setter of its own.
    function setVolume(index, value) {
        if (!SoundCard)
            return
        if (volumes.keys[index] === "toneColour")
            SoundCard.setMicToneColour(value)
        else
            SoundCard.setVolume(codes[volumes.keys[index]], value)
    }

    VolumeList {
        id: volumes

        x: PageTheme.titleLeft
        y: 16
        spacing: 28
        labels: [qsTr("监听音量"), qsTr("录音音量"), qsTr("音箱音量"), qsTr("话筒音量"), qsTr("话筒音色")]
        keys: ["volumeMonitor", "volumeRecording", "volumeMusicVolume", "volumeMic", "toneColour"]
        parameters: root.parameters
        largest: 16
        onVolumeChanged: function (index, value) { root.setVolume(index, value); }
    }
}
