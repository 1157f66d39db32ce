import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

ToolTip {
    id: tip

    delay: CusEffectCommon.tipDelay
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.tipTextPixel

    contentItem: BasicTextF3 {
        text: tip.text
    }
    background: Rectangle {
        border.color: CusConfig.tipBorderColor
        color: CusConfig.tipBackgroundColor
        radius: CusConfig.controlBorderRadius
    }
}
