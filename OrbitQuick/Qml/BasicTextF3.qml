import QtQuick 2.12
import OrbitQuick 1.0

BasicText {
    color: CusConfig.controlTextColor
    font.pixelSize: CusConfig.fontSizeLevel3
    horizontalAlignment: Text.AlignLeft
}
