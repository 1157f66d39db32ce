// How the scene looks to someone who needs it legible: the keyboard focus visible on every
// control, the high-contrast look, the scene without a device. Measured on the pixels drawn.
#include "app/AppearanceSettings.h"
#include "app/MainWidget.h"
#include "support/FocusRing.h"
#include "support/SceneRig.h"

#include <QQuickItem>
#include <QSet>
#include <QSettings>
#include <QtTest>

namespace {

const QString kChinese = QStringLiteral("简体中文");
const QString kEnglish = QStringLiteral("English");

QColor colourOf(QObject *item, const char *property = "color")
{
    return item->property(property).value<QColor>();
}

QString nameOf(QQuickItem *item)
{
    for (QQuickItem *named = item; named; named = named->parentItem()) {
        if (!named->objectName().isEmpty())
            return named->objectName() + QLatin1Char(' ') + QLatin1String(item->metaObject()->className());
    }
    return QLatin1String(item->metaObject()->className());
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private:
    static QSettings settings()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brindle"),
                         QStringLiteral("vorlet"));
    }

    // Walks the Tab chain from `start` until it comes round; measures the ring of every control
    // not `seen` before against the same scene without the focus. `seen` grows. The first ring
    // measured is left as screenshot `shot`.
    static void everyRingStandsOut(SceneRig &rig, QQuickItem *start, double scale, QSet<QQuickItem *> &seen,
                                   QStringList &faults, const QString &shot)
    {
        bool shown = false;
        start->forceActiveFocus(Qt::TabFocusReason);
        for (int i = 0; i < 120; ++i) {
            rig.key(Qt::Key_Tab);
            QQuickItem *focus = rig.focusItem();
            if (!focus || focus == start)
                return;
            if (seen.contains(focus))
                continue;
            seen.insert(focus);
            const QImage focused = rig.grab();
            rig.root()->forceActiveFocus(Qt::OtherFocusReason);
            const QImage plain = rig.grab();
            focus->forceActiveFocus(Qt::TabFocusReason);
            if (!shown)
                shown = !rig.saveScreenshot(shot).isEmpty();
            const FocusRing ring = FocusRing::measure(focused, plain);
            if (!ring.found || ring.thickness < 1.9 * scale || ring.neighboursAtThree < 0.95)
                faults << nameOf(focus) + QStringLiteral(": ") + ring.describe();
        }
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        settings().remove(QStringLiteral("HighContrast"));
        settings().remove(QStringLiteral("cusKey0"));
    }

    // Every control of every page of both models and of the general settings page, focused by
    // Tab: a ring at least 2 pixels wide (by the scale) that stands at 3:1 to what lies next to it.
    void focusIsVisible_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<double>("scale");
        for (const QString model : {"vx02", "vx01"}) {
            QTest::addRow("%s 1.0", qPrintable(model)) << (model == "vx02" ? kEnglish : kChinese) << 1.0;
            QTest::addRow("%s 2.0", qPrintable(model)) << (model == "vx02" ? kChinese : kEnglish) << 2.0;
        }
    }

    void focusIsVisible()
    {
        QFETCH(QString, language);
        QFETCH(double, scale);
        SceneRig rig(QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(' '), 0, 0));
        rig.setLanguage(language);
        rig.setScale(scale);
        // Away from every control: nothing hovered.
        QTest::mouseMove(rig.view(), QPoint(1, rig.view()->height() - 1));
        QSet<QQuickItem *> seen;
        QStringList faults;
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        // From the last page button the walk enters the page.
        for (const char *nav : {"navHardware", "navVolume", "navEffect"}) {
            rig.click(rig.item(QLatin1String(nav)));
            QTest::mouseMove(rig.view(), QPoint(1, rig.view()->height() - 1));
            everyRingStandsOut(rig, rig.item(QStringLiteral("navEffect")), scale, seen, faults,
                               QStringLiteral("focus-%1-%2").arg(tag, QLatin1String(nav)));
        }
        const int pages = seen.size();
        rig.click(rig.item(QStringLiteral("settingButton")));
        rig.click(rig.item(QStringLiteral("generalTab")));
        QTest::mouseMove(rig.view(), QPoint(1, 1));
        everyRingStandsOut(rig, rig.item(QStringLiteral("generalTab")), scale, seen, faults,
                           QStringLiteral("focus-%1-settings").arg(tag));
        // Each page's controls, the title bar's and the settings' were reached.
        QVERIFY2(pages >= 25 && seen.size() >= pages + 6, qPrintable(QString::number(seen.size())));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Off (the default) the theme is as designed; switched on by the general page's switch, the
    // texts stand at 4.5:1 and the edges of controls at 3:1 on the page, and it is remembered.
    void highContrastRaisesContrast()
    {
        SceneRig rig(QStringLiteral("vx02"));
        rig.click(rig.item(QStringLiteral("navVolume")));
        QQuickItem *page = rig.page();
        // What is measured: status texts against the page, the number box's text and its edge,
        // a slider's track, the text of a page button that is not chosen on its bar.
        const auto measure = [&rig, page]() {
            QQuickItem *nav = rig.item(QStringLiteral("navHardware"));
            QQuickItem *row = rig.item(QStringLiteral("volumeRow0"));
            QQuickItem *slider = row->findChild<QQuickItem *>(QStringLiteral("slider"));
            QQuickItem *field = row->findChild<QQuickItem *>(QStringLiteral("field"));
            const QImage shot = rig.grab();
            const QColor backdrop = shot.pixelColor(rig.toView(page, QPointF(page->width() - 4, 4)));
            const QColor bar = shot.pixelColor(rig.toView(nav, QPointF(2, nav->height() / 2)));
            const QColor box = colourOf(field->parentItem());
            const QColor edge =
                field->parentItem()->property("border").value<QObject *>()->property("width").toInt() > 0
                ? colourOf(field->parentItem()->property("border").value<QObject *>())
                : box;
            const QColor track = colourOf(slider->property("background").value<QObject *>());
            return QVector<double>{contrastRatio(colourOf(rig.find(QStringLiteral("devStateConnect"))), backdrop),
                                   contrastRatio(colourOf(rig.find(QStringLiteral("snText"))), backdrop),
                                   contrastRatio(colourOf(field), box),
                                   contrastRatio(edge, backdrop),
                                   contrastRatio(track, backdrop),
                                   contrastRatio(colourOf(nav, "textColor"), bar)};
        };
        const QVector<double> plain = measure();
        QCOMPARE(colourOf(rig.find(QStringLiteral("snText"))), QColor("green"));
        QVERIFY(plain[2] < 4.5);

        rig.click(rig.item(QStringLiteral("settingButton")));
        rig.click(rig.item(QStringLiteral("generalTab")));
        QQuickItem *toggle = rig.item(QStringLiteral("highContrastSwitch"))->findChild<QQuickItem *>("toggle");
        QVERIFY(!toggle->property("checked").toBool());
        rig.click(toggle);
        QTRY_VERIFY(rig.window()->appearance()->highContrast());
        QVERIFY(settings().value(QStringLiteral("HighContrast")).toBool());
        // The switch's own track, off: drawn to the right of its knob.
        QQuickItem *restore = rig.item(QStringLiteral("restoreSwitch"))->findChild<QQuickItem *>("toggle");
        auto *indicator = restore->property("indicator").value<QQuickItem *>();
        const QImage shot = rig.grab();
        const QColor track =
            shot.pixelColor(rig.toView(indicator, QPointF(indicator->width() - 3, indicator->height() / 2)));
        const QColor beside =
            shot.pixelColor(rig.toView(indicator, QPointF(indicator->width() + 6, indicator->height() / 2)));
        QVERIFY2(contrastRatio(track, beside) >= 3, qPrintable(track.name() + " on " + beside.name()));
        rig.key(Qt::Key_Escape);

        const QVector<double> high = measure();
        const double wanted[] = {4.5, 4.5, 4.5, 3, 3, 4.5};
        for (int i = 0; i < high.size(); ++i) {
            QVERIFY2(high[i] >= wanted[i] && high[i] > plain[i] - 0.01,
                     qPrintable(QStringLiteral("%1: %2 from %3").arg(i).arg(high[i]).arg(plain[i])));
        }
        QVERIFY(!rig.saveScreenshot(QStringLiteral("vx02-volume-high-contrast")).isEmpty());
        rig.window()->appearance()->setHighContrast(false);
    }

    // The general page shows the stored choice when it opens, and the scene starts in it.
    void storedChoiceShown()
    {
        settings().setValue(QStringLiteral("HighContrast"), true);
        SceneRig rig(QStringLiteral("vx01"));
        QCOMPARE(colourOf(rig.find(QStringLiteral("snText"))), QColor("#5BD75B"));
        rig.click(rig.item(QStringLiteral("settingButton")));
        rig.click(rig.item(QStringLiteral("generalTab")));
        QVERIFY(rig.item(QStringLiteral("highContrastSwitch"))
                    ->findChild<QQuickItem *>("toggle")
                    ->property("checked")
                    .toBool());
        QVERIFY(!rig.saveScreenshot(QStringLiteral("settings-general-high-contrast")).isEmpty());
        settings().remove(QStringLiteral("HighContrast"));
    }

    // Without a device every control of every page is disabled and the pane says how to connect
    // one, in both languages; a device brings the controls back and the hint goes.
    void withoutDeviceDisabledWithHint()
    {
        SceneRig rig;
        for (const QString &language : {kChinese, kEnglish}) {
            rig.setLanguage(language);
            QQuickItem *hint = rig.item(QStringLiteral("connectHint"));
            QVERIFY(hint && hint->isVisible());
            QCOMPARE(hint->property("text").toString(),
                     language == kEnglish ? QStringLiteral("Connect the mixer to this computer with a USB cable")
                                          : QStringLiteral("请用 USB 线把调音台连接到电脑"));
        }
        for (const char *nav : {"navVolume", "navHardware", "navEffect"}) {
            rig.click(rig.item(QLatin1String(nav)));
            const QList<QQuickItem *> controls = SceneRig::itemsOf(rig.page(), "QQuickControl");
            QVERIFY(controls.size() >= 4);
            for (QQuickItem *control : controls)
                QVERIFY2(!control->isEnabled(), qPrintable(nameOf(control)));
            QVERIFY(!rig.saveScreenshot(QStringLiteral("no-device-") + QLatin1String(nav)).isEmpty());
        }
        // A slider's knob is dimmed while disabled.
        const auto knob = [&rig]() {
            rig.click(rig.item(QStringLiteral("navVolume")));
            auto *slider = rig.item(QStringLiteral("volumeRow0"))->findChild<QQuickItem *>(QStringLiteral("slider"));
            auto *handle = slider->property("handle").value<QQuickItem *>();
            return relativeLuminance(rig.grab().pixelColor(rig.toView(handle)));
        };
        const double dimmed = knob();
        QVERIFY(rig.plug(QStringLiteral("vx02")));
        QVERIFY(rig.items(QStringLiteral("connectHint")).isEmpty());
        QVERIFY(knob() > 2 * dimmed);
        for (QQuickItem *control : SceneRig::itemsOf(rig.page(), "QQuickControl"))
            QVERIFY2(control->isEnabled(), qPrintable(nameOf(control)));
    }

    // Row labels and mute toggles sit on the middle of the slider they belong to.
    void labelsCentredOnSliders_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("row");   // holds the slider
        QTest::addColumn<QString>("label"); // "mute", or "" for the row's first item
        QTest::newRow("vx02 ECHO") << "vx02"
                                   << "navEffect"
                                   << "reverbVolume"
                                   << "";
        QTest::newRow("vx02 mute") << "vx02"
                                   << "navVolume"
                                   << "volumeRow3"
                                   << "mute";
        QTest::newRow("vx01 VOL") << "vx01"
                                  << "navEffect"
                                  << "reverbDepth"
                                  << "";
        QTest::newRow("vx01 ECHO") << "vx01"
                                   << "navEffect"
                                   << "reverbVolume"
                                   << "";
        QTest::newRow("vx01 mute") << "vx01"
                                   << "navVolume"
                                   << "volumeRow1"
                                   << "mute";
    }

    void labelsCentredOnSliders()
    {
        QFETCH(QString, model);
        QFETCH(QString, nav);
        QFETCH(QString, row);
        QFETCH(QString, label);
        SceneRig rig(model);
        rig.setScale(1.5);
        rig.click(rig.item(nav));
        QQuickItem *holder = rig.item(row);
        auto *slider = holder->findChild<QQuickItem *>(QStringLiteral("slider"));
        QQuickItem *named =
            label.isEmpty() ? holder->parentItem()->childItems().first() : holder->findChild<QQuickItem *>(label);
        const auto middle = [](QQuickItem *item) { return item->mapToScene(QPointF(0, item->height() / 2)).y(); };
        QVERIFY2(qAbs(middle(named) - middle(slider)) <= 1,
                 qPrintable(QString::number(middle(named) - middle(slider))));
    }

    // Renaming a sound-effect button to a long name: the field is framed and shows the name's
    // start; the button then cuts the name short and shows it whole on hover.
    void longNameReadable()
    {
        SceneRig rig(QStringLiteral("vx02"));
        rig.click(rig.item(QStringLiteral("navEffect")));
        const QString name = QStringLiteral("Applause from a large audience");
        QQuickItem *button = rig.item(QStringLiteral("bgm0"));
        rig.doubleClick(button);
        auto *editor = qobject_cast<QQuickItem *>(rig.find(QStringLiteral("bgmEditor0")));
        QTRY_VERIFY(editor->hasActiveFocus());
        rig.type(name);
        rig.key(Qt::Key_Return);
        rig.key(Qt::Key_F2);
        QTRY_VERIFY(editor->hasActiveFocus());
        QCOMPARE(editor->property("text").toString(), name);
        QCOMPARE(editor->property("cursorPosition").toInt(), 0);
        QRectF start;
        QMetaObject::invokeMethod(editor, "positionToRectangle", Q_RETURN_ARG(QRectF, start), Q_ARG(int, 0));
        QVERIFY2(start.x() >= 0, qPrintable(QString::number(start.x())));
        QVERIFY(!rig.saveScreenshot(QStringLiteral("vx02-rename-long")).isEmpty());
        rig.key(Qt::Key_Escape);
        QCOMPARE(button->property("tipText").toString(), name);
        QTest::mouseMove(rig.view(), rig.toView(button));
        QTRY_VERIFY(button->property("tipVisible").toBool());
        settings().remove(QStringLiteral("cusKey0"));
    }
};

SCENE_TEST_MAIN(LookTest)
#include "tst_look.moc"
