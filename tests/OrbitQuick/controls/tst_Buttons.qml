import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0
import "qrc:/Qml/component"

// The state precedence of the three button kinds: disabled, then pressed or checked (selected
// counts for text, border and picture), then hovered, then normal.
TestCase {
    id: testCase

    readonly property string img: "qrc:/image/blackSkin/"

    // Colours compared by their names: derived colours need not be bit-identical.
    function sameColour(actual, expected, what) {
        compare(String(actual), String(Qt.lighter(expected, 1.0)), what);
    }

    function createButton(kind) {
        var props = { x: 20, y: 20, text: "Go", btnImgNormal: img + "Button_Play_On.png",
                      btnImgHovered: img + "Button_Pause_Off.png", btnImgPressed: img + "Button_Stop_On.png" };
        var c = kind === "CusButton" ? textButton : kind === "CusButton_Image" ? imageButton : imageTextButton;
        if (kind === "CusButton")
            props = { x: 20, y: 20, text: "Go" };
        var button = createTemporaryObject(c, area, props);
        verify(button);
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

    function test_cusButton_data() {
        return [
            { tag: "normal", state: {}, bg: CusConfig.controlColor, fg: CusConfig.controlTextColor, border: 1 },
            { tag: "hovered", state: { hovered: true }, bg: CusConfig.controlColor_hovered, fg: CusConfig.controlTextColor_hovered, border: 1 },
            { tag: "pressed", state: { pressed: true }, bg: CusConfig.controlColor_pressed, fg: CusConfig.controlTextColor_pressed, border: 0 },
            { tag: "checked", state: { checked: true }, bg: CusConfig.controlColor_pressed, fg: CusConfig.controlTextColor_pressed, border: 0 },
            { tag: "selected", state: { selected: true, hovered: true }, bg: CusConfig.controlColor_hovered, fg: CusConfig.controlTextColor_pressed, border: 0 },
            { tag: "disabled checked", state: { disabled: true, checked: true }, bg: CusConfig.controlColor_disabled, fg: CusConfig.controlTextColor_disabled, border: 0 }
        ];
    }

    function test_cusButton(data) {
        var button = createButton("CusButton");
        enter(button, data.state);
        sameColour(button.background.color, data.bg, "background");
        sameColour(button.contentItem.color, data.fg, "text");
        compare(button.background.border.width, data.border);
        leave(button, data.state);
    }

    function test_imageButtons_data() {
        return [
            { tag: "normal", state: {}, img: "Button_Play_On.png" },
            { tag: "hovered", state: { hovered: true }, img: "Button_Pause_Off.png" },
            { tag: "pressed", state: { pressed: true }, img: "Button_Stop_On.png" },
            { tag: "checked", state: { checked: true }, img: "Button_Stop_On.png" },
            { tag: "selected", state: { selected: true }, img: "Button_Stop_On.png" },
            { tag: "disabled", state: { disabled: true, checked: true }, img: "Button_Play_On.png" }
        ];
    }

    function test_imageButtons(data) {
        var button = createButton("CusButton_Image");
        enter(button, data.state);
        compare(button.background.children[0].source, Qt.resolvedUrl(img + data.img));
        compare(button.background.children[0].width, button.background.children[0].sourceSize.width / 2);
        leave(button, data.state);
    }

    function test_imageTextButton_data() {
        return [
            { tag: "normal", state: {}, bg: CusConfig.subBackgroundColor, fg: CusConfig.controlTextColor, img: "Button_Play_On.png" },
            { tag: "hovered", state: { hovered: true }, bg: Qt.darker(CusConfig.elementColor, 1.2), fg: CusConfig.controlTextColor_hovered, img: "Button_Pause_Off.png" },
            { tag: "pressed", state: { pressed: true }, bg: CusConfig.elementColor, fg: CusConfig.controlTextColor_pressed, img: "Button_Pause_Off.png" },
            { tag: "checked", state: { checked: true }, bg: CusConfig.elementColor, fg: CusConfig.controlTextColor_pressed, img: "Button_Pause_Off.png" },
            { tag: "selected", state: { selected: true }, bg: CusConfig.subBackgroundColor, fg: CusConfig.controlTextColor_pressed, img: "Button_Pause_Off.png" },
            { tag: "disabled", state: { disabled: true, checked: true }, bg: CusConfig.subBackgroundColor, fg: CusConfig.controlTextColor_disabled, img: "Button_Play_On.png" }
        ];
    }

    function test_imageTextButton(data) {
        var button = createButton("Button_ImageText");
        compare(button.width, area.width);
        compare(button.height, 36);
        enter(button, data.state);
        var bar = button.background;
        var icon = bar.children[0].children[0];
        var label = bar.children[0].children[1];
        compare(bar.height, 32);
        sameColour(bar.color, data.bg, "background");
        sameColour(label.color, data.fg, "text");
        compare(label.font.pixelSize, 16);
        compare(icon.source, Qt.resolvedUrl(img + data.img));
        leave(button, data.state);
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
