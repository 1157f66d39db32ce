// The emulated devices: the bus with its pipes and failures, and the firmwares on their own.
#include "support/Hex.h"
#include "support/TappedFirmware.h"

#include "device/DeviceHID.h"
#include "device/HidHandle.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A bus with one device of `model` whose answers the test scripts, and the DeviceHID its sound
// card uses, opened for that unit. A unit of the other model is listed first: its traffic
// collection has the same ids and passes the same usage test.
struct HidRig
{
    explicit HidRig(const QString &model, int readWaitLimitMs = 20)
    {
        bus.setReadWaitLimitMs(readWaitLimitMs);
        const bool vx01 = model == QLatin1String("vx01");
        bus.plug(vx01 ? "vx02" : "vx01");
        auto firmware = std::make_unique<TappedFirmware>();
        tap = firmware.get();
        const QString unit = bus.plugUnit(model, std::move(firmware));
        device =
            std::make_unique<DeviceHID>(&bus, 0x1234, 0x4321, vx01 ? 0x000C : 0xFF00, vx01 ? 0x0001 : 0x55AA, unit);
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
    // Any number of units of a model; the calls by model name address the earliest one.
    void unitsAndUnknownNames()
    {
        EmulatedBus bus;
        QTest::ignoreMessage(QtWarningMsg, "emulated bus: unknown model \"vx03\"");
        QVERIFY(bus.plugUnit("vx03").isEmpty());
        const QString first = bus.plugUnit("vx02");
        const QString second = bus.plugUnit("Vx02");
        QCOMPARE(bus.enumerate().size(), 2);
        QCOMPARE(bus.firmware("vx02"), bus.unitFirmware(first));
        QVERIFY(bus.unplug("vx02"));
        QCOMPARE(bus.unitOf("VX02"), second);
        QVERIFY(!bus.unplug("vx01"));
        QVERIFY(!bus.setFailure("vx01", EmulatedFailure::Silent));
        QVERIFY(!bus.firmware("vx01"));
        for (int call = 0; call < 2; ++call)
            QTest::ignoreMessage(QtWarningMsg, qPrintable("emulated bus: no unit \"" + first + '"'));
        QVERIFY(!bus.unplugUnit(first));
        QVERIFY(!bus.holdUnitFirmware(first).firmware);
        QTest::ignoreMessage(QtDebugMsg, qPrintable("DeviceHID: no interface of unit " + first + " is present"));
        QVERIFY(!DeviceHID(&bus, 0x1234, 0x4321, 0xFF00, 0x55AA, first).open());
        QTest::ignoreMessage(QtWarningMsg, "no emulated firmware for model vx03");
        QVERIFY(!FirmwareFactory::make("vx03"));
    }

    // Each model listens and answers on its own pipe only: a vx01 takes set-output-report and
    // answers get-input-report, a vx02 takes interrupt writes and answers interrupt reads. On
    // the other pipe a command is taken by the transport but never reaches the firmware, a
    // get-input-report fails and a read finds nothing.
    void eachModelTalksOnItsOwnPipe_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("control");
        QTest::newRow("vx01") << "vx01" << true;
        QTest::newRow("vx02") << "vx02" << false;
    }
    void eachModelTalksOnItsOwnPipe()
    {
        QFETCH(QString, model);
        QFETCH(bool, control);
        HidRig rig(model); // found by the ids and usage of the model's traffic interface
        QVERIFY(rig.opened && rig.bus.isPlugged(model));
        // Reports shorter than the declared length arrive padded with zeros.
        const QByteArray second = TappedFirmware::report(1, "second");
        rig.tap->answers << kAnswer << second.left(7);
        const QByteArray controlReport = TappedFirmware::report(64, "\x5A");
        rig.tap->setInputReport(controlReport);
        const QByteArray byControl = TappedFirmware::report(1, "by control");
        const QByteArray byInterrupt = TappedFirmware::report(1, "by interrupt");
        const auto *interrupt = reinterpret_cast<const quint8 *>(byInterrupt.constData());
        QVERIFY(rig.device->setOutputReport(reinterpret_cast<const quint8 *>(byControl.constData())));
        QCOMPARE(rig.device->writeReport(interrupt, 64), 65);
        QCOMPARE(rig.tap->reports(), QList<QByteArray>{control ? byControl : byInterrupt});

        if (control) {
            QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0); // nothing on the interrupt pipe
            for (int poll = 1; poll <= 2; ++poll) {
                QVERIFY(rig.device->getInputReport(rig.buffer));
                QCOMPARE(bytes(rig.buffer, 65), controlReport);
                QCOMPARE(rig.tap->controlReads, poll);
            }
            return;
        }
        QCOMPARE(rig.device->writeReport(interrupt, 64), 65);
        for (const QByteArray &answer : {kAnswer, second}) { // queued in order
            QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 65);
            QCOMPARE(bytes(rig.buffer, 65), answer);
        }
        QCOMPARE(rig.device->readReport(rig.buffer, sizeof rig.buffer), 0); // queue empty: time-out
        QVERIFY(!rig.device->getInputReport(rig.buffer));
        QCOMPARE(rig.tap->controlReads, 0);
    }

    // A handle moves reports of exactly the length the device declares, one byte more or less is
    // refused. A device declaring short reports moves only that many bytes: the last parameter
    // byte of either model never arrives.
    void handlesMoveTheDeclaredLength_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("shortReports");
        QTest::addColumn<int>("length");
        QTest::newRow("vx01") << "vx01" << false << 65;
        QTest::newRow("vx02") << "vx02" << false << 65;
        QTest::newRow("vx01 short reports") << "vx01" << true << 34;
        QTest::newRow("vx02 short reports") << "vx02" << true << 31;
    }
    void handlesMoveTheDeclaredLength()
    {
        QFETCH(QString, model);
        QFETCH(bool, shortReports);
        QFETCH(int, length);
        HidRig rig(model, 0);
        QVERIFY(rig.bus.setFailure(model, shortReports ? EmulatedFailure::ShortReports : EmulatedFailure::None));
        rig.tap->answers << QByteArray(65, '\0');
        const HidCollectionInfo traffic = rig.bus.enumerate().last();
        QCOMPARE(int(traffic.inputReportLength), length);
        QCOMPARE(int(traffic.outputReportLength), length);
        std::unique_ptr<HidHandle> handle = rig.bus.open(traffic);
        QVERIFY(handle);
        QByteArray report(length + 1, '\0');
        report[1] = char(0x89);
        const auto *out = reinterpret_cast<const quint8 *>(report.constData());
        quint8 *buffer = rig.buffer;
        std::fill(std::begin(rig.buffer), std::end(rig.buffer), 0xEE);
        for (const quint32 wrong : {quint32(length - 1), quint32(length + 1)}) {
            QVERIFY(!handle->setOutputReport(out, wrong));
            QCOMPARE(handle->write(out, wrong), 0);
            QVERIFY(!handle->getInputReport(buffer, wrong));
        }
        if (model == "vx01") {
            QVERIFY(handle->setOutputReport(out, quint32(length)));
            QVERIFY(handle->getInputReport(buffer, quint32(length)));
        } else {
            QCOMPARE(handle->write(out, quint32(length)), length);
            QCOMPARE(handle->read(buffer, sizeof rig.buffer, 100), length);
        }
        QCOMPARE(rig.tap->reports(), QList<QByteArray>{report.left(length)});
        QCOMPARE(buffer[length - 1], quint8(0)); // inside the report
        QCOMPARE(buffer[length], quint8(0xEE));  // the rest never arrives
    }

    // Garbage: the firmware still gets each command, its answers are replaced. Behaving again, it
    // answers again. (What a silent device does, the sound-card tests see.)
    void garbageAndRecovery()
    {
        HidRig rig("vx02");
        QVERIFY(rig.opened);
        rig.tap->answers << kAnswer << kAnswer << kAnswer;
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
        HidRig rig("vx01", -1);
        const QList<HidCollectionInfo> before = rig.bus.enumerate();
        QVERIFY(rig.opened);
        QVERIFY(rig.device->setOutputReport(rig.buffer));

        QSignalSpy removed(&rig.bus, &HidBackend::interfaceRemoved);
        QVERIFY(rig.bus.unplug("vx01"));
        QCOMPARE(removed.size(), 2);
        QCOMPARE(removed.at(0).at(0).toString(), before.at(1).path); // the recognised interface first
        QCOMPARE(removed.at(1).at(0).toString(), before.at(2).path);
        QCOMPARE(rig.bus.enumerate().size(), 1); // the other unit

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

    void handlesOutliveTheBus()
    {
        quint8 report[512] = {};
        std::unique_ptr<HidHandle> traffic;
        {
            EmulatedBus bus;
            QVERIFY(bus.plug("vx01"));
            traffic = bus.open(bus.enumerate().last());
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

    // What a firmware does with a report: a parameter byte changed (sound modes translated), a
    // sound effect played, or the exact answer report (vx01: the next get-input-report; vx02: one
    // input report on the interrupt pipe). What does not parse is rejected, what no setter or
    // query of the model means is ignored: a warning, no answer, no byte changed.
    void firmware_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("key"); // the parameter changed, or "effect"
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("warning");
        const auto out = [](const char *command, char reportId = '\0') {
            return TappedFirmware::outputReport(7, hex(command), reportId);
        };
        const auto take = [&out](const char *name, const char *model, const char *command, const char *key, int value,
                                 const QByteArray &answer = {}) {
            QTest::newRow(name) << model << out(command) << key << value << answer << QString();
        };
        const auto ignore = [](const char *name, const char *model, const QByteArray &report, const QString &warning) {
            QTest::newRow(name) << model << report << QString() << 0 << QByteArray() << warning;
        };
        const auto at = &TappedFirmware::report;
        take("vx01 firmware query", "vx01", "01010201", "", 0, at(16, "2.13"));
        take("vx02 parameter query", "vx02", "03010208", "", 0, at(16, hex("01010808080808060808080201020202")));
        take("vx01 music", "vx01", "03010101 0100", "model", 1);
        take("vx01 singing, small reverberation", "vx01", "03010101 0203", "model", 4);
        take("vx01 chat", "vx01", "03010101 0300", "model", 7);
        take("vx02 key 11", "vx02", "03010101 030B", "modelDetail", 11);
        take("vx02 sound effect 4", "vx02", "03010107 0400", "effect", 4);

        const QByteArray good = out("03010102 020A");
        QByteArray badCrc = good;
        badCrc[17] = char(quint8(badCrc[17]) ^ 0x01);
        const QString malformed = QStringLiteral("^FirmwareVx02 ignores a malformed frame: ");
        const QString unknown = QStringLiteral("^FirmwareVx0. ignores unknown command");
        ignore("report id only", "vx02", QByteArray(1, '\0'), malformed);
        ignore("checksum", "vx02", badCrc, malformed);
        ignore("frame without report id", "vx02", good.mid(1), malformed);
        ignore("vx01 report id 2", "vx01", out("03010102 020A", '\x02'),
               "^FirmwareVx01 ignores a malformed frame: report id 2, not 0");
        ignore("length 7", "vx02", hex("0089FFFF000000070000030101020202") + QByteArray(49, '\0'), malformed);
        ignore("vx01 sound mode 4", "vx01", out("03010101 0400"), unknown);
        ignore("vx01 singing 0", "vx01", out("03010101 0200"), unknown);
        ignore("vx01 tone colour sub-code 1", "vx01", out("03010105 0104"), unknown);
        ignore("vx01 effect", "vx01", out("03010107 0400"), unknown);
        ignore("vx01 parameter query", "vx01", out("03010208"), unknown);
        ignore("vx02 group 9", "vx02", out("03010109 0101"), unknown);
        ignore("vx02 setter without data", "vx02", out("03010102"), unknown);
    }
    void firmware()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, report);
        QFETCH(QString, key);
        QFETCH(int, value);
        QFETCH(QByteArray, answer);
        QFETCH(QString, warning);
        auto firmware = FirmwareFactory::make(model);
        auto &base = static_cast<FirmwareBase &>(*firmware);
        const QByteArray idle = base.inputReport();
        const bool effect = key == QLatin1String("effect");
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        if (effect)
            QTest::ignoreMessage(QtDebugMsg,
                                 qPrintable(QStringLiteral("FirmwareVx02 plays sound effect %1").arg(value)));
        const QList<QByteArray> queued = base.receive(report);
        QCOMPARE(base.framesRejected(), warning.contains("malformed") ? 1 : 0);
        QCOMPARE(base.effectsPlayed(), effect ? 1 : 0);
        if (!key.isEmpty())
            QCOMPARE(effect ? base.lastEffect() : base.parameter(key), value);
        QCOMPARE(queued, model == "vx02" && !answer.isEmpty() ? QList<QByteArray>{answer} : QList<QByteArray>());
        if (model == "vx01" && !answer.isEmpty())
            QCOMPARE(base.inputReport().toHex(' '), answer.toHex(' '));
        if (key.isEmpty() || effect)
            QCOMPARE(base.inputReport(), idle); // an answer is offered once
    }
};

QTEST_GUILESS_MAIN(TestEmulatedBus)
#include "tst_emulatedbus.moc"
