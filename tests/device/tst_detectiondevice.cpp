#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include "device/DetectionDevice.h"
#include "emulator/EmulatedBus.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(HidEnumeration::Status)

namespace {

const QMap<QString, QString> kPaths = {
    {"vx02a", "/dev/hidraw3#VID_1234&PID_4321"},     {"vx02b", "/dev/hidraw4#VID_1234&PID_4321"},
    {"vx02lower", "/dev/hidraw3#vid_1234&pid_4321"}, {"vx01", "/dev/hidraw7#VID_1235&PID_0003"},
    {"keyboard", "/dev/hidraw0#VID_046D&PID_C31C"},  {"nearMiss", "/dev/hidraw1#VID_1234&PID_4322"},
};

// The models as the layers above hand them down.
const QVector<HidModelId> kModels{{"vx01", 0x1235, 0x0003}, {"vx02", 0x1234, 0x4321}};

// A detection on `backend` with every one of its signals recorded.
struct Watched
{
    explicit Watched(HidBackend *backend)
        : detection(backend, kModels)
        , state(&detection, &DetectionDevice::s_devTypeAndState)
        , tablet(&detection, &DetectionDevice::s_showTablet)
        , wakeUp(&detection, &DetectionDevice::s_deviceWakeUp)
    {
    }
    // "vx02+" for an arrival, "vx02-" for a removal, in order; the two silent signals never come.
    QStringList events() const
    {
        QStringList result;
        for (const QList<QVariant> &args : state)
            result << args.at(0).toString() + (args.at(1).toBool() ? "+" : "-");
        if (tablet.size() + wakeUp.size() > 0)
            result << "silent signal emitted";
        return result;
    }
    DetectionDevice detection;
    QSignalSpy state;
    QSignalSpy tablet;
    QSignalSpy wakeUp;
};

} // namespace

class TestDetectionDevice : public QObject
{
    Q_OBJECT
private slots:
    void hotplug_data()
    {
        QTest::addColumn<QStringList>("script"); // "+name" arrives, "-name" leaves
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("connected");
        QTest::newRow("several interfaces, one arrival, first removal")
            << QStringList{"+vx02a", "+vx02b", "-vx02a", "-vx02b"} << QStringList{"vx02+", "vx02-"} << false;
        QTest::newRow("other devices ignored")
            << QStringList{"+keyboard", "+nearMiss", "-keyboard", "+vx01", "+keyboard", "-keyboard", "-nearMiss"}
            << QStringList{"vx01+"} << true;
        QTest::newRow("lower-case paths")
            << QStringList{"+vx02lower", "-vx02lower"} << QStringList{"vx02+", "vx02-"} << false;
        QTest::newRow("vx02 while vx01 connected")
            << QStringList{"+vx01", "+vx02a", "-vx02a", "-vx01"} << QStringList{"vx01+", "vx02-"} << false;
    }
    void hotplug()
    {
        QFETCH(QStringList, script);
        ScriptedHidBackend backend;
        Watched watched(&backend);
        for (const QString &step : script) {
            const QString path = kPaths.value(step.mid(1));
            step.startsWith('+') ? backend.announceArrival(path) : backend.announceRemoval(path);
        }
        QTEST(watched.events(), "events");
        QTEST(watched.detection.isConnected(), "connected");
        QVERIFY(!watched.detection.isVisible());
    }

    void scanOfEmulatedBus_data()
    {
        QTest::addColumn<QStringList>("plugged");
        QTest::newRow("both, vx02 listed first") << QStringList{"vx02", "vx01"};
        QTest::newRow("both, vx01 listed first") << QStringList{"vx01", "vx02"};
    }
    void scanOfEmulatedBus()
    {
        QFETCH(QStringList, plugged);
        EmulatedBus bus;
        for (const QString &model : plugged)
            QVERIFY(bus.plug(model));
        Watched watched(&bus);
        watched.detection.scanDevices();
        watched.detection.scanDevices(); // already connected: nothing more
        // Unplugging and plugging while running is reported too.
        QVERIFY(bus.unplug(plugged.first()));
        QVERIFY(bus.plug(plugged.first()));
        const QString first = plugged.first();
        QCOMPARE(watched.events(), (QStringList{first + "+", first + "-", first + "+"}));
    }

    void scanOfScriptedBackend_data()
    {
        QTest::addColumn<HidEnumeration::Status>("status");
        QTest::addColumn<QStringList>("unopenable");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("log");
        using S = HidEnumeration::Status;
        QTest::newRow("unopenable skipped")
            << S::Complete << QStringList{"vx01"} << QStringList{"vx02+"} << QStringList();
        QTest::newRow("no device set") << S::NoDeviceSet << QStringList() << QStringList()
                                       << QStringList{"NO hid device"};
        // The backend lists what came before the unreadable entry; the scan ends there silently.
        QTest::newRow("unreadable entry")
            << S::UnreadableEntry << QStringList() << QStringList{"vx01+"} << QStringList();
    }
    void scanOfScriptedBackend()
    {
        QFETCH(HidEnumeration::Status, status);
        QFETCH(QStringList, unopenable);
        ScriptedHidBackend backend;
        backend.collections << ScriptedHidBackend::collection(kPaths["keyboard"], 0x046D, 0xC31C, 1, 6, 9, 2)
                            << ScriptedHidBackend::collection(kPaths["vx01"], 0x1235, 0x0003, 0x000C, 1, 3, 0)
                            << ScriptedHidBackend::collection(kPaths["vx02a"], 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65)
                            << ScriptedHidBackend::collection(kPaths["vx02a"], 0x1234, 0x4321, 0x000C, 0x0001, 3, 0);
        backend.status = status;
        for (const QString &name : unopenable)
            backend.unopenable << kPaths[name];
        Watched watched(&backend);
        MessageCapture capture;
        watched.detection.scanDevices();
        QTEST(watched.events(), "events");
        QTEST(capture.lines(), "log");
        QCOMPARE(backend.opened.removeDuplicates(), 0); // an interface's collections share one open
        QStringList closed = backend.opened;
        for (const QString &path : qAsConst(backend.unopenable))
            closed.removeOne(path);
        QCOMPARE(backend.traffic->closed, closed); // nothing left open
    }

    void noHotplugIsLogged()
    {
        ScriptedHidBackend backend;
        backend.hotplug = false;
        backend.collections << ScriptedHidBackend::collection(kPaths["vx02a"], 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
        MessageCapture capture;
        Watched watched(&backend);
        QVERIFY(capture.texts(QtDebugMsg).contains("register UDisk notification fail, error:"));
        watched.detection.scanDevices(); // the scan still works
        QCOMPARE(watched.events(), QStringList{"vx02+"});
    }
};

QTEST_MAIN(TestDetectionDevice)
#include "tst_detectiondevice.moc"
