import QtQuick 2.12
import QtTest 1.2
import OrbitQuick 1.0

TestCase {
    id: testCase

    function test_gallery_renders() {
        var gallery = createTemporaryObject(galleryComponent, testCase);
        verify(gallery, "the gallery did not load");
        // Let the theme settle before the picture is taken.
        tryVerify(function() { return Qt.colorEqual(CusConfig.textColor, "#FFFFFF"); });
        var combo = findChild(gallery, "openCombo");
        mouseClick(combo);
        tryCompare(combo.popup, "opened", true);
        // After the click, which would close it.
        var tip = findChild(gallery, "tip");
        tip.open();
        tryCompare(tip, "opened", true);
        waitForRendering(gallery);
        wait(200);
        var shot = grabImage(gallery);
        shot.save(artefactDir + "/gallery.png");
        compare(shot.width, 802);
        // The background is the theme's, and the title bar of TitleText is the accent.
        verify(Qt.colorEqual(shot.pixel(795, 475), CusConfig.mainBackgroundColor));
        verify(Qt.colorEqual(shot.pixel(301, 28), CusConfig.elementColor), "title bar " + shot.pixel(301, 28));
    }

    name: "Gallery"
    // A TestCase is invisible by default; the controls under test must be shown to get events.
    visible: true
    when: windowShown
    height: 482
    width: 802

    Component {
        id: galleryComponent

        Gallery {
        }
    }
}
