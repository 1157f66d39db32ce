import QtQuick 2.12
import OrbitQuick 1.0

// A preset in the presets list: its name, ticked while it is in effect, filled while chosen.
// Made after the popup was scaled, so it is sized by `ratio` itself.
Rectangle {
    id: row

    property string name
    property bool chosen: false
    property bool inEffect: false
    property real ratio: 1

    signal clicked()
    signal doubleClicked()

    height: 22 * ratio
    color: chosen ? CusConfig.elementColor : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: inEffect ? qsTr("%1（当前）").arg(name) : name
    Accessible.selected: chosen

    CusImage {
        x: 6 * row.ratio
        anchors.verticalCenter: parent.verticalCenter
        width: 12 * row.ratio
        height: 12 * row.ratio
        visible: row.inEffect
        source: imgPath + "blackSkin/icon_preset_current.png"
    }

    BasicTextF3 {
        x: 24 * row.ratio
        width: row.width - 28 * row.ratio
        height: row.height
        font.pixelSize: 12 * row.ratio
        font.bold: row.inEffect
        horizontalAlignment: Text.AlignLeft
        color: row.chosen || row.inEffect ? CusConfig.textColor : CusConfig.controlTextColor
        text: row.name
    }

    MouseArea {
        anchors.fill: parent
        onClicked: row.clicked()
        onDoubleClicked: row.doubleClicked()
    }
}
