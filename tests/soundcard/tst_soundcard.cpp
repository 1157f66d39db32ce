// The sound-card objects against a device whose answers each test scripts.
#include "support/Hex.h"
#include "support/MessageCapture.h"
#include "support/SoundCardRig.h"
#include "support/TappedFirmware.h"

#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

quint16 nextSequence()
{
    return FrameSequence::processWide().peek();
}

// The report the device must receive for the command bytes (4, or 4 + 2 data) sent with
// `sequence`: report id 0, the frame, zeros up to the report length.
QByteArray expectedReport(quint16 sequence, const QByteArray &commandBytes)
{
    SoundCardCommand command;
    std::copy_n(commandBytes.constData(), 4, command.code.begin());
    command.hasData = commandBytes.size() == 6;
    if (command.hasData)
        command.data = {quint8(commandBytes.at(4)), quint8(commandBytes.at(5))};
    QByteArray report = '\0' + CommandFrame::build(sequence, command);
    return report + QByteArray(TappedFirmware::kReportLength - report.size(), '\0');
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
        scripted().controlReport = report;
        scripted().answers.enqueue(report);
    }
    void expectReceived(quint16 sequence, const QList<QByteArray> &commands) const
    {
        QCOMPARE(scripted().reports().size(), commands.size());
        for (int i = 0; i < commands.size(); ++i)
            QCOMPARE(scripted().reports().at(i).toHex(' '),
                     expectedReport(quint16(sequence + i), commands.at(i)).toHex(' '));
    }
};

} // namespace

class TestSoundCard : public QObject
{
    Q_OBJECT
private slots:
    // The process's counter starts at 0; every frame below is checked with its sequence number.
    void initTestCase() { QCOMPARE(int(nextSequence()), 0); }

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

    // One row per setter per model; an empty command: the model lacks the setter. Only two
    // vx02 setters log.
    void setterSendsItsCommand_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("line");
        QTest::newRow("vx01 setSoundMode(2, 1)") << "vx01"
                                                 << "setSoundMode" << QVariantList{2, 1} << hex("03010101 0201") << "";
        QTest::newRow("vx01 setVolume(1, 300): low 8 bits")
            << "vx01"
            << "setVolume" << QVariantList{1, 300} << hex("03010102 012C") << "";
        QTest::newRow("vx01 setMicReverberation(8, 2)")
            << "vx01"
            << "setMicReverberation" << QVariantList{8, 2} << hex("03010103 0208") << "";
        QTest::newRow("vx01 setMicReverberation(5)")
            << "vx01"
            << "setMicReverberation" << QVariantList{5} << hex("03010103 0105") << "";
        QTest::newRow("vx01 setDodgeThreshold(5)")
            << "vx01"
            << "setDodgeThreshold" << QVariantList{5} << hex("03010104 0105") << "";
        QTest::newRow("vx01 setDodgeGrade(5)") << "vx01"
                                               << "setDodgeGrade" << QVariantList{5} << hex("03010104 0205") << "";
        QTest::newRow("vx01 setDodgeSpeed(5)") << "vx01"
                                               << "setDodgeSpeed" << QVariantList{5} << hex("03010104 0305") << "";
        QTest::newRow("vx01 setMicToneColour(12)")
            << "vx01"
            << "setMicToneColour" << QVariantList{12} << hex("03010105 030C") << "";
        QTest::newRow("vx01 setSwitch(7, 1)") << "vx01"
                                              << "setSwitch" << QVariantList{7, 1} << hex("03010106 0701") << "";
        QTest::newRow("vx01 lacks setEliminateVoice") << "vx01"
                                                      << "setEliminateVoice" << QVariantList{2} << QByteArray() << "";
        QTest::newRow("vx01 lacks setDenoise") << "vx01"
                                               << "setDenoise" << QVariantList{2} << QByteArray() << "";
        QTest::newRow("vx01 lacks setSpecialEffectSound")
            << "vx01"
            << "setSpecialEffectSound" << QVariantList{2} << QByteArray() << "";
        QTest::newRow("vx02 setSoundMode(3, 11)")
            << "vx02"
            << "setSoundMode" << QVariantList{3, 11} << hex("03010101 030B") << "";
        QTest::newRow("vx02 setVolume(2, 10)") << "vx02"
                                               << "setVolume" << QVariantList{2, 10} << hex("03010102 020A") << "";
        QTest::newRow("vx02 setMicReverberation(9, 2)")
            << "vx02"
            << "setMicReverberation" << QVariantList{9, 2} << hex("03010103 0109") << "";
        QTest::newRow("vx02 setMicReverberation(9)")
            << "vx02"
            << "setMicReverberation" << QVariantList{9} << hex("03010103 0109") << "";
        QTest::newRow("vx02 setDodgeSpeed(3)") << "vx02"
                                               << "setDodgeSpeed" << QVariantList{3} << hex("03010104 0103") << "";
        QTest::newRow("vx02 setDodgeThreshold(3)")
            << "vx02"
            << "setDodgeThreshold" << QVariantList{3} << hex("03010104 0203") << "";
        QTest::newRow("vx02 setDodgeGrade(3)") << "vx02"
                                               << "setDodgeGrade" << QVariantList{3} << hex("03010104 0303") << "";
        QTest::newRow("vx02 setEliminateVoice(1)")
            << "vx02"
            << "setEliminateVoice" << QVariantList{1} << hex("03010105 0101") << "";
        QTest::newRow("vx02 setDenoise(2)")
            << "vx02"
            << "setDenoise" << QVariantList{2} << hex("03010105 0202") << "setDenoise 2";
        QTest::newRow("vx02 setSwitch(7, 1)")
            << "vx02"
            << "setSwitch" << QVariantList{7, 1} << hex("03010106 0701") << "setSwitch =  7 1";
        QTest::newRow("vx02 setSpecialEffectSound(4)")
            << "vx02"
            << "setSpecialEffectSound" << QVariantList{4} << hex("03010107 0400") << "";
        QTest::newRow("vx02 lacks setMicToneColour") << "vx02"
                                                     << "setMicToneColour" << QVariantList{2} << QByteArray() << "";
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
        QTest::addColumn<int>("framesSent");
        QTest::addColumn<QList<QByteArray>>("received");
        const QList<QByteArray> vx01Firmware{hex("01010201")};
        const auto at16 = [](const QByteArray &bytes) { return TappedFirmware::report(16, bytes); };
        QTest::newRow("vx01 firmware, fourth byte zero")
            << "vx01"
            << "getFirmwareVer" << at16(QByteArray("1.2\0", 4)) << "1.2" << 1 << vx01Firmware;
        QTest::newRow("vx01 firmware, four bytes") << "vx01"
                                                   << "getFirmwareVer" << at16("1.23XX") << "1.23" << 1 << vx01Firmware;
        QTest::newRow("vx01 firmware, first byte zero")
            << "vx01"
            << "getFirmwareVer" << at16(QByteArray("\0001.2", 4)) << "" << 1 << vx01Firmware;
        QTest::newRow("vx01 firmware, silent") << "vx01"
                                               << "getFirmwareVer" << QByteArray() << "" << 1 << QList<QByteArray>{};
        QTest::newRow("vx01 serial, twelve bytes")
            << "vx01"
            << "getSNCode" << at16("SN0123456789AB") << "SN0123456789" << 1 << QList<QByteArray>{hex("01020201")};
        QTest::newRow("vx01 serial, UTF-8") << "vx01"
                                            << "getSNCode" << at16("\xC3\xA9t\xC3\xA9") << QString::fromUtf8("été") << 1
                                            << QList<QByteArray>{hex("01020201")};
        QTest::newRow("vx02 firmware 01 00 0C")
            << "vx02"
            << "getFirmwareVer" << TappedFirmware::report(11, QByteArray("\x01\x00\x0C", 3)) << "V1.0.c" << 1
            << QList<QByteArray>{hex("00000001")};
        QTest::newRow("vx02 firmware, silent")
            << "vx02"
            << "getFirmwareVer" << QByteArray() << "V0.0.0" << 1 << QList<QByteArray>{};
        QTest::newRow("vx02 serial, then version query") << "vx02"
                                                         << "getSNCode" << at16("VS2026120500XYZ") << "VS2026120500X"
                                                         << 2 << QList<QByteArray>{hex("01020201"), hex("00000001")};
        QTest::newRow("vx02 serial, silent: no version query")
            << "vx02"
            << "getSNCode" << QByteArray() << "" << 1 << QList<QByteArray>{};
    }
    void texts()
    {
        QFETCH(QString, model);
        QFETCH(QString, query);
        QFETCH(QByteArray, answer);
        QFETCH(QString, text);
        QFETCH(int, framesSent);
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
        QCOMPARE(nextSequence(), quint16(sequence + framesSent));
        rig.expectReceived(sequence, received);
    }

    // Parameter bytes: 1, 2, 3... from offset 16, so that a key read from the wrong offset shows.
    void polling_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QByteArray>("pollCommand");
        QTest::addColumn<QString>("changedKey");
        QTest::newRow("vx01") << "vx01"
                              << QStringList{"model",       "volumeMonitor", "volumeRecording", "volumeMusicVolume",
                                             "volumeMic",   "reverbDepth",   "reverbVolume",    "dodgeThreshold",
                                             "dodgeLevel",  "dodgeSpeed",    "toneColourHigh",  "toneColourLow",
                                             "toneColour",  "btnBluetooth",  "btnDenoise",      "btnInPower",
                                             "btnDisVoice", "btnMute",       "btnDodge"}
                              << QByteArray() << "btnMute";
        QTest::newRow("vx02") << "vx02"
                              << QStringList{"soundMode",       "modelDetail",     "volumeMonitor", "volumeRecording",
                                             "volumeBluetooth", "volumeBroadcast", "volumeBGM",     "reverbVolume",
                                             "dodgeSpeed",      "dodgeThreshold",  "dodgeLevel",    "disVoiceLevel",
                                             "denoiseLevel",    "btnInPower",      "btnDodge",      "btnMixDry"}
                              << hex("03010208") << "btnMixDry";
    }
    void polling()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, keys);
        QFETCH(QByteArray, pollCommand);
        QFETCH(QString, changedKey);
        Rig rig(model);
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        const quint16 sequence = nextSequence();

        // All-zero parameter bytes at the first poll: nothing taken over; bytes around them do not count.
        QByteArray report = TappedFirmware::report(15, "\x05");
        report[16 + keys.size()] = char(5);
        rig.offer(report);
        QVERIFY(!rig.card->getParaIsChange());
        QVERIFY(rig.card->getAllPara().isEmpty());

        QVariantMap expected;
        for (int i = 0; i < keys.size(); ++i) {
            report[16 + i] = char(i + 1);
            expected.insert(keys.at(i), i + 1);
        }
        rig.offer(report);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.card->getParaIsChange());
        if (!pollCommand.isEmpty())
            QVERIFY(timer.elapsed() >= 100); // the vx02 waits for its answer
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara(), expected);

        // The same bytes again: no change, no signal, the map as it was.
        rig.offer(report);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara(), expected);

        // One byte changes: taken over, one signal, every key written.
        report[16 + keys.indexOf(changedKey)] = char(99);
        expected[changedKey] = 99;
        rig.offer(report);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara(), expected);

        // A failed read changes nothing.
        rig.offer(TappedFirmware::report(16, QByteArray(keys.size(), 7)));
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

    void counterContinuesAcrossDevices()
    {
        const quint16 sequence = nextSequence();
        {
            Rig first("vx02");
            first.card->setVolume(1, 1);
        }
        Rig second("vx01");
        second.card->setVolume(1, 1);
        second.expectReceived(quint16(sequence + 1), {hex("03010102 0101")});
    }
};

QTEST_GUILESS_MAIN(TestSoundCard)
#include "tst_soundcard.moc"
