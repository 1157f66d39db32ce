import QtQuick 2.4
import QtQuick.Controls 2.4
import OrbitQuick 1.0
import "../component"

// The navigation: three page buttons and the picture of the device for the page shown.
Item {
    id: root

    // Empty for the Chinese pictures, "English" for the English ones; follows the language in
    // use from the start, also when it was chosen by the system's locale before the scene existed.
    property string language: Tran.currentLanguage === "English" ? "English" : ""
    // What the picture shows: the model whose pages are on screen (the vx02 until a device
    // came; the last one after it went) and the page index of the checked button (1 hardware,
    // 2 volume, 3 sound effect).
    property string pictureModel: "vx02"
    property int pictureIndex: 1
    readonly property var pictureNames: ["Hardware.png", "Volume.png", "Effect.png"]

    signal btnclicked(int btnIndex)

    function devType() {
        return SoundCard === null ? "vx02" : SoundCard.getDevType()
    }

    function choiceImage(btnIndex) {
        if (btnIndex < 1 || btnIndex > 3)
            return
        pictureIndex = btnIndex
    }

    width: 300
    height: 400
    clip: true

    Component.onCompleted: pictureModel = devType()
    // The picture set of the checked page in the new language.
    onLanguageChanged: choiceImage(btnGroup.index)

    Rectangle {
        width: parent.width
        height: parent.height
        color: CusConfig.subBackgroundColor
    }

    Column {
        id: column

        x: 0
        y: 8
        width: parent.width
        height: 172
        Accessible.role: Accessible.PageTabList

        Button_ImageText {
            property int btnIndex: 1

            objectName: "navHardware"
            text: qsTr("硬件设置")
            checked: true
            btnImgNormal: imgPath + "blackSkin/icon_硬件设置_默认.png"
            btnImgHovered: imgPath + "blackSkin/icon_硬件设置_点击.png"
            activeFocusOnTab: true
        }

        Button_ImageText {
            property int btnIndex: 2

            objectName: "navVolume"
            text: qsTr("音量设置 ")
            btnImgNormal: imgPath + "blackSkin/icon_音量设置_默认.png"
            btnImgHovered: imgPath + "blackSkin/icon_音量设置_点击.png"
            activeFocusOnTab: true
        }

        Button_ImageText {
            property int btnIndex: 3

            objectName: "navEffect"
            text: qsTr("音效选择")
            btnImgNormal: imgPath + "blackSkin/icon_音效选择_默认.png"
            btnImgHovered: imgPath + "blackSkin/icon_音效选择_点击.png"
            activeFocusOnTab: true
        }
    }

    ButtonGroup {
        id: btnGroup

        property int index: 1

        exclusive: true
        buttons: column.children
        onClicked: function (button) {
            index = button.btnIndex
            root.btnclicked(button.btnIndex)
            root.choiceImage(button.btnIndex)
        }
    }

    CusImage {
        id: image

        objectName: "devicePicture"
        x: 16
        y: 227
        width: 210
        height: 210
        source: imgPath + "blackSkin/" + root.pictureModel + root.language
                + root.pictureNames[root.pictureIndex - 1]
    }

    Connections {
        target: MainLogic

        // The picture shows the model that came or went, on the page whose button is checked.
        function onIsConnect(isConnect, devType) {
            root.pictureModel = devType
            root.choiceImage(btnGroup.index)
        }
    }
}
