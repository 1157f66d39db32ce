// The sound-card objects against the emulated firmware of their model.
#include "support/SoundCardRig.h"

#include "emulator/FirmwareBase.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(EmulatedFailure)

class TestRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    // A setter of each model reaches the firmware on the model's pipe and comes back in the next
    // poll, with exactly the keys it is about changed; so does a knob turned on the device (no
    // slot). Only that one poll sees the change. Which bytes each setter sends is the protocol
    // tests' business.
    void setterIsReadBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariantMap>("changes");
        QTest::newRow("vx01 record volume")
            << "vx01"
            << "setVolume" << QVariantList{2, 10} << QVariantMap{{"volumeRecording", 10}};
        QTest::newRow("vx01 singing medium") << "vx01"
                                             << "setSoundMode" << QVariantList{2, 2} << QVariantMap{{"model", 3}};
        QTest::newRow("vx02 key mode, two keys")
            << "vx02"
            << "setSoundMode" << QVariantList{3, 11} << QVariantMap{{"soundMode", 3}, {"modelDetail", 11}};
        QTest::newRow("vx02 wet monitor, dry record")
            << "vx02"
            << "setSwitch" << QVariantList{3, 1} << QVariantMap{{"btnMixDry", 1}};
        QTest::newRow("vx01 mute button on the device") << "vx01"
                                                        << "" << QVariantList{} << QVariantMap{{"btnMute", 1}};
        QTest::newRow("vx02 BGM knob on the device") << "vx02"
                                                     << "" << QVariantList{} << QVariantMap{{"volumeBGM", 13}};
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
