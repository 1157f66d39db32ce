#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include "device/DeviceHID.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
const QString kWanted = QStringLiteral("/dev/hidraw1#VID_1234&PID_4321");
const QString kOther = QStringLiteral("/dev/hidraw0#VID_046D&PID_C52B");

QString opening(quint16 vid, quint16 pid, quint16 page, quint16 usage)
{
    return QString::asprintf("----------------VID[0x%04x],PID[0x%04x],USPG[0x%04x],USG[0x%04x] = ", vid,
                             pid, page, usage);
}
}

class TestDeviceHID : public QObject
{
    Q_OBJECT
private slots:
    void missingIdsWriteThreeLinesAndEnumerateNothing_data();
    void missingIdsWriteThreeLinesAndEnumerateNothing();
    void noDeviceAttached();
    void noDeviceSet();
    void unreadableEntryEndsTheSearch();
    void matchBeforeUnreadableEntryIsOpened();
    void firstCollectionWithReportsIsTakenWhateverItsUsage();
    void collectionWithoutReportsNeedsMatchingUsage();
    void unopenableCollectionsAreSkippedSilently();
    void eachRejectedCollectionPauses();
    void writeReportPadsWithZeros_data();
    void writeReportPadsWithZeros();
    void controlPipeUsesStoredLengths();
    void readReportWaitsOneSecondAtMost();
    void failingTransfersReportFailureWithoutLogging();
    void closedObjectFailsEveryReportCall();
    void reopenReplacesTheHandle();
    void destructionLine();
};

void TestDeviceHID::missingIdsWriteThreeLinesAndEnumerateNothing_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QString>("idLine");
    QTest::newRow("vendor 0") << 0 << 0x4321 << "VID[0x0000],PID[0x4321],USPG[0xff00],USG[0x55aa]. ";
    QTest::newRow("product 0") << 0x1234 << 0 << "VID[0x1234],PID[0x0000],USPG[0xff00],USG[0x55aa]. ";
    QTest::newRow("both 0") << 0 << 0 << "VID[0x0000],PID[0x0000],USPG[0xff00],USG[0x55aa]. ";
}

void TestDeviceHID::missingIdsWriteThreeLinesAndEnumerateNothing()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QString, idLine);
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    DeviceHID device(&backend, quint16(vid), quint16(pid), 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(!device.open());
    const QList<QPair<QtMsgType, QString>> expected = {
        {QtCriticalMsg, QStringLiteral("Parameter not filled. ")},
        {QtCriticalMsg, QStringLiteral("Exclusive[0],OverlapMode[0]. ")},
        {QtCriticalMsg, idLine},
    };
    QCOMPARE(capture.messages(), expected);
    QVERIFY(backend.opened.isEmpty());
    QVERIFY(!device.isOpen());
}

void TestDeviceHID::noDeviceAttached()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 0x0001, 0x0002, 8, 0);
    DeviceHID device(&backend, 0x1234, 0x4321, 0x000C, 0x0001);
    MessageCapture capture;
    QVERIFY(!device.open());
    const QList<QPair<QtMsgType, QString>> expected = {
        {QtDebugMsg, opening(0x1234, 0x4321, 0x000C, 0x0001)},
        {QtCriticalMsg, QStringLiteral("No More Item Left!!!")},
    };
    QCOMPARE(capture.messages(), expected);
    QCOMPARE(backend.opened, QStringList{kOther});
    QCOMPARE(backend.traffic->closed, QStringList{kOther});  // no handle left open
    QVERIFY(!device.isOpen());
}

void TestDeviceHID::noDeviceSet()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    backend.status = HidEnumeration::Status::NoDeviceSet;
    backend.errorCode = 13;
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(!device.open());
    const QList<QPair<QtMsgType, QString>> expected = {
        {QtDebugMsg, opening(0x1234, 0x4321, 0xFF00, 0x55AA)},
        {QtCriticalMsg, QStringLiteral("[SetupDiGetClassDevs] errorcode: 13 ")},
    };
    QCOMPARE(capture.messages(), expected);
    QVERIFY(backend.opened.isEmpty());
}

void TestDeviceHID::unreadableEntryEndsTheSearch()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 0x0001, 0x0002, 8, 0);
    backend.status = HidEnumeration::Status::UnreadableEntry;
    backend.errorCode = 5;
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(!device.open());
    const QList<QPair<QtMsgType, QString>> expected = {
        {QtDebugMsg, opening(0x1234, 0x4321, 0xFF00, 0x55AA)},
        {QtCriticalMsg, QStringLiteral("[SetupDiGetInterfaceDeviceDetail] errorcode: 5 ")},
    };
    QCOMPARE(capture.messages(), expected);
    QCOMPARE(backend.traffic->closed, QStringList{kOther});
}

void TestDeviceHID::matchBeforeUnreadableEntryIsOpened()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    backend.status = HidEnumeration::Status::UnreadableEntry;
    backend.errorCode = 5;
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(device.open());
    QVERIFY(capture.texts(QtCriticalMsg).isEmpty());
    QVERIFY(device.isOpen());
}

void TestDeviceHID::firstCollectionWithReportsIsTakenWhateverItsUsage()
{
    ScriptedHidBackend backend;
    backend.collections
        << ScriptedHidBackend::collection(kOther, 0x046D, 0xC52B, 0xFF00, 0x55AA, 20, 20)
        << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0x000C, 0x0001, 33, 17)
        << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(device.open());
    QVERIFY(capture.texts(QtCriticalMsg).isEmpty());
    QCOMPARE(backend.opened, (QStringList{kOther, kWanted}));
    QCOMPARE(device.inputReportLength(), 33u);
    QCOMPARE(device.outputReportLength(), 17u);
}

void TestDeviceHID::collectionWithoutReportsNeedsMatchingUsage()
{
    const QString first = QStringLiteral("/dev/hidraw4#VID_1234&PID_4321");
    const QString second = QStringLiteral("/dev/hidraw5#VID_1234&PID_4321");
    const QString third = QStringLiteral("/dev/hidraw6#VID_1234&PID_4321");
    ScriptedHidBackend backend;
    backend.collections
        << ScriptedHidBackend::collection(first, 0x1234, 0x4321, 0x0001, 0x0006, 9, 0)   // no output
        << ScriptedHidBackend::collection(second, 0x1234, 0x4321, 0x000C, 0x0002, 0, 9)  // no input
        << ScriptedHidBackend::collection(third, 0x1234, 0x4321, 0x000C, 0x0001, 0, 5);  // matches
    DeviceHID device(&backend, 0x1234, 0x4321, 0x000C, 0x0001);
    QVERIFY(device.open());
    QCOMPARE(backend.opened, (QStringList{first, second, third}));
    QCOMPARE(backend.traffic->closed, (QStringList{first, second}));
    QCOMPARE(device.inputReportLength(), 0u);
    QCOMPARE(device.outputReportLength(), 5u);
}

void TestDeviceHID::unopenableCollectionsAreSkippedSilently()
{
    ScriptedHidBackend backend;
    const QString locked = QStringLiteral("/dev/hidraw2#VID_1234&PID_4321");
    backend.collections << ScriptedHidBackend::collection(locked, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65)
                        << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 64, 63);
    backend.unopenable << locked;
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    MessageCapture capture;
    QVERIFY(device.open());
    QCOMPARE(capture.messages().size(), 1);  // the opening debug line only
    QCOMPARE(device.inputReportLength(), 64u);
    QCOMPARE(device.outputReportLength(), 63u);
}

void TestDeviceHID::eachRejectedCollectionPauses()
{
    ScriptedHidBackend backend;
    for (int i = 0; i < 4; ++i)
        backend.collections << ScriptedHidBackend::collection(QStringLiteral("/dev/hidraw%1#VID_0001&PID_0002").arg(i),
                                                              0x0001, 0x0002, 1, 2, 8, 8);
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!device.open());
    QVERIFY2(clock.elapsed() >= 4 * 5, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(backend.traffic->closed.size(), 4);
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
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65,
                                                          quint32(outputLength));
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QVERIFY(device.open());

    QByteArray data(512, '\0');
    data[0] = char(0x00);
    for (int i = 1; i < data.size(); ++i)
        data[i] = char(0xA0 + i);  // bytes beyond the payload must not be sent
    QCOMPARE(device.writeReport(reinterpret_cast<const quint8 *>(data.constData()), quint32(payload)),
             outputLength);

    QByteArray expected = data.left(payload + 1);
    expected.append(QByteArray(outputLength - payload - 1, '\0'));
    QCOMPARE(backend.traffic->records.size(), 1);
    QCOMPARE(backend.traffic->records.first().call, ScriptedTraffic::Call::Write);
    QCOMPARE(backend.traffic->records.first().bytes, expected);
}

void TestDeviceHID::controlPipeUsesStoredLengths()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0x000C, 0x0001, 35, 65);
    QByteArray report(35, '\0');
    for (int i = 1; i < report.size(); ++i)
        report[i] = char(i * 7);
    backend.traffic->inputReport = report;
    DeviceHID device(&backend, 0x1234, 0x4321, 0x000C, 0x0001);
    QVERIFY(device.open());

    quint8 in[512] = {};
    QVERIFY(device.getInputReport(in));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(in), 35), report);
    QCOMPARE(in[35], quint8(0));

    quint8 out[512] = {};
    out[1] = 0x89;
    out[64] = 0x42;
    out[65] = 0x99;  // beyond the report
    QVERIFY(device.setOutputReport(out));

    QCOMPARE(backend.traffic->records.size(), 2);
    QCOMPARE(backend.traffic->records.at(0).call, ScriptedTraffic::Call::GetInputReport);
    QCOMPARE(backend.traffic->records.at(0).length, 35u);
    QCOMPARE(backend.traffic->records.at(1).call, ScriptedTraffic::Call::SetOutputReport);
    QCOMPARE(backend.traffic->records.at(1).bytes, QByteArray(reinterpret_cast<const char *>(out), 65));
}

void TestDeviceHID::readReportWaitsOneSecondAtMost()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    const QByteArray answer = QByteArray::fromHex("0089000203") + QByteArray(60, '\x11');
    backend.traffic->reads << answer << QByteArray();
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QVERIFY(device.open());

    quint8 buffer[512] = {};
    QCOMPARE(device.readReport(buffer, sizeof buffer), 65);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer), 65), answer);
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);  // scripted time-out
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);  // nothing scripted
    QCOMPARE(backend.traffic->records.size(), 3);
    for (const ScriptedTraffic::Record &record : qAsConst(backend.traffic->records)) {
        QCOMPARE(record.timeoutMs, 1000);
        QCOMPARE(record.length, 512u);
    }
}

void TestDeviceHID::failingTransfersReportFailureWithoutLogging()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QVERIFY(device.open());
    backend.traffic->failControl = true;
    backend.traffic->failInterrupt = true;
    backend.traffic->reads << QByteArray(65, '\x01');

    MessageCapture capture;
    quint8 buffer[512] = {};
    QVERIFY(!device.getInputReport(buffer));
    QVERIFY(!device.setOutputReport(buffer));
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);
    QCOMPARE(device.writeReport(buffer, 10), 0);
    QVERIFY(capture.messages().isEmpty());
    QVERIFY(device.isOpen());  // the handle is kept
    QVERIFY(backend.traffic->closed.isEmpty());
}

void TestDeviceHID::closedObjectFailsEveryReportCall()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    quint8 buffer[512] = {};
    QVERIFY(!device.getInputReport(buffer));
    QVERIFY(!device.setOutputReport(buffer));
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);
    QCOMPARE(device.writeReport(buffer, 10), 0);
    QVERIFY(backend.traffic->records.isEmpty());
    QVERIFY(backend.opened.isEmpty());
}

void TestDeviceHID::reopenReplacesTheHandle()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    DeviceHID device(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
    QVERIFY(device.open());
    QVERIFY(backend.traffic->closed.isEmpty());
    QVERIFY(device.open());
    QCOMPARE(backend.opened.size(), 2);
    QCOMPARE(backend.traffic->closed, QStringList{kWanted});  // the first handle
    quint8 buffer[65] = {};
    QCOMPARE(device.writeReport(buffer, 1), 65);

    // A search that finds nothing keeps the open handle.
    backend.collections.clear();
    QVERIFY(!device.open());
    QCOMPARE(device.writeReport(buffer, 1), 65);
}

void TestDeviceHID::destructionLine()
{
    ScriptedHidBackend backend;
    backend.collections << ScriptedHidBackend::collection(kWanted, 0x1234, 0x4321, 0xFF00, 0x55AA, 65, 65);
    {
        auto never = std::make_unique<DeviceHID>(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
        const QString line = QString::asprintf("??HID? ??: %p; [%s];", static_cast<void *>(never.get()),
                                               "DeviceHID::~DeviceHID");
        MessageCapture capture;
        never.reset();
        QCOMPARE(capture.messages(), (QList<QPair<QtMsgType, QString>>{{QtInfoMsg, line}}));
        QVERIFY(backend.traffic->closed.isEmpty());
    }
    {
        auto opened = std::make_unique<DeviceHID>(&backend, 0x1234, 0x4321, 0xFF00, 0x55AA);
        QVERIFY(opened->open());
        const QString line = QString::asprintf("??HID? ??: %p; [%s];", static_cast<void *>(opened.get()),
                                               "DeviceHID::~DeviceHID");
        MessageCapture capture;
        opened.reset();
        QCOMPARE(capture.texts(QtInfoMsg), QStringList{line});
        QCOMPARE(backend.traffic->closed, QStringList{kWanted});
    }
}

QTEST_GUILESS_MAIN(TestDeviceHID)
#include "tst_devicehid.moc"
