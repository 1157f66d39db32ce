import QtQuick 2.12
import OrbitQuick 1.0

// Where the keyboard focus is: a ring in the focus colour that the user anchors to the control
// (anchors.fill). A gap as wide as the ring keeps it off the control's own edge, so that it reads
// against whatever lies behind and not against the control's colours; `inset` draws it inside
// instead, for controls that fill a clipped strip. It grows with the scene's scale.
Rectangle {
    property real sizeRatio: 1
    property bool inset: false
    readonly property real ringWidth: Math.max(2, Math.round(CusConfig.focusWidth * sizeRatio))

    anchors.margins: inset ? ringWidth : -2 * ringWidth
    border.color: CusConfig.focusColor
    border.width: ringWidth
    color: "transparent"
}
