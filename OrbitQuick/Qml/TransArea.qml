import QtQuick 2.12

// Lies over a control to give it the pointing-hand cursor and hover; every press, release and
// wheel turn passes through to the control below.
MouseArea {
    acceptedButtons: Qt.NoButton
    anchors.fill: parent
    cursorShape: enabled ? Qt.PointingHandCursor : Qt.ForbiddenCursor
    hoverEnabled: true
    z: 1
    // Not a control of its own: the control below carries the name and takes the keys.
    Accessible.ignored: true

    onWheel: function (wheel) { wheel.accepted = false; }
}
