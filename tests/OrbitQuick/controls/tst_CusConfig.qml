import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0

TestCase {
    id: testCase

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

    name: "CusConfig"
}
