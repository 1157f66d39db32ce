import QtQuick 2.12
import QtQuick.Controls 2.12
import OrbitQuick 1.0

// A button drawn by one of four pictures. The pictures are made at twice the size they are
// shown at in the 96-DPI design, so they stay sharp up to a scale of 2.
Button {
    id: control

    // The scale of the scene around it: the picture and the focus frame grow with it.
    property real sizeRatio: 1
    property bool selected: false
    // The focus ring inside the button's edge, for a button that fills a clipped strip.
    property bool focusInset: false
    property string btnImgNormal
    property string btnImgHovered
    property string btnImgPressed
    property string btnImgDisbaled
    property string btnImgUrl: !enabled ? btnImgNormal
                                        : pressed || selected || checked ? btnImgPressed
                                        : hovered ? btnImgHovered
                                        : btnImgNormal
    property string tipText: ""
    property alias tipItem: tip
    property alias tipVisible: tip.visible
    property alias tipDelay: tip.delay
    property alias tipTimeout: tip.timeout

    Accessible.name: text
    Accessible.role: Accessible.Button
    activeFocusOnTab: true
    hoverEnabled: true
    implicitHeight: 24
    implicitWidth: 24
    padding: 0

    background: Item {
        CusImage {
            height: sourceSize.height / 2 * control.sizeRatio
            source: control.btnImgUrl
            width: sourceSize.width / 2 * control.sizeRatio
        }
    }
    contentItem: Item {
    }

    BasicTooltip {
        id: tip

        text: control.tipText
        visible: control.hovered && control.tipText !== ""
    }
    // Shown only when the keyboard moved the focus here.
    FocusFrame {
        anchors.fill: parent
        inset: control.focusInset
        sizeRatio: control.sizeRatio
        visible: control.visualFocus
    }
    TransArea {
    }
}
