import QtQuick 2.12
import OrbitQuick 1.0

// A one-line text field, drawn like every other text of the library: native glyphs with
// grey-scale antialiasing. It clips its text, so the user draws its focus ring (FocusFrame).
TextInput {
    Accessible.name: text
    Accessible.role: Accessible.EditableText
    activeFocusOnTab: true
    clip: true
    color: enabled ? CusConfig.textColor : CusConfig.textColor_disabled
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2
    height: CusConfig.fixedHeight
    horizontalAlignment: TextInput.AlignHCenter
    maximumLength: CusConfig.maximumLength
    renderType: TextInput.NativeRendering
    selectByMouse: true
    selectionColor: CusConfig.controlColor_pressed
    verticalAlignment: TextInput.AlignVCenter
}
