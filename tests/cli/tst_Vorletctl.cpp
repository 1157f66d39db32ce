// Runs the real vorletctl program against the emulated devices.
#include "cli/CliCommandTable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result
{
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

QStringList lines(const QByteArray &bytes)
{
    QStringList result = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

Result run(const QStringList &arguments, const QString &emulateEnvironment = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VORLET_EMULATE"));
    if (!emulateEnvironment.isEmpty())
        environment.insert(QStringLiteral("VORLET_EMULATE"), emulateEnvironment);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VORLETCTL_PATH), arguments);
    Result result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = lines(process.readAllStandardOutput());
    result.err = lines(process.readAllStandardError());
    return result;
}

QString zeros(int count)
{
    QStringList bytes;
    for (int i = 0; i < count; ++i)
        bytes << QStringLiteral("00");
    return bytes.join(QLatin1Char(' '));
}

} // namespace

class TestVorletctl : public QObject
{
    Q_OBJECT
private slots:
    void setterShowsInGetAllPara_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("keyCount");
        QTest::newRow("vx02 record volume") << "vx02" << QStringList{"setVolume", "2", "10"} << "volumeRecording=10" << 16;
        QTest::newRow("vx02 key mode") << "vx02" << QStringList{"setSoundMode", "3", "11"} << "modelDetail=11" << 16;
        QTest::newRow("vx02 denoise") << "vx02" << QStringList{"setDenoise", "3"} << "denoiseLevel=3" << 16;
        QTest::newRow("vx01 reverb volume") << "vx01" << QStringList{"setMicReverberation", "5", "2"} << "reverbVolume=5" << 19;
        QTest::newRow("vx01 reverb depth") << "vx01" << QStringList{"setMicReverberation", "5"} << "reverbDepth=5" << 19;
        QTest::newRow("vx01 dodge switch") << "vx01" << QStringList{"setSwitch", "7", "1"} << "btnDodge=1" << 19;
    }
    void setterShowsInGetAllPara()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, commands);
        QFETCH(QString, expected);
        QFETCH(int, keyCount);
        const Result result = run(QStringList{"--emulate", model} + commands + QStringList{"getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains(expected), qPrintable(result.out.join('|')));
        QCOMPARE(result.out.size(), keyCount);
        QStringList sorted = result.out;
        sorted.sort();
        QCOMPARE(result.out, sorted);
        QVERIFY(result.err.isEmpty());
    }

    void traceShowsEveryReport()
    {
        const Result result = run({"--emulate", "vx01", "--trace", "setVolume", "2", "10", "getFirmwareVer"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringList{"2.13"});
        QCOMPARE(result.err.size(), 3);
        // The process's first frame, in the 65-byte output report, report id first.
        QCOMPARE(result.err.at(0), "> 00 89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F " + zeros(47));
        QCOMPARE(result.err.at(1), "> 00 89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3 " + zeros(49));
        QCOMPARE(result.err.at(2), "< " + zeros(16) + " 32 2E 31 33 " + zeros(45));
    }

    void traceOfVx02Poll()
    {
        const Result result = run({"--emulate", "vx02", "--trace", "getParaIsChange", "getParaIsChange"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, (QStringList{"true", "false"}));
        QCOMPARE(result.err.size(), 4);
        QCOMPARE(result.err.at(0), "> 00 89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89 " + zeros(49));
        QVERIFY(result.err.at(1).startsWith("< 00 "));
        QCOMPARE(result.err.at(1).size(), 65 * 3 + 1);
        QVERIFY(result.err.at(2).startsWith("> 00 89 FF FF 00 01 00 06"));
    }

    void queries_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("out");
        QTest::newRow("vx01") << "vx01" << QStringList{"2.13", "VC1026120501", "vx01", QString::fromUtf8("麦克风(Vorlet Cantor 10)")};
        QTest::newRow("vx02") << "vx02" << QStringList{"V1.4.1c", "VS20261205007", "vx02", QString::fromUtf8("麦克风 (Vorlet Stage 20)")};
    }
    void queries()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, out);
        const Result result = run({"getFirmwareVer", "getSNCode", "getDevType", "getInputDevName"}, model);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, out);
    }

    void usageErrorsSendNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"setVolume", "2", "10", "explode"} << "unknown command 'explode'";
        QTest::newRow("argument count") << QStringList{"setVolume", "2", "10", "setSwitch", "7"} << "setSwitch takes 2 arguments, got 1";
        QTest::newRow("non-integer") << QStringList{"setVolume", "2", "loud"} << "setVolume: argument 'loud' is not an integer";
        QTest::newRow("no command") << QStringList{} << "no command given (vorletctl --help lists them)";
    }
    void usageErrorsSendNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Result result = run(QStringList{"--emulate", "vx02", "--trace"} + arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QCOMPARE(result.err, QStringList{"vorletctl: " + message});
    }

    void help()
    {
        const Result result = run({"--help"});
        QCOMPARE(result.exitCode, 0);
        const QString text = result.out.join('\n');
        for (const CliCommand &command : CliCommandTable::commands())
            QVERIFY2(text.contains(QLatin1String(command.name)), command.name);
    }

    void noDevice()
    {
        // The machine's own HID devices: skip where a real sound card is attached.
        const Result listing = run({"list"});
        QCOMPARE(listing.exitCode, 0);
        for (const QString &line : listing.out) {
            if (line.contains("VID_1234&PID_4321", Qt::CaseInsensitive) || line.contains("VID_1235&PID_0003", Qt::CaseInsensitive))
                QSKIP("a sound card is attached to this machine");
        }
        const Result result = run({"setVolume", "2", "10"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringList{"vorletctl: no vx01 or vx02 device found"});
    }

    void listShowsEmulatedCollections()
    {
        const Result result = run({"--emulate", "vx01", "list"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.size(), 2);
        QVERIFY2(result.out.at(1).endsWith("vendor=1234 product=4321 usagePage=000C usage=0001 input=65 output=65"),
                 qPrintable(result.out.at(1)));
        QVERIFY(result.out.at(0).contains("VID_1235&PID_0003"));
    }

    void jsonGetAllPara()
    {
        const Result result = run({"--emulate", "vx02", "--json", "setVolume", "5", "3", "getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.size(), 1);
        const QJsonObject object = QJsonDocument::fromJson(result.out.first().toUtf8()).object();
        QCOMPARE(object.size(), 16);
        QCOMPARE(object.value("volumeBGM").toInt(), 3);
    }

    void saveAndLoadAcrossRuns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stage.json");
        Result result = run({"--emulate", "vx02", "setVolume", "2", "10", "setSwitch", "3", "1", "save", path});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.isEmpty());
        // A fresh emulated device starts from its start-up state; loading restores the saved one.
        result = run({"--emulate", "vx02", "load", path, "getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("volumeRecording=10"));
        QVERIFY(result.out.contains("btnMixDry=1"));
    }

    void badProfileIsRefusedBeforeAnythingIsSent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":40}}");
        file.close();
        const Result result = run({"--emulate", "vx02", "--trace", "setVolume", "1", "1", "load", path});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err.size(), 1);
        QVERIFY2(result.err.first().contains("\"volumeBGM\" = 40 is out of range 0..16"), qPrintable(result.err.first()));
    }

    // A knob turned on the device is seen by the next poll, and only by that one.
    void deviceSideChangeIsPolled_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("key");
        QTest::newRow("vx01 mute") << "vx01" << "btnMute";
        QTest::newRow("vx02 BGM") << "vx02" << "volumeBGM";
    }
    void deviceSideChangeIsPolled()
    {
        QFETCH(QString, model);
        QFETCH(QString, key);
        const Result result = run({"--emulate", model, "getParaIsChange", "getParaIsChange", "knob", key, "1",
                                   "getParaIsChange", "getParaIsChange", "getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.mid(0, 4), (QStringList{"true", "false", "true", "false"}));
        QVERIFY(result.out.contains(key + "=1"));
    }

    void knobRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("emulate");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << QStringList{"--emulate", "vx02", "--trace", "setVolume", "1", "1", "knob", "btnMute", "1"} << ""
                                     << "knob: the vx02 has no parameter \"btnMute\"";
        QTest::newRow("emulated through the environment") << QStringList{"--trace", "knob", "volumeMic", "1", "knob", "nope", "1"} << "vx01"
                                                          << "knob: the vx01 has no parameter \"nope\"";
    }
    void knobRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, emulate);
        QFETCH(QString, message);
        const Result result = run(arguments, emulate);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err, QStringList{"vorletctl: " + message});
    }

    void sequenceContinuesAcrossCommands()
    {
        const Result result = run({"--emulate", "vx02", "--trace", "setVolume", "1", "1", "setEliminateVoice", "1", "setMicToneColour", "3", "setDenoise", "2"});
        QCOMPARE(result.exitCode, 0);
        // setMicToneColour does not exist on a vx02: three frames, numbered 0, 1, 2.
        QCOMPARE(result.err.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(result.err.at(i).startsWith(QStringLiteral("> 00 89 FF FF 00 %1 00 08").arg(i, 2, 10, QLatin1Char('0'))));
    }
};

QTEST_GUILESS_MAIN(TestVorletctl)
#include "tst_Vorletctl.moc"
