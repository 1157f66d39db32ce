// The emulated firmwares on their own: what the sound-card objects never send them.
#include "soundcard/CommandFrame.h"
#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx01Profile.h"
#include "soundcard/emulator/FirmwareFactory.h"
#include "soundcard/emulator/FirmwareVx01.h"
#include "soundcard/emulator/FirmwareVx02.h"

#include <QtTest>

namespace {

// An output report as the host sends it: report id 0, the frame, zeros up to 65 bytes.
QByteArray outputReport(const SoundCardCommand &command)
{
    const QByteArray report = '\0' + CommandFrame::build(7, command);
    return report + QByteArray(65 - report.size(), '\0');
}

SoundCardCommand setter(quint8 group, quint8 d0, quint8 d1)
{
    return SoundCardCommand{SetterCommand::group(group), true, {d0, d1}};
}

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT
private slots:
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
        badStart[1] = char(0x00);
        const QString malformed = QStringLiteral("^FirmwareVx02 ignores a malformed frame: ");
        const QString unknown = QStringLiteral("^FirmwareVx0. ignores unknown command");
        QTest::newRow("empty") << "vx02" << QByteArray() << malformed;
        QTest::newRow("report id only") << "vx02" << QByteArray(1, '\0') << malformed;
        QTest::newRow("zeros") << "vx02" << QByteArray(65, '\0') << malformed;
        QTest::newRow("checksum") << "vx02" << badCrc << malformed;
        QTest::newRow("start byte") << "vx02" << badStart << malformed;
        QTest::newRow("frame without report id") << "vx02" << good.mid(1) << malformed;
        QTest::newRow("cut short") << "vx02" << good.left(12) << malformed;
        QTest::newRow("vx01 sound mode 4") << "vx01" << outputReport(setter(1, 4, 0)) << unknown;
        QTest::newRow("vx01 singing 0") << "vx01" << outputReport(setter(1, 2, 0)) << unknown;
        QTest::newRow("vx01 singing 4") << "vx01" << outputReport(setter(1, 2, 4)) << unknown;
        QTest::newRow("vx01 tone colour sub-code 1") << "vx01" << outputReport(setter(5, 1, 4)) << unknown;
        QTest::newRow("vx01 switch 5") << "vx01" << outputReport(setter(6, 5, 1)) << unknown;
        QTest::newRow("vx01 effect") << "vx01" << outputReport(setter(7, 4, 0)) << unknown;
        QTest::newRow("vx01 parameter query") << "vx01" << outputReport({{3, 1, 2, 8}, false, {}}) << unknown;
        QTest::newRow("vx02 sound group 0") << "vx02" << outputReport(setter(1, 0, 1)) << unknown;
        QTest::newRow("vx02 voice change 7") << "vx02" << outputReport(setter(1, 2, 7)) << unknown;
        QTest::newRow("vx02 key 13") << "vx02" << outputReport(setter(1, 3, 13)) << unknown;
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

    // The vx01 offers a query's answer to the next get-input-report only.
    void vx01AnswersQueryOnNextInputReport()
    {
        FirmwareVx01 firmware;
        const QByteArray parameterReport = firmware.inputReport();
        QVERIFY(firmware.receive(outputReport(SoundCardVx01Profile::profile().serialQuery)).isEmpty());
        const QByteArray answer = firmware.inputReport();
        QCOMPARE(answer.size(), 65);
        QCOMPARE(answer.mid(16, 13), QByteArray("VC1026120501\0", 13));
        QCOMPARE(firmware.inputReport(), parameterReport);
    }

    void unknownModel()
    {
        QTest::ignoreMessage(QtWarningMsg, "no emulated firmware for model vx03");
        QVERIFY(!FirmwareFactory::make("vx03"));
    }
};

QTEST_GUILESS_MAIN(TestFirmware)
#include "tst_firmware.moc"
