// The device session as the scene, D-Bus and vorletctl use it: setters while polls run, an
// unplug with setters queued, a device silent and back again, requests in any order, the queue.
#include "support/Hex.h"
#include "support/MessageCapture.h"
#include "support/SceneRig.h"
#include "support/TappedFirmware.h"

#include "app/DeviceManager.h"
#include "emulator/EmulatedBus.h"
#include "emulator/FirmwareBase.h"
#include "emulator/FirmwareFactory.h"
#include "emulator/ReceivedFrame.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardModel.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

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
        // A first frame, whose number the sequence checks start from.
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

class TestDeviceSession : public QObject
{
    Q_OBJECT
private slots:
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
            // Requests fail at once while the device is known to be silent.
            bool failedAtOnce = false;
            session->requestFirmwareVersion([&](const DeviceSession::Reply &reply) {
                failedAtOnce = reply.status == DeviceSession::Reply::NoAnswer;
            });
            QVERIFY(failedAtOnce);
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
        QTest::addColumn<QStringList>("device"); // model, version, serial number
        QTest::newRow("vx01") << QStringList{"vx01", "2.13", "VC1026120501"};
        QTest::newRow("vx02") << QStringList{"vx02", "V1.4.1c", "VS20261205007"};
    }
    void interleavedRequestsShowTheDevice()
    {
        QFETCH(QStringList, device);
        const QString model = device.at(0);
        const QString version = device.at(1);
        const QString serial = device.at(2);
        Attached attached(model);
        QVERIFY(attached.session);
        DeviceSession *session = attached.session;
        session->startPolling(1);
        QVector<const ModelParameter *> setters;
        QMap<QString, QSet<int>> held;
        for (const ModelParameter &row : session->model().parameters) {
            if (!row.hasKey())
                continue;
            held[row.key] << attached.parameter(row.key);
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

    // The queue as callers meet it.
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
    }
};

QTEST_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
