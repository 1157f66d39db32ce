import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function checkedDots(nav) {
        var on = [];
        for (var i = 0; i < 4; ++i) {
            if (findChild(nav, "dot" + i).checked)
                on.push(i);
        }
        return on;
    }

    function test_checked_index_data() {
        return [
            { tag: "-1", index: -1, reads: 0, dots: [0] },
            { tag: "2", index: 2, reads: 2, dots: [2] },
            { tag: "3", index: 3, reads: 3, dots: [3] },
            { tag: "4", index: 4, reads: 4, dots: [] }
        ];
    }

    function test_checked_index(data) {
        var nav = createTemporaryObject(navComponent, testCase, { checkedIndex: 1 });
        nav.checkedIndex = data.index;
        compare(nav.checkedIndex, data.reads);
        compare(checkedDots(nav), data.dots);
    }

    name: "BtnNaviga"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 100
    width: 300

    Component {
        id: navComponent

        BtnNaviga {
            x: 20
            y: 20
        }
    }
}
