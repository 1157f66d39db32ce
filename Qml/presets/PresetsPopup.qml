import QtQuick 2.12
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../common"

// The presets of the connected model, opened from the title bar: the list with the preset in
// effect ticked, what applying the chosen one changes, and Apply, Undo, Save as…, Rename,
// Delete, Import… and Export…. A prompt over the list asks for names and before replacing or
// deleting. MainLogic.presets does the work and tells what failed.
Popup {
    id: popup

    // "" while the list shows; "saveAs", "rename", "overwrite" or "delete" while the prompt asks.
    property string mode: ""
    // The preset "Save as" would replace, while the prompt asks.
    property string pending: ""
    readonly property real ratio: autoResize.horizontalRatio
    readonly property var presets: MainLogic.presets

    // Sizes the popup by the scene's scale and opens it below the title bar, on the right.
    function show() {
        width = 420 * ratio
        height = 344 * ratio
        x = parent.width - width - 6 * ratio
        y = 26 * ratio
        mode = ""
        presets.refresh()
        if (presets.selected === "")
            presets.select(presets.current)
        open()
        autoResize.resize()
        presetList.forceActiveFocus()
    }

    function choose(index) {
        if (index >= 0 && index < presets.names.length)
            presets.select(presets.names[index])
    }

    function ask(newMode, initial) {
        mode = newMode
        prompt.begin(initial)
    }

    function finishPrompt() {
        mode = ""
        presetList.forceActiveFocus()
    }

    // The prompt's answer. A name is checked first, and "Save as" over a preset asks again.
    function answer(text) {
        var name = text.trim()
        var problem = presets.nameProblem(name)
        if (mode === "saveAs" && problem === "exists") {
            pending = name
            ask("overwrite", name)
            return
        }
        if ((mode === "saveAs" || mode === "rename") && problem !== "" && name !== presets.selected) {
            prompt.problem = problem
            return
        }
        if (mode === "delete")
            presets.deletePreset(presets.selected)
        else if (mode === "overwrite")
            presets.savePreset(pending)
        else if (mode === "saveAs")
            presets.savePreset(name)
        else if (name !== presets.selected)
            presets.renamePreset(presets.selected, name)
        finishPrompt()
    }

    width: 420
    height: 344
    padding: 12 * ratio
    modal: true
    focus: true
    clip: true
    // While the prompt asks, Escape cancels the prompt only.
    closePolicy: mode === "" ? Popup.CloseOnEscape | Popup.CloseOnPressOutside : Popup.CloseOnPressOutside

    background: Rectangle {
        color: CusConfig.mainBackgroundColor
        border.color: CusConfig.splitLineColor
    }

    AutoResize {
        id: autoResize

        horizontalRatio: MainLogic.scalingRate
        verticalRatio: MainLogic.scalingRate
    }

    BasicTextF2 {
        y: -2
        width: 200
        font.bold: true
        color: CusConfig.controlTextColor
        text: qsTr("预设")
    }

    Rectangle {
        y: 24
        width: 160
        height: 190
        visible: popup.mode === ""
        radius: 2
        color: CusConfig.subBackgroundColor
        border.color: presetList.activeFocus ? CusConfig.elementColor : CusConfig.subBackgroundColor

        ListView {
            id: presetList

            objectName: "presetList"
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            activeFocusOnTab: true
            model: popup.presets.names
            currentIndex: popup.presets.names.indexOf(popup.presets.selected)
            Accessible.role: Accessible.List
            Accessible.name: qsTr("预设")
            Keys.onUpPressed: popup.choose(currentIndex - 1)
            Keys.onDownPressed: popup.choose(currentIndex + 1)
            Keys.onReturnPressed: popup.presets.applyPreset(popup.presets.selected)

            delegate: PresetRow {
                objectName: "presetRow" + index
                width: ListView.view.width
                name: modelData
                chosen: modelData === popup.presets.selected
                inEffect: modelData === popup.presets.current
                ratio: popup.ratio
                onClicked: {
                    presetList.forceActiveFocus()
                    popup.presets.select(modelData)
                }
                onDoubleClicked: popup.presets.applyPreset(modelData)
            }
        }

        BasicTextF3 {
            anchors.centerIn: parent
            visible: presetList.count === 0
            color: CusConfig.controlTextColor
            text: qsTr("还没有预设")
        }
    }

    PresetChanges {
        x: 172
        y: 24
        width: 224
        height: 190
        visible: popup.mode === ""
        name: popup.presets.selected
        rows: popup.presets.changes
        ratio: popup.ratio
    }

    PresetPrompt {
        id: prompt

        objectName: "presetPrompt"
        y: 24
        width: 396
        height: 252
        visible: popup.mode !== ""
        askName: popup.mode === "saveAs" || popup.mode === "rename"
        question: popup.mode === "saveAs" ? qsTr("把设备现在的设置存为预设：")
                  : popup.mode === "rename" ? qsTr("“%1”的新名称：").arg(popup.presets.selected)
                  : popup.mode === "overwrite" ? qsTr("已有预设“%1”。要用设备现在的设置替换它吗？").arg(popup.pending)
                  : qsTr("要删除预设“%1”吗？").arg(popup.presets.selected)
        acceptText: popup.mode === "saveAs" ? qsTr("保存")
                    : popup.mode === "rename" ? qsTr("重命名")
                    : popup.mode === "overwrite" ? qsTr("替换")
                    : qsTr("删除")
        onAccepted: function (text) { popup.answer(text); }
        onCancelled: popup.finishPrompt()
    }

    Grid {
        y: 224
        columns: 4
        spacing: 8
        visible: popup.mode === ""
        enabled: !popup.presets.busy

        CusButton {
            objectName: "presetApply"
            width: 93
            height: 24
            text: qsTr("应用")
            enabled: popup.presets.selected !== ""
            onClicked: popup.presets.applyPreset(popup.presets.selected)
        }

        CusButton {
            objectName: "presetUndo"
            width: 93
            height: 24
            text: qsTr("撤销")
            enabled: popup.presets.canUndo
            onClicked: popup.presets.undoPreset()
        }

        CusButton {
            objectName: "presetSaveAs"
            width: 93
            height: 24
            text: qsTr("另存为…")
            onClicked: popup.ask("saveAs", popup.presets.selected)
        }

        CusButton {
            objectName: "presetRename"
            width: 93
            height: 24
            text: qsTr("重命名")
            enabled: popup.presets.selected !== ""
            onClicked: popup.ask("rename", popup.presets.selected)
        }

        CusButton {
            objectName: "presetDelete"
            width: 93
            height: 24
            text: qsTr("删除")
            enabled: popup.presets.selected !== ""
            onClicked: popup.ask("delete", "")
        }

        CusButton {
            objectName: "presetImport"
            width: 93
            height: 24
            text: qsTr("导入…")
            onClicked: popup.presets.importPreset()
        }

        CusButton {
            objectName: "presetExport"
            width: 93
            height: 24
            text: qsTr("导出…")
            enabled: popup.presets.selected !== ""
            onClicked: popup.presets.exportPreset(popup.presets.selected)
        }
    }

    BasicTextF3 {
        objectName: "presetMessage"
        y: 288
        width: 396
        horizontalAlignment: Text.AlignLeft
        wrapMode: Text.WrapAnywhere
        maximumLineCount: 2
        color: CusConfig.textColor
        text: popup.presets.message !== "" ? qsTr("出错了：%1").arg(popup.presets.message) : ""
    }
}
