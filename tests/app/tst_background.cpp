// The panel in the background, under a private session bus and display: its D-Bus interface in
// this process, then the real programs.
#include "SoundCardProxy.h"
#include "app/DeviceManager.h"
#include "app/MainWidget.h"
#include "app/SoundCardService.h"
#include "app/TrayIcon.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/ParameterMemory.h"
#include "soundcard/PresetHistory.h"
#include "soundcard/PresetStore.h"
#include "support/ProgramRun.h"
#include "support/SceneRig.h"
#include "support/TestFiles.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QQmlProperty>
#include <QQuickItem>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <csignal>

namespace {

ProgramRun vorletctl(const QStringList &arguments)
{
    return ProgramRun::of(QStringLiteral(VORLETCTL_BINARY), arguments);
}

// The windows of process `pid` that are mapped on the display.
QStringList mappedWindows(qint64 pid)
{
    return ProgramRun::of(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)}).out;
}

// Runs `program` without blocking this process, which may be the panel it calls.
ProgramRun runAside(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    return run;
}

// Calls `method` with `args` on the panel and waits for the answer.
QDBusMessage call(SoundCardProxy &panel, const QString &method, const QVariantList &args)
{
    QDBusPendingCall pending = panel.asyncCallWithArgumentList(method, args);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 10000))
        return QDBusMessage();
    return pending.reply();
}

// The panel's interface in this process, over the emulated vx02, under a connection of its own.
struct PanelService
{
    EmulatedBus bus;
    const bool plugged = bus.plug("vx02", FirmwareFactory::make("vx02"));
    DeviceManager devices{&bus};
    SoundCardService service{&devices};
    const bool registered =
        service.registerOn(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("panel")));

    PanelService() { devices.start(); }
    ~PanelService() { QDBusConnection::disconnectFromBus(QStringLiteral("panel")); }
    // The device side, held still: the panel talks to it from its session's thread.
    int device(const std::function<int(FirmwareBase &)> &look) const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware("vx02");
        return look(*static_cast<FirmwareBase *>(held.firmware));
    }
};

} // namespace

class TestBackground : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    SoundCardProxy m_panel{SoundCardService::kServiceName, SoundCardService::kObjectPath,
                           QDBusConnection::sessionBus()};

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        // Folders of the test's own; the sound server stays the caller's.
        QVERIFY(m_home.isValid());
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (QFile::exists(runtime + QStringLiteral("/pulse/native")))
            qputenv("PULSE_SERVER",
                    QFile::encodeName(QStringLiteral("unix:") + runtime + QStringLiteral("/pulse/native")));
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const QString folder = m_home.filePath(QString::fromLatin1(name));
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            qputenv(name, QFile::encodeName(folder));
        }
    }

    // What only this process sees: the device's side of each call, and what the panel says once
    // the device is gone.
    void methodsAgainstTheDevice()
    {
        PanelService panel;
        QVERIFY(panel.plugged && panel.registered);
        QTRY_VERIFY(panel.devices.session());
        const auto error = [this](const QString &method, const QVariantList &args) {
            const QDBusMessage reply = call(m_panel, method, args);
            return reply.errorName() + ": " + reply.errorMessage();
        };
        QSignalSpy changes(&m_panel, &SoundCardProxy::parametersChanged);
        QSignalSpy connections(&m_panel, &SoundCardProxy::connectionChanged);
        // Turned on the device itself: seen by the next poll.
        panel.device([](FirmwareBase &f) { return f.setParameter("volumeMonitor", 3); });
        QTRY_VERIFY(!changes.isEmpty() && changes.last().first().toMap().value("volumeMonitor") == 3);
        const QVariantMap map = qdbus_cast<QVariantMap>(call(m_panel, "getAllPara", {}).arguments().value(0));
        QCOMPARE(map.size(), 16);
        QCOMPARE(map.value("volumeMonitor").toInt(), 3);
        QCOMPARE(call(m_panel, "setSpecialEffectSound", {7}).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(panel.device([](FirmwareBase &f) { return f.lastEffect(); }), 7);
        // Both forms of the one reverberation value are taken.
        QCOMPARE(call(m_panel, "setMicReverberation", {9, 2}).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(call(m_panel, "refresh", {}).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(panel.device([](FirmwareBase &f) { return f.parameter("reverbVolume"); }), 9);
        // The texts are the device's; the maps around them are parameter reports, however the
        // questions fall between the polls.
        QSignalSpy maps(&m_panel, &SoundCardProxy::parametersChanged);
        for (int round = 0; round < 20; ++round) {
            QCOMPARE(call(m_panel, "firmwareVersion", {}).arguments(), QVariantList{"V1.4.1c"});
            QCOMPARE(call(m_panel, "serialNumber", {}).arguments(), QVariantList{"VS20261205007"});
            for (int i = 0; i < 3; ++i) {
                const QVariantMap shown = qdbus_cast<QVariantMap>(call(m_panel, "getAllPara", {}).arguments().value(0));
                QCOMPARE(shown.value("reverbVolume").toInt(), 9);
            }
        }
        for (const QList<QVariant> &signal : qAsConst(maps))
            QCOMPARE(qdbus_cast<QVariantMap>(signal.first()).value("reverbVolume").toInt(), 9);
        // The arguments named as the interface names them.
        QCOMPARE(error("setSoundMode", {2, 7}),
                 QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs: setSoundMode: "
                                "DETAIL 7 is out of range 1..6 on the vx02 for MODETYPE 2"));

        QVERIFY(panel.bus.unplug("vx02"));
        QTRY_COMPARE(connections.count(), 1);
        QCOMPARE(connections.first(), (QVariantList{false, "vx02"}));
        const QMap<QString, QVariantList> methods{
            {"setVolume", {5, 3}}, {"getAllPara", {}}, {"refresh", {}}, {"serialNumber", {}}, {"firmwareVersion", {}}};
        for (auto it = methods.cbegin(); it != methods.cend(); ++it)
            QCOMPARE(error(it.key(), it.value()),
                     QStringLiteral("com.brindle.vorlet.Error.NoDevice: no vx01 or vx02 device is attached"));
        QCOMPARE(call(m_panel, "model", {}).arguments(), QVariantList{QString()});
    }

    // Each caller's answer is its own: a refresh shows the caller's setter while another client
    // keeps sending its own. A silent device fails refreshes, however many wait, and vorletctl
    // through the panel fails as it does directly.
    void answersBelongToTheirCallers()
    {
        PanelService panel;
        QVERIFY(panel.plugged && panel.registered);
        QTRY_VERIFY(panel.devices.session());
        QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
        SoundCardProxy competitor(SoundCardService::kServiceName, SoundCardService::kObjectPath, other);
        QTimer stream;
        int sent = 0;
        connect(&stream, &QTimer::timeout, this, [&] { competitor.setVolume(1, ++sent % 17); });
        stream.start(1);
        for (int round = 0; round < 15; ++round) {
            call(m_panel, "setVolume", {5, round});
            const QVariantMap shown = qdbus_cast<QVariantMap>(call(m_panel, "refresh", {}).arguments().value(0));
            QCOMPARE(shown.value("volumeBGM").toInt(), round);
        }
        stream.stop();
        QVERIFY(sent > 15);

        panel.bus.setFailure("vx02", EmulatedFailure::Silent);
        QList<QDBusPendingCall> refreshes;
        for (int i = 0; i < 30; ++i)
            refreshes << m_panel.asyncCall("refresh");
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(refreshes.cbegin(), refreshes.cend(), [](const QDBusPendingCall &c) { return c.isFinished(); }),
            10000);
        for (const QDBusPendingCall &refresh : qAsConst(refreshes))
            QCOMPARE(refresh.error().name(), SoundCardService::kNoAnswerError);
        QCOMPARE(call(m_panel, "model", {}).arguments(), QVariantList{"vx02"});
        QProcess through;
        through.start(QStringLiteral(VORLETCTL_BINARY), {"getAllPara"});
        QTRY_COMPARE_WITH_TIMEOUT(through.state(), QProcess::NotRunning, 20000);
        const ProgramRun direct = vorletctl({"--emulate", "vx02", "unplug", "getAllPara"});
        QCOMPARE(through.exitCode(), direct.exitCode);
        QCOMPARE(QString::fromUtf8(through.readAllStandardError()).split('\n', Qt::SkipEmptyParts), direct.err);
        QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    }

    // Settings remembered by a direct session come back in the panel started hidden; vorletctl
    // through the panel prints what it prints directly.
    void hiddenPanelServesVorletctl()
    {
        QCOMPARE(vorletctl({"lastSettings", "on", "--emulate", "vx02", "setVolume", "1", "11"}).exitCode, 0);
        QProcess panel;
        // Its log is not read here: a full pipe would stop the panel.
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(VORLET_BINARY), {"--hidden", "--emulate", "vx02"});
        QVERIFY(panel.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(call(m_panel, "model", {}).arguments(), QVariantList{"vx02"}, 20000);
        QVERIFY(mappedWindows(panel.processId()).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(vorletctl({"getAllPara"}).out.contains("volumeMonitor=11"), 5000);

        const QString set = "call --session --dest com.brindle.vorlet --object-path /SoundCard --method "
                            "com.brindle.vorlet.SoundCard.setVolume 5 3";
        QCOMPARE(ProgramRun::of("gdbus", set.split(' ')).exitCode, 0);
        QVERIFY(vorletctl({"getAllPara"}).out.contains("volumeBGM=3"));
        // The same commands on a fresh emulated device in vorletctl itself: the same output.
        for (const QString &commands :
             QStringList{"setSoundMode 3 11 setVolume 1 8 setMicReverberation 9 setDodgeSpeed 4 "
                         "setDodgeThreshold 12 setDodgeGrade 2 setEliminateVoice 1 setDenoise 2 "
                         "setSwitch 3 1 getAllPara",
                         "--json getDevType getInputDevName getSNCode getFirmwareVer", "setVolume 5 17",
                         "setVolume 1 6 setDenoise 1 preset save Talk setVolume 1 2 setDenoise 3 preset diff Talk "
                         "preset list preset apply Talk preset diff Talk preset undo preset undo",
                         "getParaIsChange getParaIsChange"}) {
            const ProgramRun through = vorletctl(commands.split(' '));
            const ProgramRun direct = vorletctl(("--emulate vx02 setVolume 5 3 " + commands).split(' '));
            QCOMPARE(through.exitCode, direct.exitCode);
            QCOMPARE(through.out, direct.out);
            QCOMPARE(through.err, direct.err);
        }
        QCOMPARE(
            vorletctl({"--trace", "getDevType"}).err,
            QStringList{"vorletctl: --trace: the running panel owns the device; its reports cannot be seen from here"});
        // --direct opens the machine's devices: there are none.
        const ProgramRun direct = vorletctl({"--direct", "getDevType"});
        QCOMPARE(direct.exitCode, 1);
        QCOMPARE(direct.err, QStringList{"vorletctl: no vx01 or vx02 device found"});

        // A second start shows the window; closed in background mode it only hides.
        QCOMPARE(vorletctl({"background", "on"}).exitCode, 0);
        QCOMPARE(ProgramRun::of(QStringLiteral(VORLET_BINARY), {}).exitCode, 0);
        QStringList windows;
        QTRY_VERIFY_WITH_TIMEOUT(!(windows = mappedWindows(panel.processId())).isEmpty(), 10000);
        // The close button, clicked again while the window is there: one just mapped may miss it.
        QTRY_VERIFY_WITH_TIMEOUT(
            ProgramRun::of("xdotool", {"mousemove", "--window", windows.first(), "785", "13", "click", "1"}).exitCode
                    == 0
                && QTest::qWaitFor([&] { return mappedWindows(panel.processId()).isEmpty(); }, 2000),
            20000);
        QCOMPARE(panel.state(), QProcess::Running);
        QCOMPARE(call(m_panel, "refresh", {}).type(), QDBusMessage::ReplyMessage);
        panel.terminate();
        QVERIFY(panel.waitForFinished(10000));
    }

    // The ends of a logout or shutdown go through the panel's ordinary quit, and a change made a
    // moment before is remembered: a quit signal 100 ms after a setter (the status 128 + the
    // signal), the X server going away before the change's second is over (Qt's status 1).
    void quitKeepsTheLastChange_data()
    {
        QTest::addColumn<int>("signal"); // 0: the display goes instead
        QTest::addColumn<int>("value");
        QTest::newRow("SIGTERM") << int(SIGTERM) << 3;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 4;
        QTest::newRow("SIGINT") << int(SIGINT) << 5;
        QTest::newRow("display gone") << 0 << 6;
    }

    void quitKeepsTheLastChange()
    {
        QFETCH(int, signal);
        QFETCH(int, value);
        QCOMPARE(vorletctl({"lastSettings", "on", "--emulate", "vx02", "setVolume", "1", "11"}).exitCode, 0);
        QProcess display;
        display.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
        QVERIFY(display.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(display.canReadLine(), 10000);
        QProcess panel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", ":" + display.readLine().trimmed());
        panel.setProcessEnvironment(environment);
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(VORLET_BINARY), {"--hidden", "--emulate", "vx02"});
        const auto monitor = [this] {
            return qdbus_cast<QVariantMap>(call(m_panel, "getAllPara", {}).arguments().value(0)).value("volumeMonitor");
        };
        // Restored first: the restorer follows the device from then on.
        QTRY_COMPARE_WITH_TIMEOUT(monitor(), QVariant(11), 20000);
        QCOMPARE(call(m_panel, "setVolume", {1, value}).type(), QDBusMessage::ReplyMessage);
        if (signal) {
            QTest::qWait(100);
            QCOMPARE(::kill(pid_t(panel.processId()), signal), 0);
        } else {
            QTRY_COMPARE(monitor(), QVariant(value));
            display.kill();
        }
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), signal ? 128 + signal : 1);
        QVERIFY(ParameterMemory().recall("VS20261205007").contains("\"volumeMonitor\":" + QByteArray::number(value)));
    }

    // A logout while the panel records or exports: the take stays a valid WAV, and neither
    // ffmpeg nor its partial file outlives the panel. A panel killed while it records leaves a
    // take that the next start repairs. Clicks as a user makes them, on a 96-DPI display: the
    // recording toggle, record, save.
    void quitDuringRecordingAndExport_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<int>("signal");
        QTest::newRow("recording") << false << int(SIGTERM);
        QTest::newRow("export") << true << int(SIGTERM);
        QTest::newRow("killed while recording") << false << int(SIGKILL);
    }
    void quitDuringRecordingAndExport()
    {
        QFETCH(bool, exporting);
        QFETCH(int, signal);
        // ffmpeg reads at the pace of the sound: an export of the take is still running.
        QTemporaryDir bin;
        QFile ffmpeg(bin.filePath("ffmpeg"));
        const QByteArray real = QFile::encodeName(QStandardPaths::findExecutable("ffmpeg"));
        QVERIFY(ffmpeg.open(QIODevice::WriteOnly) && ffmpeg.write("#!/bin/sh\nexec " + real + " -re \"$@\"\n") > 0);
        ffmpeg.close();
        QVERIFY(ffmpeg.setPermissions(ffmpeg.permissions() | QFile::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", bin.path() + ":/usr/bin:/bin");
        QProcess panel;
        panel.setProcessEnvironment(environment);
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(VORLET_BINARY), {"--emulate", "vx02"});
        QStringList windows;
        QTRY_VERIFY_WITH_TIMEOUT(!(windows = mappedWindows(panel.processId())).isEmpty(), 20000);
        const QString window = windows.first();
        const auto click = [](const QString &window, int x, int y) {
            return ProgramRun::of(
                       "xdotool",
                       {"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"})
                       .exitCode
                == 0;
        };
        const QString take = qEnvironmentVariable("XDG_DATA_HOME") + "/Brindle/vorlet/recordings/clip_0001.wav";
        QFile::remove(take);
        QVERIFY(click(window, 771, 461) && click(window, 705, 555));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(take).size() > 200000, 10000);
        const QString target = bin.filePath("song.flac");
        if (exporting) {
            QVERIFY(click(window, 705, 555) && click(window, 705, 607));
            QTRY_VERIFY_WITH_TIMEOUT((windows = mappedWindows(panel.processId())).size() == 2, 10000);
            windows.removeAll(window);
            const QString dialog = windows.first();
            QCOMPARE(ProgramRun::of("xdotool", {"type", "--window", dialog, target}).exitCode, 0);
            QCOMPARE(ProgramRun::of("xdotool", {"key", "--window", dialog, "Return"}).exitCode, 0);
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(bin.filePath(".song.part-1.flac")), 10000);
        }
        QCOMPARE(::kill(pid_t(panel.processId()), signal), 0);
        QVERIFY(panel.waitForFinished(15000));
        if (signal == SIGKILL) {
            // The next start repairs the take before anything reads it.
            panel.start(QStringLiteral(VORLET_BINARY), {"--emulate", "vx02", "--hidden"});
            QTRY_COMPARE_WITH_TIMEOUT(call(m_panel, "model", {}).arguments(), QVariantList{"vx02"}, 20000);
            QCOMPARE(::kill(pid_t(panel.processId()), SIGTERM), 0);
            QVERIFY(panel.waitForFinished(15000));
        }
        QCOMPARE(panel.exitCode(), 128 + SIGTERM);
        QCOMPARE(QDir(bin.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ffmpeg"});
        QTRY_VERIFY(ProgramRun::of("pgrep", {"-f", "part-1.flac"}).out.isEmpty());
        // What is in the file is what its header says, and other programs read it.
        QFile wav(take);
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray header = wav.read(44);
        QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 4), quint32(wav.size() - 8));
        QCOMPARE(qFromLittleEndian<quint32>(header.constData() + 40), quint32(wav.size() - 44));
        const ProgramRun probe =
            ProgramRun::of("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", take});
        QCOMPARE(probe.exitCode, 0);
        QVERIFY(qAbs(probe.out.value(0).toDouble() - (wav.size() - 44) / 192000.0) < 0.1);
    }

    // A stream deck's gdbus calls: save, apply and undo a preset of the panel, which shows it.
    void presetsOverTheBus()
    {
        // The device as it comes, not the settings remembered for it.
        ParameterMemory().setRestoreEnabled(false);
        SceneRig rig(QStringLiteral("vx02"));
        SoundCardService service(rig.window()->devices());
        QVERIFY(service.registerOn(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "presets")));
        const auto gdbus = [](const QString &call) {
            return runAside("gdbus",
                            ("call --session --dest com.brindle.vorlet --object-path /SoundCard --method "
                             "com.brindle.vorlet.SoundCard."
                             + call)
                                .split(' '))
                .exitCode;
        };
        QSignalSpy applied(&m_panel, &SoundCardProxy::presetApplied);
        QCOMPARE(gdbus("savePreset Talk"), 0);
        QVERIFY(rig.setOnDevice(QStringLiteral("reverbVolume=12,volumeMonitor=3,btnDodge=1")));
        QCOMPARE(runAside(VORLETCTL_BINARY, {"--json", "preset", "diff", "Talk"}).out,
                 QStringList{"{\"btnDodge\":{\"current\":1,\"preset\":2},\"reverbVolume\":{\"current\":12,"
                             "\"preset\":6},\"volumeMonitor\":{\"current\":3,\"preset\":8}}"});
        QCOMPARE(gdbus("applyPreset Talk"), 0);
        QTRY_COMPARE(applied.count(), 1);
        QCOMPARE(applied.first(), QVariantList{"Talk"});
        QCOMPARE(rig.text(QStringLiteral("presetCurrent")), QStringLiteral("Talk"));
        rig.click(rig.item(QStringLiteral("navEffect")));
        QCOMPARE(rig.item(QStringLiteral("reverbVolume"))->property("sliderValue").toInt(), 6);
        QCOMPARE(gdbus("undoPreset"), 0);
        QTRY_COMPARE(rig.item(QStringLiteral("reverbVolume"))->property("sliderValue").toInt(), 12);
        const QVariantMap device = rig.window()->soundCard()->getAllPara();
        QCOMPARE(device.value("volumeMonitor").toInt(), 3);
        QCOMPARE(device.value("btnDodge").toInt(), 1);
        QCOMPARE(rig.text(QStringLiteral("presetCurrent")), QStringLiteral("Presets"));
    }
    void cleanup() { QDBusConnection::disconnectFromBus(QStringLiteral("presets")); }

    // Each failure of the preset methods has its error name.
    void presetErrors_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // of NAME.json; null: no file
        QTest::addColumn<QString>("error");      // after com.brindle.vorlet.Error.
        const QByteArray vx01 = R"({"devType":"vx01","parameters":{}})";
        const QByteArray damaged = R"({"devType":"vx02","parameters":{"volumeBGM":"loud"}})";
        QTest::newRow("unknown") << "applyPreset"
                                 << "Nope" << QByteArray() << "UnknownPreset";
        QTest::newRow("other model") << "applyPreset"
                                     << "Cantor" << vx01 << "OtherModel";
        QTest::newRow("damaged") << "presetDiff"
                                 << "Broken" << damaged << "DamagedPreset";
        QTest::newRow("slash") << "savePreset"
                               << "a/b" << QByteArray() << "BadPresetName";
        QTest::newRow("nothing to undo") << "undoPreset"
                                         << "" << QByteArray() << "NothingToUndo";
    }

    void presetErrors()
    {
        QFETCH(QString, method);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QFile::remove(PresetHistory::defaultPath());
        if (!content.isNull())
            QVERIFY(writeTestFile(PresetStore().pathOf(name), content));
        PanelService panel;
        QVERIFY(panel.plugged && panel.registered);
        QTRY_VERIFY(panel.devices.session());
        const QDBusMessage reply = call(m_panel, method, name.isEmpty() ? QVariantList() : QVariantList{name});
        QCOMPARE(reply.errorName(), "com.brindle.vorlet.Error." + error);
    }

    // An option vorletctl switches shows in the running panel's switch and tray; restore remembers the device at once.
    void optionsSwitchedElsewhereShow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("property"); // after "MainLogic." in the scene
        QTest::newRow("restore") << "lastSettings" << QString("settingsRestorer.enabled");
        QTest::newRow("background") << "background" << QString("background.runInBackground");
        QTest::newRow("autostart") << "autostart" << QString("background.autostart");
    }

    void optionsSwitchedElsewhereShow()
    {
        QFETCH(QString, command);
        QFETCH(QString, property);
        const QMap<QString, QString> switches{
            {"lastSettings", "restoreSwitch"}, {"background", "backgroundSwitch"}, {"autostart", "autostartSwitch"}};
        // Nothing stored, not even the settings' folder: it is watched once it comes.
        QVERIFY(QDir(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Brindle").removeRecursively());
        SceneRig rig(QStringLiteral("vx02"));
        TrayIcon tray(rig.window());
        QObject *owner = rig.evaluate("MainLogic." + property.section('.', 0, 0)).value<QObject *>();
        QSignalSpy told(owner, QQmlProperty(owner, property.section('.', 1)).property().notifySignal());
        // Another option changed (one that leaves the tray alone): this one is not told.
        const QString other = command == "lastSettings" ? "autostart" : "lastSettings";
        QCOMPARE(vorletctl({other, "on"}).exitCode, 0);
        QTRY_VERIFY(rig.find(switches[other])->property("checked").toBool());
        QCOMPARE(told.count(), 0);
        QVERIFY(rig.setOnDevice(QStringLiteral("volumeBGM=3")));
        for (const bool on : {true, false}) {
            QCOMPARE(vorletctl({command, on ? "on" : "off"}).exitCode, 0);
            QTRY_COMPARE(told.count(), on ? 1 : 2);
            QCOMPARE(rig.find(switches[command])->property("checked").toBool(), on);
            QCOMPARE(tray.wanted(), on && command == "background");
            if (on && command == "lastSettings")
                QTRY_VERIFY(ParameterMemory().recall("VS20261205007").contains("\"volumeBGM\":3"));
        }
    }
};

QTEST_MAIN(TestBackground)
#include "tst_background.moc"
