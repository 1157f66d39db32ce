// The protocol: frames byte for byte; the sound-card objects against a device whose answers each
// test scripts; the models' tables against the emulated devices; last, the device session under
// load, as the scene uses it: setters while polls run, an unplug with setters queued, a device
// silent and back again.
#include "support/Hex.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/SoundCardRig.h"
#include "support/TappedFirmware.h"

#include "app/DeviceManager.h"
#include "device/DeviceHID.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "emulator/ReceivedFrame.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

namespace {

quint16 nextSequence()
{
    return FrameSequence::processWide().peek();
}

struct Rig : SoundCardRig
{
    explicit Rig(const QString &model)
        : SoundCardRig(model, std::make_unique<TappedFirmware>())
    {
    }
    TappedFirmware &scripted() const { return device<TappedFirmware>(); }
    // Offers `report` on both pipes: as the control report and as the answer to the next write.
    void offer(const QByteArray &report)
    {
        scripted().setInputReport(report);
        scripted().answers.enqueue(report);
    }
    void expectReceived(quint16 sequence, const QList<QByteArray> &commands) const
    {
        QCOMPARE(scripted().reports().size(), commands.size());
        for (int i = 0; i < commands.size(); ++i)
            QCOMPARE(scripted().reports().at(i).toHex(' '),
                     TappedFirmware::outputReport(quint16(sequence + i), commands.at(i)).toHex(' '));
    }
};

enum class Scenario { SettersDuringPolls, UnplugDuringBurst, SilentRecovers };

// A device of `model` on its own bus with the session that took it over.
struct Attached
{
    explicit Attached(const QString &model)
        : model(model)
        , manager(&bus)
    {
        // Reads of a silent device give up quickly.
        bus.setReadWaitLimitMs(20);
        plug();
    }

    bool plug()
    {
        if (!bus.plug(model, std::make_unique<TappedFirmware>(FirmwareFactory::make(model))))
            return false;
        session = manager.session();
        if (!session)
            return false;
        // A question the device answers at once (a vx02 leaves no answer unread after it).
        session->getFirmwareVer();
        return SceneRig::drain(session);
    }

    // The sequence numbers of every frame the device received, and its setters ("group d0 d1").
    QList<int> sequences() const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(model);
        QList<int> found;
        for (const QByteArray &report : static_cast<TappedFirmware *>(held.firmware)->reports()) {
            ReceivedFrame frame;
            QString error;
            found << (ReceivedFrame::parse(report, &frame, &error) ? int(frame.sequence) : -1);
        }
        return found;
    }

    QStringList setters() const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(model);
        return static_cast<TappedFirmware *>(held.firmware)->setters();
    }

    int parameter(const QString &key) const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(model);
        return static_cast<FirmwareBase *>(static_cast<TappedFirmware *>(held.firmware)->inner())->parameter(key);
    }

    // Parameter reports asked for: queries on a vx02, control reads on a vx01.
    int polls() const
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(model);
        const auto *tap = static_cast<TappedFirmware *>(held.firmware);
        if (model == QLatin1String("vx01"))
            return tap->controlReads;
        const SoundCardCommand query = TappedFirmware::command(hex("03010208"));
        int count = 0;
        for (const QByteArray &report : tap->reports()) {
            ReceivedFrame frame;
            QString error;
            count += ReceivedFrame::parse(report, &frame, &error) && frame.code == query.code ? 1 : 0;
        }
        return count;
    }

    void turnKnob(const QString &key, int value)
    {
        const EmulatedBus::HeldFirmware held = bus.holdFirmware(model);
        static_cast<FirmwareBase *>(static_cast<TappedFirmware *>(held.firmware)->inner())->setParameter(key, value);
    }

    QString model;
    EmulatedBus bus;
    DeviceManager manager;
    QPointer<DeviceSession> session;
};

// Every frame after the first carries the number after the one before: nothing was sent twice,
// lost between threads or numbered out of order.
bool consecutive(const QList<int> &sequences)
{
    for (int i = 1; i < sequences.size(); ++i) {
        if (sequences.at(i) != (sequences.at(i - 1) + 1) % 65536)
            return false;
    }
    return !sequences.contains(-1);
}

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TestSoundCard : public QObject
{
    Q_OBJECT
private slots:
    // The process's counter starts at 0; every frame below is checked with its sequence number.
    void initTestCase()
    {
        QCOMPARE(int(nextSequence()), 0);
        QStandardPaths::setTestModeEnabled(true);
    }

    void buildAndParse_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("setVolume(2, 10) as first frame")
            << 0 << hex("03010102 020A") << hex("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F");
        QTest::newRow("vx01 firmware query, sequence 1")
            << 1 << hex("01010201") << hex("89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3");
        QTest::newRow("vx02 parameter query, sequence 0")
            << 0 << hex("03010208") << hex("89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89");
        QTest::newRow("sequence 0x1234, high byte first")
            << 0x1234 << hex("03010106 0701") << hex("89 FF FF 12 34 00 08 00 00 03 01 01 06 07 01 78 DC");
        QTest::newRow("sequence 65535") << 65535 << hex("01020201")
                                        << hex("89 FF FF FF FF 00 06 00 00 01 02 02 01 F1 DD");
    }
    void buildAndParse()
    {
        QFETCH(int, sequence);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, frame);
        QCOMPARE(CommandFrame::build(quint16(sequence), TappedFirmware::command(command)).toHex(' '), frame.toHex(' '));
        // Parsed back as it stands in an output report: zeros behind it.
        const QByteArray report = frame + QByteArray(40, '\0');
        CommandFrame::Parsed parsed;
        QString error;
        QVERIFY2(
            CommandFrame::parse(reinterpret_cast<const quint8 *>(report.constData()), report.size(), &parsed, &error),
            qPrintable(error));
        QCOMPARE(int(parsed.sequence), sequence);
        QVERIFY(parsed.command == TappedFirmware::command(command));
        QCOMPARE(parsed.frameLength, frame.size());
    }

    void parseRejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = hex("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F");
        const auto with = [&good](int index, char value) {
            QByteArray bytes = good;
            bytes[index] = value;
            return bytes;
        };
        QTest::newRow("14 bytes") << good.left(14) << "too short";
        QTest::newRow("start byte") << with(0, char(0x88)) << "start byte";
        QTest::newRow("fixed bytes") << with(2, char(0xFE)) << "fixed bytes";
        QTest::newRow("length 7") << with(6, char(0x07)) << "bad length";
        QTest::newRow("length 0xFF08") << with(5, char(0xFF)) << "bad length";
        QTest::newRow("data frame cut to 16 bytes") << good.left(16) << "cut short";
        QTest::newRow("reserved") << with(8, char(0x01)) << "reserved";
        QTest::newRow("checksum") << with(16, char(0x30)) << "checksum";
    }
    void parseRejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        CommandFrame::Parsed parsed;
        QVERIFY(
            !CommandFrame::parse(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(), &parsed, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void openIdentityAndUnplug_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("inputName");
        QTest::addColumn<QString>("openLine");
        QTest::newRow("vx01") << "vx01" << QString::fromUtf8("麦克风(Vorlet Cantor 10)") << "DeviceHID = ";
        QTest::newRow("vx02") << "vx02" << QString::fromUtf8("麦克风 (Vorlet Stage 20)") << "a DeviceHID = ";
    }
    void openIdentityAndUnplug()
    {
        QFETCH(QString, model);
        QFETCH(QString, inputName);
        QFETCH(QString, openLine);
        MessageCapture log;
        Rig rig(model);
        QVERIFY(rig.opened);
        QCOMPARE(rig.card->getDevType(), model);
        QCOMPARE(rig.card->getInputDevName(), inputName);
        QVERIFY(rig.card->getAllPara().isEmpty());
        // Opening again after the device left fails; everything else then fails quietly.
        rig.bus.unplug(model);
        QVERIFY(!rig.card->openDevice());
        QVERIFY(log.lines().contains(openLine + " true"));
        QVERIFY(log.lines().contains(openLine + " false"));
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        rig.card->setVolume(2, 4);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(rig.card->getSNCode(), QString());
        QCOMPARE(changed.count(), 0);
        QVERIFY(rig.scripted().reports().isEmpty());
    }

    // The bytes of the setters whose rows the device cannot tell apart (sound modes, effects, a
    // left-out or ignored TYPE, values beyond a byte); everyRangeIsTakenByTheDevice has the device
    // take every other row. An empty command: the model lacks the setter. Only two vx02 setters log.
    void setterSendsItsCommand_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *model, const char *slot, const QVariantList &args, const char *command,
                            const char *line = "") {
            QStringList shown;
            for (const QVariant &arg : args)
                shown << arg.toString();
            QTest::addRow("%s %s(%s)", model, slot, qPrintable(shown.join(", ")))
                << model << slot << args << hex(command) << line;
        };
        row("vx01", "setSoundMode", {2, 1}, "03010101 0201");
        row("vx01", "setVolume", {1, 300}, "03010102 012C"); // the low 8 bits
        row("vx01", "setMicReverberation", {5}, "03010103 0105");
        row("vx01", "setEliminateVoice", {2}, "");
        row("vx01", "setSpecialEffectSound", {2}, "");
        row("vx02", "setSoundMode", {3, 11}, "03010101 030B");
        row("vx02", "setMicReverberation", {9, 2}, "03010103 0109");
        row("vx02", "setMicReverberation", {9}, "03010103 0109");
        row("vx02", "setDenoise", {2}, "03010105 0202", "setDenoise 2");
        row("vx02", "setSwitch", {7, 1}, "03010106 0701", "setSwitch =  7 1");
        row("vx02", "setSpecialEffectSound", {4}, "03010107 0400");
        row("vx02", "setMicToneColour", {2}, "");
    }
    void setterSendsItsCommand()
    {
        QFETCH(QString, model);
        QFETCH(QString, slot);
        QFETCH(QVariantList, args);
        QFETCH(QByteArray, command);
        QFETCH(QString, line);
        Rig rig(model);
        const quint16 sequence = nextSequence();
        MessageCapture log;
        QVERIFY(rig.call(slot, args));
        QCOMPARE(log.lines(), line.isEmpty() ? QStringList() : QStringList{line});
        rig.expectReceived(sequence, command.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{command});
        QCOMPARE(nextSequence(), quint16(sequence + (command.isEmpty() ? 0 : 1)));
    }

    // An empty answer: the device stays silent.
    void texts_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QByteArray>>("received");
        const auto row = [](const char *name, const char *query, const QByteArray &answer, const QString &text,
                            const QList<QByteArray> &received) {
            QTest::newRow(name) << QString::fromLatin1(name).left(4) << query << answer << text << received;
        };
        const auto at16 = [](const QByteArray &bytes) { return TappedFirmware::report(16, bytes); };
        const QList<QByteArray> vx01Version{hex("01010201")};
        const QList<QByteArray> serial{hex("01020201")};
        row("vx01 firmware, fourth byte zero", "getFirmwareVer", at16(QByteArray("1.2\0", 4)), "1.2", vx01Version);
        row("vx01 firmware, four bytes", "getFirmwareVer", at16("1.23XX"), "1.23", vx01Version);
        row("vx01 firmware, first byte zero", "getFirmwareVer", at16(QByteArray("\0001.2", 4)), "", vx01Version);
        row("vx01 firmware, silent", "getFirmwareVer", QByteArray(), "", {});
        row("vx01 serial, twelve bytes", "getSNCode", at16("SN0123456789AB"), "SN0123456789", serial);
        row("vx01 serial, UTF-8", "getSNCode", at16("\xC3\xA9t\xC3\xA9"), QString::fromUtf8("été"), serial);
        row("vx02 firmware 01 00 0C", "getFirmwareVer", TappedFirmware::report(11, QByteArray("\x01\x00\x0C", 3)),
            "V1.0.c", {hex("00000001")});
        row("vx02 firmware, silent", "getFirmwareVer", QByteArray(), "", {});
        row("vx02 serial, then version query", "getSNCode", at16("VS2026120500XYZ"), "VS2026120500X",
            {hex("01020201"), hex("00000001")});
        row("vx02 serial, silent: no version query", "getSNCode", QByteArray(), "", {});
    }
    void texts()
    {
        QFETCH(QString, model);
        QFETCH(QString, query);
        QFETCH(QByteArray, answer);
        QFETCH(QString, text);
        QFETCH(QList<QByteArray>, received);
        Rig rig(model);
        if (answer.isEmpty())
            rig.bus.setFailure(model, EmulatedFailure::Silent);
        else
            rig.offer(answer);
        const quint16 sequence = nextSequence();
        QString result;
        QVERIFY(QMetaObject::invokeMethod(rig.card.get(), query.toLatin1().constData(), Q_RETURN_ARG(QString, result)));
        QCOMPARE(result, text);
        // A silent device drops the one query it was sent.
        QCOMPARE(nextSequence(), quint16(sequence + qMax(1, received.size())));
        rig.expectReceived(sequence, received);
    }

    // Parameter bytes: 1, 2, 3... from offset 16; which key reads which byte, everyKeyAtItsByte checks.
    void polling_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("keyCount");
        QTest::addColumn<QByteArray>("pollCommand");
        QTest::newRow("vx01") << "vx01" << 19 << QByteArray();
        QTest::newRow("vx02") << "vx02" << 16 << hex("03010208");
    }
    void polling()
    {
        QFETCH(QString, model);
        QFETCH(int, keyCount);
        QFETCH(QByteArray, pollCommand);
        Rig rig(model);
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        const quint16 sequence = nextSequence();

        // All-zero parameter bytes at the first poll: nothing taken over; bytes around them do not count.
        QByteArray report = TappedFirmware::report(15, "\x05");
        report[16 + keyCount] = char(5);
        rig.offer(report);
        QVERIFY(!rig.card->getParaIsChange());
        QVERIFY(rig.card->getAllPara().isEmpty());

        for (int i = 0; i < keyCount; ++i)
            report[16 + i] = char(i + 1);
        rig.offer(report);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.card->getParaIsChange());
        if (!pollCommand.isEmpty())
            QVERIFY(timer.elapsed() >= 100); // the vx02 waits for its answer
        QCOMPARE(changed.count(), 1);
        QVariantMap expected = rig.card->getAllPara();
        QCOMPARE(expected.size(), keyCount);

        // The same bytes again: no change, no signal, the map as it was.
        rig.offer(report);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara(), expected);

        // One byte changes: taken over, one signal, every key written.
        report[16 + keyCount - 1] = char(99);
        expected[expected.key(keyCount)] = 99;
        rig.offer(report);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara(), expected);

        // A failed read changes nothing.
        rig.offer(TappedFirmware::report(16, QByteArray(keyCount, 7)));
        rig.bus.setFailure(model, EmulatedFailure::Silent);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara(), expected);

        // A vx01 poll sends nothing; a vx02 poll asks for the report every time.
        QList<QByteArray> polls;
        if (!pollCommand.isEmpty())
            polls = {pollCommand, pollCommand, pollCommand, pollCommand};
        rig.expectReceived(sequence, polls);
    }

    // The device reports a different value in every byte: each is read under its own key, and
    // no key is missing or extra.
    void everyKeyAtItsByte_data()
    {
        QTest::addColumn<QString>("model");
        for (const QString &model : SoundCardFactory::devTypes())
            QTest::newRow(qPrintable(model)) << model;
    }
    void everyKeyAtItsByte()
    {
        QFETCH(QString, model);
        SoundCardRig rig(model);
        FirmwareBase &device = rig.device<FirmwareBase>();
        QVariantMap expected;
        int value = 100;
        for (const QString &key : device.keys()) {
            device.setParameter(key, value);
            expected.insert(key, value++);
        }
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(rig.card->getAllPara(), expected);
    }

    // Every setter row at both ends of its range: the device takes the command and reports the
    // value under the row's key.
    void everyRangeIsTakenByTheDevice_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("value");
        for (const QString &model : SoundCardFactory::devTypes()) {
            const QVector<ModelParameter> &rows = SoundCardFactory::model(model)->parameters;
            for (int i = 0; i < rows.size(); ++i) {
                const ModelParameter &row = rows.at(i);
                if (!row.isSetterRange())
                    continue;
                const QString name =
                    QStringLiteral("%1 %2 %3").arg(model, QLatin1String(SetterSlot::of(row.setter).name)).arg(row.code);
                QTest::newRow(qPrintable(name + " min")) << model << i << row.min;
                QTest::newRow(qPrintable(name + " max")) << model << i << row.max;
            }
        }
    }
    void everyRangeIsTakenByTheDevice()
    {
        QFETCH(QString, model);
        QFETCH(int, row);
        QFETCH(int, value);
        const ModelParameter &parameter = SoundCardFactory::model(model)->parameters.at(row);
        SoundCardRig rig(model);
        MessageCapture log;
        rig.card->apply(SetterSlot::of(parameter.setter).callFor(parameter.code, value));
        QCOMPARE(log.texts(QtWarningMsg), QStringList());
        if (parameter.hasKey())
            QCOMPARE(rig.device<FirmwareBase>().parameter(QLatin1String(parameter.key)), value);
    }

    // Answers the device still owes are read before anything new is asked, each as what it
    // answers; one that never comes costs a wait, never a misread. The script answers each
    // report in turn ("-": no answer).
    void dueAnswersAreTakenAsWhatTheyAnswer_data()
    {
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QList<QByteArray>>("received");
        QTest::addColumn<QString>("version"); // known at the end, asked for or not
        QByteArray parameters(16, '\0');
        for (int i = 0; i < 16; ++i)
            parameters[i] = char(i + 1);
        const QByteArray serial = TappedFirmware::report(16, "VS2026120500X");
        const QByteArray version = TappedFirmware::report(11, QByteArray("\x01\x04\x1c", 3));
        const QByteArray report = TappedFirmware::report(16, parameters);
        const QList<QByteArray> serialThenPoll{hex("01020201"), hex("00000001"), hex("03010208")};
        QTest::newRow("version after a serial number, then a poll")
            << QList<QByteArray>{serial, version, report} << QStringList{"getSNCode", "getParaIsChange"}
            << QStringList{"VS2026120500X", "true"} << serialThenPoll << "V1.4.1c";
        QTest::newRow("version after a serial number never answered, then a poll")
            << QList<QByteArray>{serial, {}, report} << QStringList{"getSNCode", "getParaIsChange"}
            << QStringList{"VS2026120500X", "true"} << serialThenPoll << "";
        QTest::newRow("poll never answered, then the version")
            << QList<QByteArray>{{}, version} << QStringList{"getParaIsChange", "getFirmwareVer"}
            << QStringList{"false", "V1.4.1c"} << QList<QByteArray>{hex("03010208"), hex("00000001")} << "V1.4.1c";
        QTest::newRow("version never answered, then a poll")
            << QList<QByteArray>{{}, report} << QStringList{"getFirmwareVer", "getParaIsChange"}
            << QStringList{"", "true"} << QList<QByteArray>{hex("00000001"), hex("03010208")} << "";
    }
    void dueAnswersAreTakenAsWhatTheyAnswer()
    {
        QFETCH(QList<QByteArray>, answers);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, results);
        QFETCH(QList<QByteArray>, received);
        QFETCH(QString, version);
        Rig rig("vx02");
        for (const QByteArray &answer : answers)
            rig.scripted().answers.enqueue(answer);
        const quint16 sequence = nextSequence();
        QStringList got;
        for (const QString &call : calls) {
            if (call == QLatin1String("getParaIsChange")) {
                got << (rig.card->getParaIsChange() ? "true" : "false");
                continue;
            }
            QString text;
            QVERIFY(
                QMetaObject::invokeMethod(rig.card.get(), call.toLatin1().constData(), Q_RETURN_ARG(QString, text)));
            got << text;
        }
        QCOMPARE(got, results);
        rig.expectReceived(sequence, received);
        QCOMPARE(rig.card->knownFirmwareVer(), version);
        // A map only ever comes from a parameter report.
        if (results.contains("true"))
            QCOMPARE(rig.card->getAllPara().value("btnMixDry").toInt(), 16);
        else
            QVERIFY(rig.card->getAllPara().isEmpty());
    }

    void underLoad_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<Scenario>("scenario");
        for (const char *model : {"vx01", "vx02"}) {
            QTest::addRow("%s setters during polls", model) << model << Scenario::SettersDuringPolls;
            QTest::addRow("%s unplug during a burst", model) << model << Scenario::UnplugDuringBurst;
            QTest::addRow("%s silent, then answers", model) << model << Scenario::SilentRecovers;
        }
    }

    void underLoad()
    {
        QFETCH(QString, model);
        QFETCH(Scenario, scenario);
        Attached device(model);
        QVERIFY(device.session);
        DeviceSession *session = device.session;
        // Polls back to back, so that every setter meets one.
        session->startPolling(1);

        switch (scenario) {
        case Scenario::SettersDuringPolls: {
            // Ten slices of setters, polls in between; no map may show the device as it was
            // before the last slice sent: the controls would jump back.
            int slice = 0;
            QList<int> stale;
            connect(session, &DeviceSession::allParaChanged, this, [&] {
                const int shown = session->getAllPara().value(QStringLiteral("volumeMonitor")).toInt();
                if (shown != slice)
                    stale << shown;
            });
            // A setter that replaces the one waiting before it is not sent: each slice reaches
            // the device at least once, in order.
            QStringList expected;
            QSignalSpy polled(session, &DeviceSession::polled);
            for (slice = 0; slice < 10; ++slice) {
                for (int i = 0; i < 20; ++i)
                    session->setVolume(1, slice);
                expected << TappedFirmware::describe(0x02, 0x01, quint8(slice));
                QVERIFY(polled.wait(3000));
            }
            slice = 9;
            QVERIFY(SceneRig::drain(session));
            QStringList sent = device.setters();
            sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
            QCOMPARE(sent, expected);
            QVERIFY(consecutive(device.sequences()));
            QVERIFY(polled.wait(3000) && polled.wait(3000));
            QCOMPARE(session->getAllPara().value(QStringLiteral("volumeMonitor")).toInt(), 9);
            QCOMPARE(stale, QList<int>());
            break;
        }
        case Scenario::UnplugDuringBurst: {
            // A request on its way when the device goes is told so.
            DeviceSession::Reply::Status polled = DeviceSession::Reply::Answered;
            session->requestPoll([&](const DeviceSession::Reply &reply) { polled = reply.status; });
            for (int i = 0; i < 500; ++i)
                session->setVolume(2 + i % 2, i % 17);
            const QList<int> before = device.sequences();
            QVERIFY(device.bus.unplug(model));
            // The window never waits for the call in flight; the session goes by itself.
            QVERIFY(!device.manager.session());
            QCOMPARE(polled, DeviceSession::Reply::Closed);
            QTRY_VERIFY(device.session.isNull());
            // The next device gets nothing of what was queued for the one that went.
            QVERIFY(device.plug());
            QVERIFY(device.setters().isEmpty());
            const QList<int> after = device.sequences();
            QVERIFY(!after.isEmpty());
            QVERIFY(before.isEmpty() || after.first() > before.last());
            QVERIFY(consecutive(after));
            break;
        }
        case Scenario::SilentRecovers: {
            QSignalSpy responding(session, &DeviceSession::respondingChanged);
            QVERIFY(device.bus.setFailure(model, EmulatedFailure::Silent));
            QVERIFY(responding.wait(5000));
            QCOMPARE(responding.last().at(0).toBool(), false);
            QVERIFY(!session->isResponding());
            // Setters are still taken while nobody answers (the device drops them).
            session->setSwitch(2, 1);
            QVERIFY(SceneRig::drain(session));

            QVERIFY(device.bus.setFailure(model, EmulatedFailure::None));
            device.turnKnob(QStringLiteral("volumeRecording"), 9);
            QVERIFY(responding.wait(DeviceSession::kBackoffIntervalMs + 3000));
            QCOMPARE(responding.last().at(0).toBool(), true);
            QTRY_COMPARE(session->getAllPara().value(QStringLiteral("volumeRecording")).toInt(), 9);
            // Polls that find the state shown (one asked for, the timer's after it) tell no change.
            QSignalSpy changed(session, &DeviceSession::allParaChanged);
            QSignalSpy polled(session, &DeviceSession::polled);
            session->getParaIsChange();
            QTRY_VERIFY(polled.count() >= 3);
            QCOMPARE(changed.count(), 0);
            session->setSwitch(2, 2);
            QVERIFY(SceneRig::drain(session));
            QCOMPARE(device.setters().last(), TappedFirmware::describe(0x06, 0x02, 0x02));
            break;
        }
        }
    }

    // Setters, polls and queries in a random order, some asked for with a handler, while the
    // timer polls too: every map shown or handed out holds values the device held, every text is
    // the device's own, and every request with a handler gets its answer.
    void interleavedRequestsShowTheDevice_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("serial");
        QTest::newRow("vx01") << "vx01"
                              << "2.13"
                              << "VC1026120501";
        QTest::newRow("vx02") << "vx02"
                              << "V1.4.1c"
                              << "VS20261205007";
    }
    void interleavedRequestsShowTheDevice()
    {
        QFETCH(QString, model);
        QFETCH(QString, version);
        QFETCH(QString, serial);
        Attached device(model);
        QVERIFY(device.session);
        DeviceSession *session = device.session;
        session->startPolling(1);
        QVector<const ModelParameter *> setters;
        QMap<QString, QSet<int>> held;
        for (const ModelParameter &row : session->model().parameters) {
            if (!row.hasKey())
                continue;
            held[row.key] << device.parameter(row.key);
            if (row.kind == ModelParameter::Kind::Setter)
                setters << &row;
        }
        QStringList wrong;
        const auto check = [&](const QVariantMap &map, const QString &who) {
            for (auto it = held.cbegin(); it != held.cend(); ++it) {
                if (!map.contains(it.key()) || !it.value().contains(map.value(it.key()).toInt()))
                    wrong << QStringLiteral("%1: %2=%3").arg(who, it.key(), map.value(it.key()).toString());
            }
        };
        const auto text = [&](const QString &expected, const QString &who) {
            return [&wrong, expected, who](const QString &got) {
                if (got != expected)
                    wrong << who + ": " + got;
            };
        };
        connect(session, &SoundCardBase::allParaChanged, this, [&] { check(session->getAllPara(), "shown"); });
        connect(session, &SoundCardBase::firmwareVerChanged, this, text(version, "version shown"));
        connect(session, &SoundCardBase::snNumChanged, this, text(serial, "serial shown"));
        int asked = 0;
        int answered = 0;
        const auto handler = [&](const QString &expected) {
            ++asked;
            return [&, expected](const DeviceSession::Reply &reply) {
                ++answered;
                if (!reply.answered())
                    wrong << QStringLiteral("no answer");
                else if (expected.isEmpty())
                    check(reply.parameters, "poll answer");
                else
                    text(expected, "answer")(reply.text);
            };
        };
        QRandomGenerator random(29);
        for (int round = 0; round < 200; ++round) {
            switch (random.bounded(7)) {
            case 0: {
                const ModelParameter &row = *setters.at(random.bounded(setters.size()));
                const int value = random.bounded(row.min, row.max + 1);
                held[row.key] << value;
                session->apply(SetterSlot::of(row.setter).callFor(row.code, value));
                break;
            }
            case 1: session->getFirmwareVer(); break;
            case 2: session->getSNCode(); break;
            case 3: session->getParaIsChange(); break;
            case 4: session->requestPoll(handler(QString())); break;
            case 5: session->requestFirmwareVersion(handler(version)); break;
            case 6: session->requestSerialNumber(handler(serial)); break;
            }
            if (round % 20 == 19)
                QVERIFY(SceneRig::drain(session));
        }
        QVERIFY(SceneRig::drain(session));
        QCOMPARE(wrong, QStringList());
        QCOMPARE(answered, asked);
        QCOMPARE(session->knownFirmwareVer(), version);
    }

    // The queue as callers meet it; the device answers every read at once, or is silent.
    void queuedRequests_data()
    {
        QTest::addColumn<QString>("model");
        for (const char *model : {"vx01", "vx02"})
            QTest::newRow(model) << model;
    }
    void queuedRequests()
    {
        QFETCH(QString, model);
        Attached device(model);
        QVERIFY(device.session);
        DeviceSession *session = device.session;
        const int pollsBefore = device.polls();
        // The setters of one setting queued while one is on its way: only the last follows it.
        for (int value = 0; value < 10; ++value)
            session->setVolume(2, value);
        // Polls asked for while one waits share its answer: one poll, ten answers.
        QList<int> shown;
        for (int i = 0; i < 10; ++i)
            session->requestPoll([&](const DeviceSession::Reply &reply) {
                shown << reply.parameters.value("volumeRecording", -1).toInt();
            });
        QVERIFY(SceneRig::drain(session));
        QCOMPARE(device.setters(),
                 (QStringList{TappedFirmware::describe(0x02, 0x02, 0), TappedFirmware::describe(0x02, 0x02, 9)}));
        QCOMPARE(shown, QVector<int>(10, 9).toList());
        QCOMPARE(device.polls(), pollsBefore + 1);

        // A full queue refuses more, and says so.
        MessageCapture log;
        int taken = 0;
        while (taken < 2 * DeviceSession::kMaxQueued && session->queue({SetterOp::Volume, {1 + taken % 2, 3}}))
            ++taken;
        QCOMPARE(taken, DeviceSession::kMaxQueued + 1);
        QVERIFY(
            log.texts(QtWarningMsg).contains(QStringLiteral("the %1 is not keeping up: setVolume dropped").arg(model)));
        QVERIFY(SceneRig::drain(session));

        // Silent: requests waiting for the device fail; once it is known to be silent, at once.
        QVERIFY(device.bus.setFailure(model, EmulatedFailure::Silent));
        QList<DeviceSession::Reply::Status> failed;
        for (int i = 0; i < 30; ++i)
            session->requestPoll([&](const DeviceSession::Reply &reply) { failed << reply.status; });
        QTRY_COMPARE(failed, QVector<DeviceSession::Reply::Status>(30, DeviceSession::Reply::NoAnswer).toList());
        QSignalSpy responding(session, &DeviceSession::respondingChanged);
        for (int i = 0; i < DeviceSession::kSilentPollsBeforeBackoff; ++i)
            session->requestPoll(nullptr);
        QTRY_VERIFY(!session->isResponding());
        bool answeredAtOnce = false;
        session->requestFirmwareVersion([&](const DeviceSession::Reply &reply) {
            answeredAtOnce = reply.status == DeviceSession::Reply::NoAnswer;
        });
        QVERIFY(answeredAtOnce);
    }
};

QTEST_MAIN(TestSoundCard)
#include "tst_soundcard.moc"
