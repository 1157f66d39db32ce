import QtQuick 2.12
import QtTest 1.2
import "qrc:/Qml/component"

// The application's small components, each on its own.
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

    function typeValue(field, digits) {
        mouseClick(field);
        keyClick(Qt.Key_A, Qt.ControlModifier);
        for (var i = 0; i < digits.length; ++i)
            keyClick(digits.charAt(i));
        keyClick(Qt.Key_Return);
    }

    function test_level_selector_index_data() {
        return [
            { tag: "-1", index: -1, reads: 0, dots: [0] },
            { tag: "3", index: 3, reads: 3, dots: [3] },
            { tag: "4", index: 4, reads: 4, dots: [] }
        ];
    }

    function test_level_selector_index(data) {
        var nav = createTemporaryObject(navComponent, testCase, { x: 20, y: 20, checkedIndex: 1 });
        nav.checkedIndex = data.index;
        compare(nav.checkedIndex, data.reads);
        compare(checkedDots(nav), data.dots);
    }

    function test_slider_input_move_and_field_0_to_16() {
        var input = createTemporaryObject(inputComponent, testCase, { x: 10, y: 50, width: 243, height: 16, text: "Monitor" });
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

    function test_text_combox_list_scrolls_when_long() {
        var combo = findChild(createTemporaryObject(comboComponent, testCase, { x: 10, y: 10, text: "Mode" }), "combo");
        mouseClick(combo);
        tryCompare(combo.popup, "opened", true);
        compare(combo.popup.height, combo.defaultHeight);
        compare(combo.popup.y, combo.height);
        // Each entry as high as the box.
        compare(combo.popup.contentItem.itemAtIndex(0).height, combo.height);
        var bar = findChild(combo.popup.contentItem, "scrollBar");
        verify(bar.visible);
        verify(bar.size < 1);
        keyClick(Qt.Key_Escape);
        tryCompare(combo.popup, "visible", false);
    }

    function test_text_slider_mute_looks_and_name() {
        var ts = createTemporaryObject(sliderComponent, testCase, { x: 10, y: 10, text: "Monitor" });
        var mute = findChild(ts, "mute");
        compare(mute.Accessible.name, "Monitor 静音");
        mouseClick(mute);
        mouseMove(testCase, 390, 390);
        verify(ts.muteIsClicked);
        compare(mute.btnImgUrl, "qrc:/image/blackSkin/Button_Mute_On.png");
        // The device's value unmutes it.
        ts.muteIsClicked = false;
        compare(mute.btnImgUrl, "qrc:/image/blackSkin/mute_off.png");
    }

    name: "Components"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 400
    width: 400

    Component {
        id: navComponent

        BtnNaviga {
        }
    }
    Component {
        id: inputComponent

        Slider_input {
        }
    }
    Component {
        id: comboComponent

        TextCombox {
        }
    }
    Component {
        id: sliderComponent

        TextSlider {
        }
    }
}
