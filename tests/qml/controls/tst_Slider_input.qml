import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0
import "qrc:/Qml/component"

TestCase {
    id: testCase

    // Centre of the handle for a value: the handle is 16 wide on a 192-wide track of 16 steps.
    function handleX(value) {
        return 8 + value * 11;
    }

    function dragTo(slider, from, to) {
        mouseDrag(slider, handleX(from), slider.height / 2, handleX(to) - handleX(from), 0);
    }

    function typeValue(field, digits) {
        mouseClick(field);
        keyClick(Qt.Key_A, Qt.ControlModifier);
        for (var i = 0; i < digits.length; ++i)
            keyClick(digits.charAt(i));
        keyClick(Qt.Key_Return);
    }

    function test_drag_reports_changes_only() {
        var input = createTemporaryObject(inputComponent, testCase);
        var slider = findChild(input, "slider");
        var field = findChild(input, "field");
        var spy = createTemporaryObject(spyComponent, testCase, { target: input, signalName: "valueChange" });
        compare(field.text, "0");

        dragTo(slider, 0, 12);
        compare(slider.value, 12);
        verify(spy.count >= 1);
        compare(spy.signalArguments[spy.count - 1][0], 12);
        compare(input.tempValue, 12);
        compare(input.sliderValue, 12);
        compare(field.text, "12");
        // Every emitted value differs from the one before it.
        for (var i = 1; i < spy.count; ++i)
            verify(spy.signalArguments[i][0] !== spy.signalArguments[i - 1][0]);

        // A drag that ends where the last one did says nothing.
        spy.clear();
        dragTo(slider, 12, 12);
        compare(spy.count, 0);
    }

    function test_typed_value_always_reported() {
        var input = createTemporaryObject(inputComponent, testCase);
        var slider = findChild(input, "slider");
        var field = findChild(input, "field");
        var spy = createTemporaryObject(spyComponent, testCase, { target: input, signalName: "valueChange" });
        dragTo(slider, 0, 12);
        spy.clear();

        typeValue(field, "12");
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], 12);
        compare(slider.value, 12);

        typeValue(field, "7");
        compare(slider.value, 7);
        compare(spy.signalArguments[1][0], 7);

        // The device's later changes still move the slider and the field.
        input.sliderValue = 3;
        compare(slider.value, 3);
        compare(field.text, "3");
    }

    function test_field_accepts_0_to_16_only() {
        var input = createTemporaryObject(inputComponent, testCase);
        var field = findChild(input, "field");
        var slider = findChild(input, "slider");
        typeValue(field, "19");
        compare(slider.value, 1);
        typeValue(field, "x5");
        compare(slider.value, 5);
        input.sliderValue = 40;
        compare(slider.value, 16);
    }

    function test_box() {
        var input = createTemporaryObject(inputComponent, testCase);
        var slider = findChild(input, "slider");
        var box = findChild(input, "field").parent;
        compare(slider.width, 192);
        compare(box.x, slider.x + slider.width + 22);
        compare(box.width, 24);
        compare(box.height, 14);
        input.enabled = false;
        verify(Qt.colorEqual(box.color, Qt.darker("#848484", 1.2)));
        verify(Qt.colorEqual(findChild(input, "field").color, CusConfig.textColor_disabled));
    }

    name: "Slider_input"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 200
    width: 400

    Component {
        id: inputComponent

        Slider_input {
            height: 16
            text: "Monitor"
            width: 243
            x: 10
            y: 50
        }
    }
    Component {
        id: spyComponent

        SignalSpy {
        }
    }
}
