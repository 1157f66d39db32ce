import QtQuick 2.9

// A column of titled level sliders with a mute toggle each, one row per entry of `labels`; row i
// shows the parameter keys[i] of `parameters`. A slider moved or a value typed reports the new
// value, a mute reports 0 and an unmute the row's slider value.
Column {
    id: list

    property var labels: []
    property var keys: []
    property var parameters: ({})
    // Device values above it are not shown (the slider itself clamps to its 16 steps).
    property int largest: 255

    signal volumeChanged(int index, int value)

    // A muted row whose device value reads 0 stays muted and keeps its slider where the user
    // left it; any other value moves the slider and unmutes the row.
    function syncDataSub(index, value) {
        var row = rows.itemAt(index)
        if ((row.muteIsClicked && value === 0) || value > largest)
            return
        row.sliderValue = value
        row.muteIsClicked = false
    }

    onParametersChanged: {
        for (var i = 0; i < keys.length; ++i) {
            if (parameters[keys[i]] !== undefined)
                syncDataSub(i, Number(parameters[keys[i]]))
        }
    }

    Repeater {
        id: rows

        // A count, not the label list: a language change re-evaluates the labels and must not
        // rebuild the rows (and lose their mute state).
        model: list.labels.length

        TextSlider {
            objectName: "volumeRow" + index
            width: 200
            height: 50
            text: list.labels[index]
            onCurrentValue: function (value) { list.volumeChanged(index, value); }
            onMuteClicked: function (isClicked) { list.volumeChanged(index, isClicked ? 0 : sliderValue); }
        }
    }
}
