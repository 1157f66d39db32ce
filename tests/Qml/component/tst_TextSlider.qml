import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

TestCase {
    id: testCase

    function test_mute_looks_and_name() {
        var ts = createTemporaryObject(sliderComponent, testCase);
        var mute = findChild(ts, "mute");
        compare(mute.Accessible.name, "Monitor 静音");
        mouseClick(mute);
        mouseMove(testCase, 390, 190);
        verify(ts.muteIsClicked);
        compare(mute.btnImgUrl, "qrc:/image/blackSkin/Button_Mute_On.png");
        // The device's value unmutes it.
        ts.muteIsClicked = false;
        compare(mute.btnImgUrl, "qrc:/image/blackSkin/mute_off.png");
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
}
