#include "device/DeviceHID.h"
#include "device/HidHandle.h"
#include "emulator/EmulatedBus.h"
#include "emulator/RecordingFirmware.h"
#include "support/TappedFirmware.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

QByteArray bytes(const quint8 *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}

// A bus with one device of `model` whose answers the test scripts, and the DeviceHID its sound
// card uses, opened.
struct Rig
{
    explicit Rig(const QString &model, int readWaitLimitMs = 20)
    {
        bus.setReadWaitLimitMs(readWaitLimitMs);
        auto firmware = std::make_unique<TappedFirmware>();
        tap = firmware.get();
        bus.plug(model, std::move(firmware));
        const bool vx01 = model == QLatin1String("vx01");
        device = std::make_unique<DeviceHID>(&bus, 0x1234, 0x4321, vx01 ? 0x000C : 0xFF00, vx01 ? 0x0001 : 0x55AA);
        opened = device->open();
    }
    EmulatedBus bus;
    TappedFirmware *tap = nullptr;
    bool opened = false;
    std::unique_ptr<DeviceHID> device;
    quint8 buffer[512] = {};
};

const QByteArray kAnswer = TappedFirmware::report(1, "answer");

} // namespace

class TestEmulatedBus : public QObject
{
    Q_OBJECT
private slots:
    void unknownOrDoublePlugIsRefused()
    {
        EmulatedBus bus;
        QTest::ignoreMessage(QtWarningMsg, "emulated bus: unknown model \"vx03\"");
        QVERIFY(!bus.plug("vx03"));
        QVERIFY(bus.plug("vx02"));
        QTest::ignoreMessage(QtWarningMsg, "emulated bus: a \"Vx02\" is already plugged");
        QVERIFY(!bus.plug("Vx02"));
        QCOMPARE(bus.enumerate().size(), 1);
        QVERIFY(!bus.unplug("vx01"));
        QVERIFY(!bus.setFailure("vx01", EmulatedFailure::Silent));
        QVERIFY(!bus.firmware("vx01"));
    }

    // Each model listens and answers on its own pipe only: a vx01 takes set-output-report and
    // answers get-input-report, a vx02 takes interrupt writes and answers interrupt reads. On
    // the other pipe a command is taken by the transport but never reaches the firmware, a
    // get-input-report fails and a read finds nothing.
    void eachModelTalksOnItsOwnPipe_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<int>("usagePage");
        QTest::addColumn<int>("usage");
        QTest::addColumn<bool>("control");
        QTest::newRow("vx01") << "vx01" << QStringList{"VID_1235&PID_0003", "VID_1234&PID_4321"} << 0x000C << 0x0001
                              << true;
        QTest::newRow("vx02") << "vx02" << QStringList{"VID_1234&PID_4321"} << 0xFF00 << 0x55AA << false;
    }
    void eachModelTalksOnItsOwnPipe()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, ids);
        QFETCH(bool, control);
        Rig rig(model);
        QVERIFY(rig.opened && rig.bus.isPlugged(model));
        QCOMPARE(rig.bus.firmware(model), rig.tap);
        const QList<HidCollectionInfo> collections = rig.bus.enumerate();
        QCOMPARE(collections.size(), ids.size());
        for (int i = 0; i < ids.size(); ++i)
            QVERIFY2(collections.at(i).path.endsWith('#' + ids.at(i)), qPrintable(collections.at(i).path));
        QTEST(int(collections.last().usagePage), "usagePage");
        QTEST(int(collections.last().usage), "usage");
        QCOMPARE(rig.device->inputReportLength(), 65u);
        QCOMPARE(rig.device->outputReportLength(), 65u);

        const QByteArray second = TappedFirmware::report(1, "second");
        rig.tap->answers << kAnswer << second;
        rig.tap->controlReport = TappedFirmware::report(64, "\x5A");
        quint8 out[512] = {};
        for (int i = 1; i < 20; ++i)
            out[i] = quint8(0x80 + i);
        out[100] = 0xFF; // beyond the report: never sent
        QVERIFY(rig.device->setOutputReport(out));
        const quint8 frame[] = {0x00, 0x89, 0x00, 0x01, 0x04, 0x02, 0x01, 0x01, 0x01, 0xAB, 0xCD};
        QCOMPARE(rig.device->writeReport(frame, sizeof frame - 1), 65);
        const QByteArray byControl = bytes(out, 65);
        const QByteArray byInterrupt = bytes(frame, sizeof frame) + QByteArray(65 - int(sizeof frame), '\0');
        QCOMPARE(rig.tap->reports(), QList<QByteArray>{control ? byControl : byInterrupt});

        if (control) {
            QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0); // nothing on the interrupt pipe
            for (int poll = 1; poll <= 2; ++poll) {
                QVERIFY(rig.device->getInputReport(rig.buffer));
                QCOMPARE(bytes(rig.buffer, 65), rig.tap->controlReport);
                QCOMPARE(rig.tap->controlReads, poll);
            }
            return;
        }
        QCOMPARE(rig.device->writeReport(frame, sizeof frame - 1), 65);
        for (const QByteArray &answer : {kAnswer, second}) { // queued in order
            QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 65);
            QCOMPARE(bytes(rig.buffer, 65), answer);
        }
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0); // queue empty: time-out
        QVERIFY(!rig.device->getInputReport(rig.buffer));
        QCOMPARE(rig.tap->controlReads, 0);
    }

    // A device that declares reports shorter than its layouts need moves only that many bytes:
    // the last parameter byte of either model never arrives.
    void shortReports_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("length");
        QTest::newRow("vx01") << "vx01" << 34;
        QTest::newRow("vx02") << "vx02" << 31;
    }
    void shortReports()
    {
        QFETCH(QString, model);
        QFETCH(int, length);
        EmulatedBus bus;
        bus.setReadWaitLimitMs(0);
        auto firmware = std::make_unique<TappedFirmware>();
        TappedFirmware *tap = firmware.get();
        QVERIFY(bus.plug(model, std::move(firmware)));
        QVERIFY(bus.setFailure(model, EmulatedFailure::ShortReports));
        tap->answers << QByteArray(65, '\0');
        const HidCollectionInfo traffic = bus.enumerate().last();
        QCOMPARE(int(traffic.inputReportLength), length);
        QCOMPARE(int(traffic.outputReportLength), length);
        std::unique_ptr<HidHandle> handle = bus.open(traffic);
        QVERIFY(handle);
        QByteArray report(length, '\0');
        report[1] = char(0x89);
        quint8 buffer[512];
        std::fill(std::begin(buffer), std::end(buffer), 0xEE);
        if (model == "vx01") {
            QVERIFY(!handle->setOutputReport(reinterpret_cast<const quint8 *>(report.constData()), 65));
            QVERIFY(handle->setOutputReport(reinterpret_cast<const quint8 *>(report.constData()), quint32(length)));
            QVERIFY(handle->getInputReport(buffer, quint32(length)));
        } else {
            QCOMPARE(handle->write(reinterpret_cast<const quint8 *>(report.constData()), 65), 0);
            QCOMPARE(handle->write(reinterpret_cast<const quint8 *>(report.constData()), quint32(length)), length);
            QCOMPARE(handle->read(buffer, sizeof buffer, 100), length);
        }
        QCOMPARE(tap->reports(), QList<QByteArray>{report});
        QCOMPARE(buffer[length - 1], quint8(0)); // inside the short report
        QCOMPARE(buffer[length], quint8(0xEE));  // the rest never arrives
    }

    void recordingFirmwareAnswersNothing()
    {
        EmulatedBus bus;
        bus.setReadWaitLimitMs(0);
        QVERIFY(bus.plug("VX01")); // any case
        auto *recorder = dynamic_cast<RecordingFirmware *>(bus.firmware("vx01"));
        QVERIFY(recorder);
        DeviceHID device(&bus, 0x1234, 0x4321, 0x000C, 0x0001);
        QVERIFY(device.open());
        quint8 buffer[512] = {0x00, 0x01, 0x02, 0x03};
        QVERIFY(device.setOutputReport(buffer));
        QCOMPARE(recorder->received(), QList<QByteArray>{QByteArray::fromHex("00010203") + QByteArray(61, '\0')});
        QCOMPARE(device.readReport(buffer, sizeof buffer), 0);

        recorder->setInputReport(QByteArray::fromHex("00aabb"));
        std::fill(std::begin(buffer), std::end(buffer), 0xEE);
        QVERIFY(device.getInputReport(buffer));
        QCOMPARE(bytes(buffer, 66), QByteArray::fromHex("00aabb") + QByteArray(62, '\0') + '\xEE');
    }

    // Silent: commands go out but reach nobody, reads wait their time. Garbage: the firmware
    // still gets each command, its answers are replaced. Behaving again, it answers again.
    void failuresAndRecovery()
    {
        Rig rig("vx02", 30);
        QVERIFY(rig.opened);
        QVERIFY(rig.bus.setFailure("vx02", EmulatedFailure::Silent));
        rig.tap->answers << kAnswer << kAnswer << kAnswer;
        QCOMPARE(rig.device->writeReport(rig.buffer, 1), 65);
        QVERIFY(rig.tap->reports().isEmpty());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0);
        QVERIFY(clock.elapsed() >= 30);

        QVERIFY(rig.bus.setFailure("vx02", EmulatedFailure::Garbage));
        quint8 second[512] = {};
        QCOMPARE(rig.device->writeReport(rig.buffer, 1), 65);
        QCOMPARE(rig.device->writeReport(rig.buffer, 1), 65);
        QCOMPARE(rig.tap->reports().size(), 2);
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 65);
        QCOMPARE(rig.device->readReport(second, sizeof second), 65);
        QVERIFY(bytes(rig.buffer, 65) != kAnswer);
        QVERIFY(bytes(rig.buffer, 65) != bytes(second, 65));

        QVERIFY(rig.bus.setFailure("vx02", EmulatedFailure::None));
        QCOMPARE(rig.device->writeReport(rig.buffer, 1), 65);
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 65);
        QCOMPARE(bytes(rig.buffer, 65), kAnswer);
    }

    void unplugAnnouncesRemovalAndFailsOpenHandles()
    {
        Rig rig("vx01", -1);
        const QList<HidCollectionInfo> before = rig.bus.enumerate();
        QVERIFY(rig.opened);
        QVERIFY(rig.device->setOutputReport(rig.buffer));

        QSignalSpy removed(&rig.bus, &HidBackend::interfaceRemoved);
        QVERIFY(rig.bus.unplug("vx01"));
        QVERIFY(!rig.bus.isPlugged("vx01"));
        QCOMPARE(removed.size(), 2);
        QCOMPARE(removed.at(0).at(0).toString(), before.at(0).path); // the recognised interface first
        QCOMPARE(removed.at(1).at(0).toString(), before.at(1).path);
        QVERIFY(rig.bus.enumerate().isEmpty());

        QVERIFY(!rig.device->setOutputReport(rig.buffer));
        QVERIFY(!rig.device->getInputReport(rig.buffer));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0); // pending answers are gone
        QVERIFY(clock.elapsed() < DeviceHID::kReadTimeoutMs); // a gone device does not make the caller wait
        QCOMPARE(rig.device->writeReport(rig.buffer, 4), 0);
        QVERIFY(!rig.bus.open(before.last()));
        QVERIFY(rig.bus.plug("vx01")); // a replug gives new paths; the old handle stays dead
        QVERIFY(rig.bus.enumerate().last().path != before.last().path);
        QVERIFY(!rig.device->setOutputReport(rig.buffer));
    }

    void handlesCheckLengthsAndOutliveTheBus()
    {
        quint8 report[512] = {};
        std::unique_ptr<HidHandle> traffic;
        {
            EmulatedBus bus;
            QVERIFY(bus.plug("vx01"));
            traffic = bus.open(bus.enumerate().last());
            QVERIFY(traffic);
            QVERIFY(!traffic->setOutputReport(report, 64));
            QVERIFY(!traffic->setOutputReport(report, 66));
            QVERIFY(traffic->setOutputReport(report, 65));
            QVERIFY(!traffic->getInputReport(report, 512));
            QVERIFY(traffic->getInputReport(report, 65));
            QCOMPARE(traffic->write(report, 64), 0);
            QCOMPARE(traffic->write(report, 65), 65);
            // The interface detection recognises carries no traffic.
            auto recognised = bus.open(bus.enumerate().first());
            QVERIFY(recognised);
            QVERIFY(!recognised->getInputReport(report, 3));
            QCOMPARE(recognised->write(report, 65), 0);
        }
        QCOMPARE(traffic->write(report, 65), 0); // the bus is gone
        QCOMPARE(traffic->read(report, 65, 1000), 0);
    }
};

QTEST_GUILESS_MAIN(TestEmulatedBus)
#include "tst_emulatedbus.moc"
