#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include "device/DetectionDevice.h"
#include "device/EmulatedBus.h"
#include "device/PowerEventWatcher.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// Records every signal of a DetectionDevice, the two silent ones included.
struct Watch
{
    explicit Watch(DetectionDevice *detection)
        : state(detection, &DetectionDevice::s_devTypeAndState),
          tablet(detection, &DetectionDevice::s_showTablet),
          wakeUp(detection, &DetectionDevice::s_deviceWakeUp)
    {
    }
    // "vx02+" for an arrival, "vx02-" for a removal, in order.
    QStringList events() const
    {
        QStringList result;
        for (const QList<QVariant> &args : state)
            result << args.at(0).toString() + (args.at(1).toBool() ? QLatin1Char('+') : QLatin1Char('-'));
        return result;
    }
    QSignalSpy state;
    QSignalSpy tablet;
    QSignalSpy wakeUp;
};

const QString kVx02A = QStringLiteral("/dev/hidraw3#VID_1234&PID_4321");
const QString kVx02B = QStringLiteral("/dev/hidraw4#VID_1234&PID_4321");
const QString kVx01 = QStringLiteral("/dev/hidraw7#VID_1235&PID_0003");
const QString kKeyboard = QStringLiteral("/dev/hidraw0#VID_046D&PID_C31C");

} // namespace

class TestDetectionDevice : public QObject
{
    Q_OBJECT
private slots:
    void devTypeFromPath_data();
    void devTypeFromPath();
    void neverShown();
    void severalInterfacesGiveOneArrival();
    void keyboardIsIgnored();
    void lowerCasePathsMatch();
    void otherModelPluggedWhileConnected();
    void scanFindsDeviceAttachedBeforeStart_data();
    void scanFindsDeviceAttachedBeforeStart();
    void scanReportsOnlyTheFirstOfTwoModels_data();
    void scanReportsOnlyTheFirstOfTwoModels();
    void scanSkipsInterfacesThatCannotBeOpened();
    void scanWithoutDeviceSet();
    void scanStopsAtUnreadableEntry();
    void emulatedPlugAndUnplugWhileRunning_data();
    void emulatedPlugAndUnplugWhileRunning();
    void noHotplugIsLogged();
    void sleepAndWakeOnlyLog();
};

void TestDetectionDevice::devTypeFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("type");
    QTest::newRow("vx01 hidraw") << kVx01 << "vx01";
    QTest::newRow("vx02 hidraw") << kVx02A << "vx02";
    QTest::newRow("windows path")
        << "\\\\?\\hid#vid_1234&pid_4321&mi_03#7&2b3e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}" << "vx02";
    QTest::newRow("lower case vx01") << "/dev/hidraw1#vid_1235&pid_0003" << "vx01";
    QTest::newRow("mixed case") << "x#Vid_1234&Pid_4321" << "vx02";
    QTest::newRow("both texts: key order") << "VID_1234&PID_4321 VID_1235&PID_0003" << "vx01";
    QTest::newRow("keyboard") << kKeyboard << "";
    QTest::newRow("near miss") << "/dev/hidraw1#VID_1234&PID_4322" << "";
    QTest::newRow("empty") << "" << "";
}

void TestDetectionDevice::devTypeFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, type);
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    QCOMPARE(detection.devTypeFromPath(path), type);
}

void TestDetectionDevice::neverShown()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    QVERIFY(!detection.isVisible());
    QVERIFY(!detection.isConnected());
    QVERIFY(!detection.parent());
}

void TestDetectionDevice::severalInterfacesGiveOneArrival()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    backend.announceArrival(kVx02A);
    backend.announceArrival(kVx02B);
    QCOMPARE(watch.events(), QStringList{"vx02+"});
    QVERIFY(detection.isConnected());
    backend.announceRemoval(kVx02A);
    backend.announceRemoval(kVx02B);
    QCOMPARE(watch.events(), (QStringList{"vx02+", "vx02-"}));
    QVERIFY(!detection.isConnected());
    QCOMPARE(watch.tablet.size() + watch.wakeUp.size(), 0);
}

void TestDetectionDevice::keyboardIsIgnored()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    backend.announceArrival(kKeyboard);
    backend.announceRemoval(kKeyboard);
    QVERIFY(watch.events().isEmpty());
    backend.announceArrival(kVx01);
    backend.announceArrival(kKeyboard);
    backend.announceRemoval(kKeyboard);  // a keyboard leaving does not end the connection
    QCOMPARE(watch.events(), QStringList{"vx01+"});
    QVERIFY(detection.isConnected());
}

void TestDetectionDevice::lowerCasePathsMatch()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    backend.announceArrival(QStringLiteral("/dev/hidraw3#vid_1234&pid_4321"));
    backend.announceRemoval(QStringLiteral("/dev/hidraw3#vid_1234&pid_4321"));
    QCOMPARE(watch.events(), (QStringList{"vx02+", "vx02-"}));
}

void TestDetectionDevice::otherModelPluggedWhileConnected()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    backend.announceArrival(kVx01);
    backend.announceArrival(kVx02A);  // not reported
    QCOMPARE(watch.events(), QStringList{"vx01+"});
    backend.announceRemoval(kVx02A);  // ends the connection although the vx01 is still there
    QCOMPARE(watch.events(), (QStringList{"vx01+", "vx02-"}));
    QVERIFY(!detection.isConnected());
    backend.announceRemoval(kVx01);   // removal while disconnected: nothing
    QCOMPARE(watch.events().size(), 2);
}

void TestDetectionDevice::scanFindsDeviceAttachedBeforeStart_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("vx01") << "vx01";
    QTest::newRow("vx02") << "vx02";
}

void TestDetectionDevice::scanFindsDeviceAttachedBeforeStart()
{
    QFETCH(QString, model);
    EmulatedBus bus;
    QVERIFY(bus.plug(model));
    DetectionDevice detection(&bus);
    Watch watch(&detection);
    detection.scanDevices();
    QCOMPARE(watch.events(), QStringList{model + "+"});
    detection.scanDevices();  // already connected: nothing more
    QCOMPARE(watch.events().size(), 1);
}

void TestDetectionDevice::scanReportsOnlyTheFirstOfTwoModels_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("vx02 listed first") << QStringList{"vx02", "vx01"};
    QTest::newRow("vx01 listed first") << QStringList{"vx01", "vx02"};
}

void TestDetectionDevice::scanReportsOnlyTheFirstOfTwoModels()
{
    QFETCH(QStringList, order);
    EmulatedBus bus;
    for (const QString &model : order)
        QVERIFY(bus.plug(model));
    DetectionDevice detection(&bus);
    Watch watch(&detection);
    detection.scanDevices();
    QCOMPARE(watch.events(), QStringList{order.first() + "+"});
}

void TestDetectionDevice::scanSkipsInterfacesThatCannotBeOpened()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kKeyboard, 0x046D, 0xC31C, 1, 6, 9, 2)
                        << ScriptedHidBackend::collection(kVx01, 0x1235, 0x0003, 0x000C, 1, 3, 0)
                        << ScriptedHidBackend::collection(kVx02A, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    backend.unopenable << kVx01;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    detection.scanDevices();
    QCOMPARE(watch.events(), QStringList{"vx02+"});
    QCOMPARE(backend.opened, (QStringList{kKeyboard, kVx01, kVx02A}));
    QCOMPARE(backend.traffic->closed, (QStringList{kKeyboard, kVx02A}));  // nothing left open
}

void TestDetectionDevice::scanWithoutDeviceSet()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kVx02A, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    backend.status = HidEnumeration::Status::NoDeviceSet;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    MessageCapture capture;
    detection.scanDevices();
    QCOMPARE(capture.texts(QtDebugMsg), QStringList{"NO hid device"});
    QVERIFY(watch.events().isEmpty());
}

void TestDetectionDevice::scanStopsAtUnreadableEntry()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kKeyboard, 0x046D, 0xC31C, 1, 6, 9, 2);
    backend.status = HidEnumeration::Status::UnreadableEntry;
    DetectionDevice detection(&backend);
    Watch watch(&detection);
    MessageCapture capture;
    detection.scanDevices();
    QVERIFY(capture.messages().isEmpty());
    QVERIFY(watch.events().isEmpty());
}

void TestDetectionDevice::emulatedPlugAndUnplugWhileRunning_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("vx01") << "vx01";
    QTest::newRow("vx02") << "vx02";
}

void TestDetectionDevice::emulatedPlugAndUnplugWhileRunning()
{
    QFETCH(QString, model);
    EmulatedBus bus;
    DetectionDevice detection(&bus);
    Watch watch(&detection);
    detection.scanDevices();
    QVERIFY(watch.events().isEmpty());
    QVERIFY(bus.plug(model));
    QVERIFY(bus.unplug(model));
    QVERIFY(bus.plug(model));
    QCOMPARE(watch.events(), (QStringList{model + "+", model + "-", model + "+"}));
    QCOMPARE(watch.tablet.size() + watch.wakeUp.size(), 0);
}

void TestDetectionDevice::noHotplugIsLogged()
{
    class DeafBackend : public ScriptedHidBackend
    {
    public:
        bool watchesHotplug() const override { return false; }
    };
    DeafBackend backend;
    backend.collections << ScriptedHidBackend::collection(kVx02A, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    MessageCapture capture;
    DetectionDevice detection(&backend);
    QVERIFY(capture.texts(QtDebugMsg).contains(QStringLiteral("register UDisk notification fail, error:")));
    Watch watch(&detection);
    detection.scanDevices();  // the scan still works
    QCOMPARE(watch.events(), QStringList{"vx02+"});
}

void TestDetectionDevice::sleepAndWakeOnlyLog()
{
    ScriptedHidBackend backend;
    DetectionDevice detection(&backend);
    backend.announceArrival(kVx02A);
    Watch watch(&detection);
    MessageCapture capture;
    QVERIFY(detection.powerEvents());
    detection.powerEvents()->onPrepareForSleep(true);
    detection.powerEvents()->onPrepareForSleep(false);
    detection.powerEvents()->onEndOfSession();
    QCOMPARE(capture.texts(QtDebugMsg), (QStringList{"======xiu mian======", "======huan xing======",
                                                     "======system poweroff,reboot or logoff======"}));
    QVERIFY(watch.events().isEmpty());
    QVERIFY(detection.isConnected());
}

QTEST_MAIN(TestDetectionDevice)
#include "tst_detectiondevice.moc"
