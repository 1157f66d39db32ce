import QtQuick 2.12
import QtQuick.Controls 2.12
import QtTest 1.2
import "qrc:/Qml/common"

TestCase {
    id: testCase

    function geometry(item) {
        return [item.x, item.y, item.width, item.height];
    }

    // x and width follow the horizontal ratio, y and height the vertical one, fonts the smaller.
    function test_ratios() {
        var page = createTemporaryObject(pageComponent, testCase);
        page.resizer.horizontalRatio = 1.5;
        page.resizer.verticalRatio = 1.25;
        compare(geometry(page.label), [10, 10, 100, 20]);
        page.resizer.resize();
        compare(geometry(page.label), [15, 12.5, 150, 25]);
        compare(page.label.font.pixelSize, 15);
    }

    // Resized as its target is: a control as a whole, told the ratio it draws its insides by (its
    // handle keeps following the value); the spacing of rows, corners and margins grow too; a row
    // keeps the size of what it holds and a wrapped text the height of its lines. begin()
    // measures new content anew.
    function test_follows_target() {
        var page = createTemporaryObject(pageComponent, testCase);
        page.resizer.horizontalRatio = 2;
        page.resizer.verticalRatio = 2;
        compare(geometry(page.label), [10, 10, 100, 20]);
        page.width = 800;
        compare(geometry(page.label), [20, 20, 200, 40]);
        compare(geometry(page.slider), [0, 240, 200, 40]);
        compare(page.slider.sizeRatio, 2);
        var handleX = page.slider.handle.x;
        page.slider.value = 1;
        verify(page.slider.handle.x > handleX);
        compare(page.row.spacing, 8);
        // The row lays itself out again before the next frame.
        tryCompare(page.row, "width", 2 * 20 + 8);
        compare(page.corner.radius, 6);
        compare(page.corner.x, page.row.x + page.row.width + 10);
        compare(page.note.height, page.note.implicitHeight);
        page.label.width = 50;
        page.resizer.begin();
        page.resizer.horizontalRatio = 1;
        page.resizer.verticalRatio = 1;
        page.resizer.resize();
        compare(geometry(page.label), [20, 20, 50, 40]);
    }

    name: "AutoResize"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown

    Component {
        id: pageComponent

        Item {
            property alias resizer: resizer
            property alias label: label
            property alias slider: slider
            property alias row: row
            property alias corner: corner
            property alias note: note

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

                Item {
                    height: 10
                    width: 10
                }
                Item {
                    height: 10
                    width: 10
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
}
