import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

Label {
    color: CusConfig.textColor
    elide: Text.ElideRight
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel3
    horizontalAlignment: Text.AlignLeft
    verticalAlignment: Text.AlignVCenter
}
