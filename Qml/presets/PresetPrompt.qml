import QtQuick 2.12
import OrbitQuick 1.0

// Asks over the presets list: a question, with `askName` a field for a preset's name, and two
// buttons. Enter or the first button answers (accepted with the text typed), Escape or the second
// cancels.
Rectangle {
    id: prompt

    property string question
    property bool askName: false
    // What PresetController.nameProblem found in the last name given; "" for none.
    property string problem: ""
    property string acceptText: qsTr("确定")
    readonly property var problemTexts: ({
        "blank": qsTr("请输入预设的名称"),
        "separator": qsTr("名称中不能有 %1 或 %2").arg("/").arg("\\"),
        "dot": qsTr("名称不能以 . 开头"),
        "control": qsTr("名称中不能有控制字符"),
        "long": qsTr("名称最多 48 个字符"),
        "exists": qsTr("已有同名的预设")
    })

    signal accepted(string text)
    signal cancelled()

    // Shows `initial` in the field and takes the keyboard.
    function begin(initial) {
        field.text = initial
        problem = ""
        if (askName) {
            field.selectAll()
            field.forceActiveFocus()
        } else {
            acceptButton.forceActiveFocus()
        }
    }

    color: CusConfig.mainBackgroundColor
    Keys.onEscapePressed: cancelled()

    BasicTextF2 {
        id: questionText

        objectName: "promptQuestion"
        y: 8
        width: prompt.width
        wrapMode: Text.WordWrap
        color: CusConfig.textColor
        text: prompt.question
    }

    Rectangle {
        id: fieldFrame

        anchors.top: questionText.bottom
        anchors.topMargin: 10
        width: 220
        height: 26
        visible: prompt.askName
        radius: 2
        color: CusConfig.subBackgroundColor
        border.color: field.activeFocus ? CusConfig.elementColor : CusConfig.controlBorderColor

        CusTextInput {
            id: field

            objectName: "presetName"
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            horizontalAlignment: TextInput.AlignLeft
            maximumLength: 48
            Accessible.name: prompt.question
            onAccepted: prompt.accepted(text)
            Keys.onEscapePressed: prompt.cancelled()
        }
    }

    BasicTextF3 {
        id: problemText

        objectName: "promptProblem"
        // Below the field, or the question where there is none.
        anchors.top: prompt.askName ? fieldFrame.bottom : questionText.bottom
        anchors.topMargin: 6
        width: prompt.width
        horizontalAlignment: Text.AlignLeft
        wrapMode: Text.WordWrap
        color: CusConfig.textColor
        text: prompt.problemTexts[prompt.problem] || ""
    }

    Row {
        anchors.top: problemText.bottom
        anchors.topMargin: 12
        spacing: 8

        CusButton {
            id: acceptButton

            objectName: "promptAccept"
            width: 100
            height: 24
            textFontSize: 12
            text: prompt.acceptText
            onClicked: prompt.accepted(field.text)
            Keys.onReturnPressed: prompt.accepted(field.text)
            Keys.onEscapePressed: prompt.cancelled()
        }

        CusButton {
            objectName: "promptCancel"
            width: 100
            height: 24
            textFontSize: 12
            text: qsTr("取消")
            onClicked: prompt.cancelled()
            Keys.onEscapePressed: prompt.cancelled()
        }
    }
}
