import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function test_value_both_ways() {
        var ts = createTemporaryObject(sliderComponent, testCase);
        var input = findChild(ts, "input");
        var slider = findChild(ts, "slider");
        var field = findChild(ts, "field");
        var spy = createTemporaryObject(spyComponent, testCase, { target: ts, signalName: "currentValue" });
        compare(input.x, 3);
        compare(input.y, 32);

        ts.sliderValue = 9;
        compare(slider.value, 9);
        compare(field.text, "9");
        compare(spy.count, 0);

        mouseClick(slider, 8 + 4 * 11, slider.height / 2);
        compare(spy.signalArguments[spy.count - 1][0], 4);
        compare(ts.sliderValue, 4);

        // A device update after the user's change still reaches the slider.
        ts.sliderValue = 14;
        compare(slider.value, 14);
        compare(field.text, "14");
    }

    function test_mute_toggle() {
        var ts = createTemporaryObject(sliderComponent, testCase);
        var mute = findChild(ts, "mute");
        var spy = createTemporaryObject(spyComponent, testCase, { target: ts, signalName: "muteClicked" });
        compare(mute.width, 12);
        compare(mute.btnImgNormal, "qrc:/image/blackSkin/mute_off.png");
        compare(mute.Accessible.name, "Monitor 静音");
        mouseClick(mute);
        compare(spy.count, 1);
        compare(spy.signalArguments[0][0], true);
        verify(ts.muteIsClicked);
        compare(mute.btnImgUrl, "qrc:/image/blackSkin/Button_Mute_On.png");
        ts.muteIsClicked = false;
        verify(!mute.checked);
        mute.forceActiveFocus();
        keyClick(Qt.Key_Space);
        compare(spy.signalArguments[1][0], true);
    }

    name: "TextSlider"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 200
    width: 400

    Component {
        id: sliderComponent

        TextSlider {
            text: "Monitor"
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
