import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function typeValue(field, digits) {
        mouseClick(field);
        keyClick(Qt.Key_A, Qt.ControlModifier);
        for (var i = 0; i < digits.length; ++i)
            keyClick(digits.charAt(i));
        keyClick(Qt.Key_Return);
    }

    // A move reports the new value and takes it as the device's: a move back to it says nothing.
    function test_move_taken_as_sent() {
        var input = createTemporaryObject(inputComponent, testCase);
        var slider = findChild(input, "slider");
        var spy = createTemporaryObject(spyComponent, testCase, { target: input, signalName: "valueChange" });
        mouseClick(slider, 8 + 12 * 11, slider.height / 2);
        compare(spy.signalArguments[spy.count - 1][0], 12);
        compare(input.sliderValue, 12);
        spy.clear();
        mouseClick(slider, 8 + 12 * 11, slider.height / 2);
        compare(spy.count, 0);
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
