import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function test_list_scrolls_when_long() {
        var tc = createTemporaryObject(comboComponent, testCase, { text: "Mode" });
        var combo = findChild(tc, "combo");
        mouseClick(combo);
        tryCompare(combo.popup, "opened", true);
        compare(combo.popup.height, combo.defaultHeight);
        compare(combo.popup.y, combo.height);
        var bar = findChild(combo.popup.contentItem, "scrollBar");
        verify(bar.visible);
        verify(bar.size < 1);
        keyClick(Qt.Key_Escape);
        tryCompare(combo.popup, "visible", false);
    }

    name: "TextCombox"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 400
    width: 300

    Component {
        id: comboComponent

        TextCombox {
            x: 10
            y: 10
        }
    }
}
