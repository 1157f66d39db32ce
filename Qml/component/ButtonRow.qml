import QtQuick 2.9
import QtQuick.Controls 2.4
import OrbitQuick 1.0

// A row of checkable text buttons, one per entry of `labels`, in the exclusive group `group`:
// picking one checks it and reports its index. Button i is named namePrefix + i.
Row {
    id: row

    property var labels: []
    property ButtonGroup group
    property string namePrefix
    // 0: the buttons' own width.
    property int buttonWidth: 0
    property int buttonHeight: 0
    property int textFontSize: 12
    // Round buttons: corners of half the button's size.
    property bool round: false

    signal chosen(int index)

    function button(index) {
        return buttons.itemAt(index)
    }

    // One group of choices on the accessibility bus; the page names it.
    Accessible.role: Accessible.Grouping
    spacing: 8

    Repeater {
        id: buttons

        model: row.labels.length

        CusButton {
            objectName: row.namePrefix + index
            width: row.buttonWidth > 0 ? row.buttonWidth : implicitWidth
            height: row.buttonHeight > 0 ? row.buttonHeight : implicitHeight
            radius: row.round ? Math.min(width, height) / 2 : CusConfig.controlBorderRadius * sizeRatio
            text: row.labels[index]
            textFontSize: row.textFontSize
            checkable: true
            activeFocusOnTab: true
            ButtonGroup.group: row.group
            Accessible.name: text
            accessibleRole: Accessible.RadioButton
            onClicked: row.chosen(index)
        }
    }
}
