import QtQuick 2.12
import OrbitQuick 1.0
import "qrc:/Qml/component"
import "qrc:/Qml/common"

// Every control of the library and every application component on one 802 x 482 page, in the
// scene's theme. The gallery test renders it and keeps a screenshot.
Rectangle {
    id: gallery

    readonly property string img: "qrc:/image/blackSkin/"

    color: CusConfig.mainBackgroundColor
    height: 482
    width: 802

    Column {
        id: controls

        spacing: 10
        width: 260
        x: 20
        y: 20

        BasicTextF1 {
            text: "OrbitQuick 设备未连接"
        }
        BasicTextF2 {
            text: "BasicTextF2 硬件设置"
        }
        BasicTextF3 {
            text: "BasicTextF3 降噪"
        }
        Row {
            spacing: 10

            BasicText {
                text: "BasicText"
            }
            CusLabel {
                text: "CusLabel 标签"
            }
        }
        Row {
            spacing: 10

            CusButton {
                text: "确定"
            }
            CusButton {
                checkable: true
                checked: true
                text: "Checked"
            }
            CusButton {
                enabled: false
                text: "Disabled"
            }
        }
        Row {
            spacing: 10

            CusButton_Circle {
                text: "Go"
            }
            CusButton_Image {
                btnImgHovered: gallery.img + "Button_Pause_Off.png"
                btnImgNormal: gallery.img + "Button_Play_On.png"
                btnImgPressed: gallery.img + "Button_Stop_On.png"
                text: "Play"
            }
            CusImage {
                source: gallery.img + "Button_Save.png"
            }
            CusSwitch {
                text: "开"
                checked: true
            }
            CusSwitch {
                text: "关"
            }
        }
        Row {
            spacing: 10

            CusComboBox {
                model: ["单声道", "立体声"]
                width: 100
            }
            Rectangle {
                color: CusConfig.controlColor
                height: CusConfig.fixedHeight
                width: 60

                CusTextInput {
                    anchors.fill: parent
                    text: "12"
                }
            }
        }
        CusSlider {
            value: 10
        }
        CusSlider {
            showNumber: true
            value: 6
        }
        Item {
            height: 24
            width: 200

            // Opened by the gallery test.
            BasicTooltip {
                delay: 0
                objectName: "tip"
                text: "BasicTooltip 提示"
                timeout: -1
                x: 0
                y: 0
            }
        }
    }
    Item {
        x: 300
        y: 20
        width: 480
        height: 440

        TitleText {
            text: "TitleText 监听音量"
        }
        TextSlider {
            sliderValue: 8
            text: "TextSlider 麦克风音量"
            y: 30
        }
        SplitLine {
            y: 100
        }
        TextSwitch {
            checkedState: 1
            text: "TextSwitch 幻象电源"
            y: 115
        }
        TextCombox {
            index: 3
            text: "TextCombox 混响"
            height: 60
            x: 240
            y: 115
        }
        Slider_input {
            sliderValue: 12
            width: 243
            height: 16
            y: 190
        }
        BtnNaviga {
            checkedIndex: 2
            x: 10
            y: 230
        }
        Column {
            width: 200
            x: 240
            y: 230

            Button_ImageText {
                btnImgHovered: gallery.img + "icon_硬件设置_点击.png"
                btnImgNormal: gallery.img + "icon_硬件设置_默认.png"
                checked: true
                text: "硬件设置"
            }
            Button_ImageText {
                btnImgHovered: gallery.img + "icon_音量设置_点击.png"
                btnImgNormal: gallery.img + "icon_音量设置_默认.png"
                text: "音量设置"
            }
        }
        AutoResize {
        }
    }
    // Opened by the gallery test, to show the list with its scroll bar.
    CusComboBox {
        height: 16
        model: 16
        objectName: "openCombo"
        width: 100
        x: 330
        y: 285
    }
}
