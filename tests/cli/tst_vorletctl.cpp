// vorletctl: its command line parsed here, then the real program against the emulated devices,
// always without a display.
#include "cli/CliCommandTable.h"
#include "cli/CliParser.h"
#include "soundcard/SetterSlot.h"
#include "support/ProgramRun.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// `emulate` goes into VORLET_EMULATE; `extra` adds variables. A platform that needs a display
// and none to be had: the tool does not care.
ProgramRun run(const QStringList &arguments, const QString &emulate = QString(),
               const QMap<QString, QString> &extra = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"VORLET_EMULATE", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!emulate.isEmpty())
        environment.insert(QStringLiteral("VORLET_EMULATE"), emulate);
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        environment.insert(it.key(), it.value());
    return ProgramRun::of(QStringLiteral(VORLETCTL_PATH), arguments, environment);
}

// The options that are set, then the invocations: "emulate=vx02 json name:arg,arg name".
QString describe(const CliOptions &options)
{
    QStringList parts;
    if (!options.emulate.isEmpty())
        parts << QStringLiteral("emulate=") + options.emulate;
    if (options.json)
        parts << QStringLiteral("json");
    for (const CliInvocation &invocation : options.invocations) {
        QStringList args;
        for (int value : invocation.integers)
            args << QString::number(value);
        if (!invocation.file.isEmpty())
            args << invocation.file;
        if (!invocation.key.isEmpty())
            args.prepend(invocation.key);
        parts << QString::fromLatin1(invocation.command->name)
                + (args.isEmpty() ? QString() : QLatin1Char(':') + args.join(QLatin1Char(',')));
    }
    return parts.join(QLatin1Char(' '));
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
    // Command lines the program's runs below do not cover already.
    void accepts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("options");
        QTest::newRow("--emulate=vx01") << QStringList{"--emulate=vx01", "getDevType"} << "emulate=vx01 getDevType";
        QTest::newRow("model in any case")
            << QStringList{"--emulate", "VX02", "getDevType"} << "emulate=vx02 getDevType";
        QTest::newRow("option after a command") << QStringList{"getAllPara", "--json"} << "json getAllPara";
        QTest::newRow("reverb with two arguments")
            << QStringList{"setMicReverberation", "5", "2", "getAllPara"} << "setMicReverberation:5,2 getAllPara";
        QTest::newRow("file named like a command") << QStringList{"save", "getAllPara", "load", "list", "getDevType"}
                                                   << "save:getAllPara load:list getDevType";
        QTest::newRow("knob at the byte's ends")
            << QStringList{"knob", "volumeBGM", "0", "knob", "btnMute", "255"} << "knob:volumeBGM,0 knob:btnMute,255";
    }
    void accepts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, options);
        CliOptions parsed;
        QString error;
        QVERIFY2(CliParser::parse(arguments, &parsed, &error), qPrintable(error));
        QCOMPARE(describe(parsed), options);
    }

    void rejects_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("only options") << QStringList{"--trace"} << "no command given";
        QTest::newRow("unknown command") << QStringList{"setVolumes", "1", "2"} << "unknown command 'setVolumes'";
        QTest::newRow("too few before next command")
            << QStringList{"setSwitch", "7", "getAllPara"} << "setSwitch takes 2 arguments, got 1";
        QTest::newRow("too many") << QStringList{"setDodgeSpeed", "3", "4"}
                                  << "setDodgeSpeed takes 1 argument, got more ('4')";
        QTest::newRow("reverb with three") << QStringList{"setMicReverberation", "1", "2", "3"}
                                           << "setMicReverberation takes 1 or 2 arguments, got more ('3')";
        QTest::newRow("argument to a query")
            << QStringList{"getSNCode", "5"} << "getSNCode takes no arguments, got more ('5')";
        QTest::newRow("fraction") << QStringList{"setDenoise", "1.5"} << "setDenoise: argument '1.5' is not an integer";
        QTest::newRow("save without file") << QStringList{"save"} << "save takes 1 argument, got 0";
        QTest::newRow("knob without value") << QStringList{"knob", "volumeBGM"} << "knob takes 2 arguments, got 1";
        QTest::newRow("unknown option") << QStringList{"--fast", "getAllPara"} << "unknown option '--fast'";
        QTest::newRow("unknown model") << QStringList{"--emulate", "Foo", "getAllPara"}
                                       << "--emulate: unknown model 'Foo', expected vx01 or vx02";
        QTest::newRow("out of range") << QStringList{"setVolume", "2", "99999999999"}
                                      << "setVolume: argument '99999999999' is out of range -2147483648..2147483647";
        QTest::newRow("knob above a byte")
            << QStringList{"knob", "volumeBGM", "256"} << "knob: argument '256' is out of range 0..255";
        QTest::newRow("knob below a byte")
            << QStringList{"knob", "volumeBGM", "-1"} << "knob: argument '-1' is out of range 0..255";
        QTest::newRow("too many, out of range")
            << QStringList{"setDenoise", "1", "99999999999"} << "setDenoise takes 1 argument, got more ('99999999999')";
        QTest::newRow("emulate without model") << QStringList{"--emulate"} << "--emulate needs a model";
    }
    void rejects()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        CliOptions options;
        QString error;
        QVERIFY(!CliParser::parse(arguments, &options, &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
        QVERIFY(!error.contains(QLatin1Char('\n')));
    }

    // Every setter has its command, named after it and taking its arguments.
    void everySetterHasItsCommand()
    {
        for (const SetterSlot &slot : SetterSlot::all()) {
            const CliCommand *command = CliCommandTable::find(QLatin1String(slot.name));
            QVERIFY2(command && command->action == CliCommand::Action::Setter, slot.name);
            QCOMPARE(SetterSlot::of(command->setter).name, slot.name);
            QCOMPARE(command->maxArgs, slot.selector < 0 ? 1 : 2);
        }
    }
    // Commands, then getAllPara: the lines before the map, then one sorted "key=value" line per key.
    void commandsShowInGetAllPara_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("firstLines");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("keyCount");
        // One setter a model: which bytes each setter sends is the protocol tests' business.
        QTest::newRow("vx02 key mode") << "vx02" << QStringList{"setSoundMode", "3", "11"} << QStringList()
                                       << "modelDetail=11" << 16;
        QTest::newRow("vx01 reverb depth, TYPE left out")
            << "vx01" << QStringList{"setMicReverberation", "5"} << QStringList() << "reverbDepth=5" << 19;
        // A profile is read when its load runs: the one the session saved, not the file it found.
        const QString session = m_dir.filePath("session.json");
        QTest::newRow("load after save") << "vx02" << QStringList{"setVolume", "5", "3", "save", session,
                                                                  "setVolume", "5", "9", "load", session}
                                         << QStringList() << "volumeBGM=3" << 16;
        // A knob turned on the device is seen by the next poll, and only by that one.
        QTest::newRow("vx01 mute knob polled")
            << "vx01" << QStringList{"getParaIsChange", "getParaIsChange", "knob", "btnMute", "1",
                                     "getParaIsChange", "getParaIsChange"}
            << QStringList{"true", "false", "true", "false"} << "btnMute=1" << 19;
    }
    void commandsShowInGetAllPara()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, commands);
        QFETCH(QStringList, firstLines);
        QFETCH(QString, expected);
        QFETCH(int, keyCount);
        const ProgramRun result = run(QStringList{"--emulate", model} + commands + QStringList{"getAllPara"});
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

    // Exact output and exit status. --trace shows every report on stderr (the 65-byte report,
    // report id first): a refusal (exit 2) shows that nothing was sent. After the device was
    // opened, what had been printed stays and one line says why.
    void exactOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("emulate"); // through the environment
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        const QStringList queries{"getFirmwareVer", "getSNCode", "getDevType", "getInputDevName"};
        const QStringList traced{"--emulate", "vx02", "--trace"};
        QTest::newRow("vx01 queries") << queries << "vx01" << 0
                                      << QStringList{"2.13", "VC1026120501", "vx01",
                                                     QString::fromUtf8("麦克风(Vorlet Cantor 10)")}
                                      << QStringList();
        QTest::newRow("vx02 queries") << queries << "vx02" << 0
                                      << QStringList{"V1.4.1c", "VS20261205007", "vx02",
                                                     QString::fromUtf8("麦克风 (Vorlet Stage 20)")}
                                      << QStringList();
        // The vx01 is detected by its own ids and opened under the vx02's.
        QTest::newRow("vx01 list") << QStringList{"list"} << "vx01" << 0
                                   << QStringList{"/dev/emulated/hidraw0#VID_1235&PID_0003 vendor=1235 product=0003 "
                                                  "usagePage=000C usage=0001 input=3 output=0",
                                                  "/dev/emulated/hidraw1#VID_1234&PID_4321 vendor=1234 product=4321 "
                                                  "usagePage=000C usage=0001 input=65 output=65"}
                                   << QStringList();
        QTest::newRow("vx01 trace") << QStringList{"--emulate", "vx01", "--trace",       "setVolume",
                                                   "2",         "10",   "getFirmwareVer"}
                                    << "" << 0 << QStringList{"2.13"}
                                    << QStringList{"> 00 89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F "
                                                       + zeros(47),
                                                   "> 00 89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3 " + zeros(49),
                                                   "< " + zeros(16) + " 32 2E 31 33 " + zeros(45)};
        const QString startUp = "< " + zeros(16) + " 01 01 08 08 08 08 08 06 08 08 08 02 01 02 02 02 " + zeros(33);
        QTest::newRow("vx02 trace of polls")
            << traced + QStringList{"getParaIsChange", "getParaIsChange"} << "" << 0 << QStringList{"true", "false"}
            << QStringList{"> 00 89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89 " + zeros(49), startUp,
                           "> 00 89 FF FF 00 01 00 06 00 00 03 01 02 08 6B 74 " + zeros(49), startUp};
        // With --json every line is one JSON document, whatever the kind of answer. The first poll
        // reads the version answer the serial number left behind.
        QTest::newRow("json")
            << QStringList{"--json", "getSNCode", "getParaIsChange", "getParaIsChange", "getAllPara", "list"} << "vx02"
            << 0
            << QStringList{"{\"getSNCode\":\"VS20261205007\"}", "{\"getParaIsChange\":false}",
                           "{\"getParaIsChange\":true}",
                           "{\"btnDodge\":2,\"btnInPower\":2,\"btnMixDry\":2,\"denoiseLevel\":1"
                           ",\"disVoiceLevel\":2,\"dodgeLevel\":8,\"dodgeSpeed\":8,\"dodgeThreshold\":8"
                           ",\"modelDetail\":1,\"reverbVolume\":6,\"soundMode\":1,\"volumeBGM\":8"
                           ",\"volumeBluetooth\":8,\"volumeBroadcast\":8,\"volumeMonitor\":8"
                           ",\"volumeRecording\":8}",
                           "[{\"inputReportLength\":65,\"outputReportLength\":65"
                           ",\"path\":\"/dev/emulated/hidraw0#VID_1234&PID_4321\",\"productId\":\"4321\""
                           ",\"usage\":\"55AA\",\"usagePage\":\"FF00\",\"vendorId\":\"1234\"}]"}
            << QStringList();
        QTest::newRow("version") << QStringList{"--version"} << "" << 0 << QStringList{"vorletctl " VORLET_VERSION}
                                 << QStringList();

        // Usage errors (the parser's own messages are its tests' business), unknown knobs, bad
        // profiles and setter values outside the model's.
        const QString badProfile = m_dir.filePath("bad.json");
        QFile file(badProfile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"devType\":\"vx02\",\"parameters\":{\"volumeBGM\":40}}");
        file.close();
        QTest::newRow("unknown command") << traced + QStringList{"setVolume", "2", "10", "explode"} << "" << 2
                                         << QStringList() << QStringList{"vorletctl: unknown command 'explode'"};
        QTest::newRow("bad profile") << traced + QStringList{"setVolume", "1", "1", "load", badProfile} << "" << 2
                                     << QStringList()
                                     << QStringList{"vorletctl: profile " + badProfile
                                                    + ": \"volumeBGM\" = 40 is out of range 0..16"};
        QTest::newRow("unknown model in the environment")
            << QStringList{"--trace", "getDevType"} << "foo" << 2 << QStringList()
            << QStringList{"vorletctl: VORLET_EMULATE: unknown model 'foo', expected vx01 or vx02"};
        QTest::newRow("knob without the emulator")
            << QStringList{"--trace", "knob", "volumeBGM", "3"} << "" << 2 << QStringList()
            << QStringList{"vorletctl: knob needs the emulated device: add --emulate vx01|vx02"};
        QTest::newRow("unknown knob, emulated through the environment")
            << QStringList{"--trace", "knob", "volumeMic", "1", "knob", "nope", "1"} << "vx01" << 2 << QStringList()
            << QStringList{"vorletctl: knob: the vx01 has no parameter \"nope\""};
        // -1 would go out as 255.
        QTest::newRow("negative volume") << traced + QStringList{"setVolume", "1", "1", "setVolume", "1", "-1"} << ""
                                         << 2 << QStringList()
                                         << QStringList{
                                                "vorletctl: setVolume: VALUE -1 is out of range 0..16 on the vx02"};
        QTest::newRow("volume type of the other model")
            << QStringList{"--emulate", "vx01", "--trace", "setVolume", "5", "3"} << "" << 2 << QStringList()
            << QStringList{"vorletctl: setVolume: TYPE 5 is none of 1, 2, 3, 4 on the vx01"};
        QTest::newRow("voice change 7")
            << traced + QStringList{"setSoundMode", "2", "7"} << "" << 2 << QStringList()
            << QStringList{"vorletctl: setSoundMode: DETAIL 7 is out of range 1..6 on the vx02 for MODETYPE 2"};
        QTest::newRow("setter the model lacks")
            << QStringList{"--emulate", "vx01", "--trace", "setDenoise", "2"} << "" << 2 << QStringList()
            << QStringList{"vorletctl: setDenoise: the vx01 has no such setting"};

        // Failures after the device was opened; a device that is gone answers no query.
        const QString stale = m_dir.filePath("stale.json");
        QTest::newRow("vx01 setter after unplugging")
            << QStringList{"--emulate", "vx01", "getDevType", "unplug", "setVolume", "2", "3"} << "" << 3
            << QStringList{"vx01"}
            << QStringList{"vorletctl: setVolume: the vx01 did not take the command (write failed or device gone)"};
        QTest::newRow("vx02 save of the version answer")
            << QStringList{"--emulate", "vx02", "getParaIsChange", "getSNCode", "save", stale} << "" << 3
            << QStringList{"true", "VS20261205007"}
            << QStringList{"vorletctl: not saved: \"btnDodge\" = 0 is out of range 1..2: the device answered with "
                           "another report; try again"};
        QTest::newRow("unwritable path")
            << QStringList{"--emulate", "vx01", "save", "/nonexistent-vorlet/profile.json"} << "" << 4 << QStringList()
            << QStringList{"vorletctl: cannot write /nonexistent-vorlet/profile.json: No such file or directory"};
        QTest::newRow("vx01 query after unplugging")
            << QStringList{"--emulate", "vx01", "getDevType", "unplug", "getAllPara"} << "" << 3 << QStringList{"vx01"}
            << QStringList{
                   "vorletctl: getAllPara: no answer from the vx01 (report not sent or not read: device gone?)"};
        QTest::newRow("vx02 queries after unplugging")
            << QStringList{"--emulate", "vx02", "unplug", "getSNCode", "getAllPara"} << "" << 3 << QStringList()
            << QStringList{"vorletctl: getSNCode: no answer from the vx02 (report not sent or not read: device gone?)"};
        QTest::newRow("vx02 save after unplugging")
            << QStringList{"--emulate", "vx02", "getParaIsChange", "unplug", "save", stale} << "" << 3
            << QStringList{"true"}
            << QStringList{"vorletctl: save: no answer from the vx02 (report not sent or not read: device gone?)"};
    }
    void exactOutput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, emulate);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        const ProgramRun result = run(arguments, emulate);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        QCOMPARE(result.err, err);
        QVERIFY(!QFile::exists(m_dir.filePath("stale.json")));
    }

    void help()
    {
        const ProgramRun result = run({"--help"});
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
        ProgramRun result = ctl({"--emulate", "vx02", "restore"});
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
        // Per device: the vx01 has nothing remembered yet.
        QCOMPARE(ctl({"--emulate", "vx01", "restore"}).exitCode, 1);
        QCOMPARE(ctl({"lastSettings", "maybe"}).exitCode, 2);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestVorletctl)
#include "tst_vorletctl.moc"
