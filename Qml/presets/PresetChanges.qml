import QtQuick 2.12
import OrbitQuick 1.0

// What applying the chosen preset changes: a heading, then a line a setting in the words of the
// pages ("ECHO  6 → 12"). The lines are made after the popup was scaled: sized by `ratio`.
Item {
    id: pane

    // The chosen preset; empty while none is.
    property string name
    // PresetController's changes.
    property var rows: []
    property real ratio: 1

    PresetWords {
        id: words
    }

    BasicTextF3 {
        id: heading

        objectName: "previewHeading"
        width: pane.width
        horizontalAlignment: Text.AlignLeft
        wrapMode: Text.WordWrap
        maximumLineCount: 2
        color: CusConfig.controlTextColor
        text: pane.name === "" ? qsTr("选择一个预设，查看应用它会改变哪些设置")
              : pane.rows.length === 0 ? qsTr("“%1”与设备现在的设置相同").arg(pane.name)
              : qsTr("应用“%1”会改变：").arg(pane.name)
    }

    ListView {
        objectName: "previewLines"
        anchors.top: heading.bottom
        anchors.topMargin: 4
        anchors.bottom: parent.bottom
        width: pane.width
        clip: true
        model: pane.rows
        Accessible.role: Accessible.List
        Accessible.name: heading.text

        delegate: BasicTextF3 {
            objectName: "previewLine" + index
            width: ListView.view.width
            height: 18 * pane.ratio
            font.pixelSize: 12 * pane.ratio
            horizontalAlignment: Text.AlignLeft
            text: words.text(modelData)
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
