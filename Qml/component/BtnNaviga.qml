import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A four-step level selector (off, 1, 2, 3): dots on a bar, the chosen one enlarged.
Item {
    id: root

    property int checkedIndex: 0
    // Where the dots sit: a label beside the selector is centred on it.
    readonly property real dotCentre: 4

    signal currentValue(int value)

    // One group of choices on the accessibility bus; the page names it.
    Accessible.role: Accessible.Grouping
    implicitHeight: 30
    implicitWidth: 135

    onCheckedIndexChanged: {
        if (checkedIndex < 0)
            checkedIndex = 0;
    }

    ButtonGroup {
        id: steps

        exclusive: true
    }
    Rectangle {
        color: CusConfig.controlColor
        height: 4
        width: 105
        x: 2
        y: 2
    }
    Repeater {
        model: 4

        // Room below a chosen dot for its focus ring.
        Column {
            spacing: 9
            x: index * 35

            CusButton {
                id: dot

                objectName: "dot" + index
                Accessible.name: label.text
                accessibleRole: Accessible.RadioButton
                ButtonGroup.group: steps
                backgroundColorHovered: CusConfig.controlBorderColor
                backgroundColorNormal: CusConfig.controlBorderColor
                backgroundColorPressed: CusConfig.controlBorderColor_pressed
                borderWidth: 0
                checkable: true
                checked: index === Math.max(0, root.checkedIndex)
                height: 8
                radius: 4 * sizeRatio
                scale: checked ? 2 : 1
                width: 8

                onClicked: {
                    root.currentValue(index);
                    root.checkedIndex = index;
                }
            }
            BasicText {
                id: label

                objectName: "label" + index
                color: dot.checked ? dot.backgroundColorPressed : dot.backgroundColorNormal
                font.pixelSize: 12
                horizontalAlignment: Text.AlignLeft
                text: index === 0 ? qsTr("关") + CusConfig.transString : String(index)
                width: 30
            }
        }
    }
}
