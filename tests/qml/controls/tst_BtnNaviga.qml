import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0
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

    function test_click_step() {
        var nav = createTemporaryObject(navComponent, testCase);
        var spy = createTemporaryObject(spyComponent, testCase, { target: nav, signalName: "currentValue" });
        var dot = findChild(nav, "dot2");
        mouseClick(dot);
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], 2);
        compare(nav.checkedIndex, 2);
        compare(checkedDots(nav), [2]);
        compare(dot.scale, 2);
        compare(findChild(nav, "dot0").scale, 1);
        compare(String(findChild(nav, "label2").color), String(CusConfig.controlBorderColor_pressed));
        compare(String(findChild(nav, "label0").color), String(CusConfig.controlBorderColor));
        // Synchronisation from the page still works after the click.
        nav.checkedIndex = 1;
        compare(checkedDots(nav), [1]);
    }

    function test_steps() {
        var nav = createTemporaryObject(navComponent, testCase);
        for (var i = 0; i < 4; ++i) {
            var dot = findChild(nav, "dot" + i);
            compare(dot.parent.x, i * 35);
            compare(dot.width, 8);
            compare(findChild(nav, "label" + i).text, i === 0 ? "关" : String(i));
            compare(dot.Accessible.name, i === 0 ? "关" : String(i));
        }
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
    Component {
        id: spyComponent

        SignalSpy {
        }
    }
}
