#include "support/MessageCapture.h"
#include "ScriptedFirmware.h"

#include "device/EmulatedBus.h"
#include "soundcard/CommandFrame.h"
#include "soundcard/FrameSequence.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx02.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

QString spaced(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

quint16 nextSequence()
{
    return FrameSequence::processWide().peek();
}

// A sound card of `model` on an emulated bus whose device the test scripts.
struct Rig
{
    explicit Rig(const QString &model)
    {
        bus.setReadWaitLimitMs(20);
        bus.plug(model, std::make_unique<ScriptedFirmware>());
        firmware = static_cast<ScriptedFirmware *>(bus.firmware(model));
        if (model == QLatin1String("vx01"))
            card = std::make_unique<SoundCardVx01>(&bus);
        else
            card = std::make_unique<SoundCardVx02>(&bus);
        opened = card->openDevice();
    }

    EmulatedBus bus;
    ScriptedFirmware *firmware = nullptr;
    std::unique_ptr<SoundCardBase> card;
    bool opened = false;
};

// Calls a slot through the meta-object, as the scene does.
bool invoke(QObject *object, const QString &slot, const QVariantList &args)
{
    const QByteArray name = slot.toLatin1();
    switch (args.size()) {
    case 1:
        return QMetaObject::invokeMethod(object, name.constData(), Q_ARG(int, args.at(0).toInt()));
    case 2:
        return QMetaObject::invokeMethod(object, name.constData(), Q_ARG(int, args.at(0).toInt()),
                                         Q_ARG(int, args.at(1).toInt()));
    default:
        return false;
    }
}

// The report the device must receive for `command` sent with `sequence`: report id 0, the
// frame, zeros up to the report length.
QByteArray expectedReport(quint16 sequence, const QByteArray &commandBytes)
{
    SoundCardCommand command;
    for (int i = 0; i < 4; ++i)
        command.code[size_t(i)] = quint8(commandBytes.at(i));
    command.hasData = commandBytes.size() == 6;
    if (command.hasData)
        command.data = {quint8(commandBytes.at(4)), quint8(commandBytes.at(5))};
    QByteArray report(1, '\0');
    report += CommandFrame::build(sequence, command);
    report += QByteArray(ScriptedFirmware::kReportLength - report.size(), '\0');
    return report;
}

QByteArray parameterBytes(int count, char value)
{
    return QByteArray(count, value);
}

} // namespace

class TestSoundCard : public QObject
{
    Q_OBJECT
private slots:
    // Runs first: the process's counter is still at 0.
    void firstFramesOfTheProcess()
    {
        QCOMPARE(int(nextSequence()), 0);
        Rig rig("vx01");
        QVERIFY(rig.opened);
        rig.card->setVolume(2, 10);
        rig.firmware->controlReport = ScriptedFirmware::report(16, "1.0");
        QCOMPARE(rig.card->getFirmwareVer(), QStringLiteral("1.0"));
        QCOMPARE(rig.firmware->received.size(), 2);
        QCOMPARE(spaced(rig.firmware->received.at(0).mid(1, 17)),
                 QStringLiteral("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F"));
        QCOMPARE(spaced(rig.firmware->received.at(1).mid(1, 15)),
                 QStringLiteral("89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3"));
        // The whole output report goes out: report id 0 first, zeros behind the frame.
        QCOMPARE(rig.firmware->received.at(0).size(), 65);
        QCOMPARE(rig.firmware->received.at(0).at(0), '\0');
        QCOMPARE(rig.firmware->received.at(0).mid(18), QByteArray(47, '\0'));
    }

    void identity_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("inputName");
        QTest::addColumn<QString>("openLine");
        QTest::newRow("vx01") << "vx01" << QString::fromUtf8("麦克风(Vorlet Cantor 10)") << "DeviceHID =  true";
        QTest::newRow("vx02") << "vx02" << QString::fromUtf8("麦克风 (Vorlet Stage 20)") << "a DeviceHID =  true";
    }
    void identity()
    {
        QFETCH(QString, model);
        QFETCH(QString, inputName);
        QFETCH(QString, openLine);
        MessageCapture log;
        Rig rig(model);
        QVERIFY(rig.opened);
        QVERIFY(log.lines().contains(openLine));
        QCOMPARE(rig.card->getDevType(), model);
        QCOMPARE(rig.card->getInputDevName(), inputName);
        QVERIFY(rig.card->getAllPara().isEmpty());
        // A second open reuses the transport object and opens again.
        QVERIFY(rig.card->openDevice());
    }

    void openWithoutDevice_data() { identity_data(); }
    void openWithoutDevice()
    {
        QFETCH(QString, model);
        QFETCH(QString, openLine);
        EmulatedBus bus;
        MessageCapture log;
        std::unique_ptr<SoundCardBase> card;
        if (model == QLatin1String("vx01"))
            card = std::make_unique<SoundCardVx01>(&bus);
        else
            card = std::make_unique<SoundCardVx02>(&bus);
        QVERIFY(!card->openDevice());
        openLine.replace(QLatin1String("true"), QLatin1String("false"));
        QVERIFY2(log.lines().contains(openLine), qPrintable(log.lines().join('|')));
        // Everything fails quietly on an unopened card.
        card->setVolume(1, 3);
        QVERIFY(!card->getParaIsChange());
        QCOMPARE(card->getSNCode(), QString());
    }

    void setterSendsItsCommand_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("vx01 setSoundMode(2, 1)") << "vx01" << "setSoundMode" << QVariantList{2, 1} << hex("03010101 0201");
        QTest::newRow("vx01 setVolume(1, 300)") << "vx01" << "setVolume" << QVariantList{1, 300} << hex("03010102 012C");
        QTest::newRow("vx01 setMicReverberation(8, 2)") << "vx01" << "setMicReverberation" << QVariantList{8, 2} << hex("03010103 0208");
        QTest::newRow("vx01 setMicReverberation(5)") << "vx01" << "setMicReverberation" << QVariantList{5} << hex("03010103 0105");
        QTest::newRow("vx01 setDodgeSpeed(5)") << "vx01" << "setDodgeSpeed" << QVariantList{5} << hex("03010104 0305");
        QTest::newRow("vx01 setDodgeThreshold(5)") << "vx01" << "setDodgeThreshold" << QVariantList{5} << hex("03010104 0105");
        QTest::newRow("vx01 setDodgeGrade(5)") << "vx01" << "setDodgeGrade" << QVariantList{5} << hex("03010104 0205");
        QTest::newRow("vx01 setMicToneColour(12)") << "vx01" << "setMicToneColour" << QVariantList{12} << hex("03010105 030C");
        QTest::newRow("vx01 setSwitch(7, 1)") << "vx01" << "setSwitch" << QVariantList{7, 1} << hex("03010106 0701");
        QTest::newRow("vx02 setSoundMode(3, 11)") << "vx02" << "setSoundMode" << QVariantList{3, 11} << hex("03010101 030B");
        QTest::newRow("vx02 setVolume(2, 10)") << "vx02" << "setVolume" << QVariantList{2, 10} << hex("03010102 020A");
        QTest::newRow("vx02 setMicReverberation(9, 2)") << "vx02" << "setMicReverberation" << QVariantList{9, 2} << hex("03010103 0109");
        QTest::newRow("vx02 setMicReverberation(9)") << "vx02" << "setMicReverberation" << QVariantList{9} << hex("03010103 0109");
        QTest::newRow("vx02 setDodgeSpeed(3)") << "vx02" << "setDodgeSpeed" << QVariantList{3} << hex("03010104 0103");
        QTest::newRow("vx02 setDodgeThreshold(3)") << "vx02" << "setDodgeThreshold" << QVariantList{3} << hex("03010104 0203");
        QTest::newRow("vx02 setDodgeGrade(3)") << "vx02" << "setDodgeGrade" << QVariantList{3} << hex("03010104 0303");
        QTest::newRow("vx02 setEliminateVoice(1)") << "vx02" << "setEliminateVoice" << QVariantList{1} << hex("03010105 0101");
        QTest::newRow("vx02 setDenoise(2)") << "vx02" << "setDenoise" << QVariantList{2} << hex("03010105 0202");
        QTest::newRow("vx02 setSwitch(3, 1)") << "vx02" << "setSwitch" << QVariantList{3, 1} << hex("03010106 0301");
        QTest::newRow("vx02 setSpecialEffectSound(4)") << "vx02" << "setSpecialEffectSound" << QVariantList{4} << hex("03010107 0400");
    }
    void setterSendsItsCommand()
    {
        QFETCH(QString, model);
        QFETCH(QString, slot);
        QFETCH(QVariantList, args);
        QFETCH(QByteArray, command);
        Rig rig(model);
        const quint16 sequence = nextSequence();
        QVERIFY(invoke(rig.card.get(), slot, args));
        QCOMPARE(rig.firmware->received.size(), 1);
        QCOMPARE(spaced(rig.firmware->received.first()), spaced(expectedReport(sequence, command)));
        QCOMPARE(nextSequence(), quint16(sequence + 1));
    }

    void setterAModelLacksSendsNothing_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::newRow("vx01 setEliminateVoice") << "vx01" << "setEliminateVoice";
        QTest::newRow("vx01 setDenoise") << "vx01" << "setDenoise";
        QTest::newRow("vx01 setSpecialEffectSound") << "vx01" << "setSpecialEffectSound";
        QTest::newRow("vx02 setMicToneColour") << "vx02" << "setMicToneColour";
    }
    void setterAModelLacksSendsNothing()
    {
        QFETCH(QString, model);
        QFETCH(QString, slot);
        Rig rig(model);
        const quint16 sequence = nextSequence();
        QVERIFY(invoke(rig.card.get(), slot, {2}));
        QVERIFY(rig.firmware->received.isEmpty());
        QCOMPARE(nextSequence(), sequence);
    }

    void vx02SettersLog_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("line");
        QTest::newRow("setDenoise") << "setDenoise" << QVariantList{2} << "setDenoise 2";
        QTest::newRow("setSwitch") << "setSwitch" << QVariantList{7, 1} << "setSwitch =  7 1";
    }
    void vx02SettersLog()
    {
        QFETCH(QString, slot);
        QFETCH(QVariantList, args);
        QFETCH(QString, line);
        Rig rig("vx02");
        rig.bus.unplug("vx02");   // logged even when the write fails
        MessageCapture log;
        QVERIFY(invoke(rig.card.get(), slot, args));
        QCOMPARE(log.lines(), QStringList{line});
    }

    void vx01Texts_data()
    {
        QTest::addColumn<bool>("firmwareQuery");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("text");
        QTest::newRow("firmware, fourth byte zero") << true << QByteArray("1.2\0", 4) << "1.2";
        QTest::newRow("firmware, four bytes") << true << QByteArray("1.23XX") << "1.23";
        QTest::newRow("firmware, first byte zero") << true << QByteArray("\0001.2", 4) << "";
        QTest::newRow("serial, twelve bytes") << false << QByteArray("SN0123456789AB") << "SN0123456789";
    }
    void vx01Texts()
    {
        QFETCH(bool, firmwareQuery);
        QFETCH(QByteArray, answer);
        QFETCH(QString, text);
        Rig rig("vx01");
        rig.firmware->controlReport = ScriptedFirmware::report(16, answer);
        const quint16 sequence = nextSequence();
        QCOMPARE(firmwareQuery ? rig.card->getFirmwareVer() : rig.card->getSNCode(), text);
        QCOMPARE(rig.firmware->received.size(), 1);
        QCOMPARE(rig.firmware->received.first(),
                 expectedReport(sequence, firmwareQuery ? hex("01010201") : hex("01020201")));
    }

    void vx01TextsWhenReadFails()
    {
        Rig rig("vx01");
        rig.firmware->controlReport = ScriptedFirmware::report(16, "1.23");
        rig.bus.setFailure("vx01", EmulatedFailure::Silent);
        QCOMPARE(rig.card->getFirmwareVer(), QString());
        QCOMPARE(rig.card->getSNCode(), QString());
    }

    void vx01Polling()
    {
        Rig rig("vx01");
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        // All-zero parameter bytes at the first poll: nothing taken over.
        QVERIFY(!rig.card->getParaIsChange());
        QVERIFY(rig.card->getAllPara().isEmpty());
        // Bytes outside 16..34 do not count.
        rig.firmware->controlReport = ScriptedFirmware::report(35, "\x05");
        QVERIFY(!rig.card->getParaIsChange());

        rig.firmware->controlReport = ScriptedFirmware::report(16, parameterBytes(19, 2));
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QVariantMap map = rig.card->getAllPara();
        QCOMPARE(map.size(), 19);
        QCOMPARE(map.value("btnMute").toInt(), 2);

        // The same bytes again: no change, no signal.
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);

        // Only btnMute (offset 33) changes: taken over, one signal, every key rewritten.
        rig.firmware->controlReport[33] = char(1);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        map = rig.card->getAllPara();
        QCOMPARE(map.value("btnMute").toInt(), 1);
        QCOMPARE(map.value("btnDodge").toInt(), 2);
        QCOMPARE(map.size(), 19);

        // A failed read changes nothing.
        rig.firmware->controlReport[33] = char(2);
        rig.bus.setFailure("vx01", EmulatedFailure::Silent);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara(), map);
        // No command goes out for a vx01 poll.
        QVERIFY(rig.firmware->received.isEmpty());
    }

    void vx02Polling()
    {
        Rig rig("vx02");
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        const QByteArray report = ScriptedFirmware::report(16, parameterBytes(16, 3));

        rig.firmware->answers.enqueue(report);
        const quint16 sequence = nextSequence();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.card->getParaIsChange());
        QVERIFY(timer.elapsed() >= 100);
        QCOMPARE(rig.firmware->received.size(), 1);
        QCOMPARE(rig.firmware->received.first(), expectedReport(sequence, hex("03010208")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara().size(), 16);
        QCOMPARE(rig.card->getAllPara().value("btnMixDry").toInt(), 3);

        // Same bytes: false and no signal, though the request and the wait happened.
        rig.firmware->answers.enqueue(report);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(rig.firmware->received.size(), 2);
        QCOMPARE(changed.count(), 1);

        // One byte changes.
        QByteArray changedReport = report;
        changedReport[24] = char(9);
        rig.firmware->answers.enqueue(changedReport);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara().value("dodgeSpeed").toInt(), 9);

        // Nothing answers: false, map unchanged.
        const QVariantMap before = rig.card->getAllPara();
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara(), before);
    }

    void vx02FirmwareVersion_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("text");
        QTest::newRow("01 00 0C") << true << "V1.0.c";
        QTest::newRow("no answer") << false << "V0.0.0";
    }
    void vx02FirmwareVersion()
    {
        QFETCH(bool, answers);
        QFETCH(QString, text);
        Rig rig("vx02");
        if (answers)
            rig.firmware->answers.enqueue(ScriptedFirmware::report(11, QByteArray("\x01\x00\x0C", 3)));
        const quint16 sequence = nextSequence();
        QCOMPARE(rig.card->getFirmwareVer(), text);
        QCOMPARE(rig.firmware->received, QList<QByteArray>{expectedReport(sequence, hex("00000001"))});
    }

    void vx02SerialNumber_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::newRow("answered: serial then version query") << true << "VS2026120500X" << 2;
        QTest::newRow("no answer: serial query only") << false << "" << 1;
    }
    void vx02SerialNumber()
    {
        QFETCH(bool, answers);
        QFETCH(QString, text);
        QFETCH(int, frames);
        Rig rig("vx02");
        if (answers)
            rig.firmware->answers.enqueue(ScriptedFirmware::report(16, "VS2026120500XYZ"));
        const quint16 sequence = nextSequence();
        QCOMPARE(rig.card->getSNCode(), text);
        QCOMPARE(nextSequence(), quint16(sequence + frames));
        QCOMPARE(rig.firmware->received.size(), frames);
        QCOMPARE(rig.firmware->received.first(), expectedReport(sequence, hex("01020201")));
        if (frames == 2)
            QCOMPARE(rig.firmware->received.at(1), expectedReport(quint16(sequence + 1), hex("00000001")));
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
        QCOMPARE(second.firmware->received.first(), expectedReport(quint16(sequence + 1), hex("03010102 0101")));
    }

    void unpluggedDeviceIsQuiet_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("vx01") << "vx01";
        QTest::newRow("vx02") << "vx02";
    }
    void unpluggedDeviceIsQuiet()
    {
        QFETCH(QString, model);
        Rig rig(model);
        rig.bus.unplug(model);
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        rig.card->setVolume(2, 4);
        rig.card->setSwitch(1, 1);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(rig.card->getSNCode(), QString());
        QCOMPARE(changed.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSoundCard)
#include "tst_SoundCard.moc"
