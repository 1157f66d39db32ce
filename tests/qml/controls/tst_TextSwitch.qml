import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function test_state_written_and_clicked() {
        var sw = createTemporaryObject(switchComponent, testCase, { text: "Phantom power" });
        var toggle = findChild(sw, "toggle");
        var spy = createTemporaryObject(spyComponent, testCase, { target: sw, signalName: "switchChecked" });
        verify(!toggle.checked);
        compare(toggle.Accessible.name, "Phantom power");

        // The page's synchronisation moves the switch without a signal.
        sw.checkedState = 1;
        verify(toggle.checked);
        compare(spy.count, 0);

        mouseClick(toggle);
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], false);
        compare(sw.checkedState, 2);
        verify(!toggle.checked);

        // Still bound after the click.
        sw.checkedState = 1;
        verify(toggle.checked);

        // The keyboard does what the mouse does.
        toggle.forceActiveFocus();
        keyClick(Qt.Key_Space);
        compare(spy.count, 2);
        compare(spy.signalArguments[1][0], false);
        compare(sw.checkedState, 2);
    }

    function test_layout() {
        var sw = createTemporaryObject(switchComponent, testCase, { text: "Phantom power" });
        var toggle = findChild(sw, "toggle");
        compare(toggle.y, sw.children[0].height);
        compare(toggle.x, -5);
        compare(sw.children[0].font.pixelSize, 14);
    }

    name: "TextSwitch"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 200
    width: 300

    Component {
        id: switchComponent

        TextSwitch {
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
