import QtQuick 2.9
import OrbitQuick 1.0

// Help: frequent questions and the ways to more help on the maker's site.
Item {
    MakerSite {
        id: site
    }

    BasicTextF2 {
        x: 16
        y: 48
        width: 290
        font.bold: true
        color: CusConfig.textColor
        text: qsTr("常见问题")
    }

    // The English questions take several lines each, so what follows them moves down with
    // them; their lines stand closer than the questions.
    Column {
        x: 16
        y: 69
        spacing: 4

        Column {
            spacing: 2

            Repeater {
                model: [qsTr("Q:设备连接电脑指示灯不亮"), qsTr("Q:电脑播放音乐无声"), qsTr("Q:麦克风无声"),
                    qsTr("Q：手机端直播无声")]

                BasicTextF2 {
                    width: 300
                    color: CusConfig.controlTextColor
                    lineHeight: 0.8
                    wrapMode: Text.WordWrap
                    text: modelData
                }
            }
        }

        LinkText {
            objectName: "faqLink"
            width: 290
            url: site.faq
            text: qsTr("更多常见问题>>")
        }

        Row {
            spacing: 12

            Repeater {
                model: [
                    { "text": qsTr("帮助中心"), "url": site.helpCenter },
                    { "text": qsTr("使用手册"), "url": site.manual },
                    { "text": qsTr("意见反馈"), "url": site.feedback }
                ]

                CusButton {
                    objectName: "helpButton" + index
                    width: 90
                    height: 18
                    text: modelData.text
                    activeFocusOnTab: true
                    Accessible.name: text
                    Accessible.role: Accessible.Link
                    onClicked: Qt.openUrlExternally(modelData.url)
                }
            }
        }
    }
}
