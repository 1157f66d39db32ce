// The six device pages in the real main window against the emulated devices: every kind of
// control operated with mouse or keyboard, the frames the firmware received, the device's own
// changes taken over, and the pages' edge cases.

#include "app/MainWidget.h"
#include "emulator/FirmwareBase.h"
#include "soundcard/Crc16X25.h"
#include "soundcard/SoundCardBase.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/TappedFirmware.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QImage>
#include <QQuickItem>
#include <QSettings>
#include <QStyleHints>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What a row of the control table does to its control.
enum class Act {
    Toggle,      // clicks the switch inside the item
    Pick,        // opens the combo box and clicks entry `arg`
    Drag,        // drags the slider handle to value `arg`
    Type,        // types `arg` into the number field and confirms with Enter
    MuteTwice,   // mutes, then unmutes
    Click,       // clicks button number `arg` within the item (0: the item itself when it is one)
};

} // namespace

Q_DECLARE_METATYPE(Act)

namespace {

const char *const kNav[] = {"navHardware", "navVolume", "navEffect"};

// `item` and its descendants whose class inherits `className`, in tree order.
QList<QQuickItem *> inner(QQuickItem *item, const char *className)
{
    QList<QQuickItem *> found;
    if (!item)
        return found;
    if (item->inherits(className))
        found.append(item);
    for (QQuickItem *child : item->childItems())
        found += inner(child, className);
    return found;
}

QQuickItem *first(QQuickItem *item, const char *className)
{
    const QList<QQuickItem *> all = inner(item, className);
    return all.isEmpty() ? nullptr : all.first();
}

// The frame a setter command of group `group` with data d0 d1 travels in, with sequence
// number `sequence`, behind report id 0: 03 01 01 group, CRC-16/X-25 over the rest.
QByteArray setterFrame(quint16 sequence, quint8 group, quint8 d0, quint8 d1)
{
    QByteArray frame("\x89\xff\xff", 3);
    frame.append(char(sequence >> 8)).append(char(sequence & 0xff));
    frame.append(QByteArray("\x00\x08\x00\x00\x03\x01\x01", 7)).append(char(group));
    frame.append(char(d0)).append(char(d1));
    const quint16 crc = Crc16X25::compute(reinterpret_cast<const quint8 *>(frame.constData()), frame.size());
    frame.append(char(crc >> 8)).append(char(crc & 0xff));
    return frame;
}

// The last setter report the device received matches `setter` ("group d0 d1") byte for byte:
// report id 0, the 17-byte frame with the report's own sequence number, zeros behind it.
bool lastReportIs(const TappedFirmware *tap, const QString &setter)
{
    const QStringList parts = setter.split(QLatin1Char(' '));
    for (int i = tap->reports().size() - 1; i >= 0; --i) {
        const QByteArray &report = tap->reports().at(i);
        if (report.size() < 18 || quint8(report.at(10)) != 0x03 || quint8(report.at(12)) != 0x01)
            continue;   // a query
        const quint16 sequence = quint16(quint8(report.at(4)) << 8 | quint8(report.at(5)));
        QByteArray expected(1, '\0');
        expected += setterFrame(sequence, quint8(parts.at(0).toUInt(nullptr, 16)),
                                quint8(parts.at(1).toUInt(nullptr, 16)),
                                quint8(parts.at(2).toUInt(nullptr, 16)));
        expected += QByteArray(report.size() - expected.size(), '\0');
        if (report != expected)
            qWarning() << "received" << report.left(20).toHex(' ') << "expected" << expected.left(20).toHex(' ');
        return report == expected;
    }
    return false;
}

// Waits for the device to receive `expected.size()` setter commands; empty when they are
// `expected` and the last one's frame is exact, else what differs. Forgets them.
QString receivedExactly(SceneRig &rig, const QStringList &expected)
{
    const bool arrived = QTest::qWaitFor([&] { return rig.tap()->setters().size() >= expected.size(); }, 2000);
    const QStringList got = rig.tap()->setters();
    QString problem;
    if (!arrived || got != expected)
        problem = QStringLiteral("received [%1], expected [%2]").arg(got.join(", "), expected.join(", "));
    else if (!expected.isEmpty() && !lastReportIs(rig.tap().get(), expected.last()))
        problem = QStringLiteral("the frame of %1 differs").arg(expected.last());
    rig.takeSetters();
    return problem;
}

#define VERIFY_SENT(rig, ...)                                              \
    do {                                                                   \
        const QString problem = receivedExactly(rig, QStringList __VA_ARGS__); \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                  \
    } while (false)

} // namespace

class DevicePagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void controls_data();
    void controls();
    void deviceChanges_data();
    void deviceChanges();
    void unplugKeepsPageSilent();
    void recVolumeFollowsDeviceAndUser();
    void vx01IgnoresMicVolumeAbove16();
    void vx01SingModeFromDevice();
    void vx01ChatDisablesSingControls();
    void vx01WithoutDeviceShowsNoMode();
    void vx02KeyUnchecksOtherFamilies();
    void bgmButtonRename();
    void englishTexts();
    void keyboardHardwareVx01();
    void keyboardEffectVx02();

private:
    QStringList tabThrough(SceneRig &rig, const QStringList &order, int limit);
    bool tabTo(SceneRig &rig, const QString &objectName);
    std::unique_ptr<SceneRig> start(const QString &model, int pageIndex);
    void showPage(SceneRig &rig, int pageIndex);
    void act(SceneRig &rig, Act action, const QString &objectName, const QString &arg);
    void setOnDevice(SceneRig &rig, const QString &assignments);

    QTemporaryDir m_settingsDir;
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

std::unique_ptr<SceneRig> DevicePagesTest::start(const QString &model, int pageIndex)
{
    auto rig = std::make_unique<SceneRig>(model);
    showPage(*rig, pageIndex);
    // The first poll brings the device's settings onto the page.
    rig->waitPolls(1);
    rig->takeSetters();
    return rig;
}

void DevicePagesTest::showPage(SceneRig &rig, int pageIndex)
{
    QQuickItem *nav = rig.item(QString::fromLatin1(kNav[pageIndex - 1]));
    QVERIFY(nav);
    rig.click(nav);
    QTRY_VERIFY(rig.page());
}

// "key=value,key=value" turned on the device itself; waits for the poll that takes them over.
void DevicePagesTest::setOnDevice(SceneRig &rig, const QString &assignments)
{
    if (assignments.isEmpty())
        return;
    for (const QString &assignment : assignments.split(QLatin1Char(','))) {
        const QStringList pair = assignment.split(QLatin1Char('='));
        QVERIFY(rig.firmware()->setParameter(pair.at(0), pair.at(1).toInt()));
    }
    rig.waitPolls(1);
}

void DevicePagesTest::act(SceneRig &rig, Act action, const QString &objectName, const QString &arg)
{
    QQuickItem *item = rig.item(objectName);
    QVERIFY2(item, qPrintable(objectName));
    switch (action) {
    case Act::Toggle:
        rig.click(first(item, "QQuickSwitch"));
        break;
    case Act::Pick: {
        QQuickItem *combo = first(item, "QQuickComboBox");
        rig.click(combo);
        QObject *popup = combo->property("popup").value<QObject *>();
        QTRY_VERIFY(popup->property("opened").toBool());
        QQuickItem *list = popup->property("contentItem").value<QQuickItem *>();
        QQuickItem *entry = nullptr;
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, arg.toInt()), Q_ARG(int, 0));
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, arg.toInt()));
        QVERIFY(entry);
        rig.click(entry);
        break;
    }
    case Act::Drag: {
        auto *slider = first(item, "QQuickSlider");
        auto *handle = slider->property("handle").value<QQuickItem *>();
        const qreal left = slider->property("leftPadding").toReal() + handle->width() / 2;
        const qreal extent = slider->property("availableWidth").toReal() - handle->width();
        const QPointF from = handle->mapToItem(slider, QPointF(handle->width() / 2, handle->height() / 2));
        const QPointF to(left + extent * arg.toInt() / 16.0, from.y());
        rig.drag(slider, from, to);
        QCOMPARE(slider->property("value").toInt(), arg.toInt());
        break;
    }
    case Act::Type:
        rig.click(first(item, "QQuickTextInput"));
        rig.key(Qt::Key_A, Qt::ControlModifier);
        rig.type(arg);
        rig.key(Qt::Key_Return);
        break;
    case Act::MuteTwice: {
        QQuickItem *mute = first(item, "QQuickAbstractButton");
        rig.click(mute);
        QVERIFY(item->property("muteIsClicked").toBool());
        rig.click(mute);
        QVERIFY(!item->property("muteIsClicked").toBool());
        break;
    }
    case Act::Click: {
        const QList<QQuickItem *> buttons = inner(item, "QQuickAbstractButton");
        QVERIFY(buttons.size() > arg.toInt());
        rig.click(buttons.at(arg.toInt()));
        break;
    }
    }
}

void DevicePagesTest::controls_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("preset");   // set on the device first
    QTest::addColumn<Act>("action");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QStringList>("setters");   // "group d0 d1" as the device received them

    // The emulated devices start with every switch off, volumes and dodge values at 8, the
    // vx01 in music mode and the vx02 on the first reverberation effect.
    QTest::newRow("vx02 LOOPBACK") << "vx02" << 1 << "" << Act::Toggle << "putInside" << "" << QStringList{"06 01 01"};
    QTest::newRow("vx02 DIRECT on, off") << "vx02" << 1 << "disVoiceLevel=1" << Act::Toggle << "vocalCut" << "" << QStringList{"05 01 02"};
    QTest::newRow("vx02 DIRECT on") << "vx02" << 1 << "" << Act::Toggle << "vocalCut" << "" << QStringList{"05 01 01"};
    QTest::newRow("vx02 DODGE") << "vx02" << 1 << "" << Act::Toggle << "switchDodge" << "" << QStringList{"06 02 01"};
    QTest::newRow("vx02 DENOISE 3") << "vx02" << 1 << "" << Act::Click << "denoise" << "3" << QStringList{"05 02 03"};
    QTest::newRow("vx02 DENOISE OFF") << "vx02" << 1 << "" << Act::Click << "denoise" << "0" << QStringList{"05 02 00"};
    QTest::newRow("vx02 REC VOL drag") << "vx02" << 2 << "" << Act::Drag << "volumeRow1" << "12" << QStringList{"02 02 0c"};
    QTest::newRow("vx02 BGM VOL typed") << "vx02" << 2 << "" << Act::Type << "volumeRow4" << "3" << QStringList{"02 05 03"};
    QTest::newRow("vx02 OUT VOL mute") << "vx02" << 2 << "" << Act::MuteTwice << "volumeRow2" << "" << QStringList{"02 03 00", "02 03 08"};
    QTest::newRow("vx02 LIVE VOL mute") << "vx02" << 2 << "" << Act::MuteTwice << "volumeRow3" << "" << QStringList{"02 04 00", "02 04 08"};
    QTest::newRow("vx02 ECHO drag") << "vx02" << 3 << "" << Act::Drag << "reverbVolume" << "10" << QStringList{"03 01 0a"};
    QTest::newRow("vx02 ECHO typed") << "vx02" << 3 << "" << Act::Type << "reverbVolume" << "14" << QStringList{"03 01 0e"};
    QTest::newRow("vx02 HOST") << "vx02" << 3 << "" << Act::Click << "reverb4" << "0" << QStringList{"01 01 05"};
    QTest::newRow("vx02 ROBOT") << "vx02" << 3 << "" << Act::Click << "voice3" << "0" << QStringList{"01 02 04"};
    QTest::newRow("vx02 Bb") << "vx02" << 3 << "" << Act::Click << "key10" << "0" << QStringList{"01 03 0b"};
    QTest::newRow("vx02 MIX DRY") << "vx02" << 3 << "" << Act::Toggle << "switchDampness" << "" << QStringList{"06 03 01"};
    QTest::newRow("vx02 BGM 4 click") << "vx02" << 3 << "" << Act::Click << "bgm3" << "0" << QStringList{"07 04 00"};

    QTest::newRow("vx01 BT") << "vx01" << 1 << "" << Act::Toggle << "switchBluetooth" << "" << QStringList{"06 01 01"};
    QTest::newRow("vx01 LOOPBACK") << "vx01" << 1 << "" << Act::Toggle << "switchPutInside" << "" << QStringList{"06 03 01"};
    QTest::newRow("vx01 DENOISE") << "vx01" << 1 << "" << Act::Toggle << "switchDenoise" << "" << QStringList{"06 02 01"};
    QTest::newRow("vx01 VOCAL CUT off") << "vx01" << 1 << "btnDisVoice=1" << Act::Toggle << "switchVocalCut" << "" << QStringList{"06 04 02"};
    QTest::newRow("vx01 DODGE") << "vx01" << 1 << "" << Act::Toggle << "switchDodge" << "" << QStringList{"06 07 01"};
    QTest::newRow("vx01 SPEED 5") << "vx01" << 1 << "" << Act::Pick << "dodgeSpeed" << "4" << QStringList{"04 03 05"};
    QTest::newRow("vx01 THRESHOLD 1") << "vx01" << 1 << "" << Act::Pick << "dodgeThreshold" << "0" << QStringList{"04 01 01"};
    QTest::newRow("vx01 LEVEL 16") << "vx01" << 1 << "" << Act::Pick << "dodgeLevel" << "15" << QStringList{"04 02 10"};
    QTest::newRow("vx01 MIC VOL drag") << "vx01" << 2 << "" << Act::Drag << "volumeRow3" << "2" << QStringList{"02 04 02"};
    QTest::newRow("vx01 GAIN typed") << "vx01" << 2 << "" << Act::Type << "volumeRow4" << "11" << QStringList{"05 03 0b"};
    QTest::newRow("vx01 GAIN mute") << "vx01" << 2 << "toneColour=5" << Act::MuteTwice << "volumeRow4" << "" << QStringList{"05 03 00", "05 03 05"};
    QTest::newRow("vx01 MONITOR mute") << "vx01" << 2 << "" << Act::MuteTwice << "volumeRow0" << "" << QStringList{"02 01 00", "02 01 08"};
    QTest::newRow("vx01 SING") << "vx01" << 3 << "" << Act::Click << "mode1" << "0" << QStringList{"01 02 01"};
    QTest::newRow("vx01 MUSIC") << "vx01" << 3 << "model=7" << Act::Click << "mode0" << "0" << QStringList{"01 01 00"};
    QTest::newRow("vx01 SMALL") << "vx01" << 3 << "model=2" << Act::Click << "size2" << "0" << QStringList{"01 02 03"};
    QTest::newRow("vx01 VOL drag") << "vx01" << 3 << "model=4" << Act::Drag << "reverbDepth" << "13" << QStringList{"03 01 0d"};
    QTest::newRow("vx01 ECHO typed") << "vx01" << 3 << "model=4" << Act::Type << "reverbVolume" << "9" << QStringList{"03 02 09"};
}

void DevicePagesTest::controls()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QString, preset);
    QFETCH(Act, action);
    QFETCH(QString, objectName);
    QFETCH(QString, arg);
    QFETCH(QStringList, setters);

    auto rig = start(model, pageIndex);
    setOnDevice(*rig, preset);
    rig->takeSetters();
    rig->tap()->clear();
    act(*rig, action, objectName, arg);
    if (action == Act::Drag) {
        // Every step of the drag sends the value it passed, the target last.
        QVERIFY(lastReportIs(rig->tap().get(), setters.last()));
        const QStringList sent = rig->takeSetters();
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.last(), setters.last());
        for (const QString &step : sent)
            QVERIFY2(step.left(5) == setters.last().left(5), qPrintable(step));
    } else {
        // (The sound-effect buttons play 200 ms after the click.)
        const QString problem = receivedExactly(*rig, setters);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    // The device reports the new value back: nothing is sent again.
    rig->waitPolls(1);
    QCOMPARE(rig->takeSetters(), QStringList());
}

void DevicePagesTest::deviceChanges_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QByteArray>("control");    // class of the inner control that shows it
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("shows");

    QTest::newRow("vx02 LOOPBACK") << "vx02" << 1 << "btnInPower=1" << "putInside" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx02 DIRECT") << "vx02" << 1 << "disVoiceLevel=1" << "vocalCut" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx02 DODGE") << "vx02" << 1 << "btnDodge=1" << "switchDodge" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx02 DENOISE") << "vx02" << 1 << "denoiseLevel=3" << "denoise" << QByteArray("QQuickItem") << QByteArray("checkedIndex") << QVariant(3);
    QTest::newRow("vx02 MONITOR") << "vx02" << 2 << "volumeMonitor=3" << "volumeRow0" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(3.0);
    QTest::newRow("vx02 OUT VOL") << "vx02" << 2 << "volumeBluetooth=16" << "volumeRow2" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(16.0);
    QTest::newRow("vx02 BGM VOL above 16") << "vx02" << 2 << "volumeBGM=20" << "volumeRow4" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(16.0);
    QTest::newRow("vx02 ECHO") << "vx02" << 3 << "reverbVolume=11" << "reverbVolume" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(11.0);
    QTest::newRow("vx02 MIX DRY") << "vx02" << 3 << "btnMixDry=1" << "switchDampness" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx02 WARCRAFT") << "vx02" << 3 << "soundMode=2,modelDetail=6" << "voice5" << QByteArray("QQuickAbstractButton") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx02 B") << "vx02" << 3 << "soundMode=3,modelDetail=12" << "key11" << QByteArray("QQuickAbstractButton") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx01 BT") << "vx01" << 1 << "btnBluetooth=1" << "switchBluetooth" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx01 VOCAL CUT") << "vx01" << 1 << "btnDisVoice=1" << "switchVocalCut" << QByteArray("QQuickSwitch") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx01 SPEED") << "vx01" << 1 << "dodgeSpeed=3" << "dodgeSpeed" << QByteArray("QQuickComboBox") << QByteArray("currentIndex") << QVariant(2);
    QTest::newRow("vx01 LEVEL") << "vx01" << 1 << "dodgeLevel=16" << "dodgeLevel" << QByteArray("QQuickComboBox") << QByteArray("currentIndex") << QVariant(15);
    QTest::newRow("vx01 REC VOL") << "vx01" << 2 << "volumeRecording=0" << "volumeRow1" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(0.0);
    QTest::newRow("vx01 GAIN") << "vx01" << 2 << "toneColour=14" << "volumeRow4" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(14.0);
    QTest::newRow("vx01 CHAT") << "vx01" << 3 << "model=7" << "mode2" << QByteArray("QQuickAbstractButton") << QByteArray("checked") << QVariant(true);
    QTest::newRow("vx01 ECHO") << "vx01" << 3 << "reverbVolume=2" << "reverbVolume" << QByteArray("QQuickSlider") << QByteArray("value") << QVariant(2.0);
}

void DevicePagesTest::deviceChanges()
{
    QFETCH(QString, model);
    QFETCH(int, pageIndex);
    QFETCH(QString, change);
    QFETCH(QString, objectName);
    QFETCH(QByteArray, control);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, shows);

    auto rig = start(model, pageIndex);
    QQuickItem *shown = first(rig->item(objectName), control.constData());
    QVERIFY(shown);
    QVERIFY(shown->property(property.constData()) != shows);

    QSignalSpy polled(rig->window()->soundCard(), &SoundCardBase::allParaChanged);
    for (const QString &assignment : change.split(QLatin1Char(','))) {
        const QStringList pair = assignment.split(QLatin1Char('='));
        QVERIFY(rig->firmware()->setParameter(pair.at(0), pair.at(1).toInt()));
    }
    // The first poll that sees the change brings it onto the page.
    QVERIFY(polled.wait(2 * 500 + 200));
    QCOMPARE(shown->property(property.constData()), shows);
    // What the user sees: the control looks as it does on the page loaded afresh.
    QQuickItem *item = rig->item(objectName);
    const QRect area = QRectF(item->mapToScene(QPointF(0, 0)), item->size()).toAlignedRect();
    const QImage seen = rig->grab().copy(area);
    showPage(*rig, pageIndex % 3 + 1);
    showPage(*rig, pageIndex);
    QVERIFY(rig->item(objectName) != item);
    QCOMPARE(rig->grab().copy(area), seen);
    // Taking a value over sends nothing back, then or at later polls.
    rig->waitPolls(1);
    QCOMPARE(rig->takeSetters(), QStringList());
}

void DevicePagesTest::unplugKeepsPageSilent()
{
    auto rig = start(QStringLiteral("vx02"), 2);
    const QString source = rig->pageSource();
    QVERIFY(rig->unplug(QStringLiteral("vx02")));
    QTRY_VERIFY(!rig->window()->soundCard());

    // Every kind of control still works on screen and calls nothing.
    MessageCapture messages;
    act(*rig, Act::Drag, QStringLiteral("volumeRow0"), QStringLiteral("4"));
    act(*rig, Act::MuteTwice, QStringLiteral("volumeRow1"), QString());
    act(*rig, Act::Type, QStringLiteral("volumeRow2"), QStringLiteral("5"));
    QCOMPARE(rig->pageSource(), source);
    showPage(*rig, 1);
    act(*rig, Act::Toggle, QStringLiteral("putInside"), QString());
    act(*rig, Act::Click, QStringLiteral("denoise"), QStringLiteral("2"));
    showPage(*rig, 3);
    act(*rig, Act::Click, QStringLiteral("key3"), QStringLiteral("0"));
    act(*rig, Act::Click, QStringLiteral("bgm0"), QStringLiteral("0"));
    QTest::qWait(300);
    for (const QString &line : messages.texts(QtWarningMsg))
        QVERIFY2(!line.contains(QLatin1String("TypeError")) && !line.contains(QLatin1String("null")), qPrintable(line));

    // Replugged, the device has received none of it.
    QVERIFY(rig->plug(QStringLiteral("vx02")));
    rig->waitPolls(1);
    QCOMPARE(rig->takeSetters(), QStringList());
}

// The REC VOL row of vx02 always shows what the device holds and sends what the user does: a
// click at the far left of a fresh page, a click back at the value last sent after the device
// moved away from it, a mute that the device reads as 0 (the row stays muted, the slider where
// it was), and a mute and unmute after the device changed.
void DevicePagesTest::recVolumeFollowsDeviceAndUser()
{
    auto rig = start(QStringLiteral("vx02"), 2);
    QQuickItem *row = rig->item(QStringLiteral("volumeRow1"));
    QQuickItem *slider = first(row, "QQuickSlider");
    const auto clickAt = [&](int value) {
        auto *handle = slider->property("handle").value<QQuickItem *>();
        const qreal extent = slider->property("availableWidth").toReal() - handle->width();
        rig->click(slider, QPointF(slider->property("leftPadding").toReal() + handle->width() / 2 + extent * value / 16.0,
                                   slider->height() / 2));
    };
    QCOMPARE(slider->property("value").toInt(), 8);
    clickAt(0);
    VERIFY_SENT(*rig, {"02 02 00"});
    rig->waitPolls(1);
    QCOMPARE(slider->property("value").toInt(), 0);

    act(*rig, Act::Drag, QStringLiteral("volumeRow1"), QStringLiteral("11"));
    rig->waitPolls(1);
    rig->takeSetters();
    setOnDevice(*rig, QStringLiteral("volumeRecording=6"));
    QCOMPARE(slider->property("value").toInt(), 6);
    clickAt(11);
    VERIFY_SENT(*rig, {"02 02 0b"});
    rig->waitPolls(1);

    QQuickItem *mute = first(row, "QQuickAbstractButton");
    rig->click(mute);
    VERIFY_SENT(*rig, {"02 02 00"});
    // The device reads 0 now: the row stays muted, its slider where the user left it.
    rig->waitPolls(1);
    QCOMPARE(rig->firmware()->parameter(QStringLiteral("volumeRecording")), 0);
    QVERIFY(row->property("muteIsClicked").toBool());
    QCOMPARE(slider->property("value").toInt(), 11);
    rig->click(mute);
    VERIFY_SENT(*rig, {"02 02 0b"});

    // Muted again, a value the device reports other than 0 unmutes the row and moves it; a
    // mute and unmute then send 0 and that value.
    rig->click(mute);
    rig->waitPolls(1);
    setOnDevice(*rig, QStringLiteral("volumeRecording=4"));
    QVERIFY(!row->property("muteIsClicked").toBool());
    QCOMPARE(slider->property("value").toInt(), 4);
    rig->takeSetters();
    rig->click(mute);
    rig->click(mute);
    VERIFY_SENT(*rig, {"02 02 00", "02 02 04"});
}

void DevicePagesTest::vx01IgnoresMicVolumeAbove16()
{
    auto rig = start(QStringLiteral("vx01"), 2);
    QQuickItem *mic = first(rig->item(QStringLiteral("volumeRow3")), "QQuickSlider");
    QQuickItem *monitor = first(rig->item(QStringLiteral("volumeRow0")), "QQuickSlider");
    QCOMPARE(mic->property("value").toInt(), 8);
    setOnDevice(*rig, QStringLiteral("volumeMic=17,volumeMonitor=2"));
    QCOMPARE(monitor->property("value").toInt(), 2);
    QCOMPARE(mic->property("value").toInt(), 8);
    QCOMPARE(rig->item(QStringLiteral("volumeRow3"))->property("sliderValue").toInt(), 8);
}

void DevicePagesTest::vx01SingModeFromDevice()
{
    auto rig = start(QStringLiteral("vx01"), 3);
    QQuickItem *page = rig->page();
    QVERIFY(!rig->item(QStringLiteral("size0"))->isEnabled());
    QVERIFY(!rig->item(QStringLiteral("reverbDepth"))->isEnabled());

    setOnDevice(*rig, QStringLiteral("model=3"));
    QVERIFY(rig->item(QStringLiteral("mode1"))->property("checked").toBool());
    QVERIFY(rig->item(QStringLiteral("size1"))->property("checked").toBool());
    for (const char *name : {"size0", "size1", "size2", "reverbDepth", "reverbVolume"})
        QVERIFY2(rig->item(QString::fromLatin1(name))->isEnabled(), name);
    QCOMPARE(page->property("modeDetailed").toInt(), 2);

    rig->click(rig->item(QStringLiteral("mode1")));
    VERIFY_SENT(*rig, {"01 02 02"});
}

void DevicePagesTest::vx01ChatDisablesSingControls()
{
    auto rig = start(QStringLiteral("vx01"), 3);
    setOnDevice(*rig, QStringLiteral("model=2"));
    QVERIFY(rig->item(QStringLiteral("size0"))->isEnabled());

    rig->click(rig->item(QStringLiteral("mode2")));
    VERIFY_SENT(*rig, {"01 03 00"});
    for (const char *name : {"size0", "size1", "size2", "reverbDepth", "reverbVolume"})
        QVERIFY2(!rig->item(QString::fromLatin1(name))->isEnabled(), name);
    rig->waitPolls(1);
    QCOMPARE(rig->firmware()->parameter(QStringLiteral("model")), 7);
    QVERIFY(rig->item(QStringLiteral("mode2"))->property("checked").toBool());
    QCOMPARE(rig->takeSetters(), QStringList());
}

void DevicePagesTest::vx01WithoutDeviceShowsNoMode()
{
    auto rig = start(QStringLiteral("vx01"), 3);
    setOnDevice(*rig, QStringLiteral("model=4"));
    QVERIFY(rig->unplug(QStringLiteral("vx01")));
    QTRY_VERIFY(!rig->window()->soundCard());

    for (const char *name : {"mode1", "size0", "mode0"}) {
        rig->click(rig->item(QString::fromLatin1(name)));
        QCOMPARE(rig->page()->property("modeType").toInt(), -1);
        for (const char *button : {"mode0", "mode1", "mode2", "size0", "size1", "size2"})
            QVERIFY2(!rig->item(QString::fromLatin1(button))->property("checked").toBool(), button);
        for (const char *off : {"size0", "reverbDepth", "reverbVolume"})
            QVERIFY2(!rig->item(QString::fromLatin1(off))->isEnabled(), off);
    }
}

void DevicePagesTest::vx02KeyUnchecksOtherFamilies()
{
    auto rig = start(QStringLiteral("vx02"), 3);
    setOnDevice(*rig, QStringLiteral("soundMode=2,modelDetail=3"));
    QVERIFY(rig->item(QStringLiteral("voice2"))->property("checked").toBool());

    rig->click(rig->item(QStringLiteral("key10")));
    VERIFY_SENT(*rig, {"01 03 0b"});
    int checked = 0;
    for (const char *prefix : {"reverb", "voice", "key"}) {
        for (int i = 0; i < 12; ++i) {
            QQuickItem *button = rig->item(QString::fromLatin1(prefix) + QString::number(i));
            checked += button && button->property("checked").toBool();
        }
    }
    QCOMPARE(checked, 1);
    QVERIFY(rig->item(QStringLiteral("key10"))->property("checked").toBool());
}

void DevicePagesTest::bgmButtonRename()
{
    {
        auto rig = start(QStringLiteral("vx02"), 3);
        QQuickItem *button = rig->item(QStringLiteral("bgm3"));
        QCOMPARE(button->property("text").toString(), QStringLiteral("4"));

        // A double click renames and plays nothing.
        rig->doubleClick(button);
        QTest::qWait(300);
        QCOMPARE(rig->takeSetters(), QStringList());
        QQuickItem *editor = rig->item(QStringLiteral("bgmEditor3"));
        QVERIFY(editor && editor->hasActiveFocus());
        QCOMPARE(button->property("text").toString(), QString());
        QCOMPARE(rig->page()->property("text_old").toString(), QStringLiteral("4"));

        // Blanks only: the old name comes back.
        rig->key(Qt::Key_A, Qt::ControlModifier);
        rig->type(QStringLiteral("   "));
        rig->key(Qt::Key_Return);
        QVERIFY(!editor->isVisible());
        QCOMPARE(button->property("text").toString(), QStringLiteral("4"));

        rig->doubleClick(button);
        rig->key(Qt::Key_A, Qt::ControlModifier);
        rig->type(QStringLiteral("Air horn"));
        rig->key(Qt::Key_Return);
        QCOMPARE(button->property("text").toString(), QStringLiteral("Air horn"));
        QCOMPARE(rig->takeSetters(), QStringList());

        // The renamed button still plays its sound (clicked once the double-click time is over).
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        rig->click(button);
        VERIFY_SENT(*rig, {"07 04 00"});
    }
    QCOMPARE(QSettings().value(QStringLiteral("cusKey3")).toString(), QStringLiteral("Air horn"));

    // After a restart the button shows the name again, also after a language change.
    auto rig = start(QStringLiteral("vx02"), 3);
    QCOMPARE(rig->item(QStringLiteral("bgm3"))->property("text").toString(), QStringLiteral("Air horn"));
    QCOMPARE(rig->item(QStringLiteral("bgm2"))->property("text").toString(), QStringLiteral("3"));
    rig->setLanguage(QStringLiteral("English"));
    QCOMPARE(rig->item(QStringLiteral("bgm3"))->property("text").toString(), QStringLiteral("Air horn"));
    rig->setLanguage(QStringLiteral("简体中文"));
    QSettings().remove(QStringLiteral("cusKey3"));
}

void DevicePagesTest::englishTexts()
{
    struct Text {
        int page;
        const char *objectName;
        const char *chinese;
        const char *english;
    };
    const Text vx01[] = {
        {1, "switchBluetooth", "蓝牙开关", "BT"},
        {1, "dodgeThreshold", "闪避门限", "THRESHOLD"},
        {2, "volumeRow4", "话筒音色", "GAIN"},
        {3, "mode2", "聊天", "CHAT"},
        {3, "size1", "中", "MEDIUM"},
    };
    const Text vx02[] = {
        {1, "vocalCut", "耳返", "DIRECT"},
        {2, "volumeRow3", "直播音量", "LIVE VOL"},
        {3, "voice5", "怪兽", "WARCRAFT"},
        {3, "switchDampness", "听湿录干", "MIX DRY"},
    };
    for (const QString &model : {QStringLiteral("vx01"), QStringLiteral("vx02")}) {
        auto rig = start(model, 1);
        rig->setLanguage(QStringLiteral("简体中文"));
        const auto check = [&](const Text &t) {
            showPage(*rig, t.page);
            QCOMPARE(rig->text(QString::fromLatin1(t.objectName)), QString::fromUtf8(t.chinese));
            rig->setLanguage(QStringLiteral("English"));
            QCOMPARE(rig->text(QString::fromLatin1(t.objectName)), QString::fromLatin1(t.english));
            rig->setLanguage(QStringLiteral("简体中文"));
        };
        if (model == QLatin1String("vx01")) {
            for (const Text &t : vx01)
                check(t);
        } else {
            for (const Text &t : vx02)
                check(t);
        }
    }
}

// Presses Tab until the focus has passed through every control of `order` (at most `limit`
// presses) and returns the controls in the order the focus entered them. Each control is
// named as a screen reader hears it.
QStringList DevicePagesTest::tabThrough(SceneRig &rig, const QStringList &order, int limit)
{
    QStringList visited;
    for (int i = 0; i < limit && visited.size() < order.size(); ++i) {
        rig.key(Qt::Key_Tab);
        QQuickItem *focus = rig.focusItem();
        for (const QString &name : order) {
            QQuickItem *control = rig.item(name);
            if (control && focus && (control == focus || control->isAncestorOf(focus))
                && !visited.contains(name)) {
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
bool DevicePagesTest::tabTo(SceneRig &rig, const QString &objectName)
{
    QQuickItem *target = rig.item(objectName);
    for (int i = 0; i < 60 && target; ++i) {
        QQuickItem *focus = rig.focusItem();
        if (focus && (focus == target || target->isAncestorOf(focus)))
            return true;
        rig.key(Qt::Key_Tab);
    }
    return false;
}

// The vx01 hardware page from the keyboard alone: Tab in reading order, Space on switches,
// arrow keys on the combo boxes.
void DevicePagesTest::keyboardHardwareVx01()
{
    auto rig = start(QStringLiteral("vx01"), 1);
    const QStringList order{"switchBluetooth", "switchPutInside", "switchDenoise", "switchVocalCut",
                            "switchDodge", "dodgeSpeed", "dodgeThreshold", "dodgeLevel"};
    QCOMPARE(tabThrough(*rig, order, 40), order);

    QVERIFY(tabTo(*rig, QStringLiteral("switchPutInside")));
    rig->key(Qt::Key_Space);
    VERIFY_SENT(*rig, {"06 03 01"});
    QVERIFY(tabTo(*rig, QStringLiteral("switchDodge")));
    rig->key(Qt::Key_Space);
    VERIFY_SENT(*rig, {"06 07 01"});
    QVERIFY(tabTo(*rig, QStringLiteral("dodgeThreshold")));
    rig->key(Qt::Key_Down);
    VERIFY_SENT(*rig, {"04 01 09"});
    rig->key(Qt::Key_Up);
    rig->key(Qt::Key_Up);
    VERIFY_SENT(*rig, {"04 01 08", "04 01 07"});
    rig->waitPolls(1);
    QCOMPARE(rig->takeSetters(), QStringList());
}

// The vx02 sound-effect page from the keyboard alone: arrow keys on the slider, Space on the
// switch and the effect buttons, F2 and Enter to rename a sound-effect button.
void DevicePagesTest::keyboardEffectVx02()
{
    auto rig = start(QStringLiteral("vx02"), 3);
    const QStringList order{"reverbVolume", "switchDampness", "reverb0", "reverb4", "voice0",
                            "voice5", "key0", "key11", "bgm0", "bgm8"};
    QCOMPARE(tabThrough(*rig, order, 80), order);
    // Leaving the slider's number field confirms its value, which sends it.
    rig->takeSetters();

    QVERIFY(tabTo(*rig, QStringLiteral("reverbVolume")));
    rig->key(Qt::Key_Right);
    VERIFY_SENT(*rig, {"03 01 07"});
    QVERIFY(tabTo(*rig, QStringLiteral("switchDampness")));
    // Leaving the number field on the way confirmed its value again.
    rig->takeSetters();
    rig->key(Qt::Key_Space);
    VERIFY_SENT(*rig, {"06 03 01"});
    QVERIFY(tabTo(*rig, QStringLiteral("voice1")));
    rig->key(Qt::Key_Space);
    VERIFY_SENT(*rig, {"01 02 02"});
    QVERIFY(rig->item(QStringLiteral("voice1"))->property("checked").toBool());
    QVERIFY(tabTo(*rig, QStringLiteral("bgm1")));
    rig->key(Qt::Key_Space);
    VERIFY_SENT(*rig, {"07 02 00"});

    rig->key(Qt::Key_F2);
    QQuickItem *editor = rig->item(QStringLiteral("bgmEditor1"));
    QVERIFY(editor && editor->hasActiveFocus());
    rig->type(QStringLiteral("Claps"));
    rig->key(Qt::Key_Enter);
    QCOMPARE(rig->item(QStringLiteral("bgm1"))->property("text").toString(), QStringLiteral("Claps"));
    QVERIFY(rig->item(QStringLiteral("bgm1"))->hasActiveFocus());
    QCOMPARE(rig->takeSetters(), QStringList());
    QSettings().remove(QStringLiteral("cusKey1"));
}

QTEST_MAIN(DevicePagesTest)
#include "tst_devicepages.moc"
