#include "support/MessageCapture.h"

#include "device/PowerEventWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>
#include <unistd.h>

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");

QDBusMessage logindSignal(const QString &name, bool active)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, name);
    signal << active;
    return signal;
}
} // namespace

// logind's inhibitor locks as far as the program uses them: each lock is the write end of a
// pipe; the lock is given up when every copy of it is closed, which the read end shows as a
// hang-up.
class StandInLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~StandInLogind() override
    {
        for (int fd : qAsConst(m_readEnds))
            ::close(fd);
    }
    QStringList requests;

    int locksHeld() const
    {
        int held = 0;
        for (int fd : m_readEnds) {
            pollfd watched{fd, POLLIN, 0};
            if (::poll(&watched, 1, 0) == 0)
                ++held;
        }
        return held;
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why, const QString &mode)
    {
        requests << QStringList{what, who, why, mode}.join(QLatin1Char('|'));
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        m_readEnds << ends[0];
        QDBusUnixFileDescriptor lock(ends[1]); // keeps a copy of its own
        ::close(ends[1]);
        return lock;
    }

private:
    QList<int> m_readEnds;
};

// Runs a private message bus as the "system bus" with a stand-in logind on it.
class TestPowerEventWatcher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_daemon.start(daemon,
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus"))});
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_daemon.canReadLine(), 10000);
        m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
        // Must happen before anything in this process asks for the system bus.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toLocal8Bit());

        QDBusConnection logind = QDBusConnection::connectToBus(m_address, QStringLiteral("logind"));
        QVERIFY(logind.registerService(QStringLiteral("org.freedesktop.login1")));
        QVERIFY(logind.registerObject(kPath, &m_logind, QDBusConnection::ExportAllSlots));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
        QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(3000);
        }
    }

    // The sleep line is written before the delay lock is given up; shutdown is logged once and
    // gives the lock up too.
    void sleepWakeAndShutdown()
    {
        PowerEventWatcher watcher;
        QTRY_VERIFY(watcher.holdsDelayLock());
        QCOMPARE(m_logind.requests,
                 QStringList{"sleep:shutdown|vorlet|Writing the log and the sound card's settings first|delay"});
        QCOMPARE(m_logind.locksHeld(), 1);

        QDBusConnection logind(QStringLiteral("logind"));
        QDBusConnection impostor = QDBusConnection::connectToBus(m_address, QStringLiteral("impostor"));
        QVERIFY(impostor.isConnected());
        MessageCapture capture;
        QStringList linesWhenGivenUp;
        connect(&watcher, &PowerEventWatcher::delayLockChanged, this, [&](bool held) {
            if (!held)
                linesWhenGivenUp = capture.texts(QtDebugMsg);
        });
        QVERIFY(impostor.send(logindSignal(QStringLiteral("PrepareForSleep"), true)));
        QVERIFY(logind.send(logindSignal(QStringLiteral("PrepareForSleep"), true)));
        QTRY_COMPARE(m_logind.locksHeld(), 0);
        QCOMPARE(linesWhenGivenUp, QStringList{"======xiu mian======"});

        // Awake again: the line, and a new lock for the next sleep.
        QVERIFY(logind.send(logindSignal(QStringLiteral("PrepareForSleep"), false)));
        QStringList lines{"======xiu mian======", "======huan xing======"};
        QTRY_COMPARE(capture.texts(QtDebugMsg), lines);
        QTRY_COMPARE(m_logind.locksHeld(), 1);

        // false: a shutdown called off, nothing to log.
        QVERIFY(logind.send(logindSignal(QStringLiteral("PrepareForShutdown"), false)));
        QVERIFY(logind.send(logindSignal(QStringLiteral("PrepareForShutdown"), true)));
        lines << "======system poweroff,reboot or logoff======";
        QTRY_COMPARE(capture.texts(QtDebugMsg), lines);
        QTRY_COMPARE(m_logind.locksHeld(), 0);
        // The session manager announcing the same end adds nothing; the impostor's signal never shows up.
        watcher.onEndOfSession();
        QTest::qWait(50);
        QCOMPARE(capture.texts(QtDebugMsg), lines);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    StandInLogind m_logind;
};

QTEST_GUILESS_MAIN(TestPowerEventWatcher)
#include "tst_powereventwatcher.moc"
