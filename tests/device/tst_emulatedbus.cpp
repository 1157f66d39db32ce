#include "device/DeviceHID.h"
#include "device/EmulatedBus.h"
#include "device/HidHandle.h"
#include "device/RecordingFirmware.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Answers every command with two reports that echo it, and offers a counter on the control pipe.
class EchoFirmware : public EmulatedFirmware
{
public:
    QList<QByteArray> received;
    int polls = 0;

    QList<QByteArray> receive(const QByteArray &report) override
    {
        received << report;
        QByteArray first = report;
        first[1] = char(0xE1);
        QByteArray second = report;
        second[1] = char(0xE2);
        return {first, second};
    }
    QByteArray inputReport() override
    {
        QByteArray report(65, '\0');
        report[1] = char(++polls);
        report[64] = char(0x5A);
        return report;
    }
};

QByteArray bytes(const quint8 *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}

struct Model
{
    quint16 usagePage;
    quint16 usage;
};
const Model kVx01 = {0x000C, 0x0001};
const Model kVx02 = {0xFF00, 0x55AA};

} // namespace

class TestEmulatedBus : public QObject
{
    Q_OBJECT
private slots:
    void interfacesOfEachModel_data();
    void interfacesOfEachModel();
    void unknownOrDoublePlugIsRefused();
    void vx01ControlPipeMovesReportsByteForByte();
    void vx02InterruptPipeQueuesAnswers();
    void recordingFirmwareAnswersNothing();
    void silentDeviceTimesOut();
    void garbageReplacesAnswers();
    void unplugAnnouncesRemovalAndFailsOpenHandles();
    void replugGivesNewPaths();
    void reportLengthsAreChecked();
    void handleOutlivesTheBus();
};

void TestEmulatedBus::interfacesOfEachModel_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<int>("usagePage");
    QTest::addColumn<int>("usage");
    QTest::newRow("vx01") << "vx01" << QStringList{"VID_1235&PID_0003", "VID_1234&PID_4321"} << 0x000C << 0x0001;
    QTest::newRow("vx02") << "vx02" << QStringList{"VID_1234&PID_4321"} << 0xFF00 << 0x55AA;
}

void TestEmulatedBus::interfacesOfEachModel()
{
    QFETCH(QString, model);
    QFETCH(QStringList, ids);
    QFETCH(int, usagePage);
    QFETCH(int, usage);
    EmulatedBus bus;
    QSignalSpy arrived(&bus, &HidBackend::interfaceArrived);
    QVERIFY(bus.enumerate().isEmpty());
    QVERIFY(bus.plug(model));
    QVERIFY(bus.isPlugged(model));

    const QList<HidCollectionInfo> collections = bus.enumerate();
    QCOMPARE(collections.size(), ids.size());
    QCOMPARE(arrived.size(), ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        QVERIFY2(collections.at(i).path.endsWith(QLatin1Char('#') + ids.at(i)), qPrintable(collections.at(i).path));
        QCOMPARE(arrived.at(i).at(0).toString(), collections.at(i).path);
    }
    const HidCollectionInfo &traffic = collections.last();
    QCOMPARE(traffic.vendorId, quint16(0x1234));
    QCOMPARE(traffic.productId, quint16(0x4321));
    QCOMPARE(int(traffic.usagePage), usagePage);
    QCOMPARE(int(traffic.usage), usage);
    QCOMPARE(traffic.inputReportLength, 65u);
    QCOMPARE(traffic.outputReportLength, 65u);
}

void TestEmulatedBus::unknownOrDoublePlugIsRefused()
{
    EmulatedBus bus;
    QTest::ignoreMessage(QtWarningMsg, "emulated bus: unknown model \"vx03\"");
    QVERIFY(!bus.plug(QStringLiteral("vx03")));
    QVERIFY(bus.plug(QStringLiteral("vx02")));
    QTest::ignoreMessage(QtWarningMsg, "emulated bus: a \"vx02\" is already plugged");
    QVERIFY(!bus.plug(QStringLiteral("vx02")));
    QCOMPARE(bus.enumerate().size(), 1);
    QVERIFY(!bus.unplug(QStringLiteral("vx01")));
    QVERIFY(!bus.setFailure(QStringLiteral("vx01"), EmulatedFailure::Silent));
    QVERIFY(!bus.firmware(QStringLiteral("vx01")));
}

void TestEmulatedBus::vx01ControlPipeMovesReportsByteForByte()
{
    EmulatedBus bus;
    auto firmware = std::make_unique<EchoFirmware>();
    EchoFirmware *echo = firmware.get();
    QVERIFY(bus.plug(QStringLiteral("vx01"), std::move(firmware)));
    QCOMPARE(bus.firmware(QStringLiteral("vx01")), echo);

    DeviceHID device(&bus, 0x1234, 0x4321, kVx01.usagePage, kVx01.usage);
    QVERIFY(device.open());
    QCOMPARE(device.outputReportLength(), 65u);

    quint8 out[512] = {};
    for (int i = 1; i < 20; ++i)
        out[i] = quint8(0x80 + i);
    out[100] = 0xFF;  // beyond the report: never sent
    QVERIFY(device.setOutputReport(out));
    QCOMPARE(echo->received.size(), 1);
    QCOMPARE(echo->received.first(), bytes(out, 65));

    quint8 in[512] = {};
    QVERIFY(device.getInputReport(in));
    QCOMPARE(in[1], quint8(1));
    QCOMPARE(in[64], quint8(0x5A));
    QVERIFY(device.getInputReport(in));
    QCOMPARE(in[1], quint8(2));
}

void TestEmulatedBus::vx02InterruptPipeQueuesAnswers()
{
    EmulatedBus bus;
    bus.setReadWaitLimitMs(20);
    auto firmware = std::make_unique<EchoFirmware>();
    EchoFirmware *echo = firmware.get();
    QVERIFY(bus.plug(QStringLiteral("vx02"), std::move(firmware)));

    DeviceHID device(&bus, 0x1234, 0x4321, kVx02.usagePage, kVx02.usage);
    QVERIFY(device.open());
    const quint8 frame[] = {0x00, 0x89, 0x00, 0x01, 0x04, 0x02, 0x01, 0x01, 0x01, 0xAB, 0xCD};
    QCOMPARE(device.writeReport(frame, sizeof frame - 1), 65);
    QByteArray sent = bytes(frame, sizeof frame);
    sent.append(QByteArray(65 - int(sizeof frame), '\0'));
    QCOMPARE(echo->received, QList<QByteArray>{sent});

    quint8 buffer[512] = {};
    QCOMPARE(device.readReport(buffer, sizeof buffer), 65);
    QByteArray first = sent;
    first[1] = char(0xE1);
    QCOMPARE(bytes(buffer, 65), first);
    QCOMPARE(device.readReport(buffer, sizeof buffer), 65);
    QCOMPARE(buffer[1], quint8(0xE2));
    QCOMPARE(bytes(buffer + 2, 63), sent.mid(2));
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);  // queue empty: time-out
}

void TestEmulatedBus::recordingFirmwareAnswersNothing()
{
    EmulatedBus bus;
    bus.setReadWaitLimitMs(0);
    QVERIFY(bus.plug(QStringLiteral("vx02")));
    auto *recorder = dynamic_cast<RecordingFirmware *>(bus.firmware(QStringLiteral("vx02")));
    QVERIFY(recorder);
    DeviceHID device(&bus, 0x1234, 0x4321, kVx02.usagePage, kVx02.usage);
    QVERIFY(device.open());
    const quint8 data[] = {0x00, 0x01, 0x02, 0x03};
    QCOMPARE(device.writeReport(data, 3), 65);
    QCOMPARE(device.writeReport(data, 1), 65);
    QCOMPARE(recorder->received().size(), 2);
    QCOMPARE(recorder->received().at(0), QByteArray::fromHex("00010203") + QByteArray(61, '\0'));
    QCOMPARE(recorder->received().at(1), QByteArray::fromHex("0001") + QByteArray(63, '\0'));
    quint8 buffer[512];
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);

    recorder->setInputReport(QByteArray::fromHex("00aabb"));
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    QVERIFY(device.getInputReport(buffer));
    QCOMPARE(bytes(buffer, 65), QByteArray::fromHex("00aabb") + QByteArray(62, '\0'));
    QCOMPARE(buffer[65], quint8(0xEE));
}

void TestEmulatedBus::silentDeviceTimesOut()
{
    EmulatedBus bus;
    bus.setReadWaitLimitMs(30);
    auto firmware = std::make_unique<EchoFirmware>();
    EchoFirmware *echo = firmware.get();
    QVERIFY(bus.plug(QStringLiteral("vx02"), std::move(firmware)));
    DeviceHID device(&bus, 0x1234, 0x4321, kVx02.usagePage, kVx02.usage);
    QVERIFY(device.open());
    QVERIFY(bus.setFailure(QStringLiteral("vx02"), EmulatedFailure::Silent));

    const quint8 data[] = {0x00, 0x89};
    QCOMPARE(device.writeReport(data, 1), 65);  // goes out, nobody listens
    QVERIFY(echo->received.isEmpty());
    quint8 buffer[512];
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);
    QVERIFY(clock.elapsed() >= 30);
    QVERIFY(!device.getInputReport(buffer));

    QVERIFY(bus.setFailure(QStringLiteral("vx02"), EmulatedFailure::None));
    QCOMPARE(device.writeReport(data, 1), 65);
    QCOMPARE(device.readReport(buffer, sizeof buffer), 65);
    QVERIFY(device.getInputReport(buffer));
}

void TestEmulatedBus::garbageReplacesAnswers()
{
    EmulatedBus bus;
    auto firmware = std::make_unique<EchoFirmware>();
    EchoFirmware *echo = firmware.get();
    QVERIFY(bus.plug(QStringLiteral("vx02"), std::move(firmware)));
    DeviceHID device(&bus, 0x1234, 0x4321, kVx02.usagePage, kVx02.usage);
    QVERIFY(device.open());
    QVERIFY(bus.setFailure(QStringLiteral("vx02"), EmulatedFailure::Garbage));

    const quint8 data[] = {0x00, 0x89, 0x00};
    QCOMPARE(device.writeReport(data, 2), 65);
    QCOMPARE(echo->received.size(), 1);  // the firmware still gets the command
    quint8 first[512] = {};
    quint8 second[512] = {};
    QCOMPARE(device.readReport(first, sizeof first), 65);
    QCOMPARE(device.readReport(second, sizeof second), 65);
    QByteArray expectedFirst = echo->received.first();
    expectedFirst[1] = char(0xE1);
    QVERIFY(bytes(first, 65) != expectedFirst);
    QVERIFY(bytes(first, 65) != bytes(second, 65));
    quint8 in[512] = {};
    QVERIFY(device.getInputReport(in));
    QVERIFY(!(in[1] == 1 && in[64] == 0x5A));
}

void TestEmulatedBus::unplugAnnouncesRemovalAndFailsOpenHandles()
{
    EmulatedBus bus;
    QVERIFY(bus.plug(QStringLiteral("vx01")));
    const QList<HidCollectionInfo> before = bus.enumerate();
    DeviceHID device(&bus, 0x1234, 0x4321, kVx01.usagePage, kVx01.usage);
    QVERIFY(device.open());
    quint8 buffer[512] = {};
    QVERIFY(device.setOutputReport(buffer));

    QSignalSpy removed(&bus, &HidBackend::interfaceRemoved);
    QVERIFY(bus.unplug(QStringLiteral("vx01")));
    QVERIFY(!bus.isPlugged(QStringLiteral("vx01")));
    QCOMPARE(removed.size(), 2);
    QCOMPARE(removed.at(0).at(0).toString(), before.at(0).path);  // the recognised interface first
    QCOMPARE(removed.at(1).at(0).toString(), before.at(1).path);
    QVERIFY(bus.enumerate().isEmpty());

    QVERIFY(!device.setOutputReport(buffer));
    QVERIFY(!device.getInputReport(buffer));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device.readReport(buffer, sizeof buffer), 0);
    QVERIFY(clock.elapsed() < DeviceHID::kReadTimeoutMs);  // a gone device does not make the caller wait
    QCOMPARE(device.writeReport(buffer, 4), 0);
    QVERIFY(!bus.open(before.last()));
}

void TestEmulatedBus::replugGivesNewPaths()
{
    EmulatedBus bus;
    QVERIFY(bus.plug(QStringLiteral("vx02")));
    const QString first = bus.enumerate().first().path;
    auto stale = bus.open(bus.enumerate().first());
    QVERIFY(stale);
    QVERIFY(bus.unplug(QStringLiteral("vx02")));
    QVERIFY(bus.plug(QStringLiteral("vx02")));
    QVERIFY(bus.enumerate().first().path != first);
    quint8 report[65] = {};
    QCOMPARE(stale->write(report, 65), 0);  // the old handle stays dead
    auto fresh = bus.open(bus.enumerate().first());
    QVERIFY(fresh);
    QCOMPARE(fresh->write(report, 65), 65);
}

void TestEmulatedBus::reportLengthsAreChecked()
{
    EmulatedBus bus;
    QVERIFY(bus.plug(QStringLiteral("vx01")));
    const QList<HidCollectionInfo> collections = bus.enumerate();
    auto traffic = bus.open(collections.last());
    QVERIFY(traffic);
    quint8 report[512] = {};
    QVERIFY(!traffic->setOutputReport(report, 64));
    QVERIFY(!traffic->setOutputReport(report, 66));
    QVERIFY(traffic->setOutputReport(report, 65));
    QVERIFY(!traffic->getInputReport(report, 512));
    QVERIFY(traffic->getInputReport(report, 65));
    QCOMPARE(traffic->write(report, 64), 0);

    // The interface detection recognises carries no traffic.
    auto recognised = bus.open(collections.first());
    QVERIFY(recognised);
    QVERIFY(!recognised->getInputReport(report, 3));
    QCOMPARE(recognised->write(report, 65), 0);
}

void TestEmulatedBus::handleOutlivesTheBus()
{
    std::unique_ptr<HidHandle> handle;
    {
        EmulatedBus bus;
        QVERIFY(bus.plug(QStringLiteral("vx02")));
        handle = bus.open(bus.enumerate().first());
        QVERIFY(handle);
    }
    quint8 report[65] = {};
    QCOMPARE(handle->write(report, 65), 0);
    QCOMPARE(handle->read(report, 65, 1000), 0);
}

QTEST_GUILESS_MAIN(TestEmulatedBus)
#include "tst_emulatedbus.moc"
