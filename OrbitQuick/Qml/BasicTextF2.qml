import QtQuick 2.12
import OrbitQuick 1.0

BasicText {
    font.pixelSize: CusConfig.fontSizeLevel2
    horizontalAlignment: Text.AlignLeft
}
