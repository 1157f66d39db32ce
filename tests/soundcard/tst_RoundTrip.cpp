#include "device/EmulatedBus.h"
#include "soundcard/SoundCardVx01.h"
#include "soundcard/SoundCardVx02.h"
#include "soundcard/emulator/FirmwareFactory.h"
#include "soundcard/emulator/FirmwareVx01.h"
#include "soundcard/emulator/FirmwareVx02.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// A sound card talking to the emulated firmware of its model over the emulated bus.
struct Rig
{
    explicit Rig(const QString &model)
    {
        bus.setReadWaitLimitMs(20);
        bus.plug(model, FirmwareFactory::make(model));
        firmware = dynamic_cast<FirmwareBase *>(bus.firmware(model));
        if (model == QLatin1String("vx01"))
            card = std::make_unique<SoundCardVx01>(&bus);
        else
            card = std::make_unique<SoundCardVx02>(&bus);
        opened = card->openDevice();
    }

    EmulatedBus bus;
    FirmwareBase *firmware = nullptr;
    std::unique_ptr<SoundCardBase> card;
    bool opened = false;
};

bool invoke(QObject *object, const QString &slot, const QVariantList &args)
{
    const QByteArray name = slot.toLatin1();
    if (args.size() == 1)
        return QMetaObject::invokeMethod(object, name.constData(), Q_ARG(int, args.at(0).toInt()));
    return QMetaObject::invokeMethod(object, name.constData(), Q_ARG(int, args.at(0).toInt()),
                                     Q_ARG(int, args.at(1).toInt()));
}

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void setterIsReadBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("vx01 music") << "vx01" << "setSoundMode" << QVariantList{1, 0} << "model" << 1;
        QTest::newRow("vx01 singing medium") << "vx01" << "setSoundMode" << QVariantList{2, 2} << "model" << 3;
        QTest::newRow("vx01 chat") << "vx01" << "setSoundMode" << QVariantList{3, 0} << "model" << 7;
        QTest::newRow("vx01 monitor") << "vx01" << "setVolume" << QVariantList{1, 16} << "volumeMonitor" << 16;
        QTest::newRow("vx01 record") << "vx01" << "setVolume" << QVariantList{2, 10} << "volumeRecording" << 10;
        QTest::newRow("vx01 music volume") << "vx01" << "setVolume" << QVariantList{3, 0} << "volumeMusicVolume" << 0;
        QTest::newRow("vx01 mic") << "vx01" << "setVolume" << QVariantList{4, 12} << "volumeMic" << 12;
        QTest::newRow("vx01 reverb depth") << "vx01" << "setMicReverberation" << QVariantList{11} << "reverbDepth" << 11;
        QTest::newRow("vx01 reverb volume") << "vx01" << "setMicReverberation" << QVariantList{12, 2} << "reverbVolume" << 12;
        QTest::newRow("vx01 dodge speed") << "vx01" << "setDodgeSpeed" << QVariantList{3} << "dodgeSpeed" << 3;
        QTest::newRow("vx01 dodge threshold") << "vx01" << "setDodgeThreshold" << QVariantList{4} << "dodgeThreshold" << 4;
        QTest::newRow("vx01 dodge level") << "vx01" << "setDodgeGrade" << QVariantList{5} << "dodgeLevel" << 5;
        QTest::newRow("vx01 tone colour") << "vx01" << "setMicToneColour" << QVariantList{14} << "toneColour" << 14;
        QTest::newRow("vx01 bluetooth") << "vx01" << "setSwitch" << QVariantList{1, 1} << "btnBluetooth" << 1;
        QTest::newRow("vx01 denoise") << "vx01" << "setSwitch" << QVariantList{2, 1} << "btnDenoise" << 1;
        QTest::newRow("vx01 put inside") << "vx01" << "setSwitch" << QVariantList{3, 1} << "btnInPower" << 1;
        QTest::newRow("vx01 vocal cut") << "vx01" << "setSwitch" << QVariantList{4, 1} << "btnDisVoice" << 1;
        QTest::newRow("vx01 dodge") << "vx01" << "setSwitch" << QVariantList{7, 1} << "btnDodge" << 1;
        QTest::newRow("vx02 monitor") << "vx02" << "setVolume" << QVariantList{1, 16} << "volumeMonitor" << 16;
        QTest::newRow("vx02 record") << "vx02" << "setVolume" << QVariantList{2, 10} << "volumeRecording" << 10;
        QTest::newRow("vx02 music") << "vx02" << "setVolume" << QVariantList{3, 2} << "volumeBluetooth" << 2;
        QTest::newRow("vx02 live broadcast") << "vx02" << "setVolume" << QVariantList{4, 3} << "volumeBroadcast" << 3;
        QTest::newRow("vx02 bgm") << "vx02" << "setVolume" << QVariantList{5, 4} << "volumeBGM" << 4;
        QTest::newRow("vx02 reverb") << "vx02" << "setMicReverberation" << QVariantList{13, 2} << "reverbVolume" << 13;
        QTest::newRow("vx02 dodge speed") << "vx02" << "setDodgeSpeed" << QVariantList{3} << "dodgeSpeed" << 3;
        QTest::newRow("vx02 dodge threshold") << "vx02" << "setDodgeThreshold" << QVariantList{4} << "dodgeThreshold" << 4;
        QTest::newRow("vx02 dodge level") << "vx02" << "setDodgeGrade" << QVariantList{5} << "dodgeLevel" << 5;
        QTest::newRow("vx02 eliminate voice") << "vx02" << "setEliminateVoice" << QVariantList{1} << "disVoiceLevel" << 1;
        QTest::newRow("vx02 denoise") << "vx02" << "setDenoise" << QVariantList{3} << "denoiseLevel" << 3;
        QTest::newRow("vx02 put inside") << "vx02" << "setSwitch" << QVariantList{1, 1} << "btnInPower" << 1;
        QTest::newRow("vx02 dodge") << "vx02" << "setSwitch" << QVariantList{2, 1} << "btnDodge" << 1;
        QTest::newRow("vx02 wet monitor, dry record") << "vx02" << "setSwitch" << QVariantList{3, 1} << "btnMixDry" << 1;
    }
    void setterIsReadBack()
    {
        QFETCH(QString, model);
        QFETCH(QString, slot);
        QFETCH(QVariantList, args);
        QFETCH(QString, key);
        QFETCH(int, value);
        Rig rig(model);
        QVERIFY(rig.opened);
        // Start from another value so that the setter has something to change.
        QVERIFY(rig.firmware->setParameter(key, value + 1));
        QVERIFY(rig.card->getParaIsChange());
        QVariantMap expected = rig.card->getAllPara();
        expected[key] = value;
        QVERIFY(invoke(rig.card.get(), slot, args));
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rig.card->getAllPara(), expected);
    }

    void vx02SoundModeReadsBackBoth()
    {
        Rig rig("vx02");
        rig.card->setSoundMode(3, 11);
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(rig.card->getAllPara().value("soundMode").toInt(), 3);
        QCOMPARE(rig.card->getAllPara().value("modelDetail").toInt(), 11);
    }

    void effectChangesNothing()
    {
        Rig rig("vx02");
        QVERIFY(rig.card->getParaIsChange());
        rig.card->setSpecialEffectSound(9);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(rig.firmware->lastEffect(), 9);
    }

    void deviceSideChangeIsPolled_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("key");
        QTest::newRow("vx01 mute button") << "vx01" << "btnMute";
        QTest::newRow("vx01 monitor knob") << "vx01" << "volumeMonitor";
        QTest::newRow("vx02 BGM knob") << "vx02" << "volumeBGM";
    }
    void deviceSideChangeIsPolled()
    {
        QFETCH(QString, model);
        QFETCH(QString, key);
        Rig rig(model);
        QSignalSpy changed(rig.card.get(), &SoundCardBase::allParaChanged);
        QVERIFY(rig.card->getParaIsChange());
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 1);
        QVERIFY(rig.firmware->setParameter(key, 13));
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rig.card->getAllPara().value(key).toInt(), 13);
        QVERIFY(!rig.card->getParaIsChange());
        QCOMPARE(changed.count(), 2);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("serial");
        QTest::newRow("vx01") << "vx01" << "2.13" << "VC1026120501";
        QTest::newRow("vx02") << "vx02" << "V1.4.1c" << "VS20261205007";
    }
    void texts()
    {
        QFETCH(QString, model);
        QFETCH(QString, firmware);
        QFETCH(QString, serial);
        Rig rig(model);
        QCOMPARE(rig.card->getFirmwareVer(), firmware);
        QCOMPARE(rig.card->getSNCode(), serial);
    }

    // The version query sent after a serial number is answered; the next poll reads that answer
    // (no parameters in it) and the one after reads the parameters.
    void vx02StaleVersionAnswerReachesNextPoll()
    {
        Rig rig("vx02");
        QCOMPARE(rig.card->getSNCode(), QStringLiteral("VS20261205007"));
        QVERIFY(!rig.card->getParaIsChange());
        QVERIFY(rig.card->getAllPara().isEmpty());
        QVERIFY(rig.card->getParaIsChange());
        QCOMPARE(rig.card->getAllPara().size(), 16);
    }

    void misbehavingDevice_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("failure");
        QTest::newRow("vx01 silent") << "vx01" << int(EmulatedFailure::Silent);
        QTest::newRow("vx01 garbage") << "vx01" << int(EmulatedFailure::Garbage);
        QTest::newRow("vx02 silent") << "vx02" << int(EmulatedFailure::Silent);
        QTest::newRow("vx02 garbage") << "vx02" << int(EmulatedFailure::Garbage);
    }
    void misbehavingDevice()
    {
        QFETCH(QString, model);
        QFETCH(int, failure);
        Rig rig(model);
        QVERIFY(rig.card->getParaIsChange());
        const QVariantMap before = rig.card->getAllPara();
        rig.bus.setFailure(model, EmulatedFailure(failure));
        rig.card->setVolume(2, 3);
        const bool changed = rig.card->getParaIsChange();
        if (EmulatedFailure(failure) == EmulatedFailure::Silent) {
            QVERIFY(!changed);
            QCOMPARE(rig.card->getAllPara(), before);
        } else {
            // Garbage is taken over like any report: every key stays a byte value.
            QVERIFY(changed);
            for (const QVariant &value : rig.card->getAllPara())
                QVERIFY(value.toInt() >= 0 && value.toInt() <= 255);
        }
        rig.card->getFirmwareVer();
        rig.card->getSNCode();
        // Behaving again: the poll reads the device's real state.
        rig.bus.setFailure(model, EmulatedFailure::None);
        rig.card->getParaIsChange();
        rig.card->getParaIsChange();
        QCOMPARE(rig.card->getAllPara().value("volumeRecording").toInt(),
                 EmulatedFailure(failure) == EmulatedFailure::Silent ? 8 : 3);
    }
};

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_RoundTrip.moc"
