import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0

TestCase {
    id: testCase

    function cleanup() {
        CusConfig.currentTheme = 1;
        tryVerify(function() { return Qt.colorEqual(CusConfig.textColor, "#FFFFFF"); }, 2000);
    }

    // Relative luminance and contrast ratio as the accessibility guidelines define them.
    function luminance(colour) {
        var linear = function(c) { return c <= 0.03928 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
    }

    // Disabled texts stay readable on what they are drawn on.
    function test_disabled_contrast_data() {
        return [
            { tag: "disabled button", text: CusConfig.controlTextColor_disabled, background: CusConfig.controlColor_disabled },
            { tag: "disabled navigation button", text: CusConfig.controlTextColor_disabled, background: CusConfig.subBackgroundColor },
            { tag: "disabled number field", text: CusConfig.textColor_disabled, background: CusConfig.controlBorderColor_disabled }
        ];
    }

    function test_disabled_contrast(data) {
        var a = luminance(data.text) + 0.05;
        var b = luminance(data.background) + 0.05;
        verify(Math.max(a, b) / Math.min(a, b) >= 3, data.text + " on " + data.background);
    }

    function test_switching_themes() {
        // Controls read the one CusConfig instance that the test switches.
        var button = createTemporaryObject(buttonComponent, testCase);
        CusConfig.currentTheme = 0;
        compare(String(button.background.color), String(CusConfig.controlColor));
        compare(String(button.contentItem.color), String(CusConfig.controlBorderColor));
        // Accents switch at once; the large areas fade over 400 ms.
        verify(Qt.colorEqual(CusConfig.elementColor, "#ec4141"));
        verify(Qt.colorEqual(CusConfig.splitLineColor, "#f38d8d"));
        verify(!Qt.colorEqual(CusConfig.mainBackgroundColor, "#ffffff"));
        tryVerify(function() { return Qt.colorEqual(CusConfig.mainBackgroundColor, "#ffffff"); }, 2000);
        tryVerify(function() { return Qt.colorEqual(CusConfig.textColor, "#282828"); }, 2000);
        verify(Qt.colorEqual(CusConfig.controlBorderColor_hovered, Qt.lighter(CusConfig.controlBorderColor, 1.8)));
        CusConfig.currentTheme = 5;
        verify(Qt.colorEqual(CusConfig.elementColor, "#02883b"));
    }

    name: "CusConfig"

    Component {
        id: buttonComponent

        CusButton {
            text: "Go"
            Accessible.name: text
        }
    }
}
