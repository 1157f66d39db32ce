// The sound-card objects against the emulated firmware of their model.
#include "support/SoundCardRig.h"

#include "device/DeviceHID.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/SoundCardVx02Model.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(EmulatedFailure)

namespace {

// The program with the vx01's transport pair swapped for the vx02's: interrupt writes and reads.
class Vx01OnInterruptPipe : public SoundCardVx01
{
public:
    using SoundCardVx01::SoundCardVx01;
    bool getParaIsChange() override
    {
        QByteArray buffer = newReportBuffer();
        if (device()->readReport(reinterpret_cast<quint8 *>(buffer.data()), quint32(buffer.size())) <= 0)
            return false;
        return takeOverParameters(buffer);
    }

protected:
    bool sendReport(const QByteArray &buffer, int frameLength) override
    {
        return device()->writeReport(reinterpret_cast<const quint8 *>(buffer.constData()), quint32(frameLength)) > 0;
    }
};

// The program with the vx02's transport pair swapped for the vx01's: control requests.
class Vx02OnControlPipe : public SoundCardVx02
{
public:
    using SoundCardVx02::SoundCardVx02;
    bool getParaIsChange() override
    {
        sendCommand(SoundCardVx02Model::parameterQuery());
        QByteArray buffer = newReportBuffer();
        if (!device()->getInputReport(reinterpret_cast<quint8 *>(buffer.data())))
            return false;
        return takeOverParameters(buffer);
    }

protected:
    bool sendReport(const QByteArray &buffer, int) override
    {
        return device()->setOutputReport(reinterpret_cast<const quint8 *>(buffer.constData()));
    }
};

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    // Every setter of each model reaches the firmware and comes back in the next poll, with
    // exactly the keys it is about changed; so does a knob turned on the device (no slot). Only
    // that one poll sees the change.
    void setterIsReadBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariantMap>("changes");
        QTest::newRow("vx01 music") << "vx01" << "setSoundMode" << QVariantList{1, 0} << QVariantMap{{"model", 1}};
        QTest::newRow("vx01 singing medium") << "vx01" << "setSoundMode" << QVariantList{2, 2} << QVariantMap{{"model", 3}};
        QTest::newRow("vx01 chat") << "vx01" << "setSoundMode" << QVariantList{3, 0} << QVariantMap{{"model", 7}};
        QTest::newRow("vx01 monitor") << "vx01" << "setVolume" << QVariantList{1, 16} << QVariantMap{{"volumeMonitor", 16}};
        QTest::newRow("vx01 record") << "vx01" << "setVolume" << QVariantList{2, 10} << QVariantMap{{"volumeRecording", 10}};
        QTest::newRow("vx01 music volume") << "vx01" << "setVolume" << QVariantList{3, 0} << QVariantMap{{"volumeMusicVolume", 0}};
        QTest::newRow("vx01 mic") << "vx01" << "setVolume" << QVariantList{4, 12} << QVariantMap{{"volumeMic", 12}};
        QTest::newRow("vx01 reverb depth") << "vx01" << "setMicReverberation" << QVariantList{11} << QVariantMap{{"reverbDepth", 11}};
        QTest::newRow("vx01 reverb volume") << "vx01" << "setMicReverberation" << QVariantList{12, 2} << QVariantMap{{"reverbVolume", 12}};
        QTest::newRow("vx01 dodge speed") << "vx01" << "setDodgeSpeed" << QVariantList{3} << QVariantMap{{"dodgeSpeed", 3}};
        QTest::newRow("vx01 dodge threshold") << "vx01" << "setDodgeThreshold" << QVariantList{4} << QVariantMap{{"dodgeThreshold", 4}};
        QTest::newRow("vx01 dodge level") << "vx01" << "setDodgeGrade" << QVariantList{5} << QVariantMap{{"dodgeLevel", 5}};
        QTest::newRow("vx01 tone colour") << "vx01" << "setMicToneColour" << QVariantList{14} << QVariantMap{{"toneColour", 14}};
        QTest::newRow("vx01 bluetooth") << "vx01" << "setSwitch" << QVariantList{1, 1} << QVariantMap{{"btnBluetooth", 1}};
        QTest::newRow("vx01 denoise") << "vx01" << "setSwitch" << QVariantList{2, 1} << QVariantMap{{"btnDenoise", 1}};
        QTest::newRow("vx01 put inside") << "vx01" << "setSwitch" << QVariantList{3, 1} << QVariantMap{{"btnInPower", 1}};
        QTest::newRow("vx01 vocal cut") << "vx01" << "setSwitch" << QVariantList{4, 1} << QVariantMap{{"btnDisVoice", 1}};
        QTest::newRow("vx01 dodge") << "vx01" << "setSwitch" << QVariantList{7, 1} << QVariantMap{{"btnDodge", 1}};
        QTest::newRow("vx02 key mode") << "vx02" << "setSoundMode" << QVariantList{3, 11} << QVariantMap{{"soundMode", 3}, {"modelDetail", 11}};
        QTest::newRow("vx02 monitor") << "vx02" << "setVolume" << QVariantList{1, 16} << QVariantMap{{"volumeMonitor", 16}};
        QTest::newRow("vx02 record") << "vx02" << "setVolume" << QVariantList{2, 10} << QVariantMap{{"volumeRecording", 10}};
        QTest::newRow("vx02 music") << "vx02" << "setVolume" << QVariantList{3, 2} << QVariantMap{{"volumeBluetooth", 2}};
        QTest::newRow("vx02 live broadcast") << "vx02" << "setVolume" << QVariantList{4, 3} << QVariantMap{{"volumeBroadcast", 3}};
        QTest::newRow("vx02 bgm") << "vx02" << "setVolume" << QVariantList{5, 4} << QVariantMap{{"volumeBGM", 4}};
        QTest::newRow("vx02 reverb") << "vx02" << "setMicReverberation" << QVariantList{13, 2} << QVariantMap{{"reverbVolume", 13}};
        QTest::newRow("vx02 dodge speed") << "vx02" << "setDodgeSpeed" << QVariantList{3} << QVariantMap{{"dodgeSpeed", 3}};
        QTest::newRow("vx02 dodge threshold") << "vx02" << "setDodgeThreshold" << QVariantList{4} << QVariantMap{{"dodgeThreshold", 4}};
        QTest::newRow("vx02 dodge level") << "vx02" << "setDodgeGrade" << QVariantList{5} << QVariantMap{{"dodgeLevel", 5}};
        QTest::newRow("vx02 eliminate voice") << "vx02" << "setEliminateVoice" << QVariantList{1} << QVariantMap{{"disVoiceLevel", 1}};
        QTest::newRow("vx02 denoise") << "vx02" << "setDenoise" << QVariantList{3} << QVariantMap{{"denoiseLevel", 3}};
        QTest::newRow("vx02 put inside") << "vx02" << "setSwitch" << QVariantList{1, 1} << QVariantMap{{"btnInPower", 1}};
        QTest::newRow("vx02 dodge") << "vx02" << "setSwitch" << QVariantList{2, 1} << QVariantMap{{"btnDodge", 1}};
        QTest::newRow("vx02 wet monitor, dry record") << "vx02" << "setSwitch" << QVariantList{3, 1} << QVariantMap{{"btnMixDry", 1}};
        QTest::newRow("vx01 mute button on the device") << "vx01" << "" << QVariantList{} << QVariantMap{{"btnMute", 1}};
        QTest::newRow("vx02 BGM knob on the device") << "vx02" << "" << QVariantList{} << QVariantMap{{"volumeBGM", 13}};
    }
    void setterIsReadBack()
    {
        QFETCH(QString, model);
        QFETCH(QString, slot);
        QFETCH(QVariantList, args);
        QFETCH(QVariantMap, changes);
        SoundCardRig rig(model);
        QVERIFY(rig.opened);
        // Start from other values so that the setter has something to change.
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            QVERIFY(rig.device<FirmwareBase>().setParameter(it.key(), it.value().toInt() + 1));
        QVERIFY(rig.card->getParaIsChange());
        QVariantMap expected = rig.card->getAllPara();
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            expected[it.key()] = it.value();
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        QVERIFY(!rig.card->getParaIsChange());
        if (slot.isEmpty()) {
            for (auto it = changes.cbegin(); it != changes.cend(); ++it)
                QVERIFY(rig.device<FirmwareBase>().setParameter(it.key(), it.value().toInt()));
        } else {
            QVERIFY(rig.call(slot, args));
        }
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara(), expected);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
    }

    // The devices answer only on their own pipe: the program with a model's transport pair
    // swapped opens the device, but its setter never arrives and its poll reads nothing.
    void swappedTransportPairFails_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("swapped");
        QTest::newRow("vx01") << "vx01" << false;
        QTest::newRow("vx01 on the interrupt pipe") << "vx01" << true;
        QTest::newRow("vx02") << "vx02" << false;
        QTest::newRow("vx02 on the control pipe") << "vx02" << true;
    }
    void swappedTransportPairFails()
    {
        QFETCH(QString, model);
        QFETCH(bool, swapped);
        EmulatedBus bus;
        bus.setReadWaitLimitMs(20);
        QVERIFY(bus.plug(model, FirmwareFactory::make(model)));
        auto &firmware = static_cast<FirmwareBase &>(*bus.firmware(model));
        std::unique_ptr<SoundCardBase> card;
        if (!swapped)
            card = SoundCardFactory::create(model, &bus);
        else if (model == "vx01")
            card = std::make_unique<Vx01OnInterruptPipe>(&bus);
        else
            card = std::make_unique<Vx02OnControlPipe>(&bus);
        QVERIFY(card->openDevice());
        card->setVolume(2, 3);
        QCOMPARE(firmware.parameter("volumeRecording"), swapped ? 8 : 3);
        QCOMPARE(card->getParaIsChange(), !swapped);
        QCOMPARE(card->getAllPara().value("volumeRecording").toInt(), swapped ? 0 : 3);
    }

    // The version query sent after a serial number is answered; the next poll reads that answer
    // (no parameters in it) and the one after reads the parameters.
    void vx02StaleVersionAnswerReachesNextPoll()
    {
        SoundCardRig rig("vx02");
        QCOMPARE(rig.card->getSNCode(), QStringLiteral("VS20261205007"));
        QVERIFY(!rig.card->getParaIsChange());
        QVERIFY(rig.card->getAllPara().isEmpty());
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(rig.card->getAllPara().size(), 16);
    }

    // A silent device changes nothing and loses the setter; garbage is taken over like any
    // report. Behaving again, the poll reads the device's real state.
    void misbehavingDevice_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<EmulatedFailure>("failure");
        QTest::addColumn<int>("recordingAfter");
        QTest::newRow("vx01 silent") << "vx01" << EmulatedFailure::Silent << 8;
        QTest::newRow("vx01 garbage") << "vx01" << EmulatedFailure::Garbage << 3;
        QTest::newRow("vx02 silent") << "vx02" << EmulatedFailure::Silent << 8;
        QTest::newRow("vx02 garbage") << "vx02" << EmulatedFailure::Garbage << 3;
    }
    void misbehavingDevice()
    {
        QFETCH(QString, model);
        QFETCH(EmulatedFailure, failure);
        QFETCH(int, recordingAfter);
        SoundCardRig rig(model);
        QVERIFY(rig.card->getParaIsChange());
        const QVariantMap before = rig.card->getAllPara();
        rig.bus.setFailure(model, failure);
        rig.card->setVolume(2, 3);
        QCOMPARE(rig.card->getParaIsChange(), failure == EmulatedFailure::Garbage);
        QCOMPARE(rig.card->getAllPara() == before, failure == EmulatedFailure::Silent);
        rig.card->getFirmwareVer();
        rig.card->getSNCode();
        rig.bus.setFailure(model, EmulatedFailure::None);
        rig.card->getParaIsChange();
        rig.card->getParaIsChange();
        QCOMPARE(rig.card->getAllPara().value("volumeRecording").toInt(), recordingAfter);
    }
};

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
