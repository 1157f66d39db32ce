import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A drop-down list. The arrow picture is white and takes the colour of the box's state; it turns
// over while the list is open.
ComboBox {
    id: control

    // The scale of the scene around it: paddings, arrow, list and focus frame grow with it.
    property real sizeRatio: 1
    readonly property string imgUrlNormal: CusConfig.imagePathPrefix + "ComboBox_Down.png"
    property real defaultHeight: CusTableConstant.visibleRows * CusConfig.fixedHeight * sizeRatio
    property color colorNormal: CusConfig.imageColor
    property color colorHovered: CusConfig.imageColor_hovered
    property color colorPressed: CusConfig.imageColor_pressed
    property color colorDisable: CusConfig.imageColor_disabled
    property int hoveredIndex: -1
    // What the control is to a screen reader. Qt Quick Controls write a role of their own over
    // Accessible.role when accessibility comes on and when a control is completed: it is put back.
    property int accessibleRole: Accessible.ComboBox

    Accessible.name: displayText
    // The entry shown, as the box shows it.
    Accessible.description: qsTr(displayText) + CusConfig.transString
    Accessible.role: accessibleRole
    Accessible.onRoleChanged: Accessible.role = accessibleRole
    // Pressed through the accessibility bus the box opens its list, as Space does.
    Accessible.onPressAction: popup.open()
    activeFocusOnTab: true
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel3
    hoverEnabled: true
    implicitHeight: CusConfig.fixedHeight
    padding: 4 * sizeRatio

    background: Rectangle {
        border.color: CusConfig.controlEdgeColor
        border.width: CusConfig.highContrast ? Math.max(1, Math.round(control.sizeRatio)) : 0
        color: control.enabled ? CusConfig.controlColor : CusConfig.controlColor_disabled
        radius: CusConfig.controlBorderRadius * control.sizeRatio
    }
    contentItem: BasicText {
        color: CusConfig.textColor
        font: control.font
        horizontalAlignment: Text.AlignLeft
        rightPadding: control.indicator.width + control.spacing
        text: qsTr(control.displayText) + CusConfig.transString
    }
    delegate: ItemDelegate {
        id: entry

        Accessible.name: label.text
        // An entry is picked by pressing it, as by a click; Qt Quick Controls write their own
        // role over this one.
        Accessible.role: Accessible.MenuItem
        Accessible.onRoleChanged: Accessible.role = Accessible.MenuItem
        Accessible.onPressAction: entry.clicked()
        // As high as the box: the list reads as the box's continuation.
        height: control.height
        hoverEnabled: true
        padding: control.padding
        width: control.width

        background: Rectangle {
            color: entry.hovered || control.currentIndex === index ? CusConfig.controlColor_pressed : CusConfig.controlColor
        }
        contentItem: BasicText {
            id: label

            font: control.font
            horizontalAlignment: Text.AlignLeft
            text: qsTr(String(control.textRole ? model[control.textRole] : modelData)) + CusConfig.transString
        }

        onHoveredChanged: control.hoveredIndex = hovered ? index : -1
    }
    indicator: CusImage {
        // The arrow drawn in the colour of the box's state (TintImageProvider).
        readonly property color colour: !control.enabled ? control.colorDisable
                                        : control.pressed ? control.colorPressed
                                        : control.hovered ? control.colorHovered
                                        : control.colorNormal

        height: sourceSize.height / 2 * control.sizeRatio
        rotation: control.popup.visible ? 180 : 0
        source: "image://tint/" + String(colour).slice(1) + "/" + encodeURIComponent(control.imgUrlNormal)
        width: sourceSize.width / 2 * control.sizeRatio
        x: control.width - width - control.rightPadding
        y: control.topPadding + (control.availableHeight - height) / 2

        Behavior on rotation {
            NumberAnimation {
                duration: CusEffectCommon.indicatorTurnDuration
            }
        }
    }
    popup: Popup {
        implicitHeight: Math.min(contentItem.implicitHeight, control.defaultHeight)
        padding: 0
        width: control.width
        y: control.height

        background: Rectangle {
            color: CusConfig.controlColor
            radius: CusConfig.controlBorderRadius * control.sizeRatio
        }
        contentItem: ListView {
            id: list

            clip: true
            currentIndex: control.highlightedIndex
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null

            ScrollBar.vertical: CusScrollBar {
                objectName: "scrollBar"
                sizeRatio: control.sizeRatio
                policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }
        }
    }

    // Shown only when the keyboard moved the focus here.
    FocusFrame {
        anchors.fill: parent
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
