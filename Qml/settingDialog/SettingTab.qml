import QtQuick 2.9
import OrbitQuick 1.0

// A tab of the settings popup: a checkable button whose background never changes, so only its
// text colour marks the tab that is chosen.
CusButton {
    width: 80
    checkable: true
    textFontSize: 14
    font.bold: true
    borderWidth: 0
    backgroundColorNormal: CusConfig.mainBackgroundColor
    backgroundColorHovered: CusConfig.mainBackgroundColor
    backgroundColorPressed: CusConfig.mainBackgroundColor
    backgroundColorDisable: CusConfig.mainBackgroundColor
    activeFocusOnTab: true
    Accessible.name: text
    accessibleRole: Accessible.PageTab
}
