// The protocol: frames byte for byte; the sound-card objects against a device whose answers each
// test scripts, answers due included; the models' tables against the emulated devices.
#include "support/Hex.h"
#include "support/MessageCapture.h"
#include "support/SoundCardRig.h"
#include "support/TappedFirmware.h"

#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QElapsedTimer>
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

} // namespace

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
};

QTEST_MAIN(TestSoundCard)
#include "tst_soundcard.moc"
