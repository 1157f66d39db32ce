import QtQuick 2.12
import OrbitQuick 1.0

// A titled level slider with its number field and a mute toggle.
Item {
    id: root

    property string text
    property int sliderValue: 0
    property alias muteIsClicked: mute.checked

    signal currentValue(int value)
    signal muteClicked(bool isClicked)

    implicitHeight: 52
    implicitWidth: 262

    TitleText {
        text: root.text
        width: 600
    }
    Slider_input {
        id: input

        objectName: "input"
        height: 16
        text: root.text
        width: 243
        x: 3
        y: 32

        onValueChange: function (value) {
            root.sliderValue = value;
            root.currentValue(value);
        }
    }
    // Passes a new sliderValue from the page on to the slider and its number field.
    Binding {
        property: "sliderValue"
        target: input
        value: root.sliderValue
    }
    CusButton_Image {
        id: mute

        objectName: "mute"
        btnImgHovered: imgPath + "blackSkin/Button_Mute_On.png"
        btnImgNormal: imgPath + "blackSkin/mute_off.png"
        btnImgPressed: imgPath + "blackSkin/Button_Mute_On.png"
        checkable: true
        height: 12
        text: qsTr("静音") + CusConfig.transString
        width: 12
        x: 250
        // Centred on the slider it mutes.
        anchors.verticalCenter: input.verticalCenter
        // Every row has one: the row's name tells a screen reader which volume it mutes.
        Accessible.name: root.text + " " + text

        onClicked: root.muteClicked(checked)
    }
}
