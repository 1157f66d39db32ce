// The six device pages in the real main window against the emulated devices: every control
// operated by mouse and keys, what the device receives, and what it reports shown.

#include "app/MainWidget.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"

#include <QAccessible>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const char *const kNav[] = {"navHardware", "navVolume", "navEffect"};

QQuickItem *first(QQuickItem *item, const char *className)
{
    return SceneRig::itemsOf(item, className).value(0);
}

bool isChecked(QQuickItem *item)
{
    return item && item->property("checked").toBool();
}

// What a control shows, in the device's terms: a switch 1 on and 2 off, a list its entry
// counted from 1, a slider its position, the level selector its checked step.
int shown(QQuickItem *control)
{
    if (QQuickItem *toggle = first(control, "QQuickSwitch"))
        return isChecked(toggle) ? 1 : 2;
    if (QQuickItem *combo = first(control, "QQuickComboBox"))
        return combo->property("currentIndex").toInt() + 1;
    if (QQuickItem *slider = first(control, "QQuickSlider"))
        return qRound(slider->property("value").toReal());
    const QList<QQuickItem *> steps = SceneRig::itemsOf(control, "QQuickAbstractButton");
    return int(std::find_if(steps.begin(), steps.end(), isChecked) - steps.begin());
}

// The value control `index` gets at pass `pass`, unlike its neighbours' and the start-up one;
// switches take the bits of index + 1, so no two switches are alike throughout.
int passValue(QQuickItem *control, int index, int pass)
{
    if (first(control, "QQuickSwitch"))
        return ((index + 1) >> pass) & 1 ? 1 : 2;
    if (first(control, "QQuickComboBox"))
        return 1 + (2 + 5 * index + 3 * pass) % 16;
    if (first(control, "QQuickSlider"))
        return (2 + 5 * index + 3 * pass) % 17;
    return (index + pass + 1) % 4;
}

// Where value `value` lies on a slider of 16 steps.
QPointF sliderPoint(QQuickItem *slider, int value)
{
    auto *handle = slider->property("handle").value<QQuickItem *>();
    const qreal extent = slider->property("availableWidth").toReal() - handle->width();
    return QPointF(slider->property("leftPadding").toReal() + handle->width() / 2 + extent * value / 16.0,
                   slider->height() / 2);
}

QString setter(const QString &key, int value)
{
    return key + QLatin1Char('=') + QString::number(value);
}

} // namespace

class DevicePagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Rows of one model follow each other, and tests of one model too: a window per model.
    void pageControls_data();
    void pageControls();
    void volumeRowInStep_data();
    void volumeRowInStep();
    void effectFromDevice_data();
    void effectFromDevice();
    void soundEffectButtonRename();
    void withoutDeviceNothingSent_data();
    void withoutDeviceNothingSent();

private:
    SceneRig &show(const QString &model, int pageIndex);
    void showPage(int pageIndex);
    QStringList waitSetters(int count);
    void operate(QQuickItem *control, const QString &key);
    void slide(QQuickItem *control, int value);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<SceneRig> m_rig;
    QString m_model;
};

void DevicePagesTest::initTestCase()
{
    // The sound-effect button names go to the application's settings: keep them here.
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
}

// The window with a device of `model` as switched on, showing page `pageIndex` loaded afresh;
// taking the device's values over sends nothing back.
SceneRig &DevicePagesTest::show(const QString &model, int pageIndex)
{
    if (!m_rig || m_model != model || !m_rig->window()->soundCard()) {
        m_rig.reset();
        m_rig = std::make_unique<SceneRig>(model);
        m_model = model;
    }
    // A number field left confirms its value again.
    if (m_rig->page())
        m_rig->page()->forceActiveFocus();
    m_rig->takeSetters();
    const std::unique_ptr<EmulatedFirmware> fresh = FirmwareFactory::make(model);
    const auto *startUp = dynamic_cast<const FirmwareBase *>(fresh.get());
    QStringList values;
    for (const QString &key : startUp->keys())
        values << setter(key, startUp->parameter(key));
    [&] { QVERIFY(m_rig->setOnDevice(values.join(QLatin1Char(',')))); }();
    showPage(pageIndex % 3 + 1);
    showPage(pageIndex);
    [&] { QCOMPARE(m_rig->takeSetters(), QStringList()); }();
    return *m_rig;
}

void DevicePagesTest::showPage(int pageIndex)
{
    m_rig->click(m_rig->item(QString::fromLatin1(kNav[pageIndex - 1])));
    QTRY_VERIFY(m_rig->page());
}

// The setters the device received, once `count` have arrived (a sound-effect button plays
// 200 ms after its click).
QStringList DevicePagesTest::waitSetters(int count)
{
    QStringList sent;
    const auto arrived = [&] {
        sent += m_rig->takeSetters();
        return sent.size() >= count;
    };
    if (!QTest::qWaitFor(arrived, 1000))
        qWarning("%d setters expected", count);
    return sent;
}

void DevicePagesTest::slide(QQuickItem *control, int value)
{
    QQuickItem *slider = first(control, "QQuickSlider");
    auto *handle = slider->property("handle").value<QQuickItem *>();
    m_rig->drag(slider, handle->mapToItem(slider, QPointF(handle->width() / 2, handle->height() / 2)),
                sliderPoint(slider, value));
    QCOMPARE(shown(control), value);
}

// Operates `control` (parameter `key`) as a person would and checks what the device received: a
// switch by mouse and back by Space, a list entry then an arrow key, a slider dragged (each value
// passed sent once) then an arrow key, every step of the level selector.
void DevicePagesTest::operate(QQuickItem *control, const QString &key)
{
    const int now = shown(control);
    if (QQuickItem *toggle = first(control, "QQuickSwitch")) {
        m_rig->click(toggle);
        m_rig->key(Qt::Key_Space);
        QCOMPARE(m_rig->takeSetters(), (QStringList{setter(key, 3 - now), setter(key, now)}));
    } else if (QQuickItem *combo = first(control, "QQuickComboBox")) {
        const int value = 1 + (now + 4) % 16;
        m_rig->click(combo);
        QObject *popup = combo->property("popup").value<QObject *>();
        QTRY_VERIFY(popup->property("opened").toBool());
        QQuickItem *list = popup->property("contentItem").value<QQuickItem *>();
        QQuickItem *entry = nullptr;
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, value - 1), Q_ARG(int, 0));
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, value - 1));
        QVERIFY(entry);
        m_rig->click(entry);
        m_rig->key(value > 1 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(m_rig->takeSetters(), (QStringList{setter(key, value), setter(key, value > 1 ? value - 1 : 2)}));
    } else if (first(control, "QQuickSlider")) {
        const int value = (now + 5) % 17;
        slide(control, value);
        const QStringList sent = m_rig->takeSetters();
        QVERIFY(!sent.isEmpty());
        for (int i = 0; i < sent.size(); ++i)
            QVERIFY2(sent[i].startsWith(key + QLatin1Char('=')) && (i == 0 || sent[i] != sent[i - 1]),
                     qPrintable(sent.join(", ")));
        QCOMPARE(sent.last(), setter(key, value));
        m_rig->key(value < 16 ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(m_rig->takeSetters(), QStringList{setter(key, value < 16 ? value + 1 : 15)});
    } else {
        const QList<QQuickItem *> steps = SceneRig::itemsOf(control, "QQuickAbstractButton");
        for (int step : {3, 0, 2, 1}) {
            m_rig->click(steps.value(step));
            QCOMPARE(m_rig->takeSetters(), QStringList{setter(key, step)});
        }
    }
}

void DevicePagesTest::pageControls_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("preset");       // set on the device first
    QTest::addColumn<QStringList>("controls"); // "objectName key": the parameter it shows and sets
    QTest::addColumn<QStringList>("buttons");  // "objectName > setter": what a click sends

    const QStringList none;
    QTest::newRow("vx02 hardware") << "vx02" << 1 << ""
                                   << QStringList{"putInside btnInPower", "vocalCut disVoiceLevel",
                                                  "switchDodge btnDodge", "denoise denoiseLevel"}
                                   << none;
    QTest::newRow("vx02 volume") << "vx02" << 2 << ""
                                 << QStringList{"volumeRow0 volumeMonitor", "volumeRow1 volumeRecording",
                                                "volumeRow2 volumeBluetooth", "volumeRow3 volumeBroadcast",
                                                "volumeRow4 volumeBGM"}
                                 << none;
    QStringList effects;
    for (int i = 0; i < 5; ++i)
        effects << QStringLiteral("reverb%1 > mode 1 %2").arg(i).arg(i + 1);
    for (int i = 0; i < 6; ++i)
        effects << QStringLiteral("voice%1 > mode 2 %2").arg(i).arg(i + 1);
    for (int i = 0; i < 12; ++i)
        effects << QStringLiteral("key%1 > mode 3 %2").arg(i).arg(i + 1);
    QTest::newRow("vx02 sound effect") << "vx02" << 3 << ""
                                       << QStringList{"reverbVolume reverbVolume", "switchDampness btnMixDry"}
                                       << effects + QStringList{"bgm0 > effect 1", "bgm8 > effect 9"};

    QTest::newRow("vx01 hardware") << "vx01" << 1 << ""
                                   << QStringList{"switchBluetooth btnBluetooth",  "switchPutInside btnInPower",
                                                  "switchDenoise btnDenoise",      "switchVocalCut btnDisVoice",
                                                  "switchDodge btnDodge",          "dodgeSpeed dodgeSpeed",
                                                  "dodgeThreshold dodgeThreshold", "dodgeLevel dodgeLevel"}
                                   << none;
    QTest::newRow("vx01 volume") << "vx01" << 2 << ""
                                 << QStringList{"volumeRow0 volumeMonitor", "volumeRow1 volumeRecording",
                                                "volumeRow2 volumeMusicVolume", "volumeRow3 volumeMic",
                                                "volumeRow4 toneColour"}
                                 << none;
    // Singing: the reverberation sliders work, and SING sends the device's size.
    QTest::newRow("vx01 sound effect") << "vx01" << 3 << "model=3"
                                       << QStringList{"reverbDepth reverbDepth", "reverbVolume reverbVolume"}
                                       << QStringList{"mode1 > mode 2 2", "size0 > mode 2 1", "size1 > mode 2 2",
                                                      "size2 > mode 2 3", "mode0 > mode 1 0", "mode2 > mode 3 0"};
}

// Every control of a page: values turned on the device show at the next poll and send nothing;
// Tab reaches it in reading order with an accessible name; operated, it sends its setter; at the
// end the page looks as it does loaded afresh.
void DevicePagesTest::pageControls()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QString, preset);
    QFETCH(QStringList, controls);
    QFETCH(QStringList, buttons);

    SceneRig &rig = show(model, pageIndex);
    QVERIFY(rig.setOnDevice(preset));
    QList<QQuickItem *> items;
    for (const QString &control : controls + buttons)
        items << rig.item(control.section(QLatin1Char(' '), 0, 0));
    QVERIFY(!items.contains(nullptr));
    const int switches = int(std::count_if(items.begin(), items.end(),
                                           [](QQuickItem *item) { return first(item, "QQuickSwitch") != nullptr; }));
    for (int pass = 0; pass == 0 || (1 << pass) <= switches; ++pass) {
        QStringList values;
        for (int i = 0; i < controls.size(); ++i)
            values << setter(controls[i].section(QLatin1Char(' '), 1), passValue(items[i], i, pass));
        QVERIFY(rig.setOnDevice(values.join(QLatin1Char(','))));
        for (int i = 0; i < controls.size(); ++i)
            QVERIFY2(shown(items[i]) == passValue(items[i], i, pass), qPrintable(controls[i]));
    }
    QCOMPARE(rig.takeSetters(), QStringList());

    QList<QQuickItem *> reading = items;
    std::sort(reading.begin(), reading.end(), [](QQuickItem *a, QQuickItem *b) {
        const QPointF pa = a->mapToScene(QPointF(0, 0)), pb = b->mapToScene(QPointF(0, 0));
        return qRound(pa.y()) != qRound(pb.y()) ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    QList<QQuickItem *> visited;
    for (int i = 0; i < 80 && visited.size() < reading.size(); ++i) {
        rig.key(Qt::Key_Tab);
        QQuickItem *focus = rig.focusItem();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(focus);
        QVERIFY(accessible && !accessible->text(QAccessible::Name).isEmpty()
                && accessible->role() != QAccessible::NoRole);
        for (QQuickItem *item : reading) {
            if ((item == focus || item->isAncestorOf(focus)) && !visited.contains(item))
                visited << item;
        }
    }
    QCOMPARE(visited, reading);
    rig.page()->forceActiveFocus();
    rig.takeSetters();

    for (int i = 0; i < controls.size(); ++i)
        operate(items[i], controls[i].section(QLatin1Char(' '), 1));
    for (int i = 0; i < buttons.size(); ++i) {
        rig.click(items[controls.size() + i]);
        QCOMPARE(waitSetters(1), QStringList{buttons[i].section(QStringLiteral(" > "), 1)});
    }

    QVERIFY(rig.waitInStep());
    // Made again from the device's state, the page looks the same each time. The first visit
    // back sets the look apart from what the clicks left (hover, the last sound played), which
    // is not the device's state and which Qt versions keep differently.
    showPage(pageIndex % 3 + 1);
    showPage(pageIndex);
    const QRect area = QRectF(rig.page()->mapToScene(QPointF(0, 0)), rig.page()->size()).toAlignedRect();
    const QImage seen = rig.grab().copy(area);
    showPage(pageIndex % 3 + 1);
    showPage(pageIndex);
    QCOMPARE(rig.grab().copy(area), seen);
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::volumeRowInStep_data()
{
    QTest::addColumn<int>("above16Shows"); // where a device value of 20 puts the slider
    QTest::newRow("vx01") << 4;
    QTest::newRow("vx02") << 16;
}

// A move is sent unless the device holds the value (reported or sent last); a typed value always
// is. A muted row stays muted while the device reads 0; another value unmutes and moves it.
void DevicePagesTest::volumeRowInStep()
{
    QFETCH(int, above16Shows);
    SceneRig &rig = show(QString::fromLatin1(QTest::currentDataTag()), 2);
    QQuickItem *row = rig.item(QStringLiteral("volumeRow1"));
    QQuickItem *slider = first(row, "QQuickSlider");
    QQuickItem *mute = row->findChild<QQuickItem *>(QStringLiteral("mute"));
    rig.click(slider, sliderPoint(slider, 0));
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=0"});
    // Back to the value reported before: the device holds the 0 sent since.
    rig.click(slider, sliderPoint(slider, 8));
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=8"});
    slide(row, 11);
    QVERIFY(rig.waitInStep());
    QVERIFY(rig.setOnDevice(QStringLiteral("volumeRecording=6")));
    rig.takeSetters();
    rig.click(slider, sliderPoint(slider, 11));
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=11"});
    QVERIFY(rig.waitInStep());

    rig.click(mute);
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=0"});
    QVERIFY(rig.waitInStep());
    QVERIFY(row->property("muteIsClicked").toBool());
    QCOMPARE(shown(row), 11);
    rig.click(mute);
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=11"});

    rig.click(mute);
    QVERIFY(rig.waitInStep());
    QVERIFY(rig.setOnDevice(QStringLiteral("volumeRecording=4")));
    QVERIFY(!row->property("muteIsClicked").toBool());
    QCOMPARE(shown(row), 4);
    rig.takeSetters();
    rig.click(mute);
    rig.click(mute);
    QCOMPARE(rig.takeSetters(), (QStringList{"volumeRecording=0", "volumeRecording=4"}));
    rig.click(first(row, "QQuickTextInput"));
    rig.key(Qt::Key_A, Qt::ControlModifier);
    rig.type(QStringLiteral("4"));
    rig.key(Qt::Key_Return);
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=4"});

    QVERIFY(rig.setOnDevice(QStringLiteral("volumeRecording=20")));
    QCOMPARE(shown(row), above16Shows);
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::effectFromDevice_data()
{
    // Set on the device > the effect buttons checked > the button clicked > the setter sent >
    // the effect buttons checked then (vx02: of the three families exactly one).
    QTest::addColumn<QString>("steps");
    QTest::newRow("vx01 music") << "model=1 > mode0 > mode1 > mode 2 1";
    QTest::newRow("vx01 sing large") << "model=2 > mode1 size0 > mode1 > mode 2 1";
    QTest::newRow("vx01 sing small") << "model=4 > mode1 size2 > mode1 > mode 2 3";
    QTest::newRow("vx01 chat") << "model=7 > mode2 > mode1 > mode 2 1";
    QTest::newRow("vx02 voice") << "soundMode=2,modelDetail=6 > voice5 > key10 > mode 3 11 > key10";
    QTest::newRow("vx02 key") << "soundMode=3,modelDetail=12 > key11 > reverb1 > mode 1 2 > reverb1";
    QTest::newRow("vx02 reverb") << "soundMode=1,modelDetail=4 > reverb3 > voice0 > mode 2 1 > voice0";
}

// The effect the device reports is shown, on the vx01 with the singing controls enabled only
// while singing; SING sends the size the device had.
void DevicePagesTest::effectFromDevice()
{
    QFETCH(QString, steps);
    const QStringList step = steps.split(QStringLiteral(" > "));
    const QString model = QString::fromLatin1(QTest::currentDataTag()).left(4);
    SceneRig &rig = show(model, 3);
    const auto checkedEffects = [&rig] {
        QStringList names;
        for (QQuickItem *button : SceneRig::itemsOf(rig.page(), "QQuickAbstractButton")) {
            if (isChecked(button) && !button->objectName().startsWith(QLatin1String("bgm")))
                names << button->objectName();
        }
        return names.join(QLatin1Char(' '));
    };
    QVERIFY(rig.setOnDevice(step[0]));
    QCOMPARE(checkedEffects(), step[1]);
    if (model == QLatin1String("vx01")) {
        for (const char *name : {"size0", "size2", "reverbDepth", "reverbVolume"})
            QVERIFY2(rig.item(QString::fromLatin1(name))->isEnabled() == step[1].contains("mode1"), name);
    }
    rig.click(rig.item(step[2]));
    QCOMPARE(rig.takeSetters(), QStringList{step[3]});
    if (step.size() > 4)
        QCOMPARE(checkedEffects(), step[4]);
}

void DevicePagesTest::soundEffectButtonRename()
{
    SceneRig &rig = show(QStringLiteral("vx02"), 3);
    QQuickItem *button = rig.item(QStringLiteral("bgm3"));
    // A double click opens a field over the button, holding its name, and plays nothing.
    rig.doubleClick(button);
    QVERIFY(!rig.find(QStringLiteral("clickTimer"))->property("running").toBool());
    QVERIFY(rig.item(QStringLiteral("bgmEditor3"))->hasActiveFocus());
    QCOMPARE(rig.text(QStringLiteral("bgmEditor3")), QStringLiteral("4"));
    QCOMPARE(rig.text(QStringLiteral("bgm3")), QString());
    QCOMPARE(rig.page()->property("text_old").toString(), QStringLiteral("4"));
    // Blanks only, and Escape, keep the old name; the button has the focus again, F2 renames.
    rig.type(QStringLiteral("   "));
    rig.key(Qt::Key_Return);
    QCOMPARE(rig.text(QStringLiteral("bgm3")), QStringLiteral("4"));
    rig.key(Qt::Key_F2);
    rig.type(QStringLiteral("x"));
    rig.key(Qt::Key_Escape);
    QCOMPARE(rig.text(QStringLiteral("bgm3")), QStringLiteral("4"));
    QVERIFY(button->hasActiveFocus());
    rig.key(Qt::Key_F2);
    rig.type(QStringLiteral("Air horn"));
    rig.key(Qt::Key_Enter);
    QCOMPARE(rig.text(QStringLiteral("bgm3")), QStringLiteral("Air horn"));
    QTRY_COMPARE(QSettings().value(QStringLiteral("cusKey3")).toString(), QStringLiteral("Air horn"));
    QCOMPARE(rig.takeSetters(), QStringList());

    // The renamed button plays its sound from the keyboard too; the page made again shows the
    // name, also after a language change.
    rig.key(Qt::Key_Space);
    QCOMPARE(waitSetters(1), QStringList{"effect 4"});
    showPage(1);
    showPage(3);
    rig.setLanguage(QStringLiteral("English"));
    QCOMPARE(rig.text(QStringLiteral("bgm3")), QStringLiteral("Air horn"));
    QCOMPARE(rig.text(QStringLiteral("bgm2")), QStringLiteral("3"));
    rig.setLanguage(QStringLiteral("简体中文"));
    QSettings().remove(QStringLiteral("cusKey3"));
}

void DevicePagesTest::withoutDeviceNothingSent_data()
{
    QTest::addColumn<QString>("preset");
    QTest::newRow("vx02") << QString();
    // Singing: the sizes and the reverberation sliders are there too.
    QTest::newRow("vx01") << QStringLiteral("model=4");
}

// Unplugged, every control of every page is disabled: clicks and keys on them do nothing, nothing
// complains, and the device plugged in again has received nothing.
void DevicePagesTest::withoutDeviceNothingSent()
{
    QFETCH(QString, preset);
    const QString model = QString::fromLatin1(QTest::currentDataTag());
    SceneRig &rig = show(model, 1);
    QVERIFY(rig.setOnDevice(preset));
    QVERIFY(rig.unplug(model));
    MessageCapture messages;
    for (int page = 1; page <= 3; ++page) {
        showPage(page);
        for (QQuickItem *control : SceneRig::itemsOf(rig.page(), "QQuickControl")) {
            if (!control->isVisible())
                continue;
            QVERIFY(!control->isEnabled());
            if (control->inherits("QQuickSlider")) {
                rig.click(control, sliderPoint(control, 3));
            } else if (control->inherits("QQuickComboBox")) {
                control->forceActiveFocus();
                rig.key(Qt::Key_Down);
            } else if (control->inherits("QQuickAbstractButton")) {
                rig.click(control);
            }
        }
    }
    if (QObject *timer = rig.find(QStringLiteral("clickTimer")))
        QTRY_VERIFY(!timer->property("running").toBool());
    QVERIFY2(SceneRig::sceneWarnings(messages).isEmpty(), qPrintable(SceneRig::sceneWarnings(messages).join('\n')));

    QVERIFY(rig.plug(model));
    QVERIFY(rig.waitInStep());
    QCOMPARE(rig.takeSetters(), QStringList());
}

SCENE_TEST_MAIN(DevicePagesTest)
#include "tst_devicepages.moc"
