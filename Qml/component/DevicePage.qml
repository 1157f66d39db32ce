import QtQuick 2.9

// The frame of a device page: its design size and the device's parameters, read when the page
// is made and again whenever the device reports a change. The controls of a page follow
// `parameters` by bindings, each written again with every new map: a control the user moved
// without the device taking the value over shows the device's value again, and an unchanged
// value does not touch the control. Without a device nothing is read, and the controls are
// disabled (and drawn so) until one comes.
Item {
    id: page

    // The parameter map of the device (SoundCard.getAllPara()); empty until it has reported.
    property var parameters: ({})
    // The device has reported: from then on the map holds every key of its model.
    readonly property bool reported: Object.keys(parameters).length > 0
    // The codes the page sends, by name, from the model's table (SoundCard.codes): a setting's
    // selector ("btnDodge") or a sound-mode group ("voiceChange").
    readonly property var codes: SoundCard ? SoundCard.codes : ({})

    function syncData() {
        if (SoundCard)
            parameters = SoundCard.getAllPara()
    }

    // A switch of a page's table, { key, setter }: 1 for on, 2 for off, through the setter the
    // entry names, or else setSwitch with its key's code.
    function sendSwitch(entry, isChecked) {
        if (!SoundCard)
            return
        if (entry.setter)
            SoundCard[entry.setter](isChecked ? 1 : 2)
        else
            SoundCard.setSwitch(codes[entry.key], isChecked ? 1 : 2)
    }

    width: 560
    height: 456
    enabled: SoundCard !== null
    Component.onCompleted: syncData()

    Connections {
        target: SoundCard
        ignoreUnknownSignals: true
        function onAllParaChanged() { page.syncData() }
    }
}
