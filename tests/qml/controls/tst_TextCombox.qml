import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function test_pick_entry_data() {
        return [
            { tag: "third of 16", model: undefined, pick: 2, shown: "3" },
            { tag: "names", model: ["低", "中", "高"], pick: 1, shown: "中" }
        ];
    }

    function test_pick_entry(data) {
        var props = { text: "Mode" };
        if (data.model)
            props.comboxModel = data.model;
        var tc = createTemporaryObject(comboComponent, testCase, props);
        var combo = findChild(tc, "combo");
        var spy = createTemporaryObject(spyComponent, testCase, { target: tc, signalName: "currentValue" });
        compare(combo.width, 56);
        compare(combo.height, 16);
        compare(combo.y, tc.children[0].height + 8);

        mouseClick(combo);
        tryCompare(combo.popup, "opened", true);
        var list = combo.popup.contentItem;
        compare(list.count, data.model ? data.model.length : 16);
        tryVerify(function() { return list.itemAtIndex(data.pick) !== null; });
        var entry = list.itemAtIndex(data.pick);
        compare(entry.height, combo.height + 10);
        mouseClick(entry);
        tryCompare(combo.popup, "visible", false);
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], data.pick);
        compare(tc.index, data.pick);
        compare(combo.contentItem.text, data.shown);
    }

    function test_index_from_page_and_keyboard() {
        var tc = createTemporaryObject(comboComponent, testCase, { text: "Mode" });
        var combo = findChild(tc, "combo");
        var spy = createTemporaryObject(spyComponent, testCase, { target: tc, signalName: "currentValue" });
        tc.index = 5;
        compare(combo.currentIndex, 5);
        compare(combo.contentItem.text, "6");
        compare(spy.count, 0);
        combo.forceActiveFocus();
        keyClick(Qt.Key_Down);
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], 6);
        compare(tc.index, 6);
    }

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
    Component {
        id: spyComponent

        SignalSpy {
        }
    }
}
