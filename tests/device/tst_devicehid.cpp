#include "support/Hex.h"
#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include "device/DetectionDevice.h"
#include "device/DeviceHID.h"
#include "device/PowerEventWatcher.h"
#include "emulator/EmulatedBus.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(HidCollectionInfo)
Q_DECLARE_METATYPE(HidEnumeration::Status)

namespace {
using Status = HidEnumeration::Status;
using Collections = QList<HidCollectionInfo>;
const QString kOther = QStringLiteral("/dev/hidraw0#VID_046D&PID_C52B");
const QString kA = QStringLiteral("/dev/hidraw4#VID_1234&PID_4321");
const QString kB = QStringLiteral("/dev/hidraw5#VID_1234&PID_4321");
const QString kC = QStringLiteral("/dev/hidraw6#VID_1234&PID_4321");

HidCollectionInfo wanted(const QString &path, quint16 page, quint16 usage, quint32 in, quint32 out)
{
    return ScriptedHidBackend::collection(path, 0x1234, 0x4321, page, usage, in, out);
}

// "D text" for a debug line, "C text" for a critical one, "I text" for info, in order.
QStringList tagged(const MessageCapture &capture)
{
    static const QMap<QtMsgType, QString> tags = {{QtDebugMsg, "D "}, {QtCriticalMsg, "C "}, {QtInfoMsg, "I "}};
    QStringList lines;
    for (const auto &message : capture.messages())
        lines << tags.value(message.first, "? ") + message.second;
    return lines;
}

QString searchLine(quint16 page, quint16 usage)
{
    return QString::asprintf("D ----------------VID[0x1234],PID[0x4321],USPG[0x%04x],USG[0x%04x] = ", page, usage);
}

// A backend holding the vx02 collection and a DeviceHID looking for it.
struct Rig
{
    explicit Rig(quint32 out = 65, quint32 in = 65)
        : device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA)
    {
        backend.collections << wanted(kA, 0xFF00, 0x55AA, in, out);
    }
    ScriptedHidBackend backend;
    DeviceHID device;
    quint8 buffer[512] = {};
};

const QMap<QString, QString> kPaths = {
    {"vx02a", "/dev/hidraw3#VID_1234&PID_4321"},     {"vx02b", "/dev/hidraw4#VID_1234&PID_4321"},
    {"vx02lower", "/dev/hidraw3#vid_1234&pid_4321"}, {"vx01", "/dev/hidraw7#VID_1235&PID_0003"},
    {"keyboard", "/dev/hidraw0#VID_046D&PID_C31C"},  {"nearMiss", "/dev/hidraw1#VID_1234&PID_4322"},
    {"vx02c", "/dev/hidraw9#VID_1234&PID_4321"},
};
// The unit of each interface: vx02a and vx02b are two interfaces of one device, vx02c another vx02.
const QMap<QString, QString> kUnits = {{"vx02a", "u1"}, {"vx02b", "u1"},    {"vx02lower", "u1"}, {"vx01", "u2"},
                                       {"vx02c", "u3"}, {"keyboard", "u4"}, {"nearMiss", "u5"}};

// The models as the layers above hand them down.
const QVector<HidModelId> kSoundCards{{"vx01", 0x1235, 0x0003}, {"vx02", 0x1234, 0x4321}};

// A detection on `backend` with every one of its signals recorded.
struct Watched
{
    explicit Watched(HidBackend *backend)
        : detection(backend, kSoundCards)
        , tablet(&detection, &DetectionDevice::s_showTablet)
        , wakeUp(&detection, &DetectionDevice::s_deviceWakeUp)
    {
        QObject::connect(&detection, &DetectionDevice::s_devTypeAndState,
                         [this](const QString &type, bool arrival) { told << type + (arrival ? "+" : "-"); });
        QObject::connect(&detection, &DetectionDevice::s_devUnitAndState,
                         [this](const QString &type, bool arrival, const QString &unit) {
                             told << type + (arrival ? "+@" : "-@") + unit;
                         });
    }
    // In order: "vx02+" for an arrival, "vx02-" for a removal, "vx02+@u1" and "vx02-@u1" for those
    // of a unit; the two silent signals never come.
    QStringList events() const
    {
        return tablet.size() + wakeUp.size() > 0 ? told + QStringList{"silent signal emitted"} : told;
    }
    DetectionDevice detection;
    QSignalSpy tablet;
    QSignalSpy wakeUp;
    QStringList told;
};
} // namespace

// DeviceHID's search and transfers, and the detection of sound cards as they come and go.
class TestDeviceHid : public QObject
{
    Q_OBJECT
private slots:
    // The system bus address points nowhere (see the test's environment), as on machines without one.
    // First: the line is told once per process, and every detection has a watcher.
    void powerEventsWithoutSystemBusAreLoggedOnce()
    {
        MessageCapture capture;
        PowerEventWatcher first;
        PowerEventWatcher second;
        QVERIFY(!first.watchesSleep());
        QVERIFY(!second.watchesSleep());
        QCOMPARE(capture.texts(QtDebugMsg), QStringList{"power events: no system bus, sleep and wake are not logged"});
        QCOMPARE(capture.texts(QtCriticalMsg).size() + capture.texts(QtWarningMsg).size(), 0);
        second.onPrepareForSleep(true);
        QCOMPARE(capture.texts(QtDebugMsg).last(), QStringLiteral("======xiu mian======"));
    }

    void openSearch_data()
    {
        QTest::addColumn<Collections>("collections");
        QTest::addColumn<QString>("unopenable");
        QTest::addColumn<Status>("status");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<int>("usagePage");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("inLength"); // -1: open fails
        QTest::addColumn<int>("outLength");
        const QString missing = QStringLiteral("C Parameter not filled. |C Exclusive[0],OverlapMode[0]. |C ");
        const QString search = searchLine(0xFF00, 0x55AA);
        const Collections vx02{wanted(kA, 0xFF00, 0x55AA, 65, 65)};
        const Collections mouse{ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 1, 2, 8, 0)};
        QTest::newRow("vendor 0") << vx02 << "" << Status::Complete << 0 << 0x4321 << 0xFF00
                                  << (missing + "VID[0x0000],PID[0x4321],USPG[0xff00],USG[0x55aa]. ").split('|')
                                  << QStringList() << -1 << -1;
        QTest::newRow("product 0") << vx02 << "" << Status::Complete << 0x1234 << 0 << 0xFF00
                                   << (missing + "VID[0x1234],PID[0x0000],USPG[0xff00],USG[0x55aa]. ").split('|')
                                   << QStringList() << -1 << -1;
        QTest::newRow("no device attached")
            << mouse << "" << Status::Complete << 0x1234 << 0x4321 << 0xFF00
            << QStringList{search, "C No More Item Left!!!"} << QStringList{kOther} << -1 << -1;
        QTest::newRow("no device set") << vx02 << "" << Status::NoDeviceSet << 0x1234 << 0x4321 << 0xFF00
                                       << QStringList{search, "C [SetupDiGetClassDevs] errorcode: 13 "} << QStringList()
                                       << -1 << -1;
        QTest::newRow("unreadable entry") << mouse << "" << Status::UnreadableEntry << 0x1234 << 0x4321 << 0xFF00
                                          << QStringList{search, "C [SetupDiGetInterfaceDeviceDetail] errorcode: 13 "}
                                          << QStringList{kOther} << -1 << -1;
        QTest::newRow("match before an unreadable entry")
            << vx02 << "" << Status::UnreadableEntry << 0x1234 << 0x4321 << 0xFF00 << QStringList{search}
            << QStringList{kA} << 65 << 65;
        QTest::newRow("first with both reports, whatever its usage")
            << Collections{ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 0xFF00, 0x55AA, 20, 20),
                           wanted(kA, 0x000C, 0x0001, 33, 17), wanted(kB, 0xFF00, 0x55AA, 65, 65)}
            << "" << Status::Complete << 0x1234 << 0x4321 << 0xFF00 << QStringList{search} << QStringList{kOther, kA}
            << 33 << 17;
        // An interface's collections share one open, and an interface met again is not opened again.
        QTest::newRow("without both reports the usage must match")
            << Collections{wanted(kA, 0x0001, 0x0006, 9, 0), wanted(kA, 0x000C, 0x0002, 0, 9),
                           wanted(kB, 0x0001, 0x0006, 9, 0), wanted(kA, 0x000C, 0x0001, 0, 7),
                           wanted(kC, 0x000C, 0x0001, 0, 5)}
            << "" << Status::Complete << 0x1234 << 0x4321 << 0x000C << QStringList{searchLine(0x000C, 0x0001)}
            << QStringList{kA, kB, kC} << 0 << 5;
        QTest::newRow("unopenable skipped silently")
            << Collections{wanted(kA, 0xFF00, 0x55AA, 65, 65), wanted(kB, 0xFF00, 0x55AA, 64, 63)} << kA
            << Status::Complete << 0x1234 << 0x4321 << 0xFF00 << QStringList{search} << QStringList{kA, kB} << 64 << 63;
    }
    void openSearch()
    {
        QFETCH(Collections, collections);
        QFETCH(QString, unopenable);
        QFETCH(Status, status);
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(int, usagePage);
        QFETCH(QStringList, opened);
        QFETCH(int, inLength);
        ScriptedHidBackend backend;
        backend.collections = collections;
        backend.unopenable << unopenable;
        backend.status = status;
        backend.errorCode = 13;
        const quint16 usage = usagePage == 0xFF00 ? 0x55AA : 0x0001;
        DeviceHID device(&backend, quint16(vid), quint16(pid), quint16(usagePage), usage);
        MessageCapture capture;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(device.open(), inLength >= 0);
        QTEST(tagged(capture), "log");
        QCOMPARE(backend.opened, opened);
        // Every handle but the chosen one is closed again, after a pause.
        QStringList rejected = inLength >= 0 ? opened.mid(0, opened.size() - 1) : opened;
        rejected.removeOne(unopenable);
        QCOMPARE(backend.traffic->closed, rejected);
        QVERIFY(clock.elapsed() >= 5 * rejected.size());
        QCOMPARE(device.isOpen(), inLength >= 0);
        if (inLength >= 0) {
            QCOMPARE(int(device.inputReportLength()), inLength);
            QTEST(int(device.outputReportLength()), "outLength");
        }
    }

    // Transfers use the lengths stored at open: get-input-report asks for the input report length,
    // set-output-report sends that many bytes of the buffer, a write sends the payload after the
    // report id padded with zeros to the output report length; reads wait a second for 512 bytes.
    void transfersUseStoredLengthsAndOneSecondReads()
    {
        Rig rig(9, 35);
        const QByteArray answer = QByteArray::fromHex("0089000203") + QByteArray(60, '\x11');
        rig.backend.traffic->reads << answer << QByteArray();
        QVERIFY(rig.device.open());

        QVERIFY(rig.device.getInputReport(rig.buffer));
        quint8 out[512];
        for (int i = 0; i < 512; ++i)
            out[i] = quint8(0xA0 + i); // bytes beyond a report must not be sent
        QVERIFY(rig.device.setOutputReport(out));
        QCOMPARE(rig.device.writeReport(out, 3), 9);
        QCOMPARE(rig.device.readReport(rig.buffer, sizeof rig.buffer), 65);
        QCOMPARE(bytes(rig.buffer, 65), answer);
        QCOMPARE(rig.device.readReport(rig.buffer, sizeof rig.buffer), 0); // scripted time-out

        const QList<ScriptedTraffic::Record> &records = rig.backend.traffic->records;
        QCOMPARE(records.size(), 5);
        QCOMPARE(records.at(0).call, ScriptedTraffic::Call::GetInputReport);
        QCOMPARE(records.at(0).length, 35u);
        QCOMPARE(records.at(1).call, ScriptedTraffic::Call::SetOutputReport);
        QCOMPARE(records.at(1).bytes, bytes(out, 9));
        QCOMPARE(records.at(2).call, ScriptedTraffic::Call::Write);
        QCOMPARE(records.at(2).bytes, bytes(out, 4) + QByteArray(5, '\0'));
        for (const ScriptedTraffic::Record &read : records.mid(3)) {
            QCOMPARE(read.call, ScriptedTraffic::Call::Read);
            QCOMPARE(read.timeoutMs, 1000);
            QCOMPARE(read.length, 512u);
        }
    }

    void reopenReplacesTheHandle()
    {
        Rig rig;
        QVERIFY(rig.device.open());
        QVERIFY(rig.device.open());
        QCOMPARE(rig.backend.traffic->closed, QStringList{kA}); // the first handle
        // A search that finds nothing keeps the open handle.
        rig.backend.collections.clear();
        QVERIFY(!rig.device.open());
        QCOMPARE(rig.device.writeReport(rig.buffer, 1), 65);
    }

    // Report calls fail silently on a closed object and on a failing transport; destruction
    // writes its line and closes what is open.
    void failingCallsAndDestruction_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::newRow("never opened") << false;
        QTest::newRow("opened") << true;
    }
    void failingCallsAndDestruction()
    {
        QFETCH(bool, opened);
        auto rig = std::make_unique<Rig>();
        QCOMPARE(opened && rig->device.open(), opened);
        const std::shared_ptr<ScriptedTraffic> traffic = rig->backend.traffic;
        traffic->failControl = true;
        traffic->failInterrupt = true;
        traffic->reads << QByteArray(65, '\x01');
        MessageCapture capture;
        QVERIFY(!rig->device.getInputReport(rig->buffer));
        QVERIFY(!rig->device.setOutputReport(rig->buffer));
        QCOMPARE(rig->device.readReport(rig->buffer, sizeof rig->buffer), 0);
        QCOMPARE(rig->device.writeReport(rig->buffer, 10), 0);
        QVERIFY(capture.messages().isEmpty());
        QCOMPARE(traffic->records.size(), opened ? 4 : 0);
        QCOMPARE(rig->device.isOpen(), opened); // a failing transfer keeps the handle
        QVERIFY(traffic->closed.isEmpty());

        const QString line =
            QString::asprintf("I ??HID? ??: %p; [DeviceHID::~DeviceHID];", static_cast<void *>(&rig->device));
        rig.reset();
        QCOMPARE(tagged(capture), QStringList{line});
        QCOMPARE(traffic->closed, opened ? QStringList{kA} : QStringList());
    }

    void hotplug_data()
    {
        QTest::addColumn<QStringList>("script"); // "+name" arrives, "-name" leaves
        QTest::addColumn<QStringList>("events");
        QTest::newRow("several interfaces of a unit, one arrival, first removal")
            << QStringList{"+vx02a", "+vx02b", "-vx02a", "-vx02b"}
            << QStringList{"vx02+@u1", "vx02+", "vx02-@u1", "vx02-"};
        QTest::newRow("other devices ignored")
            << QStringList{"+keyboard", "+nearMiss", "-keyboard", "+vx01", "+keyboard", "-keyboard", "-nearMiss"}
            << QStringList{"vx01+@u2", "vx01+"};
        QTest::newRow("lower-case paths")
            << QStringList{"+vx02lower", "-vx02lower"} << QStringList{"vx02+@u1", "vx02+", "vx02-@u1", "vx02-"};
        QTest::newRow("vx01 comes and goes beside the vx02")
            << QStringList{"+vx02a", "+vx01", "-vx01"} << QStringList{"vx02+@u1", "vx02+", "vx01+@u2", "vx01-@u2"};
        QTest::newRow("the vx01 told leaves, the vx02 present is told")
            << QStringList{"+vx01", "+vx02a", "-vx01"}
            << QStringList{"vx01+@u2", "vx01+", "vx02+@u1", "vx01-@u2", "vx01-", "vx02+"};
        QTest::newRow("two vx02: the other one never told leaves, comes and goes")
            << QStringList{"+vx02a", "-vx02c", "+vx02c", "-vx02c"}
            << QStringList{"vx02+@u1", "vx02+", "vx02+@u3", "vx02-@u3"};
    }
    void hotplug()
    {
        QFETCH(QStringList, script);
        ScriptedHidBackend backend;
        Watched watched(&backend);
        for (const QString &step : script) {
            const QString name = step.mid(1);
            step.startsWith('+') ? backend.announceArrival(kPaths[name], kUnits[name])
                                 : backend.announceRemoval(kPaths[name], kUnits[name]);
        }
        QTEST(watched.events(), "events");
        QCOMPARE(watched.detection.isConnected(), !watched.detection.presentUnits().isEmpty());
        QVERIFY(!watched.detection.isVisible());
    }

    // Every unit on the bus is found, in the bus's order; the vx01 by its recognised interface
    // (its traffic interface has the vx02's ids).
    void scanOfEmulatedBus_data()
    {
        QTest::addColumn<QStringList>("plugged");
        QTest::newRow("both, vx02 listed first") << QStringList{"vx02", "vx01"};
        QTest::newRow("both, vx01 listed first") << QStringList{"vx01", "vx02"};
        QTest::newRow("two vx02") << QStringList{"vx02", "vx02"};
    }
    void scanOfEmulatedBus()
    {
        QFETCH(QStringList, plugged);
        EmulatedBus bus;
        const QString first = bus.plugUnit(plugged[0]);
        const QString second = bus.plugUnit(plugged[1]);
        Watched watched(&bus);
        watched.detection.scanDevices();
        watched.detection.scanDevices(); // nothing more
        QCOMPARE(watched.detection.presentUnits(), (QVector<DetectedUnit>{{plugged[0], first}, {plugged[1], second}}));
        // Unplugging and plugging while running is reported too.
        QVERIFY(bus.unplugUnit(first));
        const QString again = bus.plugUnit(plugged[0]);
        QCOMPARE(watched.detection.presentUnits(), (QVector<DetectedUnit>{{plugged[1], second}, {plugged[0], again}}));
    }

    void scanOfScriptedBackend_data()
    {
        QTest::addColumn<Status>("status");
        QTest::addColumn<QStringList>("unopenable");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("hotplug");
        QTest::newRow("unopenable skipped")
            << Status::Complete << QStringList{"vx01"} << QStringList{"vx02+@", "vx02+"} << QStringList() << true;
        QTest::newRow("no device set") << Status::NoDeviceSet << QStringList() << QStringList()
                                       << QStringList{"NO hid device"} << true;
        // The backend lists what came before the unreadable entry; the scan ends there silently.
        QTest::newRow("unreadable entry")
            << Status::UnreadableEntry << QStringList() << QStringList{"vx01+@", "vx01+"} << QStringList() << true;
        QTest::newRow("no hotplug: told, the scan still works")
            << Status::Complete << QStringList() << QStringList{"vx01+@", "vx01+"}
            << QStringList{"register UDisk notification fail, error:"} << false;
    }
    void scanOfScriptedBackend()
    {
        QFETCH(Status, status);
        QFETCH(QStringList, unopenable);
        ScriptedHidBackend backend;
        backend.collections << ScriptedHidBackend::collection(kPaths["keyboard"], 0x046D, 0xC31C, 1, 6, 9, 2)
                            << ScriptedHidBackend::collection(kPaths["vx01"], 0x1235, 0x0003, 0x000C, 1, 3, 0)
                            << wanted(kPaths["vx02a"], 0xFF00, 0x55AA, 65, 65)
                            << wanted(kPaths["vx02a"], 0x000C, 0x0001, 3, 0);
        backend.status = status;
        QFETCH(bool, hotplug);
        backend.hotplug = hotplug;
        for (const QString &name : unopenable)
            backend.unopenable << kPaths[name];
        MessageCapture capture;
        Watched watched(&backend);
        watched.detection.scanDevices();
        QTEST(watched.events(), "events");
        QTEST(capture.lines(), "log");
        QCOMPARE(backend.opened.removeDuplicates(), 0); // an interface's collections share one open
        QStringList closed = backend.opened;
        for (const QString &path : qAsConst(backend.unopenable))
            closed.removeOne(path);
        QCOMPARE(backend.traffic->closed, closed); // nothing left open
    }
};

QTEST_MAIN(TestDeviceHid)
#include "tst_devicehid.moc"
