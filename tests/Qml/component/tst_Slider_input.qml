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

    function test_move_and_field_0_to_16() {
        var input = createTemporaryObject(inputComponent, testCase);
        var field = findChild(input, "field");
        var slider = findChild(input, "slider");
        // A move is taken as the value the device holds.
        mouseClick(slider, 8 + 12 * 11, slider.height / 2);
        compare(input.sliderValue, 12);
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
}
