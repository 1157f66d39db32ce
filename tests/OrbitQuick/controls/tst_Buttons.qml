import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0
import "qrc:/Qml/component"

// The state precedence of the three button kinds: disabled, then pressed or checked (selected
// counts for text, border and picture), then hovered, then normal; disabled texts readable.
TestCase {
    id: testCase

    readonly property string img: "qrc:/image/blackSkin/"

    // Colours compared by their names: derived colours need not be bit-identical.
    function sameColour(actual, expected, what) {
        compare(String(actual), String(Qt.lighter(expected, 1.0)), what);
    }

    // Relative luminance as the accessibility guidelines define it.
    function luminance(colour) {
        var linear = function(c) { return c <= 0.03928 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b) + 0.05;
    }

    function createButton(kind, y) {
        var props = { x: 20, y: y || 20, text: "Go", btnImgNormal: img + "Button_Play_On.png",
                      btnImgHovered: img + "Button_Pause_Off.png", btnImgPressed: img + "Button_Stop_On.png" };
        var c = kind === "CusButton" ? textButton : kind === "CusButton_Image" ? imageButton : imageTextButton;
        if (kind === "CusButton")
            props = { x: 20, y: y || 20, text: "Go" };
        var button = createTemporaryObject(c, area, props);
        mouseMove(area, 300, 300);
        return button;
    }

    // Puts the button into the state by the user's means where there is one.
    function enter(button, state) {
        if (state.disabled)
            button.enabled = false;
        if (state.checked)
            button.checked = true;
        if (state.selected)
            button.selected = true;
        if (state.hovered || state.pressed)
            mouseMove(button, button.width / 2, button.height / 2);
        if (state.pressed)
            mousePress(button, button.width / 2, button.height / 2);
    }

    function leave(button, state) {
        if (state.pressed)
            mouseRelease(button, button.width / 2, button.height / 2);
    }

    // Per state: CusButton's background, text colour and border width; CusButton_Image's
    // picture; Button_ImageText's bar, text colour and icon.
    function test_states_data() {
        var c = CusConfig;
        return [
            { tag: "normal", state: {}, button: [c.controlColor, c.controlTextColor, 1], image: "Button_Play_On.png",
              nav: [c.subBackgroundColor, c.controlTextColor, "Button_Play_On.png"] },
            { tag: "hovered", state: { hovered: true }, button: [c.controlColor_hovered, c.controlTextColor_hovered, 1],
              image: "Button_Pause_Off.png", nav: [c.navigationColor_hovered, c.controlTextColor_hovered, "Button_Pause_Off.png"] },
            { tag: "pressed", state: { pressed: true }, button: [c.controlColor_pressed, c.controlTextColor_pressed, 0],
              image: "Button_Stop_On.png", nav: [c.elementColor, c.controlTextColor_pressed, "Button_Pause_Off.png"] },
            { tag: "checked", state: { checked: true }, button: [c.controlColor_pressed, c.controlTextColor_pressed, 0],
              image: "Button_Stop_On.png", nav: [c.elementColor, c.controlTextColor_pressed, "Button_Pause_Off.png"] },
            { tag: "selected", state: { selected: true, hovered: true }, button: [c.controlColor_hovered, c.controlTextColor_pressed, 0],
              image: "Button_Stop_On.png", nav: [c.navigationColor_hovered, c.controlTextColor_pressed, "Button_Pause_Off.png"] },
            { tag: "disabled checked", state: { disabled: true, checked: true }, button: [c.controlColor_disabled, c.controlTextColor_disabled, 0],
              image: "Button_Play_On.png", nav: [c.controlColor_disabled, c.controlTextColor_disabled, "Button_Play_On.png"] }
        ];
    }

    function test_states(data) {
        var button = createButton("CusButton");
        enter(button, data.state);
        sameColour(button.background.color, data.button[0], "background");
        sameColour(button.contentItem.color, data.button[1], "text");
        compare(button.background.border.width, data.button[2]);
        leave(button, data.state);

        var image = createButton("CusButton_Image", 80);
        enter(image, data.state);
        compare(image.background.children[0].source, Qt.resolvedUrl(img + data.image));
        compare(image.background.children[0].width, image.background.children[0].sourceSize.width / 2);
        leave(image, data.state);

        var nav = createButton("Button_ImageText", 140);
        enter(nav, data.state);
        sameColour(nav.background.color, data.nav[0], "bar");
        sameColour(nav.background.children[0].children[1].color, data.nav[1], "text");
        compare(nav.background.children[0].children[0].source, Qt.resolvedUrl(img + data.nav[2]));
        leave(nav, data.state);
    }

    // Disabled texts keep a contrast of 3 to what they are drawn on.
    function test_disabled_contrast_data() {
        return [
            { tag: "button", text: CusConfig.controlTextColor_disabled, background: CusConfig.controlColor_disabled },
            { tag: "navigation button", text: CusConfig.controlTextColor_disabled, background: CusConfig.controlColor_disabled },
            { tag: "number field", text: CusConfig.textColor_disabled, background: CusConfig.controlBorderColor_disabled }
        ];
    }

    function test_disabled_contrast(data) {
        var a = luminance(data.text);
        var b = luminance(data.background);
        verify(Math.max(a, b) / Math.min(a, b) >= 3, data.text + " on " + data.background);
    }

    // Disabled reads as disabled: background and text darker than enabled ones.
    function test_disabled_recedes() {
        verify(luminance(CusConfig.controlColor_disabled) < luminance(CusConfig.controlColor));
        verify(luminance(CusConfig.controlTextColor_disabled) < luminance(CusConfig.controlTextColor));
    }

    function test_keyboard_and_tooltip() {
        var button = createButton("CusButton");
        button.tipText = "Tip";
        var spy = createTemporaryObject(spyComponent, testCase, { target: button, signalName: "clicked" });
        button.forceActiveFocus();
        keyClick(Qt.Key_Space);
        compare(spy.count, 1);
        compare(button.Accessible.name, "Go");
        verify(!button.tipItem.visible);
        mouseMove(button, 5, 5);
        tryCompare(button.tipItem, "opened", true, 2000);
    }

    function test_tab_moves_visible_focus() {
        var first = createButton("CusButton");
        var second = createTemporaryObject(imageButton, area, { x: 120, y: 20, text: "Mute" });
        mouseClick(first);
        // The focus frame is for keyboard users only.
        verify(!first.visualFocus);
        keyClick(Qt.Key_Tab);
        verify(second.activeFocus);
        verify(second.visualFocus);
        var frames = 0;
        for (var i = 0; i < second.children.length; ++i)
            frames += second.children[i].border !== undefined && second.children[i].visible ? 1 : 0;
        compare(frames, 1);
        keyClick(Qt.Key_Backtab);
        verify(first.activeFocus);
    }

    name: "Buttons"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 400
    width: 400

    Item {
        id: area

        height: 300
        width: 300
    }
    Component {
        id: textButton

        CusButton {
        }
    }
    Component {
        id: imageButton

        CusButton_Image {
        }
    }
    Component {
        id: imageTextButton

        Button_ImageText {
        }
    }
    Component {
        id: spyComponent

        SignalSpy {
        }
    }
}
