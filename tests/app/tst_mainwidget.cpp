#include "app/MainWidget.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "soundcard/SoundCardBase.h"
#include "support/MessageCapture.h"
#include "support/ScriptedHidBackend.h"

#include <QSignalSpy>
#include <QtTest>

class TestMainWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void deviceAttachedBeforeStartIsHandledInConstructor_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("vx01") << "vx01";
        QTest::newRow("vx02") << "vx02";
    }

    void deviceAttachedBeforeStartIsHandledInConstructor()
    {
        QFETCH(QString, model);
        EmulatedBus bus;
        QVERIFY(bus.plug(model, FirmwareFactory::make(model)));
        MainWidget window(&bus);
        QVERIFY(window.soundCard());
        QCOMPARE(window.soundCard()->getDevType(), model);
        QVERIFY(window.isPolling());
        QCOMPARE(window.getSoftVersion(), QStringLiteral("1.0.0.11"));
    }

    void pollingFollowsTheDevice()
    {
        EmulatedBus bus;
        QVERIFY(bus.plug(QStringLiteral("vx02"), FirmwareFactory::make(QStringLiteral("vx02"))));
        MainWidget window(&bus);
        QVERIFY(window.soundCard());
        QSignalSpy changed(window.soundCard(), &SoundCardBase::allParaChanged);
        // The first poll takes over the device's state.
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 3000);
        // A knob turned on the device reaches the map with the next polls, and only once.
        auto *firmware = dynamic_cast<FirmwareBase *>(bus.firmware(QStringLiteral("vx02")));
        QVERIFY(firmware);
        QVERIFY(firmware->setParameter(QStringLiteral("volumeRecording"), 3));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 3000);
        QCOMPARE(window.soundCard()->getAllPara().value(QStringLiteral("volumeRecording")).toInt(), 3);
        QTest::qWait(3 * MainWidget::kPollIntervalMs);
        QCOMPARE(changed.count(), 2);
    }

    void removalDropsTheCardBeforeTellingAndArrivalMakesANewOne()
    {
        EmulatedBus bus;
        QVERIFY(bus.plug(QStringLiteral("vx02"), FirmwareFactory::make(QStringLiteral("vx02"))));
        MainWidget window(&bus);
        QPointer<SoundCardBase> first = window.soundCard();
        QVERIFY(first);

        QList<QPair<bool, QString>> told;
        bool cardGoneWhenTold = false;
        connect(&window, &MainWidget::isConnect, this, [&](bool connected, const QString &type) {
            told.append({connected, type});
            if (!connected)
                cardGoneWhenTold = window.soundCard() == nullptr;
        });
        QVERIFY(bus.unplug(QStringLiteral("vx02")));
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.first(), qMakePair(false, QStringLiteral("vx02")));
        QVERIFY(cardGoneWhenTold);
        QVERIFY(!window.isPolling());
        // Released once control is back in the event loop.
        QTRY_VERIFY(first.isNull());

        QVERIFY(bus.plug(QStringLiteral("vx01"), FirmwareFactory::make(QStringLiteral("vx01"))));
        QCOMPARE(told.size(), 2);
        QCOMPARE(told.last(), qMakePair(true, QStringLiteral("vx01")));
        QVERIFY(window.soundCard());
        QCOMPARE(window.soundCard()->getDevType(), QStringLiteral("vx01"));
        QVERIFY(window.isPolling());
    }

    void deviceThatCannotBeOpenedIsStillAnnounced()
    {
        ScriptedHidBackend backend;
        MainWidget window(&backend);
        QVERIFY(!window.soundCard());
        QVERIFY(!window.isPolling());

        QSignalSpy told(&window, &MainWidget::isConnect);
        MessageCapture log;
        // Detection sees the interface, but no collection of the device can be opened.
        backend.announceArrival(QStringLiteral("/dev/hidraw7#VID_1234&PID_4321"));
        QVERIFY(log.lines().contains(QStringLiteral("open dev error")));
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.first().at(0).toBool(), true);
        QCOMPARE(told.first().at(1).toString(), QStringLiteral("vx02"));
        QVERIFY(window.soundCard());
        QVERIFY(window.isPolling());
    }
};

QTEST_MAIN(TestMainWidget)
#include "tst_mainwidget.moc"
