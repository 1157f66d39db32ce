// The emulated firmwares on their own: the example frames of the protocol with their exact
// answers, and what the sound-card objects never send them.
#include "emulator/FirmwareFactory.h"
#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"
#include "soundcard/CommandFrame.h"

#include <QtTest>

namespace {

// An output report as the host sends it: report id 0, the frame, zeros up to 65 bytes.
QByteArray outputReport(const SoundCardCommand &command, char reportId = '\0')
{
    const QByteArray report = reportId + CommandFrame::build(7, command);
    return report + QByteArray(65 - report.size(), '\0');
}

SoundCardCommand setter(quint8 group, quint8 d0, quint8 d1)
{
    return SoundCardCommand{{0x03, 0x01, 0x01, group}, true, {d0, d1}};
}

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT
private slots:
    // What the device does with a frame: a parameter byte changed (sound modes translated), or
    // the exact answer report (vx01: the next get-input-report; vx02: one input report on the
    // interrupt pipe). The first three frames are written out byte for byte with their
    // checksums; the others come from the program's frame builder.
    void exampleFrames_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("answer");
        const auto report = [](int offset, const QByteArray &bytes) {
            QByteArray result(65, '\0');
            result.replace(offset, bytes.size(), bytes);
            return result;
        };
        const auto framed = [](const char *command) {
            const QByteArray bytes = QByteArray::fromHex(command);
            SoundCardCommand c;
            std::copy_n(bytes.constData(), 4, c.code.begin());
            c.hasData = bytes.size() == 6;
            if (c.hasData)
                c.data = {quint8(bytes.at(4)), quint8(bytes.at(5))};
            return CommandFrame::build(0x1234, c);
        };
        const QByteArray none;
        QTest::newRow("vx01 setVolume(2, 10), first frame")
            << "vx01" << QByteArray::fromHex("89FFFF00000008000003010102020A012F") << "volumeRecording" << 10 << none;
        QTest::newRow("vx01 firmware query, sequence 1")
            << "vx01" << QByteArray::fromHex("89FFFF00010006000001010201CFC3") << "" << 0 << report(16, "2.13");
        QTest::newRow("vx02 parameter query, sequence 0")
            << "vx02" << QByteArray::fromHex("89FFFF000000060000030102082689") << "" << 0
            << report(16, QByteArray::fromHex("01010808080808060808080201020202"));
        QTest::newRow("vx01 music") << "vx01" << framed("030101010100") << "model" << 1 << none;
        QTest::newRow("vx01 singing, small reverberation") << "vx01" << framed("030101010203") << "model" << 4 << none;
        QTest::newRow("vx01 chat") << "vx01" << framed("030101010300") << "model" << 7 << none;
        QTest::newRow("vx01 serial-number query")
            << "vx01" << framed("01020201") << "" << 0 << report(16, "VC1026120501");
        QTest::newRow("vx02 key 11") << "vx02" << framed("03010101030B") << "modelDetail" << 11 << none;
        QTest::newRow("vx02 version query")
            << "vx02" << framed("00000001") << "" << 0 << report(11, QByteArray::fromHex("01041c"));
        QTest::newRow("vx02 serial-number query")
            << "vx02" << framed("01020201") << "" << 0 << report(16, "VS20261205007");
    }
    void exampleFrames()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, frame);
        QFETCH(QString, key);
        QFETCH(int, value);
        QFETCH(QByteArray, answer);
        auto firmware = FirmwareFactory::make(model);
        auto &base = static_cast<FirmwareBase &>(*firmware);
        const QByteArray idle = base.inputReport();
        // Report id 0, the frame, zeros up to the output report length.
        const QByteArray outputReport = '\0' + frame + QByteArray(64 - frame.size(), '\0');
        const QList<QByteArray> queued = base.receive(outputReport);
        QCOMPARE(base.framesRejected(), 0);
        if (!key.isEmpty()) {
            QCOMPARE(base.parameter(key), value);
            QVERIFY(queued.isEmpty());
        } else if (model == "vx01") {
            QVERIFY(queued.isEmpty());
            QCOMPARE(base.inputReport().toHex(' '), answer.toHex(' '));
            QCOMPARE(base.inputReport(), idle); // offered once
        } else {
            QCOMPARE(queued.size(), 1);
            QCOMPARE(queued.first().toHex(' '), answer.toHex(' '));
        }
    }

    // What does not parse is rejected, what no setter or query of the model means is ignored;
    // either way with a warning, no answer and no parameter changed.
    void ignored_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("warning");
        const QByteArray good = outputReport(setter(2, 2, 10));
        QByteArray badCrc = good;
        badCrc[17] = char(quint8(badCrc[17]) ^ 0x01);
        QByteArray badStart = good;
        badStart[1] = char(0x88);
        const QString malformed = QStringLiteral("^FirmwareVx02 ignores a malformed frame: ");
        const QString unknown = QStringLiteral("^FirmwareVx0. ignores unknown command");
        QTest::newRow("report id only") << "vx02" << QByteArray(1, '\0') << malformed;
        QTest::newRow("checksum") << "vx02" << badCrc << malformed;
        QTest::newRow("start byte") << "vx02" << badStart << malformed;
        QTest::newRow("frame without report id") << "vx02" << good.mid(1) << malformed;
        QTest::newRow("report id 1") << "vx02" << outputReport(setter(2, 2, 10), '\x01') << malformed;
        QTest::newRow("vx01 report id 2") << "vx01" << outputReport(setter(2, 2, 10), '\x02')
                                          << "^FirmwareVx01 ignores a malformed frame: report id 2, not 0";
        QTest::newRow("length 7") << "vx02"
                                  << QByteArray::fromHex("0089FFFF000000070000030101020202") + QByteArray(49, '\0')
                                  << malformed;
        QTest::newRow("cut short") << "vx02" << good.left(12) << malformed;
        QTest::newRow("vx01 sound mode 4") << "vx01" << outputReport(setter(1, 4, 0)) << unknown;
        QTest::newRow("vx01 singing 0") << "vx01" << outputReport(setter(1, 2, 0)) << unknown;
        QTest::newRow("vx01 tone colour sub-code 1") << "vx01" << outputReport(setter(5, 1, 4)) << unknown;
        QTest::newRow("vx01 effect") << "vx01" << outputReport(setter(7, 4, 0)) << unknown;
        QTest::newRow("vx01 parameter query") << "vx01" << outputReport({{3, 1, 2, 8}, false, {}}) << unknown;
        QTest::newRow("vx02 sound group 0") << "vx02" << outputReport(setter(1, 0, 1)) << unknown;
        QTest::newRow("vx02 volume 6") << "vx02" << outputReport(setter(2, 6, 4)) << unknown;
        QTest::newRow("vx02 group 9") << "vx02" << outputReport(setter(9, 1, 1)) << unknown;
        QTest::newRow("vx02 setter without data") << "vx02" << outputReport({{3, 1, 1, 2}, false, {}}) << unknown;
    }
    void ignored()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, report);
        QFETCH(QString, warning);
        auto firmware = FirmwareFactory::make(model);
        auto &base = static_cast<FirmwareBase &>(*firmware);
        const QByteArray before = base.inputReport();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QVERIFY(base.receive(report).isEmpty());
        QCOMPARE(base.inputReport(), before);
        QCOMPARE(base.framesRejected(), warning.contains("malformed") ? 1 : 0);
        QCOMPARE(base.effectsPlayed(), 0);
    }

    void specialEffectChangesNoByte()
    {
        FirmwareVx02 firmware;
        const QByteArray before = firmware.inputReport();
        QTest::ignoreMessage(QtDebugMsg, "FirmwareVx02 plays sound effect 4");
        QVERIFY(firmware.receive(outputReport(setter(7, 4, 0))).isEmpty());
        QCOMPARE(firmware.inputReport(), before);
        QCOMPARE(firmware.lastEffect(), 4);
        QCOMPARE(firmware.effectsPlayed(), 1);
    }

    void unknownModel()
    {
        QTest::ignoreMessage(QtWarningMsg, "no emulated firmware for model vx03");
        QVERIFY(!FirmwareFactory::make("vx03"));
    }
};

QTEST_GUILESS_MAIN(TestFirmware)
#include "tst_firmware.moc"
