// vorletctl: its parser, profiles and backend, then the real program on the emulated devices.
#include "app/HidBackendFactory.h"
#include "cli/CliCommandTable.h"
#include "cli/CliParser.h"
#include "device/HidrawBackend.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/RecordingFirmware.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/PresetStore.h"
#include "soundcard/SetterSlot.h"
#include "support/FullDisk.h"
#include "support/ProgramRun.h"
#include "support/SoundCardRig.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Runs vorletctl without a display; leading NAME=value words set variables, as in a shell.
ProgramRun run(const QString &commandLine)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"VORLET_EMULATE", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QStringList arguments = commandLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    while (!arguments.isEmpty() && arguments.first().contains(QRegularExpression(QStringLiteral("^[A-Z_]+=")))) {
        const QString word = arguments.takeFirst();
        environment.insert(word.section(QLatin1Char('='), 0, 0), word.section(QLatin1Char('='), 1));
    }
    return ProgramRun::of(QStringLiteral(VORLETCTL_PATH), arguments, environment);
}

// A profile file's text for a device of `devType` with these "key":value pairs.
QByteArray profile(const char *devType, const char *parameters)
{
    return QByteArray("{\"devType\":\"") + devType + "\",\"parameters\":{" + parameters + "}}";
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
    void initTestCase()
    {
        // Files named without a folder land in the test's own; so do the presets.
        QVERIFY(QDir::setCurrent(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
    }

    void rejects_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("only options") << "--trace" << QString("no command given");
        QTest::newRow("unknown command") << "setVolumes 1 2" << QString("unknown command 'setVolumes'");
        QTest::newRow("too few before next command")
            << "setSwitch 7 getAllPara" << QString("setSwitch takes 2 arguments, got 1");
        QTest::newRow("too many") << "setDodgeSpeed 3 4" << QString("setDodgeSpeed takes 1 argument, got more ('4')");
        QTest::newRow("reverb with three")
            << "setMicReverberation 1 2 3" << QString("setMicReverberation takes 1 or 2 arguments, got more ('3')");
        QTest::newRow("argument to a query")
            << "getSNCode 5" << QString("getSNCode takes no arguments, got more ('5')");
        QTest::newRow("fraction") << "setDenoise 1.5" << QString("setDenoise: argument '1.5' is not an integer");
        QTest::newRow("save without file") << "save" << QString("save takes 1 argument, got 0");
        QTest::newRow("unknown option") << "--fast getAllPara" << QString("unknown option '--fast'");
        QTest::newRow("unknown model") << "--emulate Foo getAllPara"
                                       << QString("--emulate: unknown model 'Foo', expected vx01 or vx02");
        QTest::newRow("out of range") << "setVolume 2 99999999999"
                                      << QString("setVolume: argument '99999999999' is out of range "
                                                 "-2147483648..2147483647");
        QTest::newRow("knob above a byte")
            << "knob volumeBGM 256" << QString("knob: argument '256' is out of range 0..255");
        QTest::newRow("knob below a byte")
            << "knob volumeBGM -1" << QString("knob: argument '-1' is out of range 0..255");
        QTest::newRow("too many, out of range")
            << "setDenoise 1 99999999999" << QString("setDenoise takes 1 argument, got more ('99999999999')");
        QTest::newRow("emulate without model") << "--emulate" << QString("--emulate needs a model");
        QTest::newRow("preset without action") << "preset" << QString("preset: ACTION is one of list, save, apply");
        QTest::newRow("preset save without name") << "setVolume 1 2 preset save" << QString("preset save takes a NAME");
    }
    void rejects()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        CliOptions options;
        QString error;
        QVERIFY(!CliParser::parse(arguments.split(QLatin1Char(' ')), &options, &error));
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
    // Every settable key changed, saved, and loaded into a fresh device: the same map.
    void saveThenLoadRestoresEveryKey_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("changes");
        QTest::newRow("vx01")
            << "vx01"
            << "model=3 volumeMonitor=1 volumeRecording=2 volumeMusicVolume=3 volumeMic=4 reverbDepth=5 "
               "reverbVolume=7 dodgeThreshold=9 dodgeLevel=10 dodgeSpeed=11 toneColour=12 "
               "btnBluetooth=1 btnDenoise=1 btnInPower=1 btnDisVoice=1 btnDodge=1";
        QTest::newRow("vx02") << "vx02"
                              << "soundMode=3 modelDetail=12 volumeMonitor=1 volumeRecording=2 volumeBluetooth=3 "
                                 "volumeBroadcast=4 volumeBGM=5 reverbVolume=7 dodgeSpeed=9 dodgeThreshold=10 "
                                 "dodgeLevel=11 disVoiceLevel=1 denoiseLevel=3 btnInPower=1 btnDodge=1 btnMixDry=1";
    }
    void saveThenLoadRestoresEveryKey()
    {
        QFETCH(QString, model);
        QFETCH(QString, changes);
        QTemporaryDir dir;
        const QString path = dir.filePath("profile.json");
        QString error;
        QVariantMap saved;
        {
            SoundCardRig source(model);
            for (const QString &change : changes.split(QLatin1Char(' ')))
                QVERIFY(source.device<FirmwareBase>().setParameter(change.section('=', 0, 0),
                                                                   change.section('=', 1).toInt()));
            QVERIFY(source.card->getParaIsChange());
            saved = source.card->getAllPara();
            QVERIFY2(ParameterProfile::save(path, model, saved, &error), qPrintable(error));
        }
        SoundCardRig target(model);
        QVERIFY(target.card->getParaIsChange());
        QVERIFY(target.card->getAllPara() != saved);
        QVector<ParameterProfile::Step> steps;
        QVERIFY2(ParameterProfile::load(path, model, &steps, &error), qPrintable(error));
        for (const ParameterProfile::Step &step : steps)
            target.card->apply(step);
        target.card->getParaIsChange();
        QCOMPARE(target.card->getAllPara(), saved);
    }

    // A null content: no file; "<fifo>": a named pipe, which would block the read.
    void refusals_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "vx01" << QByteArray() << "cannot read profile";
        QTest::newRow("named pipe") << "vx01" << QByteArray("<fifo>") << ": not a regular file";
        QTest::newRow("over 1 MiB") << "vx02" << profile("vx02", "") + QByteArray(1 << 20, ' ')
                                    << ": larger than 1 MiB, no profile";
        QTest::newRow("not JSON") << "vx02" << QByteArray("volume=3") << "is no JSON";
        QTest::newRow("no parameters") << "vx02" << QByteArray("{\"devType\":\"vx02\"}")
                                       << "has no \"parameters\" object";
        QTest::newRow("devType unknown") << "vx02" << profile("vx03", "") << "\"devType\" must be one of vx01, vx02";
        QTest::newRow("other model") << "vx02" << profile("vx01", "") << "is for a vx01, the device is a vx02";
        QTest::newRow("unknown key") << "vx02" << profile("vx02", "\"volumeMic\":3")
                                     << "unknown key \"volumeMic\" for a vx02";
        QTest::newRow("volume too high") << "vx02" << profile("vx02", "\"volumeBGM\":17")
                                         << "\"volumeBGM\" = 17 is out of range 0..16";
        QTest::newRow("dodge zero") << "vx01" << profile("vx01", "\"dodgeSpeed\":0")
                                    << "\"dodgeSpeed\" = 0 is out of range 1..16";
        QTest::newRow("text value") << "vx01" << profile("vx01", "\"volumeMic\":\"3\"")
                                    << "\"volumeMic\" is not an integer";
        QTest::newRow("fraction") << "vx01" << profile("vx01", "\"volumeMic\":2.5")
                                  << "\"volumeMic\" is not an integer";
        QTest::newRow("vx01 model 5") << "vx01" << profile("vx01", "\"model\":5") << "\"model\" = 5 is none of";
        QTest::newRow("vx02 detail alone") << "vx02" << profile("vx02", "\"modelDetail\":2") << "go together";
        QTest::newRow("vx02 voice change 7")
            << "vx02" << profile("vx02", "\"soundMode\":2,\"modelDetail\":7") << "out of range for \"soundMode\" = 2";
    }
    void refusals()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.json");
        QFile file(path);
        if (content == "<fifo>") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (!content.isNull()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
        }
        QVector<ParameterProfile::Step> steps{{SetterOp::Volume, {1, 1}}};
        QString error;
        QVERIFY(!ParameterProfile::load(path, model, &steps, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // A save that fails (a map load would refuse, a full disk) leaves the old file as it was.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QVariantMap>("parameters");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("message"); // after "not saved to PATH: " or "cannot write PATH: "
        const QVariantMap zero{{"soundMode", 0}, {"modelDetail", 0}, {"dodgeSpeed", 0}, {"btnMixDry", 0}};
        QTest::newRow("vx02 all zero") << "vx02" << zero << false << "\"btnMixDry\" = 0 is out of range 1..2";
        QTest::newRow("full disk") << "vx01" << QVariantMap{{"volumeMic", 3}} << true
                                   << "No space left on device; the old file is kept";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, model);
        QFETCH(QVariantMap, parameters);
        QFETCH(bool, fullDisk);
        QFETCH(QString, message);
        FullDisk disk(fullDisk ? 64 * 1024 : 0);
        if (fullDisk && !disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString path = disk.filePath("p.json");
        const QByteArray old = ParameterProfile::toJson(model, {{"dodgeSpeed", 2}});
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QVERIFY(!fullDisk || disk.fill());
        QString error;
        QCOMPARE(ParameterProfile::check(model, parameters, &error), fullDisk);
        QVERIFY(!ParameterProfile::save(path, model, parameters, &error));
        QCOMPARE(error, QString((fullDisk ? "cannot write " : "not saved to ") + path + ": " + message));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList{"p.json"});
    }

    // Keys the device only reports are accepted, over the whole byte, and send nothing.
    void reportedOnlyKeysSendNothing()
    {
        QVector<ParameterProfile::Step> steps{{SetterOp::Volume, {1, 1}}};
        QString error;
        QVERIFY2(ParameterProfile::fromJson(profile("vx01", "\"btnMute\":1,\"toneColourHigh\":255,\"toneColourLow\":0"),
                                            "p", "vx01", &steps, &error),
                 qPrintable(error));
        QVERIFY(steps.isEmpty());
    }
    // Commands, then getAllPara: the lines before the map, then one sorted "key=value" line per key.
    void commandsShowInGetAllPara_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QStringList>("firstLines");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("keyCount");
        // One setter a model: which bytes each setter sends is the protocol tests' business.
        QTest::newRow("vx02 key mode") << "--emulate vx02 setSoundMode 3 11" << QStringList() << "modelDetail=11" << 16;
        QTest::newRow("vx01 reverb depth, TYPE left out")
            << "--emulate vx01 setMicReverberation 5" << QStringList() << "reverbDepth=5" << 19;
        QTest::newRow("vx02 reverb with TYPE 2")
            << "--emulate vx02 setMicReverberation 9 2" << QStringList() << "reverbVolume=9" << 16;
        // A command's name as a file name; the profile read is the one the session saved.
        QTest::newRow("load after save") << "--emulate vx02 setVolume 5 3 save getAllPara setVolume 5 9 load getAllPara"
                                         << QStringList() << "volumeBGM=3" << 16;
        // A knob turned on the device is seen by the next poll only.
        QTest::newRow("vx01 knobs polled") << "--emulate vx01 getParaIsChange getParaIsChange knob volumeMic 0 "
                                              "knob btnMute 255 getParaIsChange getParaIsChange"
                                           << QStringList{"true", "false", "true", "false"} << "btnMute=255" << 19;
    }
    void commandsShowInGetAllPara()
    {
        QFETCH(QString, commands);
        QFETCH(QStringList, firstLines);
        QFETCH(QString, expected);
        QFETCH(int, keyCount);
        const ProgramRun result = run(commands + " getAllPara");
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

    // Exact output and exit status; --trace shows every report on stderr, so a refusal (exit 2)
    // shows that nothing was sent.
    void exactOutput_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        const QString queries = QStringLiteral(" getFirmwareVer getSNCode getDevType getInputDevName");
        const QString traced = QStringLiteral("--emulate vx02 --trace ");
        QTest::newRow("vx01 queries") << "VORLET_EMULATE=vx01" + queries << 0
                                      << QStringList{"2.13", "VC1026120501", "vx01",
                                                     QString::fromUtf8("麦克风(Vorlet Cantor 10)")}
                                      << QStringList();
        QTest::newRow("vx02 queries") << "VORLET_EMULATE=vx02" + queries << 0
                                      << QStringList{"V1.4.1c", "VS20261205007", "vx02",
                                                     QString::fromUtf8("麦克风 (Vorlet Stage 20)")}
                                      << QStringList();
        // The vx01 is detected by its own ids and opened under the vx02's.
        QTest::newRow("vx01 list") << "VORLET_EMULATE=vx01 list" << 0
                                   << QStringList{"/dev/emulated/hidraw0#VID_1235&PID_0003 vendor=1235 product=0003 "
                                                  "usagePage=000C usage=0001 input=3 output=0",
                                                  "/dev/emulated/hidraw1#VID_1234&PID_4321 vendor=1234 product=4321 "
                                                  "usagePage=000C usage=0001 input=65 output=65"}
                                   << QStringList();
        QTest::newRow("vx01 trace") << "--emulate vx01 --trace setVolume 2 10 getFirmwareVer" << 0
                                    << QStringList{"2.13"}
                                    << QStringList{"> 00 89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F "
                                                       + zeros(47),
                                                   "> 00 89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3 " + zeros(49),
                                                   "< " + zeros(16) + " 32 2E 31 33 " + zeros(45)};
        const QString startUp = "< " + zeros(16) + " 01 01 08 08 08 08 08 06 08 08 08 02 01 02 02 02 " + zeros(33);
        QTest::newRow("vx02 trace of polls")
            << traced + "getParaIsChange getParaIsChange" << 0 << QStringList{"true", "false"}
            << QStringList{"> 00 89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89 " + zeros(49), startUp,
                           "> 00 89 FF FF 00 01 00 06 00 00 03 01 02 08 6B 74 " + zeros(49), startUp};
        // The version answer a serial number leaves is read as such: the poll after it reads the
        // parameters.
        QTest::newRow("json")
            << "VORLET_EMULATE=vx02 --json getSNCode getParaIsChange getParaIsChange getAllPara list" << 0
            << QStringList{"{\"getSNCode\":\"VS20261205007\"}", "{\"getParaIsChange\":true}",
                           "{\"getParaIsChange\":false}",
                           "{\"btnDodge\":2,\"btnInPower\":2,\"btnMixDry\":2,\"denoiseLevel\":1"
                           ",\"disVoiceLevel\":2,\"dodgeLevel\":8,\"dodgeSpeed\":8,\"dodgeThreshold\":8"
                           ",\"modelDetail\":1,\"reverbVolume\":6,\"soundMode\":1,\"volumeBGM\":8"
                           ",\"volumeBluetooth\":8,\"volumeBroadcast\":8,\"volumeMonitor\":8"
                           ",\"volumeRecording\":8}",
                           "[{\"inputReportLength\":65,\"outputReportLength\":65"
                           ",\"path\":\"/dev/emulated/hidraw0#VID_1234&PID_4321\",\"productId\":\"4321\""
                           ",\"usage\":\"55AA\",\"usagePage\":\"FF00\",\"vendorId\":\"1234\"}]"}
            << QStringList();
        QTest::newRow("--emulate=vx01") << "--emulate=vx01 getDevType" << 0 << QStringList{"vx01"} << QStringList();
        QTest::newRow("model in any case, option after a command")
            << "--emulate VX02 getDevType --json" << 0 << QStringList{"{\"getDevType\":\"vx02\"}"} << QStringList();
        QTest::newRow("version") << "--version" << 0 << QStringList{"vorletctl " VORLET_VERSION} << QStringList();

        // Usage errors: exit 2.
        const QString badProfile = m_dir.filePath("bad.json");
        QFile file(badProfile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(profile("vx02", "\"volumeBGM\":40")) > 0);
        file.close();
        QTest::newRow("unknown command") << traced + "setVolume 2 10 explode" << 2 << QStringList()
                                         << QStringList{"vorletctl: unknown command 'explode'"};
        QTest::newRow("bad profile") << traced + "setVolume 1 1 load " + badProfile << 2 << QStringList()
                                     << QStringList{"vorletctl: profile " + badProfile
                                                    + ": \"volumeBGM\" = 40 is out of range 0..16"};
        QTest::newRow("unknown model in the environment")
            << "VORLET_EMULATE=foo --trace getDevType" << 2 << QStringList()
            << QStringList{"vorletctl: VORLET_EMULATE: unknown model 'foo', expected vx01 or vx02"};
        QTest::newRow("knob without the emulator")
            << "--trace knob volumeBGM 3" << 2 << QStringList()
            << QStringList{"vorletctl: knob needs the emulated device: add --emulate vx01|vx02"};
        QTest::newRow("unknown knob, emulated through the environment")
            << "VORLET_EMULATE=vx01 --trace knob volumeMic 1 knob nope 1" << 2 << QStringList()
            << QStringList{"vorletctl: knob: the vx01 has no parameter \"nope\""};
        // -1 would go out as 255.
        QTest::newRow("negative volume") << traced + "setVolume 1 1 setVolume 1 -1" << 2 << QStringList()
                                         << QStringList{
                                                "vorletctl: setVolume: VALUE -1 is out of range 0..16 on the vx02"};
        QTest::newRow("volume type of the other model")
            << "--emulate vx01 --trace setVolume 5 3" << 2 << QStringList()
            << QStringList{"vorletctl: setVolume: TYPE 5 is none of 1, 2, 3, 4 on the vx01"};
        QTest::newRow("voice change 7")
            << traced + "setSoundMode 2 7" << 2 << QStringList()
            << QStringList{"vorletctl: setSoundMode: DETAIL 7 is out of range 1..6 on the vx02 for MODETYPE 2"};
        QTest::newRow("setter the model lacks") << "--emulate vx01 --trace setDenoise 2" << 2 << QStringList()
                                                << QStringList{"vorletctl: setDenoise: the vx01 has no such setting"};

        // Presets: what apply would change, exactly the keys that differ; undo takes back what it
        // replaced. A preset of the other model or a damaged one stops the line before anything
        // is sent.
        const QString talk = PresetStore().pathOf("Talk");
        const QString diff = "{\"reverbVolume\":{\"current\":12,\"preset\":6},"
                             "\"volumeMonitor\":{\"current\":3,\"preset\":8}}";
        QTest::newRow("preset save, diff, apply, undo")
            << "--emulate vx02 preset save Talk setVolume 1 3 setMicReverberation 12 --json preset diff Talk "
               "preset apply Talk preset diff Talk preset undo preset diff Talk preset list"
            << 0 << QStringList{diff, "{}", diff, "[\"Bad\",\"Talk\"]"} << QStringList();
        QTest::newRow("preset diff as text") << "--emulate vx02 setVolume 5 1 preset diff Talk" << 0
                                             << QStringList{"volumeBGM: 1 -> 8"} << QStringList();
        QVERIFY(writeTestFile(PresetStore().pathOf("Bad"), profile("vx02", "\"volumeBGM\":3,\"volumeMic\":3")));
        QTest::newRow("damaged preset") << traced + "setVolume 1 1 preset apply Bad" << 2 << QStringList()
                                        << QStringList{"vorletctl: preset " + PresetStore().pathOf("Bad")
                                                       + ": unknown key \"volumeMic\" for a vx02"};
        QTest::newRow("preset of the other model")
            << "--emulate vx01 --trace preset apply Talk" << 2 << QStringList()
            << QStringList{"vorletctl: preset " + talk + " is for a vx02, the device is a vx01"};
        QTest::newRow("preset name with a slash")
            << "--emulate vx02 preset save a/b" << 2 << QStringList()
            << QStringList{"vorletctl: preset name \"a/b\" has a path separator (/ or \\)"};
        QTest::newRow("nothing to undo") << "--emulate vx01 preset undo" << 2 << QStringList()
                                         << QStringList{
                                                "vorletctl: nothing to undo: no preset was applied to the vx01"};

        // Failures after the device was opened; a device that is gone answers no query.
        const QString stale = m_dir.filePath("stale.json");
        const QString gone = QStringLiteral(": no answer from the %1 (report not sent or not read: device gone?)");
        QTest::newRow("vx01 setter after unplugging")
            << "--emulate vx01 getDevType unplug setVolume 2 3" << 3 << QStringList{"vx01"}
            << QStringList{"vorletctl: setVolume: the vx01 did not take the command (write failed or device gone)"};
        QTest::newRow("unwritable path")
            << "--emulate vx01 save /nonexistent-vorlet/profile.json" << 4 << QStringList()
            << QStringList{"vorletctl: cannot write /nonexistent-vorlet/profile.json: No such file or directory"};
        QTest::newRow("vx01 query after unplugging")
            << "--emulate vx01 getDevType unplug getAllPara" << 3 << QStringList{"vx01"}
            << QStringList{"vorletctl: getAllPara" + gone.arg("vx01")};
        QTest::newRow("vx02 queries after unplugging")
            << "--emulate vx02 unplug getSNCode getAllPara" << 3 << QStringList()
            << QStringList{"vorletctl: getSNCode" + gone.arg("vx02")};
        QTest::newRow("vx02 save after unplugging")
            << QString("--emulate vx02 getParaIsChange unplug save %1").arg(stale) << 3 << QStringList{"true"}
            << QStringList{"vorletctl: save" + gone.arg("vx02")};
    }
    void exactOutput()
    {
        QFETCH(QString, commandLine);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        const ProgramRun result = run(commandLine);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        QCOMPARE(result.err, err);
        QVERIFY(!QFile::exists(m_dir.filePath("stale.json")));
    }

    // The programs' backend from their arguments and VORLET_EMULATE.
    void backendFromArgumentsAndEnvironment_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("model"); // empty: the machine's devices
        QTest::newRow("none") << "vorlet" << QByteArray() << "";
        QTest::newRow("separate") << "vorlet --emulate vx01" << QByteArray() << "vx01";
        QTest::newRow("joined") << "vorlet --emulate=vx02" << QByteArray() << "vx02";
        QTest::newRow("among others") << "tool -v --emulate vx02 file" << QByteArray() << "vx02";
        QTest::newRow("missing value") << "vorlet --emulate" << QByteArray() << "";
        QTest::newRow("environment") << "vorlet" << QByteArray("vx01") << "vx01";
        QTest::newRow("arguments win") << "vorlet --emulate vx02" << QByteArray("vx01") << "vx02";
        QTest::newRow("unknown in environment") << "vorlet" << QByteArray("tablet") << "";
        QTest::newRow("upper case in environment") << "vorlet" << QByteArray("VX01") << "vx01";
    }
    void backendFromArgumentsAndEnvironment()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, environment);
        QFETCH(QString, model);
        qputenv("VORLET_EMULATE", environment);
        const QStringList words = arguments.split(QLatin1Char(' '));
        // A model that is none of ours: create() warns and takes the real devices.
        const bool refused = environment == "tablet";
        if (refused)
            QTest::ignoreMessage(QtWarningMsg,
                                 "unknown model 'tablet', expected vx01 or vx02 - using the real devices");
        QString strict;
        QString error;
        QCOMPARE(HidBackendFactory::emulatedModel(words, &strict, &error), !refused);
        QCOMPARE(strict, model);

        QStringList asked;
        RecordingFirmware *made = nullptr;
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create(words, [&](const QString &name) {
            asked << name;
            auto firmware = std::make_unique<RecordingFirmware>(65);
            made = firmware.get();
            return firmware;
        });
        QCOMPARE(asked, model.isEmpty() ? QStringList() : QStringList{model});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        if (model.isEmpty()) {
            QVERIFY(dynamic_cast<HidrawBackend *>(backend.get()));
            return;
        }
        QVERIFY(bus);
        for (const QString &name : EmulatedBus::models())
            QCOMPARE(bus->isPlugged(name), name == model);
        QCOMPARE(bus->firmware(model), static_cast<EmulatedFirmware *>(made));
    }
    void cleanup() { qunsetenv("VORLET_EMULATE"); }

    void recordingFirmwareWithoutMaker()
    {
        std::unique_ptr<HidBackend> backend = HidBackendFactory::create({"vorlet", "--emulate", "vx02"});
        auto *bus = dynamic_cast<EmulatedBus *>(backend.get());
        QVERIFY(bus && dynamic_cast<RecordingFirmware *>(bus->firmware("vx02")));
    }

    void help()
    {
        const ProgramRun result = run("--help");
        QCOMPARE(result.exitCode, 0);
        const QString text = result.out.join('\n');
        for (const CliCommand &command : CliCommandTable::commands())
            QVERIFY2(text.contains(QLatin1String(command.name)), command.name);
        // The options, and the codes of each model with the key they set.
        for (const char *part :
             {"--emulate", "--trace", "--json", "--version", "Exit status", "4 mic (volumeMic)",
              "5 background music (volumeBGM)", "7 ducking (btnDodge)", "3 monitor wet, record dry (btnMixDry)",
              "2 1-3 singing", "3 1-12 electronic key", "setSpecialEffectSound NUMBER: vx02 1-9 sound effect"})
            QVERIFY2(text.contains(QLatin1String(part)), part);
    }

    // "Restore last settings" from the shell: each session with it on remembers its last state.
    void lastSettingsAcrossRuns()
    {
        QTemporaryDir config;
        const auto ctl = [&config](const QString &commandLine) {
            return run("XDG_CONFIG_HOME=" + config.path() + " " + commandLine);
        };
        QCOMPARE(ctl("lastSettings").out, QStringList{"off"});
        // Off: nothing is remembered.
        QCOMPARE(ctl("--emulate vx02 setVolume 2 3").exitCode, 0);
        ProgramRun result = ctl("--emulate vx02 restore");
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 QStringList{"vorletctl: no settings remembered for the vx02 with serial number "
                             "'VS20261205007'; nothing sent"});

        // A settings file with a line that is no setting: told once, as what it is; writes go on.
        const QString file = config.filePath("Brindle/vorlet.conf");
        const auto damaged = [&file] {
            QFile conf(file);
            return QDir().mkpath(QFileInfo(file).path()) && conf.open(QIODevice::Append)
                && conf.write("no setting\n") > 0;
        };
        const auto toldOnce = [&file](const ProgramRun &run) {
            return run.exitCode == 0 && run.err.size() == 1
                && run.err.first().startsWith("vorletctl: " + file + ": format error: ");
        };
        QVERIFY(damaged());
        QVERIFY(toldOnce(ctl("lastSettings on")));
        QCOMPARE(ctl("lastSettings").out, QStringList{"on"});
        // A command after the optional on|off is a command.
        QCOMPARE(ctl("--json --emulate vx02 lastSettings getDevType").out,
                 QStringList({"{\"lastSettings\":\"on\"}", "{\"getDevType\":\"vx02\"}"}));
        // Remembered even when the first poll reads the serial number's answer.
        QVERIFY(damaged());
        QVERIFY(toldOnce(ctl("--emulate vx02 getSNCode setVolume 2 11 setDenoise 3")));
        result = ctl("--emulate vx02 getAllPara restore getAllPara");
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("volumeRecording=8")); // the fresh device's own state first
        QCOMPARE(result.out.count("volumeRecording=11"), 1);
        QCOMPARE(result.out.count("denoiseLevel=3"), 1);
        // Per device: the vx01 has nothing remembered yet.
        QCOMPARE(ctl("--emulate vx01 restore").exitCode, 1);
        QCOMPARE(ctl("lastSettings maybe").exitCode, 2);
    }

    // A settings file that cannot be written is told with its cause, as a file error.
    void settingsWriteFailureNamesItsCause()
    {
        FullDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        QCOMPARE(run("XDG_CONFIG_HOME=" + disk.path() + " lastSettings on").exitCode, 0);
        QVERIFY(disk.fill());
        const ProgramRun result = run("XDG_CONFIG_HOME=" + disk.path() + " --emulate vx02 setVolume 2 4");
        QCOMPARE(result.exitCode, 4);
        QCOMPARE(result.err,
                 QStringList{"vorletctl: the settings the vx02 has now are not remembered: "
                             + disk.filePath("Brindle/vorlet.conf") + " cannot be written: No space left on device"});
    }

    // autostart on names a panel that is there: the installed one (on the PATH), else the one
    // beside vorletctl, with a warning. A link at the entry is replaced, its target kept; a path
    // no entry can hold is refused, and so is a missing panel (DIR: the test's folder).
    void autostartEntry_data()
    {
        QTest::addColumn<QString>("installedIn"); // a folder on the PATH with a vorlet; empty: none
        QTest::addColumn<bool>("alone");          // vorletctl copied away from the panel
        QTest::addColumn<QString>("exec");        // the entry's Exec line; empty: refused, exit 4
        QTest::addColumn<QString>("message");     // in the one line on stderr
        const QString built = QFileInfo(VORLETCTL_PATH).absolutePath() + "/vorlet";
        const QString none;
        QTest::newRow("build folder") << none << false << "Exec=" + built + " --hidden"
                                      << "not installed";
        QTest::newRow("installed, quoted")
            << "my \"bin\" $x" << false << "Exec=\"DIR/my \\\\\"bin\\\\\" \\\\$x/vorlet\" --hidden" << none;
        QTest::newRow("newline") << "a\nb" << false << none << "DIR/a\\x0ab/vorlet at login: its path has a newline";
        QTest::newRow("equals sign") << "a=b" << false << none << "DIR/a=b/vorlet at login: its path has \"=\"";
        QTest::newRow("nothing to start") << none << true << none << "neither installed (on the PATH) nor beside";
    }
    void autostartEntry()
    {
        QFETCH(QString, installedIn);
        QFETCH(bool, alone);
        QFETCH(QString, exec);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString entry = dir.filePath("autostart/com.brindle.vorlet.desktop");
        QFile mine(dir.filePath("mine"));
        QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("mine") == 4 && QDir().mkpath(dir.filePath("autostart")));
        mine.close();
        QVERIFY(mine.link(entry));
        const QString folder = dir.filePath(installedIn.isEmpty() ? "nothing" : installedIn);
        QVERIFY(installedIn.isEmpty() || (QDir().mkpath(folder) && QFile::copy("/bin/true", folder + "/vorlet")));
        const QString program = alone ? dir.filePath("vorletctl") : QStringLiteral(VORLETCTL_PATH);
        QVERIFY(!alone || QFile::copy(VORLETCTL_PATH, program));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", folder);
        environment.insert("XDG_CONFIG_HOME", dir.path());
        const ProgramRun result = ProgramRun::of(program, {"autostart", "on"}, environment);
        QCOMPARE(result.err.size(), int(!message.isEmpty()));
        QVERIFY2(result.err.join('\n').contains(message.replace("DIR", dir.path())), qPrintable(result.err.join('\n')));
        QCOMPARE(result.exitCode, exec.isEmpty() ? 4 : 0);
        QCOMPARE(QFileInfo(entry).isSymLink(), exec.isEmpty());
        QFile written(entry);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().contains(exec.replace("DIR", dir.path()).toUtf8() + '\n'), !exec.isEmpty());
        QVERIFY(mine.open(QIODevice::ReadOnly));
        QCOMPARE(mine.readAll(), QByteArray("mine"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestVorletctl)
#include "tst_vorletctl.moc"
