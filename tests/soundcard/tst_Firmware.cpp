#include "soundcard/CommandFrame.h"
#include "soundcard/SoundCardProfile.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx01Profile.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Profile.h"
#include "soundcard/emulator/FirmwareFactory.h"
#include "soundcard/emulator/FirmwareVx01.h"
#include "soundcard/emulator/FirmwareVx02.h"

#include <QtTest>

Q_DECLARE_METATYPE(SetterOp)
Q_DECLARE_METATYPE(SoundCardCommand)

namespace {

const SoundCardProfile &profileOf(const QString &model)
{
    return model == QLatin1String("vx01") ? SoundCardVx01Profile::profile() : SoundCardVx02Profile::profile();
}

// An output report as the host sends it: report id 0, the frame, zeros up to 65 bytes.
QByteArray outputReport(const SoundCardCommand &command, quint16 sequence = 7)
{
    QByteArray report(1, '\0');
    report += CommandFrame::build(sequence, command);
    report.append(QByteArray(65 - report.size(), '\0'));
    return report;
}

QByteArray setterReport(const QString &model, SetterOp op, int first, int second)
{
    return outputReport(profileOf(model).setter(op)->resolve(first, second));
}

std::unique_ptr<FirmwareBase> firmwareOf(const QString &model)
{
    if (model == QLatin1String("vx01"))
        return std::make_unique<FirmwareVx01>();
    return std::make_unique<FirmwareVx02>();
}

QMap<QString, int> parameters(const FirmwareBase &firmware)
{
    QMap<QString, int> result;
    for (const QString &key : firmware.keys())
        result.insert(key, firmware.parameter(key));
    return result;
}

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT
private slots:
    void startUpState_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("vx01") << "vx01";
        QTest::newRow("vx02") << "vx02";
    }
    void startUpState()
    {
        QFETCH(QString, model);
        auto firmware = firmwareOf(model);
        QCOMPARE(firmware->keys().size(), profileOf(model).parameters.size());
        for (const QString &key : firmware->keys()) {
            const int value = firmware->parameter(key);
            if (key.startsWith(QLatin1String("volume")))
                QVERIFY2(value > 0 && value < 16, qPrintable(key));
            else if (key.startsWith(QLatin1String("btn")))
                QVERIFY2(value == 2, qPrintable(key));
            else if (key.startsWith(QLatin1String("dodge")))
                QVERIFY2(value >= 1 && value <= 16, qPrintable(key));
        }
        const QString mode = model == QLatin1String("vx01") ? QStringLiteral("model") : QStringLiteral("soundMode");
        QCOMPARE(firmware->parameter(mode), 1);
        // The parameter report carries the bytes at their offsets.
        const QByteArray report = firmware->inputReport();
        QCOMPARE(report.size(), 65);
        for (const ParameterByte &p : profileOf(model).parameters)
            QCOMPARE(int(quint8(report.at(p.offset))), firmware->parameter(QString::fromLatin1(p.key)));
    }

    void setterChangesItsKey_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<SetterOp>("op");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("vx01 volume 1") << "vx01" << SetterOp::Volume << 1 << 3 << "volumeMonitor" << 3;
        QTest::newRow("vx01 volume 2") << "vx01" << SetterOp::Volume << 2 << 10 << "volumeRecording" << 10;
        QTest::newRow("vx01 volume 3") << "vx01" << SetterOp::Volume << 3 << 11 << "volumeMusicVolume" << 11;
        QTest::newRow("vx01 volume 4") << "vx01" << SetterOp::Volume << 4 << 12 << "volumeMic" << 12;
        QTest::newRow("vx01 reverb type 1") << "vx01" << SetterOp::MicReverberation << 13 << 1 << "reverbDepth" << 13;
        QTest::newRow("vx01 reverb type 2") << "vx01" << SetterOp::MicReverberation << 14 << 2 << "reverbVolume" << 14;
        QTest::newRow("vx01 dodge threshold") << "vx01" << SetterOp::DodgeThreshold << 2 << 0 << "dodgeThreshold" << 2;
        QTest::newRow("vx01 dodge grade") << "vx01" << SetterOp::DodgeGrade << 3 << 0 << "dodgeLevel" << 3;
        QTest::newRow("vx01 dodge speed") << "vx01" << SetterOp::DodgeSpeed << 4 << 0 << "dodgeSpeed" << 4;
        QTest::newRow("vx01 tone colour") << "vx01" << SetterOp::MicToneColour << 15 << 0 << "toneColour" << 15;
        QTest::newRow("vx01 switch 1") << "vx01" << SetterOp::Switch << 1 << 1 << "btnBluetooth" << 1;
        QTest::newRow("vx01 switch 2") << "vx01" << SetterOp::Switch << 2 << 1 << "btnDenoise" << 1;
        QTest::newRow("vx01 switch 3") << "vx01" << SetterOp::Switch << 3 << 1 << "btnInPower" << 1;
        QTest::newRow("vx01 switch 4") << "vx01" << SetterOp::Switch << 4 << 1 << "btnDisVoice" << 1;
        QTest::newRow("vx01 switch 7") << "vx01" << SetterOp::Switch << 7 << 1 << "btnDodge" << 1;
        QTest::newRow("vx01 music") << "vx01" << SetterOp::SoundMode << 1 << 0 << "model" << 1;
        QTest::newRow("vx01 singing large") << "vx01" << SetterOp::SoundMode << 2 << 1 << "model" << 2;
        QTest::newRow("vx01 singing small") << "vx01" << SetterOp::SoundMode << 2 << 3 << "model" << 4;
        QTest::newRow("vx01 chat") << "vx01" << SetterOp::SoundMode << 3 << 0 << "model" << 7;
        QTest::newRow("vx01 volume 300 arrives as 44") << "vx01" << SetterOp::Volume << 1 << 300 << "volumeMonitor" << 44;
        QTest::newRow("vx02 volume 1") << "vx02" << SetterOp::Volume << 1 << 3 << "volumeMonitor" << 3;
        QTest::newRow("vx02 volume 2") << "vx02" << SetterOp::Volume << 2 << 10 << "volumeRecording" << 10;
        QTest::newRow("vx02 volume 3") << "vx02" << SetterOp::Volume << 3 << 11 << "volumeBluetooth" << 11;
        QTest::newRow("vx02 volume 4") << "vx02" << SetterOp::Volume << 4 << 12 << "volumeBroadcast" << 12;
        QTest::newRow("vx02 volume 5") << "vx02" << SetterOp::Volume << 5 << 13 << "volumeBGM" << 13;
        QTest::newRow("vx02 reverb") << "vx02" << SetterOp::MicReverberation << 14 << 2 << "reverbVolume" << 14;
        QTest::newRow("vx02 dodge speed") << "vx02" << SetterOp::DodgeSpeed << 4 << 0 << "dodgeSpeed" << 4;
        QTest::newRow("vx02 dodge threshold") << "vx02" << SetterOp::DodgeThreshold << 2 << 0 << "dodgeThreshold" << 2;
        QTest::newRow("vx02 dodge grade") << "vx02" << SetterOp::DodgeGrade << 3 << 0 << "dodgeLevel" << 3;
        QTest::newRow("vx02 eliminate voice") << "vx02" << SetterOp::EliminateVoice << 1 << 0 << "disVoiceLevel" << 1;
        QTest::newRow("vx02 denoise") << "vx02" << SetterOp::Denoise << 3 << 0 << "denoiseLevel" << 3;
        QTest::newRow("vx02 switch 1") << "vx02" << SetterOp::Switch << 1 << 1 << "btnInPower" << 1;
        QTest::newRow("vx02 switch 2") << "vx02" << SetterOp::Switch << 2 << 1 << "btnDodge" << 1;
        QTest::newRow("vx02 switch 3") << "vx02" << SetterOp::Switch << 3 << 1 << "btnMixDry" << 1;
    }
    void setterChangesItsKey()
    {
        QFETCH(QString, model);
        QFETCH(SetterOp, op);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, key);
        QFETCH(int, value);
        auto firmware = firmwareOf(model);
        QMap<QString, int> expected = parameters(*firmware);
        expected[key] = value;
        QVERIFY(firmware->receive(setterReport(model, op, first, second)).isEmpty());
        QCOMPARE(parameters(*firmware), expected);
        QCOMPARE(firmware->framesRejected(), 0);
    }

    void vx02SoundModeSetsGroupAndDetail()
    {
        FirmwareVx02 firmware;
        firmware.receive(setterReport("vx02", SetterOp::SoundMode, 2, 6));
        QCOMPARE(firmware.parameter("soundMode"), 2);
        QCOMPARE(firmware.parameter("modelDetail"), 6);
    }

    void invalidSoundModeIsIgnored_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("modeType");
        QTest::addColumn<int>("detail");
        QTest::newRow("vx01 mode 4") << "vx01" << 4 << 0;
        QTest::newRow("vx01 singing 0") << "vx01" << 2 << 0;
        QTest::newRow("vx01 singing 4") << "vx01" << 2 << 4;
        QTest::newRow("vx02 group 0") << "vx02" << 0 << 1;
        QTest::newRow("vx02 voice change 7") << "vx02" << 2 << 7;
        QTest::newRow("vx02 key 13") << "vx02" << 3 << 13;
    }
    void invalidSoundModeIsIgnored()
    {
        QFETCH(QString, model);
        QFETCH(int, modeType);
        QFETCH(int, detail);
        auto firmware = firmwareOf(model);
        const QMap<QString, int> before = parameters(*firmware);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignores unknown command 03 01 01 01"));
        firmware->receive(setterReport(model, SetterOp::SoundMode, modeType, detail));
        QCOMPARE(parameters(*firmware), before);
    }

    void specialEffectChangesNoByte()
    {
        FirmwareVx02 firmware;
        const QByteArray before = firmware.inputReport();
        QTest::ignoreMessage(QtDebugMsg, "FirmwareVx02 plays sound effect 4");
        QVERIFY(firmware.receive(setterReport("vx02", SetterOp::SpecialEffectSound, 4, 0)).isEmpty());
        QCOMPARE(firmware.inputReport(), before);
        QCOMPARE(firmware.lastEffect(), 4);
        QCOMPARE(firmware.effectsPlayed(), 1);
    }

    void vx01AnswersQueryOnNextInputReport_data()
    {
        QTest::addColumn<bool>("firmwareQuery");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("firmware") << true << QByteArray("2.13");
        QTest::newRow("serial") << false << QByteArray("VC1026120501");
    }
    void vx01AnswersQueryOnNextInputReport()
    {
        QFETCH(bool, firmwareQuery);
        QFETCH(QByteArray, answer);
        FirmwareVx01 firmware;
        const QByteArray parameterReport = firmware.inputReport();
        const SoundCardProfile &profile = SoundCardVx01Profile::profile();
        QVERIFY(firmware.receive(outputReport(firmwareQuery ? profile.firmwareQuery : profile.serialQuery)).isEmpty());
        const QByteArray first = firmware.inputReport();
        QCOMPARE(first.size(), 65);
        QCOMPARE(first.mid(16, answer.size()), answer);
        QCOMPARE(first.at(16 + answer.size()), '\0');
        // Only the next read carries the answer.
        QCOMPARE(firmware.inputReport(), parameterReport);
    }

    void vx02AnswersEachQueryWithOneReport()
    {
        FirmwareVx02 firmware;
        const QList<QByteArray> parameterAnswer = firmware.receive(outputReport(SoundCardVx02Profile::parameterQuery()));
        QCOMPARE(parameterAnswer.size(), 1);
        QCOMPARE(parameterAnswer.first(), firmware.inputReport());
        QCOMPARE(int(parameterAnswer.first().at(19)), firmware.parameter("volumeRecording"));

        const QList<QByteArray> version = firmware.receive(outputReport(SoundCardVx02Profile::profile().firmwareQuery));
        QCOMPARE(version.size(), 1);
        QCOMPARE(version.first().mid(11, 3), FirmwareVx02::versionBytes());

        const QList<QByteArray> serial = firmware.receive(outputReport(SoundCardVx02Profile::profile().serialQuery));
        QCOMPARE(serial.size(), 1);
        QCOMPARE(serial.first().mid(16, 13), QByteArray("VS20261205007"));
        QCOMPARE(serial.first().at(29), '\0');
    }

    void deviceSideChangeShowsInReport()
    {
        FirmwareVx02 firmware;
        QVERIFY(firmware.setParameter("volumeBGM", 15));
        QVERIFY(!firmware.setParameter("noSuchKey", 1));
        QCOMPARE(firmware.parameter("noSuchKey"), -1);
        QCOMPARE(int(firmware.receive(outputReport(SoundCardVx02Profile::parameterQuery())).first().at(22)), 15);
    }

    void malformedFramesAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("report");
        QByteArray badCrc = setterReport("vx02", SetterOp::Volume, 2, 10);
        badCrc[17] = char(quint8(badCrc[17]) ^ 0x01);
        QByteArray badStart = setterReport("vx02", SetterOp::Volume, 2, 10);
        badStart[1] = char(0x00);
        QByteArray noReportId = setterReport("vx02", SetterOp::Volume, 2, 10).mid(1);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("report id only") << QByteArray(1, '\0');
        QTest::newRow("zeros") << QByteArray(65, '\0');
        QTest::newRow("checksum") << badCrc;
        QTest::newRow("start byte") << badStart;
        QTest::newRow("frame without report id") << noReportId;
        QTest::newRow("cut short") << setterReport("vx02", SetterOp::Volume, 2, 10).left(12);
    }
    void malformedFramesAreIgnored()
    {
        QFETCH(QByteArray, report);
        FirmwareVx02 firmware;
        const QByteArray before = firmware.inputReport();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^FirmwareVx02 ignores a malformed frame: "));
        QVERIFY(firmware.receive(report).isEmpty());
        QCOMPARE(firmware.inputReport(), before);
        QCOMPARE(firmware.framesRejected(), 1);
    }

    void unknownCommandsAreIgnored_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<SoundCardCommand>("command");
        QTest::newRow("vx01 tone colour sub-code 1") << "vx01" << SoundCardCommand{{3, 1, 1, 5}, true, {1, 4}};
        QTest::newRow("vx01 switch 5") << "vx01" << SoundCardCommand{{3, 1, 1, 6}, true, {5, 1}};
        QTest::newRow("vx01 effect") << "vx01" << SoundCardCommand{{3, 1, 1, 7}, true, {4, 0}};
        QTest::newRow("vx01 parameter query") << "vx01" << SoundCardCommand{{3, 1, 2, 8}, false, {}};
        QTest::newRow("vx02 volume 6") << "vx02" << SoundCardCommand{{3, 1, 1, 2}, true, {6, 4}};
        QTest::newRow("vx02 group 9") << "vx02" << SoundCardCommand{{3, 1, 1, 9}, true, {1, 1}};
        QTest::newRow("vx02 setter without data") << "vx02" << SoundCardCommand{{3, 1, 1, 2}, false, {}};
    }
    void unknownCommandsAreIgnored()
    {
        QFETCH(QString, model);
        QFETCH(SoundCardCommand, command);
        auto firmware = firmwareOf(model);
        const QMap<QString, int> before = parameters(*firmware);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignores unknown command"));
        QVERIFY(firmware->receive(outputReport(command)).isEmpty());
        QCOMPARE(parameters(*firmware), before);
    }

    void factoryMakesEachModel()
    {
        QVERIFY(dynamic_cast<FirmwareVx01 *>(FirmwareFactory::make("vx01").get()));
        QVERIFY(dynamic_cast<FirmwareVx02 *>(FirmwareFactory::make("vx02").get()));
        QTest::ignoreMessage(QtWarningMsg, "no emulated firmware for model vx03");
        QVERIFY(!FirmwareFactory::make("vx03"));
    }
};

QTEST_GUILESS_MAIN(TestFirmware)
#include "tst_Firmware.moc"
