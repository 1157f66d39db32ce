// The six device pages in the real main window against the emulated devices: each kind of
// control operated as a person would and the setter it calls, as the device reads it; what the
// device reports shown on every control; the pages' own rules. The bytes of each setter belong
// to the protocol tests.

#include "app/MainWidget.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QSettings>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What a step does to its control, once for each setter it expects.
enum class Act {
    Click,   // clicks the button (the switch or mute toggle inside the item)
    Pick,    // picks the entry of the value sent from the item's list
    Drag,    // drags the slider to the value sent; every value passed is sent, in step
    Type,    // types the value sent into the number field and confirms with Enter
};

} // namespace

Q_DECLARE_METATYPE(Act)

namespace {

const char *const kNav[] = {"navHardware", "navVolume", "navEffect"};

QQuickItem *first(QQuickItem *item, const char *className)
{
    const QList<QQuickItem *> all = SceneRig::itemsOf(item, className);
    return all.isEmpty() ? nullptr : all.first();
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
    for (int i = 0; i < steps.size(); ++i) {
        if (isChecked(steps[i]))
            return i;
    }
    return -1;
}

// The value control `index` of a page is given at pass `pass`: every control of a pass shows
// another value than its neighbours and than at start-up. Switches take the bits of index + 1,
// so that over the passes no two switches are alike throughout.
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

} // namespace

class DevicePagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    // Rows of one model follow each other, and tests of one model too: a window per model.
    void controlCallsSetter_data();
    void controlCallsSetter();
    void controlsShowDevice_data();
    void controlsShowDevice();
    void muteFollowsDevice_data();
    void muteFollowsDevice();
    void sliderInStepWithDevice_data();
    void sliderInStepWithDevice();
    void vx02OneEffectChecked();
    void soundEffectButtonRename();
    void keyboardEffectVx02();
    void withoutDeviceNothingSent_data();
    void withoutDeviceNothingSent();
    void vx01ModeFromDevice_data();
    void vx01ModeFromDevice();
    void vx01ModeWithoutDevice();
    void keyboardHardwareVx01();
    void englishTexts();

private:
    SceneRig &show(const QString &model, int pageIndex);
    void showPage(int pageIndex);
    QStringList waitSetters(int count);
    void act(Act action, const QString &objectName, int value);
    void clickAt(QQuickItem *slider, int value);
    QStringList tabThrough(const QStringList &order, int limit);
    bool tabTo(const QString &objectName);

    QTemporaryDir m_settingsDir;
    // One window per model, kept from test to test while the model stays.
    std::unique_ptr<SceneRig> m_rig;
    QString m_model;
};

void DevicePagesTest::initTestCase()
{
    // The sound-effect button names go to the application's settings: keep them here.
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
    QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
}

void DevicePagesTest::cleanupTestCase()
{
    m_rig.reset();
}

// The window with a device of `model` as it is when switched on, showing a page of the given
// index loaded afresh with the device's settings. Taking the settings over, whatever the test
// before left on the device, sends nothing back.
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
        values << QStringLiteral("%1=%2").arg(key).arg(startUp->parameter(key));
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
// 200 ms after its click) or it is clear that no more come.
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

void DevicePagesTest::clickAt(QQuickItem *slider, int value)
{
    auto *handle = slider->property("handle").value<QQuickItem *>();
    const qreal left = slider->property("leftPadding").toReal() + handle->width() / 2;
    const qreal extent = slider->property("availableWidth").toReal() - handle->width();
    m_rig->click(slider, QPointF(left + extent * value / 16.0, slider->height() / 2));
}

void DevicePagesTest::act(Act action, const QString &objectName, int value)
{
    QQuickItem *item = m_rig->item(objectName);
    QVERIFY2(item, qPrintable(objectName));
    switch (action) {
    case Act::Click:
        if (!item->inherits("QQuickAbstractButton"))
            item = first(item, "QQuickAbstractButton");
        m_rig->click(item);
        break;
    case Act::Pick: {
        QQuickItem *combo = first(item, "QQuickComboBox");
        m_rig->click(combo);
        QObject *popup = combo->property("popup").value<QObject *>();
        QTRY_VERIFY(popup->property("opened").toBool());
        QQuickItem *list = popup->property("contentItem").value<QQuickItem *>();
        QQuickItem *entry = nullptr;
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, value - 1), Q_ARG(int, 0));
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, value - 1));
        QVERIFY(entry);
        m_rig->click(entry);
        break;
    }
    case Act::Drag: {
        QQuickItem *slider = first(item, "QQuickSlider");
        auto *handle = slider->property("handle").value<QQuickItem *>();
        const QPointF from = handle->mapToItem(slider, QPointF(handle->width() / 2, handle->height() / 2));
        const qreal left = slider->property("leftPadding").toReal() + handle->width() / 2;
        const qreal extent = slider->property("availableWidth").toReal() - handle->width();
        m_rig->drag(slider, from, QPointF(left + extent * value / 16.0, from.y()));
        QCOMPARE(qRound(slider->property("value").toReal()), value);
        break;
    }
    case Act::Type:
        m_rig->click(first(item, "QQuickTextInput"));
        m_rig->key(Qt::Key_A, Qt::ControlModifier);
        m_rig->type(QString::number(value));
        m_rig->key(Qt::Key_Return);
        break;
    }
}

void DevicePagesTest::controlCallsSetter_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("preset");   // set on the device first
    QTest::addColumn<Act>("action");
    // "control > setter, setter": what the device receives when `action` is done to the
    // control, once per setter.
    QTest::addColumn<QStringList>("steps");

    // The emulated devices start with every switch off, volumes and dodge values at 8, the
    // vx01 in music mode and the vx02 on the first reverberation effect with denoise step 1.
    QTest::newRow("vx02 switches") << "vx02" << 1 << "" << Act::Click << QStringList{
        "putInside > btnInPower=1, btnInPower=2", "vocalCut > disVoiceLevel=1, disVoiceLevel=2",
        "switchDodge > btnDodge=1, btnDodge=2"};
    QTest::newRow("vx02 denoise selector") << "vx02" << 1 << "" << Act::Click << QStringList{
        "dot3 > denoiseLevel=3", "dot0 > denoiseLevel=0", "dot2 > denoiseLevel=2", "dot1 > denoiseLevel=1"};
    QTest::newRow("vx02 volume sliders") << "vx02" << 2 << "" << Act::Drag << QStringList{
        "volumeRow0 > volumeMonitor=3", "volumeRow1 > volumeRecording=12", "volumeRow2 > volumeBluetooth=16",
        "volumeRow3 > volumeBroadcast=5", "volumeRow4 > volumeBGM=0"};
    QTest::newRow("vx02 volume typed") << "vx02" << 2 << "" << Act::Type << QStringList{"volumeRow4 > volumeBGM=3"};
    QTest::newRow("vx02 mute toggles") << "vx02" << 2 << "volumeBGM=2" << Act::Click << QStringList{
        "volumeRow0 > volumeMonitor=0, volumeMonitor=8", "volumeRow1 > volumeRecording=0, volumeRecording=8",
        "volumeRow2 > volumeBluetooth=0, volumeBluetooth=8", "volumeRow3 > volumeBroadcast=0, volumeBroadcast=8",
        "volumeRow4 > volumeBGM=0, volumeBGM=2"};
    QTest::newRow("vx02 echo slider") << "vx02" << 3 << "" << Act::Drag << QStringList{"reverbVolume > reverbVolume=10"};
    QTest::newRow("vx02 mix dry switch") << "vx02" << 3 << "" << Act::Click << QStringList{
        "switchDampness > btnMixDry=1, btnMixDry=2"};
    QStringList effects;
    for (int i = 0; i < 12; ++i) {
        if (i < 5)
            effects << QStringLiteral("reverb%1 > mode 1 %2").arg(i).arg(i + 1);
        if (i < 6)
            effects << QStringLiteral("voice%1 > mode 2 %2").arg(i).arg(i + 1);
        effects << QStringLiteral("key%1 > mode 3 %2").arg(i).arg(i + 1);
    }
    QTest::newRow("vx02 effect buttons") << "vx02" << 3 << "" << Act::Click << effects;
    QTest::newRow("vx02 sound-effect buttons") << "vx02" << 3 << "" << Act::Click << QStringList{
        "bgm0 > effect 1", "bgm8 > effect 9"};

    QTest::newRow("vx01 switches") << "vx01" << 1 << "" << Act::Click << QStringList{
        "switchBluetooth > btnBluetooth=1, btnBluetooth=2", "switchPutInside > btnInPower=1, btnInPower=2",
        "switchDenoise > btnDenoise=1, btnDenoise=2", "switchVocalCut > btnDisVoice=1, btnDisVoice=2",
        "switchDodge > btnDodge=1, btnDodge=2"};
    QTest::newRow("vx01 dodge lists") << "vx01" << 1 << "" << Act::Pick << QStringList{
        "dodgeSpeed > dodgeSpeed=5", "dodgeThreshold > dodgeThreshold=1", "dodgeLevel > dodgeLevel=16"};
    QTest::newRow("vx01 volume sliders") << "vx01" << 2 << "" << Act::Drag << QStringList{
        "volumeRow0 > volumeMonitor=3", "volumeRow1 > volumeRecording=12", "volumeRow2 > volumeMusicVolume=16",
        "volumeRow3 > volumeMic=5", "volumeRow4 > toneColour=0"};
    QTest::newRow("vx01 volume typed") << "vx01" << 2 << "" << Act::Type << QStringList{"volumeRow4 > toneColour=11"};
    QTest::newRow("vx01 mute toggles") << "vx01" << 2 << "toneColour=5" << Act::Click << QStringList{
        "volumeRow0 > volumeMonitor=0, volumeMonitor=8", "volumeRow1 > volumeRecording=0, volumeRecording=8",
        "volumeRow2 > volumeMusicVolume=0, volumeMusicVolume=8", "volumeRow3 > volumeMic=0, volumeMic=8",
        "volumeRow4 > toneColour=0, toneColour=5"};
    // SING enables the sizes; each size is sent with the singing mode.
    QTest::newRow("vx01 mode buttons") << "vx01" << 3 << "" << Act::Click << QStringList{
        "mode1 > mode 2 1", "size0 > mode 2 1", "size1 > mode 2 2", "size2 > mode 2 3", "mode0 > mode 1 0",
        "mode2 > mode 3 0"};
    QTest::newRow("vx01 reverb sliders") << "vx01" << 3 << "model=4" << Act::Drag << QStringList{
        "reverbDepth > reverbDepth=13", "reverbVolume > reverbVolume=9"};
}

void DevicePagesTest::controlCallsSetter()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QString, preset);
    QFETCH(Act, action);
    QFETCH(QStringList, steps);

    SceneRig &rig = show(model, pageIndex);
    QVERIFY(rig.setOnDevice(preset));
    for (const QString &step : steps) {
        const QString control = step.section(QStringLiteral(" > "), 0, 0);
        const QStringList expected = step.section(QStringLiteral(" > "), 1).split(QStringLiteral(", "));
        const int value = expected.last().section(QLatin1Char('='), 1).toInt();
        if (action == Act::Click) {
            for (int i = 0; i < expected.size(); ++i)
                act(action, control, value);
        } else {
            act(action, control, value);
        }
        QStringList sent = waitSetters(expected.size());
        if (action == Act::Drag && !sent.isEmpty()) {
            // Each step of the way is sent once, on the same key.
            for (int i = 0; i + 1 < sent.size(); ++i) {
                QVERIFY2(sent[i].section(QLatin1Char('='), 0, 0) == sent.last().section(QLatin1Char('='), 0, 0)
                             && sent[i] != sent[i + 1], qPrintable(sent.join(", ")));
            }
            sent = sent.mid(sent.size() - 1);
        }
        QCOMPARE(sent, expected);
    }
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::controlsShowDevice_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QStringList>("controls");   // "objectName key"

    QTest::newRow("vx01 hardware") << "vx01" << 1 << QStringList{
        "switchBluetooth btnBluetooth", "switchPutInside btnInPower", "switchDenoise btnDenoise",
        "switchVocalCut btnDisVoice", "switchDodge btnDodge", "dodgeSpeed dodgeSpeed",
        "dodgeThreshold dodgeThreshold", "dodgeLevel dodgeLevel"};
    QTest::newRow("vx01 volume") << "vx01" << 2 << QStringList{
        "volumeRow0 volumeMonitor", "volumeRow1 volumeRecording", "volumeRow2 volumeMusicVolume",
        "volumeRow3 volumeMic", "volumeRow4 toneColour"};
    QTest::newRow("vx01 sound effect") << "vx01" << 3 << QStringList{"reverbDepth reverbDepth", "reverbVolume reverbVolume"};
    QTest::newRow("vx02 hardware") << "vx02" << 1 << QStringList{
        "putInside btnInPower", "vocalCut disVoiceLevel", "switchDodge btnDodge", "denoise denoiseLevel"};
    QTest::newRow("vx02 volume") << "vx02" << 2 << QStringList{
        "volumeRow0 volumeMonitor", "volumeRow1 volumeRecording", "volumeRow2 volumeBluetooth",
        "volumeRow3 volumeBroadcast", "volumeRow4 volumeBGM"};
    QTest::newRow("vx02 sound effect") << "vx02" << 3 << QStringList{"reverbVolume reverbVolume", "switchDampness btnMixDry"};
}

// Values turned on the device itself reach every control at the next poll, in passes that give
// each control other values than its neighbours; taking them over sends nothing.
void DevicePagesTest::controlsShowDevice()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QStringList, controls);

    SceneRig &rig = show(model, pageIndex);
    int switches = 0;
    for (const QString &control : controls)
        switches += first(rig.item(control.section(QLatin1Char(' '), 0, 0)), "QQuickSwitch") != nullptr;
    // Enough passes for the bits of every switch's number.
    int passes = 1;
    while ((1 << passes) <= switches)
        ++passes;
    for (int pass = 0; pass < passes; ++pass) {
        QStringList assignments;
        for (int i = 0; i < controls.size(); ++i) {
            const QStringList pair = controls[i].split(QLatin1Char(' '));
            assignments << pair[1] + QLatin1Char('=') + QString::number(passValue(rig.item(pair[0]), i, pass));
        }
        QVERIFY(rig.setOnDevice(assignments.join(QLatin1Char(','))));
        for (int i = 0; i < controls.size(); ++i) {
            const QString name = controls[i].section(QLatin1Char(' '), 0, 0);
            QVERIFY2(shown(rig.item(name)) == passValue(rig.item(name), i, pass),
                     qPrintable(QStringLiteral("%1 at pass %2 shows %3").arg(name).arg(pass).arg(shown(rig.item(name)))));
        }
    }
    // What the user sees: the page looks as it does loaded afresh.
    const QRect area = QRectF(rig.page()->mapToScene(QPointF(0, 0)), rig.page()->size()).toAlignedRect();
    const QImage seen = rig.grab().copy(area);
    showPage(pageIndex % 3 + 1);
    showPage(pageIndex);
    QCOMPARE(rig.grab().copy(area), seen);
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::muteFollowsDevice_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("above16Shows");   // where a device value of 20 puts the slider
    QTest::newRow("vx02") << "vx02" << 16;
    QTest::newRow("vx01") << "vx01" << 4;
}

// A muted row stays muted with its slider where the user left it while the device reads 0;
// any other value the device reports unmutes the row and moves it.
void DevicePagesTest::muteFollowsDevice()
{
    QFETCH(QString, model);
    QFETCH(int, above16Shows);

    SceneRig &rig = show(model, 2);
    QQuickItem *row = rig.item(QStringLiteral("volumeRow1"));
    QQuickItem *slider = first(row, "QQuickSlider");
    QQuickItem *mute = row->findChild<QQuickItem *>(QStringLiteral("mute"));
    act(Act::Drag, QStringLiteral("volumeRow1"), 11);
    QVERIFY(rig.waitInStep());
    rig.takeSetters();

    rig.click(mute);
    QCOMPARE(rig.takeSetters(), QStringList{"volumeRecording=0"});
    QVERIFY(rig.waitInStep());
    QCOMPARE(rig.firmware()->parameter(QStringLiteral("volumeRecording")), 0);
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

    QVERIFY(rig.setOnDevice(QStringLiteral("volumeRecording=20")));
    QCOMPARE(qRound(slider->property("value").toReal()), above16Shows);
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::sliderInStepWithDevice_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("preset");
    // The reverberation sliders work while singing.
    QTest::newRow("vx01 echo") << "vx01" << 3 << "reverbVolume" << "reverbVolume" << "model=2";
    QTest::newRow("vx02 volume") << "vx02" << 2 << "volumeRow1" << "volumeRecording" << "";
}

// A move is sent unless the device holds the value already: the value it reported last or the
// one sent last, whichever is newer.
void DevicePagesTest::sliderInStepWithDevice()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QString, preset);

    SceneRig &rig = show(model, pageIndex);
    QVERIFY(rig.setOnDevice(preset));
    QQuickItem *slider = first(rig.item(control), "QQuickSlider");
    const int start = rig.firmware()->parameter(key);
    clickAt(slider, start);
    QCOMPARE(rig.takeSetters(), QStringList());
    clickAt(slider, 0);
    QCOMPARE(rig.takeSetters(), QStringList{key + QStringLiteral("=0")});
    clickAt(slider, 0);
    QCOMPARE(rig.takeSetters(), QStringList());

    act(Act::Drag, control, 11);
    QVERIFY(rig.waitInStep());
    rig.takeSetters();
    QVERIFY(rig.setOnDevice(key + QStringLiteral("=6")));
    QCOMPARE(shown(rig.item(control)), 6);
    clickAt(slider, 11);
    QCOMPARE(rig.takeSetters(), QStringList{key + QStringLiteral("=11")});
}

void DevicePagesTest::vx01ModeFromDevice_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("mode");      // the mode button checked
    QTest::addColumn<int>("size");      // the size button checked, -1 none
    QTest::addColumn<QString>("sing");  // what SING sends then
    QTest::newRow("music") << 1 << 0 << -1 << "mode 2 1";
    QTest::newRow("sing large") << 2 << 1 << 0 << "mode 2 1";
    QTest::newRow("sing medium") << 3 << 1 << 1 << "mode 2 2";
    QTest::newRow("sing small") << 4 << 1 << 2 << "mode 2 3";
    QTest::newRow("chat") << 7 << 2 << -1 << "mode 2 1";
}

// The mode the device reports is shown: its button, while singing the size, and the singing
// controls enabled only then; SING sends the size the device had.
void DevicePagesTest::vx01ModeFromDevice()
{
    QFETCH(int, model);
    QFETCH(int, mode);
    QFETCH(int, size);
    QFETCH(QString, sing);

    SceneRig &rig = show(QStringLiteral("vx01"), 3);
    QVERIFY(rig.setOnDevice(QStringLiteral("model=%1").arg(model)));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(isChecked(rig.item(QStringLiteral("mode%1").arg(i))), i == mode);
        QCOMPARE(isChecked(rig.item(QStringLiteral("size%1").arg(i))), i == size);
    }
    for (const char *name : {"size0", "size2", "reverbDepth", "reverbVolume"})
        QVERIFY2(rig.item(QString::fromLatin1(name))->isEnabled() == (mode == 1), name);
    rig.click(rig.item(QStringLiteral("mode1")));
    QCOMPARE(rig.takeSetters(), QStringList{sing});
}

// A click without a device shows no mode and turns the singing controls off.
void DevicePagesTest::vx01ModeWithoutDevice()
{
    SceneRig &rig = show(QStringLiteral("vx01"), 3);
    QVERIFY(rig.setOnDevice(QStringLiteral("model=4")));
    QVERIFY(rig.unplug(QStringLiteral("vx01")));
    for (const char *name : {"size0", "mode1", "mode0"}) {
        rig.click(rig.item(QString::fromLatin1(name)));
        QCOMPARE(rig.page()->property("modeType").toInt(), -1);
        for (const char *button : {"mode0", "mode1", "mode2", "size0", "size1", "size2"})
            QVERIFY2(!isChecked(rig.item(QString::fromLatin1(button))), button);
        for (const char *off : {"size0", "reverbDepth", "reverbVolume"})
            QVERIFY2(!rig.item(QString::fromLatin1(off))->isEnabled(), off);
    }
    QVERIFY(rig.plug(QStringLiteral("vx01")));
}

// Of the three effect families exactly one effect is checked: the one the device reports,
// or the one clicked.
void DevicePagesTest::vx02OneEffectChecked()
{
    SceneRig &rig = show(QStringLiteral("vx02"), 3);
    const auto checkedEffects = [&rig] {
        QStringList names;
        for (QQuickItem *button : SceneRig::itemsOf(rig.page(), "QQuickAbstractButton")) {
            if (isChecked(button) && !button->objectName().startsWith(QLatin1String("bgm")))
                names << button->objectName();
        }
        return names;
    };
    QCOMPARE(checkedEffects(), QStringList{"reverb0"});
    QVERIFY(rig.setOnDevice(QStringLiteral("soundMode=2,modelDetail=6")));
    QCOMPARE(checkedEffects(), QStringList{"voice5"});
    QVERIFY(rig.setOnDevice(QStringLiteral("soundMode=3,modelDetail=12")));
    QCOMPARE(checkedEffects(), QStringList{"key11"});
    QVERIFY(rig.setOnDevice(QStringLiteral("soundMode=1,modelDetail=4")));
    QCOMPARE(checkedEffects(), QStringList{"reverb3"});
    rig.click(rig.item(QStringLiteral("key10")));
    QCOMPARE(checkedEffects(), QStringList{"key10"});
    QCOMPARE(rig.takeSetters(), QStringList{"mode 3 11"});
}

void DevicePagesTest::withoutDeviceNothingSent_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("preset");
    QTest::newRow("vx02") << "vx02" << "";
    // Singing: the sizes and the reverberation sliders can be operated too.
    QTest::newRow("vx01") << "vx01" << "model=4";
}

// Unplugged, every control of every page can still be operated: nothing complains, and the
// device plugged in again has received nothing.
void DevicePagesTest::withoutDeviceNothingSent()
{
    QFETCH(QString, model);
    QFETCH(QString, preset);
    SceneRig &rig = show(model, 3);
    QVERIFY(rig.setOnDevice(preset));
    QVERIFY(rig.unplug(model));
    MessageCapture messages;
    for (int page : {3, 1, 2}) {
        showPage(page);
        // Last first: on the vx01 a mode button turns the singing controls below it off.
        QList<QQuickItem *> controls = SceneRig::itemsOf(rig.page(), "QQuickControl");
        std::reverse(controls.begin(), controls.end());
        for (QQuickItem *control : controls) {
            if (!control->isVisible() || !control->isEnabled())
                continue;
            if (control->inherits("QQuickSlider")) {
                clickAt(control, 3);
            } else if (control->inherits("QQuickComboBox")) {
                control->forceActiveFocus();
                rig.key(Qt::Key_Down);
            } else if (control->inherits("QQuickAbstractButton")) {
                rig.click(control);
            }
        }
    }
    // The sound-effect buttons play once the double-click time is over.
    if (QObject *timer = rig.find(QStringLiteral("clickTimer")))
        QTRY_VERIFY(!timer->property("running").toBool());
    for (const QString &line : messages.texts(QtWarningMsg))
        QVERIFY2(!line.contains(QLatin1String("qrc:/")), qPrintable(line));

    QVERIFY(rig.plug(model));
    QVERIFY(rig.waitInStep());
    QCOMPARE(rig.takeSetters(), QStringList());
}

void DevicePagesTest::soundEffectButtonRename()
{
    SceneRig &rig = show(QStringLiteral("vx02"), 3);
    QQuickItem *button = rig.item(QStringLiteral("bgm3"));
    QObject *timer = rig.find(QStringLiteral("clickTimer"));
    QCOMPARE(button->property("text").toString(), QStringLiteral("4"));

    // A double click renames and plays nothing.
    rig.doubleClick(button);
    QVERIFY(!timer->property("running").toBool());
    QQuickItem *editor = rig.item(QStringLiteral("bgmEditor3"));
    QVERIFY(editor && editor->hasActiveFocus());
    QCOMPARE(button->property("text").toString(), QString());
    QCOMPARE(rig.page()->property("text_old").toString(), QStringLiteral("4"));

    // Blanks only: the old name comes back.
    rig.key(Qt::Key_A, Qt::ControlModifier);
    rig.type(QStringLiteral("   "));
    rig.key(Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(button->property("text").toString(), QStringLiteral("4"));

    rig.doubleClick(button);
    rig.key(Qt::Key_A, Qt::ControlModifier);
    rig.type(QStringLiteral("Air horn"));
    rig.key(Qt::Key_Return);
    QCOMPARE(button->property("text").toString(), QStringLiteral("Air horn"));
    QTRY_COMPARE(QSettings().value(QStringLiteral("cusKey3")).toString(), QStringLiteral("Air horn"));
    QCOMPARE(rig.takeSetters(), QStringList());

    // Escape keeps the name.
    rig.doubleClick(button);
    rig.type(QStringLiteral("x"));
    rig.key(Qt::Key_Escape);
    QCOMPARE(button->property("text").toString(), QStringLiteral("Air horn"));

    // The renamed button plays its sound (clicked once the double-click time is over), and
    // the page made again shows the name, also after a language change.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    rig.click(button);
    QCOMPARE(waitSetters(1), QStringList{"effect 4"});
    showPage(1);
    showPage(3);
    QCOMPARE(rig.item(QStringLiteral("bgm3"))->property("text").toString(), QStringLiteral("Air horn"));
    QCOMPARE(rig.item(QStringLiteral("bgm2"))->property("text").toString(), QStringLiteral("3"));
    rig.setLanguage(QStringLiteral("English"));
    QCOMPARE(rig.item(QStringLiteral("bgm3"))->property("text").toString(), QStringLiteral("Air horn"));
    rig.setLanguage(QStringLiteral("简体中文"));
    QSettings().remove(QStringLiteral("cusKey3"));
}

// The texts of each page in Chinese and, switched while the page shows, in English.
void DevicePagesTest::englishTexts()
{
    const QList<QStringList> texts{
        {"vx01", "1", "switchBluetooth", "蓝牙开关", "BT"}, {"vx01", "1", "dodgeThreshold", "闪避门限", "THRESHOLD"},
        {"vx01", "2", "volumeRow4", "话筒音色", "GAIN"},    {"vx01", "3", "mode2", "聊天", "CHAT"},
        {"vx01", "3", "size1", "中", "MEDIUM"},             {"vx02", "1", "vocalCut", "耳返", "DIRECT"},
        {"vx02", "2", "volumeRow3", "直播音量", "LIVE VOL"}, {"vx02", "3", "voice5", "怪兽", "WARCRAFT"},
        {"vx02", "3", "switchDampness", "听湿录干", "MIX DRY"},
    };
    for (const QStringList &t : texts) {
        if (t[0] != m_model)
            show(t[0], t[1].toInt());
        showPage(t[1].toInt());
        SceneRig &rig = *m_rig;
        rig.setLanguage(QStringLiteral("简体中文"));
        QCOMPARE(rig.text(t[2]), t[3]);
        rig.setLanguage(QStringLiteral("English"));
        QCOMPARE(rig.text(t[2]), t[4]);
        rig.setLanguage(QStringLiteral("简体中文"));
    }
}

// Presses Tab until the focus has passed through every control of `order` (at most `limit`
// presses) and returns the controls in the order the focus entered them. Each control is
// named as a screen reader hears it.
QStringList DevicePagesTest::tabThrough(const QStringList &order, int limit)
{
    QStringList visited;
    for (int i = 0; i < limit && visited.size() < order.size(); ++i) {
        m_rig->key(Qt::Key_Tab);
        QQuickItem *focus = m_rig->focusItem();
        for (const QString &name : order) {
            QQuickItem *control = m_rig->item(name);
            if (control && focus && (control == focus || control->isAncestorOf(focus)) && !visited.contains(name)) {
                visited.append(name);
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(focus);
                if (!accessible || accessible->text(QAccessible::Name).isEmpty()
                    || accessible->role() == QAccessible::NoRole)
                    visited.last() += QStringLiteral(" (no accessible name or role)");
            }
        }
    }
    return visited;
}

// Tab until the focus is inside `objectName`.
bool DevicePagesTest::tabTo(const QString &objectName)
{
    QQuickItem *target = m_rig->item(objectName);
    for (int i = 0; i < 60 && target; ++i) {
        QQuickItem *focus = m_rig->focusItem();
        if (focus && (focus == target || target->isAncestorOf(focus)))
            return true;
        m_rig->key(Qt::Key_Tab);
    }
    return false;
}

// The vx01 hardware page from the keyboard alone: Tab in reading order, Space on switches,
// arrow keys on the lists.
void DevicePagesTest::keyboardHardwareVx01()
{
    SceneRig &rig = show(QStringLiteral("vx01"), 1);
    const QStringList order{"switchBluetooth", "switchPutInside", "switchDenoise", "switchVocalCut",
                            "switchDodge", "dodgeSpeed", "dodgeThreshold", "dodgeLevel"};
    QCOMPARE(tabThrough(order, 40), order);

    QVERIFY(tabTo(QStringLiteral("switchDodge")));
    rig.key(Qt::Key_Space);
    QCOMPARE(rig.takeSetters(), QStringList{"btnDodge=1"});
    QVERIFY(tabTo(QStringLiteral("dodgeThreshold")));
    rig.key(Qt::Key_Down);
    rig.key(Qt::Key_Up);
    rig.key(Qt::Key_Up);
    QCOMPARE(rig.takeSetters(), (QStringList{"dodgeThreshold=9", "dodgeThreshold=8", "dodgeThreshold=7"}));
}

// The vx02 sound-effect page from the keyboard alone: arrow keys on the slider, Space on the
// switch and the effect buttons, F2 and Enter to rename a sound-effect button.
void DevicePagesTest::keyboardEffectVx02()
{
    SceneRig &rig = show(QStringLiteral("vx02"), 3);
    const QStringList order{"reverbVolume", "switchDampness", "reverb0", "reverb4", "voice0",
                            "voice5", "key0", "key11", "bgm0", "bgm8"};
    QCOMPARE(tabThrough(order, 80), order);

    QVERIFY(tabTo(QStringLiteral("reverbVolume")));
    // Leaving the slider's number field on the way confirmed its value, which sends it.
    rig.takeSetters();
    rig.key(Qt::Key_Right);
    QCOMPARE(rig.takeSetters(), QStringList{"reverbVolume=7"});
    QVERIFY(tabTo(QStringLiteral("voice1")));
    rig.takeSetters();
    rig.key(Qt::Key_Space);
    QCOMPARE(rig.takeSetters(), QStringList{"mode 2 2"});
    QVERIFY(isChecked(rig.item(QStringLiteral("voice1"))));
    QVERIFY(tabTo(QStringLiteral("bgm1")));
    rig.key(Qt::Key_Space);
    QCOMPARE(waitSetters(1), QStringList{"effect 2"});

    rig.key(Qt::Key_F2);
    QQuickItem *editor = rig.item(QStringLiteral("bgmEditor1"));
    QVERIFY(editor && editor->hasActiveFocus());
    rig.type(QStringLiteral("Claps"));
    rig.key(Qt::Key_Enter);
    QCOMPARE(rig.text(QStringLiteral("bgm1")), QStringLiteral("Claps"));
    QVERIFY(rig.item(QStringLiteral("bgm1"))->hasActiveFocus());
    QCOMPARE(rig.takeSetters(), QStringList());
    QSettings().remove(QStringLiteral("cusKey1"));
}

QTEST_MAIN(DevicePagesTest)
#include "tst_devicepages.moc"
