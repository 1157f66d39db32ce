#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include "device/DeviceHID.h"

#include <QElapsedTimer>
#include <QtTest>

Q_DECLARE_METATYPE(HidCollectionInfo)
Q_DECLARE_METATYPE(HidEnumeration::Status)

namespace {
const QString kWanted = QStringLiteral("/dev/hidraw1#VID_1234&PID_4321");
const QString kOther = QStringLiteral("/dev/hidraw0#VID_046D&PID_C52B");

HidCollectionInfo wanted(const QString &path, quint16 page, quint16 usage, quint32 in, quint32 out)
{
    return ScriptedHidBackend::collection(path, 0x1234, 0x4321, page, usage, in, out);
}
const HidCollectionInfo kOtherMouse = ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 1, 2, 8, 0);

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
    explicit Rig(quint32 out = 65, quint32 in = 65) : device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA)
    {
        backend.collections << wanted(kWanted, 0xFF00, 0x55AA, in, out);
    }
    ScriptedHidBackend backend;
    DeviceHID device;
    quint8 buffer[512] = {};
};
} // namespace

class TestDeviceHID : public QObject
{
    Q_OBJECT
private slots:
    void openFails_data();
    void openFails();
    void choosesCollection_data();
    void choosesCollection();
    void writeReportPadsWithZeros_data();
    void writeReportPadsWithZeros();
    void controlPipeUsesStoredLengths();
    void readReportWaitsOneSecondAtMost();
    void failingReportCallsLogNothing_data();
    void failingReportCallsLogNothing();
    void reopenReplacesTheHandle();
    void destructionLine_data();
    void destructionLine();
};

void TestDeviceHID::openFails_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<bool>("wantedPresent");
    QTest::addColumn<HidEnumeration::Status>("status");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QStringList>("opened");
    using S = HidEnumeration::Status;
    const QString missing = QStringLiteral("C Parameter not filled. |C Exclusive[0],OverlapMode[0]. |C ");
    QTest::newRow("vendor 0") << 0 << 0x4321 << true << S::Complete
                              << (missing + "VID[0x0000],PID[0x4321],USPG[0xff00],USG[0x55aa]. ").split('|')
                              << QStringList();
    QTest::newRow("product 0") << 0x1234 << 0 << true << S::Complete
                               << (missing + "VID[0x1234],PID[0x0000],USPG[0xff00],USG[0x55aa]. ").split('|')
                               << QStringList();
    QTest::newRow("no device attached") << 0x1234 << 0x4321 << false << S::Complete
                                        << QStringList{searchLine(0xFF00, 0x55AA), "C No More Item Left!!!"}
                                        << QStringList{kOther};
    QTest::newRow("no device set") << 0x1234 << 0x4321 << true << S::NoDeviceSet
                                   << QStringList{searchLine(0xFF00, 0x55AA), "C [SetupDiGetClassDevs] errorcode: 13 "}
                                   << QStringList();
    QTest::newRow("unreadable entry")
        << 0x1234 << 0x4321 << false << S::UnreadableEntry
        << QStringList{searchLine(0xFF00, 0x55AA), "C [SetupDiGetInterfaceDeviceDetail] errorcode: 13 "}
        << QStringList{kOther};
}

void TestDeviceHID::openFails()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(bool, wantedPresent);
    QFETCH(HidEnumeration::Status, status);
    QFETCH(QStringList, log);
    QFETCH(QStringList, opened);
    ScriptedHidBackend backend;
    backend.collections << (wantedPresent ? wanted(kWanted, 0xFF00, 0x55AA, 65, 65) : kOtherMouse);
    backend.status = status;
    backend.errorCode = 13;
    DeviceHID device(&backend, quint16(vid), quint16(pid), 0xFF00, 0x55AA);
    MessageCapture capture;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!device.open());
    QCOMPARE(tagged(capture), log);
    QCOMPARE(backend.opened, opened);
    QCOMPARE(backend.traffic->closed, opened);  // no handle left open
    QVERIFY(clock.elapsed() >= 5 * opened.size());  // a pause after each rejected collection
    QVERIFY(!device.isOpen());
}

void TestDeviceHID::choosesCollection_data()
{
    QTest::addColumn<QList<HidCollectionInfo>>("collections");
    QTest::addColumn<QStringList>("unopenable");
    QTest::addColumn<HidEnumeration::Status>("status");
    QTest::addColumn<int>("usagePage");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("inLength");
    QTest::addColumn<int>("outLength");
    using S = HidEnumeration::Status;
    const QString a = QStringLiteral("/dev/hidraw4#VID_1234&PID_4321");
    const QString b = QStringLiteral("/dev/hidraw5#VID_1234&PID_4321");
    const QString c = QStringLiteral("/dev/hidraw6#VID_1234&PID_4321");
    QTest::newRow("first with both reports, whatever its usage")
        << QList<HidCollectionInfo>{ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 0xFF00, 0x55AA, 20, 20),
                                    wanted(a, 0x000C, 0x0001, 33, 17), wanted(b, 0xFF00, 0x55AA, 65, 65)}
        << QStringList() << S::Complete << 0xFF00 << QStringList{kOther, a} << 33 << 17;
    QTest::newRow("without both reports the usage must match")
        << QList<HidCollectionInfo>{wanted(a, 0x0001, 0x0006, 9, 0), wanted(b, 0x000C, 0x0002, 0, 9),
                                    wanted(c, 0x000C, 0x0001, 0, 5)}
        << QStringList() << S::Complete << 0x000C << QStringList{a, b, c} << 0 << 5;
    QTest::newRow("unopenable skipped silently")
        << QList<HidCollectionInfo>{wanted(a, 0xFF00, 0x55AA, 65, 65), wanted(b, 0xFF00, 0x55AA, 64, 63)}
        << QStringList{a} << S::Complete << 0xFF00 << QStringList{a, b} << 64 << 63;
    QTest::newRow("match before an unreadable entry")
        << QList<HidCollectionInfo>{wanted(a, 0xFF00, 0x55AA, 65, 65)} << QStringList() << S::UnreadableEntry
        << 0xFF00 << QStringList{a} << 65 << 65;
}

void TestDeviceHID::choosesCollection()
{
    QFETCH(QList<HidCollectionInfo>, collections);
    QFETCH(QStringList, unopenable);
    QFETCH(HidEnumeration::Status, status);
    QFETCH(int, usagePage);
    QFETCH(QStringList, opened);
    QFETCH(int, inLength);
    QFETCH(int, outLength);
    ScriptedHidBackend backend;
    backend.collections = collections;
    backend.unopenable = unopenable;
    backend.status = status;
    const quint16 usage = usagePage == 0xFF00 ? 0x55AA : 0x0001;
    DeviceHID device(&backend, 0x1234, 0x4321, quint16(usagePage), usage);
    MessageCapture capture;
    QVERIFY(device.open());
    QCOMPARE(tagged(capture), QStringList{searchLine(quint16(usagePage), usage)});
    QCOMPARE(backend.opened, opened);
    QStringList rejected = opened.mid(0, opened.size() - 1);
    for (const QString &path : unopenable)
        rejected.removeOne(path);
    QCOMPARE(backend.traffic->closed, rejected);
    QVERIFY(device.isOpen());
    QCOMPARE(int(device.inputReportLength()), inLength);
    QCOMPARE(int(device.outputReportLength()), outLength);
}

void TestDeviceHID::writeReportPadsWithZeros_data()
{
    QTest::addColumn<int>("payload");
    QTest::addColumn<int>("outputLength");
    QTest::newRow("10 of 65") << 10 << 65;
    QTest::newRow("empty payload") << 0 << 65;
    QTest::newRow("full report") << 64 << 65;
    QTest::newRow("short report") << 3 << 9;
}

void TestDeviceHID::writeReportPadsWithZeros()
{
    QFETCH(int, payload);
    QFETCH(int, outputLength);
    Rig rig{quint32(outputLength)};
    QVERIFY(rig.device.open());
    QByteArray data(512, '\0');
    for (int i = 1; i < data.size(); ++i)
        data[i] = char(0xA0 + i);  // bytes beyond the payload must not be sent
    QCOMPARE(rig.device.writeReport(reinterpret_cast<const quint8 *>(data.constData()), quint32(payload)),
             outputLength);
    const QByteArray expected = data.left(payload + 1) + QByteArray(outputLength - payload - 1, '\0');
    QCOMPARE(rig.backend.traffic->records.size(), 1);
    QCOMPARE(rig.backend.traffic->records.first().call, ScriptedTraffic::Call::Write);
    QCOMPARE(rig.backend.traffic->records.first().bytes, expected);
}

void TestDeviceHID::controlPipeUsesStoredLengths()
{
    Rig rig(65, 35);
    QByteArray report(35, '\0');
    for (int i = 1; i < report.size(); ++i)
        report[i] = char(i * 7);
    rig.backend.traffic->inputReport = report;
    QVERIFY(rig.device.open());

    QVERIFY(rig.device.getInputReport(rig.buffer));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.buffer), 36), report + '\0');
    quint8 out[512] = {0x00, 0x89};
    out[64] = 0x42;
    out[65] = 0x99;  // beyond the report
    QVERIFY(rig.device.setOutputReport(out));

    const QList<ScriptedTraffic::Record> &records = rig.backend.traffic->records;
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(0).call, ScriptedTraffic::Call::GetInputReport);
    QCOMPARE(records.at(0).length, 35u);
    QCOMPARE(records.at(1).call, ScriptedTraffic::Call::SetOutputReport);
    QCOMPARE(records.at(1).bytes, QByteArray(reinterpret_cast<const char *>(out), 65));
}

void TestDeviceHID::readReportWaitsOneSecondAtMost()
{
    Rig rig;
    const QByteArray answer = QByteArray::fromHex("0089000203") + QByteArray(60, '\x11');
    rig.backend.traffic->reads << answer << QByteArray();
    QVERIFY(rig.device.open());

    QCOMPARE(rig.device.readReport(rig.buffer, sizeof rig.buffer), 65);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.buffer), 65), answer);
    QCOMPARE(rig.device.readReport(rig.buffer, sizeof rig.buffer), 0);  // scripted time-out
    QCOMPARE(rig.backend.traffic->records.size(), 2);
    for (const ScriptedTraffic::Record &record : qAsConst(rig.backend.traffic->records)) {
        QCOMPARE(record.timeoutMs, 1000);
        QCOMPARE(record.length, 512u);
    }
}

void TestDeviceHID::failingReportCallsLogNothing_data()
{
    QTest::addColumn<bool>("opened");
    QTest::newRow("closed object") << false;
    QTest::newRow("failing transport") << true;
}

void TestDeviceHID::failingReportCallsLogNothing()
{
    QFETCH(bool, opened);
    Rig rig;
    QCOMPARE(opened && rig.device.open(), opened);
    rig.backend.traffic->failControl = true;
    rig.backend.traffic->failInterrupt = true;
    rig.backend.traffic->reads << QByteArray(65, '\x01');
    MessageCapture capture;
    QVERIFY(!rig.device.getInputReport(rig.buffer));
    QVERIFY(!rig.device.setOutputReport(rig.buffer));
    QCOMPARE(rig.device.readReport(rig.buffer, sizeof rig.buffer), 0);
    QCOMPARE(rig.device.writeReport(rig.buffer, 10), 0);
    QVERIFY(capture.messages().isEmpty());
    QCOMPARE(rig.backend.traffic->records.size(), opened ? 4 : 0);
    QCOMPARE(rig.device.isOpen(), opened);  // a failing transfer keeps the handle
    QVERIFY(rig.backend.traffic->closed.isEmpty());
}

void TestDeviceHID::reopenReplacesTheHandle()
{
    Rig rig;
    QVERIFY(rig.device.open());
    QVERIFY(rig.device.open());
    QCOMPARE(rig.backend.opened.size(), 2);
    QCOMPARE(rig.backend.traffic->closed, QStringList{kWanted});  // the first handle
    QCOMPARE(rig.device.writeReport(rig.buffer, 1), 65);

    // A search that finds nothing keeps the open handle.
    rig.backend.collections.clear();
    QVERIFY(!rig.device.open());
    QCOMPARE(rig.device.writeReport(rig.buffer, 1), 65);
}

void TestDeviceHID::destructionLine_data()
{
    QTest::addColumn<bool>("opened");
    QTest::newRow("never opened") << false;
    QTest::newRow("opened") << true;
}

void TestDeviceHID::destructionLine()
{
    QFETCH(bool, opened);
    ScriptedHidBackend backend;
    backend.collections << wanted(kWanted, 0xFF00, 0x55AA, 65, 65);
    auto device = std::make_unique<DeviceHID>(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QCOMPARE(opened && device->open(), opened);
    const QString line = QString::asprintf("I ??HID? ??: %p; [DeviceHID::~DeviceHID];", static_cast<void *>(device.get()));
    MessageCapture capture;
    device.reset();
    QCOMPARE(tagged(capture), QStringList{line});
    QCOMPARE(backend.traffic->closed, opened ? QStringList{kWanted} : QStringList());
}

QTEST_GUILESS_MAIN(TestDeviceHID)
#include "tst_devicehid.moc"
