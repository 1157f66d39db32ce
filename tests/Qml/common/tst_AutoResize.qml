import QtQuick 2.12
import QtQuick.Controls 2.12
import QtTest 1.2
import "qrc:/Qml/common"

TestCase {
    id: testCase

    function geometry(item) {
        return [item.x, item.y, item.width, item.height];
    }

    // Resized as its target is: a control as a whole, told the ratio it draws its insides by (its
    // handle keeps following the value); the spacing of rows, corners and margins grow too; a row
    // keeps the size of what it holds and a wrapped text the height of its lines. begin()
    // measures new content anew; x and width follow the horizontal ratio, y and height the
    // vertical one, fonts the smaller.
    function test_follows_target() {
        resizer.horizontalRatio = 2;
        resizer.verticalRatio = 2;
        page.width = 800;
        compare(geometry(label), [20, 20, 200, 40]);
        compare(geometry(slider), [0, 240, 200, 40]);
        compare(slider.sizeRatio, 2);
        var handleX = slider.handle.x;
        slider.value = 1;
        verify(slider.handle.x > handleX);
        compare(row.spacing, 8);
        // The row lays itself out again before the next frame.
        tryCompare(row, "width", 2 * 20 + 8);
        compare(corner.radius, 6);
        compare(corner.x, row.x + row.width + 10);
        compare(note.height, note.implicitHeight);
        label.width = 50;
        resizer.begin();
        resizer.horizontalRatio = 1.5;
        resizer.verticalRatio = 1.25;
        resizer.resize();
        compare(geometry(label), [30, 25, 75, 50]);
        compare(label.font.pixelSize, 30);
    }

    name: "AutoResize"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown

    Item {
        id: page

        height: 300
        width: 400

        Text {
            id: label

            font.pixelSize: 12
            height: 20
            text: "设备未连接"
            width: 100
            x: 10
            y: 10
        }
        Slider {
            id: slider

            property real sizeRatio: 1

            height: 20
            width: 100
            y: 120
            Accessible.name: "level"
        }
        Row {
            id: row

            spacing: 4
            y: 150

            Repeater {
                model: 2

                Item {
                    height: 10
                    width: 10
                }
            }
        }
        Rectangle {
            id: corner

            anchors.left: row.right
            anchors.leftMargin: 5
            height: 10
            radius: 3
            width: 10
            y: 150
        }
        Text {
            id: note

            text: "设备未连接 设备未连接 设备未连接"
            width: 60
            wrapMode: Text.WordWrap
            y: 170
        }
        AutoResize {
            id: resizer
        }
    }
}
