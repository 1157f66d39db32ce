import QtQuick 2.15

// The scene's root: the connection state and the attached model's name, until the panels come.
Rectangle {
    id: root

    property bool connected: false
    property string devType: ""

    color: "#282A2B"
    Component.onCompleted: Tran.reTrans(Tran.getLanguage())

    Connections {
        target: MainLogic

        function onIsConnect(isConnect, devType) {
            root.connected = isConnect
            root.devType = devType
        }
    }

    Column {
        anchors.centerIn: parent
        spacing: 8

        Text {
            objectName: "productName"
            anchors.horizontalCenter: parent.horizontalCenter
            color: "#FFFFFF"
            font.pixelSize: 16
            text: (root.devType === "vx01" ? "Vorlet Cantor 10 MK2 Control "
                                           : "Vorlet Stage 20 MK2 Control ") + MainLogic.getSoftVersion()
        }

        Text {
            objectName: "connectionState"
            anchors.horizontalCenter: parent.horizontalCenter
            color: root.connected ? "green" : "red"
            font.pixelSize: 14
            text: root.connected ? qsTr("设备已连接") : qsTr("设备未连接")
        }
    }
}
