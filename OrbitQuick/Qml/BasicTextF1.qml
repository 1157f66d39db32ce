import QtQuick 2.12
import OrbitQuick 1.0

Text {
    color: CusConfig.textColor
    elide: Text.ElideRight
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel1
    horizontalAlignment: Text.AlignHCenter
    renderType: Text.NativeRendering
    verticalAlignment: Text.AlignVCenter
}
