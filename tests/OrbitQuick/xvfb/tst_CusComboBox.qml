import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0

// The arrow takes the colour of the box's state and turns while the list is open; the grab
// needs real rendering.
TestCase {
    id: testCase

    // The colour of the arrow's most opaque pixel.
    function arrowColour(combo) {
        var arrow = combo.indicator;
        var image = grabImage(combo);
        var best = null;
        for (var x = Math.floor(arrow.x); x < arrow.x + arrow.width; ++x) {
            for (var y = Math.floor(arrow.y); y < arrow.y + arrow.height; ++y) {
                var c = image.pixel(x, y);
                if (best === null || Math.abs(c.r - CusConfig.controlColor.r) + Math.abs(c.g - CusConfig.controlColor.g)
                        > Math.abs(best.r - CusConfig.controlColor.r) + Math.abs(best.g - CusConfig.controlColor.g))
                    best = c;
            }
        }
        return best;
    }

    function near(a, b) {
        return Math.abs(a.r - b.r) < 0.02 && Math.abs(a.g - b.g) < 0.02 && Math.abs(a.b - b.b) < 0.02;
    }

    function test_arrow_tint_and_turn() {
        var combo = createTemporaryObject(comboComponent, testCase);
        waitForRendering(combo);
        var normal = arrowColour(combo);
        verify(near(normal, CusConfig.imageColor), "arrow " + normal);

        mouseMove(combo, 10, 10);
        tryCompare(combo, "hovered", true);
        waitForRendering(combo);
        var hovered = arrowColour(combo);
        verify(near(hovered, CusConfig.imageColor_hovered), "hovered arrow " + hovered);

        mouseClick(combo, 10, 10);
        tryCompare(combo.popup, "opened", true);
        tryCompare(combo.indicator, "rotation", 180, 1000);
        keyClick(Qt.Key_Escape);
        tryCompare(combo.indicator, "rotation", 0, 1000);

        combo.enabled = false;
        waitForRendering(combo);
        verify(near(arrowColour(combo), CusConfig.imageColor_disabled));
    }

    name: "CusComboBox"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 200
    width: 200

    Component {
        id: comboComponent

        CusComboBox {
            Accessible.name: "numbers"
            height: 16
            model: [1, 2, 3]
            width: 56
            x: 20
            y: 20
        }
    }
}
