import QtQuick 2.14
import OrbitQuick 1.0

// A level slider with a number field beside it. sliderValue is the value the device holds as
// far as the page knows: the one it last reported or the one last sent, whichever came later.
// Moving the slider reports the new value unless the device holds it already; a typed value is
// always reported. The slider keeps following sliderValue after a typed entry, so the device's
// own changes still move it.
Item {
    id: root

    property string text
    property int sliderValue: 0
    // The value a move is compared with before it is reported.
    readonly property int tempValue: sliderValue

    signal valueChange(int value)

    implicitHeight: 16
    implicitWidth: 243

    CusSlider {
        id: slider

        objectName: "slider"
        Accessible.name: root.text
        anchors.verticalCenter: parent.verticalCenter
        height: 30
        width: 192

        onMoved: {
            if (value !== root.tempValue) {
                root.sliderValue = value;
                root.valueChange(value);
            }
        }
        // A value written from outside (a screen reader through the accessibility bus) is
        // reported as a move is; the page's own values, clamped to the range, are not.
        onValueChanged: {
            if (!pressed && value !== Math.min(to, root.sliderValue)) {
                root.sliderValue = value;
                root.valueChange(value);
            }
        }
    }
    // A Binding element, unlike a plain binding, survives a value written to the slider from outside.
    Binding {
        property: "value"
        target: slider
        value: root.sliderValue
    }
    Rectangle {
        id: box

        anchors.left: slider.right
        anchors.leftMargin: 22
        anchors.verticalCenter: slider.verticalCenter
        border.color: CusConfig.controlEdgeColor
        border.width: CusConfig.highContrast ? Math.max(1, Math.round(slider.sizeRatio)) : 0
        color: root.enabled ? CusConfig.fieldColor : CusConfig.controlBorderColor_disabled
        height: 14
        radius: 2
        width: 24

        CusTextInput {
            id: field

            objectName: "field"
            Accessible.name: root.text
            anchors.fill: parent
            font.pixelSize: 12
            maximumLength: 2
            text: slider.value
            // Whole numbers 0 to 16; an IntValidator would let 17 to 99 through as "intermediate".
            validator: RegularExpressionValidator {
                regularExpression: /[0-9]|1[0-6]/
            }

            onEditingFinished: {
                root.sliderValue = Number(text);
                root.valueChange(root.sliderValue);
            }
        }
    }
    // Scaled by its own sizeRatio: the page's scaling leaves it alone.
    FocusFrame {
        objectName: "ingnoreAll"
        anchors.fill: box
        sizeRatio: slider.sizeRatio
        visible: field.activeFocus
    }
}
