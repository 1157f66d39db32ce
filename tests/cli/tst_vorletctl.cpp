// Runs the real vorletctl program against the emulated devices.
#include "cli/CliCommandTable.h"
#include "support/ProgramRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Result = ProgramRun;

// `emulateEnvironment` goes into VORLET_EMULATE; `environment` adds or, with an empty value,
// removes variables.
Result run(const QStringList &arguments, const QString &emulateEnvironment = QString(),
           const QMap<QString, QString> &extra = {}, const QString &workingDirectory = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VORLET_EMULATE"));
    if (!emulateEnvironment.isEmpty())
        environment.insert(QStringLiteral("VORLET_EMULATE"), emulateEnvironment);
    for (auto it = extra.cbegin(); it != extra.cend(); ++it) {
        if (it.value().isEmpty())
            environment.remove(it.key());
        else
            environment.insert(it.key(), it.value());
    }
    process.setProcessEnvironment(environment);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    return ProgramRun::of(process, QStringLiteral(VORLETCTL_PATH), arguments);
}

QString zeros(int count)
{
    return QStringLiteral(" 00").repeated(count).mid(1);
}

} // namespace

class TestVorletctl : public QObject
{
    Q_OBJECT
private slots:
    // Commands, then getAllPara: the lines before the map, then one sorted "key=value" line per key.
    void commandsShowInGetAllPara_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("firstLines");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("keyCount");
        const QStringList none;
        const QStringList polls{"true", "false", "true", "false"};
        // One setter a model: which bytes each setter sends is the protocol tests' business.
        QTest::newRow("vx02 key mode") << "vx02" << QStringList{"setSoundMode", "3", "11"} << none << "modelDetail=11"
                                       << 16;
        QTest::newRow("vx01 reverb depth, TYPE left out")
            << "vx01" << QStringList{"setMicReverberation", "5"} << none << "reverbDepth=5" << 19;
        // A profile is read when its load runs: the one the session saved, not the file it found.
        const QString session = m_dir.filePath("session.json");
        QTest::newRow("load after save") << "vx02" << QStringList{"setVolume", "5", "3", "save", session,
                                                                  "setVolume", "5", "9", "load", session}
                                         << none << "volumeBGM=3" << 16;
        // A knob turned on the device is seen by the next poll, and only by that one.
        QTest::newRow("vx01 mute knob polled")
            << "vx01" << QStringList{"getParaIsChange", "getParaIsChange", "knob", "btnMute", "1",
                                     "getParaIsChange", "getParaIsChange"}
            << polls << "btnMute=1" << 19;
        QTest::newRow("vx02 BGM knob polled")
            << "vx02" << QStringList{"getParaIsChange", "getParaIsChange", "knob", "volumeBGM", "1",
                                     "getParaIsChange", "getParaIsChange"}
            << polls << "volumeBGM=1" << 16;
    }
    void commandsShowInGetAllPara()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, commands);
        QFETCH(QStringList, firstLines);
        QFETCH(QString, expected);
        QFETCH(int, keyCount);
        const Result result = run(QStringList{"--emulate", model} + commands + QStringList{"getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        QCOMPARE(result.out.mid(0, firstLines.size()), firstLines);
        const QStringList map = result.out.mid(firstLines.size());
        QVERIFY2(map.contains(expected), qPrintable(map.join('|')));
        QCOMPARE(map.size(), keyCount);
        QStringList sorted = map;
        sorted.sort();
        QCOMPARE(map, sorted);
    }

    // Exact output. --trace shows every report on stderr: the 65-byte report, report id first.
    void output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("emulate"); // through the environment
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        const QStringList queries{"getFirmwareVer", "getSNCode", "getDevType", "getInputDevName"};
        QTest::newRow("vx01 queries") << queries << "vx01"
                                      << QStringList{"2.13", "VC1026120501", "vx01",
                                                     QString::fromUtf8("麦克风(Vorlet Cantor 10)")}
                                      << QStringList();
        QTest::newRow("vx02 queries") << queries << "vx02"
                                      << QStringList{"V1.4.1c", "VS20261205007", "vx02",
                                                     QString::fromUtf8("麦克风 (Vorlet Stage 20)")}
                                      << QStringList();
        QTest::newRow("model in any case")
            << QStringList{"--emulate", "VX01", "getDevType"} << "" << QStringList{"vx01"} << QStringList();
        // The vx01 is detected by its own ids and opened under the vx02's.
        QTest::newRow("vx01 list") << QStringList{"list"} << "vx01"
                                   << QStringList{"/dev/emulated/hidraw0#VID_1235&PID_0003 vendor=1235 product=0003 "
                                                  "usagePage=000C usage=0001 input=3 output=0",
                                                  "/dev/emulated/hidraw1#VID_1234&PID_4321 vendor=1234 product=4321 "
                                                  "usagePage=000C usage=0001 input=65 output=65"}
                                   << QStringList();
        QTest::newRow("model in any case, environment")
            << QStringList{"getDevType"} << "Vx02" << QStringList{"vx02"} << QStringList();
        QTest::newRow("vx01 trace") << QStringList{"--emulate", "vx01", "--trace",       "setVolume",
                                                   "2",         "10",   "getFirmwareVer"}
                                    << "" << QStringList{"2.13"}
                                    << QStringList{"> 00 89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F "
                                                       + zeros(47),
                                                   "> 00 89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3 " + zeros(49),
                                                   "< " + zeros(16) + " 32 2E 31 33 " + zeros(45)};
        const QString startUp = "< " + zeros(16) + " 01 01 08 08 08 08 08 06 08 08 08 02 01 02 02 02 " + zeros(33);
        QTest::newRow("vx02 trace of polls")
            << QStringList{"--emulate", "vx02", "--trace", "getParaIsChange", "getParaIsChange"} << ""
            << QStringList{"true", "false"}
            << QStringList{"> 00 89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89 " + zeros(49), startUp,
                           "> 00 89 FF FF 00 01 00 06 00 00 03 01 02 08 6B 74 " + zeros(49), startUp};
    }
    void output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, emulate);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        const Result result = run(arguments, emulate);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, out);
        QCOMPARE(result.err, err);
    }

    // Usage errors (the parser's own messages are its tests' business), unknown knobs, bad
    // profiles and setter values outside the model's: exit 2 with one line, and the trace shows
    // that nothing was sent.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("emulate");
        QTest::addColumn<QString>("message");
        const QStringList traced{"--emulate", "vx02", "--trace"};
        const QString badProfile = m_dir.filePath("bad.json");
        QFile file(badProfile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":40}}");
        file.close();
        const QString otherModel = m_dir.filePath("vx9.json");
        QFile other(otherModel);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("{\"devType\":\"VX9\",\"parameters\":{}}");
        other.close();
        QTest::newRow("unknown command") << traced + QStringList{"setVolume", "2", "10", "explode"} << ""
                                         << "unknown command 'explode'";
        QTest::newRow("no command") << traced << ""
                                    << "no command given (vorletctl --help lists them)";
        QTest::newRow("bad profile") << traced + QStringList{"setVolume", "1", "1", "load", badProfile} << ""
                                     << "\"volumeBGM\" = 40 is out of range 0..16";
        QTest::newRow("profile of no known model") << traced + QStringList{"load", otherModel} << ""
                                                   << "\"devType\" must be one of vx01, vx02";
        QTest::newRow("unknown model in the environment")
            << QStringList{"--trace", "getDevType"} << "foo"
            << "VORLET_EMULATE: unknown model 'foo', expected vx01 or vx02";
        QTest::newRow("knob without the emulator") << QStringList{"--trace", "knob", "volumeBGM", "3"} << ""
                                                   << "knob needs the emulated device: add --emulate vx01|vx02";
        QTest::newRow("unknown knob") << traced + QStringList{"setVolume", "1", "1", "knob", "btnMute", "1"} << ""
                                      << "knob: the vx02 has no parameter \"btnMute\"";
        QTest::newRow("knob, emulated through the environment")
            << QStringList{"--trace", "knob", "volumeMic", "1", "knob", "nope", "1"} << "vx01"
            << "knob: the vx01 has no parameter \"nope\"";
        // Setter arguments outside the model's values: -1 would go out as 255.
        QTest::newRow("negative volume") << traced + QStringList{"setVolume", "1", "1", "setVolume", "1", "-1"} << ""
                                         << "setVolume: VALUE -1 is out of range 0..16 on the vx02";
        QTest::newRow("volume type of the other model")
            << QStringList{"--emulate", "vx01", "--trace", "setVolume", "5", "3"} << ""
            << "setVolume: TYPE 5 is none of 1, 2, 3, 4 on the vx01";
        QTest::newRow("voice change 7") << traced + QStringList{"setSoundMode", "2", "7"} << ""
                                        << "setSoundMode: DETAIL 7 is out of range 1..6 on the vx02 for MODETYPE 2";
        QTest::newRow("reverb type 2 on a vx02") << traced + QStringList{"setMicReverberation", "5", "2"} << ""
                                                 << "setMicReverberation: TYPE 2 is none of 1 on the vx02";
        QTest::newRow("setter the model lacks") << QStringList{"--emulate", "vx01", "--trace", "setDenoise", "2"} << ""
                                                << "setDenoise: the vx01 has no such setting";
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, emulate);
        QFETCH(QString, message);
        const Result result = run(arguments, emulate);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QCOMPARE(result.err.size(), 1);
        QVERIFY2(result.err.first().startsWith("vorletctl: ") && result.err.first().endsWith(message),
                 qPrintable(result.err.first()));
    }

    void help()
    {
        const Result result = run({"--help"});
        QCOMPARE(result.exitCode, 0);
        const QString text = result.out.join('\n');
        for (const CliCommand &command : CliCommandTable::commands())
            QVERIFY2(text.contains(QLatin1String(command.name)), command.name);
        for (const char *option : {"--emulate", "--trace", "--json", "--version", "Exit status"})
            QVERIFY2(text.contains(QLatin1String(option)), option);
        // The codes of each model, with the key they set.
        for (const char *code : {"4 mic (volumeMic)", "5 background music (volumeBGM)", "7 ducking (btnDodge)",
                                 "3 monitor wet, record dry (btnMixDry)", "2 1-3 singing", "3 1-12 electronic key",
                                 "setSpecialEffectSound NUMBER: vx02 1-9 sound effect"})
            QVERIFY2(text.contains(QLatin1String(code)), code);
    }

    // No display, and a platform that needs one: the tool does not care.
    void worksWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("help") << QStringList{"--help"}
                              << "Usage: vorletctl [--emulate vx01|vx02] [--direct] [--trace] [--json] [--verbose] "
                                 "COMMAND [ARG...] [COMMAND [ARG...]]...";
        QTest::newRow("version") << QStringList{"--version"} << "vorletctl " VORLET_VERSION;
        QTest::newRow("device") << QStringList{"--emulate", "vx01", "setVolume", "1", "2", "getDevType"} << "vx01";
    }
    void worksWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        const Result result =
            run(arguments, QString(), {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        QVERIFY(!result.out.isEmpty());
        QCOMPARE(result.out.first(), firstLine);
    }

    // With --json every line is one JSON document, whatever the command.
    void jsonForEveryCommand()
    {
        const Result result = run({"--json", "--emulate", "vx02", "getFirmwareVer", "getSNCode", "getDevType",
                                   "getInputDevName", "getParaIsChange", "getParaIsChange", "getAllPara", "list"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        QList<QJsonDocument> documents;
        for (const QString &line : result.out) {
            QJsonParseError error;
            documents << QJsonDocument::fromJson(line.toUtf8(), &error);
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(line));
        }
        QCOMPARE(documents.size(), 8);
        const QStringList scalars{"{\"getFirmwareVer\":\"V1.4.1c\"}", "{\"getSNCode\":\"VS20261205007\"}",
                                  "{\"getDevType\":\"vx02\"}",
                                  QString::fromUtf8("{\"getInputDevName\":\"麦克风 (Vorlet Stage 20)\"}"),
                                  // The first poll reads the version answer the serial number left behind.
                                  "{\"getParaIsChange\":false}", "{\"getParaIsChange\":true}"};
        QCOMPARE(result.out.mid(0, 6), scalars);
        QCOMPARE(documents.at(6).object().size(), 16);
        QCOMPARE(documents.at(6).object().value("volumeMonitor").toInt(), 8);
        QCOMPARE(documents.at(7).array().size(), 1);
        QCOMPARE(documents.at(7).array().first().toObject().value("usagePage").toString(), QStringLiteral("FF00"));
    }

    // Failures after the device was opened: what had been printed stays, one line says why,
    // and the exit status tells the kind.
    void failsWithStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString stale = m_dir.filePath("stale.json");
        QTest::newRow("vx01 setter after unplugging")
            << QStringList{"--emulate", "vx01", "getDevType", "unplug", "setVolume", "2", "3"} << QStringList{"vx01"}
            << 3 << "setVolume: the vx01 did not take the command (write failed or device gone)";
        QTest::newRow("vx02 setter after unplugging")
            << QStringList{"--emulate", "vx02", "unplug", "setSwitch", "1", "1", "getDevType"} << QStringList() << 3
            << "setSwitch: the vx02 did not take the command (write failed or device gone)";
        QTest::newRow("vx02 save of the version answer")
            << QStringList{"--emulate", "vx02", "getParaIsChange", "getSNCode", "save", stale}
            << QStringList{"true", "VS20261205007"} << 3
            << "not saved: \"btnDodge\" = 0 is out of range 1..2: the device answered with another report; try again";
        QTest::newRow("unwritable path") << QStringList{"--emulate", "vx01", "save", "/nonexistent-vorlet/profile.json"}
                                         << QStringList() << 4 << "cannot write /nonexistent-vorlet/profile.json: ";
        // A device that is gone answers no query: nothing is printed for it.
        QTest::newRow("vx01 query after unplugging")
            << QStringList{"--emulate", "vx01", "getDevType", "unplug", "getAllPara"} << QStringList{"vx01"} << 3
            << "getAllPara: no answer from the vx01 (report not sent or not read: device gone?)";
        QTest::newRow("vx02 queries after unplugging")
            << QStringList{"--emulate", "vx02", "unplug", "getSNCode", "getAllPara"} << QStringList() << 3
            << "getSNCode: no answer from the vx02";
        QTest::newRow("vx02 save after unplugging")
            << QStringList{"--emulate", "vx02", "getParaIsChange", "unplug", "save", stale} << QStringList{"true"} << 3
            << "save: no answer from the vx02";
    }
    void failsWithStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, out);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        QCOMPARE(result.err.size(), 1);
        QVERIFY2(result.err.first().startsWith("vorletctl: " + message), qPrintable(result.err.first()));
        QVERIFY(!QFile::exists(m_dir.filePath("stale.json")));
    }

    // Where a file is expected, a command's name is a file name.
    void fileNamedLikeACommand()
    {
        QTemporaryDir dir;
        Result result =
            run({"--emulate", "vx02", "setVolume", "5", "2", "save", "getAllPara"}, QString(), {}, dir.path());
        QCOMPARE(result.exitCode, 0);
        QVERIFY(QFile::exists(dir.filePath("getAllPara")));
        result = run({"--emulate", "vx02", "load", "getAllPara", "getAllPara"}, QString(), {}, dir.path());
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("volumeBGM=2"));
    }

    void noDevice()
    {
        // The machine's own HID devices: skip where a real sound card is attached.
        const Result listing = run({"list"});
        QCOMPARE(listing.exitCode, 0);
        for (const QString &line : listing.out) {
            if (line.contains("VID_1234&PID_4321", Qt::CaseInsensitive)
                || line.contains("VID_1235&PID_0003", Qt::CaseInsensitive))
                QSKIP("a sound card is attached to this machine");
        }
        const Result result = run({"setVolume", "2", "10"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, QStringList{"vorletctl: no vx01 or vx02 device found"});
    }

    // "Restore last settings" from the shell: the option is the panel's, each session with it on
    // remembers the state it leaves, and restore brings it back on a fresh device.
    void lastSettingsAcrossRuns()
    {
        QTemporaryDir config;
        auto ctl = [&config](const QStringList &arguments) {
            return run(arguments, QString(), {{"XDG_CONFIG_HOME", config.path()}});
        };
        QCOMPARE(ctl({"lastSettings"}).out, QStringList{"off"});
        // Off: nothing is remembered.
        QCOMPARE(ctl({"--emulate", "vx02", "setVolume", "2", "3"}).exitCode, 0);
        Result result = ctl({"--emulate", "vx02", "restore"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(
            result.err,
            QStringList{
                "vorletctl: no settings remembered for the vx02 with serial number 'VS20261205007'; nothing sent"});

        QCOMPARE(ctl({"lastSettings", "on"}).exitCode, 0);
        QCOMPARE(ctl({"lastSettings"}).out, QStringList{"on"});
        // A command after the optional on|off is a command.
        QCOMPARE(ctl({"--json", "--emulate", "vx02", "lastSettings", "getDevType"}).out,
                 QStringList({"{\"lastSettings\":\"on\"}", "{\"getDevType\":\"vx02\"}"}));
        // The serial number's query leaves an answer that the first poll reads: the state the
        // session leaves is remembered all the same.
        QCOMPARE(ctl({"--emulate", "vx02", "getSNCode", "setVolume", "2", "11", "setDenoise", "3"}).exitCode, 0);
        result = ctl({"--emulate", "vx02", "getAllPara", "restore", "getAllPara"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("volumeRecording=8")); // the fresh device's own state first
        QCOMPARE(result.out.count("volumeRecording=11"), 1);
        QCOMPARE(result.out.count("denoiseLevel=3"), 1);
        // The profile is the one of save: load gives the same state.
        const QString saved = config.filePath("saved.json");
        QCOMPARE(ctl({"--emulate", "vx02", "restore", "save", saved}).exitCode, 0);
        result = ctl({"--emulate", "vx02", "load", saved, "getAllPara"});
        QVERIFY(result.out.contains("volumeRecording=11"));
        // Per device: the vx01 has nothing remembered yet.
        QCOMPARE(ctl({"--emulate", "vx01", "restore"}).exitCode, 1);
        QCOMPARE(ctl({"lastSettings", "maybe"}).exitCode, 2);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestVorletctl)
#include "tst_vorletctl.moc"
