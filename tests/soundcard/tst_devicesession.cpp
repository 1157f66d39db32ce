// The device session under load, from the GUI thread as the scene uses it, with the protocol on
// the session's thread: setters while polls run, an unplug with a burst of setters still
// queued, a device that goes silent and comes back. Run under the sanitizers too.
#include "app/DeviceManager.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "emulator/ReceivedFrame.h"
#include "soundcard/DeviceSession.h"
#include "support/SceneRig.h"
#include "support/TappedFirmware.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

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

class TestDeviceSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
            QStringList expected;
            QSignalSpy polled(session, &DeviceSession::polled);
            for (slice = 0; slice < 10; ++slice) {
                for (int i = 0; i < 20; ++i) {
                    session->setVolume(1, slice);
                    expected << TappedFirmware::describe(0x02, 0x01, quint8(slice));
                }
                QVERIFY(polled.wait(3000));
            }
            slice = 9;
            QVERIFY(SceneRig::drain(session));
            QCOMPARE(device.setters(), expected);
            QVERIFY(consecutive(device.sequences()));
            QVERIFY(polled.wait(3000) && polled.wait(3000));
            QCOMPARE(session->getAllPara().value(QStringLiteral("volumeMonitor")).toInt(), 9);
            QCOMPARE(stale, QList<int>());
            break;
        }
        case Scenario::UnplugDuringBurst: {
            for (int i = 0; i < 500; ++i)
                session->setVolume(2, i % 17);
            const QList<int> before = device.sequences();
            QVERIFY(device.bus.unplug(model));
            // The window never waits for the call in flight; the session goes by itself.
            QVERIFY(!device.manager.session());
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
            session->setSwitch(2, 2);
            QVERIFY(SceneRig::drain(session));
            QCOMPARE(device.setters().last(), TappedFirmware::describe(0x06, 0x02, 0x02));
            break;
        }
        }
    }
};

QTEST_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
