import QtQuick 2.9
import OrbitQuick 1.0

// A checkable button whose name the user can change. A double click or F2 asks for a rename
// (renameRequested); while `editing` a field over the button holds the name, and Enter or
// leaving the field reports what was typed (renamed), Escape reports an empty text.
CusButton {
    id: button

    property string name
    property bool editing: false
    property alias editorName: editor.objectName

    signal renameRequested()
    signal renamed(string text)

    // Ends the edit with `text` and gives the keyboard back to the button.
    function finish(text) {
        renamed(text)
        forceActiveFocus()
    }

    text: editing ? "" : name
    // A long name is cut short on the button: the whole of it shows on hover.
    tipText: contentItem.truncated ? name : ""
    checkable: true
    activeFocusOnTab: true
    // It plays a sound: a button, though it stays checked after.
    accessibleRole: Accessible.Button
    Accessible.name: name
    onDoubleClicked: renameRequested()
    Keys.onPressed: function (event) {
        if (event.key === Qt.Key_F2) {
            renameRequested()
            event.accepted = true
        }
    }

    // The field is framed like a box to type in, its focus ring around the button.
    Rectangle {
        anchors.fill: parent
        border.color: CusConfig.controlBorderColor_pressed
        border.width: Math.max(1, Math.round(button.sizeRatio))
        color: CusConfig.mainBackgroundColor
        radius: button.radius
        visible: button.editing
    }

    FocusFrame {
        anchors.fill: parent
        sizeRatio: button.sizeRatio
        visible: editor.activeFocus
    }

    CusTextInput {
        id: editor

        anchors.fill: parent
        anchors.leftMargin: 3 * button.sizeRatio
        anchors.rightMargin: 3 * button.sizeRatio
        visible: button.editing
        // The button's own font, scaled with it.
        font.pixelSize: button.font.pixelSize
        maximumLength: 64
        Accessible.name: button.name
        Accessible.role: Accessible.EditableText
        onVisibleChanged: {
            if (!visible)
                return
            text = button.name
            // All of it chosen, the cursor at its start: a long name shows its beginning.
            select(text.length, 0)
            forceActiveFocus()
        }
        onEditingFinished: button.finish(text)
        Keys.onEscapePressed: button.finish("")
    }
}
