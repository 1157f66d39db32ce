import QtQuick 2.9

// The frame of a device page: its design size and the device's parameters, read when the page
// is made and again whenever the device reports a change. The controls of a page follow
// `parameters` by bindings, each written again with every new map: a control the user moved
// without the device taking the value over shows the device's value again, and an unchanged
// value does not touch the control. Without a device nothing is read and nothing is sent.
Item {
    id: page

    // The parameter map of the device (SoundCard.getAllPara()); empty until it has reported.
    property var parameters: ({})
    // The device has reported: from then on the map holds every key of its model.
    readonly property bool reported: Object.keys(parameters).length > 0

    function syncData() {
        if (SoundCard)
            parameters = SoundCard.getAllPara()
    }

    // Switches send 1 for on and 2 for off.
    function sendSwitch(type, isChecked) {
        if (SoundCard)
            SoundCard.setSwitch(type, isChecked ? 1 : 2)
    }

    width: 560
    height: 456
    Component.onCompleted: syncData()

    Connections {
        target: SoundCard
        ignoreUnknownSignals: true
        function onAllParaChanged() { page.syncData() }
    }
}
