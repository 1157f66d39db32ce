import QtQuick 2.9
import OrbitQuick 1.0

// Help: frequent questions and the ways to more help.
Item {
    BasicTextF2 {
        x: 16
        y: 48
        // Room to spare: scaled fonts do not grow exactly with the scale.
        width: 290
        font.bold: true
        color: CusConfig.textColor
        text: qsTr("常见问题")
    }

    Column {
        x: 16
        y: 69
        width: 200
        height: 163

        Repeater {
            model: [qsTr("Q:设备连接电脑指示灯不亮"), qsTr("Q:电脑播放音乐无声"), qsTr("Q:麦克风无声"),
                qsTr("Q：手机端直播无声")]

            BasicTextF2 {
                width: 290
                wrapMode: Text.WordWrap
                text: modelData
            }
        }
    }

    BasicTextF2 {
        x: 16
        y: 235
        width: 290
        text: qsTr("更多常见问题>>")
    }

    Row {
        x: 16
        y: 255
        width: 313
        height: 64
        spacing: 12

        Repeater {
            model: [qsTr("帮助中心"), qsTr("使用手册"), qsTr("意见反馈")]

            CusButton {
                height: 18
                text: modelData
                activeFocusOnTab: true
                Accessible.name: text
                Accessible.role: Accessible.Button
            }
        }
    }
}
